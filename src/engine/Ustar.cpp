#include "Ustar.h"

#include "DataError.h"
#include "FileBytes.h"

#include <cstring>

namespace korvath {

namespace {

constexpr size_t kBlock = 512;

uint64_t octal(const uint8_t* p, size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n && p[i] >= '0' && p[i] <= '7'; ++i) v = v * 8 + (p[i] - '0');
    return v;
}

void putOctal(uint8_t* p, size_t n, uint64_t v) {
    // n-1 digits and a terminating NUL.
    for (size_t i = n - 1; i-- > 0;) {
        p[i] = static_cast<uint8_t>('0' + (v & 7));
        v >>= 3;
    }
    p[n - 1] = 0;
}

} // namespace

Archive parseUstar(const std::string& name, const std::vector<uint8_t>& bytes) {
    Archive out;
    size_t pos = 0;
    while (pos + kBlock <= bytes.size()) {
        const uint8_t* h = &bytes[pos];
        if (h[0] == 0) break; // end-of-archive blocks
        unsigned sum = 0;
        for (size_t i = 0; i < kBlock; ++i) sum += (i >= 148 && i < 156) ? ' ' : h[i];
        if (sum != octal(h + 148, 8)) throw DataError(name, 0, "damaged archive header");
        std::string file(reinterpret_cast<const char*>(h),
                         strnlen(reinterpret_cast<const char*>(h), 100));
        if (std::memcmp(h + 257, "ustar", 5) == 0 && h[345]) {
            std::string prefix(reinterpret_cast<const char*>(h + 345),
                               strnlen(reinterpret_cast<const char*>(h + 345), 155));
            file = prefix + "/" + file;
        }
        const uint64_t size = octal(h + 124, 12);
        pos += kBlock;
        if (size > bytes.size() - pos)
            throw DataError(name, 0, "archive entry " + file + " is cut short");
        if (h[156] == '0' || h[156] == 0)
            out[file].assign(bytes.begin() + pos, bytes.begin() + pos + size);
        pos += (size + kBlock - 1) / kBlock * kBlock;
    }
    return out;
}

Archive readUstar(const std::string& path) {
    return parseUstar(path, readFileBytes(path));
}

std::vector<uint8_t> writeUstar(const Archive& files) {
    std::vector<uint8_t> out;
    for (const auto& [name, data] : files) {
        uint8_t h[kBlock] = {};
        std::memcpy(h, name.data(), std::min<size_t>(name.size(), 99));
        putOctal(h + 100, 8, 0644);
        putOctal(h + 108, 8, 0);
        putOctal(h + 116, 8, 0);
        putOctal(h + 124, 12, data.size());
        putOctal(h + 136, 12, 0); // fixed time keeps the output reproducible
        h[156] = '0';
        std::memcpy(h + 257, "ustar", 6);
        h[263] = '0';
        h[264] = '0';
        std::memset(h + 148, ' ', 8);
        unsigned sum = 0;
        for (uint8_t b : h) sum += b;
        putOctal(h + 148, 7, sum);
        h[155] = ' ';
        out.insert(out.end(), h, h + kBlock);
        out.insert(out.end(), data.begin(), data.end());
        out.resize((out.size() + kBlock - 1) / kBlock * kBlock, 0);
    }
    out.resize(out.size() + 2 * kBlock, 0);
    return out;
}

} // namespace korvath
