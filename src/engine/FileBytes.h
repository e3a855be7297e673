#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// The whole of a file, byte for byte. Throws DataError naming the file when
// it cannot be opened or read to its end.
std::vector<uint8_t> readFileBytes(const std::string& path);

} // namespace korvath
