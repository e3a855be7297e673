#include "game/state/UndoHistory.h"

#include <utility>

namespace korvath {

namespace {

// What no step keeps, since no command that can be taken back changes it: the
// pictures (their changed tiles are kept instead) and their bookkeeping (kept
// as patches), the soldiers' and glyphs' pictures and texts, the equipment
// table, the event files, a shot's saved squares, the floor art, the tables
// of sines. Set aside while the battle is copied or traded, then put back.
struct SetAside {
    BattleState& b;
    Screen& s;
    Raster terrain, mapImage, overhead, floorArt;
    decltype(BattleState::UnitPictures) units;
    std::array<Raster, kMaxGlyphs + 1> glyphPictures;
    std::array<std::string, kMaxGlyphs + 1> glyphTexts, glyphActions;
    decltype(BattleState::EquipmentTypes) equipment;
    decltype(BattleState::CosTable) cos, sin;
    EventFiles files;
    std::set<std::string> waves;
    BattleState::ShotShadow shadow;
    Bookkeeping books;

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
        for (size_t g = 0; g < glyphPictures.size(); ++g) {
            std::swap(glyphPictures[g], b.Glyphs[g].Picture);
            std::swap(glyphTexts[g], b.Glyphs[g].Description);
            std::swap(glyphActions[g], b.Glyphs[g].Action);
        }
        std::swap(equipment, b.EquipmentTypes);
        std::swap(cos, b.CosTable);
        std::swap(sin, b.SinTable);
        std::swap(files, b.eventFiles);
        std::swap(waves, b.waveNames);
        std::swap(shadow, b.shotShadow);
        std::swap(books.looks, b.drawnLooks);
        std::swap(books.synced, s.syncedTiles);
        std::swap(books.overheadColours, s.overhead.colours);
        std::swap(books.overheadTiles, s.overhead.tiles);
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

bool same(const BattleState::DrawnLook& a, const BattleState::DrawnLook& b) {
    return a.look == b.look && a.terrain == b.terrain;
}
bool same(const Screen::SyncedTile& a, const Screen::SyncedTile& b) {
    return a.terrain == b.terrain && a.screen == b.screen;
}
bool same(uint32_t a, uint32_t b) {
    return a == b;
}

template <typename T> bool differs(const std::vector<T>& before, const std::vector<T>& now) {
    if (before.size() != now.size()) return true;
    for (size_t i = 0; i < now.size(); ++i)
        if (!same(before[i], now[i])) return true;
    return false;
}

// The entries that differ, with their values before.
template <typename T>
void makePatch(ListPatch<T>& patch, const std::vector<T>& before, const std::vector<T>& now) {
    patch = {};
    if (before.size() != now.size()) {
        patch.whole = true;
        patch.all = before;
        return;
    }
    for (size_t i = 0; i < now.size(); ++i)
        if (!same(before[i], now[i])) {
            patch.index.push_back(static_cast<uint32_t>(i));
            patch.value.push_back(before[i]);
        }
}

// A patch made before a later change from `before` to `now` covers it too:
// the entries it did not hold yet are added with their values before, which
// are still those from before the step.
template <typename T>
void extendPatch(ListPatch<T>& patch, const std::vector<T>& before, const std::vector<T>& now) {
    if (patch.whole) return;
    if (before.size() != now.size()) {
        std::vector<T> all = before;
        for (size_t k = 0; k < patch.index.size(); ++k) all[patch.index[k]] = patch.value[k];
        patch = {};
        patch.whole = true;
        patch.all = std::move(all);
        return;
    }
    std::vector<bool> held(now.size(), false);
    for (const uint32_t i : patch.index) held[i] = true;
    for (size_t i = 0; i < now.size(); ++i)
        if (!held[i] && !same(before[i], now[i])) {
            patch.index.push_back(static_cast<uint32_t>(i));
            patch.value.push_back(before[i]);
        }
}

template <typename T> void tradePatch(ListPatch<T>& patch, std::vector<T>& live) {
    if (patch.whole) return std::swap(patch.all, live);
    for (size_t k = 0; k < patch.index.size(); ++k)
        if (patch.index[k] < live.size()) std::swap(live[patch.index[k]], patch.value[k]);
}

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
    return sizeof(UndoStep) + what.capacity() + heapOf(state.messageLog) + heapOf(state.PickList) +
           heapOf(state.deploymentList) + terrain.bytes() + mapImage.bytes() + overhead.bytes() +
           looks.bytes() + synced.bytes() + overheadColours.bytes() + overheadTiles.bytes();
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
    keepBookkeeping(b, s);
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

void UndoHistory::keepBookkeeping(const BattleState& b, const Screen& s) {
    kept_.looks = b.drawnLooks;
    kept_.synced = s.syncedTiles;
    kept_.overheadColours = s.overhead.colours;
    kept_.overheadTiles = s.overhead.tiles;
}

bool UndoHistory::bookkeepingChanged(const BattleState& b, const Screen& s) const {
    return differs(kept_.looks, b.drawnLooks) || differs(kept_.synced, s.syncedTiles) ||
           differs(kept_.overheadColours, s.overhead.colours) ||
           differs(kept_.overheadTiles, s.overhead.tiles);
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

void UndoHistory::keep(const BattleState& b, const Screen& s, std::string what) {
    stopWatching();
    makePatch(step_.looks, kept_.looks, b.drawnLooks);
    makePatch(step_.synced, kept_.synced, s.syncedTiles);
    makePatch(step_.overheadColours, kept_.overheadColours, s.overhead.colours);
    makePatch(step_.overheadTiles, kept_.overheadTiles, s.overhead.tiles);
    step_.what = std::move(what);
    undo_.push_back(std::move(step_));
    redo_.clear();
    open_ = false;
}

void UndoHistory::absorb(const BattleState& b, const Screen& s) {
    const bool changed = picturesChanged() || bookkeepingChanged(b, s);
    if (!undo_.empty()) {
        UndoStep& last = undo_.back();
        extendPatch(last.looks, kept_.looks, b.drawnLooks);
        extendPatch(last.synced, kept_.synced, s.syncedTiles);
        extendPatch(last.overheadColours, kept_.overheadColours, s.overhead.colours);
        extendPatch(last.overheadTiles, kept_.overheadTiles, s.overhead.tiles);
    }
    // What was undone no longer follows from the battle as it stands.
    if (changed) redo_.clear();
}

void UndoHistory::drop(const BattleState& b, const Screen& s) {
    stopWatching();
    absorb(b, s);
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

void UndoHistory::stopWatchingLast(const BattleState& b, const Screen& s) {
    if (journals_[0]) absorb(b, s);
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
    tradePatch(step.looks, b.drawnLooks);
    tradePatch(step.synced, s.syncedTiles);
    tradePatch(step.overheadColours, s.overhead.colours);
    tradePatch(step.overheadTiles, s.overhead.tiles);
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
