#include "game/editor/DescText.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/editor/RecordLines.h"
#include "game/files/ScenarioFiles.h"

namespace korvath {

namespace {

const char* const kBriefingBegin = ": Scenario Description";
const char* const kBriefingEnd = ": end of scenario description";
const char* const kPlayerLine = ": Player 1 = human";
const char* const kUnitsEnd = "EndPlayer2";
const char* const kEquipmentEnd = ": end of file";
const char* const kEventsBegin = ":Events";
const char* const kEventsEnd = ":End Events";

int find(const std::vector<std::string>& lines, const std::string& what, int from) {
    for (int i = from; i < static_cast<int>(lines.size()); ++i)
        if (lines[i] == what) return i;
    return -1;
}

// The game's reader placed on line `index` (0-based), so that what it finds
// wrong there is told with that line's number.
TextFile readerAt(const LinedText& text, const std::string& name, int index) {
    TextFile f = text.asFile(name);
    for (int i = 0; i <= index; ++i) f.readLine();
    return f;
}

} // namespace

std::string oneField(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return out;
}

DescLayout layoutOf(const LinedText& desc, const std::string& name) {
    const auto& lines = desc.lines;
    const int n = static_cast<int>(lines.size());
    DescLayout l;
    l.briefingBegin = find(lines, kBriefingBegin, 0);
    if (l.briefingBegin >= 0) {
        l.briefingEnd = find(lines, kBriefingEnd, l.briefingBegin + 1);
        if (l.briefingEnd < 0) l.briefingEnd = n;
    }
    const int player = find(lines, kPlayerLine, 0);
    if (player < 0) throw DataError(name, n, "the line \": Player 1 = human\" is missing");
    auto blockEnd = [&](int from, const char* end) {
        int i = std::min(from, n);
        while (i < n && lines[i] != end && !lines[i].empty()) ++i;
        return i;
    };
    l.unitsBegin = std::min(player + 2, n);
    l.unitsEnd = blockEnd(l.unitsBegin, kUnitsEnd);
    l.equipmentBegin = std::min(l.unitsEnd + 3, n);
    l.equipmentEnd = blockEnd(l.equipmentBegin, kEquipmentEnd);
    if (l.equipmentEnd + 1 < n && lines[l.equipmentEnd + 1] == kEventsBegin) {
        l.eventsBegin = l.equipmentEnd + 2;
        l.eventsEnd = find(lines, kEventsEnd, l.eventsBegin);
        if (l.eventsEnd < 0) throw DataError(name, n, "the line \":End Events\" is missing");
    }
    return l;
}

std::vector<PieceRecord> DescText::units() const {
    const DescLayout l = layout();
    std::vector<PieceRecord> out;
    for (int i = l.unitsBegin; i < l.unitsEnd; ++i)
        out.push_back(parseUnitLine(readerAt(text_, name_, i), text_.lines[i]));
    return out;
}

std::vector<EquipmentType> DescText::equipment() const {
    const DescLayout l = layout();
    std::vector<EquipmentType> out;
    for (int i = l.equipmentBegin; i < l.equipmentEnd; ++i)
        out.push_back(parseEquipmentLine(readerAt(text_, name_, i), text_.lines[i]));
    return out;
}

std::vector<TurnEvents> DescText::events() const {
    const DescLayout l = layout();
    std::vector<TurnEvents> out;
    for (int i = l.eventsBegin; i >= 0 && i < l.eventsEnd; ++i) {
        const TextFile f = readerAt(text_, name_, i);
        const auto fields = splitTabs(text_.lines[i], 2);
        if (fields.size() < 2) f.fail("the event line needs a turn and a name");
        out.push_back({f.toInt(fields[0], "the event's turn"), fields[1]});
    }
    return out;
}

std::vector<std::string> DescText::briefing() const {
    const DescLayout l = layout();
    if (l.briefingBegin < 0) return {};
    return {text_.lines.begin() + l.briefingBegin + 1, text_.lines.begin() + l.briefingEnd};
}

void DescText::setUnit(size_t index, const PieceRecord& p) {
    const DescLayout l = layout();
    std::string& line = text_.lines.at(l.unitsBegin + index);
    PieceRecord clean = p;
    clean.Name = oneField(p.Name);
    line = unitLine(clean, line);
}

void DescText::addUnit(const PieceRecord& p) {
    const DescLayout l = layout();
    PieceRecord clean = p;
    clean.Name = oneField(p.Name);
    text_.lines.insert(text_.lines.begin() + l.unitsEnd, unitLine(clean));
}

void DescText::removeUnit(size_t index) {
    const DescLayout l = layout();
    text_.lines.erase(text_.lines.begin() + l.unitsBegin + index);
}

void DescText::setEquipment(size_t index, const EquipmentType& e) {
    const DescLayout l = layout();
    std::string& line = text_.lines.at(l.equipmentBegin + index);
    line = equipmentLine(e, line);
}

void DescText::addEquipment(const EquipmentType& e) {
    const DescLayout l = layout();
    text_.lines.insert(text_.lines.begin() + l.equipmentEnd, equipmentLine(e));
}

void DescText::setEvents(const std::vector<TurnEvents>& events) {
    DescLayout l = layout();
    auto& lines = text_.lines;
    if (l.eventsBegin < 0) {
        if (events.empty()) return;
        if (l.equipmentEnd >= static_cast<int>(lines.size())) lines.push_back(kEquipmentEnd);
        lines.insert(lines.begin() + l.equipmentEnd + 1, {kEventsBegin, kEventsEnd});
        l = layout();
    }
    lines.erase(lines.begin() + l.eventsBegin, lines.begin() + l.eventsEnd);
    std::vector<std::string> out;
    for (const TurnEvents& e : events)
        out.push_back(std::to_string(e.Turn) + "\t" + oneField(e.EventName));
    lines.insert(lines.begin() + l.eventsBegin, out.begin(), out.end());
}

void DescText::setBriefing(const std::vector<std::string>& briefing) {
    // A briefing line that reads like a marker would end the text early.
    std::vector<std::string> shown;
    for (const std::string& line : briefing) {
        const std::string clean = oneField(line);
        shown.push_back(clean == kBriefingEnd || clean == kPlayerLine ? " " + clean : clean);
    }
    DescLayout l = layout();
    auto& lines = text_.lines;
    if (l.briefingBegin < 0) {
        lines.insert(lines.begin(), {kBriefingBegin, kBriefingEnd});
        l = layout();
    } else if (l.briefingEnd == static_cast<int>(lines.size())) {
        // Without its closing line the briefing ran on to the end of the
        // file, over the units: it is closed right after its first line.
        lines.insert(lines.begin() + l.briefingBegin + 1, kBriefingEnd);
        l = layout();
    }
    lines.erase(lines.begin() + l.briefingBegin + 1, lines.begin() + l.briefingEnd);
    lines.insert(lines.begin() + l.briefingBegin + 1, shown.begin(), shown.end());
}

LinedText newDescription(const std::string& title, const std::vector<EquipmentType>& equipment) {
    std::vector<std::string> lines = {
        oneField(title) + " - scenario file",
        kBriefingBegin,
        kBriefingEnd,
        " ",
        kPlayerLine,
        "Name\tSide\tX\tY\tMinDifficulty\tPicture\tAP\tBaseAP\tAttack\tShoot\tStrength\t"
        "Toughness\tWounds\tEndurance\tFatigue\tCool\tItem1\tItem2\tItem3\tItem4\tItem5\tItem6\t"
        "TargetSize",
        kUnitsEnd,
        "Equipment: one line per type, type 1 first",
        "(the aimed shot cost comes before the quick shot cost)"};
    for (const EquipmentType& e : equipment) lines.push_back(equipmentLine(e));
    lines.push_back(kEquipmentEnd);
    return LinedText::ofLines(std::move(lines));
}

} // namespace korvath
