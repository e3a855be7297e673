#include "Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <cstdio>

namespace korvath {

namespace {

// How a setting is written in the file.
enum class Kind { Flag, Number, Choice };

struct KeyInfo {
    const char* name;
    Kind kind;
    int fallback;
    int low = 0, high = 1;    // a number's range
    QStringList choices = {}; // a choice's words, in the order of its enum
};

const KeyInfo& info(Settings::Key k) {
    static const KeyInfo table[Settings::kKeys] = {
        {"aids/pathPreview", Kind::Flag, 1},
        {"aids/lineOfFire", Kind::Flag, 1},
        {"aids/shotOutcome", Kind::Flag, 1},
        {"aids/seenEnemies", Kind::Flag, 0},
        {"animation/speed", Kind::Choice, 0, 0, 2, {"normal", "fast", "instant"}},
        {"sound/volume", Kind::Number, 100, 0, 100},
        {"sound/muted", Kind::Flag, 0},
        {"display/classicFloors", Kind::Flag, 0},
        {"display/battleFeed", Kind::Flag, 0},
        {"battle/allowUndo", Kind::Flag, 1},
        {"aids/shotOdds", Kind::Flag, 1},
        {"play/keyboardCursor", Kind::Flag, 0},
        {"look/colours", Kind::Choice, 0, 0, 1, {"normal", "colourblind"}},
        {"look/markerSize", Kind::Choice, 0, 0, 1, {"1x", "2x"}},
        {"look/textSize", Kind::Choice, 1, 0, 2, {"small", "normal", "large"}},
        {"aids/fireLanes", Kind::Flag, 0},
        {"display/feedInPanel", Kind::Flag, 0},
    };
    return table[static_cast<int>(k)];
}

// The value as the file holds it; false when the text means nothing here.
bool parse(const KeyInfo& k, const QString& text, int& value) {
    const QString t = text.trimmed().toLower();
    switch (k.kind) {
    case Kind::Flag:
        if (t == "true" || t == "1")
            value = 1;
        else if (t == "false" || t == "0")
            value = 0;
        else
            return false;
        return true;
    case Kind::Number: {
        bool ok = false;
        value = t.toInt(&ok);
        return ok && value >= k.low && value <= k.high;
    }
    case Kind::Choice:
        value = static_cast<int>(k.choices.indexOf(t));
        return value >= 0;
    }
    return false;
}

QVariant written(const KeyInfo& k, int value) {
    switch (k.kind) {
    case Kind::Flag:
        return value != 0;
    case Kind::Number:
        return value;
    case Kind::Choice:
        return k.choices.value(value);
    }
    return {};
}

// What the file is now (its name, kind, size and time), so that a warning
// about a file that cannot be mended is given once for it.
QString fingerprint(const QFileInfo& f) {
    const QStringList parts = {f.absoluteFilePath(), f.isFile() ? "file" : "other",
                               QString::number(f.size()),
                               QString::number(f.lastModified().toMSecsSinceEpoch())};
    return parts.join('\n') + '\n';
}

} // namespace

QString Settings::defaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/korvath/korvath.ini");
}

QString Settings::defaultNoteFile() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/korvath/settings-warned");
}

Settings::Settings(const QString& file, const QString& noteFile)
    : file_(file), noteFile_(noteFile) {
    load();
}

void Settings::load() {
    for (int i = 0; i < kKeys; ++i) values_[i] = info(static_cast<Key>(i)).fallback;
    const QFileInfo found(file_);
    if (found.exists() && !found.isFile()) {
        // A pipe or a device would hold the game as it reads: never opened.
        warning_ = QStringLiteral("the settings file %1 is not a regular file; it is left as it "
                                  "is, the defaults are used and changes are not kept")
                       .arg(file_);
        return tellOnce(fingerprint(found));
    }
    store_ = std::make_unique<QSettings>(file_, QSettings::IniFormat);
    if (store_->status() != QSettings::NoError) {
        if (!openDamaged()) return tellOnce(fingerprint(found));
    } else {
        QStringList unknown;
        for (int i = 0; i < kKeys; ++i) {
            const KeyInfo& k = info(static_cast<Key>(i));
            const QVariant v = store_->value(QString::fromLatin1(k.name));
            if (!v.isValid()) continue;
            int value = 0;
            if (parse(k, v.toString(), value)) {
                values_[i] = value;
            } else {
                unknown << QString::fromLatin1(k.name);
                // Told once: the file gets the default in its place.
                store_->setValue(QString::fromLatin1(k.name), written(k, values_[i]));
            }
        }
        if (!unknown.isEmpty()) store_->sync();
        if (!unknown.isEmpty())
            warning_ = QStringLiteral("the settings file %1 holds values the game does not know "
                                      "(%2); their defaults are used")
                           .arg(file_, unknown.join(QStringLiteral(", ")));
    }
    if (!warning_.isEmpty()) std::fprintf(stderr, "korvath: %s\n", qPrintable(warning_));
}

// A file unreadable as settings is put aside, so that the next change starts
// a sound file; false when it cannot be (its folder cannot be written), and
// then it is left as it is and never written over.
bool Settings::openDamaged() {
    const QString aside = file_ + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile damaged(file_);
    if (damaged.rename(aside)) {
        warning_ = QStringLiteral("the settings file %1 is damaged; it is kept as %2 and the "
                                  "defaults are used")
                       .arg(file_, aside);
        store_ = std::make_unique<QSettings>(file_, QSettings::IniFormat);
        return true;
    }
    warning_ = QStringLiteral("the settings file %1 is damaged and cannot be put aside as %2 (%3); "
                              "it is left as it is, the defaults are used and changes are not kept")
                   .arg(file_, aside, damaged.errorString());
    store_.reset();
    return false;
}

// Nothing the game can do mends the file: the warning is given once for it as
// it is now, and again only when it has changed.
void Settings::tellOnce(const QString& fingerprint) {
    const QByteArray note = fingerprint.toUtf8();
    QFile told(noteFile_);
    if (QFileInfo(noteFile_).isFile() && told.open(QIODevice::ReadOnly) && told.readAll() == note) {
        warning_.clear();
        return;
    }
    told.close();
    QDir().mkpath(QFileInfo(noteFile_).path());
    QSaveFile out(noteFile_);
    if (out.open(QIODevice::WriteOnly) && out.write(note) == note.size() && out.commit())
        warning_ += QStringLiteral("; this is not said again until the file changes");
    std::fprintf(stderr, "korvath: %s\n", qPrintable(warning_));
}

void Settings::set(Key k, int value) {
    const KeyInfo& i = info(k);
    if (i.kind != Kind::Flag && (value < i.low || value > i.high)) return;
    values_[index(k)] = value;
    if (!store_) return; // a file that cannot be used: for this run only
    QDir().mkpath(QFileInfo(file_).path());
    store_->setValue(QString::fromLatin1(i.name), written(i, value));
    store_->sync();
}

QString Settings::text(const QString& name) const {
    if (!store_) return texts_.value(name);
    return store_->value(name).toString();
}

void Settings::setText(const QString& name, const QString& value) {
    texts_.insert(name, value);
    if (!store_) return;
    QDir().mkpath(QFileInfo(file_).path());
    store_->setValue(name, value);
    store_->sync();
}

} // namespace korvath
