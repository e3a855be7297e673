// The settings file when it is something the game cannot use: a pipe, or a
// damaged file that cannot be put aside.
#include "ui/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace korvath;

class SettingsTests : public QObject {
    Q_OBJECT
  private slots:
    void aPipeIsNeverOpened();
    void aDamagedFileThatCannotBePutAsideIsLeftAndToldOnce();
};

// A reader of a pipe waits for a writer that never comes: the game does not
// open it, plays on the defaults and keeps changes for this run only.
void SettingsTests::aPipeIsNeverOpened() {
    QTemporaryDir dir;
    const QString file = dir.path() + "/korvath.ini", note = dir.path() + "/state/warned";
    QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    Settings s(file, note);
    QVERIFY2(s.warning().contains("not a regular file"), qPrintable(s.warning()));
    QVERIFY(s.pathPreview() && !s.keepsChanges());
    s.setPathPreview(false);
    QVERIFY(!s.pathPreview());
    QVERIFY(QFileInfo(file).exists() && !QFileInfo(file).isFile());
    QVERIFY(Settings(file, note).warning().isEmpty()); // said once
}

// The file is kept as it is (never announced as put aside when it was not),
// the warning says what happened, and it is not repeated at the next start
// unless the file changes.
void SettingsTests::aDamagedFileThatCannotBePutAsideIsLeftAndToldOnce() {
    const struct {
        const char* what;
        bool asideIsAFolder; // else the folder cannot be written
    } cases[] = {{"the name aside taken by a folder", true},
                 {"a folder that cannot be written", false}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/config", file = folder + "/korvath.ini";
        const QString note = dir.path() + "/state/warned";
        QVERIFY(QDir().mkpath(folder));
        const QByteArray damaged = "[aids\npathPreview=false\n\x01\xff";
        auto write = [&](const QByteArray& bytes) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        };
        write(damaged);
        if (c.asideIsAFolder) {
            QVERIFY(QDir().mkpath(file + ".damaged/kept"));
        } else {
            if (geteuid() == 0) continue; // root writes into any folder
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        {
            Settings s(file, note);
            QVERIFY2(s.warning().contains("cannot be put aside") &&
                         !s.warning().contains("kept as") && s.warning().contains("not said again"),
                     qPrintable(QString(c.what) + ": " + s.warning()));
            QVERIFY(s.pathPreview() && !s.keepsChanges());
            s.setLineOfFire(false);
        }
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), damaged);
        QVERIFY2(Settings(file, note).warning().isEmpty(), c.what);
        // A change to the file is worth a word again.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(damaged + "more");
        if (!c.asideIsAFolder) QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY2(!Settings(file, note).warning().isEmpty(), c.what);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

QTEST_GUILESS_MAIN(SettingsTests)
#include "SettingsTests.moc"
