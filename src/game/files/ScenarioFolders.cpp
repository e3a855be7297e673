#include "game/files/ScenarioFolders.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"
#include "game/files/CommitRecord.h"
#include "game/files/SavedGame.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace korvath {

std::string playersScenariosFolder() {
    const std::string saves = userSavedGamesFolder(); // .../korvath/savedgames
    if (saves.empty()) return {};
    return (fs::path(saves).parent_path() / "scenarios").string();
}

std::string fileInFolder(const std::string& folder, const std::string& name) {
    const std::string shown = (fs::path(folder) / name).string();
    if (!isPlainFileName(name))
        throw DataError(shown, 0, "the name \"" + name + "\" leads outside the scenario's folder");
    const std::string path = matchFileIgnoringCase(shown);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return path;
    const fs::path real = fs::weakly_canonical(path, ec);
    const fs::path home = fs::weakly_canonical(folder, ec);
    const fs::path rel = real.lexically_relative(home);
    if (ec || rel.empty() || *rel.begin() == ".." || rel.has_parent_path())
        throw DataError(shown, 0, "the file is a link that leads outside the scenario's folder");
    return path;
}

namespace {

FoundScenario readManifestOf(const std::string& folder) {
    FoundScenario s;
    s.folder = folder;
    s.key = fs::path(folder).lexically_normal().filename().string();
    if (s.key.empty())
        s.key = fs::path(folder).lexically_normal().parent_path().filename().string();
    TextFile manifest = TextFile::load(fileInFolder(folder, kManifestFile));
    s.manifest = readManifest(manifest);
    return s;
}

void scan(const fs::path& root, bool playersOwn, std::map<std::string, FoundScenario>& found) {
    std::error_code ec;
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) folders.push_back(it->path());
    for (const fs::path& folder : folders) {
        // A save cut short is finished first: a first save may yet bring
        // the manifest.
        finishInterruptedSaves(folder.string());
        if (!fileExists(matchFileIgnoringCase((folder / kManifestFile).string()))) continue;
        FoundScenario s;
        try {
            s = readManifestOf(folder.string());
        } catch (const DataError& e) {
            s.folder = folder.string();
            s.key = folder.filename().string();
            s.problem = e.what();
        }
        s.playersOwn = playersOwn;
        found[s.key] = std::move(s);
    }
}

} // namespace

FoundScenario readScenarioFolder(const std::string& folder) {
    finishInterruptedSaves(folder);
    return readManifestOf(folder);
}

std::vector<FoundScenario> findScenarios(const std::string& appDir) {
    std::map<std::string, FoundScenario> found;
    scan(gamePath(appDir, "\\scenarios"), false, found);
    if (const std::string own = playersScenariosFolder(); !own.empty()) scan(own, true, found);
    std::vector<FoundScenario> out;
    for (auto& [key, s] : found) out.push_back(std::move(s));
    std::stable_sort(out.begin(), out.end(), [](const FoundScenario& a, const FoundScenario& b) {
        const std::string& ta = a.manifest.Title.empty() ? a.key : a.manifest.Title;
        const std::string& tb = b.manifest.Title.empty() ? b.key : b.manifest.Title;
        return std::lexicographical_compare(ta.begin(), ta.end(), tb.begin(), tb.end(),
                                            [](char x, char y) {
                                                return std::tolower(static_cast<unsigned char>(x)) <
                                                       std::tolower(static_cast<unsigned char>(y));
                                            });
    });
    return out;
}

} // namespace korvath
