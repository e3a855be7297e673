#include "BattleSummary.h"

#include "engine/ShownText.h"
#include "game/commands/Scenario.h"
#include "game/files/Briefing.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace korvath {

BattleSummary::BattleSummary(const Battle& b, QWidget* parent) : QDialog(parent) {
    setObjectName("BattleSummary");
    setWindowTitle(QStringLiteral("The battle is over"));
    const BattleTally& t = b.tally;
    auto side = [&](int s) { return QString::fromStdString(shownText(b.SideNames[s])); };
    const int percent = t.shotsFired > 0 ? (100 * t.hits + t.shotsFired / 2) / t.shotsFired : 0;
    const std::pair<const char*, QString> rows[] = {
        {"Scenario", QString::fromStdString(shownText(scenarioTitle(b)))},
        {"Difficulty", QString::number(b.Difficulty)},
        {"Outcome", t.won ? QStringLiteral("Victory") : QStringLiteral("Defeat")},
        {"Turns", QString::number(t.turns)},
        {"Killed", QString::number(t.operativesKilled)},
        {"Lost", QString::number(t.raidersLost)},
        {"Shots", QString::number(t.shotsFired)},
        {"Hits", t.shotsFired > 0 ? QStringLiteral("%1 (%2%)").arg(t.hits).arg(percent)
                                  : QString::number(t.hits)},
    };
    const QString captions[] = {
        QStringLiteral("Scenario"),
        QStringLiteral("Difficulty"),
        QStringLiteral("Outcome"),
        QStringLiteral("Turns"),
        side(Side::Operatives) + QStringLiteral(" killed"),
        side(Side::Raiders) + QStringLiteral(" lost"),
        QStringLiteral("Shots fired"),
        QStringLiteral("Hits"),
    };
    auto* form = new QFormLayout;
    for (size_t k = 0; k < std::size(rows); ++k) {
        auto* value = new QLabel(rows[k].second);
        value->setObjectName(QStringLiteral("Summary") + QString::fromLatin1(rows[k].first));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        form->addRow(captions[k] + QLatin1Char(':'), value);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

QString BattleSummary::shown(const QString& row) const {
    const auto* l = findChild<QLabel*>(QStringLiteral("Summary") + row);
    return l ? l->text() : QString();
}

} // namespace korvath
