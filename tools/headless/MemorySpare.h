#pragma once
// Memory held back for the way out of an allocation failure while a script
// runs. The battle's JSON takes itself apart with allocations of its own, in
// destructors, where a failure ends the program, and the first failure may
// well come in one of them. So the first failure gives the spare back and lets
// the allocation be tried again: the command goes on out of the spare, and
// once it is over the script stops with the error told like any other. Only a
// failure with the spare gone unwinds at once.

#include <new>

namespace korvath {

// While one lives, a failed allocation gives back the spare.
class MemorySpare {
  public:
    MemorySpare();
    ~MemorySpare();
    MemorySpare(const MemorySpare&) = delete;
    MemorySpare& operator=(const MemorySpare&) = delete;

    // Whether the last command ran on the spare; asking forgets it.
    static bool ranShort();

  private:
    std::new_handler before_;
};

} // namespace korvath
