#pragma once
#include "game/state/Fields.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// Records in the files' byte layouts, as the field tables place them: whole
// numbers signed 32-bit little-endian, bytes and flags in one byte, text as a
// length byte followed by its characters.
namespace korvath {

inline void put32(uint8_t* p, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}
inline int32_t get32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// Writes record r into bytes (already sized and zeroed).
template <typename R>
void encodeRecord(const std::vector<Field<R>>& fields, const R& r, uint8_t* bytes) {
    for (const Field<R>& f : fields) {
        if (f.savedOffset < 0) continue;
        uint8_t* at = bytes + f.savedOffset;
        if (f.kind == FieldKind::Text) {
            const std::string& t = f.text(r);
            const size_t n = std::min(t.size(), f.maxLength);
            at[0] = static_cast<uint8_t>(n);
            std::memcpy(at + 1, t.data(), n);
        } else if (f.kind == FieldKind::Number) {
            put32(at, f.get(r));
        } else {
            at[0] = static_cast<uint8_t>(f.get(r));
        }
    }
}

// Reads a record from bytes; a text longer than its field holds is cut.
template <typename R> R decodeRecord(const std::vector<Field<R>>& fields, const uint8_t* bytes) {
    R r;
    for (const Field<R>& f : fields) {
        if (f.savedOffset < 0) continue;
        const uint8_t* at = bytes + f.savedOffset;
        if (f.kind == FieldKind::Text)
            f.setText(r, std::string(reinterpret_cast<const char*>(at + 1),
                                     std::min<size_t>(at[0], f.maxLength)));
        else if (f.kind == FieldKind::Number)
            f.set(r, get32(at));
        else
            f.set(r, at[0]);
    }
    return r;
}

} // namespace korvath
