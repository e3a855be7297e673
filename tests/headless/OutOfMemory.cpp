#include "OutOfMemory.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> budget{SIZE_MAX};

} // namespace

namespace korvath::test {

void limitMemory(size_t moreBytes) {
    budget = inUse + moreBytes;
}

void unlimitMemory() {
    budget = SIZE_MAX;
}

} // namespace korvath::test

void* operator new(size_t n) {
    for (;;) {
        if (inUse + n <= budget)
            if (void* p = std::malloc(n ? n : 1)) {
                inUse += malloc_usable_size(p);
                return p;
            }
        const std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void operator delete(void* p) noexcept {
    if (!p) return;
    inUse -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}
