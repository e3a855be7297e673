// Without libFuzzer: feeds each file named on the command line, or each file
// of each folder named (in name order, hidden files skipped, subfolders not
// entered), to the fuzz target once. Used by the tests to replay the seed
// corpora and the past crashes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        if (fs::is_directory(arg)) {
            std::vector<fs::path> files;
            for (const auto& e : fs::directory_iterator(arg))
                if (e.is_regular_file() && e.path().filename().string()[0] != '.')
                    files.push_back(e.path());
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (fs::is_regular_file(arg)) {
            inputs.push_back(arg);
        } else {
            std::cerr << "no such file or folder: " << arg.string() << "\n";
            return 1;
        }
    }
    for (const auto& path : inputs) {
        std::cerr << "replaying " << path.string() << "\n";
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
        // A copy of exactly the input's size, so that a read past its end is caught
        // by a sanitized build as it would be under libFuzzer.
        auto* data = new uint8_t[bytes.size()];
        std::copy(bytes.begin(), bytes.end(), data);
        LLVMFuzzerTestOneInput(data, bytes.size());
        delete[] data;
    }
    std::cerr << inputs.size() << " inputs replayed\n";
    return 0;
}
