#include "StateJson.h"

namespace korvath {

using nlohmann::json;

json pieceJson(const PieceRecord& p) {
    return {{"Name", p.Name},
            {"Side", p.Side},
            {"X", p.X},
            {"Y", p.Y},
            {"MinDifficulty", p.MinDifficulty},
            {"Picture", p.Picture},
            {"AP", p.AP},
            {"Attack", p.Attack},
            {"Shoot", p.Shoot},
            {"Strength", p.Strength},
            {"Toughness", p.Toughness},
            {"Wounds", p.Wounds},
            {"MaxWounds", p.MaxWounds},
            {"Endurance", p.Endurance},
            {"Fatigue", p.Fatigue},
            {"Cool", p.Cool},
            {"BaseAP", p.BaseAP},
            {"Items", json(std::vector<int>(p.Items.begin() + 1, p.Items.end()))},
            {"Frame", p.Frame},
            {"UnderGlyph", p.UnderGlyph},
            {"Overwatch", p.Overwatch},
            {"TargetSize", p.TargetSize},
            {"Ammo", p.Ammo}};
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
        equipment.push_back({{"index", i},
                             {"Name", e.Name},
                             {"AmmoType", e.AmmoType},
                             {"Kind", e.Kind},
                             {"Weight", e.Weight},
                             {"DamageDice", e.DamageDice},
                             {"QuickShotAP", e.QuickShotAP},
                             {"AimedShotAP", e.AimedShotAP},
                             {"Range", e.Range},
                             {"Capacity", e.Capacity},
                             {"HeldFrame", e.HeldFrame},
                             {"Effect", e.Effect},
                             {"Value", e.Value},
                             {"TraceColour", e.TraceColour}});
    }
    j["EquipmentTypes"] = std::move(equipment);

    if (withMap) {
        json glyph = json::array(), solidity = json::array(), cost = json::array();
        for (int y = 1; y <= kMapHeight; ++y) {
            std::vector<int> g, s, c;
            for (int x = 1; x <= kMapWidth; ++x) {
                g.push_back(b.MapGrid[x][y].Glyph);
                s.push_back(b.MapGrid[x][y].Solidity);
                c.push_back(b.MapGrid[x][y].PathCost);
            }
            glyph.push_back(g);
            solidity.push_back(s);
            cost.push_back(c);
        }
        j["map"] = {{"Glyph", glyph}, {"Solidity", solidity}, {"PathCost", cost}};
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
