#pragma once
// What the window tests share: the recorded dialogs, the front screen's files,
// one process's worth of windows over a game folder, and the suites of the
// one test program (WindowTestsMain.cpp).
#include "engine/Paths.h"
#include "engine/Ustar.h"
#include "game/combat/Sight.h"
#include "game/files/SavedGame.h"
#include "game/state/Battle.h"
#include "game/state/Pieces.h"
#include "ui/BattleSummary.h"
#include "ui/CursorFile.h"
#include "ui/JpegImage.h"
#include "ui/QtPorts.h"
#include "ui/SoundPlayer.h"
#include "ui/TIntroForm.h"
#include "ui/TIntroScreen.h"
#include "ui/TNodeForm.h"
#include "ui/TPlayingScreen.h"
#include "ui/Theme.h"
#ifdef KORVATH_HAVE_TESTDATA
#include "TestData.h"
#endif

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyleFactory>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

namespace korvath::uitest {

// Information boxes are counted instead of shown, so no test waits on a click.
struct RecordingDialogs : Dialogs {
    std::vector<std::string> texts, questions;
    bool answer = true; // to every question
    void information(const std::string& text) override { texts.push_back(text); }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
};

// The real file dialogs, with information boxes counted as above.
struct FileDialogs : QtDialogs {
    std::vector<std::string> texts;
    void information(const std::string& text) override { texts.push_back(text); }
    bool confirm(const std::string&) override { return true; }
};

// Sets or clears an environment variable for one test and puts it back after.
class EnvVar {
  public:
    explicit EnvVar(const char* name)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {}
    ~EnvVar() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    void set(const QByteArray& value) { qputenv(name_, value); }
    void unset() { qunsetenv(name_); }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// Answers the next modal file dialog once it shows: act looks it over and
// accepts or rejects it.
inline void whenFileDialogShows(std::function<void(QFileDialog&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
        // A failed check inside act returns early: never leave the test waiting on the dialog.
        if (dialog->isVisible()) dialog->reject();
    });
    poll->start();
}

// The player types a name into the dialog and presses Enter. (selectFile
// leaves the name field alone once it has the focus.)
inline void typeAndAccept(QFileDialog& d, const QString& name) {
    auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(edit);
    edit->setText(name);
    static_cast<QDialog&>(d).accept(); // QFileDialog's own accept checks the name
}

inline QString cleanPath(const std::string& path) {
    return QDir::cleanPath(QString::fromStdString(path));
}

inline QStringList sidebarFolders(const QFileDialog& d) {
    QStringList out;
    for (const QUrl& url : d.sidebarUrls()) out << QDir::cleanPath(url.toLocalFile());
    return out;
}

inline void writeText(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lines.join("\r\n").toUtf8());
}

// The front screen's own files: the read-me, the two scenario texts and the
// three pictures.
inline void writeFrontFiles(const QString& dir) {
    writeText(dir + "/readme.txt", {"Read me first", "second line"});
    writeText(dir + "/scenarios/Korvath.txt", {"Korvath Tamberhold", "a fortress"});
    writeText(dir + "/scenarios/vexlar.txt", {"Starship Vexlar"});
    QDir().mkpath(dir + "/graphics");
    const std::pair<const char*, QSize> pictures[] = {{"korfront.jpg", {258, 160}},
                                                      {"korvathSmallMap.jpg", {273, 169}},
                                                      {"vexlarSmallMap.jpg", {273, 169}}};
    for (const auto& [name, size] : pictures) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(200, 40, 40));
        QVERIFY(img.save(dir + "/graphics/" + name, "JPG", 95));
    }
}

// One process's worth of windows over a game folder, as main() builds them.
struct Game {
    explicit Game(const QString& appDir) {
        battle->AppDir = appDir.toStdString();
        battle->ports.clock = &clock;
        battle->ports.dialogs = &dialogs;
        battle->ports.sound = &sound;
        battle->developerMode = qEnvironmentVariableIntValue("KORVATH_DEVELOPER") == 1;
        intro = std::make_unique<TIntroScreen>(*battle, &sound);
        briefing = std::make_unique<TIntroForm>(*battle);
        nodes = std::make_unique<TNodeForm>();
        intro->setBriefing(briefing.get());
        intro->setNodeForm(nodes.get());
        intro->show();
    }
    ~Game() {
        if (intro->battleWindow()) delete intro->battleWindow();
    }

    // Clicks a scenario picture; the briefing is checked and closed by a click
    // as soon as it shows.
    bool start(const char* picture, bool* briefingSeen = nullptr) {
        QTimer::singleShot(0, briefing.get(), [this, briefingSeen] {
            if (briefingSeen)
                *briefingSeen = briefing->isVisible() && !briefing->picture().isNull();
            QTest::mouseClick(briefing->findChild<QLabel*>("IntroIMage"), Qt::LeftButton, {},
                              QPoint(10, 10));
        });
        QTest::mouseClick(intro->findChild<QLabel*>(picture), Qt::LeftButton, {}, QPoint(5, 5));
        return intro->battleWindow() != nullptr;
    }

    std::unique_ptr<Battle> battle = std::make_unique<Battle>();
    QtClock clock;
    RecordingDialogs dialogs;
    SoundPlayer sound;
    std::unique_ptr<TIntroScreen> intro;
    std::unique_ptr<TIntroForm> briefing;
    std::unique_ptr<TNodeForm> nodes;
};

inline void moveOver(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline QStringList listLines(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// The map panel as painted must show MapImage's pixels where the scroll bars put them.
inline void checkMapShown(TPlayingScreen* w, Battle& b) {
    QWidget* panel = w->control("MapPanel");
    const QImage shown = panel->grab().toImage();
    const int left = -w->mapImage()->x(), top = -w->mapImage()->y();
    for (QPoint p : {QPoint(5, 5), QPoint(300, 200), QPoint(700, 510)})
        QCOMPARE(shown.pixel(p) & 0xffffff, b.MapImage.pixel(left + p.x(), top + p.y()));
}

// The suites, one for each window, in the order the program runs them.
std::unique_ptr<QObject> frontScreenTests();
std::unique_ptr<QObject> battleWindowTests();
std::unique_ptr<QObject> battleMenuTests();
std::unique_ptr<QObject> nodeGridTests();
std::unique_ptr<QObject> themeTests();

} // namespace korvath::uitest
