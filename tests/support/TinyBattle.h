#pragma once
// The small hand-made battle the rule tests play on, and the ports that
// watch it.
#include "game/state/Battle.h"
#include "game/state/HeadlessPorts.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvath::testing {

// Every soldier picture is one flat colour, different for each row and frame,
// so a pixel tells which picture was drawn.
inline Rgb soldierColour(int picture, int frame) {
    return rgb(40 + picture, 20 * frame, 200);
}

constexpr Rgb kWallColour = rgb(90, 90, 90);
constexpr int kWallGlyph = 10;
constexpr int kItemGlyph = 140;

inline EquipmentType equipment(const std::string& name, const std::string& kind = "",
                               const std::string& effect = "", int quickShotAP = 0,
                               int aimedShotAP = 0) {
    EquipmentType e;
    e.Name = name;
    e.Kind = kind;
    e.Effect = effect;
    e.QuickShotAP = quickShotAP;
    e.AimedShotAP = aimedShotAP;
    return e;
}

// Records what the battle would show: its repaints, and each beat by its length.
struct RecordingPresenter : Presenter {
    int repaints = 0;
    std::vector<int> waits;
    void beat(Beat beat) override { waits.push_back(timingOf(beat).ms); }
    void repaint() override { ++repaints; }
    void letMessagesRun() override {}
};

// The headless ports, with hooks that see the battle at every beat, every
// repaint (what the window would be showing then) and every time the
// window's messages would run.
struct WatchingPorts : HeadlessPorts {
    std::function<void(int ms)> onWait;
    std::function<void()> onRepaint;
    std::vector<int> waits; // every beat, by its length
    int messageRuns = 0;
    void beat(Beat beat) override {
        const int ms = timingOf(beat).ms;
        waits.push_back(ms);
        if (onWait) onWait(ms);
        HeadlessPorts::beat(beat);
    }
    void repaint() override {
        if (onRepaint) onRepaint();
    }
    void letMessagesRun() override { ++messageRuns; }
    int waitsOf(int ms) const {
        return static_cast<int>(std::count(waits.begin(), waits.end(), ms));
    }
};

// A battle of black floor with pictures of known colours, the direction
// tables filled, the scroll bars set up as the window has them, and no
// soldiers yet.
inline std::unique_ptr<Battle> makeTinyBattle() {
    auto b = std::make_unique<Battle>();
    b->TerrainBitmap = Raster(kMapPixelsX, kMapPixelsY);
    b->MapImage = Raster(kMapPixelsX, kMapPixelsY);
    b->Glyphs[kFloorGlyph].Picture = Raster(kSquare, kSquare, 0);
    b->Glyphs[kWallGlyph].Picture = Raster(kSquare, kSquare, kWallColour);
    b->Glyphs[kItemGlyph].Picture = Raster(kSquare, kSquare, 0);
    b->Glyphs[kItemGlyph].Action = "item_12";
    for (int row = 1; row <= kPictureRows; ++row)
        for (int frame = 1; frame <= kPictureFrames; ++frame)
            b->UnitPictures[row][frame] = Raster(kSquare, kSquare, soldierColour(row, frame));
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) b->cell(x, y) = {kFloorGlyph, 0, 0};
    b->view = View::opening(710, 518);
    b->HumanTurn = true;
    return b;
}

inline PieceRecord& addPiece(Battle& b, int i, const std::string& name, int side, int x, int y,
                             int wounds = 5, int maxWounds = 5) {
    PieceRecord& p = b.Pieces[i];
    p.Name = name;
    p.Side = side;
    p.X = x;
    p.Y = y;
    p.Picture = side;
    p.Frame = 1;
    p.Wounds = wounds;
    p.MaxWounds = maxWounds;
    p.UnderGlyph = 0;
    return p;
}

// Pixel of square (x, y) at offset (dx, dy) from its top-left corner.
inline Rgb at(const Raster& r, int x, int y, int dx, int dy) {
    return r.pixel((x - 1) * kSquare + dx, (y - 1) * kSquare + dy);
}

} // namespace korvath::testing
