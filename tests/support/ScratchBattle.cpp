#include "ScratchBattle.h"

namespace korvath::test {

namespace {

PieceRecord soldier(const std::string& name, int side, int x, int y, int picture, int weapon,
                    int shoot) {
    PieceRecord p;
    p.Name = name;
    p.Side = side;
    p.X = x;
    p.Y = y;
    p.MinDifficulty = 1;
    p.Picture = picture;
    p.AP = p.BaseAP = 18;
    p.Attack = 45;
    p.Shoot = shoot;
    p.Strength = 5;
    p.Toughness = 5;
    p.Wounds = 10;
    p.Endurance = 7;
    p.Cool = 60;
    p.Items[1] = weapon;
    p.Items[2] = weapon == 5 ? 9 : 0; // a pulse rifle's clip
    p.TargetSize = 20;
    return p;
}

} // namespace

ScenarioDocument threeRooms(const std::string& appDir) {
    ScenarioDocument d = ScenarioDocument::createNew(appDir, 0, "Three Rooms");
    const int wall = 1, floor = 131, airlock = 66, star = 156, relay = 75;
    d.rectangle(3, 3, 14, 12, wall, true);
    d.rectangle(14, 3, 30, 12, wall, true);
    d.rectangle(30, 3, 44, 12, wall, true);
    d.paint(14, 7, airlock);
    d.paint(30, 8, floor);
    for (const auto& [x, y] : {std::pair{5, 5}, {6, 5}, {5, 6}, {6, 6}}) d.paint(x, y, star);
    d.forceField(40, 3, 40, 11);
    d.paint(42, 7, d.victoryGlyph());
    d.setObjective(41, 7);
    d.paint(25, 4, relay);
    d.setGlyphTexts(relay, "Comms relay", "eventRelay");

    const char* raiders[] = {"Sgt Mara Quill", "Teo Brand", "Ivo Stark", "Lena Voss"};
    for (int i = 0; i < 4; ++i) d.addSoldier(soldier(raiders[i], 1, 0, 0, 1 + i, 5, 65));
    d.addSoldier(soldier("Warden Ulm", 2, 20, 6, 9, 5, 48));
    d.addSoldier(soldier("Trooper Gast", 2, 22, 10, 10, 5, 46));
    d.addSoldier(soldier("Trooper Rhee", 2, 17, 4, 9, 5, 48));
    d.addSoldier(soldier("Keeper Oros", 2, 34, 9, 13, 5, 50));

    d.setScheduledEvents({{3, "Alarm"}});
    d.setEvent("Alarm", {{}, {soldier("Alarm Guard Pike", 2, 36, 8, 11, 5, 55)}});
    d.setEvent("eventRelay", {{{30, 10, floor}}, {}});
    d.setBriefing({"Three rooms stand between you and the core.", " ",
                   "Blow the relay to open the back wall."});
    d.setFrontText({"THREE ROOMS", "", "A short raid through three rooms."});
    return d;
}

} // namespace korvath::test
