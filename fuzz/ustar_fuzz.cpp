// ustar archives (the wave collection): no input may crash the reader or read
// past its end, and what it reads is written and read back unchanged.
#include "engine/DataError.h"
#include "engine/Ustar.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvath;
    const std::vector<uint8_t> bytes(data, data + size);
    Archive archive;
    try {
        archive = parseUstar("fuzz.dxw", bytes);
    } catch (const DataError&) {
        return 0;
    }
    // The writer keeps names of 1..99 characters; a longer one is cut.
    for (const auto& [name, contents] : archive)
        if (name.empty() || name.size() > 99) return 0;
    if (parseUstar("again.dxw", writeUstar(archive)) != archive) abort();
    return 0;
}
