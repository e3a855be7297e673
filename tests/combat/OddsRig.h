#pragma once
#include "ShotBattle.h"
#include "game/combat/Shooting.h"
#include "game/combat/ShotOdds.h"
#include "game/combat/Sight.h"
#include "game/commands/ArmedOdds.h"
#include "game/state/Pieces.h"

#include <map>

namespace korvath::testing {

constexpr int kHeavy = 4; // 3d6: more than 13 one time in six
constexpr int kBushGlyph = 80, kCrateGlyph = 70, kGeneratorGlyph = 28, kFieldGlyph = 46;
constexpr int kVictoryGlyph = 150;

// The shot battle with objects of every kind the dice decide about, each
// glyph drawn in a flat colour of its own, and the shooter's shot armed.
struct OddsTest : ShotTest {
    OddsTest() {
        for (int g : {kBushGlyph, kCrateGlyph, kGeneratorGlyph, kFieldGlyph, kVictoryGlyph})
            b.Glyphs[g].Picture = Raster(kSquare, kSquare, rgb(g, 200, 40));
        b.Glyphs[kBushGlyph].Description = "Thorn bush";
        b.Glyphs[kVictoryGlyph].Action = "Victory!";
        EquipmentType& heavy = b.EquipmentTypes[kHeavy];
        heavy = b.EquipmentTypes[kRifle];
        heavy.Name = "Rail cannon";
        heavy.DamageDice = "3d6";
    }

    void put(int x, int y, int glyph, int solidity) {
        b.cell(x, y) = {static_cast<uint8_t>(glyph), static_cast<uint8_t>(solidity), 0};
        b.drawGlyph(x, y, glyph);
    }

    // Soldier i selected with his aimed shot armed, the target discs drawn.
    void arm(int i) {
        ready();
        b.SelectedPiece = i;
        b.PieceSelected = true;
        FireButtonClick(b, FireButton::Aimed);
    }
};

// A fresh battle of its own for each situation of a table.
struct Arena : OddsTest {
    void TestBody() override {}
};

// Frequencies of what real shots did.
struct Seen {
    int shots = 0;
    std::map<int, int> struck, struckKilled, burntKilled;
    std::map<std::pair<int, int>, int> stopped, destroyed;
    int spent = 0, offMap = 0, victory = 0;
};

// Fires the real shot at (mx, my) again and again over the same battle: the
// soldiers, the squares and the terrain's changed squares are put back
// before each, and each is reseeded from the next time of day given.
class RealShots : BattleEventSink {
  public:
    RealShots(Battle& b, WatchingPorts& ports)
        : b_(b), ports_(ports), pieces_(b.Pieces), grid_(b.MapGrid), terrain_(b.TerrainBitmap),
          fireMode_(b.FireMode), armed_(b.armedShot) {
        remember();
    }
    Seen fire(int mx, int my, int shots);
    // The selected soldier's shot in whole degree d, flown for real: where it stopped.
    std::vector<ShotStopped> fly(int d) {
        restore();
        stops_.clear();
        BattleEventSink* before = b_.ports.events;
        b_.ports.events = this;
        const PieceRecord& s = b_.Pieces[b_.SelectedPiece];
        FireBullet(b_, b_.SelectedPiece, d, squareCentre(s.X), squareCentre(s.Y), 0, 0);
        b_.ports.events = before;
        restore();
        return stops_;
    }
    void happened(const BattleEvent& e) override {
        if (const auto* s = std::get_if<ShotStopped>(&e)) stops_.push_back(*s);
    }

  private:
    // The player's shot as the map click fires it, without the redrawing
    // and re-arming after it: reseeded from the time of day, strayed, flown.
    void shoot(int mx, int my) {
        const int i = b_.SelectedPiece;
        const PieceRecord& s = b_.Pieces[i];
        const int sx = squareCentre(s.X), sy = squareCentre(s.Y);
        b_.rng.reseedFromTimeOfDay(b_.timeOfDay());
        const Aim aim = AimDeviation(b_.rng, Bearing(sx, sy, mx, my), s.Shoot);
        FireBullet(b_, i, static_cast<int>(aim.angle), sx, sy, mx, my);
    }
    void remember();
    void restore();

    Battle& b_;
    WatchingPorts& ports_;
    decltype(BattleState::Pieces) pieces_;
    decltype(BattleState::MapGrid) grid_;
    Raster terrain_;
    bool fireMode_;
    ArmedShot armed_;
    std::vector<uint32_t> versions_;
    std::vector<ShotStopped> stops_;
};

inline void RealShots::remember() {
    versions_.clear();
    for (int ty = 0; ty < terrain_.tilesHigh(); ++ty)
        for (int tx = 0; tx < terrain_.tilesWide(); ++tx)
            versions_.push_back(b_.TerrainBitmap.tileVersion(tx, ty));
}

inline void RealShots::restore() {
    b_.Pieces = pieces_;
    b_.MapGrid = grid_;
    b_.GameOver = false;
    b_.FireMode = fireMode_;
    b_.armedShot = armed_;
    b_.messageLog.clear();
    size_t k = 0;
    for (int ty = 0; ty < terrain_.tilesHigh(); ++ty)
        for (int tx = 0; tx < terrain_.tilesWide(); ++tx, ++k)
            if (b_.TerrainBitmap.tileVersion(tx, ty) != versions_[k])
                b_.TerrainBitmap.blit(terrain_, tx * kSquare, ty * kSquare, kSquare, kSquare,
                                      tx * kSquare, ty * kSquare);
    remember();
}

inline Seen RealShots::fire(int mx, int my, int shots) {
    Seen seen;
    BattleEventSink* before = b_.ports.events;
    b_.ports.events = this;
    constexpr int kDay = 24 * 60 * 60 * 1000;
    for (int k = 0; k < shots; ++k) {
        restore();
        stops_.clear();
        // Times of day spread over the whole day, none twice.
        ports_.sounds.clear();
        ports_.waits.clear();
        ports_.times.set({static_cast<int>((int64_t{k} * kDay + 7919) / shots) + k % 7});
        shoot(mx, my);
        ++seen.shots;
        if (b_.GameOver) ++seen.victory;
        for (int i = 1; i <= kMaxPieces; ++i)
            if (pieces_[i].Wounds > 0 && b_.Pieces[i].Wounds == 0) {
                const bool struck =
                    std::any_of(stops_.begin(), stops_.end(), [&](const ShotStopped& s) {
                        return s.end == ShotEnd::Soldier && s.soldier == i;
                    });
                ++(struck ? seen.struckKilled : seen.burntKilled)[i];
            }
        auto soldier = std::find_if(stops_.begin(), stops_.end(),
                                    [](const ShotStopped& s) { return s.end == ShotEnd::Soldier; });
        const ShotStopped& s = soldier != stops_.end() ? *soldier : stops_.front();
        if (s.end == ShotEnd::Soldier) ++seen.struck[s.soldier];
        if (s.end == ShotEnd::Spent) ++seen.spent;
        if (s.end == ShotEnd::OffMap) ++seen.offMap;
        if (s.end == ShotEnd::Obstacle) {
            ++seen.stopped[{s.square.x, s.square.y}];
            if (b_.cell(s.square.x, s.square.y).Solidity < 2)
                ++seen.destroyed[{s.square.x, s.square.y}];
        }
    }
    restore();
    b_.ports.events = before;
    return seen;
}

} // namespace korvath::testing
