#pragma once
#include "game/editor/LinedText.h"
#include "game/state/Records.h"

#include <string>
#include <vector>

namespace korvath {

// Where the parts of a scenario description lie among its lines, found the
// way the game reads them: the briefing between its two marker lines, the
// unit block after ": Player 1 = human" and its heading, the equipment block
// two lines after the units' end, and the events section right after the
// equipment's end. Lines the game skips stay as they are.
struct DescLayout {
    int briefingBegin = -1; // the line ": Scenario Description", or -1
    int briefingEnd = -1;   // its closing line (or the end of the file), or -1
    int unitsBegin = 0;     // the first unit line
    int unitsEnd = 0;       // the line that ends the units ("EndPlayer2")
    int equipmentBegin = 0;
    int equipmentEnd = 0; // the line that ends the equipment (": end of file")
    int eventsBegin = -1; // the first event line, or -1 without the section
    int eventsEnd = -1;   // the line ":End Events"
};

// Throws DataError (named `name`) where the game's reader would stop.
DescLayout layoutOf(const LinedText& desc, const std::string& name);

// The description's parts read and written by the game's own line readers.
// Units are read whatever their MinDifficulty; each edit rewrites only the
// lines it changes.
class DescText {
  public:
    DescText(LinedText& text, std::string name) : text_(text), name_(std::move(name)) {}

    std::vector<PieceRecord> units() const;
    std::vector<EquipmentType> equipment() const;
    std::vector<TurnEvents> events() const;
    std::vector<std::string> briefing() const;

    void setUnit(size_t index, const PieceRecord& p); // 0-based
    void addUnit(const PieceRecord& p);
    void removeUnit(size_t index);
    void setEquipment(size_t index, const EquipmentType& e);
    void addEquipment(const EquipmentType& e);
    void setEvents(const std::vector<TurnEvents>& events);
    void setBriefing(const std::vector<std::string>& lines);

  private:
    DescLayout layout() const { return layoutOf(text_, name_); }
    LinedText& text_;
    std::string name_;
};

// A new description: the title line, the briefing, the unit heading, the
// units, the equipment heading and lines, and an empty events section.
LinedText newDescription(const std::string& title, const std::vector<EquipmentType>& equipment);

// Names, descriptions and other texts go into tab-separated lines: a tab or a
// line break in them becomes a space.
std::string oneField(const std::string& text);

} // namespace korvath
