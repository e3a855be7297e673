#include "Effects.h"

#include <cmath>
#include <numbers>

namespace korvath::assets::effects {

using namespace synth;

namespace {

// A struck bell: a few inharmonic partials, the higher ones dying sooner.
struct Bell {
    Osc p[4];
    double run(double hz, double t, double start, double length) {
        static constexpr double ratio[4] = {1.0, 2.0, 2.76, 5.4};
        static constexpr double level[4] = {1.0, 0.45, 0.3, 0.12};
        static constexpr double decay[4] = {1.0, 0.55, 0.35, 0.15};
        double v = 0.0;
        for (int i = 0; i < 4; ++i)
            v += level[i] * p[i].sine(hz * ratio[i]) * strike(t, start, 0.002, length * decay[i]);
        return v;
    }
};

// A note in a tune: MIDI pitch, start and length in seconds.
struct Note {
    double midi, start, length;
};

// Plays a list of notes with one voice per note (so tails overlap), each
// made by voice(osc, hz, timeIntoNote, noteLength).
template <class V> Buffer play(const std::vector<Note>& notes, double total, V&& voice) {
    Buffer out(frames(total), 0.0);
    for (const Note& n : notes) {
        Osc osc;
        const double hz = noteHz(n.midi);
        const size_t first = frames(n.start);
        for (size_t i = first; i < out.size(); ++i)
            out[i] += voice(osc, hz, timeOf(i - first), n.length);
    }
    return out;
}

} // namespace

// The opening sting: a short pick-up hit and then a big minor chord of
// detuned saws whose filter flares open and slowly closes, with a drum
// under it and a cymbal wash over it.
Buffer intro() {
    const double chord[] = {45, 52, 57, 60, 64}; // A minor, spread out
    Osc saws[10], pickup[2], drum;
    Svf filter, pickupFilter, cymbalHp;
    Noise noise(0x1a7c0001u);
    constexpr double hit = 0.2;
    Buffer b = render(2.0, [&](double t) {
        // Pick-up: a short stab on E.
        const double pu = pickupFilter.lowpass(
                              pickup[0].saw(noteHz(52)) + pickup[1].saw(noteHz(40)), 1400.0, 0.9) *
                          Envelope{{0.0, 0.0}, {0.01, 1.0}, {0.09, 0.6}, {0.13, 0.0}}.at(t);
        double pad = 0.0;
        if (t >= hit) {
            for (int i = 0; i < 5; ++i) {
                const double hz = noteHz(chord[i]);
                pad += saws[2 * i].saw(hz * 1.0023) + saws[2 * i + 1].saw(hz / 1.0023);
            }
        }
        const double cut = t < hit + 0.12 ? glideLog(t, hit, hit + 0.12, 400.0, 3500.0)
                                          : glideLog(t, hit + 0.12, 2.0, 3500.0, 500.0);
        const double chordOut = filter.lowpass(pad, cut, 1.2) * strike(t, hit, 0.012, 0.75);
        const double timp =
            drum.sine(glideLog(t, hit, hit + 0.3, 95.0, 55.0)) * strike(t, hit, 0.003, 0.35);
        const double cymbal = cymbalHp.highpass(noise.white(), 5000.0) * strike(t, hit, 0.004, 0.5);
        return 0.5 * pu + 0.2 * chordOut + 0.8 * timp + 0.12 * cymbal;
    });
    return finish(b, 0.85, 2.0, 150.0);
}

// A soft, short blip when a soldier is picked.
Buffer select() {
    Osc osc;
    Buffer b = render(0.09, [&](double t) {
        const double hz = glideLog(t, 0.0, 0.02, 1100.0, 1320.0);
        return osc.sine(hz) * strike(t, 0.0, 0.004, 0.025);
    });
    return finish(b, 0.5, 1.0, 20.0);
}

// The refusal: two low, buzzy bops.
Buffer beep() {
    Osc a, b2;
    Svf lp;
    const Envelope bop{{0.0, 0.0}, {0.005, 1.0}, {0.08, 0.8}, {0.095, 0.0}};
    Buffer b = render(0.24, [&](double t) {
        const double env = bop.at(t) + bop.at(t - 0.13);
        const double buzz = a.square(220.0) + b2.square(224.0);
        return env * lp.lowpass(buzz, 1800.0);
    });
    return finish(b, 0.6, 2.0, 15.0);
}

// A question to the player: two rising bell-like notes.
Buffer prompt() {
    const std::vector<Note> notes{{81, 0.0, 0.12}, {88, 0.12, 0.3}};
    Buffer b = play(notes, 0.42, [](Osc& osc, double hz, double t, double) {
        return (osc.sine(hz) + 0.1 * std::sin(2.0 * std::numbers::pi * 3.0 * hz * t)) *
               strike(t, 0.0, 0.005, 0.09);
    });
    return finish(b, 0.6, 1.0, 30.0);
}

// The end of a turn: two bell strikes a fourth apart.
Buffer turnFinished() {
    Bell low, high;
    Buffer b = render(0.7, [&](double t) {
        return low.run(noteHz(79), t, 0.0, 0.3) + high.run(noteHz(84), t, 0.14, 0.35);
    });
    return finish(b, 0.7, 1.0, 80.0);
}

// Leaving the game: a little falling tune that settles home, over a bass.
Buffer signOff() {
    const double q = 0.14;
    const std::vector<Note> lead{{76, 0, q},      {74, q, q},         {72, 2 * q, q},
                                 {67, 3 * q, q},  {72, 4 * q, 2 * q}, {79, 6 * q, 0.2},
                                 {84, 7 * q, 0.6}};
    const std::vector<Note> bass{{48, 0, 3 * q}, {43, 3 * q, 3 * q}, {48, 6 * q, 0.7}};
    Svf leadLp;
    Buffer tune = play(lead, 1.75, [](Osc& osc, double hz, double t, double len) {
        const double gate = t < len ? 1.0 : std::exp(-(t - len) / 0.04);
        return (osc.square(hz, 0.25) * 0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * hz * t)) *
               strike(t, 0.0, 0.004, 0.25) * gate;
    });
    for (double& x : tune) x = leadLp.lowpass(x, 3200.0);
    const Buffer low = play(bass, 1.75, [](Osc& osc, double hz, double t, double len) {
        const double gate = t < len ? 1.0 : std::exp(-(t - len) / 0.03);
        return osc.triangle(hz) * strike(t, 0.0, 0.006, 0.4) * gate;
    });
    mixInto(tune, low, 0.0, 0.6);
    return finish(tune, 0.75, 2.0, 120.0);
}

// Saving: a quick upward sweep.
Buffer save() {
    Osc osc, shine;
    const Envelope amp{{0.0, 0.0}, {0.01, 1.0}, {0.12, 0.8}, {0.16, 0.0}};
    Buffer b = render(0.17, [&](double t) {
        const double hz = glideLog(t, 0.0, 0.15, 520.0, 1560.0);
        return amp.at(t) * (osc.triangle(hz) + 0.2 * shine.sine(2.0 * hz));
    });
    return finish(b, 0.55, 1.0, 10.0);
}

// Loading: the same sweep coming down.
Buffer load() {
    Osc osc, shine;
    const Envelope amp{{0.0, 0.0}, {0.01, 1.0}, {0.12, 0.8}, {0.16, 0.0}};
    Buffer b = render(0.17, [&](double t) {
        const double hz = glideLog(t, 0.0, 0.15, 1560.0, 520.0);
        return amp.at(t) * (osc.triangle(hz) + 0.2 * shine.sine(2.0 * hz));
    });
    return finish(b, 0.55, 1.0, 10.0);
}

} // namespace korvath::assets::effects
