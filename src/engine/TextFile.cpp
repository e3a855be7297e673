#include "TextFile.h"

#include "DataError.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace korvath {

TextFile TextFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(path, 0, "cannot open the file");
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) throw DataError(path, 0, "cannot read the file");
    return fromText(path, all.str());
}

TextFile TextFile::fromText(std::string name, std::string_view text) {
    TextFile f;
    f.name_ = std::move(name);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        f.lines_.emplace_back(line);
        start = end + 1;
    }
    return f;
}

std::string TextFile::readLine() {
    if (next_ >= lines_.size()) {
        ++next_;
        return {};
    }
    return lines_[next_++];
}

int TextFile::toInt(std::string_view field, const char* what) const {
    int v = 0;
    if (!parseInt(field, v))
        fail(std::string(what) + " is not a whole number: \"" + std::string(field) + "\"");
    return v;
}

void TextFile::fail(const std::string& reason) const {
    throw DataError(name_, lineNumber(), reason);
}

std::vector<std::string> splitTabs(std::string_view line, size_t maxFields) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        if (maxFields && out.size() + 1 == maxFields) {
            out.emplace_back(line.substr(start));
            break;
        }
        size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            out.emplace_back(line.substr(start));
            break;
        }
        out.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    return out;
}

bool parseInt(std::string_view text, int& out) {
    if (text.empty()) return false;
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+') ++b;
    if (b == e || (b != text.data() && *b == '-')) return false;
    auto [p, ec] = std::from_chars(b, e, out);
    return ec == std::errc() && p == e;
}

} // namespace korvath
