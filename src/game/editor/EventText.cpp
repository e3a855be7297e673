#include "game/editor/EventText.h"

#include "engine/TextFile.h"
#include "game/editor/RecordLines.h"
#include "game/files/ScenarioFiles.h"

namespace korvath {

EventContents readEventText(const LinedText& text, const std::string& name) {
    EventContents e;
    TextFile f = text.asFile(name);
    std::string line = f.readLine();
    if (line == ":Mapchanges") {
        f.readLine(); // heading
        line = f.readLine();
        do {
            const auto fields = splitTabs(line, 3);
            if (fields.size() != 3)
                f.fail("a map change needs column, row and glyph separated by tabs");
            MapChange c{f.toInt(fields[0], "the column"), f.toInt(fields[1], "the row"),
                        f.toInt(fields[2], "the glyph")};
            if (c.x < 1 || c.x > kMapWidth || c.y < 1 || c.y > kMapHeight)
                f.fail("the square is outside the map (1..80, 1..50)");
            if (c.glyph < 1 || c.glyph > kMaxGlyphs) f.fail("the glyph is not 1..255");
            e.changes.push_back(c);
            line = f.readLine();
        } while (line != ":EndMapChanges");
    }
    line = f.readLine();
    if (line == ":Reinforcements") {
        line = f.readLine();
        do {
            e.reinforcements.push_back(parseUnitLine(f, line));
            line = f.readLine();
        } while (line != ":EndReinforcements" && !line.empty());
    }
    return e;
}

LinedText eventText(const EventContents& e) {
    std::vector<std::string> lines;
    if (e.changes.empty()) {
        lines.push_back("No map changes");
    } else {
        lines.push_back(":Mapchanges");
        lines.push_back("Column\tRow\tGlyph");
        for (const MapChange& c : e.changes)
            lines.push_back(std::to_string(c.x) + "\t" + std::to_string(c.y) + "\t" +
                            std::to_string(c.glyph));
        lines.push_back(":EndMapChanges");
    }
    if (!e.reinforcements.empty()) {
        lines.push_back(":Reinforcements");
        for (const PieceRecord& p : e.reinforcements) lines.push_back(unitLine(p));
        lines.push_back(":EndReinforcements");
    }
    return LinedText::ofLines(std::move(lines));
}

} // namespace korvath
