#include "Script.h"

#include "ForecastJson.h"
#include "KitJson.h"
#include "MemorySpare.h"
#include "OddsJson.h"
#include "StateJson.h"
#include "engine/DataError.h"
#include "engine/ShownText.h"
#include "engine/TextFile.h"
#include "game/commands/Recording.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/display/Standing.h"
#include "game/files/ScenarioFolders.h"
#include "game/state/Fields.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

namespace korvath {

namespace {

std::vector<std::string> words(const std::string& line) {
    try {
        return scriptWords(line);
    } catch (const std::invalid_argument& e) {
        throw ScriptError(e.what());
    }
}

constexpr auto number = &wholeNumber<ScriptError>;

void need(const std::vector<std::string>& args, size_t n, const char* usage) {
    if (args.size() < n) throw ScriptError(std::string("usage: ") + usage);
}

// "HH:MM:SS.mmm" as milliseconds since midnight.
int timeOfDay(const std::string& t) {
    const int ms = parseTimeOfDay(t);
    if (ms < 0) throw ScriptError("time must be HH:MM:SS.mmm, not \"" + t + "\"");
    return ms;
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
    : dataDir_(std::move(dataDir)), out_(out), err_(err), battle_(std::make_unique<Battle>()),
      meanwhile_([this](const LaterInput& input) { later(input); }, nullptr) {
    battle_->AppDir = dataDir_;
    ports_.attach(*battle_);
    battle_->ports.watcher = &meanwhile_;
    // As in the window, the developer aids exist only when asked for.
    if (const char* dev = std::getenv("KORVATH_DEVELOPER"); dev && std::string(dev) == "1")
        battle_->developerMode = true;
}

int ScriptRunner::run(std::istream& in, const std::string& scriptName) {
    const MemorySpare spare;
    try {
        const std::vector<Line> lines = readLines(in);
        runLines(lines, 0, lines.size());
    } catch (const DataError& e) {
        err_ << scriptName << ", line " << current_ << ": " << e.what() << "\n";
        return 2;
    } catch (const ScriptError& e) {
        err_ << scriptName << ", line " << current_ << ": " << e.what() << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        err_ << scriptName << ", line " << current_ << ": out of memory\n";
        return 2;
    } catch (const std::exception& e) {
        // Anything else a script can provoke stops it the same way, never with a crash.
        err_ << scriptName << ", line " << current_ << ": " << shownText(e.what()) << "\n";
        return 2;
    }
    return 0;
}

// Every line with its words, and each "repeat" with the "end" of its block:
// one pass with a stack of the blocks open.
std::vector<ScriptRunner::Line> ScriptRunner::readLines(std::istream& in) {
    // A failure while reading (memory that ran out) stops the script instead
    // of ending it early as if it were whole.
    const auto mask = in.exceptions();
    in.exceptions(std::ios::badbit);
    std::vector<Line> lines;
    std::vector<size_t> open;
    int lineNo = 0;
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        Line line{++lineNo, text, {}, {}, 0, false};
        try {
            line.words = words(text);
        } catch (const ScriptError& e) {
            line.badWords = e.what();
        }
        const std::string first = line.words.empty() ? "" : line.words[0];
        if (first == "repeat") {
            line.tooDeep = open.size() >= kDeepestRepeat;
            open.push_back(lines.size());
        } else if (first == "end" && !open.empty()) {
            lines[open.back()].end = lines.size();
            open.pop_back();
        }
        lines.push_back(std::move(line));
    }
    in.exceptions(mask);
    return lines;
}

const std::vector<std::string>& ScriptRunner::wordsOf(const Line& line) const {
    if (!line.badWords.empty()) throw ScriptError(line.badWords);
    return line.words;
}

// Runs lines [from, to). "repeat N" runs the lines up to its "end" N times,
// but starts no pass once the battle is decided or its window has closed:
// End Turn would close a decided battle and lose the state to be dumped.
void ScriptRunner::runLines(const std::vector<Line>& lines, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        current_ = lines[i].number;
        const auto& w = wordsOf(lines[i]);
        if (!w.empty() && w[0] == "meanwhile")
            throw ScriptError("\"meanwhile\" follows a command of the battle");
        if (w.empty() || w[0] != "repeat") {
            const size_t last = expectMeanwhile(lines, i, to);
            command(lines[i].text);
            // The command lived on the spare: the script ends here.
            if (MemorySpare::ranShort()) throw std::bad_alloc();
            checkMeanwhileCame();
            i = last;
            continue;
        }
        if (w.size() != 2) throw ScriptError("usage: repeat N ... end");
        const int times = number(w[1], "the count");
        if (times < 0) throw ScriptError("the count must not be negative");
        if (lines[i].tooDeep)
            throw ScriptError("\"repeat\" blocks nest at most " + std::to_string(kDeepestRepeat) +
                              " deep");
        const size_t end = lines[i].end;
        if (end == 0) throw ScriptError("\"repeat\" without its \"end\"");
        for (int pass = 0; pass < times && !decided(); ++pass) runLines(lines, i + 1, end);
        i = end;
    }
}

// The "meanwhile" lines after the command at line i are handed to the
// command's waits; returns the last of them (i when there are none).
size_t ScriptRunner::expectMeanwhile(const std::vector<Line>& lines, size_t i, size_t to) {
    std::vector<LaterInput> input;
    size_t last = i;
    for (size_t k = i + 1; k < to; ++k) {
        current_ = lines[k].number;
        const auto& w = wordsOf(lines[k]);
        if (w.empty()) continue;
        if (w[0] != "meanwhile") break;
        if (w.size() < 3) throw ScriptError("usage: meanwhile N COMMAND ...");
        const int moment = number(w[1], "the moment");
        if (moment < 1) throw ScriptError("the moment must be 1 or more");
        if (!findCommand(w[2])) throw ScriptError("unknown command \"" + w[2] + "\"");
        if (!input.empty() && moment < input.back().moment)
            throw ScriptError("the moments of \"meanwhile\" lines must not go back");
        input.push_back({lines[k].number, moment, {w.begin() + 2, w.end()}});
        last = k;
    }
    current_ = lines[i].number;
    meanwhile_.expect(std::move(input));
    return last;
}

void ScriptRunner::checkMeanwhileCame() {
    if (meanwhile_.left().empty()) return;
    // A battle that has closed takes no more input.
    if (!battle_->windowOpen) return meanwhile_.expect({});
    const LaterInput missed = meanwhile_.left().front();
    current_ = missed.line;
    meanwhile_.expect({});
    throw ScriptError("the command before never let input through " +
                      std::to_string(missed.moment) + " times");
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
        need(args, 1, "time HH:MM:SS.mmm [HH:MM:SS.mmm ...]");
        std::vector<int> times;
        for (const auto& t : args) times.push_back(timeOfDay(t));
        return ports_.times.set(times);
    }
    if (verb == "replay") return replay(args);
    if (verb == "seed") {
        need(args, 1, "seed N");
        long long v = 0;
        std::istringstream in(args[0]);
        if (!(in >> v) || !in.eof() || v < 0 || v > 0xffffffffLL)
            throw ScriptError("the seed must be a number 0..4294967295");
        battle_->rng.setSeed(static_cast<uint32_t>(v));
        battle_->undo.end(UndoBarrier::Other);
        return;
    }
    if (verb == "dump") return dump(args);
    if (verb == "events") return events(args);
    if (verb == "forecast" || verb == "threats" || verb == "gridplan" || verb == "standing" ||
        verb == "feed" || verb == "odds" || verb == "healplan" || verb == "kitclick")
        return question(verb, args);
    if (verb == "end") throw ScriptError("\"end\" without its \"repeat\"");
    if (verb != "set" && !findCommand(verb)) throw ScriptError("unknown command \"" + verb + "\"");
    if (!battle_->windowOpen) {
        err_ << "note: no battle window is open; \"" << line << "\" ignored\n";
        return;
    }
    if (verb == "set") {
        // Changed behind the rules' back: nothing before it can be taken back.
        battle_->undo.end(UndoBarrier::Other);
        return set(args);
    }
    if ((verb == "undo" && !battle_->undo.canUndo()) ||
        (verb == "redo" && !battle_->undo.canRedo()))
        err_ << "note: nothing to " << verb << "; \"" << line << "\" does nothing\n";
    try {
        runCommand(*battle_, w);
    } catch (const CommandError& e) {
        throw ScriptError(e.what());
    }
}

ScriptRunner::~ScriptRunner() {
    if (scratch_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(scratch_, error);
}

// Input that came while the command before let the window handle messages.
void ScriptRunner::later(const LaterInput& input) {
    const int outer = std::exchange(current_, input.line);
    try {
        runCommand(*battle_, input.words);
    } catch (const CommandError& e) {
        throw ScriptError(e.what());
    }
    current_ = outer;
}

// "replay 1": a recorded battle. Its file dialogs answer from its own lines,
// and what it saves goes to a folder of its own, never over the player's sets.
void ScriptRunner::replay(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0] != "1")
        throw ScriptError("this replay was written by another version of the game (\"replay 1\" "
                          "is the one this game plays)");
    if (replayDialogs_) return;
    try {
        scratch_ = makeScratchFolder();
    } catch (const CommandError& e) {
        throw ScriptError(e.what());
    }
    replayDialogs_ = std::make_unique<ReplayDialogs>(ports_, scratch_);
    battle_->ports.dialogs = replayDialogs_.get();
}

void ScriptRunner::adopt(const Battle& b) {
    *battle_ = b;
    ports_ = HeadlessPorts();
    ports_.attach(*battle_);
    battle_->ports.watcher = &meanwhile_;
    meanwhile_.expect({});
    replayDialogs_.reset();
    if (scratch_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(scratch_, error);
    scratch_.clear();
}

void ScriptRunner::start(const std::vector<std::string>& args) {
    need(args, 1, "start korvath|vexlar|FOLDER [DIFFICULTY]");
    const int difficulty = args.size() > 1 ? number(args[1], "the difficulty") : 3;
    if (difficulty < 1 || difficulty > 8) throw ScriptError("the difficulty must be 1..8");
    // A player's scenario is named by its folder; its manifest is read first,
    // so a bad one stops the script before the running battle changes.
    std::optional<FoundScenario> own;
    if (args[0] != "korvath" && args[0] != "vexlar") {
        if (!std::filesystem::is_directory(args[0]))
            throw ScriptError("unknown scenario \"" + args[0] +
                              "\" (korvath, vexlar or the folder of a scenario)");
        own = readScenarioFolder(std::filesystem::absolute(args[0]).lexically_normal().string());
    }

    Battle& b = *battle_;
    if (b.windowOpen) closeBattle(b);
    if (own)
        chooseScenario(b, own->manifest, own->folder, difficulty);
    else
        chooseScenario(b, args[0] == "korvath" ? ScenarioId::Korvath : ScenarioId::Vexlar,
                       difficulty);
    createBattle(b);
    showBattle(b);
    activateBattle(b);
}

void ScriptRunner::set(const std::vector<std::string>& args) {
    Battle& b = *battle_;
    need(args, 1, "set piece I FIELD VALUE | set cell X Y FIELD VALUE");
    if (args[0] == "piece") {
        need(args, 4, "set piece I FIELD VALUE");
        const int i = number(args[1], "the soldier index");
        if (i < 1 || i > kMaxPieces) throw ScriptError("the soldier index must be 1..160");
        const PieceField* f = findField(pieceFields(), args[2]);
        if (!f) throw ScriptError("unknown soldier field \"" + args[2] + "\"");
        if (f->kind == FieldKind::Text) {
            f->setText(b.Pieces[i], args[3].substr(0, f->maxLength));
            return;
        }
        PieceRecord p = b.Pieces[i];
        f->set(p, number(args[3], "the value"));
        if (const std::string problem = outOfRange(*f, p); !problem.empty())
            throw ScriptError(problem);
        b.Pieces[i] = p;
        return;
    }
    if (args[0] == "cell") {
        need(args, 5, "set cell X Y FIELD VALUE");
        const int x = number(args[1], "X"), y = number(args[2], "Y");
        if (!Battle::onMap(x, y)) throw ScriptError("the square must lie in 1..80 x 1..50");
        const CellField* f = findField(cellFields(), args[3]);
        if (!f) throw ScriptError("unknown square field \"" + args[3] + "\"");
        const int v = number(args[4], "the value");
        if (f->kind == FieldKind::Byte && (v < 0 || v > 255))
            throw ScriptError(args[3] + " must be 0..255");
        f->set(b.cell(x, y), v);
        return;
    }
    throw ScriptError("set what? \"piece\" or \"cell\"");
}

// "forecast X Y", "odds MX MY", "threats", "gridplan ROW", "healplan MX MY", "kitclick MX MY",
// "standing" and "feed": questions that change nothing, answered with one JSON line.
void ScriptRunner::question(const std::string& verb, const std::vector<std::string>& args) {
    nlohmann::json j;
    if (verb == "odds") {
        // In the order the fields are told, not sorted.
        if (args.size() != 2) throw ScriptError("usage: odds MX MY");
        out_ << oddsJson(*battle_, wholeNumber<ScriptError>(args[0], "MX"),
                         wholeNumber<ScriptError>(args[1], "MY"))
                    .dump()
             << "\n";
        if (!out_.flush()) throw ScriptError("the answer could not be written out");
        return;
    }
    if (verb == "forecast") {
        if (args.size() != 2) throw ScriptError("usage: forecast X Y");
        const int x = wholeNumber<ScriptError>(args[0], "X");
        const int y = wholeNumber<ScriptError>(args[1], "Y");
        j = forecastJson(*battle_, x, y);
    } else if (verb == "feed") {
        if (!args.empty()) throw ScriptError("usage: feed");
        nlohmann::json lines = nlohmann::json::array();
        for (const FeedLine& l : events_.feed.lines())
            lines.push_back(
                {{"text", l.text}, {"side", l.side}, {"square", {l.square.x, l.square.y}}});
        j = {{"feed", lines}};
    } else if (verb == "standing") {
        if (!args.empty()) throw ScriptError("usage: standing");
        j = {{"standing", standingLine(*battle_)}};
    } else if (verb == "healplan") {
        if (args.size() != 2) throw ScriptError("usage: healplan MX MY");
        j = healPlanJson(*battle_, wholeNumber<ScriptError>(args[0], "MX"),
                         wholeNumber<ScriptError>(args[1], "MY"));
    } else if (verb == "kitclick") {
        if (args.size() != 2) throw ScriptError("usage: kitclick MX MY");
        j = kitClickJson(*battle_, wholeNumber<ScriptError>(args[0], "MX"),
                         wholeNumber<ScriptError>(args[1], "MY"));
    } else if (verb == "gridplan") {
        if (args.size() != 1) throw ScriptError("usage: gridplan ROW");
        j = gridPlanJson(*battle_, wholeNumber<ScriptError>(args[0], "ROW"));
    } else {
        if (!args.empty()) throw ScriptError("usage: threats");
        j = threatsJson(*battle_);
    }
    out_ << j.dump() << "\n";
    if (!out_.flush()) throw ScriptError("the answer could not be written out");
}

// "events on": each dump lists the battle events since the one before.
void ScriptRunner::events(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
        throw ScriptError("usage: events on|off");
    events_.seen.clear();
    events_.feed.clear();
    events_.battle = battle_.get();
    battle_->ports.events = args[0] == "on" ? &events_ : nullptr;
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
            throw ScriptError("dump takes \"map\", \"glyphs\" and \"pictures\", not \"" + a + "\"");
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
    if (battle_->ports.events == &events_) {
        nlohmann::json list = nlohmann::json::array();
        for (const BattleEvent& e : events_.seen)
            if (nlohmann::json one = eventJson(e); !one.is_null()) list.push_back(std::move(one));
        j["events"] = std::move(list);
        events_.seen.clear();
    }
    ports_.sounds.clear();
    ports_.messages.clear();
    showTexts(j);
    out_ << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    // A state that never got out is no success (a full disk, a closed pipe).
    if (!out_.flush()) throw ScriptError("the state could not be written out");
}

} // namespace korvath
