#include "StateJson.h"

#include "engine/ShownText.h"
#include "game/state/Fields.h"

#include <type_traits>

namespace korvath {

using nlohmann::json;

namespace {

// A record by its field table; a soldier's item slots as one array "Items".
template <typename R> json recordJson(const std::vector<Field<R>>& fields, const R& r) {
    json j = json::object();
    json items = json::array();
    for (const Field<R>& f : fields) {
        if constexpr (std::is_same_v<R, PieceRecord>)
            if (itemSlotOf(f)) {
                items.push_back(f.get(r));
                continue;
            }
        if (f.kind == FieldKind::Text)
            j[f.name] = f.text(r);
        else if (f.kind == FieldKind::Flag)
            j[f.name] = f.get(r) != 0;
        else
            j[f.name] = f.get(r);
    }
    if (!items.empty()) j["Items"] = std::move(items);
    return j;
}

} // namespace

void showTexts(json& j) {
    if (j.is_string())
        j = shownText(j.get_ref<const std::string&>());
    else if (j.is_structured())
        for (auto& e : j) showTexts(e);
}

json pieceJson(const PieceRecord& p) {
    return recordJson(pieceFields(), p);
}

namespace {

json controlJson(const Control& c) {
    using K = Control::Kind;
    json j = {{"enabled", c.enabled}, {"visible", c.visible}};
    switch (c.kind) {
    case K::Button:
    case K::Radio:
    case K::MenuEntry:
        j["down"] = c.down;
        j["text"] = c.text;
        break;
    case K::Grid:
    case K::List:
        j["rows"] = c.rows;
        j["row"] = c.row;
        break;
    case K::Memo:
        j["lines"] = c.lines;
        break;
    case K::Picture: // a picture only shows or not
        return {{"visible", c.visible}};
    case K::ScrollBar:
        j["min"] = c.min;
        j["max"] = c.max;
        j["position"] = c.position;
        break;
    default:
        j["text"] = c.text;
    }
    return j;
}

} // namespace

json battleJson(Battle& b, bool withMap, bool withGlyphs) {
    b.showRuleState();
    json j;
    j["TurnNumber"] = b.TurnNumber;
    j["HumanTurn"] = b.HumanTurn;
    j["GameOver"] = b.GameOver;
    j["CurrentSide"] = b.CurrentSide;
    j["Difficulty"] = b.Difficulty;
    j["ScenarioName"] = b.ScenarioName;
    j["SelectedPiece"] = b.SelectedPiece;
    j["PieceSelected"] = b.PieceSelected;
    j["FireMode"] = b.FireMode;
    j["HandFightMode"] = b.HandFightMode;
    j["MapClicksEnabled"] = b.MapClicksEnabled;
    j["StopRequested"] = b.StopRequested;
    j["SelectedItemSlot"] = b.SelectedItemSlot;
    j["RecentPieces"] = std::vector<int>(b.RecentPieces.begin() + 1, b.RecentPieces.end());
    j["RecentIndex"] = b.RecentIndex;
    j["InfoLabel"] = b.controls.InfoLabel.text;
    j["DescLabel"] = b.controls.DescLabel.text;
    j["log"] = b.controls.WhatisHappening.lines;

    json pieces = json::array();
    for (int i = 1; i <= kMaxPieces; ++i) {
        if (b.Pieces[i].Name.empty()) continue;
        json p = pieceJson(b.Pieces[i]);
        p["index"] = i;
        pieces.push_back(std::move(p));
    }
    j["Pieces"] = std::move(pieces);

    json controls = json::object();
    for (auto& [name, c] : b.controls.all()) controls[name] = controlJson(*c);
    j["controls"] = std::move(controls);

    json events = json::array();
    const int count = std::clamp(b.TurnEventList[0].Turn, 0, kMaxEvents);
    for (int i = 1; i <= count; ++i)
        events.push_back(
            {{"Turn", b.TurnEventList[i].Turn}, {"EventName", b.TurnEventList[i].EventName}});
    j["TurnEventList"] = std::move(events);

    json equipment = json::array();
    for (int i = 1; i <= kMaxEquipment; ++i) {
        const EquipmentType& e = b.EquipmentTypes[i];
        if (e.Name.empty()) continue;
        json item = recordJson(equipmentFields(), e);
        item["index"] = i;
        equipment.push_back(std::move(item));
    }
    j["EquipmentTypes"] = std::move(equipment);

    if (withMap) {
        json map = json::object();
        for (const CellField& f : cellFields()) {
            json rows = json::array();
            for (int y = 1; y <= kMapHeight; ++y) {
                std::vector<int> row;
                for (int x = 1; x <= kMapWidth; ++x) row.push_back(f.get(b.MapGrid[x][y]));
                rows.push_back(std::move(row));
            }
            map[f.name] = std::move(rows);
        }
        j["map"] = std::move(map);
    }
    if (withGlyphs) {
        json glyphs = json::array();
        for (int g = 1; g <= kMaxGlyphs; ++g)
            glyphs.push_back({{"index", g},
                              {"Description", b.Glyphs[g].Description},
                              {"Action", b.Glyphs[g].Action}});
        j["Glyphs"] = std::move(glyphs);
    }
    return j;
}

} // namespace korvath
