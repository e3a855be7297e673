#pragma once
#include "game/state/Battle.h"

#include <QDialog>

class QLabel;

namespace korvath {

// The battle summed up when a decided battle closes: the scenario and its
// difficulty, how it ended and after how many turns, the soldiers lost on
// each side, the player's shots and hits. Each number is a label named
// "Summary" + its row ("SummaryTurns", "SummaryHits" …).
class BattleSummary : public QDialog {
    Q_OBJECT
  public:
    explicit BattleSummary(const Battle& b, QWidget* parent = nullptr);
    QString shown(const QString& row) const;
};

} // namespace korvath
