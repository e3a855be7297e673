// The settings file (korvath.ini) as a battle window reads it. Whatever it
// holds, every setting comes out within its range, nothing may crash, hang or
// read out of bounds, and a change made then is kept.
#include "ui/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace korvath;

namespace {
std::unique_ptr<QTemporaryDir> dir;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/korvath-fuzz-XXXXXX"));
    return dir->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = dir->filePath(QStringLiteral("korvath.ini"));
    const QString note = dir->filePath(QStringLiteral("warned"));
    for (const QString& old : {file, file + QStringLiteral(".damaged"), note}) QFile::remove(old);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    Settings s(file, note);
    const int speed = static_cast<int>(s.animationSpeed());
    if (speed < 0 || speed > 2 || s.volume() < 0 || s.volume() > 100) abort();
    s.setVolume(s.volume() == 25 ? 50 : 25);
    const int chosen = s.volume();
    if (s.keepsChanges() && Settings(file, note).volume() != chosen) abort();
    return 0;
}
