#pragma once
#include <string>
#include <string_view>

namespace korvath {

// Text from the game's files as the player is shown it, in UTF-8: bytes that
// already are valid UTF-8 stay as they are; otherwise every byte is read as
// Windows-1252, the code page such files were written in. The window and the
// headless dump both show text through this, so they never disagree and
// never meet bytes they cannot show.
std::string shownText(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

} // namespace korvath
