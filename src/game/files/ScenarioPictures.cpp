#include "game/files/ScenarioPictures.h"

#include "engine/Bmp.h"
#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/Ustar.h"
#include "game/files/ScenarioPaths.h"

#include <ostream>

namespace korvath {

namespace {

// The pictures of a sheet are 32 x 32, laid out 40 pixels apart with a
// 4-pixel margin.
Raster cutPicture(const Raster& sheet, int row, int col) {
    return sheet.copy(col * 40 + 4, row * 40 + 4, kSquare, kSquare);
}

Raster readSheet(const std::string& path, int rows, int cols) {
    Raster sheet = readBmp(path);
    const int w = (cols - 1) * 40 + 4 + kSquare, h = (rows - 1) * 40 + 4 + kSquare;
    if (sheet.width() < w || sheet.height() < h)
        throw DataError(path, 0,
                        "the picture is " + std::to_string(sheet.width()) + " x " +
                            std::to_string(sheet.height()) + ", at least " + std::to_string(w) +
                            " x " + std::to_string(h) + " is needed");
    return sheet;
}

} // namespace

TilePictures readTilePictures(const std::string& path) {
    const Raster sheet = readSheet(path, 12, 13);
    TilePictures tiles;
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 13; ++c) tiles[1 + r * 13 + c] = cutPicture(sheet, r, c);
    return tiles;
}

SoldierPictures readSoldierPictures(const std::string& path) {
    const Raster sheet = readSheet(path, kPictureRows, kPictureFrames);
    SoldierPictures units;
    for (int r = 0; r < kPictureRows; ++r)
        for (int c = 0; c < kPictureFrames; ++c) units[r + 1][c + 1] = cutPicture(sheet, r, c);
    return units;
}

std::set<std::string> readWaveNames(const std::string& path) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : readUstar(path)) {
        (void)bytes;
        const std::string base = name.substr(name.find_last_of('/') + 1);
        if (base.size() > 4 && base.ends_with(".wav"))
            names.insert(base.substr(0, base.size() - 4));
    }
    return names;
}

void requireCursor(const std::string& path) {
    if (!fileExists(path)) throw DataError(path, 0, "cannot open the file");
}

Raster readFloorArt(const BattleState& b, std::ostream& warnings) {
    const std::string path = ownGraphicsFilePath(b, b.ScenarioName + "Floors.bmp");
    if (path.empty() || !fileExists(path)) return {};
    try {
        Raster art = readBmp(path);
        if (art.width() != kMapPixelsX || art.height() != kMapPixelsY)
            throw DataError(path, 0,
                            "the picture is " + std::to_string(art.width()) + " x " +
                                std::to_string(art.height()) + ", not " +
                                std::to_string(kMapPixelsX) + " x " + std::to_string(kMapPixelsY));
        return art;
    } catch (const DataError& e) {
        warnings << "korvath: " << e.what() << "; the floors are black\n";
        return {};
    }
}

} // namespace korvath
