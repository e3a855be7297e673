// Soldier pictures and the scenario-file reader used by the data checks.
#include "assets/ScenarioText.h"
#include "assets/Units.h"
#include "engine/DataError.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace korvath;
using namespace korvath::assets;

namespace {

// Sums of red and blue over a picture's lit pixels, and how many are lit.
struct Tint {
    long red = 0, blue = 0;
    int lit = 0;
};

Tint tintOf(const QImage& img) {
    Tint t;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            if (!c) continue;
            ++t.lit;
            t.red += qRed(c);
            t.blue += qBlue(c);
        }
    return t;
}

std::string description(const std::string& units, const std::string& tail) {
    return "Title\n: Scenario Description\nLine one\n \n: end of scenario description\n"
           ": Player 1 = human\nheading\n" +
           units +
           "EndPlayer2\nskip\nskip\nKnife\t0\tWeapon\t1\t1d6\t4\t4\t1\t0\t5\tnone\t0\t-\t0\n" +
           tail;
}

const std::string kUnit =
    "Ann\t1\t0\t0\t1\t1\t20\t16\t45\t60\t5\t5\t12\t7\t0\t60\t1\t0\t0\t0\t0\t0\t20\n";

} // namespace

TEST(SoldierPictures, RaidersAreWarmOperativesCoolAndEveryPoseIsDrawn) {
    int argc = 0;
    QGuiApplication app(argc, nullptr);
    for (int look = 1; look <= 16; ++look) {
        QImage previous;
        for (int frame = 1; frame <= 8; ++frame) {
            SCOPED_TRACE(std::to_string(look) + "/" + std::to_string(frame));
            const QImage img = soldierPicture(look, frame);
            ASSERT_EQ(img.size(), QSize(32, 32));
            const Tint t = tintOf(img);
            EXPECT_GT(t.lit, 150) << "a soldier fills a fair part of his square";
            EXPECT_EQ(img.pixel(0, 31) & 0xFFFFFF, 0u) << "drawn on black";
            EXPECT_NE(img, previous) << "each pose looks different";
            if (frame != 5 && frame != 8) { // a raised blade or a pool of blood tints the whole
                if (look <= 8)
                    EXPECT_GT(t.red, t.blue);
                else if (look < 16)
                    EXPECT_GT(t.blue, t.red);
            }
            previous = img;
        }
    }
    const QImage sheet = unitSheet();
    EXPECT_EQ(sheet.size(), QSize(320, 640));
    EXPECT_EQ(sheet.copy(4 + 40 * 2, 4 + 40 * 9, 32, 32), soldierPicture(10, 3));
}

TEST(ScenarioFileReader, ReadsTheBriefingUnitsEquipmentAndEvents) {
    const ScenarioText s = parseScenarioText(
        "d", description(kUnit + kUnit,
                         ": end of file\n:Events\n3\tPatrol\n7\tLate one\n:End Events\n"));
    EXPECT_EQ(s.briefing, (std::vector<std::string>{"Line one", " "}));
    ASSERT_EQ(s.units.size(), 2u);
    EXPECT_EQ(s.units[1].name, "Ann");
    EXPECT_EQ(s.units[1].targetSize, 20);
    ASSERT_EQ(s.equipment.size(), 1u);
    EXPECT_EQ(s.equipment[0].aimedAP, 4);
    EXPECT_EQ(s.equipment[0].heldFrame, 5);
    ASSERT_EQ(s.events.size(), 2u);
    EXPECT_EQ(s.events[1].name, "Late one");
    EXPECT_EQ(parseScenarioText("d", description(kUnit, ": end of file\n")).events.size(), 0u);
}

TEST(ScenarioFileReader, StumblesWhereTheGameWould) {
    EXPECT_THROW(parseScenarioText("d", "no marker at all\n"), DataError);
    std::string shortUnit = kUnit;
    shortUnit.erase(shortUnit.rfind('\t'));
    EXPECT_THROW(parseScenarioText("d", description(shortUnit + "\n", "")), DataError);
    EXPECT_THROW(parseScenarioText("d", description("Bob\t1\tx" + kUnit.substr(5), "")), DataError);
}

TEST(EventFileReader, SectionsFollowTheFirstLine) {
    const EventFile both = parseEventFile(
        "e", ":Mapchanges\nheader\n3\t4\t131\n5\t6\t51\n:EndMapChanges\n:Reinforcements\n" + kUnit +
                 ":EndReinforcements\n");
    ASSERT_EQ(both.changes.size(), 2u);
    EXPECT_EQ(both.changes[1].glyph, 51);
    EXPECT_EQ(both.reinforcements.size(), 1u);
    // A first line of ":Reinforcements" only says there are no map changes.
    EXPECT_TRUE(parseEventFile("e", ":Reinforcements\n" + kUnit).reinforcements.empty());
    EXPECT_EQ(
        parseEventFile("e", "Guards\n:Reinforcements\n" + kUnit + kUnit).reinforcements.size(), 2u);
    EXPECT_THROW(parseEventFile("e", ":Mapchanges\nheader\n3\t4\n:EndMapChanges\n"), DataError);
}
