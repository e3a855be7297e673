#pragma once
#include <string>
#include <vector>

namespace korvath::assets {

// A whole text file; throws DataError when it cannot be read.
std::string readText(const std::string& path);
// Lines without their ends (CRLF or LF); a final line end adds no empty line.
std::vector<std::string> splitLines(const std::string& text);
// The game's text files end every line with CR LF.
std::string toCrlf(const std::string& text);
void writeText(const std::string& path, const std::string& text);

} // namespace korvath::assets
