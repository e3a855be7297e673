#pragma once
#include "game/files/ScenarioFolders.h"

#include <QDialog>
#include <QImage>

#include <string>
#include <vector>

class QListWidget;
class QLabel;

namespace korvath {

// One scenario as a list shows it: its picture, its title and its text on
// the front screen; `index` is a shipped scenario (0, 1) or -1 for a
// player's, whose folder `found` tells.
struct ListedScenario {
    int shipped = -1;
    FoundScenario found;
    QString title;
    QStringList text;
    QImage picture;
};

// The scenarios of the game folder and the player's, each with its picture
// (drawn from its map when it brings none) and front text; with the shipped
// two first when asked for.
std::vector<ListedScenario> listScenarios(const std::string& appDir, bool withShipped);

// A list of scenarios to choose from: a picture and the title on each row,
// the chosen one's front text beside. A click on a row's picture chooses it
// at once (as a click on a front screen's map does); a scenario whose
// manifest cannot be read shows why and cannot be chosen.
class ScenarioListDialog : public QDialog {
    Q_OBJECT
  public:
    ScenarioListDialog(const std::string& appDir, bool withShipped, const QString& title,
                       const QString& chooseText, QWidget* parent = nullptr);
    const std::vector<ListedScenario>& scenarios() const { return listed_; }
    // The one chosen, or null.
    const ListedScenario* chosen() const;
    QListWidget* list() const { return list_; }

  private:
    void showText(int row);
    std::vector<ListedScenario> listed_;
    QListWidget* list_;
    QLabel* text_;
    int chosen_ = -1;
};

} // namespace korvath
