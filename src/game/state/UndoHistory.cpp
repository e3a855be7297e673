#include "game/state/UndoHistory.h"

#include <utility>

namespace korvath {

namespace {

// What no step keeps, since no command that can be taken back changes it: the
// pictures (their changed tiles are kept instead), the soldiers' and glyphs'
// pictures, the event files, a shot's saved squares, the floor art. Set
// aside while the battle is copied or traded, then put back.
struct SetAside {
    BattleState& b;
    Screen& s;
    Raster terrain, mapImage, overhead, floorArt;
    decltype(BattleState::UnitPictures) units;
    std::array<Raster, kMaxGlyphs + 1> glyphs;
    EventFiles files;
    BattleState::ShotShadow shadow;

    SetAside(BattleState& battle, Screen& screen) : b(battle), s(screen) { trade(); }
    ~SetAside() { trade(); }
    SetAside(const SetAside&) = delete;
    SetAside& operator=(const SetAside&) = delete;

    void trade() {
        std::swap(terrain, b.TerrainBitmap);
        std::swap(mapImage, s.MapImage);
        std::swap(overhead, s.OverHeadMapImage);
        std::swap(floorArt, s.FloorArt);
        std::swap(units, b.UnitPictures);
        for (size_t g = 0; g < glyphs.size(); ++g) std::swap(glyphs[g], b.Glyphs[g].Picture);
        std::swap(files, b.eventFiles);
        std::swap(shadow, b.shotShadow);
    }
};

// What belongs to the running program rather than to the battle: how deep
// the rules run, the window's life, the developer's switches, the size of the
// view (the window's own).
struct LiveOnly {
    std::array<int, static_cast<size_t>(Rule::Count)> running;
    bool windowOpen, closeRequested, developerMode, sightTraces;
    int viewWidth, viewHeight;

    explicit LiveOnly(const BattleState& b)
        : running(b.running), windowOpen(b.windowOpen), closeRequested(b.closeRequested),
          developerMode(b.developerMode), sightTraces(b.sightTraces), viewWidth(b.view.width),
          viewHeight(b.view.height) {}
    void putBack(BattleState& b) const {
        b.running = running;
        b.windowOpen = windowOpen;
        b.closeRequested = closeRequested;
        b.developerMode = developerMode;
        b.sightTraces = sightTraces;
        b.view.width = viewWidth;
        b.view.height = viewHeight;
        b.view.setRight(b.view.right);
        b.view.setBottom(b.view.bottom);
    }
};

template <typename T> size_t heapOf(const std::vector<T>& v) {
    return v.capacity() * sizeof(T);
}

size_t heapOf(const std::vector<std::string>& lines) {
    size_t n = lines.capacity() * sizeof(std::string);
    for (const std::string& line : lines) n += line.capacity() > 15 ? line.capacity() : 0;
    return n;
}

UndoBarrier barrierOf(const BattleEvent& e) {
    if (std::holds_alternative<ShotFired>(e) || std::holds_alternative<ReactionShot>(e))
        return UndoBarrier::Shot;
    if (std::holds_alternative<Blow>(e)) return UndoBarrier::Blow;
    if (std::holds_alternative<Heal>(e)) return UndoBarrier::Treatment;
    if (std::holds_alternative<ScenarioEventRun>(e)) return UndoBarrier::ScenarioEvent;
    if (std::holds_alternative<TurnBegins>(e)) return UndoBarrier::TurnBegan;
    // A step, and what follows a shot or a blow (damage, a death, a wall down).
    return UndoBarrier::None;
}

} // namespace

size_t UndoStep::bytes() const {
    return sizeof(UndoStep) + what.capacity() + heapOf(state.messageLog) +
           heapOf(state.PickList) + heapOf(state.deploymentList) + heapOf(state.drawnLooks) +
           heapOf(screen.syncedTiles) + heapOf(screen.overhead.colours) +
           heapOf(screen.overhead.tiles) + terrain.bytes() + mapImage.bytes() + overhead.bytes();
}

size_t UndoHistory::bytes() const {
    size_t n = 0;
    for (const UndoStep& s : undo_) n += s.bytes();
    for (const UndoStep& s : redo_) n += s.bytes();
    return n;
}

void UndoHistory::watch(BattleState& b, Screen& s, std::array<TileJournal*, 3> journals) {
    stopWatching();
    watched_ = {&b.TerrainBitmap, &s.MapImage, &s.OverHeadMapImage};
    journals_ = journals;
    for (size_t k = 0; k < watched_.size(); ++k) watched_[k]->keepChangesIn(journals_[k]);
    watchedTiles_ = tilesWatched();
}

size_t UndoHistory::tilesWatched() const {
    size_t n = 0;
    for (const TileJournal* j : journals_)
        if (j) n += j->tiles();
    return n;
}

void UndoHistory::stopWatching() {
    for (size_t k = 0; k < watched_.size(); ++k)
        if (watched_[k] && watched_[k]->keepsChangesIn(journals_[k]))
            watched_[k]->keepChangesIn(nullptr);
    watched_ = {};
    journals_ = {};
}

void UndoHistory::open(BattleState& b, Screen& s) {
    {
        const SetAside aside(b, s);
        step_.state = b;
        step_.screen = s;
    }
    step_.what.clear();
    step_.terrain = step_.mapImage = step_.overhead = TileJournal();
    open_ = true;
    heard_ = UndoBarrier::None;
    watch(b, s, {&step_.terrain, &step_.mapImage, &step_.overhead});
}

bool UndoHistory::lostTrack(const BattleState& b, const Screen& s) const {
    return !b.TerrainBitmap.keepsChangesIn(&step_.terrain) ||
           !s.MapImage.keepsChangesIn(&step_.mapImage) ||
           !s.OverHeadMapImage.keepsChangesIn(&step_.overhead);
}

bool UndoHistory::picturesChanged() const {
    return tilesWatched() > watchedTiles_;
}

void UndoHistory::keep(std::string what) {
    stopWatching();
    step_.what = std::move(what);
    undo_.push_back(std::move(step_));
    redo_.clear();
    open_ = false;
}

void UndoHistory::drop() {
    stopWatching();
    open_ = false;
}

void UndoHistory::watchFromLast(BattleState& b, Screen& s) {
    if (!undo_.empty()) {
        UndoStep& last = undo_.back();
        return watch(b, s, {&last.terrain, &last.mapImage, &last.overhead});
    }
    // Nothing to take back, but perhaps something to do again.
    if (redo_.empty()) return;
    for (TileJournal& j : scratch_) j = TileJournal();
    watch(b, s, {&scratch_[0], &scratch_[1], &scratch_[2]});
}

void UndoHistory::stopWatchingLast() {
    if (picturesChanged()) redo_.clear();
    stopWatching();
    for (TileJournal& j : scratch_) j = TileJournal();
}

void UndoHistory::end(UndoBarrier why) {
    stopWatching();
    undo_.clear();
    redo_.clear();
    open_ = false;
    barrier_ = why;
}

void UndoHistory::heard(const BattleEvent& e) {
    const UndoBarrier why = barrierOf(e);
    if (why == UndoBarrier::None || !open_) return;
    // The step cannot be taken back: the rest of the command (a whole
    // computer turn, perhaps) need not be watched.
    heard_ = why;
    stopWatching();
    step_.terrain = step_.mapImage = step_.overhead = TileJournal();
}

void UndoHistory::trade(BattleState& b, Screen& s, UndoStep& step) {
    const LiveOnly live(b);
    {
        const SetAside aside(b, s);
        std::swap(b, step.state);
        std::swap(s, step.screen);
    }
    live.putBack(b);
    b.TerrainBitmap.tradeTiles(step.terrain);
    s.MapImage.tradeTiles(step.mapImage);
    s.OverHeadMapImage.tradeTiles(step.overhead);
    // The window paints the whole map anew.
    s.markDirty(0, 0, s.MapImage.width(), s.MapImage.height());
}

void UndoHistory::undo(BattleState& b, Screen& s) {
    if (undo_.empty()) return;
    UndoStep step = std::move(undo_.back());
    undo_.pop_back();
    trade(b, s, step);
    redo_.push_back(std::move(step));
}

void UndoHistory::redo(BattleState& b, Screen& s) {
    if (redo_.empty()) return;
    UndoStep step = std::move(redo_.back());
    redo_.pop_back();
    trade(b, s, step);
    undo_.push_back(std::move(step));
}

} // namespace korvath
