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

using namespace korvath;

namespace {

// Information boxes are counted instead of shown, so no test waits on a click.
struct RecordingDialogs : Dialogs {
    std::vector<std::string> texts;
    void information(const std::string& text) override { texts.push_back(text); }
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
};

// The real file dialogs, with information boxes counted as above.
struct FileDialogs : QtDialogs {
    std::vector<std::string> texts;
    void information(const std::string& text) override { texts.push_back(text); }
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
void whenFileDialogShows(std::function<void(QFileDialog&)> act) {
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
void typeAndAccept(QFileDialog& d, const QString& name) {
    auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(edit);
    edit->setText(name);
    static_cast<QDialog&>(d).accept(); // QFileDialog's own accept checks the name
}

QString cleanPath(const std::string& path) {
    return QDir::cleanPath(QString::fromStdString(path));
}

QStringList sidebarFolders(const QFileDialog& d) {
    QStringList out;
    for (const QUrl& url : d.sidebarUrls()) out << QDir::cleanPath(url.toLocalFile());
    return out;
}

void writeText(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lines.join("\r\n").toUtf8());
}

// The front screen's own files: the read-me, the two scenario texts and the
// three pictures.
void writeFrontFiles(const QString& dir) {
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

void moveOver(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QStringList listLines(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// The map panel as painted must show MapImage's pixels where the scroll bars put them.
void checkMapShown(TPlayingScreen* w, Battle& b) {
    QWidget* panel = w->control("MapPanel");
    const QImage shown = panel->grab().toImage();
    const int left = -w->mapImage()->x(), top = -w->mapImage()->y();
    for (QPoint p : {QPoint(5, 5), QPoint(300, 200), QPoint(700, 510)})
        QCOMPARE(shown.pixel(p) & 0xffffff, b.MapImage.pixel(left + p.x(), top + p.y()));
}

} // namespace

class WindowTests : public QObject {
    Q_OBJECT
  private slots:
    void frontScreenLayout();
    void textSwitchesOnlyWhenTheStateChanges();
    void jpegPicturesDecode();
    void cursorFilesRead();
    void dialogFilters();
    void soundStaysSilentWithoutWaves();
    void battleWindowLayout();
    void nodeGridFollowsTheBattle();
    void battlesStartAndQuitWithSmallScenario();
    void deploymentThroughTheWidgets();
    void brokenScenarioKeepsTheFrontScreen();
    void realScenariosStartAndQuit();
    void savedGameDialogs();
    void developerAidsOnlyWithTheVariable();
    void darkThemeKeepsTheLayoutAndLabelsReadable();
};

void WindowTests::frontScreenLayout() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Game g(dir.path());
    TIntroScreen& s = *g.intro;
    QCOMPARE(s.size(), QSize(792, 553));
    QCOMPARE(s.palette().color(QPalette::Window), QColor(64, 0, 128)); // 8388672
    const std::pair<const char*, QRect> places[] = {
        {"Picture", {8, 8, 481, 273}},
        {"ListBox1", {8, 288, 481, 257}},
        {"PanelGameSelect", {496, 8, 289, 361}},
        {"Korvath", {8, 8, 273, 169}},
        {"Vexlar", {8, 184, 273, 169}},
        {"SpecialPanel", {496, 372, 289, 85}},
        {"TrackBar_Difficulty", {64, 27, 153, 37}},
        {"Quit_Button", {707, 517, 78, 28}},
    };
    for (const auto& [name, rect] : places) {
        QWidget* w = s.findChild<QWidget*>(name);
        QVERIFY2(w, name);
        QCOMPARE(w->geometry(), rect);
    }
    QCOMPARE(s.findChild<QWidget*>("Picture")->palette().color(QPalette::Window),
             QColor(0, 64, 64));
    QCOMPARE(s.findChild<QLabel*>("Image1")->pos(), QPoint(111, 56));
    QCOMPARE(s.findChild<QLabel*>("Image1")->size(), QSize(258, 160)); // sizes itself
    QCOMPARE(s.findChild<QLabel*>("Label1")->text(), QString("Project Korvath"));
    QCOMPARE(s.findChild<QLabel*>("Label_Version")->text(), QString("v 0.84"));
    QCOMPARE(s.findChild<QLabel*>("Label_Easy")->text(), QString("easy"));
    QCOMPARE(s.findChild<QLabel*>("Label5")->pos(), QPoint(504, 512));
    auto* bar = s.findChild<QSlider*>("TrackBar_Difficulty");
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 8);
    QCOMPARE(bar->value(), 3);
    // The bar's number shows above it and follows it.
    QCOMPARE(s.findChild<QLabel*>("Label_Difficulty")->text(), QString("Difficulty 3"));
    bar->setValue(6);
    QCOMPARE(s.findChild<QLabel*>("Label_Difficulty")->text(), QString("Difficulty 6"));
    QCOMPARE(s.findChild<QLabel*>("Korvath")->toolTip(), QString("Korvath Tamberhold"));
    QCOMPARE(s.findChild<QLabel*>("Vexlar")->toolTip(), QString("Starship Vexlar F-242"));
    QVERIFY(s.findChild<QPushButton*>("Quit_Button")->isDefault());

    bool closed = false;
    connect(&s, &TIntroScreen::closed, this, [&] { closed = true; });
    QTest::mouseClick(s.findChild<QPushButton*>("Quit_Button"), Qt::LeftButton);
    QVERIFY(closed);
    QVERIFY(!s.isVisible());
}

void WindowTests::textSwitchesOnlyWhenTheStateChanges() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Game g(dir.path());
    TIntroScreen& s = *g.intro;
    auto* list = s.findChild<QListWidget*>("ListBox1");
    QCOMPARE(s.textState(), 0);
    QCOMPARE(listLines(list), QStringList({"Read me first", "second line"}));
    const int reads = s.textLoads();

    auto* korvath = s.findChild<QLabel*>("Korvath");
    moveOver(korvath);
    moveOver(korvath);
    QCOMPARE(s.textState(), 1);
    QCOMPARE(listLines(list), QStringList({"Korvath Tamberhold", "a fortress"}));
    QCOMPARE(s.textLoads(), reads + 1);

    moveOver(s.findChild<QLabel*>("Vexlar"));
    QCOMPARE(s.textState(), 2);
    QCOMPARE(listLines(list), QStringList({"Starship Vexlar"}));
    moveOver(korvath);
    moveOver(s.findChild<QLabel*>("Image1"));
    moveOver(s.findChild<QLabel*>("Image1"));
    QCOMPARE(s.textState(), 0);
    QCOMPARE(listLines(list).first(), QString("Read me first"));
    QCOMPARE(s.textLoads(), reads + 4);
}

void WindowTests::jpegPicturesDecode() {
    QTemporaryDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(20, 120, 220));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y) img.setPixel(x, y, qRgb(250, 250, 250));
    const QString path = dir.path() + "/pic.jpg";
    QVERIFY(img.save(path, "JPG", 100));

    std::string error;
    const QImage back = loadJpeg(path.toStdString(), &error);
    QVERIFY2(!back.isNull(), error.c_str());
    QCOMPARE(back.size(), QSize(40, 30));
    auto near = [](QRgb a, QColor b) {
        return std::abs(qRed(a) - b.red()) < 8 && std::abs(qGreen(a) - b.green()) < 8 &&
               std::abs(qBlue(a) - b.blue()) < 8;
    };
    QVERIFY(near(back.pixel(5, 15), QColor(250, 250, 250)));
    QVERIFY(near(back.pixel(35, 15), QColor(20, 120, 220)));

    // A missing file or one that is no JPEG gives no picture and a reason.
    error.clear();
    QVERIFY(loadJpeg((dir.path() + "/none.jpg").toStdString(), &error).isNull());
    QVERIFY(!error.empty());
    const unsigned char garbage[] = {1, 2, 3, 4, 5};
    QVERIFY(decodeJpeg(garbage, sizeof garbage, &error).isNull());
}

void WindowTests::cursorFilesRead() {
    // A 4 x 4 cursor of 32-bit colour without alpha: the AND mask decides what
    // is see-through. Hot spot (1, 2).
    std::vector<unsigned char> f = {0, 0, 2, 0, 1, 0, 4, 4, 0, 0, 1, 0, 2, 0};
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back((v >> (8 * i)) & 255);
    };
    const uint32_t size = 40 + 4 * 4 * 4 + 4 * 4;
    put32(size);
    put32(22);
    put32(40);
    put32(4);
    put32(8);
    f.insert(f.end(), {1, 0, 32, 0});
    for (int i = 0; i < 6; ++i) put32(0);
    // Colour rows, bottom row first: the top row (stored last) is green.
    for (int y = 3; y >= 0; --y)
        for (int x = 0; x < 4; ++x) put32(y == 0 ? 0x0000ff00u : 0x00ff0000u);
    // Mask rows, bottom first: the top-left pixel is clear.
    for (int y = 3; y >= 0; --y) put32(y == 0 ? 0x80u : 0u);

    auto cursor = parseCursor(f);
    QVERIFY(cursor.has_value());
    QCOMPARE(cursor->hotX, 1);
    QCOMPARE(cursor->hotY, 2);
    QCOMPARE(cursor->image.size(), QSize(4, 4));
    QCOMPARE(qAlpha(cursor->image.pixel(0, 0)), 0);
    QCOMPARE(cursor->image.pixel(1, 0), qRgb(0, 255, 0));
    QCOMPARE(cursor->image.pixel(2, 3), qRgb(255, 0, 0));

    f.resize(f.size() - 10);
    QVERIFY(!parseCursor(f).has_value());
    QCOMPARE(loadCursor("/no/such/sword.cur", Qt::CrossCursor).shape(), Qt::CrossCursor);
}

void WindowTests::dialogFilters() {
    QCOMPARE(QtDialogs::qtFilter("Saved Games|*korvath.map"),
             QString("Saved Games (*korvath.map)"));
    QCOMPARE(QtDialogs::qtFilter("A|*.a|B|*.b;*.c"), QString("A (*.a);;B (*.b *.c)"));
    QCOMPARE(QtDialogs::withDefaultExtension("/s/game1", "*.map"), std::string("/s/game1.map"));
    QCOMPARE(QtDialogs::withDefaultExtension("/s/game1.map", "*.map"), std::string("/s/game1.map"));
    QCOMPARE(QtDialogs::withDefaultExtension("", "*.map"), std::string());
}

void WindowTests::soundStaysSilentWithoutWaves() {
    QTemporaryDir dir;
    // A wave collection with one tiny wave, and one that does not exist.
    std::vector<uint8_t> wav = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                                'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                0x22, 0x56, 0,   0,   0x44, 0xac, 0, 0, 2,   0,   16,  0,
                                'd',  'a',  't', 'a', 4,    0,    0, 0, 0,   0,   0,   0};
    const std::string path = (dir.path() + "/waves.dxw").toStdString();
    const std::vector<uint8_t> archive = writeUstar({{"LoadMag.wav", wav}});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<long>(archive.size()));
    SoundPlayer sound;
    sound.load(path);
    QCOMPARE(sound.names(), std::set<std::string>({"LoadMag"}));
    sound.play("LoadMag");
    sound.play("loadmag");
    sound.play("NoSuchWave");

    SoundPlayer none;
    none.load((dir.path() + "/missing.dxw").toStdString());
    QVERIFY(none.names().empty());
    none.play("intro");
}

void WindowTests::battleWindowLayout() {
    Battle b;
    b.windowOpen = true; // as after the battle's creation, the squad still to place
    b.deploying = true;
    TPlayingScreen w(b, nullptr, nullptr);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(w.centralWidget()->size(), QSize(1018, 734));
    // Every control of the model has a widget or menu entry of the same name.
    for (auto& [name, control] : b.controls.all())
        QVERIFY2(w.control(name) || w.menuEntry(name), name);
    const std::pair<const char*, QRect> places[] = {
        {"InfoLabel", {8, 0, 729, 25}},           {"BackPanel", {5, 21, 732, 540}},
        {"ScrollTop", {24, 24, 710, 16}},         {"ScrollSide", {8, 40, 16, 517}},
        {"MapPanel", {24, 40, 710, 518}},         {"PlaceMenGrid", {753, 24, 240, 401}},
        {"WhatManPanel", {808, 464, 120, 120}},   {"WhatMan", {20, 20, 80, 80}},
        {"PiecesInfoPanel", {745, 21, 265, 683}}, {"GameControls", {5, 568, 732, 51}},
        {"WhatisHappening", {13, 624, 724, 81}},  {"OverHeadMap", {12, 308, 240, 150}},
        {"EquipGrid", {12, 305, 240, 156}},       {"EndTurnButton", {13, 493, 40, 40}},
        {"Cancelbutton", {15, 549, 38, 40}},      {"PickUpButton", {207, 549, 40, 40}},
        {"MapRadio", {12, 467, 100, 20}},         {"PickItems", {15, 613, 234, 24}},
    };
    for (const auto& [name, rect] : places) QCOMPARE(w.control(name)->geometry(), rect);
    QCOMPARE(w.control("WhatManLabel")->pos(), QPoint(749, 440));
    QCOMPARE(w.control("DescLabel")->pos(), QPoint(16, 654));

    w.sync();
    for (const char* name : {"N1", "IwannaC1", "Nodes1", "Setp1tocoords1"})
        QVERIFY(!w.menuEntry(name)->isVisible());
    for (const char* name : {"ShowWounds", "ShowOverwatch", "ShowMediKit"})
        QVERIFY(w.menuEntry(name)->isChecked());
    QVERIFY(!w.control("AimedFireIcon")->isEnabled());
    QVERIFY(w.control("PiecesInfoPanel")->isHidden());
    QVERIFY(w.control("EquipGrid")->isHidden());

    // The scroll bars hold the right and bottom edges of the view.
    auto* top = qobject_cast<QScrollBar*>(w.control("ScrollTop"));
    auto* side = qobject_cast<QScrollBar*>(w.control("ScrollSide"));
    QCOMPARE(top->singleStep(), 64);
    QCOMPARE(side->pageStep(), 256);
    b.view = View::opening(710, 518);
    w.sync();
    QCOMPARE(top->minimum(), 710);
    QCOMPARE(side->maximum(), 1600);
    top->setValue(1000);
    side->setValue(5000);
    QCOMPARE(b.controls.ScrollTop.position, 1000);
    QCOMPARE(b.controls.ScrollSide.position, 1600);
    QCOMPARE(w.mapImage()->pos(), QPoint(710 - 1000, 518 - 1600));
    b.view.setRight(2560);
    w.sync();
    QCOMPARE(top->value(), 2560);
    QCOMPARE(w.mapImage()->x(), 710 - 2560);

    // Widgets follow the battle: panels, texts, lists and the log.
    b.equipmentShown = true;
    b.panel.name = "Sgt Rask";
    b.panel.kit = {"Laser", "", "Medikit", "", "", ""};
    b.EquipmentTypes[1].Name = "Rifle";
    b.EquipmentTypes[2].Name = "Grenade";
    b.PickList = {{1, 0, 0}, {2, 0, 0}};
    b.pickRow = 1;
    b.actionButtons.aimedShot = true;
    b.armedShot = ArmedShot::Aimed; // the window shows the armed shot as the button down
    b.log("first");
    b.log("second");
    w.sync();
    QVERIFY(!w.control("EquipGrid")->isHidden());
    QVERIFY(w.control("OverHeadMap")->isHidden());
    QVERIFY(qobject_cast<QAbstractButton*>(w.control("EquipRadio"))->isChecked());
    QCOMPARE(qobject_cast<QLabel*>(w.control("NameLabel"))->text(), QString("Sgt Rask"));
    QCOMPARE(qobject_cast<QTableWidget*>(w.control("EquipGrid"))->item(2, 0)->text(),
             QString("Medikit"));
    auto* pick = qobject_cast<QComboBox*>(w.control("PickItems"));
    QCOMPARE(pick->count(), 2);
    QCOMPARE(pick->currentText(), QString("Grenade"));
    QVERIFY(qobject_cast<QAbstractButton*>(w.control("AimedFireIcon"))->isChecked());
    auto* memo = qobject_cast<QPlainTextEdit*>(w.control("WhatisHappening"));
    QCOMPARE(memo->toPlainText(), QString("first\nsecond"));
    b.messageLog = {"fresh"};
    w.sync();
    QCOMPARE(memo->toPlainText(), QString("fresh"));

    // Menu entries mirror the model; the marker switches toggle it.
    w.menuEntry("ShowWounds")->trigger();
    QVERIFY(!b.controls.ShowWounds.down);
    QVERIFY(!w.menuEntry("ShowWounds")->isChecked());
}

void WindowTests::nodeGridFollowsTheBattle() {
    Battle b;
    b.windowOpen = true;
    TNodeForm nodes;
    TPlayingScreen w(b, nullptr, &nodes);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(nodes.grid()->objectName(), QString("NodeGrid"));
    QCOMPARE(nodes.grid()->columnCount(), 80);
    QCOMPARE(nodes.grid()->rowCount(), 50);

    b.NodeGrid[3][2] = 17;
    w.sync();
    QVERIFY(!nodes.isVisible()); // hidden: nothing shown
    b.nodeGridVisible = true;
    w.sync();
    QVERIFY(nodes.isVisible());
    QCOMPARE(nodes.grid()->item(1, 2)->text(), QString("17")); // square (3, 2)
    b.NodeGrid[3][2] = 5;
    w.sync();
    QCOMPARE(nodes.grid()->item(1, 2)->text(), QString("5"));

    // Closing it by its frame is the same as the menu entry's second click.
    nodes.close();
    QVERIFY(!b.nodeGridVisible);
}

void WindowTests::battlesStartAndQuitWithSmallScenario() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    const QString appDir = QString::fromStdString(dir.path.string());
    writeFrontFiles(appDir);
    Game g(appDir);

    for (const char* picture : {"Korvath", "Vexlar"}) {
        bool briefingSeen = false;
        QVERIFY2(g.start(picture, &briefingSeen), picture);
        QVERIFY(briefingSeen);
        TPlayingScreen* w = g.intro->battleWindow();
        QVERIFY(w->isVisible());
        QVERIFY(!g.intro->isVisible());
        Battle& b = *g.battle;
        QCOMPARE(b.ScenarioName,
                 std::string(picture == std::string("Korvath") ? "korvath" : "vexlar"));
        QCOMPARE(int(b.Difficulty), 3);
        auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->item(0, 0)->text().toStdString(), b.controls.PlaceMenGrid.rows[0][0]);
        checkMapShown(w, b);

        // The overhead map brings the clicked square to the middle of the view
        // (it sits on the information panel, which shows once deployment is over).
        b.deploying = false;
        w->sync();
        QTest::mouseClick(w->control("OverHeadMap"), Qt::LeftButton, {}, QPoint(90, 60));
        QCOMPARE(b.controls.ScrollTop.position, 30 * 32 + 355);
        QCOMPARE(b.controls.ScrollSide.position, 20 * 32 + 259);
        QCOMPARE(w->mapImage()->pos(), QPoint(710 - (30 * 32 + 355), 518 - (20 * 32 + 259)));
        checkMapShown(w, b);

        // A changed square is all that is painted again.
        QTest::qWait(50); // nothing else left to paint
        w->mapImage()->forgetPainted();
        b.TerrainBitmap.fillRect(608, 384, 640, 416, rgb(250, 250, 0));
        b.copySquare(20, 13);
        b.ports.presenter->repaint();
        // (Qt may add a strip it still owed from the scroll, never the whole view.)
        const QRect painted = w->mapImage()->lastPainted();
        QVERIFY(painted.contains(QRect(608, 384, 32, 32)));
        QVERIFY(painted.width() * painted.height() < 710 * 518 / 4);
        checkMapShown(w, b);

        QPointer<TPlayingScreen> gone = w;
        w->menuEntry("Quit1")->trigger();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(g.intro->isVisible());
        QVERIFY(!g.intro->battleWindow());
        QVERIFY(b.Pieces[1].Name.empty());
    }
    QVERIFY(g.dialogs.texts.empty());

    // A decided battle is summed up before the front screen comes back.
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
    for (int row = 0; row < 2; ++row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {},
                          QPoint(squareCentre(10 + row), squareCentre(10)));
    }
    for (PieceRecord& p : g.battle->Pieces)
        if (p.Side == Side::Operatives) p.Wounds = 0;
    bool summedUp = false, frontHidden = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* s = qobject_cast<BattleSummary*>(QApplication::activeModalWidget())) {
            summedUp = true;
            frontHidden = !g.intro->isVisible();
            s->accept();
        }
    });
    look.start(10);
    QTest::mouseClick(w->control("EndTurnButton"), Qt::LeftButton); // won
    QTest::mouseClick(w->control("EndTurnButton"), Qt::LeftButton); // and off the field
    QTRY_VERIFY(g.intro->isVisible());
    QVERIFY(summedUp && frontHidden);
#endif
}

void WindowTests::deploymentThroughTheWidgets() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    Game g(QString::fromStdString(dir.path.string()));
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
    QVERIFY(QTest::qWaitForWindowActive(w));

    // Pick each soldier from the list and put him on a start star: the
    // presses reach the rules in map pixels.
    const QPoint stars[] = {{9 * 32 + 16, 9 * 32 + 16}, {10 * 32 + 16, 9 * 32 + 16}};
    for (int row = 0; row < 2; ++row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        QVERIFY(b.PieceSelected);
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {}, stars[row]);
        QCOMPARE(int(b.Pieces[row + 1].X), 10 + row);
        QCOMPARE(int(b.Pieces[row + 1].Y), 10);
    }
    // The last placement ends deployment: the list goes, the panel comes.
    QVERIFY(list->isHidden());
    QVERIFY(w->control("PiecesInfoPanel")->isVisible());
    QVERIFY(w->control("EndTurnButton")->isEnabled());
    checkMapShown(w, b);

    // With the mouse on the window's right edge the view creeps right.
    w->setEdgeScrolling(true);
    const int before = b.controls.ScrollTop.position;
    const QPoint edge(w->geometry().right(), w->geometry().center().y());
    QCursor::setPos(edge);
    if (QCursor::pos() == edge) {
        QTRY_VERIFY(b.controls.ScrollTop.position >= before + 64);
        QCOMPARE(w->mapImage()->x(), b.controls.ScrollTop.min - b.controls.ScrollTop.position);
    }
    w->setEdgeScrolling(false);

    // Keys go to the window first and never reach the log.
    auto* memo = qobject_cast<QPlainTextEdit*>(w->control("WhatisHappening"));
    const QString logged = memo->toPlainText();
    QTest::keyClick(memo, Qt::Key_X);
    QCOMPARE(memo->toPlainText(), logged);
#endif
}

void WindowTests::brokenScenarioKeepsTheFrontScreen() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.mapRecords = 100; // a map file cut short
    scenario.write(dir.path);
    Game g(QString::fromStdString(dir.path.string()));
    QVERIFY(!g.start("Korvath"));
    QVERIFY(g.intro->isVisible());
    QCOMPARE(g.dialogs.texts.size(), size_t{1});
    QVERIFY(g.dialogs.texts[0].find("korvath.map") != std::string::npos);
    QVERIFY(!g.briefing->isVisible());
#endif
}

void WindowTests::realScenariosStartAndQuit() {
    const QString appDir = QStringLiteral(KORVATH_GAME_DIR);
    if (!fileExists(gamePath(appDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    // The game's own cursors are pictures this window can use.
    for (const char* name : {"\\graphics\\sword.cur", "\\graphics\\aim.cur"}) {
        std::ifstream in(gamePath(appDir.toStdString(), name), std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                               std::istreambuf_iterator<char>());
        QVERIFY2(parseCursor(bytes).has_value(), name);
    }
    Game g(appDir);
    QVERIFY(!g.intro->findChild<QLabel*>("Image1")->pixmap().isNull());
    QVERIFY(!g.intro->findChild<QLabel*>("Korvath")->pixmap().isNull());
    QVERIFY(g.intro->findChild<QListWidget*>("ListBox1")->count() > 0);
    g.intro->findChild<QSlider*>("TrackBar_Difficulty")->setValue(8);
    for (const char* picture : {"Korvath", "Vexlar"}) {
        bool briefingSeen = false;
        QVERIFY2(g.start(picture, &briefingSeen), picture);
        QVERIFY(briefingSeen);
        TPlayingScreen* w = g.intro->battleWindow();
        Battle& b = *g.battle;
        QCOMPARE(int(b.Difficulty), 8);
        QVERIFY(qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"))->rowCount() > 0);
        checkMapShown(w, b);
        QPointer<TPlayingScreen> gone = w;
        w->menuEntry("Quit1")->trigger();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(g.intro->isVisible());
    }
    QVERIFY2(g.dialogs.texts.empty(), g.dialogs.texts.empty() ? "" : g.dialogs.texts[0].c_str());
}

void WindowTests::savedGameDialogs() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir, home;
    test::TestScenario scenario;
    scenario.write(dir.path);
    EnvVar dataHome("XDG_DATA_HOME");
    dataHome.set(QByteArray::fromStdString(home.path.string()));
    // The player's own saved-games folder already holds games: it is offered too.
    const auto userFolder = home.path / "korvath" / "savedgames";
    std::filesystem::create_directories(userFolder);

    Game g(QString::fromStdString(dir.path.string()));
    FileDialogs dialogs;
    g.battle->ports.dialogs = &dialogs;
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    const auto ownFolder = dir.path / "savedgames";
    QCOMPARE(cleanPath(savedGamesFolder(b)), cleanPath(ownFolder.string()));

    // Both dialogs: in the game's saved-games folder, this scenario's sets
    // only, ".map" added to a bare name, the player's folder beside it.
    auto checkSetUp = [&](QFileDialog& d) {
        QCOMPARE(QDir::cleanPath(d.directory().absolutePath()), cleanPath(ownFolder.string()));
        QCOMPARE(d.nameFilters(), QStringList{"Saved Games (*korvath.map)"});
        QCOMPARE(d.defaultSuffix(), QString("map"));
        const QStringList places = sidebarFolders(d);
        QCOMPARE(places.mid(0, 2),
                 QStringList({cleanPath(ownFolder.string()), cleanPath(userFolder.string())}));
    };

    // A cancelled save writes nothing and says nothing.
    bool asked = false;
    whenFileDialogShows([&](QFileDialog& d) {
        asked = true;
        QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
        checkSetUp(d);
        d.reject();
    });
    w->menuEntry("Savegame1")->trigger();
    QVERIFY(asked);
    QVERIFY(dialogs.texts.empty());

    // A bare name typed in the save dialog becomes a whole set.
    whenFileDialogShows([&](QFileDialog& d) { typeAndAccept(d, "first"); });
    w->menuEntry("Savegame1")->trigger();
    QCOMPARE(dialogs.texts, std::vector<std::string>{"Game has been saved"});
    for (const char* file : {"first_korvath.Txt", "first_korvath.dat", "first_korvath.map"})
        QVERIFY2(std::filesystem::exists(ownFolder / file), file);

    asked = false;
    whenFileDialogShows([&](QFileDialog& d) {
        asked = true;
        QCOMPARE(d.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(d.fileMode(), QFileDialog::ExistingFile);
        checkSetUp(d);
        typeAndAccept(d, "first_korvath.map");
    });
    w->menuEntry("Loadgame1")->trigger();
    QVERIFY(asked);
    QCOMPARE(dialogs.texts.back(), std::string("Game has been loaded"));
    checkMapShown(w, b);
#endif
}

void WindowTests::developerAidsOnlyWithTheVariable() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    const QString appDir = QString::fromStdString(dir.path.string());
    const QStringList playerEntries = {"Show wounds",
                                       "Show overwatch",
                                       "Show Healers",
                                       "Classic black floors",
                                       "-",
                                       "Path preview",
                                       "Line of fire",
                                       "What a shot did",
                                       "Seen enemies",
                                       "Animation speed",
                                       "Sound"};
    auto shownEntries = [](TPlayingScreen* w) {
        QStringList out;
        for (QAction* a : w->findChild<QMenu*>("Options1")->actions())
            if (a->isVisible()) out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    };
    EnvVar developer("KORVATH_DEVELOPER");

    developer.unset();
    {
        Game g(appDir);
        QVERIFY(g.start("Korvath"));
        QCOMPARE(shownEntries(g.intro->battleWindow()), playerEntries);
    }

    developer.set("1");
    Game g(appDir);
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    const QStringList developerEntries = {"-", "IwannaC", "Nodes", "Set p1 to coords"};
    QCOMPARE(shownEntries(w), playerEntries + developerEntries);

    w->menuEntry("Setp1tocoords1")->trigger();
    QCOMPARE(int(b.Pieces[1].X), 42);
    QCOMPARE(int(b.Pieces[1].Y), 30);

    w->menuEntry("Nodes1")->trigger();
    QVERIFY(g.nodes->isVisible());
    w->menuEntry("Nodes1")->trigger();
    QVERIFY(!g.nodes->isVisible());

    // With IwannaC checked a sight test leaves white traces on the screen
    // copy; the terrain the rays are tested against stays clean.
    const Raster terrain = b.TerrainBitmap;
    const Raster screen = b.MapImage;
    w->menuEntry("IwannaC1")->trigger();
    QVERIFY(w->menuEntry("IwannaC1")->isChecked());
    ICanSeeTheEnemy(b, 1, 3);
    QVERIFY(b.TerrainBitmap == terrain);
    int traced = 0;
    QPoint traceAt;
    for (int y = 0; y < b.MapImage.height(); ++y)
        for (int x = 0; x < b.MapImage.width(); ++x)
            if (b.MapImage.pixel(x, y) != screen.pixel(x, y)) {
                QCOMPARE(b.MapImage.pixel(x, y), rgb(255, 255, 255));
                ++traced;
                traceAt = {x, y};
            }
    QVERIFY(traced > 100);
    const QImage shown = w->mapImage()->grab(QRect(traceAt, QSize(1, 1))).toImage();
    QCOMPARE(shown.pixel(0, 0) & 0xffffff, rgb(255, 255, 255));

    w->menuEntry("IwannaC1")->trigger();
    const Raster traces = b.MapImage;
    ICanSeeTheEnemy(b, 1, 3);
    QVERIFY(b.MapImage == traces);
#endif
}

namespace {

// Where every named control of a window sits, and the window's own size.
QMap<QString, QRect> placesOf(QWidget* window) {
    QMap<QString, QRect> out{{"(window)", QRect(QPoint(), window->sizeHint())}};
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            out.insert(w->objectName(), w->geometry());
    return out;
}

double luminance(const QColor& c) {
    auto channel = [](double v) {
        v /= 255;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The colour a widget is seen on: the nearest of it and its parents that
// paints its own background, else the window's.
QColor groundOf(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow()) return p->palette().color(QPalette::Window);
    return w->palette().color(QPalette::Window);
}

} // namespace

// Dressed dark, the battle window and the front screen keep every control
// where it was, and every label's text stands out from what it is shown on
// (a contrast of at least 4.5 to 1).
void WindowTests::darkThemeKeepsTheLayoutAndLabelsReadable() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Battle b;
    b.windowOpen = true;
    b.AppDir = dir.path().toStdString();
    auto windows = [&] {
        std::vector<std::unique_ptr<QWidget>> out;
        out.push_back(std::make_unique<TPlayingScreen>(b, nullptr, nullptr));
        out.push_back(std::make_unique<TIntroScreen>(b, nullptr));
        for (auto& w : out) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            w->show();
        }
        static_cast<TPlayingScreen*>(out[0].get())->sync();
        return out;
    };
    std::vector<QMap<QString, QRect>> plain;
    for (auto& w : windows()) plain.push_back(placesOf(w.get()));

    const QPalette palette = qApp->palette();
    const QString styleName = qApp->style()->name();
    applyTheme(*qApp, false);
    const auto dressed = windows();
    for (size_t i = 0; i < dressed.size(); ++i) {
        QCOMPARE(placesOf(dressed[i].get()), plain[i]);
        for (QLabel* label : dressed[i]->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            const double a = luminance(label->palette().color(QPalette::WindowText));
            const double g = luminance(groundOf(label));
            const double contrast = (std::max(a, g) + 0.05) / (std::min(a, g) + 0.05);
            QVERIFY2(contrast >= 4.5, qPrintable(label->objectName() + ": " + label->text()));
        }
    }
    qApp->setStyleSheet({});
    qApp->setPalette(palette);
    qApp->setStyle(QStyleFactory::create(styleName));
}

QTEST_MAIN(WindowTests)
#include "WindowTests.moc"
