#include "WalkFixture.h"
#include "game/turns/Movement.h"
#include "game/turns/WalkForecast.h"

#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace korvath::testing {
namespace {

constexpr int kRifle = 1;

// The forecast of a walk order against the walk itself: soldier 1 walks east
// along row 10 from (10, 10) towards (20, 10), with enough wounds to live
// through every shot, in a field each case sets up.
class ForecastTest : public WalkTest {
  public:
    using WalkTest::door;
    using WalkTest::soldier;
    void wall(int x, int y) {
        WalkTest::wall(x, y);
        b->drawGlyph(x, y, kWallGlyph);
    }
    PieceRecord& watcher(int i, int x, int y, int range = 10, int ap = 20, bool watching = true) {
        PieceRecord& p = soldier(i, 2, x, y);
        p.Items[1] = kRifle;
        p.AP = ap;
        p.Ammo = 5;
        p.Shoot = 100;
        p.TargetSize = 20;
        p.Overwatch = watching;
        ranges[i] = range;
        return p;
    }
    std::map<int, int> ranges;
};

struct Situation {
    const char* name;
    std::function<void(ForecastTest&)> setUp;
    int walkerAP;
    WalkStop why;
};

// Each watcher carries a rifle of his own range.
void arm(Battle& b, std::map<int, int>& ranges) {
    int type = 1;
    for (const auto& [i, range] : ranges) {
        EquipmentType& rifle = b.EquipmentTypes[type];
        rifle = equipment("Rifle", "Firearm", "none", 4, 8);
        rifle.DamageDice = "1d2";
        rifle.Range = range;
        rifle.TraceColour = "255";
        b.Pieces[i].Items[1] = type++;
    }
}

TEST_F(ForecastTest, StopsWhereTheWalkStopsWithTheSameWatchersInTheSameOrder) {
    auto wallRow = [](ForecastTest& t, int y, int x0, int x1) {
        for (int x = x0; x <= x1; ++x) t.wall(x, y);
    };
    const std::vector<Situation> cases = {
        {"a watcher comes within range 9 of the walk's second square",
         [](ForecastTest& t) { t.watcher(2, 15, 19); }, 40, WalkStop::Reaction},
        {"a watcher never nearer than his range 10 fires only at the walk's end",
         [](ForecastTest& t) { t.watcher(2, 15, 20); }, 40, WalkStop::End},
        {"a watcher with exactly a quick shot's points fires once, then not at the end",
         [](ForecastTest& t) { t.watcher(2, 15, 19, 10, 4); }, 40, WalkStop::Reaction},
        {"a wall leaves a watcher no clear line and no sight",
         [&](ForecastTest& t) {
             t.watcher(2, 15, 19);
             wallRow(t, 14, 1, 40);
         },
         40, WalkStop::End},
        {"two watchers fire at one step, in index order",
         [](ForecastTest& t) {
             t.watcher(2, 15, 19);
             t.watcher(3, 15, 1);
         },
         40, WalkStop::Reaction},
        {"an enemy on the path stops the walk in front of him; a far watcher fires at the end",
         [](ForecastTest& t) {
             t.watcher(2, 16, 10, 10, 20, false);
             t.watcher(3, 15, 30, 5);
         },
         40, WalkStop::Enemy},
        {"too few points before a door",
         [&](ForecastTest& t) {
             for (int y = 1; y <= 50; ++y)
                 if (y != 10) t.wall(13, y);
             t.door(13, 10);
         },
         8, WalkStop::Points},
        {"the points run out on open floor", [](ForecastTest& t) { t.watcher(2, 40, 40); }, 7,
         WalkStop::Points},
        {"the nearest Operative cannot see the walker: nobody fires at the end",
         [&](ForecastTest& t) {
             t.watcher(2, 20, 13, 10, 20, false);
             wallRow(t, 12, 19, 21);
             t.watcher(3, 30, 10, 5);
         },
         40, WalkStop::End},
        {"the reaction comes while he stands on a friend's square",
         [](ForecastTest& t) {
             t.soldier(4, 1, 13, 10);
             t.watcher(2, 16, 19);
         },
         40, WalkStop::Reaction},
    };
    for (const Situation& c : cases) {
        SCOPED_TRACE(c.name);
        b = makeTinyBattle();
        b->ports.presenter = &clock;
        b->Glyphs[kDoorGlyph].Picture = Raster(kSquare, kSquare, kDoorColour);
        b->Glyphs[kDoorGlyph].Action = "access";
        b->HumanTurn = true;
        ranges.clear();
        walker(10, 10, c.walkerAP).Wounds = 200;
        c.setUp(*this);
        arm(*b, ranges);
        placePieces(*b);
        b->rng.setSeed(77);

        const uint64_t draws = b->rng.draws();
        const auto pieces = b->Pieces;
        const auto grid = b->MapGrid;
        const Raster terrain = b->TerrainBitmap;
        const WalkForecast f = forecastWalk(*b, 1, 20, 10);
        EXPECT_EQ(b->rng.draws(), draws);
        EXPECT_EQ(b->rng.seed(), 77u);
        EXPECT_TRUE(b->Pieces == pieces);
        EXPECT_TRUE(b->MapGrid == grid);
        EXPECT_TRUE(b->TerrainBitmap == terrain);
        // Over the costs the preview of the same order traced, the same forecast.
        PathCostGrid traced;
        previewWalk(*b, 1, 20, 10, &traced);
        const WalkForecast again = forecastWalk(*b, 1, 20, 10, {}, traced);
        EXPECT_EQ(again.path, f.path);
        EXPECT_EQ(again.cost, f.cost);
        EXPECT_EQ(again.steps, f.steps);
        EXPECT_EQ(again.why, f.why);

        EventLog heard;
        b->ports.events = &heard;
        walk(20, 10);
        ASSERT_TRUE(f.walks);
        EXPECT_EQ(f.why, c.why);
        EXPECT_EQ(f.steps, static_cast<int>(heard.all<WalkStep>().size()));
        EXPECT_EQ(f.stop, (Square{w().X, w().Y}));
        std::vector<int> during, atEnd, forecastDuring, forecastAtEnd;
        for (const ReactionShot& r : heard.all<ReactionShot>())
            (r.endOfWalk ? atEnd : during).push_back(r.watcher);
        for (const ForecastShot& s : f.reactions) {
            forecastDuring.push_back(s.watcher);
            EXPECT_EQ(s.step, f.steps);
        }
        for (const ForecastShot& s : f.endOfWalk) forecastAtEnd.push_back(s.watcher);
        EXPECT_EQ(forecastDuring, during);
        EXPECT_EQ(forecastAtEnd, atEnd);
    }
}

TEST_F(ForecastTest, ThereIsNoForecastWhereNoWalkWouldStart) {
    walker(10, 10, 2);
    wall(12, 10);
    EXPECT_FALSE(forecastWalk(*b, 1, 12, 10).walks); // a wall is no walk's goal
    EXPECT_FALSE(forecastWalk(*b, 1, 10, 10).walks); // nor his own square
    soldier(2, 1, 11, 11);
    EXPECT_FALSE(forecastWalk(*b, 1, 11, 11).walks); // short of breath onto a friend
}

} // namespace
} // namespace korvath::testing

namespace korvath::testing {
namespace {

// A time of day the test sets: the reaction shot reseeds from it.
struct DayClock : Clock {
    int ms = 0;
    uint32_t ticks() override { return 0; }
    int msSinceMidnight() override { return ms; }
};

// The forecast's odds of the first reaction shot against that shot fired for
// real: the same walk played again and again from the same battle, each time
// with the time of day the watcher's shot reseeds from spread over the day.
TEST_F(ForecastTest, ReactionOddsAgreeWithRealReactionShots) {
    const std::vector<std::pair<const char*, std::function<void(ForecastTest&)>>> cases = {
        {"a watcher ahead on the walker's row", [](ForecastTest& t) { t.watcher(2, 26, 10, 14); }},
        {"a watcher across the field, a friend beside the walk's line",
         [](ForecastTest& t) {
             t.watcher(2, 17, 17, 12);
             t.soldier(3, 1, 13, 11).TargetSize = 20;
         }},
    };
    constexpr int kWalks = 300, kDay = 24 * 60 * 60 * 1000;
    for (const auto& [name, setUp] : cases) {
        SCOPED_TRACE(name);
        b = makeTinyBattle();
        b->ports.presenter = &clock;
        DayClock day;
        b->ports.clock = &day;
        b->HumanTurn = true;
        ranges.clear();
        PieceRecord& walking = walker(10, 10, 40);
        walking.Wounds = 9;
        walking.TargetSize = 20;
        soldier(5, 1, 2, 30).Wounds = 50; // the battle goes on if the walker falls
        setUp(*this);
        arm(*b, ranges);
        b->Pieces[2].Shoot = 30; // his shots stray
        for (auto& [i, range] : ranges) b->EquipmentTypes[b->Pieces[i].Items[1]].DamageDice = "2d6";
        placePieces(*b);

        const WalkForecast f = forecastWalk(*b, 1, 20, 10, exactShotChances);
        ASSERT_FALSE(f.reactions.empty());
        const ForecastShot& shot = f.reactions.front();
        ASSERT_TRUE(shot.odds.known);

        const auto pieces = b->Pieces;
        const auto grid = b->MapGrid;
        const Raster terrain = b->TerrainBitmap;
        int hits = 0, kills = 0;
        for (int k = 0; k < kWalks; ++k) {
            b->Pieces = pieces;
            b->MapGrid = grid;
            b->TerrainBitmap.blit(terrain, 0, 0, 40 * kSquare, 40 * kSquare, 0, 0);
            b->SelectedPiece = 1;
            b->PieceSelected = true;
            b->GameOver = false;
            day.ms = static_cast<int>(int64_t{k} * kDay / kWalks) + 11;
            EventLog heard;
            b->ports.events = &heard;
            walk(20, 10);
            b->ports.events = nullptr;
            // What the first reaction shot did, up to the next one.
            int reactions = 0;
            for (const BattleEvent& e : heard.seen) {
                if (const auto* r = std::get_if<ReactionShot>(&e)) {
                    if (++reactions == 1) ASSERT_EQ(r->watcher, shot.watcher);
                } else if (const auto* d = std::get_if<DamageDone>(&e); d && reactions == 1) {
                    hits += d->by == shot.watcher && d->target == 1;
                } else if (const auto* d = std::get_if<SoldierDied>(&e); d && reactions == 1) {
                    kills += d->by == shot.watcher && d->soldier == 1;
                }
            }
            ASSERT_GE(reactions, 1);
        }
        // Within 4.5 standard errors (and half a walk).
        for (const auto& [what, seen, p] :
             {std::tuple{"hit", hits, shot.odds.hit}, std::tuple{"kill", kills, shot.odds.kill}}) {
            const double se = std::sqrt(p * (1 - p) / kWalks);
            EXPECT_NEAR(double(seen) / kWalks, p, 4.5 * se + 0.5 / kWalks)
                << what << ": " << seen << " of " << kWalks;
        }
        EXPECT_GT(shot.odds.hit, 0.05);
    }
}

} // namespace
} // namespace korvath::testing
