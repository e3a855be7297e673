#include "Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// Where an installed game keeps its folder, seen from its executable's folder.
#ifndef KORVATH_INSTALLED_DATA_DIR
#define KORVATH_INSTALLED_DATA_DIR "../share/korvath"
#endif

namespace korvath {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool endsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           sameIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

namespace {

// The entry of dir spelled like name, ignoring case; name itself when none is.
std::string matchEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (sameIgnoringCase(entry, name)) return entry;
    }
    return name;
}

bool holdsScenarios(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / matchEntry(dir, "scenarios"), ec);
}

} // namespace

std::string findAppDir(const std::string& executablePath) {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (!ec && holdsScenarios(cwd)) return cwd.string();
    fs::path exe = fs::weakly_canonical(fs::path(executablePath), ec);
    if (ec) exe = fs::path(executablePath);
    const fs::path own = exe.parent_path();
    if (holdsScenarios(own)) return own.string();
    // Installed: the program in bin/, its game folder in share/korvath/.
    const fs::path installed = (own / KORVATH_INSTALLED_DATA_DIR).lexically_normal();
    if (holdsScenarios(installed)) return installed.string();
    return own.string();
}

bool isInstalledGameFolder(const std::string& dir) {
    // The installed folder's own last components, without the "../" that
    // leads there from bin/.
    fs::path tail;
    for (const auto& part : fs::path(KORVATH_INSTALLED_DATA_DIR).lexically_normal())
        if (part != "..") tail /= part;
    const fs::path d = fs::path(dir).lexically_normal();
    auto it = d.end();
    for (auto want = tail.end(); want != tail.begin();) {
        --want;
        if (it == d.begin() || *--it != *want) return false;
    }
    return true;
}

std::string executablePath(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) return self.string();
    return argv0 ? argv0 : "";
}

std::string gamePath(const std::string& base, const std::string& backslashPath) {
    fs::path p = base.empty() ? fs::path(".") : fs::path(base);
    std::string part;
    auto flush = [&] {
        if (part.empty() || part == ".") {
            part.clear();
            return;
        }
        p /= (part == ".." ? part : matchEntry(p, part));
        part.clear();
    };
    for (char c : backslashPath) {
        if (c == '\\' || c == '/')
            flush();
        else
            part += c;
    }
    flush();
    return p.string();
}

std::string matchFileIgnoringCase(const std::string& path) {
    const fs::path p(path);
    if (!p.has_filename()) return path;
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const std::string name = matchEntry(dir, p.filename().string());
    return p.has_parent_path() ? (p.parent_path() / name).string() : name;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace korvath
