#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class TextFile;

// A text file as its lines, keeping how they end, so that a file read and
// written again unchanged is the same to the byte.
struct LinedText {
    std::vector<std::string> lines;
    bool crlf = true;         // the game's files end their lines with CR LF
    bool finalLineEnd = true; // the last line ends too

    static LinedText parse(std::string_view bytes);
    static LinedText ofLines(std::vector<std::string> lines);
    std::string bytes() const;
    // The text as the game's readers see it, named like the file.
    TextFile asFile(const std::string& name) const;
    bool operator==(const LinedText&) const = default;
};

} // namespace korvath
