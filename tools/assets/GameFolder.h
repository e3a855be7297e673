#pragma once
#include <string>

namespace korvath::assets {

// Lays out the whole game folder from the sources under dataDir: graphics/,
// scenarios/, sound/, an empty savedgames/ and readme.txt; graphics/icon.png
// is the window's icon. Files that exist are overwritten; nothing else in the
// folder is touched.
void buildGameFolder(const std::string& dataDir, const std::string& outDir);

// PNG pictures for a person to look at: both whole battlefields with their
// soldiers (difficulty 8), both tile sheets and the soldier sheet.
void writePreview(const std::string& dataDir, const std::string& previewDir);

} // namespace korvath::assets
