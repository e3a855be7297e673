#pragma once
#include "game/state/Battle.h"

#include <QDialog>

class QLabel;

namespace korvath {

// The mission briefing: the scenario's picture with the briefing written over
// it. Shown modally before each battle; a click on the picture, Enter or the
// space bar closes it.
// Created once at start and reused.
class TIntroForm : public QDialog {
    Q_OBJECT
  public:
    explicit TIntroForm(Battle& battle, QWidget* parent = nullptr);
    // Shows the briefing of the chosen scenario and waits for the click.
    int showBriefing();
    // The picture as last drawn, text included.
    QPixmap picture() const;

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void FormActivate();
    void FormShow();

    Battle& b_;
    QLabel* image_;
};

} // namespace korvath
