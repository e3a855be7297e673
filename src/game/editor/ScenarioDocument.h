#pragma once
#include "game/editor/EventText.h"
#include "game/editor/ScenarioContent.h"

#include <string>
#include <vector>

namespace korvath {

// A scenario being edited: its content, the pictures it is shown with, where
// it was read from, and the steps to undo and redo. Every edit is one step;
// the edits between beginStroke and endStroke (a drag of the brush, a new
// event with its file and its turn) are one step together. Knows nothing of windows: a test drives
// it as the editor's window does.
class ScenarioDocument {
  public:
    // A copy of a scenario that comes with the game (0 Korvath, 1 Vexlar):
    // it has no folder until saved, so the shipped files are never written.
    static ScenarioDocument openShipped(const std::string& appDir, int index);
    // A player's scenario in its folder.
    static ScenarioDocument openFolder(const std::string& appDir, const std::string& folder);
    // A new scenario on the tile set of a shipped one (0 fortress, 1
    // starship), with its glyph descriptions and equipment: a floor closed
    // by walls, nobody on it yet.
    static ScenarioDocument createNew(const std::string& appDir, int tileSet,
                                      const std::string& title);

    const ScenarioContent& content() const { return content_; }
    const ScenarioPictures& pictures() const { return pictures_; }
    const std::string& appDir() const { return appDir_; }
    // Where it was read from or last saved to; "" for a copy not yet saved.
    const std::string& folder() const { return folder_; }
    // Changed since read or saved; a scenario without a folder yet (a copy,
    // a new one) is always to be saved.
    bool modified() const { return folder_.empty() || !(content_ == saved_); }

    // ---- What the game's files say ----
    std::array<GlyphTexts, kMaxGlyphs + 1> glyphTexts() const;
    std::vector<PieceRecord> soldiers() const;
    std::vector<EquipmentType> equipment() const;
    std::vector<TurnEvents> scheduledEvents() const;
    std::vector<std::string> briefing() const;
    std::vector<std::string> frontText() const { return content_.frontText.lines; }
    // An event's file as read by the game (DataError when it cannot be).
    EventContents event(const std::string& name) const;
    // The glyph whose action is "Victory!", 0 when none has it.
    int victoryGlyph() const;

    // ---- Edits ----
    void beginStroke();
    void endStroke();
    void paint(int x, int y, int glyph);
    void fill(int x, int y, int glyph);
    void rectangle(int x1, int y1, int x2, int y2, int glyph, bool outlineOnly);
    bool forceField(int x1, int y1, int x2, int y2);
    void setObjective(int x, int y);
    void setTitle(const std::string& title);
    void setBriefing(const std::vector<std::string>& lines);
    void setFrontText(const std::vector<std::string>& lines);
    void setGlyphTexts(int glyph, const std::string& description, const std::string& action);
    // A soldier for the table: the firearm with the most shots to a load in
    // hand and its ammunition in the second slot, the side's pictures in turn.
    PieceRecord newSoldier(int side) const;
    // Soldiers of the scenario's table (0-based, in file order).
    void addSoldier(const PieceRecord& p);
    void setSoldier(size_t index, const PieceRecord& p);
    void removeSoldier(size_t index);
    // Puts soldier `index` on (x, y); (0, 0) takes a Raider off the map, to
    // be placed on a start star by the player.
    void placeSoldier(size_t index, int x, int y);
    // The soldier standing on (x, y), or -1.
    int soldierAt(int x, int y) const;
    void setScheduledEvents(const std::vector<TurnEvents>& events);
    void setEvent(const std::string& name, const EventContents& e);
    void removeEvent(const std::string& name);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();

    // ---- Saving ----
    // Into the folder the scenario came from, or into `folder` (then its
    // folder from now on). ScenarioName names the files; a new name renames
    // them all.
    void saveTo(const std::string& folder, const SaveFiles& files = diskFiles());
    void setScenarioName(const std::string& name);

  private:
    ScenarioDocument() = default;
    void step(); // the content before an edit, for undo
    template <typename F> void edit(F change);
    LinedText& descLines() { return content_.desc; }
    std::string descName() const { return content_.manifest.ScenarioName + "Desc.txt"; }

    std::string appDir_;
    std::string folder_;
    ScenarioContent content_;
    ScenarioContent saved_;
    ScenarioPictures pictures_;
    std::vector<ScenarioContent> undo_, redo_;
    int strokes_ = 0; // strokes begun and not ended: they nest
};

// A ScenarioName made from a title: its letters and digits in lower case
// ("The Three Rooms" gives "thethreerooms"); "battle" when none are left.
std::string scenarioNameFor(const std::string& title);

} // namespace korvath
