// File operations that crash (stop for good) at operation number `crashAt`,
// as a crash or a kill would in the middle of a save.
#pragma once
#include "game/files/SaveFiles.h"

namespace korvath::test {

struct CrashingFiles : SaveFiles {
    struct Crash {};
    int crashAt = 0;
    mutable int done = 0;
    void step() const {
        if (done++ >= crashAt) throw Crash{};
    }
    void write(const std::string& p, const std::vector<uint8_t>& b,
               const std::string& s) const override {
        step();
        SaveFiles::write(p, b, s);
    }
    void rename(const std::string& f, const std::string& t, const std::string& s) const override {
        step();
        SaveFiles::rename(f, t, s);
    }
    void remove(const std::string& p) const override {
        step();
        SaveFiles::remove(p);
    }
    void syncFolder(const std::string& f) const override {
        step();
        SaveFiles::syncFolder(f);
    }
};

} // namespace korvath::test
