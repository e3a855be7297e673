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

namespace {

json pointJson(Point p) {
    return json::array({p.x, p.y});
}

const char* shotKindName(ShotKind k) {
    switch (k) {
    case ShotKind::Aimed:
        return "aimed";
    case ShotKind::Quick:
        return "quick";
    case ShotKind::Computer:
        return "computer";
    case ShotKind::Reaction:
        return "reaction";
    }
    return "";
}

const char* shotEndName(ShotEnd e) {
    switch (e) {
    case ShotEnd::Obstacle:
        return "Obstacle";
    case ShotEnd::Soldier:
        return "Soldier";
    case ShotEnd::Spent:
        return "Spent";
    case ShotEnd::OffMap:
        return "OffMap";
    case ShotEnd::None:
        break;
    }
    return "None";
}

const char* harmName(Harm h) {
    return h == Harm::Shot ? "shot" : h == Harm::Flames ? "flames" : "blow";
}

const char* toughnessName(Toughness t) {
    switch (t) {
    case Toughness::Whole:
        return "whole";
    case Toughness::Halved:
        return "halved";
    case Toughness::Cancelled:
        return "cancelled";
    case Toughness::None:
        break;
    }
    return "none";
}

struct EventJson {
    json operator()(const ShotFired& e) const {
        return {{"event", "ShotFired"},
                {"shooter", e.shooter},
                {"kind", shotKindName(e.kind)},
                {"start", pointJson(e.start)},
                {"degree", e.degree},
                {"strayed", e.strayed},
                {"stray", e.stray},
                {"target", e.target}};
    }
    json operator()(const ShotStopped& e) const {
        return {{"event", "ShotStopped"},
                {"shooter", e.shooter},
                {"end", shotEndName(e.end)},
                {"pixel", pointJson(e.pixel)},
                {"square", pointJson(e.square)},
                {"soldier", e.soldier},
                {"what", e.what}};
    }
    json operator()(const DamageDone& e) const {
        return {{"event", "Damage"},  {"by", e.by},
                {"target", e.target}, {"harm", harmName(e.harm)},
                {"rolled", e.rolled}, {"toughness", toughnessName(e.toughness)},
                {"done", e.done},     {"woundsLeft", e.woundsLeft}};
    }
    json operator()(const SoldierDied& e) const {
        return {{"event", "Death"},
                {"soldier", e.soldier},
                {"by", e.by},
                {"harm", harmName(e.harm)},
                {"square", pointJson(e.square)}};
    }
    json operator()(const ObjectDestroyed& e) const {
        return {{"event", "ObjectDestroyed"},
                {"square", pointJson(e.square)},
                {"glyphBefore", e.glyphBefore},
                {"glyphAfter", e.glyphAfter}};
    }
    json operator()(const ForceFieldDown& e) const {
        return {{"event", "ForceFieldDown"},
                {"generator", pointJson(e.generator)},
                {"squares", e.squares}};
    }
    json operator()(const ScenarioEventRun& e) const {
        return {{"event", "ScenarioEvent"},
                {"name", e.name},
                {"mapChanges", e.mapChanges},
                {"reinforcements", e.reinforcements}};
    }
    json operator()(const ReactionShot& e) const {
        return {{"event", "Reaction"},
                {"watcher", e.watcher},
                {"walker", e.walker},
                {"endOfWalk", e.endOfWalk}};
    }
    json operator()(const Blow& e) const {
        return {{"event", "Blow"},    {"attacker", e.attacker}, {"target", e.target},
                {"landed", e.landed}, {"parried", e.parried},   {"damage", e.damage}};
    }
    json operator()(const Heal& e) const {
        return {{"event", "Heal"},
                {"healer", e.healer},
                {"patient", e.patient},
                {"restored", e.restored},
                {"ap", e.ap}};
    }
    json operator()(const WalkStep& e) const {
        return {{"event", "WalkStep"},
                {"soldier", e.soldier},
                {"from", pointJson(e.from)},
                {"to", pointJson(e.to)},
                {"ap", e.ap}};
    }
    json operator()(const TurnBegins& e) const {
        return {{"event", "TurnBegins"}, {"turn", e.turn}, {"side", e.side}};
    }
    json operator()(const ShotSegment&) const { return nullptr; }
    json operator()(const ShotEnded&) const { return nullptr; }
};

} // namespace

json eventJson(const BattleEvent& e) {
    return std::visit(EventJson{}, e);
}

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
