#include "game/commands/Recording.h"
#include "game/commands/Registry.h"
#include "game/files/CommitRecord.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace korvath {

std::string formatTimeOfDay(int ms) {
    if (ms < 0) ms = 0;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", ms / 3600000 % 24, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return text;
}

int parseTimeOfDay(const std::string& text) {
    int h = 0, m = 0, s = 0, ms = 0;
    char c1 = 0, c2 = 0, c3 = 0;
    std::istringstream in(text);
    if (!(in >> h >> c1 >> m >> c2 >> s >> c3 >> ms) || c1 != ':' || c2 != ':' || c3 != '.' ||
        h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        return -1;
    in >> std::ws;
    if (!in.eof()) return -1;
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

std::vector<std::string> scriptWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (true) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i == line.size() || line[i] == '#') return words;
        std::string w;
        if (line[i] == '"') {
            // A quoted word keeps its spaces; \" and \\ stand for " and \.
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                w += line[i];
            }
            if (i == line.size()) throw std::invalid_argument("a quoted word has no closing quote");
            ++i;
        } else {
            while (i < line.size() && line[i] != '#' &&
                   !std::isspace(static_cast<unsigned char>(line[i])))
                w += line[i++];
        }
        words.push_back(std::move(w));
    }
}

std::string quotedWord(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\"#\\") == std::string::npos && word[0] != '"')
        return word;
    std::string q = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

void Recording::battleBegins(const Battle& b, uint32_t seedBeforeCreating) {
    header_ = {"# A battle of Korvath (" + b.ScenarioName + ", difficulty " +
                   std::to_string(b.Difficulty) +
                   "). Play it again with: korvath --replay FILE, or korvath-headless FILE",
               kReplayMarker, "seed " + std::to_string(seedBeforeCreating),
               "start " +
                   (b.ScenarioFolder.empty() ? b.ScenarioName : quotedWord(b.ScenarioFolder)) +
                   " " + std::to_string(b.Difficulty)};
    entries_.clear();
    timesBetween_.clear();
    appDir_ = b.AppDir;
    depth_ = 0;
    moments_ = 0;
    activated_ = false;
}

std::vector<std::string>& Recording::wordsNow() {
    Entry& e = entries_.back();
    return depth_ > 1 && !e.meanwhile.empty() ? e.meanwhile.back().words : e.words;
}

void Recording::commandBegins(const std::vector<std::string>& words) {
    if (empty()) return;
    if (++depth_ == 1) {
        moments_ = 0;
        entries_.push_back({words, std::move(timesBetween_), {}});
        timesBetween_.clear();
        return;
    }
    entries_.back().meanwhile.push_back({moments_, words});
}

void Recording::commandEnds(bool changedState) {
    if (empty() || depth_ == 0) return;
    Entry& e = entries_.back();
    if (--depth_ > 0) {
        if (!changedState) e.meanwhile.pop_back();
        return;
    }
    const bool plain = e.times.empty() && e.meanwhile.empty();
    // The window's first activation is part of "start".
    const bool firstActivation = e.words[0] == "activate" && !std::exchange(activated_, true);
    if ((!changedState || firstActivation) && plain) {
        entries_.pop_back();
        return;
    }
    // A hover or a scroll only leaves its last position behind: of several in
    // a row, the last one is enough.
    if (plain && entries_.size() > 1) {
        const Entry& before = entries_[entries_.size() - 2];
        const bool fleeting = isFleeting(e.words[0]);
        if (fleeting && before.words[0] == e.words[0] && before.times.empty() &&
            before.meanwhile.empty())
            entries_.erase(entries_.end() - 2);
    }
}

void Recording::timeAsked(int msSinceMidnight) {
    if (empty()) return;
    (depth_ > 0 ? entries_.back().times : timesBetween_).push_back(msSinceMidnight);
}

void Recording::fileChosen(const std::string& path) {
    if (empty() || depth_ == 0 || path.empty()) return;
    // Files below the game folder are named from it, so the replay travels.
    std::string shown = path;
    const std::string prefix = appDir_ + "/";
    if (!appDir_.empty() && shown.rfind(prefix, 0) == 0) shown.erase(0, prefix.size());
    // "menu Loadgame PATH" of a replay names its file already.
    std::vector<std::string>& words = wordsNow();
    if (words.size() == 2) words.push_back(shown);
}

void Recording::messagesMayRun() {
    if (depth_ > 0) ++moments_;
}

std::string Recording::script() const {
    auto line = [](const std::vector<std::string>& words) {
        std::string s;
        for (const std::string& w : words) s += (s.empty() ? "" : " ") + quotedWord(w);
        return s + "\n";
    };
    std::string out;
    for (const std::string& h : header_) out += h + "\n";
    for (const Entry& e : entries_) {
        if (!e.times.empty()) {
            out += "time";
            for (int t : e.times) out += " " + formatTimeOfDay(t);
            out += "\n";
        }
        out += line(e.words);
        for (const Meanwhile& m : e.meanwhile)
            out += "meanwhile " + std::to_string(m.moment) + " " + line(m.words);
    }
    return out;
}

void saveRecording(const std::string& path, const std::string& script) {
    const SaveFiles& files = diskFiles();
    const std::string temporary = temporaryName(path);
    try {
        files.write(temporary, {script.begin(), script.end()}, path);
        files.rename(temporary, path, path);
    } catch (...) {
        files.remove(temporary);
        throw;
    }
    files.syncFolder(std::filesystem::path(path).parent_path().string());
}

} // namespace korvath
