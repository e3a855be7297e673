// Bitmap files: no input may crash the decoder or read past its end, and a
// picture that decodes is written and read back unchanged.
#include "engine/Bmp.h"
#include "engine/DataError.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvath;
    const std::vector<uint8_t> bytes(data, data + size);
    Raster image;
    try {
        image = decodeBmp("fuzz.bmp", bytes);
    } catch (const DataError&) {
        return 0;
    }
    if (image.empty()) abort();
    if (!(decodeBmp("again.bmp", encodeBmp(image)) == image)) abort();
    return 0;
}
