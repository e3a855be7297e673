#pragma once
#include "Synth.h"

// The game's sound effects, each returned finished (faded, DC-free and at its
// own loudness) and ready to be written as a wave file.
namespace korvath::assets::effects {

// Battle noises.
synth::Buffer fire();
synth::Buffer flames();
synth::Buffer explode();
synth::Buffer dead();
synth::Buffer dizzy1();
synth::Buffer dizzy2();
synth::Buffer loadMag();
synth::Buffer ohmigod();

// Interface sounds and tunes.
synth::Buffer intro();
synth::Buffer select();
synth::Buffer beep();
synth::Buffer prompt();
synth::Buffer turnFinished();
synth::Buffer signOff();
synth::Buffer save();
synth::Buffer load();

} // namespace korvath::assets::effects
