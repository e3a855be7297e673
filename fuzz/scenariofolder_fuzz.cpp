// A player's scenario folder: its manifest and the files it names, read as
// the front screen starts the battle and as the editor opens and checks it.
// Each part of the input ("==> scenario.txt <==", "==> NAMEDesc.txt <==" …) is
// a file of the folder under that name; a name that is not a plain file name
// is not written (the input can never write outside the folder). Bad data
// must end in a DataError; nothing may crash, hang or read out of bounds,
// and nothing outside the folder may be read or written.
#include "FuzzSupport.h"
#include "engine/DataError.h"
#include "game/commands/Scenario.h"
#include "game/files/Briefing.h"
#include "game/editor/Check.h"
#include "game/editor/ScenarioDocument.h"
#include "game/files/ScenarioFolders.h"

using namespace korvath;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto folder = fuzz::gameFolder() / "players" / "fuzzed";
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : fuzz::splitParts({reinterpret_cast<const char*>(data), size}))
        if (isPlainFileName(name)) fuzz::writeFile(folder / name, bytes);

    fuzz::resetPorts();
    auto b = std::make_unique<Battle>();
    b->AppDir = fuzz::gameFolder().string();
    fuzz::ports().attach(*b);
    try {
        const FoundScenario s = readScenarioFolder(folder.string());
        chooseScenario(*b, s.manifest, s.folder, 8);
        createBattle(*b);
        showBattle(*b);
        activateBattle(*b);
        briefingLines(*b);
        briefingPicturePath(*b);
    } catch (const DataError&) {
    }
    try {
        const ScenarioDocument d = ScenarioDocument::openFolder(b->AppDir, folder.string());
        std::vector<CheckFinding> found;
        checkTables(d.content(), found);
        for (const std::string& name : eventNames(d.content())) d.event(name);
    } catch (const DataError&) {
    }
    return 0;
}
