#include "OddsRig.h"
#include "game/combat/BlowOdds.h"
#include "game/commands/StagedRules.h"
#include "game/combat/DamageSpread.h"
#include "game/commands/Commands.h"
#include "game/commands/Registry.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>

namespace korvath::testing {
namespace {

int centre(int square) {
    return square * kSquare - 16;
}

// |seen - p| within 4.5 standard errors of n shots (and half a shot).
void expectNear(const std::string& what, int seen, int n, double p) {
    p = std::clamp(p, 0.0, 1.0);
    const double f = static_cast<double>(seen) / n;
    const double se = std::sqrt(p * (1 - p) / n);
    EXPECT_LE(std::abs(f - p), 4.5 * se + 0.5 / n)
        << what << ": " << seen << " of " << n << ", p " << p;
}

double sumOf(const ShotOdds& o) {
    double sum = o.spent + o.offMap;
    for (const SoldierOdds& s : o.soldiers) sum += s.hit;
    for (const StopOdds& s : o.obstacles) sum += s.p;
    return sum;
}

// Every chance of the odds against the frequencies of the real shots.
void expectAgrees(const ShotOdds& o, const Seen& seen, const std::string& name) {
    const int n = seen.shots;
    EXPECT_NEAR(sumOf(o), 1, 1e-9) << name;
    auto count = [](const auto& m, auto key) {
        auto it = m.find(key);
        return it == m.end() ? 0 : it->second;
    };
    for (const SoldierOdds& s : o.soldiers) {
        const std::string who = name + ", soldier " + std::to_string(s.soldier);
        expectNear(who + " struck", count(seen.struck, s.soldier), n, s.hit);
        expectNear(who + " killed", count(seen.struckKilled, s.soldier), n, s.killed);
        expectNear(who + " burnt to death", count(seen.burntKilled, s.soldier), n, s.burntKilled);
    }
    for (const auto& [i, k] : seen.struck) EXPECT_TRUE(o.of(i)) << name << ": struck " << i;
    for (const StopOdds& s : o.obstacles) {
        const std::string where =
            name + ", square " + std::to_string(s.square.x) + "," + std::to_string(s.square.y);
        const std::pair<int, int> at{s.square.x, s.square.y};
        expectNear(where + " stops it", count(seen.stopped, at), n, s.p);
        expectNear(where + " destroyed", count(seen.destroyed, at), n, s.destroyed);
    }
    int stops = 0;
    for (const auto& [at, k] : seen.stopped) stops += k;
    int expected = 0;
    for (const StopOdds& s : o.obstacles)
        expected += count(seen.stopped, std::pair{s.square.x, s.square.y});
    EXPECT_EQ(stops, expected) << name << ": a stop the odds never named";
    expectNear(name + " out of range", seen.spent, n, o.spent);
    expectNear(name + " off the map", seen.offMap, n, o.offMap);
    expectNear(name + " victory", seen.victory, n, o.victory);
}

constexpr Point middle(int x, int y) {
    return {x * kSquare - 16, y * kSquare - 16};
}

struct Situation {
    const char* name;
    std::function<void(Arena&)> setUp; // places soldier 1, the shooter, and the rest
    Point aim;                         // the pixel aimed at
    // What the situation is there to exercise, checked on the odds.
    std::function<bool(const ShotOdds&)> exercises;
    int shots = 500; // a flame repaints the whole map after it: fewer
};

const Situation kSituations[] = {
    {"open ground",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 60;
         t.soldier(2, "Guard", 2, 18, 21).Toughness = 6;
     },
     middle(18, 21),
     [](const ShotOdds& o) { return o.of(2) && o.of(2)->hit > 0.2 && o.spent > 0; }},
    {"a friend in the line",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 50;
         t.soldier(3, "Mate", 1, 14, 20).Wounds = 2;
         t.soldier(2, "Guard", 2, 20, 21);
     },
     middle(20, 21),
     [](const ShotOdds& o) { return o.of(3) && o.of(3)->friendly && o.of(3)->hit > 0.05; }},
    {"bushes at a grazing angle",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 30;
         for (int x = 13; x <= 17; ++x) t.put(x, 19, kBushGlyph, 2);
         t.soldier(2, "Guard", 2, 21, 20);
     },
     middle(21, 20),
     [](const ShotOdds& o) {
         for (const StopOdds& s : o.obstacles)
             if (s.destroyed > 0 && s.destroyed < s.p) return o.of(2) != nullptr;
         return false;
     }},
    {"a bush in the way, met by both tests",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 100;
         t.put(14, 20, kBushGlyph, 2);
         t.soldier(2, "Guard", 2, 18, 20);
     },
     middle(18, 20),
     [](const ShotOdds& o) { return !o.obstacles.empty() && o.obstacles[0].destroyed == 0.75; }},
    {"a crate (Solidity 3) under a heavy gun",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20, kHeavy).Shoot = 40;
         t.put(14, 20, kCrateGlyph, 3);
         t.put(14, 21, kCrateGlyph, 3);
         t.soldier(2, "Guard", 2, 19, 21);
     },
     middle(19, 21),
     [](const ShotOdds& o) { return !o.obstacles.empty() && o.obstacles[0].destroyed > 0; }},
    {"a generator and its force field",
     [](Arena& t) {
         // Shots 8 degrees down graze the generator's top edge and fly on
         // below it; where it gives way the field behind goes.
         t.soldier(1, "Raider", 1, 10, 20, kHeavy).Shoot = 60;
         t.put(13, 21, kGeneratorGlyph, 4);
         for (int y = 17; y <= 24; ++y) t.put(16, y, kFieldGlyph, 4);
         t.soldier(2, "Guard", 2, 18, 21);
     },
     {700, 683},
     [](const ShotOdds& o) { return o.of(2) && o.of(2)->hit > 0.1 && o.of(2)->hit < 0.6; }},
    {"a flame weapon",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20, kFlamer).Shoot = 50;
         t.soldier(2, "Guard", 2, 14, 20).Wounds = 8;
         t.soldier(3, "Mate", 1, 13, 21).Wounds = 6;
     },
     middle(14, 20),
     [](const ShotOdds& o) { return o.of(3) && o.of(3)->burntKilled > 0 && !o.fire.empty(); }, 250},
    {"a low Shoot among walls",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 5;
         t.wall(13, 21);
         t.wall(13, 23);
         t.soldier(2, "Guard", 2, 16, 24).Wounds = 3;
     },
     middle(16, 24), [](const ShotOdds& o) { return o.obstacles.size() >= 2 && o.of(2); }},
    {"a high Shoot past a wall",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 95;
         t.wall(17, 24);
         t.soldier(2, "Guard", 2, 27, 27).Toughness = 12;
     },
     middle(27, 27), [](const ShotOdds& o) { return o.of(2) && o.of(2)->hit > 0.5; }},
    {"a target at the edge of the range",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 70;
         t.soldier(2, "Guard", 2, 30, 20);
     },
     middle(30, 20), [](const ShotOdds& o) { return o.of(2) && o.spent > 0.05; }},
    {"the victory tile",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 10, 20).Shoot = 50;
         t.put(15, 20, kVictoryGlyph, 3);
         t.soldier(2, "Guard", 2, 19, 21);
     },
     middle(15, 20), [](const ShotOdds& o) { return o.victory > 0.5; }},
    {"off the map",
     [](Arena& t) {
         t.soldier(1, "Raider", 1, 3, 4).Shoot = 20;
         t.put(1, 3, kBushGlyph, 2);
     },
     {0, 100},
     [](const ShotOdds& o) { return o.offMap > 0.3 && !o.obstacles.empty(); }},
};

TEST_F(OddsTest, RealShotsAgreeWithTheOddsInEverySituation) {
    for (const Situation& s : kSituations) {
        Arena t;
        // A small window: the shot's clean-up repaints only the squares in view.
        t.b.view = View::opening(96, 96);
        s.setUp(t);
        t.arm(1);
        const int mx = s.aim.x, my = s.aim.y;
        const ArmedOdds odds = armedOdds(t.b, mx, my);
        ASSERT_EQ(odds.kind, ArmedOdds::Shot) << s.name;
        EXPECT_TRUE(odds.shot.exact) << s.name;
        EXPECT_TRUE(s.exercises(odds.shot)) << s.name;
        if (!s.exercises(odds.shot)) {
            for (const SoldierOdds& o : odds.shot.soldiers)
                std::cerr << "  soldier " << o.soldier << " hit " << o.hit << " killed " << o.killed
                          << " burnt " << o.burnt << "\n";
            for (const StopOdds& o : odds.shot.obstacles)
                std::cerr << "  stop " << o.square.x << "," << o.square.y << " p " << o.p
                          << " destroyed " << o.destroyed << "\n";
            std::cerr << "  spent " << odds.shot.spent << " offmap " << odds.shot.offMap << "\n";
        }
        RealShots real(t.b, t.ports);
        expectAgrees(odds.shot, real.fire(mx, my, s.shots), s.name);
    }
}

// With nothing the dice decide about on the field, each whole degree has one
// end: the one the real shot in that degree meets. And the aim's stray adds
// the degrees up with its weights.
TEST_F(OddsTest, EveryDegreeFlownAloneEndsWhereTheRealShotInThatDegreeEnds) {
    b.view = View::opening(96, 96);
    soldier(1, "Raider", 1, 20, 20);
    soldier(2, "Guard", 2, 26, 18);
    soldier(3, "Mate", 1, 17, 23);
    soldier(4, "Guard", 2, 20, 12);
    for (int y = 14; y <= 26; ++y) wall(33, y);
    wall(22, 22);
    wall(15, 17);
    arm(1);
    const FlightGround ground(b);
    RealShots real(b, ports);
    for (int d = 0; d < 360; ++d) {
        const ShotOdds o = degreeOdds(ground, 1, d);
        const std::vector<ShotStopped> stops = real.fly(d);
        ASSERT_EQ(stops.size(), 1u) << d;
        const ShotStopped& stop = stops[0];
        ASSERT_EQ(o.degrees, 1);
        ASSERT_NEAR(sumOf(o), 1, 1e-12);
        if (stop.end == ShotEnd::Soldier) {
            ASSERT_TRUE(o.of(stop.soldier)) << d;
            EXPECT_EQ(o.of(stop.soldier)->hit, 1) << d;
        } else if (stop.end == ShotEnd::Obstacle) {
            ASSERT_EQ(o.obstacles.size(), 1u) << d;
            EXPECT_EQ(o.obstacles[0].square.x, stop.square.x) << d;
            EXPECT_EQ(o.obstacles[0].square.y, stop.square.y) << d;
        } else {
            EXPECT_EQ(stop.end == ShotEnd::Spent ? o.spent : o.offMap, 1) << d;
        }
    }
    // Shoot 40 at 3.5 degrees: 40% hold the aim, the rest stray over -9..+9,
    // wrapping below 0 into 354..359.
    b.Pieces[1].Shoot = 40;
    const auto degrees = shotDegrees(3.5, 40, true);
    std::map<int, double> weight(degrees.begin(), degrees.end());
    EXPECT_NEAR(weight[3], 0.4 + 0.6 * 0.10, 1e-12);
    EXPECT_NEAR(weight[12], 0.6 * 0.01, 1e-12);
    EXPECT_NEAR(weight[354], 0.6 * 0.01, 1e-12); // 3.5 - 9 = -5.5, 354.5
    EXPECT_EQ(weight.count(353), 0u);
    EXPECT_EQ(shotDegrees(3.5, 40, false), (std::vector<std::pair<int, double>>{{3, 1.0}}));
}

// An objective's tile: a shot that stops at it sets its event off and stays
// exact; one that looks at the map after the event (the soldier test, half a
// pixel ahead, broke the tile and the shot flew on, or a flame bursts there)
// is no longer exact.
TEST_F(OddsTest, AShotPastAnEventIsMarkedNearEnough) {
    constexpr int kRelay = 75;
    b.Glyphs[kRelay].Picture = Raster(kSquare, kSquare, rgb(75, 200, 40));
    b.Glyphs[kRelay].Action = "eventRelay";
    soldier(1, "Raider", 1, 20, 20);
    put(23, 20, kRelay, 4);
    arm(1);
    const FlightGround ground(b);
    struct Case {
        int degree, weapon;
        bool stops, exact;
    } cases[] = {{0, kRifle, true, true}, {3, kRifle, false, false}, {0, kFlamer, true, false}};
    for (const Case& c : cases) {
        b.Pieces[1].Items[1] = c.weapon;
        const ShotOdds o = degreeOdds(ground, 1, c.degree);
        ASSERT_EQ(o.events.size(), 1u) << c.degree;
        EXPECT_EQ(o.events[0].name, "eventRelay");
        EXPECT_EQ(o.events[0].p, 1);
        EXPECT_EQ(o.obstacles.size() == 1, c.stops) << c.degree;
        EXPECT_EQ(o.exact, c.exact) << c.degree;
        EXPECT_EQ(o.pastEvent, !c.exact) << c.degree;
    }
}

// A damage roll's spread, the toughness roll and the wounds, against every
// face of the dice counted out.
TEST(DamageSpreadTest, MatchesTheDiceCountedOut) {
    struct Case {
        int n, m, toughness, wounds;
    };
    for (const Case c :
         {Case{1, 6, 5, 3}, Case{2, 6, 2, 7}, Case{3, 4, 11, 4}, Case{2, 6, 8, 13}}) {
        const DamageSpread spread(c.n, c.m);
        std::vector<int> face(c.n, 1);
        double kill = 0, hurt = 0, atLeast7 = 0, heavy = 0, total = 0;
        for (bool more = true; more;) {
            int sum = 0;
            for (int f : face) sum += f;
            const double p = std::pow(1.0 / c.m, c.n);
            total += p;
            if (sum >= 7) atLeast7 += p;
            if (sum > 13) heavy += p;
            for (int r = 1; r <= 10; ++r) {
                const int d = r == 1 ? 0 : (r < c.toughness ? sum / 2 : sum);
                if (d >= c.wounds)
                    kill += p / 10;
                else if (d > 0)
                    hurt += p / 10;
            }
            more = false;
            for (int k = 0; k < c.n && !more; ++k) {
                if (++face[k] <= c.m)
                    more = true;
                else
                    face[k] = 1;
            }
        }
        EXPECT_NEAR(total, 1, 1e-12);
        EXPECT_NEAR(spread.atLeast(7), atLeast7, 1e-12);
        EXPECT_NEAR(spread.heavy(), heavy, 1e-12);
        const HitHarm h = shotHarm(spread, c.toughness, c.wounds);
        EXPECT_NEAR(h.killed, kill, 1e-12);
        EXPECT_NEAR(h.wounded, hurt, 1e-12);
        EXPECT_NEAR(h.unharmed + h.wounded + h.killed, 1, 1e-12);
    }
}

// A blow lands on Attack, is parried on five times the Toughness, and does
// the weapon's whole roll.
TEST_F(OddsTest, RealBlowsAgreeWithTheOdds) {
    struct Case {
        int attack, toughness, wounds;
    };
    for (const Case c : {Case{60, 8, 4}, Case{100, 0, 6}, Case{35, 19, 1}}) {
        Arena t;
        t.soldier(1, "Raider", 1, 10, 20, kBlade).Attack = c.attack;
        PieceRecord& enemy = t.soldier(2, "Guard", 2, 11, 21);
        enemy.Toughness = c.toughness;
        enemy.Wounds = c.wounds;
        t.ready();
        t.b.SelectedPiece = 1;
        t.b.PieceSelected = true;
        HandFightIconClick(t.b);
        const ArmedOdds odds = armedOdds(t.b, centre(11), centre(21));
        ASSERT_EQ(odds.kind, ArmedOdds::Blow);
        EXPECT_EQ(odds.blow.target, 2);
        EventLog heard;
        t.b.ports.events = &heard;
        const int blows = 2000;
        int landed = 0, parried = 0, wounded = 0, killed = 0;
        for (int k = 0; k < blows; ++k) {
            t.b.Pieces[1].AP = 20;
            t.b.Pieces[2].Wounds = c.wounds;
            t.b.rng.reseedFromTimeOfDay(static_cast<int>(int64_t{k} * 86400000 / blows) + 13);
            heard.seen.clear();
            handFightClick(t.b, centre(11), centre(21));
            const auto blow = heard.all<Blow>();
            ASSERT_EQ(blow.size(), 1u);
            landed += blow[0].landed;
            parried += blow[0].parried;
            const int left = t.b.Pieces[2].Wounds;
            killed += left == 0;
            wounded += left > 0 && left < c.wounds;
        }
        const std::string name = "Attack " + std::to_string(c.attack);
        expectNear(name + " lands", landed, blows, odds.blow.lands);
        expectNear(name + " parried", parried, blows, odds.blow.parried);
        expectNear(name + " wounded", wounded, blows, odds.blow.wounded);
        expectNear(name + " killed", killed, blows, odds.blow.killed);
    }
}

// Asking, by hover or by the odds' own question, leaves the battle as it was,
// its generator included.
TEST_F(OddsTest, AskingDrawsNothingAndChangesNothing) {
    soldier(1, "Raider", 1, 10, 20, kFlamer).Shoot = 40;
    put(12, 20, kBushGlyph, 2);
    soldier(2, "Guard", 2, 14, 21);
    arm(1);
    b.rng.setSeed(4242);
    b.rng.random(7);
    const uint32_t seed = b.rng.seed();
    const uint64_t draws = b.rng.draws();
    const auto pieces = b.Pieces;
    const auto grid = b.MapGrid;
    const Raster terrain = b.TerrainBitmap;
    for (int x = 0; x < kMapPixelsX; x += 97) {
        runCommand(b, {"hover", std::to_string(x), std::to_string(centre(21))});
        EXPECT_EQ(armedOdds(b, x, centre(21)).kind, ArmedOdds::Shot);
    }
    EXPECT_EQ(b.rng.seed(), seed);
    EXPECT_EQ(b.rng.draws(), draws);
    EXPECT_TRUE(b.Pieces == pieces);
    EXPECT_TRUE(b.MapGrid == grid);
    EXPECT_TRUE(b.TerrainBitmap == terrain);
}

} // namespace
} // namespace korvath::testing
