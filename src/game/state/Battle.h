#pragma once
#include "game/state/BattleState.h"
#include "game/state/DeriveControls.h"
#include "game/state/Ports.h"
#include "game/state/Screen.h"
#include "game/state/UndoHistory.h"

#include <string>

namespace korvath {

// The battle: its state (the rules' part), the screen (the display's part),
// the controls model the window mirrors, and the ports to the outside world.
// A rule that needs only the state or the screen is handed only that part.
// One lives for the process; tests make their own.
struct Battle : BattleState, Screen {
    Controls controls;
    Ports ports;
    // The commands that can still be taken back; never saved.
    UndoHistory undo;

    void play(const std::string& name) { ports.play(name); }
    // A box waits for the player: the window shows the battle as it now
    // stands before it opens.
    void information(const std::string& text) {
        repaint();
        if (ports.dialogs) ports.dialogs->information(text);
    }
    void warning(const std::string& text) { ports.warning(text); }
    // The animation's moments, the window brought up to date, its messages handled.
    void beat(Beat beat) {
        if (ports.watcher && timingOf(beat).letMessagesRun) ports.watcher->messagesMayRun();
        if (ports.presenter) ports.presenter->beat(beat);
    }
    void repaint() {
        if (ports.presenter) ports.presenter->repaint();
    }
    void letMessagesRun() {
        if (ports.watcher) ports.watcher->messagesMayRun();
        if (ports.presenter) ports.presenter->letMessagesRun();
    }
    void playerTurnBegins() {
        if (ports.presenter) ports.presenter->playerTurnBegins();
    }
    int timeOfDay() {
        const int ms = ports.clock ? ports.clock->msSinceMidnight() : 0;
        if (ports.watcher) ports.watcher->timeAsked(ms);
        return ms;
    }

    // Copy square (X, Y) / the whole picture from TerrainBitmap to MapImage.
    void copySquare(int x, int y) { copySquareFrom(TerrainBitmap, x, y); }
    void copyAll() { copyAllFrom(TerrainBitmap); }
    bool squareInSync(int x, int y) const { return Screen::squareInSync(TerrainBitmap, x, y); }
    // Both pictures new and blank, 2560 x 1600; nothing known about them.
    void resetPictures();

    // The controls are derived anew from the state (deriveControls).
    void showRuleState();
};

} // namespace korvath
