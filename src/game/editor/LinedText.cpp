#include "game/editor/LinedText.h"

#include "engine/TextFile.h"

namespace korvath {

LinedText LinedText::parse(std::string_view bytes) {
    LinedText t;
    t.crlf =
        bytes.find('\n') == std::string_view::npos || bytes.find("\r\n") != std::string_view::npos;
    t.finalLineEnd = bytes.empty() || bytes.back() == '\n';
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        t.lines.emplace_back(line);
        start = end + 1;
    }
    return t;
}

LinedText LinedText::ofLines(std::vector<std::string> lines) {
    LinedText t;
    t.lines = std::move(lines);
    return t;
}

std::string LinedText::bytes() const {
    std::string out;
    const char* end = crlf ? "\r\n" : "\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || finalLineEnd) out += end;
    }
    return out;
}

TextFile LinedText::asFile(const std::string& name) const {
    return TextFile::fromText(name, bytes());
}

} // namespace korvath
