#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korvath::assets {

// The game's sixteen sound effects, made from scratch: "NAME.wav" -> the bytes
// of a 16-bit mono 22050 Hz RIFF WAV file. The result is the same on every run.
std::map<std::string, std::vector<uint8_t>> synthesiseWaves();

// The two custom mouse cursors as Windows .cur files (32 x 32, 32-bit colour
// with an AND mask). The sword's hot spot is its tip, the aim's is its centre.
std::vector<uint8_t> swordCursor();
std::vector<uint8_t> aimCursor();

} // namespace korvath::assets
