#pragma once
#include <QImage>

#include <cstdint>
#include <vector>

namespace korvath::assets {

// A baseline JPEG of the picture, written with libjpeg; same picture, same bytes.
std::vector<uint8_t> encodeJpeg(const QImage& image, int quality = 90);

} // namespace korvath::assets
