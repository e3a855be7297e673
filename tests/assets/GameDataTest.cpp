// The real game folder as the build lays it out: both scenarios must load,
// play fair and hang together.
#include "assets/GlyphTable.h"
#include "assets/QtRaster.h"
#include "assets/ScenarioText.h"
#include "assets/TextOut.h"
#include "engine/Bmp.h"
#include "engine/TextFile.h"
#include "engine/Ustar.h"
#include "game/combat/Events.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <jpeglib.h>
#include <memory>
#include <set>
#include <unistd.h>

using namespace korvath;
using namespace korvath::assets;
namespace fs = std::filesystem;

namespace {

const fs::path kGame = KORVATH_GAME_DIR;

struct Square {
    int x, y;
};

// One scenario's files read back from the game folder.
struct Data {
    std::string name;
    ScenarioId id;
    Square objective;
    std::array<std::array<int, 51>, 81> glyph{}; // [x][y]
    std::array<std::string, 157> action;
    std::array<std::string, 157> description;
    ScenarioText text;

    explicit Data(const std::string& n) : name(n) {
        id = n == "korvath" ? ScenarioId::Korvath : ScenarioId::Vexlar;
        objective = n == "korvath" ? Square{54, 27} : Square{38, 41};
        const auto map = readFile((kGame / "scenarios" / (n + ".map")).string());
        EXPECT_EQ(map.size(), 32000u);
        for (int x = 1; x <= 80; ++x)
            for (int y = 1; y <= 50; ++y) glyph[x][y] = map.at(((x - 1) * 50 + y - 1) * 8);
        const auto lines = splitLines(readText(file(n + "GlyphDesc.txt")));
        EXPECT_EQ(lines.size(), 156u);
        for (size_t g = 1; g <= 156 && g <= lines.size(); ++g) {
            const auto f = splitTabs(lines[g - 1], 3);
            EXPECT_EQ(f.size(), 3u) << "glyph " << g;
            if (f.size() == 3) description[g] = f[1], action[g] = f[2];
        }
        const std::string desc = file(n + "Desc.txt");
        text = parseScenarioText(desc, readText(desc));
    }
    static std::string file(const std::string& base) {
        return (kGame / "scenarios" / base).string();
    }
    int solidity(int x, int y) const { return solidityOfGlyph(glyph[x][y]); }
    bool passable(int x, int y, bool airlocks = true) const {
        return solidity(x, y) < 2 || (airlocks && action[glyph[x][y]] == "access");
    }
    bool floor(int x, int y) const { return solidity(x, y) == 0 && glyph[x][y] != 156; }
    std::vector<Square> stars() const {
        std::vector<Square> s;
        for (int y = 1; y <= 50; ++y)
            for (int x = 1; x <= 80; ++x)
                if (glyph[x][y] == 156) s.push_back({x, y});
        return s;
    }
    // Squares a soldier can walk to from (x, y), stepping in eight directions.
    std::array<std::array<bool, 51>, 81> reachableFrom(Square from, bool airlocks = true) const {
        std::array<std::array<bool, 51>, 81> seen{};
        std::deque<Square> todo{from};
        seen[from.x][from.y] = true;
        while (!todo.empty()) {
            const Square s = todo.front();
            todo.pop_front();
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const int x = s.x + dx, y = s.y + dy;
                    if (x < 1 || y < 1 || x > 80 || y > 50 || seen[x][y] ||
                        !passable(x, y, airlocks))
                        continue;
                    seen[x][y] = true;
                    todo.push_back({x, y});
                }
        }
        return seen;
    }
    int equipmentIndex(const std::string& name) const {
        for (size_t i = 0; i < text.equipment.size(); ++i)
            if (text.equipment[i].name == name) return static_cast<int>(i) + 1;
        return 0;
    }
};

class Scenario : public ::testing::TestWithParam<std::string> {
  protected:
    static const Data& data() {
        static std::map<std::string, std::unique_ptr<Data>> cache;
        auto& d = cache[GetParam()];
        if (!d) d = std::make_unique<Data>(GetParam());
        return *d;
    }
};

// The units of a file, checked the same way wherever they come from.
void checkUnits(const Data& d, const std::vector<UnitLine>& units, const std::string& where) {
    for (const UnitLine& u : units) {
        SCOPED_TRACE(where + ": " + u.name);
        EXPECT_LE(u.name.size(), 30u);
        EXPECT_TRUE(u.side == 1 || u.side == 2);
        EXPECT_GE(u.minDifficulty, 1);
        EXPECT_LE(u.minDifficulty, 8);
        EXPECT_GE(u.picture, u.side == 1 ? 1 : 9) << "Raiders wear looks 1..8, Operatives 9..16";
        EXPECT_LE(u.picture, u.side == 1 ? 8 : 16);
        for (int item : u.items) EXPECT_LE(item, static_cast<int>(d.text.equipment.size()));
        EXPECT_GT(u.items[0], 0) << "everyone starts with something in hand";
        EXPECT_GT(u.targetSize, 10);
        if (u.side == 2) {
            EXPECT_TRUE(d.floor(u.x, u.y)) << "posted on (" << u.x << ", " << u.y << ")";
        }
        // About eight to twelve squares of walking a turn.
        int load = 1;
        for (int item : u.items)
            if (item > 0) load += d.text.equipment[item - 1].weight;
        const int ap = u.baseAP - u.fatigue + u.strength - load / 5;
        EXPECT_EQ(u.ap, ap) << "the first turn starts with a normal turn's points";
        EXPECT_GE(ap, 16);
        EXPECT_LE(ap, 24);
    }
}

} // namespace

INSTANTIATE_TEST_SUITE_P(BothScenarios, Scenario, ::testing::Values("korvath", "vexlar"));

TEST_P(Scenario, LoadsWithTheGameAtEveryDifficulty) {
    size_t previous = 0;
    for (int difficulty = 1; difficulty <= 8; ++difficulty) {
        SCOPED_TRACE(difficulty);
        auto b = std::make_unique<Battle>();
        HeadlessPorts ports;
        ports.attach(*b);
        b->AppDir = kGame.string();
        chooseScenario(*b, data().id, difficulty);
        ASSERT_NO_THROW(createBattle(*b));
        size_t pieces = 0, raiders = 0;
        for (int i = 1; i <= kMaxPieces && !b->Pieces[i].Name.empty(); ++i) {
            ++pieces;
            if (b->Pieces[i].Side == 1) ++raiders;
        }
        EXPECT_EQ(raiders, 8u);
        EXPECT_GT(pieces, previous) << "each step of difficulty brings more Operatives";
        previous = pieces;
        EXPECT_EQ(b->waveNames.size(), 16u);
    }
}

TEST_P(Scenario, MapIsClosedAndEveryStarAndTheObjectiveCanBeReached) {
    const Data& d = data();
    for (int x = 1; x <= 80; ++x) EXPECT_TRUE(d.solidity(x, 1) == 4 && d.solidity(x, 50) == 4) << x;
    for (int y = 1; y <= 50; ++y) EXPECT_TRUE(d.solidity(1, y) == 4 && d.solidity(80, y) == 4) << y;

    const auto stars = d.stars();
    ASSERT_GE(stars.size(), 8u) << "a star for every Raider";
    const auto reach = d.reachableFrom(stars.front());
    for (Square s : stars) EXPECT_TRUE(reach[s.x][s.y]) << s.x << ", " << s.y;
    EXPECT_TRUE(d.floor(d.objective.x, d.objective.y));
    EXPECT_TRUE(reach[d.objective.x][d.objective.y]);
    for (const UnitLine& u : d.text.units)
        if (u.side == 2) {
            EXPECT_TRUE(reach[u.x][u.y]) << u.name << " stands where nobody can reach";
        }
}

TEST_P(Scenario, OneVictoryTileBehindFieldsOrAirlocksNearTheObjective) {
    const Data& d = data();
    std::vector<Square> victory;
    std::set<int> events;
    for (int x = 1; x <= 80; ++x)
        for (int y = 1; y <= 50; ++y) {
            const std::string& a = d.action[d.glyph[x][y]];
            if (a == "Victory!") victory.push_back({x, y});
            if (a.rfind("event", 0) == 0) events.insert(d.glyph[x][y]);
        }
    ASSERT_EQ(victory.size(), 1u);
    const Square v = victory[0];
    EXPECT_GE(solidityOfGlyph(d.glyph[v.x][v.y]), 2);
    EXPECT_LE(std::abs(v.x - d.objective.x) + std::abs(v.y - d.objective.y), 15);
    // Walking from the landing zone without passing an airlock, nobody gets
    // next to the core: airlocks or force fields stand in the way.
    const auto open = d.reachableFrom(d.stars().front(), false);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            EXPECT_FALSE(open[v.x + dx][v.y + dy])
                << "open way to the core at " << v.x + dx << ", " << v.y + dy;
    EXPECT_FALSE(events.empty()) << "an objective whose destruction runs an event";
}

TEST_P(Scenario, GlyphActionsPointAtRealThings) {
    const Data& d = data();
    const int items = static_cast<int>(d.text.equipment.size());
    for (int g = 1; g <= 156; ++g) {
        SCOPED_TRACE(g);
        const std::string& a = d.action[g];
        if (a.rfind("item", 0) == 0) {
            const int n = std::atoi(a.substr(a.find('_') + 1).c_str());
            EXPECT_TRUE(n >= 1 && n <= items && d.text.equipment[n - 1].name != "Unarmed");
            EXPECT_EQ(solidityOfGlyph(g), 0) << "items lie on open floor";
        } else if (a.rfind("replace", 0) == 0) {
            ASSERT_EQ(a.size(), 11u);
            const int n = std::atoi(a.substr(8).c_str());
            EXPECT_TRUE(n >= 1 && n <= 156);
        } else if (a.rfind("event", 0) == 0) {
            EXPECT_TRUE(fs::exists(Data::file(d.name + a + ".txt")));
            EXPECT_GE(solidityOfGlyph(g), 2) << "a shot must be able to hit it";
        } else if (a == "access") {
            EXPECT_EQ(solidityOfGlyph(g), 3);
        } else if (a == "Victory!") {
            EXPECT_TRUE(g >= 66 && g <= 104);
        } else {
            EXPECT_EQ(a, "") << "unknown action";
        }
    }
    // Burning floor dies down to plain floor within three turns.
    for (int g : {92, 93, 94}) {
        int at = g, turns = 0;
        while (at != 131 && turns < 5) at = std::atoi(d.action[at].substr(8).c_str()), ++turns;
        EXPECT_EQ(at, 131);
        EXPECT_LE(turns, 3);
    }
    // Fields belong to their generators.
    EXPECT_EQ(solidityOfGlyph(28), 4);
    EXPECT_EQ(solidityOfGlyph(46), 4);
}

TEST_P(Scenario, OpenFloorIsBlackWhereSoldiersStand) {
    const Data& d = data();
    const auto sheet = decodeBmp(
        "tiles",
        readFile((kGame / "graphics" / (d.name == "korvath" ? "blocks.bmp" : "Vexlar_blocks.bmp"))
                     .string()));
    ASSERT_EQ(sheet.width(), 520);
    ASSERT_EQ(sheet.height(), 480);
    for (int g = 105; g <= 154; ++g) {
        if (d.action[g].rfind("item", 0) == 0) continue;
        const int left = ((g - 1) % 13) * 40 + 4, top = ((g - 1) / 13) * 40 + 4;
        int lit = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) lit += sheet.pixel(left + x, top + y) != 0;
        EXPECT_EQ(lit, 0) << "glyph " << g;
    }
    // Walls and strong objects stop a shot somewhere in every row and column.
    for (int g : {1, 16, 46, 47, 66, 67, 78}) {
        const int left = ((g - 1) % 13) * 40 + 4, top = ((g - 1) / 13) * 40 + 4;
        for (int i = 0; i < 32; ++i) {
            bool row = false, column = false;
            for (int j = 0; j < 32; ++j) {
                row = row || sheet.pixel(left + j, top + i) != 0;
                column = column || sheet.pixel(left + i, top + j) != 0;
            }
            EXPECT_TRUE(g == 46   ? row
                        : g == 47 ? column
                                  : row && column)
                << "glyph " << g << " line " << i;
        }
    }
}

// The floor art the screen shows where the terrain is black covers the whole
// field, is never black itself (that would be no floor) and stays dark, with
// few bright spots, so that soldiers, target discs and traces stand out.
TEST_P(Scenario, FloorArtCoversTheFieldAndStaysDark) {
    const Raster art = readBmp((kGame / "graphics" / (data().name + "Floors.bmp")).string());
    ASSERT_EQ(art.width(), 2560);
    ASSERT_EQ(art.height(), 1600);
    long black = 0, bright = 0;
    double sum = 0;
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x) {
            const Rgb c = art.pixel(x, y);
            const double light = 0.3 * (c >> 16) + 0.59 * ((c >> 8) & 255) + 0.11 * (c & 255);
            black += c == 0;
            bright += light > 100;
            sum += light;
        }
    const long all = 2560L * 1600;
    EXPECT_EQ(black, 0);
    EXPECT_GT(sum / all, 12);
    EXPECT_LT(sum / all, 45);
    EXPECT_LT(bright, all / 200);
}

TEST_P(Scenario, EquipmentCoversEveryRoleAndEveryGunHasAmmunition) {
    const Data& d = data();
    const auto& eq = d.text.equipment;
    ASSERT_LE(eq.size(), 30u);
    EXPECT_GT(d.equipmentIndex("Unarmed"), 0);
    std::set<std::string> effects;
    bool dotted = false, melee = false;
    for (const EquipmentLine& e : eq) {
        SCOPED_TRACE(e.name);
        EXPECT_LE(e.name.size(), 20u);
        int n = 0, m = 0;
        EXPECT_EQ(std::sscanf(e.damageDice.c_str(), "%dd%d", &n, &m), 2);
        EXPECT_TRUE(e.heldFrame >= 1 && e.heldFrame <= 7);
        int colour = 0;
        EXPECT_TRUE(parseInt(e.traceColour, colour));
        effects.insert(e.effect);
        melee = melee || (e.kind == "Weapon" && e.name != "Unarmed");
        if (e.kind == "Firearm") {
            dotted = dotted || e.ammoType == 7;
            bool fits = false;
            for (const EquipmentLine& a : eq)
                fits = fits || (a.kind == "Ammo" && a.value == std::to_string(e.ammoType));
            EXPECT_TRUE(fits) << "no magazine for calibre " << e.ammoType;
            EXPECT_GE(e.capacity, 1);
            EXPECT_LE(e.quickAP, e.aimedAP);
            EXPECT_TRUE(e.quickAP >= 5 && e.quickAP <= 9) << "two or three shots a turn";
        } else {
            EXPECT_TRUE(e.kind == "Weapon" || e.kind == "Ammo" || e.kind == "Misc") << e.kind;
        }
    }
    EXPECT_TRUE(dotted && melee);
    EXPECT_TRUE(effects.count("Flames") && effects.count("wounds"));

    // The Raiders fill the roles of the squad.
    std::set<std::string> inHand;
    bool healer = false;
    for (const UnitLine& u : d.text.units) {
        if (u.side != 1) continue;
        EXPECT_EQ(u.x, 0) << u.name << " is placed in deployment";
        inHand.insert(eq[u.items[0] - 1].name);
        for (int item : u.items) healer = healer || (item > 0 && eq[item - 1].effect == "wounds");
    }
    EXPECT_TRUE(inHand.count("Rail Cannon") && inHand.count("Flamer") &&
                inHand.count("Pulse Rifle"));
    EXPECT_TRUE(inHand.count("Power Axe") && healer);
}

TEST_P(Scenario, UnitsAndReinforcementsStandOnFloorAndSpreadOverTheDifficulties) {
    const Data& d = data();
    checkUnits(d, d.text.units, "scenario");
    std::set<int> levels;
    std::set<std::pair<int, int>> posts;
    for (const UnitLine& u : d.text.units)
        if (u.side == 2) {
            levels.insert(u.minDifficulty);
            EXPECT_TRUE(posts.insert({u.x, u.y}).second) << "two Operatives on one square";
        }
    EXPECT_EQ(levels.size(), 8u);

    ASSERT_GE(d.text.events.size(), 2u);
    ASSERT_LE(d.text.events.size(), 10u);
    std::set<std::string> names;
    for (const EventLine& e : d.text.events) names.insert(e.name);
    for (int g = 66; g <= 104; ++g)
        if (d.action[g].rfind("event", 0) == 0) names.insert(d.action[g]);
    for (const std::string& n : names) {
        SCOPED_TRACE(n);
        const std::string path = Data::file(d.name + n + ".txt");
        ASSERT_TRUE(fs::exists(path));
        const assets::EventFile ev = parseEventFile(path, readText(path));
        for (const MapChange& c : ev.changes) {
            EXPECT_TRUE(c.x >= 1 && c.x <= 80 && c.y >= 1 && c.y <= 50);
            EXPECT_TRUE(c.glyph >= 1 && c.glyph <= 156);
        }
        checkUnits(d, ev.reinforcements, n);
        std::set<int> arrive;
        for (const UnitLine& u : ev.reinforcements) {
            arrive.insert(u.minDifficulty);
            EXPECT_EQ(posts.count({u.x, u.y}), 0u) << u.name << " lands on an Operative's post";
        }
        EXPECT_GE(arrive.size(), 2u) << "reinforcements at several difficulties";
    }
}

TEST_P(Scenario, TheGameRunsEveryEventFile) {
    const Data& d = data();
    auto b = std::make_unique<Battle>();
    HeadlessPorts ports;
    ports.attach(*b);
    b->AppDir = kGame.string();
    chooseScenario(*b, d.id, 8);
    createBattle(*b);
    std::vector<std::string> names;
    for (const EventLine& e : d.text.events) names.push_back(e.name);
    for (int g = 66; g <= 104; ++g)
        if (d.action[g].rfind("event", 0) == 0) names.push_back(d.action[g]);
    for (const std::string& n : names) {
        int before = 0, after = 0;
        for (int i = 1; i <= kMaxPieces; ++i) before += !b->Pieces[i].Name.empty();
        EXPECT_NO_THROW(RunEventFile(*b, n)) << n;
        for (int i = 1; i <= kMaxPieces; ++i) after += !b->Pieces[i].Name.empty();
        // Until the game plays event files there is nothing to watch.
        if (n == names.front() && after == before) GTEST_SKIP() << "event files are not played yet";
        EXPECT_GT(after, before) << n << " brings reinforcements at difficulty 8";
    }
    EXPECT_TRUE(ports.messages.empty());
}

// ---- the folder as a whole ----

namespace {

Square jpegSize(const fs::path& path) {
    const auto bytes = readFile(path.string());
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const Square s{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    jpeg_destroy_decompress(&info);
    return s;
}

std::map<std::string, std::vector<uint8_t>> folderBytes(const fs::path& root) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] = readFile(e.path().string());
    return files;
}

} // namespace

TEST(GameFolder, PicturesHaveTheSizesTheScreensExpect) {
    const fs::path gfx = kGame / "graphics";
    const auto units = decodeBmp("units", readFile((gfx / "UnitsOriginal.bmp").string()));
    EXPECT_EQ(units.width(), 320);
    EXPECT_EQ(units.height(), 640);
    const auto intro = decodeBmp("intro", readFile((gfx / "KorvathIntroPic.bmp").string()));
    EXPECT_EQ(intro.width(), 480);
    EXPECT_EQ(intro.height(), 340);
    // The briefing is written in black: the slate behind it must be light.
    for (int y = 75; y < 320; y += 7)
        for (int x = 25; x < 450; x += 11)
            EXPECT_GT(intro.pixel(x, y) & 0xFF, 150u) << x << ", " << y;
    for (const char* small : {"korvathSmallMap.jpg", "vexlarSmallMap.jpg"}) {
        const Square s = jpegSize(gfx / small);
        EXPECT_EQ(s.x, 273);
        EXPECT_EQ(s.y, 169);
    }
    const Square front = jpegSize(gfx / "korfront.jpg");
    EXPECT_LE(front.x, 481 - 111);
    EXPECT_LE(front.y, 273 - 56);
    for (const char* cur : {"sword.cur", "aim.cur"}) {
        const auto c = readFile((gfx / cur).string());
        ASSERT_GE(c.size(), 22u);
        EXPECT_EQ(c[2], 2) << cur << " is a cursor file";
    }
}

TEST(GameFolder, HoldsAllSixteenWavesAsSixteenBitSound) {
    const Archive waves = readUstar((kGame / "sound" / "KorvathWavs.dxw").string());
    for (const char* n :
         {"intro", "select", "beep", "prompt", "fire", "flames", "explode", "dead", "dizzy1",
          "dizzy2", "LoadMag", "TurnFinished", "SignOff", "ohmigod", "save", "load"}) {
        const auto it = waves.find(std::string(n) + ".wav");
        ASSERT_NE(it, waves.end()) << n;
        ASSERT_GT(it->second.size(), 44u);
        EXPECT_EQ(std::string(it->second.begin(), it->second.begin() + 4), "RIFF");
        EXPECT_EQ(it->second[34], 16) << n;
    }
    EXPECT_EQ(waves.size(), 16u);
}

TEST(GameFolder, TextFilesEndTheirLinesWithCrLf) {
    std::vector<fs::path> texts{kGame / "readme.txt"};
    for (const auto& e : fs::directory_iterator(kGame / "scenarios"))
        if (e.path().extension() == ".txt") texts.push_back(e.path());
    EXPECT_GE(texts.size(), 15u);
    for (const fs::path& p : texts) {
        const std::string t = readText(p.string());
        ASSERT_FALSE(t.empty()) << p;
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i] == '\n') {
                ASSERT_TRUE(i > 0 && t[i - 1] == '\r') << p << " byte " << i;
            }
        EXPECT_EQ(t.substr(t.size() - 2), "\r\n") << p;
    }
    for (const char* front : {"readme.txt", "scenarios/Korvath.txt", "scenarios/vexlar.txt"})
        for (const std::string& line : splitLines(readText((kGame / front).string())))
            EXPECT_LE(line.size(), 50u) << "the front screen's list box is narrow: " << line;
    EXPECT_TRUE(fs::is_directory(kGame / "savedgames"));
}

TEST(GameFolder, SameSourcesGiveTheSameBytesAndAPreview) {
    const fs::path tmp =
        fs::temp_directory_path() / ("korvath-assets-" + std::to_string(::getpid()));
    fs::remove_all(tmp);
    const std::string exe = KORVATH_ASSETS_EXE;
    const std::string run = exe + " --data " KORVATH_DATA_SOURCE " --out " + (tmp / "a").string() +
                            " --preview " + (tmp / "p").string() + " && " + exe +
                            " --data " KORVATH_DATA_SOURCE " --out " + (tmp / "b").string();
    ASSERT_EQ(std::system(run.c_str()), 0);
    const auto a = folderBytes(tmp / "a");
    EXPECT_EQ(a, folderBytes(tmp / "b"));
    EXPECT_GE(a.size(), 29u);
    for (const char* png :
         {"korvath-map.png", "vexlar-map.png", "korvath-tiles.png", "vexlar-tiles.png"})
        EXPECT_TRUE(fs::exists(tmp / "p" / png)) << png;
    const QImage map(QString::fromStdString((tmp / "p" / "korvath-map.png").string()));
    EXPECT_EQ(map.size(), QSize(2560, 1600));
    fs::remove_all(tmp);
}
