#pragma once
#include <cstddef>

// This test program's allocations are counted, and may be limited to a
// budget beyond what is in use now, as an address-space limit would: past
// it, an allocation fails (the new-handler is asked first, as always).
namespace korvath::test {

void limitMemory(size_t moreBytes);
void unlimitMemory();

} // namespace korvath::test
