#include "game/editor/ScenarioContent.h"

#include "engine/Bmp.h"
#include "engine/DataError.h"
#include "engine/FileBytes.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"
#include "game/editor/DescText.h"
#include "game/editor/FrontPicture.h"
#include "game/files/ScenarioFolders.h"
#include "game/files/ScenarioPaths.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace korvath {

namespace {

LinedText readLines(const std::string& path) {
    const auto bytes = readFileBytes(path);
    return LinedText::parse({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

// Reads the scenario's files through `at` (a name -> its path), checking them
// as the battle window's loader would.
template <typename At> ScenarioContent readFiles(const ScenarioManifest& m, At at) {
    ScenarioContent c;
    c.manifest = m;
    c.map = readMapFile(at(m.ScenarioName + ".map"));
    const std::string glyphs = at(m.ScenarioName + "GlyphDesc.txt");
    c.glyphDesc = readLines(glyphs);
    std::array<GlyphTexts, kMaxGlyphs + 1> texts{};
    TextFile glyphFile = c.glyphDesc.asFile(glyphs);
    applyGlyphFile(glyphFile, texts);
    const std::string desc = at(m.ScenarioName + "Desc.txt");
    c.desc = readLines(desc);
    DescText d(c.desc, desc);
    d.units();
    d.equipment();
    d.events();
    for (const std::string& name : eventNames(c))
        if (const std::string path = at(m.ScenarioName + name + ".txt"); fileExists(path))
            c.events[name] = readLines(path);
    return c;
}

} // namespace

std::vector<std::string> eventNames(const ScenarioContent& c) {
    std::vector<std::string> names;
    auto add = [&](const std::string& n) {
        if (!n.empty() && std::find(names.begin(), names.end(), n) == names.end())
            names.push_back(n);
    };
    LinedText desc = c.desc;
    try {
        for (const TurnEvents& e : DescText(desc, "desc").events()) add(e.EventName);
    } catch (const DataError&) {
    }
    std::array<GlyphTexts, kMaxGlyphs + 1> texts{};
    TextFile glyphs = c.glyphDesc.asFile("glyphs");
    applyGlyphFile(glyphs, texts);
    for (const GlyphTexts& t : texts)
        if (t.Action.rfind("event", 0) == 0) add(t.Action);
    return names;
}

ScenarioContent readShippedScenario(const std::string& appDir, int index) {
    ScenarioManifest m = shippedScenarios().at(index);
    ScenarioContent c =
        readFiles(m, [&](const std::string& name) { return scenarioFileOf(appDir, {}, name); });
    const std::string front = scenarioFileOf(appDir, {}, m.FrontText);
    if (fileExists(front)) c.frontText = readLines(front);
    // A copy: its own front text, its picture drawn from its map.
    c.manifest.FrontText = kFrontTextFile;
    c.manifest.Picture.clear();
    return c;
}

ScenarioContent readScenarioContent(const std::string& folder) {
    const FoundScenario found = readScenarioFolder(folder);
    ScenarioContent c = readFiles(
        found.manifest, [&](const std::string& name) { return fileInFolder(folder, name); });
    if (!found.manifest.FrontText.empty())
        if (const std::string front = fileInFolder(folder, found.manifest.FrontText);
            fileExists(front))
            c.frontText = readLines(front);
    return c;
}

ScenarioPictures readScenarioPictures(const std::string& appDir, const std::string& folder,
                                      const ScenarioManifest& m) {
    ScenarioPictures p;
    const std::string blocks = graphicsFileOf(appDir, folder, m.BlocksFile);
    const Raster tiles = readBmp(blocks);
    if (tiles.width() < 12 * 40 + 36 || tiles.height() < 11 * 40 + 36)
        throw DataError(blocks, 0, "the picture is too small for 12 rows of 13 tiles");
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 13; ++c)
            p.tiles[1 + r * 13 + c] = tiles.copy(c * 40 + 4, r * 40 + 4, kSquare, kSquare);
    const std::string unitsPath = graphicsFileOf(appDir, folder, m.UnitsFile);
    const Raster units = readBmp(unitsPath);
    if (units.width() < 7 * 40 + 36 || units.height() < 15 * 40 + 36)
        throw DataError(unitsPath, 0, "the picture is too small for 16 rows of 8 soldiers");
    for (int r = 0; r < kPictureRows; ++r)
        for (int c = 0; c < kPictureFrames; ++c)
            p.units[r + 1][c + 1] = units.copy(c * 40 + 4, r * 40 + 4, kSquare, kSquare);

    const std::string joins = fs::path(blocks).replace_extension(".joins").string();
    if (fileExists(matchFileIgnoringCase(joins))) {
        TextFile f = TextFile::load(matchFileIgnoringCase(joins));
        p.joins = readWallJoins(f);
    }
    if (folder.empty()) return p;
    for (const std::string& name : {m.BlocksFile, m.UnitsFile, m.Picture}) {
        if (name.empty() || name == kDrawnPicture) continue;
        if (const std::string path = fileInFolder(folder, name); fileExists(path))
            p.carried[name] = readFileBytes(path);
    }
    if (const std::string intro = fileInFolder(folder, m.ScenarioName + "IntroPic.bmp");
        fileExists(intro))
        p.introPicture = readFileBytes(intro);
    return p;
}

std::vector<FileToWrite> scenarioFiles(const ScenarioContent& c, const ScenarioPictures& p,
                                       const std::string& folder) {
    ScenarioManifest m = c.manifest;
    if (m.FrontText.empty()) m.FrontText = kFrontTextFile;
    const bool drawn =
        m.Picture.empty() || m.Picture == kDrawnPicture || !p.carried.count(m.Picture);
    if (drawn) m.Picture = kDrawnPicture;
    const fs::path dir(folder);
    const std::string& name = m.ScenarioName;
    auto text = [](const LinedText& t) {
        const std::string b = t.bytes();
        return std::vector<uint8_t>(b.begin(), b.end());
    };
    LinedText manifest = LinedText::parse(manifestText(m));
    manifest.crlf = true;

    std::vector<FileToWrite> out;
    auto add = [&](const std::string& file, std::vector<uint8_t> bytes) {
        out.push_back({(dir / file).string(), std::move(bytes)});
    };
    add(name + ".map", encodeMapRecords(c.map));
    add(name + "GlyphDesc.txt", text(c.glyphDesc));
    add(name + "Desc.txt", text(c.desc));
    for (const auto& [event, lines] : c.events) add(name + event + ".txt", text(lines));
    add(m.FrontText, text(c.frontText));
    for (const auto& [file, bytes] : p.carried)
        if (file != kDrawnPicture) add(file, bytes);
    if (!p.introPicture.empty()) add(name + "IntroPic.bmp", p.introPicture);
    if (drawn) {
        LinedText desc = c.desc;
        std::vector<PieceRecord> soldiers;
        try {
            soldiers = DescText(desc, name + "Desc.txt").units();
        } catch (const DataError&) {
        }
        add(kDrawnPicture, encodeBmp(shrink(drawBattlefield(c.map, p.tiles, p.units, soldiers),
                                            kFrontPictureWidth, kFrontPictureHeight)));
    }
    // The manifest last: a folder whose manifest is there holds the rest.
    add(kManifestFile, text(manifest));
    return out;
}

void writeScenario(const ScenarioContent& c, const ScenarioPictures& p, const std::string& folder,
                   const SaveFiles& files) {
    // What is on the disk counts, a save cut short included.
    finishInterruptedSaves(folder, files);
    commitAsWhole({scenarioRecordName(folder), scenarioFiles(c, p, folder), {}}, files);
}

} // namespace korvath
