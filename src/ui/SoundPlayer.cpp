#include "SoundPlayer.h"

#include "engine/DataError.h"
#include "engine/Ustar.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace korvath {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "sound/LoadMag.wav" -> "LoadMag"; anything that is not a wave gives "".
std::string waveName(const std::string& fileName) {
    std::string base = fileName.substr(fileName.find_last_of('/') + 1);
    if (base.size() <= 4 || lower(base.substr(base.size() - 4)) != ".wav") return {};
    return base.substr(0, base.size() - 4);
}

} // namespace

SoundPlayer::~SoundPlayer() {
    freeChunks();
    if (audioOpen_) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SoundPlayer::warnOnce(const std::string& key, const std::string& text) {
    if (warned_.insert(key).second) std::fprintf(stderr, "korvath: %s\n", text.c_str());
}

bool SoundPlayer::openAudio() {
    if (triedAudio_) return audioOpen_;
    triedAudio_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        warnOnce("device", std::string("no sound (") + SDL_GetError() + ")");
        return false;
    }
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        warnOnce("device", std::string("no sound (") + Mix_GetError() + ")");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(16);
    Mix_Volume(-1, volume_ * MIX_MAX_VOLUME / 100);
    audioOpen_ = true;
    return true;
}

void SoundPlayer::freeChunks() {
    for (auto& [name, chunk] : chunks_)
        if (chunk) Mix_FreeChunk(chunk);
    chunks_.clear();
    spelled_.clear();
}

void SoundPlayer::load(const std::string& path) {
    if (path == loadedPath_) return;
    freeChunks();
    loadedPath_ = path;
    Archive archive;
    try {
        archive = readUstar(path);
    } catch (const DataError& e) {
        warnOnce("collection " + path, std::string("no sound: ") + e.what());
        return;
    }
    const bool audio = openAudio();
    for (const auto& [file, bytes] : archive) {
        const std::string name = waveName(file);
        if (name.empty()) continue;
        spelled_[lower(name)] = name;
        Mix_Chunk* chunk = nullptr;
        if (audio) {
            chunk =
                Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
            if (!chunk) warnOnce("wave " + name, "cannot use wave " + file + ": " + Mix_GetError());
        }
        chunks_[lower(name)] = chunk;
    }
}

void SoundPlayer::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    if (audioOpen_) Mix_Volume(-1, volume_ * MIX_MAX_VOLUME / 100);
}

void SoundPlayer::play(const std::string& name) {
    if (!audioOpen_ || muted_) return;
    auto it = chunks_.find(lower(name));
    if (it == chunks_.end() || !it->second) {
        if (it == chunks_.end()) warnOnce("wave " + name, "no wave named " + name);
        return;
    }
    Mix_PlayChannel(-1, it->second, 0);
}

std::set<std::string> SoundPlayer::names() const {
    std::set<std::string> out;
    for (const auto& [key, name] : spelled_) out.insert(name);
    return out;
}

} // namespace korvath
