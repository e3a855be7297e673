#pragma once
#include "engine/Raster.h"
#include "game/state/BattleEvent.h"
#include "game/state/BattleState.h"
#include "game/state/Screen.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// Taking back a misclick. Before each command of the player's the battle is
// kept as it stands: the state without the pictures and files no such command
// changes, the screen's bookkeeping, and of the three pictures only the tiles
// the command changes, saved the first time each is changed. Going back trades
// the kept battle for the live one, so the step then holds the battle as it
// had become and going forth again is the same trade. Nothing of it is saved.
namespace korvath {

// Why there is nothing (more) to take back.
enum class UndoBarrier { None, TurnBegan, Shot, Blow, Treatment, ScenarioEvent, Loaded, Other };

// The entries of a long list that a step changed, with their values before
// it; or, when the list changed its length, the whole list as it was.
template <typename T> struct ListPatch {
    bool whole = false;
    std::vector<T> all;
    std::vector<uint32_t> index;
    std::vector<T> value;
    size_t bytes() const {
        return (all.capacity() + value.capacity()) * sizeof(T) + index.capacity() * 4;
    }
};

struct UndoStep {
    std::string what; // "Dax Moreno's walk"
    BattleState state;
    Screen screen;
    TileJournal terrain, mapImage, overhead;
    // The pictures' bookkeeping, kept as the entries that changed.
    ListPatch<BattleState::DrawnLook> looks;
    ListPatch<Screen::SyncedTile> synced;
    ListPatch<Rgb> overheadColours;
    ListPatch<uint32_t> overheadTiles;
    size_t bytes() const;
};

// The pictures' bookkeeping as a command began.
struct Bookkeeping {
    std::vector<BattleState::DrawnLook> looks;
    std::vector<Screen::SyncedTile> synced;
    std::vector<Rgb> overheadColours;
    std::vector<uint32_t> overheadTiles;
};

class UndoHistory {
  public:
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    const std::string& nextUndo() const { return undo_.back().what; }
    const std::string& nextRedo() const { return redo_.back().what; }
    // Why the history ended last, while nothing can be undone.
    UndoBarrier barrier() const { return barrier_; }
    size_t steps() const { return undo_.size() + redo_.size(); }
    size_t undoSteps() const { return undo_.size(); }
    size_t bytes() const;

    // A command of the battle begins and ends; the outermost one is the step.
    // Returns true for the outermost.
    bool commandBegins() { return depth_++ == 0; }
    void commandEnds() { --depth_; }
    bool outermost() const { return depth_ == 1; }

    // A step opens for the command about to run: the battle kept as it is,
    // the pictures' changes kept from now.
    void open(BattleState& b, Screen& s);
    bool isOpen() const { return open_; }
    const BattleState& before() const { return step_.state; }
    // The barrier heard during the open step (None: nothing that ends it).
    UndoBarrier heardBarrier() const { return heard_; }
    // The pictures stopped being watched during the step (a picture made anew).
    bool lostTrack(const BattleState& b, const Screen& s) const;
    bool picturesChanged() const;
    bool bookkeepingChanged(const BattleState& b, const Screen& s) const;
    // The open step goes on the history; what was undone is forgotten.
    void keep(const BattleState& b, const Screen& s, std::string what);
    // The open step changed nothing worth taking back: dropped.
    void drop(const BattleState& b, const Screen& s);
    // A command that is no step (a hover, a scroll) changes the pictures into
    // the last step; what was undone is forgotten if it changes any.
    void watchFromLast(BattleState& b, Screen& s);
    void stopWatchingLast(const BattleState& b, const Screen& s);
    // Everything forgotten; nothing can be undone until the next step.
    void end(UndoBarrier why);
    void heard(const BattleEvent& e);

    // The last step taken back, and forth again.
    void undo(BattleState& b, Screen& s);
    void redo(BattleState& b, Screen& s);

  private:
    static void trade(BattleState& b, Screen& s, UndoStep& step);
    void watch(BattleState& b, Screen& s, std::array<TileJournal*, 3> journals);
    void stopWatching();
    size_t tilesWatched() const;
    void keepBookkeeping(const BattleState& b, const Screen& s);
    // What a command that is no step changed goes into the last step.
    void absorb(const BattleState& b, const Screen& s);
    std::vector<UndoStep> undo_, redo_;
    UndoStep step_; // the open one
    bool open_ = false;
    // The terrain, the screen copy and the overhead map, each with the
    // journal its changes go to while a command runs.
    std::array<Raster*, 3> watched_{};
    std::array<TileJournal*, 3> journals_{};
    std::array<TileJournal, 3> scratch_;
    Bookkeeping kept_; // as the running command began
    size_t watchedTiles_ = 0;
    UndoBarrier barrier_ = UndoBarrier::None;
    UndoBarrier heard_ = UndoBarrier::None;
    int depth_ = 0;
};

} // namespace korvath
