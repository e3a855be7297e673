#pragma once
#include "game/editor/LinedText.h"

#include <QImage>
#include <QWidget>

class QListWidget;
class QToolBox;

namespace korvath {

class EditorSession;

// The tile set's glyphs to paint with, grouped by what they are to the game:
// walls (a family of joining pieces shows once), strong and weak objects,
// floors, items lying on the floor, and the special tiles (start stars, the
// "Victory!" tile, force-field generators and their lines, event tiles).
class TilePalette : public QWidget {
    Q_OBJECT
  public:
    TilePalette(EditorSession& session, QWidget* parent = nullptr);
    // Shows the glyph as chosen (a right-click on the map picked it).
    void choose(int glyph);

  signals:
    void chosen(int glyph);

  private:
    void fill();
    QImage pictureOf(int glyph) const;

    EditorSession& session_;
    QToolBox* groups_ = nullptr;
    std::vector<QListWidget*> lists_;
    LinedText shown_; // the glyph texts the lists were made from
};

// The group a glyph is shown in (0 special … 5 items), -1 for none (the hit
// flash, and the pieces of a wall family after its first).
int paletteGroupOf(int glyph, const std::string& action, int familyFirst);

} // namespace korvath
