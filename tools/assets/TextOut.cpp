#include "assets/TextOut.h"

#include "assets/QtRaster.h"

namespace korvath::assets {

std::string readText(const std::string& path) {
    const auto bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string toCrlf(const std::string& text) {
    std::string out;
    for (const std::string& line : splitLines(text)) out += line + "\r\n";
    return out;
}

void writeText(const std::string& path, const std::string& text) {
    const std::string crlf = toCrlf(text);
    writeFile(path, std::vector<uint8_t>(crlf.begin(), crlf.end()));
}

} // namespace korvath::assets
