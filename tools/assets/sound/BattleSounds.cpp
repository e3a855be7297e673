#include "Effects.h"

#include <cmath>
#include <numbers>

namespace korvath::assets::effects {

using namespace synth;

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A crude throat: a glottal pulse source, lip radiation and three formant
// resonators in parallel. Callers move pitch and formants on every sample.
struct Voice {
    Osc glottis;
    Noise breath{0x5eed1u};
    Svf f1, f2, f3;
    double prev = 0.0;

    double run(double pitch, double amp, double F1, double F2, double F3, double breathiness) {
        const double pulse = glottis.glottal(pitch, 0.45);
        // Breath noise rides on the open phase of the glottis.
        const double src = pulse + breathiness * breath.white() * (0.3 + pulse);
        const double radiated = src - 0.95 * prev;
        prev = src;
        const double v = 1.0 * f1.bandpass(radiated, F1, F1 / 120.0) +
                         0.9 * f2.bandpass(radiated, F2, F2 / 150.0) +
                         0.5 * f3.bandpass(radiated, F3, F3 / 220.0);
        return amp * v;
    }
};

} // namespace

// A gunshot: a hard crack of bright noise, a darker body that closes down
// quickly, a falling low thump and a short rumbling tail.
Buffer fire() {
    Noise noise(0xf14e0001u);
    Svf crackHp, bodyLp, tailLp;
    Osc thump;
    Buffer b = render(0.45, [&](double t) {
        const double w = noise.white();
        const double crack = crackHp.highpass(w, 1800.0) * strike(t, 0.0, 0.0005, 0.010);
        const double body =
            bodyLp.lowpass(w, glideLog(t, 0.0, 0.15, 5000.0, 500.0)) * strike(t, 0.0, 0.001, 0.05);
        const double boom =
            thump.sine(glideLog(t, 0.0, 0.12, 150.0, 45.0)) * strike(t, 0.0, 0.002, 0.07);
        const double tail = tailLp.lowpass(noise.brown(), 450.0) * strike(t, 0.01, 0.02, 0.14);
        return 0.8 * crack + 1.0 * body + 0.9 * boom + 2.5 * tail;
    });
    saturate(b, 2.0);
    return finish(b, 0.85, 0.5, 40.0);
}

// A flamer: a swelling roar of band-passed noise whose centre rises and
// falls, with a low rumble under it and a crackle of tiny pops.
Buffer flames() {
    Noise noise(0xf1a3e5u);
    Svf roar, rumble, crackle;
    const Envelope swell{{0.0, 0.0}, {0.18, 1.0}, {0.42, 0.85}, {0.6, 0.0}};
    double pop = 0.0;
    Buffer b = render(0.6, [&](double t) {
        const double centre =
            t < 0.3 ? glideLog(t, 0.0, 0.3, 350.0, 1400.0) : glideLog(t, 0.3, 0.6, 1400.0, 700.0);
        const double w = noise.white();
        const double hiss = roar.bandpass(w, centre, 0.9);
        const double low = rumble.lowpass(noise.brown(), 260.0);
        if (noise.next() % 1000 < 3) pop = (noise.next() & 1) ? 1.0 : -1.0;
        pop *= 0.93;
        const double crack = crackle.bandpass(pop * std::abs(w), 3200.0, 2.0);
        return swell.at(t) * (hiss + 1.5 * low) + 0.8 * crack * swell.at(t);
    });
    return finish(b, 0.75, 10.0, 40.0);
}

// An explosion: a short bright blast, then low rumbling noise that darkens
// as it dies away over a second, over a falling sub-bass punch.
Buffer explode() {
    Noise noise(0xb00e0001u);
    Svf blastLp, rumbleLp1, rumbleLp2;
    Osc sub;
    Buffer b = render(1.4, [&](double t) {
        const double w = noise.white();
        const double blast =
            blastLp.lowpass(w, glideLog(t, 0.0, 0.06, 6000.0, 900.0)) * strike(t, 0.0, 0.001, 0.03);
        const double cut = glideLog(t, 0.0, 0.9, 1600.0, 110.0);
        const double rumble = rumbleLp2.lowpass(rumbleLp1.lowpass(noise.brown(), cut), cut) *
                              strike(t, 0.0, 0.006, 0.42);
        const double punch =
            sub.sine(glideLog(t, 0.0, 0.6, 75.0, 28.0)) * strike(t, 0.0, 0.004, 0.25);
        return 0.5 * blast + 4.0 * rumble + 0.8 * punch;
    });
    saturate(b, 1.6);
    return finish(b, 0.85, 0.5, 120.0);
}

// A soldier going down: a short falling groan followed by the thud of a body.
Buffer dead() {
    Voice voice;
    Noise noise(0xdead0001u);
    Svf thudLp;
    Osc thud;
    const Envelope amp{{0.0, 0.0}, {0.03, 1.0}, {0.22, 0.8}, {0.36, 0.0}};
    Buffer b = render(0.7, [&](double t) {
        const double pitch = glideLog(t, 0.02, 0.36, 300.0, 140.0) * (1.0 + 0.01 * noise.white());
        const double cry = voice.run(pitch, amp.at(t), glide(t, 0.0, 0.36, 720.0, 560.0),
                                     glide(t, 0.0, 0.36, 1250.0, 1000.0), 2500.0, 0.08);
        const double body =
            thudLp.lowpass(noise.white(), 220.0, 0.9) * strike(t, 0.34, 0.003, 0.06);
        const double knock =
            thud.sine(glideLog(t, 0.34, 0.45, 95.0, 45.0)) * strike(t, 0.34, 0.003, 0.08);
        return 16.0 * cry + 3.0 * body + 0.9 * knock;
    });
    return finish(b, 0.8, 5.0, 60.0);
}

// Dazed, the first: a high whistling warble that wobbles fast and sinks,
// like birds circling a stunned head.
Buffer dizzy1() {
    Osc tone, tone2;
    const Envelope amp{{0.0, 0.0}, {0.03, 1.0}, {0.42, 0.8}, {0.55, 0.0}};
    Buffer b = render(0.55, [&](double t) {
        const double centre = glideLog(t, 0.0, 0.55, 1500.0, 950.0);
        const double wobble = std::sin(kTwoPi * 9.0 * t);
        const double hz = centre * (1.0 + 0.16 * wobble);
        const double tremolo = 0.75 + 0.25 * std::sin(kTwoPi * 18.0 * t);
        return amp.at(t) * tremolo * (tone.sine(hz) + 0.25 * tone2.triangle(hz * 1.5));
    });
    return finish(b, 0.55, 10.0, 40.0);
}

// Dazed, the second: a low, slow "wah-wah-wah" of a buzzing tone through a
// swept resonant filter, drooping in pitch.
Buffer dizzy2() {
    Osc buzz, buzz2;
    Svf wah;
    const Envelope amp{{0.0, 0.0}, {0.04, 1.0}, {0.48, 0.7}, {0.6, 0.0}};
    Buffer b = render(0.6, [&](double t) {
        const double hz =
            glideLog(t, 0.0, 0.6, 210.0, 140.0) * (1.0 + 0.06 * std::sin(kTwoPi * 3.5 * t));
        const double src = buzz.saw(hz) + 0.5 * buzz2.saw(hz * 1.007);
        const double sweep = 450.0 + 1000.0 * (0.5 - 0.5 * std::cos(kTwoPi * 5.0 * t));
        return amp.at(t) * wah.lowpass(src, sweep, 4.0);
    });
    return finish(b, 0.65, 10.0, 40.0);
}

// A magazine going in: a light metallic click, then the heavier clack of it
// seating, with a small rattle after.
Buffer loadMag() {
    Noise noise(0x3a90001u);
    Svf r1, r2, r3, r4, r5, r6, hiss;
    Osc body;
    Buffer b = render(0.34, [&](double t) {
        const double w = noise.white();
        const double click = w * strike(t, 0.02, 0.0004, 0.004);
        const double clack =
            w * (strike(t, 0.17, 0.0004, 0.007) + 0.4 * strike(t, 0.19, 0.0004, 0.003));
        const double metal1 = r1.bandpass(click, 2700.0, 35.0) +
                              0.7 * r2.bandpass(click, 4300.0, 40.0) +
                              0.5 * r3.bandpass(click, 6200.0, 40.0);
        const double metal2 = r4.bandpass(clack, 1250.0, 18.0) +
                              0.8 * r5.bandpass(clack, 2150.0, 22.0) +
                              0.5 * r6.bandpass(clack, 3500.0, 25.0);
        const double snap = hiss.highpass(click + clack, 3000.0);
        const double thump = body.sine(180.0) * strike(t, 0.17, 0.001, 0.025);
        return 1.2 * metal1 + 1.5 * metal2 + 0.6 * snap + 0.4 * thump;
    });
    saturate(b, 2.0);
    return finish(b, 0.8, 0.5, 30.0);
}

// "Oh my God!": a shouted phrase from a glottal voice through moving
// formants. The pitch jumps up on "God" and falls away into a wail.
Buffer ohmigod() {
    Voice voice;
    Noise noise(0x0a1a0001u);
    Svf burstBp;
    // Pitch in Hz, loudness, and the three formants, all on one time line:
    // "oh" 0-0.27, "m" 0.27-0.33, "ai" 0.33-0.55, "g" closure to 0.62,
    // "o" 0.62-0.95 and the "d" closure at the end.
    const Envelope pitch{{0.0, 300.0},  {0.12, 360.0}, {0.3, 330.0}, {0.55, 300.0},
                         {0.63, 430.0}, {0.75, 400.0}, {1.0, 175.0}};
    const Envelope amp{{0.0, 0.0},  {0.05, 0.9}, {0.24, 0.8},  {0.27, 0.3},  {0.32, 0.3},
                       {0.36, 0.9}, {0.53, 0.7}, {0.56, 0.05}, {0.62, 0.05}, {0.65, 1.0},
                       {0.85, 0.8}, {0.96, 0.4}, {0.98, 0.0}};
    const Envelope F1{{0.0, 500.0},  {0.25, 450.0}, {0.29, 280.0}, {0.32, 280.0},
                      {0.36, 760.0}, {0.55, 330.0}, {0.63, 650.0}, {1.0, 600.0}};
    const Envelope F2{{0.0, 880.0},   {0.25, 800.0},  {0.29, 1300.0}, {0.32, 1300.0},
                      {0.36, 1250.0}, {0.55, 2150.0}, {0.63, 1050.0}, {1.0, 950.0}};
    const Envelope F3{{0.0, 2400.0}, {0.36, 2500.0}, {0.55, 2900.0}, {0.63, 2500.0}, {1.0, 2400.0}};
    Buffer b = render(1.05, [&](double t) {
        const double vib = 1.0 + 0.015 * std::sin(kTwoPi * 5.5 * t) + 0.006 * noise.white();
        const double v =
            voice.run(pitch.at(t) * vib, amp.at(t), F1.at(t), F2.at(t), F3.at(t), 0.06);
        // Release bursts of the "g" and the final "d".
        const double burst = burstBp.bandpass(noise.white(), t < 0.8 ? 1600.0 : 3200.0, 1.5) *
                             (strike(t, 0.615, 0.001, 0.01) + 0.6 * strike(t, 0.975, 0.001, 0.012));
        return v + 0.06 * burst;
    });
    saturate(b, 1.5);
    return finish(b, 0.8, 5.0, 40.0);
}

} // namespace korvath::assets::effects
