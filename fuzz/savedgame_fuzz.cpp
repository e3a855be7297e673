// Saved-game sets loaded through the Load menu into a running battle (the
// korvath quick-start squad deployed at difficulty 8). The input holds the
// three files as parts "==> txt <==", "==> dat <==" and "==> map <=="; a part
// left out is a missing file. A damaged set must be refused with a message and
// leave the battle as it was; nothing may crash, hang or read out of bounds,
// also not when the player then looks at the soldiers and arms a shot.
#include "FuzzSupport.h"
#include "game/commands/SaveLoad.h"
#include "game/files/SavedGame.h"

#include <cstdint>
#include <filesystem>

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
    auto parts = fuzz::splitParts({reinterpret_cast<const char*>(data), size});
    const auto names =
        savedGameFiles((fuzz::gameFolder() / "savedgames" / "Fuzz").string(), "korvath");
    const char* partNames[] = {"txt", "dat", "map"};
    for (int i = 0; i < 3; ++i) {
        std::error_code ec;
        std::filesystem::remove(names[i], ec);
        if (const auto it = parts.find(partNames[i]); it != parts.end())
            fuzz::writeFile(names[i], it->second);
    }
    *work = *base;
    fuzz::resetPorts();
    fuzz::ports().fileAnswers.push_back(names[2]);
    LoadClick(*work);
    const auto& said = fuzz::ports().messages;
    if (!said.empty() && said.back() == "Game has been loaded") fuzz::lookAround(*work);
    return 0;
}
