#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korvath {

// A POSIX ustar archive held in memory: file name -> bytes. The game's wave
// collection is one of these.
using Archive = std::map<std::string, std::vector<uint8_t>>;

// Throws DataError naming path when the archive is missing or damaged.
Archive readUstar(const std::string& path);
Archive parseUstar(const std::string& name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> writeUstar(const Archive& files);

} // namespace korvath
