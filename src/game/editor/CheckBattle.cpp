// Check's part in the game itself: the battle window's loader, every event
// file run by the game's own events, and a short battle played headless.
#include "game/editor/Check.h"

#include "engine/DataError.h"
#include "game/combat/Events.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"

#include <memory>

namespace korvath {

namespace {

// The headless ports, keeping the warnings (a file that failed) apart.
class CheckPorts : public HeadlessPorts {
  public:
    void warning(const std::string& text) override { warnings.push_back(text); }
    std::vector<std::string> warnings;
};

constexpr int kShortBattleTurns = 10;
constexpr int kShortBattleDifficulty = 3;

std::unique_ptr<Battle> loaded(const std::string& appDir, const std::string& folder,
                               const ScenarioManifest& m, int difficulty, CheckPorts& ports) {
    auto b = std::make_unique<Battle>();
    b->AppDir = appDir;
    ports.attach(*b);
    chooseScenario(*b, m, folder, difficulty);
    createBattle(*b);
    showBattle(*b);
    activateBattle(*b);
    return b;
}

void tellWarnings(CheckPorts& ports, const std::string& when, std::vector<CheckFinding>& out) {
    for (const std::string& w : ports.warnings) out.push_back({true, when + w});
    ports.warnings.clear();
}

// Places the Raiders on the stars in reading order, as a player would.
void deploy(Battle& b) {
    std::vector<std::pair<int, int>> stars;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b.cell(x, y).Glyph == kStartStarGlyph) stars.push_back({x, y});
    const size_t rows = b.controls.PlaceMenGrid.rows.size();
    for (size_t r = 0; r < rows && r < stars.size() && b.deploying; ++r) {
        runCommand(b, {"row", std::to_string(r)});
        runCommand(b, {"square", std::to_string(stars[r].first), std::to_string(stars[r].second)});
    }
}

std::string shortBattle(Battle& b) {
    deploy(b);
    if (b.deploying) return "The Raiders could not all be placed on the start stars.";
    while (b.windowOpen && !b.GameOver && b.TurnNumber <= kShortBattleTurns)
        runCommand(b, {"button", "EndTurn"});
    int raiders = 0, operatives = 0;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b.Pieces[i].alive()) (b.Pieces[i].Side == Side::Raiders ? raiders : operatives) += 1;
    std::string told = "A short battle at difficulty " + std::to_string(kShortBattleDifficulty) +
                       " (the Raiders placed, then only End Turn): ";
    if (b.GameOver || raiders == 0 || operatives == 0)
        told += "decided on turn " + std::to_string(b.TurnNumber) + ", the " +
                (raiders > 0 ? "Raiders" : "Operatives") + " won.";
    else
        told += "after " + std::to_string(kShortBattleTurns) + " turns " + std::to_string(raiders) +
                " Raiders and " + std::to_string(operatives) + " Operatives are left.";
    return told;
}

} // namespace

void checkInBattle(const std::string& appDir, const std::string& folder, const ScenarioContent& c,
                   std::vector<CheckFinding>& out) {
    CheckPorts ports;
    try {
        // Every soldier takes part at difficulty 8: the tables are fullest.
        loaded(appDir, folder, c.manifest, 8, ports);
    } catch (const DataError& e) {
        out.push_back({true, e.what()});
        return;
    }
    for (const auto& [name, text] : c.events) {
        (void)text;
        try {
            auto b = loaded(appDir, folder, c.manifest, 8, ports);
            RunEventFile(*b, name);
        } catch (const std::exception& e) {
            ports.warnings.push_back(e.what());
        }
        tellWarnings(ports, "The event " + name + ": ", out);
    }
    try {
        auto b = loaded(appDir, folder, c.manifest, kShortBattleDifficulty, ports);
        out.push_back({false, shortBattle(*b)});
    } catch (const std::exception& e) {
        out.push_back({true, std::string("The short battle stopped: ") + e.what()});
    }
    tellWarnings(ports, "In the short battle: ", out);
}

} // namespace korvath
