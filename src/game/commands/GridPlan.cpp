#include "game/commands/GridPlan.h"

#include "engine/ShownText.h"
#include "engine/TextFile.h"

#include <cstdlib>

// The equipment grid's second click keeps the old game's sums: a magazine
// goes into the weapon it fits, wherever that weapon is carried, and fills
// the ammunition of the weapon in hand; an exchange checks the weight of
// what lies in the target slot but pays for what moves, so it may leave the
// soldier below zero, and the hand's ammunition becomes the moved item's
// capacity.
namespace korvath {

namespace {

bool carriedInHand(const EquipmentType& e) {
    return e.Kind == "Misc" || e.Kind == "Weapon" || e.Kind == "Firearm";
}

} // namespace

GridPlan planSecondClick(const BattleState& b, const PieceRecord& p, int armed, int slot) {
    GridPlan plan;
    plan.apBefore = plan.apAfter = p.AP;
    plan.ammoBefore = plan.ammoAfter = p.Ammo;
    if (armed < 1 || armed > 6 || slot < 1 || slot > 6) return plan;
    const EquipmentType& first = b.item(p.Items[armed]);
    const EquipmentType& second = b.item(p.Items[slot]);

    // A magazine fits the weapon whose calibre its Value names. An empty slot
    // holds no weapon, so nothing fits it.
    int calibre = 0;
    if (first.Kind == "Ammo" && p.Items[slot] != 0 && parseInt(first.Value, calibre) &&
        calibre == second.AmmoType) {
        plan.needed = second.Weight + 2;
        if (p.AP < plan.needed) {
            plan.kind = GridPlan::Kind::TooFewToReload;
            return plan;
        }
        plan.kind = GridPlan::Kind::Reload;
        plan.cost = plan.needed;
        plan.ammoAfter = first.Capacity;
    } else if (carriedInHand(first) && armed != slot) {
        plan.needed = second.Weight + 2;
        if (p.AP < plan.needed) {
            plan.kind = GridPlan::Kind::TooFewToSwap;
            return plan;
        }
        plan.kind = GridPlan::Kind::Swap;
        plan.cost = first.Weight + 2;
        plan.ammoAfter = first.Capacity;
    }
    plan.apAfter = p.AP - plan.cost;
    return plan;
}

std::string describePlan(const BattleState& b, const PieceRecord& p, int slot,
                         const GridPlan& plan) {
    const auto points = [](int n) { return (n < 0 ? "\u2212" : "") + std::to_string(std::abs(n)); };
    const std::string dash = " \u2014 ", arrow = " \u2192 ";
    const EquipmentType& hand = b.item(p.Items[1]);
    const std::string ammo = plan.ammoAfter == plan.ammoBefore
                                 ? std::string()
                                 : ", " +
                                       (hand.Kind == "Firearm" ? shownText(hand.Name) + "'s ammo "
                                                               : std::string("ammo ")) +
                                       std::to_string(plan.ammoBefore) + arrow +
                                       std::to_string(plan.ammoAfter);
    const std::string leaves =
        plan.apAfter < 0 ? ", leaves " + points(plan.apAfter) + " AP" : std::string();
    switch (plan.kind) {
    case GridPlan::Kind::Reload:
        // A full weapon takes the clip all the same.
        return "Reload " + shownText(b.item(p.Items[slot]).Name) + dash +
               std::to_string(plan.cost) + " AP" +
               (ammo.empty() ? ", full already: the clip is spent" : ammo);
    case GridPlan::Kind::Swap:
        return "Swap" + dash + std::to_string(plan.cost) + " AP" + ammo + leaves;
    case GridPlan::Kind::TooFewToReload:
    case GridPlan::Kind::TooFewToSwap:
        return std::string(plan.kind == GridPlan::Kind::TooFewToReload ? "Reload" : "Swap") + dash +
               "needs " + std::to_string(plan.needed) + " AP, has " + points(p.AP);
    case GridPlan::Kind::Nothing:
        break;
    }
    return "Nothing happens";
}

} // namespace korvath
