// korvath-headless scripts, run by the script driver on the fuzz game folder.
// A bad command must end in a script error (status 2); nothing may crash,
// hang or read out of bounds. The script is trimmed first (ScriptInput.h).
#include "ScriptInput.h"

#include <cstdint>

using namespace korvath;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startedBattle("korvath 3");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto s = fuzz::trimmedScript({reinterpret_cast<const char*>(data), size});
    fuzz::playScript(s, s.text);
    return 0;
}
