#include "Effects.h"
#include "Sounds.h"
#include "WaveFile.h"

namespace korvath::assets {

std::map<std::string, std::vector<uint8_t>> synthesiseWaves() {
    using namespace effects;
    const std::pair<const char*, synth::Buffer (*)()> all[] = {
        {"intro", intro},     {"select", select},   {"beep", beep},
        {"prompt", prompt},   {"fire", fire},       {"flames", flames},
        {"explode", explode}, {"dead", dead},       {"dizzy1", dizzy1},
        {"dizzy2", dizzy2},   {"LoadMag", loadMag}, {"TurnFinished", turnFinished},
        {"SignOff", signOff}, {"ohmigod", ohmigod}, {"save", save},
        {"load", load},
    };
    std::map<std::string, std::vector<uint8_t>> waves;
    for (const auto& [name, make] : all) waves[std::string(name) + ".wav"] = encodeWav(make());
    return waves;
}

} // namespace korvath::assets
