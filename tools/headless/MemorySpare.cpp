#include "MemorySpare.h"

#include <cstddef>
#include <memory>
#include <utility>

namespace korvath {

namespace {

constexpr std::size_t kSpareBytes = 8u << 20;

// The new-handler is the only hook there is and has no object to ask: hence
// these statics.
std::unique_ptr<char[]>& spareMemory() {
    static std::unique_ptr<char[]> spare;
    return spare;
}

bool& ranOnTheSpare() {
    static bool ran = false;
    return ran;
}

void giveBackTheSpare() {
    if (!spareMemory()) throw std::bad_alloc();
    spareMemory().reset();
    ranOnTheSpare() = true;
}

} // namespace

MemorySpare::MemorySpare() {
    if (!spareMemory()) spareMemory().reset(new (std::nothrow) char[kSpareBytes]);
    ranOnTheSpare() = false;
    before_ = std::set_new_handler(giveBackTheSpare);
}

MemorySpare::~MemorySpare() {
    std::set_new_handler(before_);
}

bool MemorySpare::ranShort() {
    return std::exchange(ranOnTheSpare(), false);
}

} // namespace korvath
