// Replays (File, Save replay), read as the window reads them (readReplay) and,
// when that takes them, played by the script driver as korvath-headless FILE
// plays them: its saves in a folder of its own. A bad line must be refused
// naming the file and line; nothing may crash, hang or read out of bounds.
// The replay is trimmed as the scripts are (ScriptInput.h).
#include "ScriptInput.h"
#include "engine/DataError.h"
#include "game/commands/Playback.h"

#include <cstdint>
#include <sstream>

using namespace korvath;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startedBattle("korvath 3");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto s = fuzz::trimmedScript({reinterpret_cast<const char*>(data), size});
    std::istringstream whole(s.withStart);
    try {
        readReplay(whole, "fuzz.kvs");
    } catch (const DataError&) {
        return 0;
    }
    fuzz::playScript(s, "replay 1\n" + s.text);
    return 0;
}
