#include "assets/GameFolder.h"

#include "assets/FloorArt.h"
#include "assets/GlyphTable.h"
#include "assets/Icon.h"
#include "assets/Jpeg.h"
#include "assets/MapSource.h"
#include "assets/Pictures.h"
#include "assets/QtRaster.h"
#include "assets/ScenarioText.h"
#include "assets/TextOut.h"
#include "assets/TileSheet.h"
#include "assets/Units.h"
#include "engine/Bmp.h"
#include "engine/Ustar.h"

#ifdef KORVATH_HAVE_SOUND
#include "assets/sound/Sounds.h"
#endif

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace korvath::assets {

namespace {

struct ScenarioFiles {
    const char* name;       // lower-case base name of the scenario files
    const char* blocksFile; // tiles bitmap in graphics/
    const char* frontText;  // front screen text in scenarios/
    const char* title;
};

const ScenarioFiles kScenarios[] = {
    {"korvath", "blocks.bmp", "Korvath.txt", "Korvath Tamberhold"},
    {"vexlar", "Vexlar_blocks.bmp", "vexlar.txt", "Starship Vexlar F-242"},
};

// Everything built from one scenario's sources.
struct Built {
    GlyphTable glyphs;
    QImage tiles;
    TextMap map;
    ScenarioText scenario;
    Raster floors; // the floor art under the open squares
};

Built buildScenario(const fs::path& src) {
    Built b;
    b.glyphs = readGlyphTable((src / "glyphs.txt").string());
    b.tiles = tileSheet(b.glyphs);
    b.map = readTextMap((src / "map.txt").string(), b.glyphs);
    const std::string desc = (src / "desc.txt").string();
    b.scenario = parseScenarioText(desc, readText(desc));
    const std::string floors = (src / "floors.txt").string();
    b.floors = floorArt(planFloors(b.map, b.glyphs, parseFloorStyles(floors, readText(floors))));
    return b;
}

// The battlefield as the screen shows it: the floor art wherever it is black.
QImage withFloors(const QImage& field, const Raster& floors) {
    Raster shown = toRaster(field);
    shown.blitOver(toRaster(field), floors, 0, 0, shown.width(), shown.height(), 0, 0, 0, 0);
    return toImage(shown);
}

std::vector<fs::path> eventSources(const fs::path& src) {
    std::vector<fs::path> files;
    if (fs::is_directory(src / "events"))
        for (const auto& e : fs::directory_iterator(src / "events"))
            if (e.path().extension() == ".txt") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void writeBmp(const fs::path& path, const QImage& image) {
    writeFile(path.string(), encodeBmp(toRaster(image)));
}

} // namespace

void buildGameFolder(const std::string& dataDir, const std::string& outDir) {
    const fs::path data(dataDir), out(outDir);
    fs::create_directories(out / "savedgames");
    const QImage units = unitSheet();
    writeBmp(out / "graphics" / "UnitsOriginal.bmp", units);

    for (const ScenarioFiles& s : kScenarios) {
        const fs::path src = data / s.name;
        const Built b = buildScenario(src);
        const fs::path scen = out / "scenarios";
        writeBmp(out / "graphics" / s.blocksFile, b.tiles);
        writeText((out / "graphics" / fs::path(s.blocksFile).replace_extension(".joins")).string(),
                  wallJoinsText(wallJoinsOf(b.glyphs)));
        writeFile((out / "graphics" / (std::string(s.name) + "Floors.bmp")).string(),
                  encodeBmp(b.floors));
        writeFile((scen / (std::string(s.name) + ".map")).string(), compileMap(b.map));
        writeText((scen / (std::string(s.name) + "GlyphDesc.txt")).string(),
                  glyphDescText(b.glyphs));
        writeText((scen / (std::string(s.name) + "Desc.txt")).string(),
                  readText((src / "desc.txt").string()));
        writeText((scen / s.frontText).string(), readText((src / "front.txt").string()));
        for (const fs::path& e : eventSources(src))
            writeText((scen / (s.name + e.filename().string())).string(), readText(e.string()));
        const QImage field = renderBattlefield(b.map, b.tiles, units, b.scenario, 8);
        writeFile((out / "graphics" / (std::string(s.name) + "SmallMap.jpg")).string(),
                  encodeJpeg(smallMap(field, s.title)));
    }

    writeFile((out / "graphics" / "korfront.jpg").string(), encodeJpeg(frontPicture()));
    writeBmp(out / "graphics" / "KorvathIntroPic.bmp", briefingPicture());
    writeFile((out / "graphics" / "icon.png").string(), encodePng(gameIcon(256)));
    writeText((out / "readme.txt").string(), readText((data / "readme.txt").string()));

#ifdef KORVATH_HAVE_SOUND
    writeFile((out / "sound" / "KorvathWavs.dxw").string(), writeUstar(synthesiseWaves()));
    writeFile((out / "graphics" / "sword.cur").string(), swordCursor());
    writeFile((out / "graphics" / "aim.cur").string(), aimCursor());
#endif
}

void writePreview(const std::string& dataDir, const std::string& previewDir) {
    const fs::path data(dataDir), out(previewDir);
    fs::create_directories(out);
    const QImage units = unitSheet();
    writeFile((out / "UnitsOriginal.png").string(), encodePng(units.scaled(units.size() * 2)));
    for (const ScenarioFiles& s : kScenarios) {
        const Built b = buildScenario(data / s.name);
        const std::string base = s.name;
        writeFile((out / (base + "-tiles.png")).string(),
                  encodePng(b.tiles.scaled(b.tiles.size() * 2)));
        const QImage field = renderBattlefield(b.map, b.tiles, units, b.scenario, 8);
        writeFile((out / (base + "-map.png")).string(), encodePng(field));
        writeFile((out / (base + "-floors.png")).string(), encodePng(withFloors(field, b.floors)));
        writeFile((out / (base + "-small.png")).string(), encodePng(smallMap(field, s.title)));
        writeFile((out / (base + "-briefing.png")).string(),
                  encodePng(briefingWithText(briefingPicture(), b.scenario.briefing)));
    }
    writeFile((out / "korfront.png").string(), encodePng(frontPicture()));
    writeFile((out / "briefing.png").string(), encodePng(briefingPicture()));
}

} // namespace korvath::assets
