#pragma once
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

namespace korvath {

class EditorSession;

// What a click on the map does in the editor.
enum class EditorTool {
    Paint,         // lays the chosen tile, square by square as the mouse drags
    Fill,          // the chosen tile over the whole patch of the tile clicked
    Rectangle,     // a filled rectangle from press to release
    Outline,       // a rectangle's edge: walls of a room
    ForceField,    // a generator where pressed, its field line to the release
    Soldier,       // puts the chosen soldier there
    Objective,     // the square the Operatives defend
    EventChange,   // the chosen event turns this square into the chosen tile
    Reinforcement, // the chosen event's chosen soldier arrives here
};

// The scenario's map as the editor draws it: the tiles, the soldiers (green
// ring: Raiders, red: Operatives), the objective, and the chosen event's
// changes and arrivals, at 8 to 32 pixels a square. Right-click picks the
// tile under the mouse (or undoes an event's change there).
class MapCanvas : public QWidget {
    Q_OBJECT
  public:
    MapCanvas(EditorSession& session, QWidget* parent = nullptr);

    void setTool(EditorTool t);
    EditorTool tool() const { return tool_; }
    void setGlyph(int g) { glyph_ = g; }
    int glyph() const { return glyph_; }
    void setSoldier(int index) { soldier_ = index, update(); }
    void setEvent(const QString& name, int reinforcement) {
        event_ = name, reinforcement_ = reinforcement, update();
    }
    void setZoom(int pixelsPerSquare);
    int zoom() const { return zoom_; }
    // The square's rectangle in the widget.
    QRect squareRect(int x, int y) const;
    QPoint squareAt(QPoint pixel) const;

  signals:
    void hovered(int x, int y);
    void picked(int glyph);
    void soldierPicked(int index);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    void act(QPoint square, bool first);
    void finishDrag(QPoint square);
    void paintOverlays(QPainter& p);
    void changeEventSquare(QPoint square, bool remove);

    EditorSession& session_;
    EditorTool tool_ = EditorTool::Paint;
    int glyph_ = 1;
    int soldier_ = -1;
    QString event_;
    int reinforcement_ = -1;
    int zoom_ = 16;
    bool dragging_ = false;
    QPoint from_, last_, hover_{-1, -1};
};

} // namespace korvath
