#pragma once
#include <QWidget>

class QScrollArea;

namespace korvath {

class EditorSession;

// The whole map small, three pixels a square as the battle window's overhead
// map draws it, with the part the editor's view shows framed; a click or a
// drag moves the view there.
class OverheadNavigator : public QWidget {
    Q_OBJECT
  public:
    OverheadNavigator(EditorSession& session, QScrollArea& view, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {240, 150}; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

  private:
    void centreOn(QPoint pixel);
    EditorSession& session_;
    QScrollArea& view_;
};

} // namespace korvath
