#include "game/display/BattleFeed.h"

#include "engine/ShownText.h"

namespace korvath {

namespace {

const char* const kDash = " \u2014 ";

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace

void BattleFeed::clear() {
    *this = BattleFeed{};
}

std::string BattleFeed::name(const BattleState& b, int soldier) const {
    if (soldier < 1 || soldier >= static_cast<int>(b.Pieces.size()) ||
        b.Pieces[soldier].Name.empty())
        return "somebody";
    return shownText(b.Pieces[soldier].Name);
}

void BattleFeed::add(std::string text, int side, Point square) {
    lines_.push_back({std::move(text), side, square});
}

void BattleFeed::happened(const BattleState& b, const BattleEvent& event) {
    const auto sideOf = [&b](int soldier) {
        return soldier >= 1 && soldier < static_cast<int>(b.Pieces.size()) ? b.Pieces[soldier].Side
                                                                           : 0;
    };
    const auto squareOf = [&b](int soldier) {
        if (soldier < 1 || soldier >= static_cast<int>(b.Pieces.size())) return Point{};
        return Point{b.Pieces[soldier].X, b.Pieces[soldier].Y};
    };
    std::visit(
        Overloaded{
            [&](const ReactionShot& r) {
                reactingWatcher_ = r.watcher;
                reactingTo_ = r.walker;
            },
            [&](const ShotFired& s) {
                std::string text = name(b, s.shooter);
                if (s.shooter == reactingWatcher_ && reactingTo_ != 0)
                    text += " reacts to " + name(b, reactingTo_);
                else if (s.target != 0)
                    text += " fires at " + name(b, s.target);
                else
                    text += " fires";
                reactingWatcher_ = reactingTo_ = 0;
                shooter_ = s.shooter;
                add(text, sideOf(s.shooter), squareOf(s.shooter));
                shotLine_ = static_cast<int>(lines_.size()) - 1;
            },
            [&](const ShotStopped& s) {
                if (shotLine_ < 0 || s.shooter != shooter_) return;
                FeedLine& line = lines_[shotLine_];
                switch (s.end) {
                case ShotEnd::Soldier:
                    line.text += kDash + std::string("hits ") + name(b, s.soldier);
                    break;
                case ShotEnd::Obstacle:
                    line.text += kDash + std::string("misses, stopped by ") +
                                 (s.what.empty() ? std::string("a wall") : shownText(s.what));
                    break;
                case ShotEnd::Spent:
                    line.text += kDash + std::string("misses, out of range");
                    break;
                case ShotEnd::OffMap:
                    line.text += kDash + std::string("misses, off the map");
                    break;
                case ShotEnd::None:
                    break;
                }
                line.square = s.square;
            },
            [&](const DamageDone& d) {
                const std::string toughness = d.toughness == Toughness::Halved ? " (halved)"
                                              : d.toughness == Toughness::Cancelled
                                                  ? " (no harm: his toughness)"
                                                  : "";
                if (d.harm == Harm::Shot && shotLine_ >= 0 && d.by == shooter_) {
                    lines_[shotLine_].text += ", " + std::to_string(d.done) + " damage" + toughness;
                } else if (d.harm == Harm::Flames) {
                    add(name(b, d.target) + " is burnt, " + std::to_string(d.done) + " damage",
                        sideOf(d.by), squareOf(d.target));
                }
            },
            [&](const Blow& x) {
                std::string text = name(b, x.attacker) + " strikes " + name(b, x.target) + kDash;
                text += !x.landed   ? std::string("misses")
                        : x.parried ? std::string("parried")
                                    : std::to_string(x.damage) + " damage";
                add(text, sideOf(x.attacker), squareOf(x.target));
            },
            [&](const SoldierDied& d) {
                add(name(b, d.soldier) + " is dead", sideOf(d.by), d.square);
            },
            [&](const Heal& h) {
                add(name(b, h.healer) + " treats " + name(b, h.patient) + ": +" +
                        std::to_string(h.restored) + " wounds",
                    sideOf(h.healer), squareOf(h.patient));
            },
            [&](const ObjectDestroyed& o) {
                const std::string what = shownText(b.glyph(o.glyphBefore).Description);
                add((what.empty() ? std::string("An object") : what) + " destroyed", 0, o.square);
            },
            [&](const ForceFieldDown& f) { add("Force field down", 0, f.generator); },
            [&](const ScenarioEventRun& e) {
                if (e.reinforcements > 0)
                    add("Reinforcements arrive", 0, {});
                else if (e.mapChanges > 0)
                    add("The battlefield changes", 0, {});
            },
            [&](const TurnBegins& t) {
                shotLine_ = -1;
                add("Turn " + std::to_string(t.turn) + ": " +
                        (t.side == b.HumanSide ? "your turn" : "the Operatives' turn"),
                    t.side, {});
            },
            [&](const auto&) {},
        },
        event);
}

} // namespace korvath
