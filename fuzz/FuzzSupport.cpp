#include "FuzzSupport.h"

#include "engine/Bmp.h"
#include "engine/Raster.h"
#include "engine/Ustar.h"
#include "game/combat/Shooting.h"
#include "game/commands/Commands.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/files/SavedGame.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace korvath::fuzz {

namespace {

constexpr std::string_view kHead = "==> ";
constexpr std::string_view kTail = " <==";

// Files the game folder was made with; everything else is swept away by resetGameFolder().
std::set<fs::path>& madeFiles() {
    static std::set<fs::path> files;
    return files;
}

void put(const fs::path& path, std::string_view bytes) {
    writeFile(path, bytes);
    madeFiles().insert(path);
}

void put(const fs::path& path, const std::vector<uint8_t>& bytes) {
    put(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Open floor is black, as in the game's own tiles: shots and sight rely on it.
Rgb tileColour(int glyph) {
    if (glyph >= 105 && glyph < kStartStarGlyph) return 0;
    return rgb(glyph, 255 - glyph, (glyph * 7) & 255);
}

void drawPictures(const fs::path& dir) {
    Archive waves;
    for (const char* w : {"intro", "select", "beep", "prompt", "save", "load", "LoadMag"})
        waves[std::string(w) + ".wav"] = {'R', 'I', 'F', 'F'};
    put(dir / "sound" / "KorvathWavs.dxw", writeUstar(waves));
    put(dir / "graphics" / "sword.cur", std::vector<uint8_t>{0, 0, 2, 0});
    put(dir / "graphics" / "aim.cur", std::vector<uint8_t>{0, 0, 2, 0});

    Raster blocks(13 * 40, 12 * 40);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 13; ++c)
            blocks.fillRect(c * 40 + 4, r * 40 + 4, c * 40 + 36, r * 40 + 36,
                            tileColour(1 + r * 13 + c));
    const auto sheet = encodeBmp(blocks);
    put(dir / "graphics" / "blocks.bmp", sheet);
    put(dir / "graphics" / "Vexlar_blocks.bmp", sheet);

    Raster soldiers(kPictureFrames * 40, kPictureRows * 40);
    for (int r = 0; r < kPictureRows; ++r)
        for (int c = 0; c < kPictureFrames; ++c)
            soldiers.fillRect(c * 40 + 12, r * 40 + 8, c * 40 + 28, r * 40 + 32,
                              rgb(200, r * 15, c * 30));
    put(dir / "graphics" / "UnitsOriginal.bmp", encodeBmp(soldiers));
}

// The real scenarios, their event files and the quick-start games, from the seed corpora.
void copyScenarios(const fs::path& dir) {
    const fs::path corpus = sourceDir() / "corpus";
    for (const char* scenario : {"korvath", "vexlar"}) {
        auto parts = splitParts(readFile(corpus / "scenario" / scenario));
        const std::string s = scenario;
        put(dir / "scenarios" / (s + ".map"), parts["map"]);
        put(dir / "scenarios" / (s + "GlyphDesc.txt"), parts["glyphs"]);
        put(dir / "scenarios" / (s + "Desc.txt"), parts["desc"]);

        auto saved = splitParts(readFile(corpus / "savedgame" / ("QuickStartGame_" + s)));
        const auto names = savedGameFiles((dir / "savedgames" / "QuickStartGame").string(), s);
        put(names[0], saved["txt"]);
        put(names[1], saved["dat"]);
        put(names[2], saved["map"]);
    }
    // The event seeds are named as in the game folder (korvathBarracks.txt).
    for (const auto& e : fs::directory_iterator(corpus / "events"))
        if (e.is_regular_file() && e.path().extension() == ".txt")
            put(dir / "scenarios" / e.path().filename(), readFile(e.path()));
}

struct Folder {
    fs::path path;
    Folder() {
        std::string tmpl = (fs::temp_directory_path() / "korvath-fuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
        path = tmpl;
        drawPictures(path);
        copyScenarios(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

} // namespace

std::map<std::string, std::string> splitParts(std::string_view input) {
    // Where the header lines start.
    std::vector<size_t> heads;
    if (input.starts_with(kHead)) heads.push_back(0);
    const std::string separator = std::string("\n").append(kHead);
    for (size_t at = input.find(separator); at != std::string_view::npos;
         at = input.find(separator, at + 1))
        heads.push_back(at + 1);

    std::map<std::string, std::string> parts;
    if (heads.empty() || heads[0] > 0)
        parts[""] = input.substr(0, heads.empty() ? input.size() : heads[0] - 1);
    for (size_t i = 0; i < heads.size(); ++i) {
        const size_t lineEnd = std::min(input.find('\n', heads[i]), input.size());
        std::string_view name =
            input.substr(heads[i] + kHead.size(), lineEnd - heads[i] - kHead.size());
        if (name.ends_with(kTail)) name.remove_suffix(kTail.size());
        const size_t start = std::min(lineEnd + 1, input.size());
        const size_t end = i + 1 < heads.size() ? heads[i + 1] - 1 : input.size();
        parts[std::string(name)] = std::string(input.substr(start, end > start ? end - start : 0));
    }
    return parts;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path sourceDir() {
    if (const char* dir = std::getenv("KORVATH_FUZZ_DIR"); dir && *dir) return dir;
    return KORVATH_FUZZ_DIR;
}

const fs::path& gameFolder() {
    static Folder folder;
    return folder.path;
}

void resetGameFolder() {
    std::vector<fs::path> extra;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(gameFolder(), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_directory() && !madeFiles().count(it->path())) extra.push_back(it->path());
    for (const auto& p : extra) fs::remove(p, ec);
}

HeadlessPorts& ports() {
    static HeadlessPorts p;
    return p;
}

void resetPorts() {
    ports().sounds.clear();
    ports().messages.clear();
    ports().fileAnswers.clear();
}

std::unique_ptr<Battle> deployedBattle() {
    auto b = std::make_unique<Battle>();
    b->AppDir = gameFolder().string();
    ports().attach(*b);
    chooseScenario(*b, ScenarioId::Korvath, 8);
    createBattle(*b);
    showBattle(*b);
    activateBattle(*b);
    const auto files =
        savedGameFiles((gameFolder() / "savedgames" / "QuickStartGame").string(), "korvath");
    applySavedGame(*b, *readSavedGame(files[0], files[1], files[2]));
    resetPorts();
    return b;
}

void lookAround(Battle& b) {
    ShowWoundsClick(b);
    ShowOverwatchClick(b);
    ShowMediKitClick(b);
    const Controls& c = b.controls;
    auto usable = [&](const Control& button) {
        return button.enabled && button.visible && c.PiecesInfoPanel.visible;
    };
    for (int i = 0; i < 2; ++i)
        if (usable(c.NextButton)) NextButtonClick(b);
    if (usable(c.AimedFireIcon)) FireButtonClick(b, FireButton::Aimed);
    if (usable(c.Cancelbutton)) CancelButtonClick(b);
}

} // namespace korvath::fuzz
