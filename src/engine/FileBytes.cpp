#include "FileBytes.h"

#include "DataError.h"

#include <fstream>
#include <iterator>

namespace korvath {

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(path, 0, "cannot open the file");
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    if (in.bad()) throw DataError(path, 0, "cannot read the file");
    return bytes;
}

} // namespace korvath
