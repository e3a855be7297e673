#include "Script.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/CloseCombat.h"
#include "game/Commands.h"
#include "game/Deployment.h"
#include "game/DeveloperAids.h"
#include "game/Display.h"
#include "game/Inventory.h"
#include "game/Overwatch.h"
#include "game/SavedGame.h"
#include "game/Scenario.h"
#include "game/Shooting.h"
#include "game/StateJson.h"
#include "game/TurnSequence.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>

namespace korvath {

namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> w;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

int number(const std::string& text, const char* what) {
    int v = 0;
    if (!parseInt(text, v))
        throw ScriptError(std::string(what) + " is not a whole number: \"" + text + "\"");
    return v;
}

void need(const std::vector<std::string>& args, size_t n, const char* usage) {
    if (args.size() < n) throw ScriptError(std::string("usage: ") + usage);
}

// "HH:MM:SS.mmm" as milliseconds since midnight.
int timeOfDay(const std::string& t) {
    int h = 0, m = 0, s = 0, ms = 0;
    char c1 = 0, c2 = 0, c3 = 0;
    std::istringstream in(t);
    if (!(in >> h >> c1 >> m >> c2 >> s >> c3 >> ms) || c1 != ':' || c2 != ':' || c3 != '.' ||
        h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        throw ScriptError("time must be HH:MM:SS.mmm, not \"" + t + "\"");
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

// A fingerprint of a picture's pixels (64-bit FNV-1a over their bytes, low
// byte first), as sixteen hex digits.
std::string pictureHash(const Raster& r) {
    uint64_t h = 1469598103934665603ull;
    const size_t n = static_cast<size_t>(r.width()) * static_cast<size_t>(r.height());
    for (size_t i = 0; i < n; ++i)
        for (int k = 0; k < 4; ++k) {
            h ^= (r.data()[i] >> (8 * k)) & 0xff;
            h *= 1099511628211ull;
        }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

} // namespace

ScriptRunner::ScriptRunner(std::string dataDir, std::ostream& out, std::ostream& err)
    : dataDir_(std::move(dataDir)), out_(out), err_(err), battle_(std::make_unique<Battle>()) {
    battle_->AppDir = dataDir_;
    ports_.attach(*battle_);
    // As in the window, the developer aids exist only when asked for.
    if (const char* dev = std::getenv("KORVATH_DEVELOPER"); dev && std::string(dev) == "1")
        battle_->developerMode = true;
}

int ScriptRunner::run(std::istream& in, const std::string& scriptName) {
    std::vector<Line> lines;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back({lineNo, line});
    }
    try {
        runLines(lines, 0, lines.size());
    } catch (const DataError& e) {
        err_ << scriptName << ", line " << current_ << ": " << e.what() << "\n";
        return 2;
    } catch (const ScriptError& e) {
        err_ << scriptName << ", line " << current_ << ": " << e.what() << "\n";
        return 2;
    }
    return 0;
}

// Runs lines [from, to). "repeat N" runs the lines up to its "end" N times,
// but starts no pass once the battle is decided or its window has closed:
// End Turn would close a decided battle and lose the state to be dumped.
void ScriptRunner::runLines(const std::vector<Line>& lines, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        current_ = lines[i].number;
        const auto w = words(lines[i].text);
        if (w.empty() || w[0] != "repeat") {
            command(lines[i].text);
            continue;
        }
        if (w.size() != 2) throw ScriptError("usage: repeat N ... end");
        const int times = number(w[1], "the count");
        if (times < 0) throw ScriptError("the count must not be negative");
        const size_t end = blockEnd(lines, i);
        for (int pass = 0; pass < times && !decided(); ++pass) runLines(lines, i + 1, end);
        i = end;
    }
}

// The line of the "end" that closes the block opened at repeatLine.
size_t ScriptRunner::blockEnd(const std::vector<Line>& lines, size_t repeatLine) const {
    int depth = 0;
    for (size_t i = repeatLine; i < lines.size(); ++i) {
        const auto w = words(lines[i].text);
        if (w.empty()) continue;
        if (w[0] == "repeat") ++depth;
        if (w[0] == "end" && --depth == 0) return i;
    }
    throw ScriptError("\"repeat\" without its \"end\"");
}

bool ScriptRunner::decided() const {
    return battle_->GameOver || !battle_->windowOpen;
}

void ScriptRunner::command(const std::string& line) {
    const auto w = words(line);
    if (w.empty()) return;
    const std::string& verb = w[0];
    const std::vector<std::string> args(w.begin() + 1, w.end());

    if (verb == "start") return start(args);
    if (verb == "time") {
        need(args, 1, "time HH:MM:SS.mmm");
        return ports_.setTimeOfDay(timeOfDay(args[0]));
    }
    if (verb == "seed") {
        need(args, 1, "seed N");
        long long v = 0;
        std::istringstream in(args[0]);
        if (!(in >> v) || !in.eof() || v < 0 || v > 0xffffffffLL)
            throw ScriptError("the seed must be a number 0..4294967295");
        battle_->rng.setSeed(static_cast<uint32_t>(v));
        return;
    }
    if (verb == "dump") return dump(args);
    if (verb == "end") throw ScriptError("\"end\" without its \"repeat\"");

    static const std::set<std::string> later = {"click", "square",  "hover", "button",
                                                "row",   "pickrow", "key"};
    const bool known = verb == "set" || verb == "menu" || later.count(verb);
    if (!known) throw ScriptError("unknown command \"" + verb + "\"");
    if (!battle_->windowOpen) {
        err_ << "note: no battle window is open; \"" << line << "\" ignored\n";
        return;
    }
    if (verb == "set") return set(args);
    if (verb == "menu") return menu(args);
    if (verb == "click" || verb == "square") return click(verb == "square", args);
    if (verb == "hover") {
        need(args, 2, "hover X Y");
        return MapImageMouseMove(*battle_, number(args[0], "X"), number(args[1], "Y"));
    }
    if (verb == "button") return button(args);
    if (verb == "row") {
        need(args, 1, "row N");
        return PlaceMenGridClick(*battle_, number(args[0], "the row"));
    }
    if (verb == "pickrow") {
        need(args, 1, "pickrow N");
        return PickItemsChange(*battle_, number(args[0], "the row"));
    }
    need(args, 1, "key K");
    return key(args[0]);
}

void ScriptRunner::start(const std::vector<std::string>& args) {
    need(args, 1, "start korvath|vexlar [DIFFICULTY]");
    ScenarioId which;
    if (args[0] == "korvath")
        which = ScenarioId::Korvath;
    else if (args[0] == "vexlar")
        which = ScenarioId::Vexlar;
    else
        throw ScriptError("unknown scenario \"" + args[0] + "\" (korvath or vexlar)");
    const int difficulty = args.size() > 1 ? number(args[1], "the difficulty") : 3;
    if (difficulty < 1 || difficulty > 8) throw ScriptError("the difficulty must be 1..8");

    Battle& b = *battle_;
    if (b.windowOpen) closeBattle(b);
    chooseScenario(b, which, difficulty);
    createBattle(b);
    showBattle(b);
    activateBattle(b);
}

void ScriptRunner::click(bool square, const std::vector<std::string>& args) {
    need(args, 2,
         square ? "square X Y [right] [shift] [ctrl] [alt]"
                : "click X Y [right] [shift] [ctrl] [alt]");
    int x = number(args[0], "X"), y = number(args[1], "Y");
    if (square) {
        x = x * kSquare - kSquare / 2;
        y = y * kSquare - kSquare / 2;
    }
    if (x < 0 || y < 0 || x >= kMapPixelsX || y >= kMapPixelsY)
        throw ScriptError("the point lies outside the map");
    ShiftState shift;
    MouseButton buttonPressed = MouseButton::Left;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "right")
            buttonPressed = MouseButton::Right;
        else if (args[i] == "shift")
            shift.shift = true;
        else if (args[i] == "ctrl")
            shift.ctrl = true;
        else if (args[i] == "alt")
            shift.alt = true;
        else
            throw ScriptError("unknown click modifier \"" + args[i] + "\"");
    }
    // The pressed button is part of the shift state, as the window reports it.
    (buttonPressed == MouseButton::Right ? shift.right : shift.left) = true;
    MapImageMouseDown(*battle_, buttonPressed, shift, x, y);
}

void ScriptRunner::button(const std::vector<std::string>& args) {
    need(args, 1, "button NAME");
    Battle& b = *battle_;
    Controls& c = b.controls;
    struct Entry {
        Control* control;
        std::function<void()> click;
    };
    const std::map<std::string, Entry> buttons = {
        {"EndTurn", {&c.EndTurnButton, [&] { EndTurnButtonClick(b); }}},
        {"Next", {&c.NextButton, [&] { NextButtonClick(b); }}},
        {"Cancel", {&c.Cancelbutton, [&] { CancelButtonClick(b); }}},
        {"Overwatch", {&c.OverwatchIcon, [&] { OverwatchButtonClick(b); }}},
        {"AimedShot", {&c.AimedFireIcon, [&] { FireButtonClick(b, FireButton::Aimed); }}},
        {"QuickShot", {&c.SnapFireIcon, [&] { FireButtonClick(b, FireButton::Quick); }}},
        {"HandFight", {&c.HandFightIcon, [&] { HandFightIconClick(b); }}},
        {"PickUp", {&c.PickUpButton, [&] { PickUpButtonClick(b); }}},
        {"DropItem", {&c.DropItem, [&] { DropItemClick(b); }}},
        {"Map", {&c.MapRadio, [&] { EquipRadioClick(b, false); }}},
        {"Equipment", {&c.EquipRadio, [&] { EquipRadioClick(b, true); }}},
    };
    const auto it = buttons.find(args[0]);
    if (it == buttons.end()) throw ScriptError("unknown button \"" + args[0] + "\"");
    // The buttons live on the information panel: hidden or disabled, a click does nothing.
    const Control& control = *it->second.control;
    if (!control.enabled || !control.visible || !c.PiecesInfoPanel.visible) return;
    it->second.click();
}

void ScriptRunner::key(const std::string& k) {
    Battle& b = *battle_;
    if (k == "Esc") {
        FormKeyDown(b, kEscapeKey);
        FormKeyPress(b, static_cast<char>(kEscapeKey));
        return;
    }
    if (k.size() != 1) throw ScriptError("key takes one character or Esc, not \"" + k + "\"");
    FormKeyDown(b, std::toupper(static_cast<unsigned char>(k[0])));
    FormKeyPress(b, k[0]);
}

void ScriptRunner::set(const std::vector<std::string>& args) {
    Battle& b = *battle_;
    need(args, 1, "set piece I FIELD VALUE | set cell X Y FIELD VALUE");
    if (args[0] == "piece") {
        need(args, 4, "set piece I FIELD VALUE");
        const int i = number(args[1], "the soldier index");
        if (i < 1 || i > kMaxPieces) throw ScriptError("the soldier index must be 1..160");
        PieceRecord& p = b.Pieces[i];
        const std::string& field = args[2];
        if (field == "Name") {
            p.Name = args[3].substr(0, 30);
            return;
        }
        const int v = number(args[3], "the value");
        std::map<std::string, int32_t*> ints = {{"Side", &p.Side},
                                                {"X", &p.X},
                                                {"Y", &p.Y},
                                                {"MinDifficulty", &p.MinDifficulty},
                                                {"Picture", &p.Picture},
                                                {"AP", &p.AP},
                                                {"Attack", &p.Attack},
                                                {"Shoot", &p.Shoot},
                                                {"Strength", &p.Strength},
                                                {"Toughness", &p.Toughness},
                                                {"Wounds", &p.Wounds},
                                                {"MaxWounds", &p.MaxWounds},
                                                {"Endurance", &p.Endurance},
                                                {"Fatigue", &p.Fatigue},
                                                {"Cool", &p.Cool},
                                                {"BaseAP", &p.BaseAP},
                                                {"Frame", &p.Frame},
                                                {"UnderGlyph", &p.UnderGlyph},
                                                {"TargetSize", &p.TargetSize}};
        for (int s = 1; s <= 6; ++s) ints["Items" + std::to_string(s)] = &p.Items[s];
        if (auto it = ints.find(field); it != ints.end())
            *it->second = v;
        else if (field == "Overwatch")
            p.Overwatch = v != 0;
        else if (field == "Ammo")
            p.Ammo = static_cast<uint8_t>(v);
        else
            throw ScriptError("unknown soldier field \"" + field + "\"");
        return;
    }
    if (args[0] == "cell") {
        need(args, 5, "set cell X Y FIELD VALUE");
        const int x = number(args[1], "X"), y = number(args[2], "Y");
        if (!Battle::onMap(x, y)) throw ScriptError("the square must lie in 1..80 x 1..50");
        const int v = number(args[4], "the value");
        MapCell& c = b.cell(x, y);
        if (args[3] == "Glyph" || args[3] == "Solidity") {
            if (v < 0 || v > 255) throw ScriptError(args[3] + " must be 0..255");
            (args[3] == "Glyph" ? c.Glyph : c.Solidity) = static_cast<uint8_t>(v);
        } else if (args[3] == "PathCost") {
            c.PathCost = v;
        } else {
            throw ScriptError("unknown square field \"" + args[3] + "\"");
        }
        return;
    }
    throw ScriptError("set what? \"piece\" or \"cell\"");
}

void ScriptRunner::menu(const std::vector<std::string>& args) {
    Battle& b = *battle_;
    need(args, 1, "menu NAME [PATH]");
    const std::string& entry = args[0];
    if (entry == "Savegame" || entry == "Loadgame") {
        // A relative answer names a file below the game folder.
        std::string answer = args.size() > 1 ? args[1] : "";
        if (!answer.empty() && answer[0] != '/') answer = dataDir_ + "/" + answer;
        ports_.fileAnswers.push_back(answer);
        if (entry == "Savegame")
            saveClick(b);
        else
            LoadClick(b);
        ports_.fileAnswers.clear();
        return;
    }
    if (entry == "Quit") {
        quitBattle(b);
        return;
    }
    if (entry == "ShowWounds") return ShowWoundsClick(b);
    if (entry == "ShowOverwatch") return ShowOverwatchClick(b);
    if (entry == "ShowHealers") return ShowMediKitClick(b);
    // The developer entries are hidden from the player and do nothing then.
    const std::map<std::string, std::pair<Control*, void (*)(Battle&)>> hidden = {
        {"IwannaC", {&b.controls.IwannaC1, IwannaC1Click}},
        {"Nodes", {&b.controls.Nodes1, Nodes1Click}},
        {"SetP1", {&b.controls.Setp1tocoords1, Setp1tocoords1Click}}};
    const auto it = hidden.find(entry);
    if (it == hidden.end()) throw ScriptError("unknown menu entry \"" + entry + "\"");
    if (it->second.first->visible) it->second.second(b);
}

void ScriptRunner::dump(const std::vector<std::string>& args) {
    bool withMap = false, withGlyphs = false, withPictures = false;
    for (const auto& a : args) {
        if (a == "map")
            withMap = true;
        else if (a == "glyphs")
            withGlyphs = true;
        else if (a == "pictures")
            withPictures = true;
        else
            throw ScriptError("dump takes \"map\", \"glyphs\" and \"pictures\", not \"" + a +
                              "\"");
    }
    auto j = battleJson(*battle_, withMap, withGlyphs);
    if (withPictures)
        j["pictures"] = {{"MapImage", pictureHash(battle_->MapImage)},
                         {"TerrainBitmap", pictureHash(battle_->TerrainBitmap)},
                         {"OverHeadMap", pictureHash(battle_->OverHeadMapImage)}};
    j["sounds"] = ports_.sounds;
    j["messages"] = ports_.messages;
    j["ticks"] = ports_.ticks();
    j["seed"] = battle_->rng.seed();
    j["draws"] = battle_->rng.draws();
    ports_.sounds.clear();
    ports_.messages.clear();
    out_ << j.dump() << "\n";
}

} // namespace korvath
