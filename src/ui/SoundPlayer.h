#pragma once
#include "game/state/Ports.h"

#include <map>
#include <set>
#include <string>

struct Mix_Chunk;

namespace korvath {

// Plays the game's short sound effects through SDL2_mixer. The waves come from
// the wave collection (a ustar archive of NAME.wav files). Playing never waits
// and never loops. Without an audio device, or without the named wave, the
// game simply stays silent; each such problem is reported once on stderr.
class SoundPlayer : public Sound {
  public:
    SoundPlayer() = default;
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Reads the collection at path unless it is the one already loaded.
    void load(const std::string& path);
    void play(const std::string& name) override;

    bool audioOpen() const { return audioOpen_; }
    // The player's volume in per cent (0..100) and the mute switch.
    void setVolume(int percent);
    int volume() const { return volume_; }
    void setMuted(bool muted) { muted_ = muted; }
    bool muted() const { return muted_; }
    // Names of the loaded waves (without ".wav").
    std::set<std::string> names() const;

  private:
    bool openAudio();
    void warnOnce(const std::string& key, const std::string& text);
    void freeChunks();

    bool triedAudio_ = false;
    bool audioOpen_ = false;
    int volume_ = 100;
    bool muted_ = false;
    std::string loadedPath_;
    std::map<std::string, Mix_Chunk*> chunks_;   // lower-case name -> wave
    std::map<std::string, std::string> spelled_; // lower-case name -> name as stored
    std::set<std::string> warned_;
};

} // namespace korvath
