#include "game/files/CommitRecord.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "game/files/ScenarioManifest.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace korvath {

namespace {

// No other program names its files so.
constexpr std::string_view kOwnPrefix = ".korvath-";
constexpr std::string_view kTemporary = ".saving";
constexpr std::string_view kCommit = ".commit";
constexpr std::string_view kRotation = ".rotation";
constexpr std::string_view kSignature = "korvath commit 1";
constexpr std::string_view kPut = "put ";
constexpr std::string_view kRemove = "remove ";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kScenarioRecord = ".korvath-scenario.commit";
// A record names at most nine files: anything longer is not one.
constexpr size_t kLongestRecord = 4096;

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string nameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

std::string inFolder(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

std::string between(const std::string& s, std::string_view head, std::string_view tail) {
    if (s.size() < head.size() + tail.size() || !s.starts_with(head) || !s.ends_with(tail))
        return {};
    return s.substr(head.size(), s.size() - head.size() - tail.size());
}

void addSet(std::vector<std::string>& names, const std::string& stem) {
    for (const std::string& n : setFileNames(stem)) names.push_back(n);
}

// A file a scenario's save writes: a text, map or picture of the folder
// itself (the scenario's names are checked to be such when it is read).
bool isScenarioFile(const std::string& name) {
    if (!isPlainFileName(name)) return false;
    for (const char* ext : {".txt", ".map", ".bmp"})
        if (name.size() > 4 && endsWithIgnoringCase(name, ext)) return true;
    return false;
}

// The files a record may name: those of its saved sets, or, for the record
// of a scenario's folder, the scenario's files.
struct Covered {
    std::vector<std::string> sets;
    bool scenario = false;
    bool empty() const { return sets.empty() && !scenario; }
    bool covers(const std::string& name) const {
        return (scenario && isScenarioFile(name)) ||
               std::find(sets.begin(), sets.end(), name) != sets.end();
    }
};

// What a record of this file name may name; nothing when the name is not one
// of the game's records.
Covered coveredBy(const std::string& record) {
    Covered c;
    if (record == kScenarioRecord) {
        c.scenario = true;
    } else if (const std::string stem = between(record, kOwnPrefix, kCommit); !stem.empty()) {
        addSet(c.sets, stem);
    } else if (const std::string rotation = between(record, kOwnPrefix, kRotation);
               !rotation.empty()) {
        const size_t cut = rotation.find('_');
        if (cut == 0 || cut == std::string::npos || cut + 1 == rotation.size()) return {};
        for (int n = 1; n <= kRotationSets; ++n)
            addSet(c.sets, rotation.substr(0, cut) + std::to_string(n) + rotation.substr(cut));
    }
    return c;
}

// The previous version's record NAME_S.commit named the files of its set
// NAME_S, and the autosaves' autosave_S.commit those of autosave1_S to
// autosave3_S.
std::vector<std::string> coveredByPreviousVersion(const std::string& record) {
    std::vector<std::string> names;
    const std::string stem = between(record, "", kCommit);
    if (stem.empty() || stem.starts_with(kOwnPrefix)) return names;
    addSet(names, stem);
    if (const std::string scenario = between(stem, "autosave_", ""); !scenario.empty())
        for (int n = 1; n <= kRotationSets; ++n)
            addSet(names, "autosave" + std::to_string(n) + "_" + scenario);
    return names;
}

bool covers(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// One step of a commit: a temporary put in place of NAME, or NAME removed.
struct Step {
    bool put;
    std::string name;
};

enum class RecordIs { Whole, CutShort, NotOurs };

struct ReadRecord {
    RecordIs is = RecordIs::NotOurs;
    std::vector<Step> steps;
};

// A whole record is the signature, its steps (each naming a file it covers)
// and "end", one a line. One cut short while being written holds the start of
// that; anything else is not the game's.
ReadRecord readRecord(const std::string& text, const Covered& covered) {
    ReadRecord r;
    size_t at = 0;
    for (bool first = true;; first = false) {
        const size_t newline = text.find('\n', at);
        if (newline == std::string::npos) {
            // The last line was being written: nothing of the commit has begun.
            const bool startsRight = !first || kSignature.starts_with(text);
            r.is = startsRight ? RecordIs::CutShort : RecordIs::NotOurs;
            r.steps.clear();
            return r;
        }
        const std::string line = text.substr(at, newline - at);
        at = newline + 1;
        if (first) {
            if (line != kSignature) return {};
            continue;
        }
        if (line == kEnd) {
            if (at != text.size()) return {};
            r.is = RecordIs::Whole;
            return r;
        }
        Step step{line.starts_with(kPut),
                  between(line, line.starts_with(kPut) ? kPut : kRemove, "")};
        if (step.name.empty() || !covered.covers(step.name)) return {};
        r.steps.push_back(step);
    }
}

std::string recordText(const std::vector<Step>& steps) {
    std::string text = std::string(kSignature) + "\n";
    for (const Step& s : steps) text += std::string(s.put ? kPut : kRemove) + s.name + "\n";
    return text + std::string(kEnd) + "\n";
}

// Done again after a crash, the steps do what is left of them.
void apply(const std::string& folder, const std::vector<Step>& steps,
           const std::set<std::string>& present, const SaveFiles& files) {
    for (const Step& s : steps) {
        const std::string path = inFolder(folder, s.name);
        const std::string temporary = temporaryName(path);
        if (!s.put)
            files.remove(path);
        else if (present.count(nameOf(temporary)))
            files.rename(temporary, path, path);
    }
    files.syncFolder(folder);
}

// The file a temporary of the game's stands for; "" when the name is not one.
std::string temporaryOf(const std::string& name) {
    const std::string file = between(name, kOwnPrefix, kTemporary);
    for (const char* ext : {".Txt", ".dat", ".map"})
        if (file.size() > 4 && file.ends_with(ext)) return file;
    return isScenarioFile(file) ? file : std::string();
}

// A previous version's record: its set's names one a line, then "end".
std::vector<std::string> previousVersionSteps(const std::string& text,
                                              const std::vector<std::string>& covered) {
    std::vector<std::string> names;
    size_t at = 0;
    for (size_t newline; (newline = text.find('\n', at)) != std::string::npos; at = newline + 1)
        names.push_back(text.substr(at, newline - at));
    if (at != text.size() || names.size() < 2 || names.back() != kEnd) return {};
    names.pop_back();
    for (const std::string& n : names)
        if (!covers(covered, n)) return {};
    return names;
}

} // namespace

std::array<std::string, 3> setFileNames(const std::string& stem) {
    return {stem + ".Txt", stem + ".dat", stem + ".map"};
}

std::string commitRecordName(const std::string& base, const std::string& scenario) {
    return inFolder(folderOf(base),
                    std::string(kOwnPrefix) + nameOf(base) + "_" + scenario + std::string(kCommit));
}

std::string rotationRecordName(const std::string& base, const std::string& scenario) {
    return inFolder(folderOf(base), std::string(kOwnPrefix) + nameOf(base) + "_" + scenario +
                                        std::string(kRotation));
}

std::string scenarioRecordName(const std::string& folder) {
    return inFolder(folder, std::string(kScenarioRecord));
}

std::string temporaryName(const std::string& path) {
    return inFolder(folderOf(path),
                    std::string(kOwnPrefix) + nameOf(path) + std::string(kTemporary));
}

void commitAsWhole(const Commit& c, const SaveFiles& files) {
    if (c.written.empty() && c.removed.empty()) return;
    const std::string folder = folderOf(c.record);
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::vector<Step> steps;
    std::set<std::string> present;
    for (const FileToWrite& f : c.written) {
        steps.push_back({true, nameOf(f.path)});
        present.insert(nameOf(temporaryName(f.path)));
    }
    for (const std::string& r : c.removed) steps.push_back({false, nameOf(r)});
    const std::string& shownAs = c.written.empty() ? c.removed.back() : c.written.back().path;
    try {
        for (const FileToWrite& f : c.written) files.write(temporaryName(f.path), f.bytes, f.path);
        const std::string text = recordText(steps);
        files.write(c.record, {text.begin(), text.end()}, shownAs);
        files.syncFolder(folder);
    } catch (...) {
        files.remove(c.record);
        for (const FileToWrite& f : c.written) files.remove(temporaryName(f.path));
        throw;
    }
    apply(folder, steps, present, files);
    files.remove(c.record);
    files.syncFolder(folder);
}

void finishInterruptedSaves(const std::string& where, const SaveFiles& files) {
    const std::string folder = where.empty() ? std::string(".") : where;
    const auto entries = files.list(folder);
    const std::set<std::string> present(entries.begin(), entries.end());
    std::set<std::string> named;    // temporaries a whole record puts in place
    bool keepScenarioFiles = false; // a scenario's record to be finished later
    std::vector<std::string> cutShort;
    for (const std::string& e : entries) {
        const std::string record = inFolder(folder, e);
        const auto covered = coveredBy(e);
        try {
            if (!covered.empty()) {
                const ReadRecord r = readRecord(files.read(record, kLongestRecord), covered);
                if (r.is == RecordIs::CutShort) cutShort.push_back(record);
                if (r.is != RecordIs::Whole) continue;
                for (const Step& s : r.steps)
                    if (s.put) named.insert(nameOf(temporaryName(inFolder(folder, s.name))));
                apply(folder, r.steps, present, files);
                files.remove(record);
            } else if (const auto old = coveredByPreviousVersion(e); !old.empty()) {
                const auto names = previousVersionSteps(files.read(record, kLongestRecord), old);
                if (names.empty()) continue;
                for (const std::string& n : names)
                    if (present.count(n + std::string(kTemporary)))
                        files.rename(inFolder(folder, n + std::string(kTemporary)),
                                     inFolder(folder, n), n);
                files.syncFolder(folder);
                files.remove(record);
            }
        } catch (const DataError&) {
            // Unreadable now, or a rename refused: left for the next look,
            // with every temporary it may name.
            for (const std::string& n : covered.sets) named.insert(nameOf(temporaryName(n)));
            keepScenarioFiles = keepScenarioFiles || covered.scenario;
        }
    }
    // A temporary that no whole record names is a commit that never got to
    // its renames, as is a record cut short.
    for (const std::string& e : entries) {
        const std::string file = temporaryOf(e);
        if (file.empty() || named.count(e) || (keepScenarioFiles && isScenarioFile(file))) continue;
        files.remove(inFolder(folder, e));
    }
    for (const std::string& record : cutShort) files.remove(record);
    files.syncFolder(folder);
}

} // namespace korvath
