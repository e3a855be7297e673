#include "TestData.h"

#include "engine/Bmp.h"
#include "engine/Raster.h"
#include "engine/Ustar.h"
#include "game/files/ScenarioFiles.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace korvath::test {

namespace {

void writeBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void writeLines(const fs::path& p, const std::vector<std::string>& lines) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
}

} // namespace

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

uint32_t tileColour(int glyph) {
    // Open floor is black, as in the game's own tiles: shots and discs rely on it.
    if (glyph >= 105 && glyph < kStartStarGlyph) return 0;
    return rgb(glyph, 255 - glyph, (glyph * 7) & 255);
}

TestScenario::TestScenario() {
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            glyph[x][y] = (x == 1 || y == 1 || x == kMapWidth || y == kMapHeight) ? 1 : kFloorGlyph;
    glyph[10][10] = glyph[11][10] = kStartStarGlyph;
    for (int k = 1; k <= kLastTileGlyph; ++k)
        glyphLines.push_back(std::to_string(k) + "\tTile " + std::to_string(k) + "\t");
    glyphLines[kFloorGlyph - 1] = "131\tFloor\t";
    briefing = {"Take the fortress.", "Mind the guns."};
    units = {unit("Raider One", 1, 0, 0), unit("Raider Two", 1, 0, 0), unit("Guard One", 2, 40, 20),
             unit("Guard Two", 2, 41, 20)};
    equipment = {
        "Laser Rifle\t1\tFirearm\t2\t2d6\t6\t3\t20\t10\t1\tnone\t0\t-\t255",
        "Blade\t0\tWeapon\t1\t1d8\t0\t2\t1\t0\t2\tnone\t0\t-\t0",
    };
    events = {"3\tReinforce"};
}

std::string TestScenario::unit(const std::string& name, int side, int x, int y, int minDifficulty,
                               const std::string& items, int wounds) {
    // Name Side X Y MinDifficulty Picture AP BaseAP Attack Shoot Strength
    // Toughness Wounds Endurance Fatigue Cool Items1..6 TargetSize
    return name + "\t" + std::to_string(side) + "\t" + std::to_string(x) + "\t" +
           std::to_string(y) + "\t" + std::to_string(minDifficulty) + "\t" +
           std::to_string(side == 1 ? 1 : 9) + "\t20\t20\t40\t50\t4\t5\t" + std::to_string(wounds) +
           "\t30\t1\t60\t" + items + "\t18";
}

void TestScenario::write(const fs::path& dir) const {
    Archive waves;
    for (const char* w : {"intro", "select", "beep", "prompt", "save", "load"})
        waves[std::string(w) + ".wav"] = {'R', 'I', 'F', 'F'};
    writeBytes(dir / "sound" / "KorvathWavs.dxw", writeUstar(waves));
    writeBytes(dir / "graphics" / "sword.cur", {0, 0, 2, 0});
    writeBytes(dir / "graphics" / "aim.cur", {0, 0, 2, 0});

    Raster blocks(13 * 40, 12 * 40);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 13; ++c)
            blocks.fillRect(c * 40 + 4, r * 40 + 4, c * 40 + 36, r * 40 + 36,
                            tileColour(1 + r * 13 + c));
    writeBytes(dir / "graphics" / "blocks.bmp", encodeBmp(blocks));
    writeBytes(dir / "graphics" / "Vexlar_blocks.bmp", encodeBmp(blocks));

    Raster soldiers(8 * 40, 16 * 40);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 8; ++c)
            soldiers.fillRect(c * 40 + 8, r * 40 + 8, c * 40 + 32, r * 40 + 32,
                              rgb(200, r * 15, c * 30));
    writeBytes(dir / "graphics" / "UnitsOriginal.bmp", encodeBmp(soldiers));

    MapSquares map{};
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) map[x][y].Glyph = glyph[x][y];
    auto bytes = encodeMapRecords(map);
    bytes.resize(mapRecords * 8);
    writeBytes(dir / "scenarios" / "korvath.map", bytes);
    writeBytes(dir / "scenarios" / "vexlar.map", bytes);

    writeLines(dir / "scenarios" / "korvathGlyphDesc.txt", glyphLines);
    writeLines(dir / "scenarios" / "vexlarGlyphDesc.txt", glyphLines);

    std::vector<std::string> desc = {"Test scenario", ": Scenario Description"};
    desc.insert(desc.end(), briefing.begin(), briefing.end());
    desc.push_back(": end of scenario description");
    if (withPlayerLine) desc.push_back(": Player 1 = human");
    desc.push_back("Name\tSide\tX\tY\t...");
    desc.insert(desc.end(), units.begin(), units.end());
    desc.push_back("EndPlayer2");
    desc.push_back("");
    desc.push_back("Name\tAmmoType\tKind\t...");
    desc.insert(desc.end(), equipment.begin(), equipment.end());
    desc.push_back(": end of file");
    if (withEvents) {
        desc.push_back(":Events");
        desc.insert(desc.end(), events.begin(), events.end());
        desc.push_back(":End Events");
    }
    writeLines(dir / "scenarios" / "korvathDesc.txt", desc);
    writeLines(dir / "scenarios" / "vexlarDesc.txt", desc);
    for (const auto& [path, lines] : extraFiles) writeLines(dir / path, lines);
    fs::create_directories(dir / "savedgames");
}

std::unique_ptr<Battle> openRealBattle(const fs::path& gameDir, ScenarioId which) {
    if (!fs::exists(gameDir / "scenarios")) return nullptr;
    auto b = std::make_unique<Battle>();
    b->AppDir = gameDir.string();
    chooseScenario(*b, which, 8);
    createBattle(*b);
    showBattle(*b);
    return b;
}

TempDir::TempDir() {
    static std::mt19937 gen(std::random_device{}());
    path = fs::temp_directory_path() / ("korvath-test-" + std::to_string(gen()));
    fs::create_directories(path);
}

LinkedGameFolder::LinkedGameFolder(const fs::path& gameDir) {
    for (const char* part : {"graphics", "scenarios", "sound"})
        fs::create_directory_symlink(gameDir / part, path / part);
    fs::create_directory(path / "savedgames");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

} // namespace korvath::test
