// Event files (map changes and reinforcements) read and run in a battle:
// the korvath quick-start squad deployed at difficulty 8. Bad lines end in a
// message to the player; nothing may crash, hang or read out of bounds, also
// not when the player then looks at the soldiers and arms a shot.
#include "FuzzSupport.h"
#include "game/combat/Events.h"
#include "game/files/EventFiles.h"

#include <cstdint>

using namespace korvath;

namespace {
std::unique_ptr<Battle> base, work;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    base = fuzz::deployedBattle();
    work = std::make_unique<Battle>(*base);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::writeFile(fuzz::gameFolder() / "scenarios" / "korvathFuzz.txt",
                    {reinterpret_cast<const char*>(data), size});
    *work = *base;
    fuzz::resetPorts();
    work->eventFiles["Fuzz"] = readEventFile(eventFilePath(*work, "Fuzz"));
    RunEventFile(*work, "Fuzz");
    fuzz::lookAround(*work);
    return 0;
}
