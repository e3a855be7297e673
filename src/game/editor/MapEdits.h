#pragma once
#include "engine/WallJoins.h"
#include "game/files/ScenarioFiles.h"

#include <vector>

namespace korvath {

// Changes to a scenario's map as the editor's tools make them. A glyph of a
// wall family is laid as the family's piece that joins its neighbours, and
// the walls around every changed square are joined again, as korvath-assets
// joins the walls of the maps that come with the game.
class MapEdits {
  public:
    MapEdits(MapSquares& map, const WallJoins& joins) : map_(map), joins_(joins) {}

    void paint(int x, int y, int glyph);
    // Every square joined to (x, y) by sides and showing its glyph (a wall
    // family counts as one glyph).
    void fill(int x, int y, int glyph);
    // The rectangle between two corners, whole or its outline only.
    void rectangle(int x1, int y1, int x2, int y2, int glyph, bool outlineOnly);
    // A force-field generator at (x1, y1) and its line of field squares on to
    // (x2, y2): vertical (28 and 46) or horizontal (29 and 47). Nothing for a
    // line that is neither; returns whether it was laid.
    bool forceField(int x1, int y1, int x2, int y2);

    static bool onMap(int x, int y) {
        return x >= 1 && y >= 1 && x <= kMapWidth && y <= kMapHeight;
    }

  private:
    void set(int x, int y, int glyph);
    void joinAround(const std::vector<std::pair<int, int>>& squares);
    bool joinsWalls(int x, int y) const;
    bool sameKind(int a, int b) const;

    MapSquares& map_;
    const WallJoins& joins_;
};

// The glyphs of a force field: generators, and the lines they switch off.
constexpr int kVerticalGenerator = 28, kHorizontalGenerator = 29;
constexpr int kVerticalField = 46, kHorizontalField = 47;

} // namespace korvath
