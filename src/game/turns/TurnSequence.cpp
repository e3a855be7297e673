#include "game/turns/TurnSequence.h"
#include "game/state/Pieces.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/combat/Events.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"
#include "game/turns/Opponent.h"

#include <algorithm>
#include <exception>

namespace korvath {

namespace {

constexpr int kComputerSide = Side::Operatives;

std::string whoseTurn(const Battle& b, int side) {
    return "The " + b.SideNames[side] + "'s turn";
}

// Glyphs whose action reads "replace_NNN" turn into glyph NNN at the start of
// each turn: burning wreckage that dies down, doors that open on a timer.
void replaceTimedGlyphs(Battle& b) {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            MapCell& c = b.cell(x, y);
            const std::string& action = b.glyph(c.Glyph).Action;
            if (action.compare(0, 7, "replace") != 0) continue;
            const std::string number = action.size() > 8 ? action.substr(8, 3) : std::string();
            int n = 0;
            if (!parseInt(number, n))
                throw DataError("glyph " + std::to_string(c.Glyph), 0,
                                "'" + number + "' is not a valid integer value");
            // The square's glyph is one byte and names a tile picture.
            if (n < 1 || n > kMaxGlyphs)
                throw DataError("glyph " + std::to_string(c.Glyph), 0,
                                "glyph " + std::to_string(n) + " does not exist");
            c.Glyph = static_cast<uint8_t>(n);
            if (n == kFloorGlyph) c.Solidity = 0;
            b.drawGlyph(x, y, n);
            b.copySquare(x, y);
        }
}

void runScheduledEvents(Battle& b) {
    const int count = std::min(b.TurnEventList[0].Turn, kMaxEvents);
    for (int j = 1; j <= count; ++j) {
        if (b.TurnEventList[j].Turn != b.TurnNumber) continue;
        RunEventFile(b, b.TurnEventList[j].EventName);
        b.copyAll();
        b.repaint();
    }
}

// The battle is decided and End Turn was pressed once more: leave the field.
// The battle window closes once the command that pressed it is done.
void leaveBattle(Battle& b) {
    b.play("ohmigod");
    b.beat(Beat::LeavingBattle);
    b.closeRequested = true;
}

void victoryByElimination(Battle& b) {
    b.FireMode = false;
    b.HandFightMode = false;
    b.cursor = CursorShape::Default;
    b.mapCursor = CursorShape::Default;
    b.beat(Beat::VictoryPause);
    b.play("SignOff");
    b.beat(Beat::Fanfare);
    showCurrentState(b);
    b.information("You have won. There are no more enemies.");
    b.armedShot = ArmedShot::None;
    placePieces(b);
    b.GameOver = true;
}

// Steps 21 to 24: the map and the scenario move on with the new turn. A bad
// glyph or event file is reported and the rest of this is left undone.
void startOfTurnChanges(Battle& b) {
    try {
        replaceTimedGlyphs(b);
        b.FireMode = false;
        b.repaint();
        runScheduledEvents(b);
        DrawOverheadMap(b);
    } catch (const std::exception& e) {
        b.warning(e.what());
    }
}

} // namespace

void RestoreActionPoints(BattleState& b, int piece) {
    if (!validIndex(piece)) return;
    PieceRecord& p = b.Pieces[piece];
    int load = 1;
    for (int slot = 1; slot <= 6; ++slot)
        if (p.Items[slot] != 0) load += b.item(p.Items[slot]).Weight;
    // Whatever was left over from the last turn is gone.
    p.AP = p.BaseAP - p.Fatigue + p.Strength - load / 5;
}

void EndTurnButtonClick(Battle& b) {
    // The computer's walk lets the window's messages run; a second press
    // arriving then must not start a turn inside the turn.
    RuleGuard running(b, Rule::EndTurn);
    if (running.nested()) return;

    if (b.GameOver) {
        leaveBattle(b);
        return;
    }

    b.HumanTurn = false;
    b.play("TurnFinished");
    b.statusLine = whoseTurn(b, kComputerSide);
    b.repaint();
    // The actions bar under the map is off while the computer plays.
    b.CurrentSide = kComputerSide;
    tell(b, TurnBegins{b.TurnNumber, kComputerSide});

    const bool enemiesLeft = anyAlive(b, kComputerSide);
    bool humansLeft = false;
    for (int i = 1; i <= kMaxPieces; ++i) {
        PieceRecord& p = b.Pieces[i];
        if (p.Side == kComputerSide) {
            RestoreActionPoints(b, i);
            p.Overwatch = false;
        } else if (p.Side == Side::Raiders && p.Wounds > 0) {
            humansLeft = true;
        }
    }
    DrawOverheadMap(b);
    RefreshPieceStats(b);

    if (!enemiesLeft) victoryByElimination(b);
    if (!humansLeft) b.GameOver = true;

    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Side != kComputerSide || p.Wounds <= 0 || p.Name.empty() || b.GameOver) continue;
        // An event file that fails under a shot is reported; the turn goes on.
        try {
            computerPieceTurn(b, i);
        } catch (const DataError& e) {
            b.warning(e.what());
        }
    }

    b.statusLine = whoseTurn(b, b.HumanSide);
    const bool humansAlive = anyAlive(b, b.HumanSide);
    if (!humansAlive) {
        showCurrentState(b);
        b.information("You have no more men left");
    } else {
        for (int i = 1; i <= kMaxPieces; ++i)
            if (b.Pieces[i].Side == b.HumanSide) {
                RestoreActionPoints(b, i);
                b.Pieces[i].Overwatch = false;
            }
    }
    b.HumanTurn = true;
    ++b.TurnNumber;
    if (!humansAlive) return;

    b.CurrentSide = b.HumanSide;
    tell(b, TurnBegins{b.TurnNumber, b.HumanSide});
    placePieces(b);
    if (validIndex(b.SelectedPiece) && b.Pieces[b.SelectedPiece].Wounds > 0)
        FocusPiece(b, b.SelectedPiece);
    b.play("TurnFinished");

    startOfTurnChanges(b);
    // The panel shows the soldier's new action points without a click.
    RefreshPieceStats(b);
    if (!b.GameOver) b.playerTurnBegins();
}

} // namespace korvath
