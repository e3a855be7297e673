#pragma once
#include "game/state/Battle.h"

#include <string>
#include <vector>

// Taking back a misclick, never a roll of the dice. Every command of the
// player's turn that fired no shot (nor drew one), struck no blow, treated no
// wound, ran no scenario event and ended no turn can be undone, one at a time,
// back to the last that could not, the start of the turn or a load; the
// battle then stands exactly as it did, generator included, so nothing is
// learned or gained by it. Redo does an undone command again until a new one
// is given.
namespace korvath {

// Runs around each command the registry runs and decides what becomes of it:
// a step that can be taken back, a command that ends the history, or one
// (a hover, a scroll, a save) that is neither.
class UndoScope {
  public:
    UndoScope(Battle& b, const std::vector<std::string>& words);
    ~UndoScope();
    UndoScope(const UndoScope&) = delete;
    UndoScope& operator=(const UndoScope&) = delete;
    // The command ran to its end (otherwise, having thrown, it ends the history).
    void finished();

    enum class Kind { Step, Passing, Ending, Itself };
    static Kind kindOf(const std::vector<std::string>& words);

  private:
    Battle& b_;
    std::vector<std::string> words_;
    Kind kind_;
    bool outermost_;
    bool finished_ = false;
};

// The registry's "undo" and "redo"; nothing when there is nothing to take
// back or do again, or while another command runs (a walk under way).
void undoLast(Battle& b);
void redoLast(Battle& b);

// The Edit menu's two entries as the history now stands.
struct UndoEntries {
    bool undoOn = false, redoOn = false;
    std::string undoText = "Undo", redoText = "Redo";
    std::string undoTip; // why Undo is off
};
UndoEntries undoEntries(const Battle& b);
// Why nothing can be taken back, as the player is told.
std::string barrierText(UndoBarrier why);

} // namespace korvath
