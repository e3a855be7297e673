// Replays (File, Save replay), read as the window reads them (readReplay) and,
// when that takes them, played by the script driver as korvath-headless FILE
// plays them: its saves in a folder of its own. A bad line must be refused
// naming the file and line; nothing may crash, hang or read out of bounds.
// The replay is trimmed as the scripts are (ScriptInput.h).
#include "FuzzSupport.h"
#include "Script.h"
#include "ScriptInput.h"
#include "engine/DataError.h"
#include "game/commands/Playback.h"

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
    std::istringstream whole(s.withStart);
    try {
        readReplay(whole, "fuzz.kvs");
    } catch (const DataError&) {
        return 0;
    }
    runner->adopt(fuzz::startedBattle(s.start));
    std::istringstream replay("replay 1\n" + s.text);
    runner->run(replay, "fuzz.kvs");
    if (s.saves) fuzz::resetGameFolder();
    return 0;
}
