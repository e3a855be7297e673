#pragma once
#include <QImage>

#include <string>
#include <vector>

namespace korvath::assets {

// The game's icon, size x size pixels with a see-through background: a
// Raider with his rifle standing on a start star, on a dark plate with the
// fortress walls' colour round its edge. Drawn, not scaled, at every size.
QImage gameIcon(int size);

// The sizes the desktop's icon theme gets, in pixels.
const std::vector<int>& iconSizes();

// Writes the icon in every size as iconDir/NxN/apps/<name>.png, the layout of
// an icon theme such as hicolor.
void writeIcons(const std::string& iconDir, const std::string& name);

} // namespace korvath::assets
