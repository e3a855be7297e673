// Cost of redrawing the soldiers and the overhead map on a full battle.
#include "game/display/Display.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace korvath;

namespace {

// A walled 80 x 50 map with floor art and 60 soldiers of both sides, some wounded, some on
// overwatch, some carrying a healing item, and a few bodies.
std::unique_ptr<Battle> fullBattle() {
    auto b = std::make_unique<Battle>();
    b->TerrainBitmap = Raster(kMapPixelsX, kMapPixelsY);
    b->MapImage = Raster(kMapPixelsX, kMapPixelsY);
    // Floor art under the black squares, as the game shows it by default.
    b->setFloorArt(Raster(kMapPixelsX, kMapPixelsY, rgb(30, 32, 36)));
    for (int g = 1; g <= kLastTileGlyph; ++g)
        b->Glyphs[g].Picture = Raster(kSquare, kSquare, g == kFloorGlyph ? 0 : rgb(g, g, g));
    for (int row = 1; row <= kPictureRows; ++row)
        for (int f = 1; f <= kPictureFrames; ++f)
            b->UnitPictures[row][f] = Raster(kSquare, kSquare, rgb(row * 10, f * 20, 99));
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            const bool wall = x == 1 || y == 1 || x == kMapWidth || y == kMapHeight || x % 9 == 0;
            b->cell(x, y).Glyph = wall ? 20 : kFloorGlyph;
            b->cell(x, y).Solidity = wall ? 4 : 0;
        }
    b->EquipmentTypes[1].Name = "Rifle";
    b->EquipmentTypes[2].Name = "Medikit";
    b->EquipmentTypes[2].Effect = "wounds";
    for (int i = 1; i <= 60; ++i) {
        PieceRecord& p = b->Pieces[i];
        p.Name = "Soldier " + std::to_string(i);
        p.Side = i <= 30 ? 1 : 2;
        p.X = 2 + (i * 7) % 70;
        p.Y = 2 + (i * 5) % 46;
        if (p.X % 9 == 0) ++p.X;
        p.Picture = 1 + i % kPictureRows;
        p.Frame = 1 + i % 7;
        p.MaxWounds = 5;
        p.Wounds = i % 11 == 0 ? 0 : 5 - i % 2;
        p.Overwatch = i % 3 == 0;
        p.Items[1] = 1;
        p.Items[4] = i % 4 == 0 ? 2 : 0;
        p.TargetSize = 10 + i % 9;
    }
    b->view = View::opening(kMapPanelWidth, kMapPanelHeight);
    drawTerrain(*b);
    placePieces(*b);
    return b;
}

// Nothing has changed since the last redraw: nobody need be drawn again.
void BM_placePieces(benchmark::State& state) {
    auto b = fullBattle();
    for (auto _ : state) {
        b->dirty = {};
        placePieces(*b);
        benchmark::DoNotOptimize(b->MapImage.data());
    }
}
BENCHMARK(BM_placePieces)->Unit(benchmark::kMicrosecond);

// One soldier steps to a neighbouring square and back, as in a walk.
void BM_placePiecesAfterAStep(benchmark::State& state) {
    auto b = fullBattle();
    PieceRecord& p = b->Pieces[1];
    int step = 1;
    for (auto _ : state) {
        b->drawGlyph(p.X, p.Y, kFloorGlyph);
        b->copySquare(p.X, p.Y);
        b->cell(p.X, p.Y) = {kFloorGlyph, 0, 0};
        p.X += step;
        step = -step;
        placePieces(*b);
        benchmark::DoNotOptimize(b->MapImage.data());
    }
}
BENCHMARK(BM_placePiecesAfterAStep)->Unit(benchmark::kMicrosecond);

// A walker changes two squares between two redraws of the overhead map.
void BM_DrawOverheadMap(benchmark::State& state) {
    auto b = fullBattle();
    int step = 1;
    for (auto _ : state) {
        PieceRecord& p = b->Pieces[1];
        b->cell(p.X, p.Y).Solidity = 0;
        p.X += step;
        step = -step;
        b->cell(p.X, p.Y).Solidity = 1;
        DrawOverheadMap(*b);
        benchmark::DoNotOptimize(b->OverHeadMapImage.data());
    }
}
BENCHMARK(BM_DrawOverheadMap)->Unit(benchmark::kMicrosecond);

// The discs before a shot, drawn over the soldiers as the shot finds them.
void BM_DrawTargetDiscs(benchmark::State& state) {
    auto b = fullBattle();
    for (auto _ : state) {
        state.PauseTiming();
        placePieces(*b);
        state.ResumeTiming();
        DrawTargetDiscs(*b);
        benchmark::DoNotOptimize(b->MapImage.data());
    }
}
BENCHMARK(BM_DrawTargetDiscs)->Unit(benchmark::kMicrosecond);

} // namespace
