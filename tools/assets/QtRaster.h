#pragma once
#include "engine/Raster.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::assets {

// A black RGB32 picture ready for drawing.
QImage blankImage(int width, int height, QColor fill = Qt::black);

// QPainter with the settings every picture of the game is drawn with.
void prepare(QPainter& p, bool antialias = true);

// Pixels of a QImage as the game's 0x00RRGGBB raster and back.
Raster toRaster(const QImage& image);
QImage toImage(const Raster& raster);

std::vector<uint8_t> encodePng(const QImage& image);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);

} // namespace korvath::assets
