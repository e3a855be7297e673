// A scenario's own files: the description (units, equipment, events), the
// glyph descriptions and the binary map, loaded as the battle window does.
// The input holds them as parts "==> desc <==", "==> glyphs <==" and
// "==> map <=="; a part left out is the real korvath file. Bad data must end
// in a DataError; nothing may crash, hang or read out of bounds.
#include "FuzzSupport.h"
#include "engine/DataError.h"
#include "game/commands/Scenario.h"
#include "game/files/Briefing.h"
#include "game/files/ScenarioFiles.h"

#include <array>
#include <cstdint>

using namespace korvath;

namespace {

struct File {
    const char* part;
    const char* name;
    std::string real;
};
std::array<File, 3> files = {{{"desc", "korvathDesc.txt", {}},
                              {"glyphs", "korvathGlyphDesc.txt", {}},
                              {"map", "korvath.map", {}}}};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (auto& f : files) f.real = fuzz::readFile(fuzz::gameFolder() / "scenarios" / f.name);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto parts = fuzz::splitParts({reinterpret_cast<const char*>(data), size});
    for (const auto& f : files) {
        const auto it = parts.find(f.part);
        fuzz::writeFile(fuzz::gameFolder() / "scenarios" / f.name,
                        it != parts.end() ? it->second : f.real);
    }
    // The three readers first, as the battle window calls them: a file they
    // refuse is refused before any picture is read or drawn.
    const auto dir = fuzz::gameFolder() / "scenarios";
    try {
        readMapFile((dir / "korvath.map").string());
        std::array<GlyphTexts, kMaxGlyphs + 1> texts{};
        TextFile glyphs = TextFile::load((dir / "korvathGlyphDesc.txt").string());
        applyGlyphFile(glyphs, texts);
        TextFile desc = TextFile::load((dir / "korvathDesc.txt").string());
        readScenarioDescription(desc, 8);
    } catch (const DataError&) {
        return 0;
    }

    fuzz::resetPorts();
    auto b = std::make_unique<Battle>();
    b->AppDir = fuzz::gameFolder().string();
    fuzz::ports().attach(*b);
    chooseScenario(*b, ScenarioId::Korvath, 8);
    try {
        createBattle(*b);
    } catch (const DataError&) {
        return 0;
    }
    showBattle(*b);
    activateBattle(*b);
    briefingLines(*b);
    return 0;
}
