#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace korvath {

class EditorSession;

// The words of the scenario: its title, the briefing read before the
// battle, the text shown on the front screen beside its picture, and where
// the objective square lies.
class TextsPanel : public QWidget {
    Q_OBJECT
  public:
    TextsPanel(EditorSession& session, QWidget* parent = nullptr);
    // What has been typed and not yet taken, taken now (before a save).
    void commit();

  private:
    void refresh();
    EditorSession& session_;
    QLineEdit* title_;
    QPlainTextEdit* briefing_;
    QPlainTextEdit* front_;
    QLabel* objective_;
    QTimer* typing_;
    bool filling_ = false;
};

} // namespace korvath
