#include "game/editor/ScenarioDocument.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/editor/DescText.h"
#include "game/editor/MapEdits.h"

#include <cctype>
#include <stdexcept>

namespace korvath {

namespace {

constexpr size_t kUndoSteps = 200;

} // namespace

std::string scenarioNameFor(const std::string& title) {
    std::string name;
    for (const char c : title)
        if (std::isalnum(static_cast<unsigned char>(c)) && name.size() < 40)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.empty() ? "battle" : name;
}

ScenarioDocument ScenarioDocument::openShipped(const std::string& appDir, int index) {
    ScenarioDocument d;
    d.appDir_ = appDir;
    d.content_ = readShippedScenario(appDir, index);
    d.pictures_ = readScenarioPictures(appDir, {}, d.content_.manifest);
    d.saved_ = d.content_;
    return d;
}

ScenarioDocument ScenarioDocument::openFolder(const std::string& appDir,
                                              const std::string& folder) {
    ScenarioDocument d;
    d.appDir_ = appDir;
    d.folder_ = folder;
    d.content_ = readScenarioContent(folder); // a save cut short finished first
    d.pictures_ = readScenarioPictures(appDir, folder, d.content_.manifest);
    d.saved_ = d.content_;
    return d;
}

ScenarioDocument ScenarioDocument::createNew(const std::string& appDir, int tileSet,
                                             const std::string& title) {
    ScenarioDocument d;
    d.appDir_ = appDir;
    const ScenarioContent shipped = readShippedScenario(appDir, tileSet);
    LinedText shippedDesc = shipped.desc;
    const auto equipment = DescText(shippedDesc, "desc").equipment();

    ScenarioContent& c = d.content_;
    c.manifest = shipped.manifest;
    c.manifest.Title = oneField(title);
    c.manifest.ScenarioName = scenarioNameFor(title);
    c.manifest.ObjectiveX = 40;
    c.manifest.ObjectiveY = 25;
    c.glyphDesc = shipped.glyphDesc;
    d.pictures_ = readScenarioPictures(appDir, {}, c.manifest);
    // The tile set's pictures and words, without the shipped battle's events.
    const auto texts = d.glyphTexts();
    for (int g = 1; g <= kLastTileGlyph; ++g) {
        if (texts[g].Action.rfind("event", 0) == 0) d.setGlyphTexts(g, texts[g].Description, "");
    }
    c.desc = newDescription(c.manifest.Title, equipment);
    c.frontText = LinedText::ofLines({c.manifest.Title, "", "A battle of your own making."});
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) c.map[x][y] = {kFloorGlyph, 0, 0};
    const WallJoins& joins = d.pictures_.joins;
    const int wall = joins.families.empty() ? 1 : joins.families.front();
    MapEdits(c.map, joins).rectangle(1, 1, kMapWidth, kMapHeight, wall, true);
    d.setBriefing({"Your orders:", " ", "Write the briefing of your battle here."});
    d.undo_.clear();
    d.saved_ = d.content_;
    return d;
}

std::array<GlyphTexts, kMaxGlyphs + 1> ScenarioDocument::glyphTexts() const {
    std::array<GlyphTexts, kMaxGlyphs + 1> texts{};
    TextFile f = content_.glyphDesc.asFile(content_.manifest.ScenarioName + "GlyphDesc.txt");
    applyGlyphFile(f, texts);
    return texts;
}

std::vector<PieceRecord> ScenarioDocument::soldiers() const {
    LinedText d = content_.desc;
    return DescText(d, descName()).units();
}

std::vector<EquipmentType> ScenarioDocument::equipment() const {
    LinedText d = content_.desc;
    return DescText(d, descName()).equipment();
}

std::vector<TurnEvents> ScenarioDocument::scheduledEvents() const {
    LinedText d = content_.desc;
    return DescText(d, descName()).events();
}

std::vector<std::string> ScenarioDocument::briefing() const {
    LinedText d = content_.desc;
    return DescText(d, descName()).briefing();
}

EventContents ScenarioDocument::event(const std::string& name) const {
    const auto it = content_.events.find(name);
    if (it == content_.events.end()) return {};
    return readEventText(it->second, content_.manifest.ScenarioName + name + ".txt");
}

int ScenarioDocument::victoryGlyph() const {
    const auto texts = glyphTexts();
    for (int g = 1; g <= kMaxGlyphs; ++g)
        if (texts[g].Action == "Victory!") return g;
    return 0;
}

template <typename F> void ScenarioDocument::edit(F change) {
    ScenarioContent before = content_;
    try {
        change();
    } catch (...) {
        content_ = std::move(before);
        throw;
    }
    if (strokes_ > 0 || content_ == before) return;
    undo_.push_back(std::move(before));
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
    redo_.clear();
}

void ScenarioDocument::beginStroke() {
    if (strokes_++ == 0) undo_.push_back(content_);
}

void ScenarioDocument::endStroke() {
    if (strokes_ == 0 || --strokes_ > 0) return;
    if (undo_.back() == content_) {
        undo_.pop_back();
        return;
    }
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
    redo_.clear();
}

void ScenarioDocument::paint(int x, int y, int glyph) {
    edit([&] { MapEdits(content_.map, pictures_.joins).paint(x, y, glyph); });
}

void ScenarioDocument::fill(int x, int y, int glyph) {
    edit([&] { MapEdits(content_.map, pictures_.joins).fill(x, y, glyph); });
}

void ScenarioDocument::rectangle(int x1, int y1, int x2, int y2, int glyph, bool outlineOnly) {
    edit([&] {
        MapEdits(content_.map, pictures_.joins).rectangle(x1, y1, x2, y2, glyph, outlineOnly);
    });
}

bool ScenarioDocument::forceField(int x1, int y1, int x2, int y2) {
    bool laid = false;
    edit([&] { laid = MapEdits(content_.map, pictures_.joins).forceField(x1, y1, x2, y2); });
    return laid;
}

void ScenarioDocument::setObjective(int x, int y) {
    if (!MapEdits::onMap(x, y)) return;
    edit([&] {
        content_.manifest.ObjectiveX = x;
        content_.manifest.ObjectiveY = y;
    });
}

void ScenarioDocument::setTitle(const std::string& title) {
    if (oneField(title).empty()) return;
    edit([&] { content_.manifest.Title = oneField(title); });
}

void ScenarioDocument::setBriefing(const std::vector<std::string>& lines) {
    edit([&] { DescText(content_.desc, descName()).setBriefing(lines); });
}

void ScenarioDocument::setFrontText(const std::vector<std::string>& lines) {
    edit([&] { content_.frontText.lines = lines; });
}

void ScenarioDocument::setGlyphTexts(int glyph, const std::string& description,
                                     const std::string& action) {
    if (glyph < 1 || glyph > kLastTileGlyph) return;
    edit([&] {
        auto& lines = content_.glyphDesc.lines;
        if (lines.size() < static_cast<size_t>(glyph)) lines.resize(glyph);
        std::string& line = lines[glyph - 1];
        // The text before the first tab is the glyph's number; it stays.
        std::string first = line.substr(0, line.find('\t'));
        if (line.find('\t') == std::string::npos) first = std::to_string(glyph);
        line = first + "\t" + oneField(description) + "\t" + oneField(action);
    });
}

PieceRecord ScenarioDocument::newSoldier(int side) const {
    const auto all = soldiers();
    const auto items = equipment();
    const bool raider = side == Side::Raiders;
    int count = 0;
    for (const PieceRecord& s : all) count += s.Side == side;
    PieceRecord p;
    p.Name = (raider ? "Raider " : "Operative ") + std::to_string(count + 1);
    p.Side = side;
    p.MinDifficulty = 1;
    p.Picture = (raider ? 1 : 9) + count % 8;
    p.AP = 20;
    p.BaseAP = raider ? 16 : 14;
    p.Attack = 45;
    p.Shoot = raider ? 62 : 48;
    p.Strength = raider ? 5 : 4;
    p.Toughness = 5;
    p.Wounds = raider ? 12 : 9;
    p.Endurance = 7;
    p.Cool = raider ? 65 : 50;
    p.TargetSize = 20;
    // The firearm with the most shots to a load: the computer never reloads.
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Kind == "Firearm" &&
            (!p.Items[1] || items[i].Capacity > items[p.Items[1] - 1].Capacity))
            p.Items[1] = static_cast<int>(i + 1);
    for (size_t i = 0; p.Items[1] && i < items.size() && !p.Items[2]; ++i)
        if (items[i].Kind == "Ammo" &&
            items[i].Value == std::to_string(items[p.Items[1] - 1].AmmoType))
            p.Items[2] = static_cast<int>(i + 1);
    return p;
}

void ScenarioDocument::addSoldier(const PieceRecord& p) {
    edit([&] { DescText(content_.desc, descName()).addUnit(p); });
}

void ScenarioDocument::setSoldier(size_t index, const PieceRecord& p) {
    edit([&] { DescText(content_.desc, descName()).setUnit(index, p); });
}

void ScenarioDocument::removeSoldier(size_t index) {
    edit([&] { DescText(content_.desc, descName()).removeUnit(index); });
}

void ScenarioDocument::placeSoldier(size_t index, int x, int y) {
    if (!(x == 0 && y == 0) && !MapEdits::onMap(x, y)) return;
    auto all = soldiers();
    if (index >= all.size()) return;
    all[index].X = x;
    all[index].Y = y;
    setSoldier(index, all[index]);
}

int ScenarioDocument::soldierAt(int x, int y) const {
    const auto all = soldiers();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].X == x && all[i].Y == y) return static_cast<int>(i);
    return -1;
}

void ScenarioDocument::setScheduledEvents(const std::vector<TurnEvents>& events) {
    edit([&] { DescText(content_.desc, descName()).setEvents(events); });
}

void ScenarioDocument::setEvent(const std::string& name, const EventContents& e) {
    if (name.empty() || !isPlainFileName(content_.manifest.ScenarioName + name + ".txt"))
        throw std::invalid_argument("\"" + name + "\" cannot name an event file");
    edit([&] { content_.events[name] = eventText(e); });
}

void ScenarioDocument::removeEvent(const std::string& name) {
    edit([&] { content_.events.erase(name); });
}

void ScenarioDocument::undo() {
    if (undo_.empty() || strokes_ > 0) return;
    redo_.push_back(std::move(content_));
    content_ = std::move(undo_.back());
    undo_.pop_back();
}

void ScenarioDocument::redo() {
    if (redo_.empty() || strokes_ > 0) return;
    undo_.push_back(std::move(content_));
    content_ = std::move(redo_.back());
    redo_.pop_back();
}

void ScenarioDocument::setScenarioName(const std::string& name) {
    if (!isScenarioName(name))
        throw std::invalid_argument("\"" + name +
                                    "\" cannot name the files: letters, digits, '_' or '-'");
    edit([&] { content_.manifest.ScenarioName = name; });
}

void ScenarioDocument::saveTo(const std::string& folder, const SaveFiles& files) {
    edit([&] {
        if (content_.manifest.FrontText.empty()) content_.manifest.FrontText = kFrontTextFile;
    });
    writeScenario(content_, pictures_, folder, files);
    folder_ = folder;
    saved_ = content_;
}

} // namespace korvath
