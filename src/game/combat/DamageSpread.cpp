#include "game/combat/DamageSpread.h"
#include "game/state/Pieces.h"

#include "game/combat/Impacts.h"

#include <algorithm>
#include <cmath>

namespace korvath {

namespace {

constexpr int kCountedRolls = 4096; // rolls above this are lumped together

} // namespace

DamageSpread::DamageSpread(const BattleState& b, int soldier) {
    const int item = validIndex(soldier) ? b.Pieces[soldier].Items[1] : 0;
    const std::string& text = b.item(item).DamageDice;
    int n = 1, m = 4;
    if (!text.empty() && !parseDamageDice(text, n, m)) {
        tail_ = {1.0}; // a bad dice text does no damage
        return;
    }
    spread(n, m);
}

DamageSpread::DamageSpread(int n, int m) {
    spread(n, m);
}

// The sum of n dice 1..m, one die at a time over a running sum; all sums
// above the cap share its bucket.
void DamageSpread::spread(int n, int m) {
    const int64_t top = int64_t{n} * m;
    const int cap = static_cast<int>(std::min<int64_t>(top, kCountedRolls));
    exact_ = top <= kCountedRolls;
    std::vector<double> p(cap + 1, 0.0), next(cap + 1), prefix(cap + 2);
    p[0] = 1;
    for (int die = 0; die < n; ++die) {
        prefix[0] = 0;
        for (int s = 0; s <= cap; ++s) prefix[s + 1] = prefix[s] + p[s];
        for (int s = 0; s <= cap; ++s) {
            // P(new sum = s) = sum of P(old = s - face), face 1..m.
            const int lo = std::max(0, s - m), hi = s - 1;
            next[s] = hi < lo ? 0 : (prefix[hi + 1] - prefix[lo]) / m;
        }
        // Sums that would pass the cap stay in its bucket.
        if (!exact_) {
            double below = 0;
            for (int s = 0; s < cap; ++s) below += next[s];
            next[cap] = std::max(0.0, 1.0 - below);
        }
        p.swap(next);
    }
    tail_.assign(cap + 1, 0.0);
    double acc = 0;
    for (int s = cap; s >= 0; --s) tail_[s] = acc += p[s];
    mean_ = n * (m + 1) / 2.0;
    // One die is odd with chance ceil(m / 2) / m; a sum is odd when an odd
    // number of its dice are.
    const double q = static_cast<double>((m + 1) / 2) / m;
    odd_ = (1 - std::pow(1 - 2 * q, n)) / 2;
}

double DamageSpread::atLeast(int k) const {
    if (k <= 0) return 1;
    if (k < static_cast<int>(tail_.size())) return tail_[k];
    return exact_ ? 0 : tail_.back();
}

ToughnessRoll::ToughnessRoll(int toughness) {
    // r = 2 .. Toughness - 1 of the nine rolls 2..10.
    const int halving = std::clamp(toughness - 2, 0, 9);
    halved = halving / 10.0;
    whole = 1 - cancelled - halved;
}

namespace {

// Adds `weight` x the spread of `roll` divided by `divisor` to the harm of a
// soldier with `wounds` wounds.
void addHarm(HitHarm& h, const DamageSpread& roll, int divisor, double weight, int wounds) {
    // damage / divisor >= k exactly when damage >= divisor * k.
    auto atLeast = [&](int64_t k) {
        return roll.atLeast(static_cast<int>(std::min<int64_t>(k * divisor, 1 << 30)));
    };
    const double kill = atLeast(wounds), hurt = atLeast(1);
    h.killed += weight * kill;
    h.wounded += weight * (hurt - kill);
    h.unharmed += weight * (1 - hurt);
    if (!h.left.empty()) {
        h.left[wounds] += weight * (1 - hurt);
        for (int w = 1; w < wounds; ++w)
            h.left[w] += weight * (atLeast(wounds - w) - atLeast(wounds - w + 1));
    }
    h.damage += weight * (divisor == 1 ? roll.mean() : (roll.mean() - roll.odd()) / 2);
}

constexpr int kCountedWounds = 65536; // the wounds left are told up to this

HitHarm emptyHarm(int wounds) {
    HitHarm h;
    if (wounds <= kCountedWounds) h.left.assign(std::max(wounds, 0) + 1, 0.0);
    return h;
}

} // namespace

HitHarm shotHarm(const DamageSpread& roll, int toughness, int wounds) {
    HitHarm h = emptyHarm(wounds);
    if (wounds < 1) return h;
    const ToughnessRoll t(toughness);
    h.unharmed += t.cancelled;
    if (!h.left.empty()) h.left[wounds] += t.cancelled;
    addHarm(h, roll, 2, t.halved, wounds);
    addHarm(h, roll, 1, t.whole, wounds);
    return h;
}

HitHarm wholeHarm(const DamageSpread& roll, int wounds) {
    HitHarm h = emptyHarm(wounds);
    if (wounds >= 1) addHarm(h, roll, 1, 1.0, wounds);
    return h;
}

} // namespace korvath
