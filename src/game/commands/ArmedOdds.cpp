#include "game/commands/ArmedOdds.h"
#include "game/state/Pieces.h"

#include <algorithm>
#include <cmath>

namespace korvath {

namespace {

// The enemy a blow at square (x, y) would strike: the first living soldier
// there, when he is not one of ours.
int blowTarget(const BattleState& b, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X != x || p.Y != y || p.Wounds <= 0) continue;
        return p.Side != b.HumanSide ? i : 0;
    }
    return 0;
}

bool inReach(const PieceRecord& a, int mx, int my) {
    const int dx = (a.X - 1) - mx / kSquare, dy = (a.Y - 1) - my / kSquare;
    return static_cast<int>(std::trunc(std::sqrt(static_cast<double>(dx * dx + dy * dy)))) <= 1;
}

} // namespace

ArmedOdds armedOdds(const BattleState& b, int mx, int my) {
    ArmedOdds out;
    if (mx < 0 || my < 0 || mx >= kMapPixelsX || my >= kMapPixelsY) return out;
    if (!b.MapClicksEnabled || !b.HumanTurn || b.deploying || !isPiece(b, b.SelectedPiece))
        return out;
    const int i = b.SelectedPiece;
    const PieceRecord& p = b.Pieces[i];
    const EquipmentType& hand = b.item(p.Items[1]);
    if (b.HandFightMode) {
        if (p.AP < hand.QuickShotAP || !inReach(p, mx, my)) return out;
        const int target = blowTarget(b, mx / kSquare + 1, my / kSquare + 1);
        if (target == 0) return out;
        out.kind = ArmedOdds::Blow;
        out.blow = blowOdds(b, i, target);
        return out;
    }
    if (!b.FireMode) return out;
    int cost = 0;
    if (b.armedShot == ArmedShot::Aimed) cost = hand.AimedShotAP & 0xFF;
    if (b.armedShot == ArmedShot::Quick) cost = hand.QuickShotAP & 0xFF;
    if (p.AP < cost || p.Ammo == 0 || p.Wounds <= 0) return out;
    out.kind = ArmedOdds::Shot;
    out.shot = shotOddsAt(b, i, mx, my);
    return out;
}

std::string chanceText(double p) {
    if (p > 0 && p < 0.005) return "<1%";
    return std::to_string(static_cast<int>(std::lround(p * 100))) + "%";
}

namespace {

constexpr const char* kDot = " \u00b7 ";

struct Told {
    double p;
    std::string text;
};

std::vector<Told> shotOutcomes(const BattleState& b, const ShotOdds& o) {
    std::vector<Told> out;
    for (const SoldierOdds& s : o.soldiers) {
        const std::string& name = b.Pieces[s.soldier].Name;
        if (s.soldier == o.target) continue;
        if (s.hit > 0) {
            std::string t = s.friendly ? "Friend " + name + " in the way " : "Hit " + name + " ";
            out.push_back({s.hit, t + chanceText(s.hit)});
        }
        if (s.burnt > 0)
            out.push_back(
                {s.burnt,
                 "Burns " + name + " " + chanceText(s.burnt) +
                     (s.burntKilled > 0 ? " (kill " + chanceText(s.burntKilled) + ")" : "")});
    }
    for (const StopOdds& s : o.obstacles) {
        std::string what = b.glyph(s.glyph).Description;
        out.push_back(
            {s.p, (what.empty() ? std::string("Stopped") : "Stopped by " + what) + " " +
                      chanceText(s.p) +
                      (s.destroyed > 0 ? " (breaks " + chanceText(s.destroyed) + ")" : "")});
    }
    if (o.spent > 0) out.push_back({o.spent, "Out of range " + chanceText(o.spent)});
    if (o.offMap > 0) out.push_back({o.offMap, "Leaves the map " + chanceText(o.offMap)});
    if (o.victory > 0) out.push_back({o.victory, "Victory! " + chanceText(o.victory)});
    for (const EventOdds& e : o.events)
        out.push_back({e.p, "Sets off " + e.name + " " + chanceText(e.p)});
    std::stable_sort(out.begin(), out.end(),
                     [](const Told& a, const Told& c) { return a.p > c.p; });
    return out;
}

} // namespace

std::vector<std::string> oddsLines(const BattleState& b, const ArmedOdds& odds) {
    std::vector<std::string> lines;
    if (odds.kind == ArmedOdds::Blow) {
        const BlowOdds& o = odds.blow;
        lines.push_back("Lands " + chanceText(o.lands) + kDot + "parried " + chanceText(o.parried) +
                        kDot + "kill " + chanceText(o.killed));
        return lines;
    }
    if (odds.kind != ArmedOdds::Shot) return lines;
    const ShotOdds& o = odds.shot;
    if (o.target > 0) {
        const SoldierOdds* t = o.of(o.target);
        std::string head =
            "Hit " + chanceText(t ? t->hit : 0) + kDot + "kill " + chanceText(o.deathOf(o.target));
        if (t && t->burnt > 0) head += kDot + std::string("burns ") + chanceText(t->burnt);
        lines.push_back(head);
    }
    for (const Told& t : shotOutcomes(b, o)) lines.push_back(t.text);
    if (o.pastEvent)
        lines.push_back("(near enough: what a set-off event changes is not counted)");
    else if (!o.exact)
        lines.push_back("(near enough: too many outcomes to count them all)");
    return lines;
}

} // namespace korvath
