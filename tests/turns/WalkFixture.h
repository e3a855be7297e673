#pragma once
#include "TinyBattle.h"
#include "game/display/Display.h"
#include "game/turns/Movement.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace korvath::testing {

constexpr int kDoorGlyph = 70; // a strong object the soldiers can pass
constexpr Rgb kDoorColour = rgb(150, 100, 50);

// Passes every beat at once and lets a test act while the window's messages
// would run.
struct WalkClock : Presenter {
    int waits = 0;
    int messageRuns = 0;
    uint32_t elapsed = 0;
    std::function<void()> onMessages;
    void beat(Beat beat) override {
        ++waits;
        elapsed += static_cast<uint32_t>(timingOf(beat).ms);
    }
    void repaint() override {}
    void letMessagesRun() override {
        ++messageRuns;
        if (onMessages) onMessages();
    }
};

// An open floor battle in the human turn with the Raiders' soldier 1 selected.
class WalkTest : public ::testing::Test {
  protected:
    WalkTest() : b(makeTinyBattle()) {
        b->ports.presenter = &clock;
        b->Glyphs[kDoorGlyph].Picture = Raster(kSquare, kSquare, kDoorColour);
        b->Glyphs[kDoorGlyph].Action = "access";
    }

    PieceRecord& walker(int x, int y, int ap) {
        PieceRecord& p = addPiece(*b, 1, "Walker", 1, x, y);
        p.AP = ap;
        b->SelectedPiece = 1;
        b->PieceSelected = true;
        placePieces(*b);
        return p;
    }
    PieceRecord& soldier(int i, int side, int x, int y) {
        PieceRecord& p = addPiece(*b, i, "Soldier " + std::to_string(i), side, x, y);
        placePieces(*b);
        return p;
    }
    void wall(int x, int y) { b->cell(x, y) = {static_cast<uint8_t>(kWallGlyph), 4, 0}; }
    void door(int x, int y) { b->cell(x, y) = {static_cast<uint8_t>(kDoorGlyph), 3, 0}; }
    void walk(int x, int y) { walkSelectedPiece(*b, x, y, false); }
    std::string query(int x, int y) {
        walkSelectedPiece(*b, x, y, true);
        return b->statusLine;
    }
    PieceRecord& w() { return b->Pieces[1]; }
    int cost(int x, int y) { return b->cell(x, y).PathCost; }

    std::unique_ptr<Battle> b;
    WalkClock clock;
};

} // namespace korvath::testing
