#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

// A text data file read whole. Lines end in CRLF or LF; reading past the end
// gives empty lines, as the game's files expect.
class TextFile {
  public:
    // Reads the file; throws DataError naming the file when it cannot be read.
    static TextFile load(const std::string& path);
    static TextFile fromText(std::string name, std::string_view text);

    const std::string& name() const { return name_; }
    bool atEnd() const { return next_ >= lines_.size(); }
    // The next line, or "" past the end.
    std::string readLine();
    // Number (1-based) of the line last returned by readLine.
    int lineNumber() const { return static_cast<int>(next_); }
    size_t lineCount() const { return lines_.size(); }

    // Whole decimal number; throws DataError naming this file and the current line.
    int toInt(std::string_view field, const char* what) const;
    [[noreturn]] void fail(const std::string& reason) const;

  private:
    std::string name_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// Splits at single tab characters; with maxFields > 0 the last field keeps the
// rest of the line, tabs included.
std::vector<std::string> splitTabs(std::string_view line, size_t maxFields = 0);

// Strict whole decimal number: optional sign, digits only, fits in 32 bits.
bool parseInt(std::string_view text, int& out);

// A word that must be a strict whole number (the count of a "repeat", a
// click's X): its value, or an Error made from "WHAT is not a whole number: "TEXT"".
template <typename Error> int wholeNumber(std::string_view text, const char* what) {
    int v = 0;
    if (!parseInt(text, v))
        throw Error(std::string(what) + " is not a whole number: \"" + std::string(text) + "\"");
    return v;
}

} // namespace korvath
