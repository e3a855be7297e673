#include "WalkFixture.h"
#include "game/turns/Movement.h"
#include "game/turns/WalkForecast.h"

#include <map>
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
