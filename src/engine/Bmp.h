#pragma once
#include "Raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// Windows bitmap files: uncompressed 24- and 32-bit, and 8-bit with a palette.
// Throws DataError naming the file when it is missing or not such a bitmap.
Raster readBmp(const std::string& path);
Raster decodeBmp(const std::string& name, const std::vector<uint8_t>& bytes);
// Writes a 24-bit bottom-up bitmap.
std::vector<uint8_t> encodeBmp(const Raster& image);

} // namespace korvath
