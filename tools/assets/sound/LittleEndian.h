#pragma once
#include <cstdint>
#include <vector>

namespace korvath::assets {

// Little-endian numbers, as wave and cursor files store them.
inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xff));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

} // namespace korvath::assets
