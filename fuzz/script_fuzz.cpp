// korvath-headless scripts, run by the script driver on the fuzz game folder.
// A bad command must end in a script error (status 2); nothing may crash,
// hang or read out of bounds. The script is trimmed first (ScriptInput.h).
#include "FuzzSupport.h"
#include "Script.h"
#include "ScriptInput.h"

#include <cstdint>
#include <ostream>
#include <sstream>

using namespace korvath;

namespace {
std::ostream discard(nullptr);
std::unique_ptr<ScriptRunner> runner;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    runner = std::make_unique<ScriptRunner>(fuzz::gameFolder().string(), discard, discard);
    fuzz::startedBattle("korvath 3");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto s = fuzz::trimmedScript({reinterpret_cast<const char*>(data), size});
    // The same runner each time (its pictures' memory is reused), as new.
    runner->adopt(fuzz::startedBattle(s.start));
    std::istringstream script(s.text);
    runner->run(script, "fuzz.kvs");
    if (s.saves) fuzz::resetGameFolder();
    return 0;
}
