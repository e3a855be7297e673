#include "TIntroScreen.h"
#include "KeyboardFrame.h"

#include "BattleSummary.h"
#include "ButtonIcons.h"
#include "Fonts.h"
#include "JpegImage.h"
#include "ScenarioList.h"
#include "TIntroForm.h"
#include "TPlayingScreen.h"
#include "editor/EditorWindow.h"
#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/ShownText.h"
#include "engine/TextFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>

#include <cstdio>

namespace korvath {

namespace {

constexpr unsigned kBackground = 8388672; // deep violet
constexpr unsigned kPanel = 4210688;      // dark teal
constexpr unsigned kListBack = 10485760;  // blue
const QColor kSilver(192, 192, 192);

QFrame* panel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setGeometry(left, top, width, height);
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setBackground(p, designColour(kPanel));
    return p;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top,
              const QFont& font, const QColor& colour) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    setForeground(l, colour);
    l->move(left, top);
    l->adjustSize();
    return l;
}

// An amber frame over the control the keyboard has reached, as in the battle
// window. Drawn over the control inside its own rectangle, so nothing moves;
// not shown for a control the mouse clicked, so the mouse player sees the
// front screen as it always was.
class FocusFrame : public QWidget {
  public:
    explicit FocusFrame(QWidget* target) : QWidget(target) {
        setObjectName("FocusFrame");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        target->installEventFilter(this);
        hide();
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(e)->reason() != Qt::MouseFocusReason) {
            setGeometry(parentWidget()->rect());
            raise();
            show();
        } else if (e->type() == QEvent::FocusOut) {
            hide();
        } else if (e->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        }
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        drawKeyboardFrame(p, rect());
    }
};

bool isEnter(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Space;
}

} // namespace

TIntroScreen::TIntroScreen(Battle& battle, SoundPlayer* sound, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      b_(battle), sound_(sound) {
    setObjectName("IntroScreen");
    setWindowTitle(QStringLiteral("   "));
    setFixedSize(792, 553);
    setBackground(this, designColour(kBackground));

    auto* pic = panel(this, "Picture", 8, 8, 481, 273);
    image1_ = picture(pic, "Image1", 111, 56, "\\graphics\\korfront.jpg");
    auto* title = label(pic, "Label1", "Project Korvath", 4, 19, xenotronFont(27), kSilver);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    title->setGeometry(4, 19, 471, std::max(22, title->height()));
    title->setAttribute(Qt::WA_TranslucentBackground);
    label(pic, "Label_Version", "v 0.84", 456, 257, msSerifFont(8), Qt::white);
    // The way to the players' own battles and to the editor, beside the picture.
    auto* others = new QPushButton(QStringLiteral("More battles..."), pic);
    others->setObjectName("OtherBattles");
    others->setGeometry(8, 196, 96, 26);
    others->setToolTip(QStringLiteral("Battles made by players, found in %1")
                           .arg(QString::fromStdString(playersScenariosFolder())));
    connect(others, &QPushButton::clicked, this, [this] { otherBattlesClick(); });
    auto* editor = new QPushButton(QStringLiteral("Editor..."), pic);
    editor->setObjectName("EditorButton");
    editor->setGeometry(8, 228, 96, 26);
    editor->setToolTip(QStringLiteral("Make a battle of your own"));
    connect(editor, &QPushButton::clicked, this, [this] { openEditor(); });

    listBox_ = new QListWidget(this);
    listBox_->setObjectName("ListBox1");
    listBox_->setGeometry(8, 288, 481, 257);
    listBox_->setFrameShape(QFrame::NoFrame);
    listBox_->setFont(msSansSerifFont(16));
    listBox_->setUniformItemSizes(true);
    listBox_->setFocusPolicy(Qt::NoFocus);
    listBox_->setStyleSheet(QStringLiteral("QListWidget { background: %1; color: white; }"
                                           "QListWidget::item { height: 20px; padding: 0px; }")
                                .arg(designColour(kListBack).name()));
    listBox_->setProperty("tag", 0);

    auto* select = panel(this, "PanelGameSelect", 496, 8, 289, 361);
    korvath_ = picture(select, "Korvath", 8, 8, "\\graphics\\korvathSmallMap.jpg");
    korvath_->setGeometry(8, 8, 273, 169);
    korvath_->setToolTip(QStringLiteral("Korvath Tamberhold"));
    vexlar_ = picture(select, "Vexlar", 8, 184, "\\graphics\\vexlarSmallMap.jpg");
    vexlar_->setGeometry(8, 184, 273, 169);
    vexlar_->setToolTip(QStringLiteral("Starship Vexlar F-242"));
    for (QLabel* map : {korvath_, vexlar_}) map->setCursor(Qt::PointingHandCursor);

    auto* special = panel(this, "SpecialPanel", 496, 372, 289, 85);
    label(special, "Label_Easy", "easy", 6, 32, xenotronFont(13, true), kSilver);
    label(special, "Label_Hard", "Hard", 222, 32, xenotronFont(13, true), kSilver);
    difficulty_ = new QSlider(Qt::Horizontal, special);
    difficulty_->setObjectName("TrackBar_Difficulty");
    difficulty_->setGeometry(64, 27, 153, 37);
    difficulty_->setRange(1, 8);
    difficulty_->setValue(3);
    difficulty_->setPageStep(1);
    difficulty_->setTickPosition(QSlider::TicksBelow);
    difficulty_->setTickInterval(1);
    // The style draws tick marks a shade darker than the background colour.
    QPalette ticks = difficulty_->palette();
    ticks.setColor(QPalette::Window, kSilver);
    difficulty_->setPalette(ticks);
    // The chosen difficulty as a number above the bar.
    auto* level =
        label(special, "Label_Difficulty", QString(), 64, 6, xenotronFont(13, true), kSilver);
    level->setGeometry(64, 6, 153, 20);
    level->setAlignment(Qt::AlignCenter);
    auto showLevel = [level](int value) {
        level->setText(QStringLiteral("Difficulty %1").arg(value));
    };
    showLevel(difficulty_->value());
    connect(difficulty_, &QSlider::valueChanged, level, showLevel);

    const char* hints[] = {"To start click on one of the two maps above. Then place ",
                           "your units on the Red and Yellow Stars. Note you need a",
                           "To destroy the Airlocks and Force fields.",
                           "Also possible to load a QuickStartGame"};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 2);
        label(this, name.constData(), hints[i], 504, 464 + 16 * i, msSansSerifFont(11), Qt::white);
    }

    auto* quit =
        new QPushButton(buttonIcon(QStringLiteral("Quit_Button")), QStringLiteral("Quit"), this);
    quit->setObjectName("Quit_Button");
    quit->setGeometry(707, 517, 78, 28);
    quit->setDefault(true);
    connect(quit, &QPushButton::clicked, this, [this] { QuitButtonClick(); });

    // Without the mouse: Tab goes from the two maps to the difficulty bar and
    // the buttons; the arrows go from one map to the other, or move the bar;
    // Enter or the space bar starts the map or presses the button.
    for (QLabel* map : {korvath_, vexlar_}) map->setFocusPolicy(Qt::TabFocus);
    const QList<QWidget*> ring = {korvath_, vexlar_, difficulty_, others, editor, quit};
    for (QWidget* w : ring) {
        if (w != korvath_ && w != vexlar_) w->setFocusPolicy(Qt::StrongFocus);
        new FocusFrame(w);
        w->installEventFilter(this);
    }
    for (qsizetype i = 1; i < ring.size(); ++i) setTabOrder(ring[i - 1], ring[i]);
    korvath_->setFocus(Qt::OtherFocusReason);

    FormCreate();
}

QLabel* TIntroScreen::picture(QWidget* parent, const char* name, int left, int top,
                              const char* file) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->move(left, top);
    l->setMouseTracking(true);
    l->installEventFilter(this);
    const std::string path = gamePath(b_.AppDir, file);
    std::string error;
    const QImage img = loadJpeg(path, &error);
    if (img.isNull()) {
        std::fprintf(stderr, "korvath: %s\n", error.c_str());
    } else {
        l->setPixmap(QPixmap::fromImage(img));
        l->resize(img.size()); // sizes itself to its picture
    }
    return l;
}

void TIntroScreen::FormCreate() {
    // Centred on the screen; on an 800-pixel-wide screen it sits at the top.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        const int top = s.width() == 800 ? 0 : s.top() + (s.height() - height()) / 2;
        move(s.left() + (s.width() - width()) / 2, top);
    }
    listBox_->setProperty("tag", -1);
    Image1MouseMove();
}

TPlayingScreen* TIntroScreen::battleWindow() const {
    return battle_.data();
}

int TIntroScreen::textState() const {
    return listBox_->property("tag").toInt();
}

void TIntroScreen::showText(int state, const char* file) {
    // A file is read only when the box switches to another text, not on every
    // mouse move over the same picture.
    if (textState() == state) return;
    listBox_->setProperty("tag", state);
    listBox_->clear();
    ++textLoads_;
    const std::string path = gamePath(b_.AppDir, file);
    try {
        TextFile text = TextFile::load(path);
        QStringList lines;
        while (!text.atEnd()) lines << QString::fromStdString(shownText(text.readLine()));
        listBox_->addItems(lines);
    } catch (const DataError& e) {
        std::fprintf(stderr, "korvath: %s\n", e.what());
    }
}

bool TIntroScreen::keyPressed(QObject* watched, QKeyEvent* k) {
    const bool map = watched == korvath_ || watched == vexlar_;
    if (map && isEnter(k)) {
        BeginButtonClick(watched == korvath_ ? ScenarioId::Korvath : ScenarioId::Vexlar);
        return true;
    }
    if (map && (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down || k->key() == Qt::Key_Left ||
                k->key() == Qt::Key_Right)) {
        (watched == korvath_ ? vexlar_ : korvath_)->setFocus(Qt::TabFocusReason);
        return true;
    }
    // A button takes Enter as well as the space bar.
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
        button->click();
        return true;
    }
    return false;
}

bool TIntroScreen::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && keyPressed(watched, static_cast<QKeyEvent*>(e)))
        return true;
    // The map Tab or an arrow reached shows its text, as under the mouse; the
    // read-me stays when the window opens with the first map in focus.
    if (e->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::ActiveWindowFocusReason) {
        if (watched == korvath_) KorvathMouseMove();
        if (watched == vexlar_) VexlarMouseMove();
    }
    if (e->type() == QEvent::MouseMove) {
        if (watched == korvath_)
            KorvathMouseMove();
        else if (watched == vexlar_)
            VexlarMouseMove();
        else if (watched == image1_)
            Image1MouseMove();
    } else if (e->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == korvath_)
            BeginButtonClick(ScenarioId::Korvath);
        else if (watched == vexlar_)
            BeginButtonClick(ScenarioId::Vexlar);
    }
    return QWidget::eventFilter(watched, e);
}

void TIntroScreen::BeginButtonClick(ScenarioId which) {
    if (battle_) return; // one battle at a time
    chooseScenario(b_, which, difficulty_->value());
    if (openBattle()) presentBattle(true);
}

bool TIntroScreen::startScenarioFolder(const std::string& folder) {
    if (battle_) return false;
    try {
        const FoundScenario s = readScenarioFolder(folder);
        chooseScenario(b_, s.manifest, s.folder, difficulty_->value());
    } catch (const DataError& e) {
        QMessageBox::warning(this, "Korvath",
                             QString::fromStdString(
                                 shownText(std::string("The battle cannot start:\n") + e.what())));
        return false;
    }
    if (!openBattle()) return false;
    presentBattle(true);
    return true;
}

void TIntroScreen::otherBattlesClick() {
    if (battle_) return;
    ScenarioListDialog list(b_.AppDir, false, QStringLiteral("More battles"),
                            QStringLiteral("Play"), this);
    emit listShown(&list);
    if (list.result() != QDialog::Accepted && list.exec() != QDialog::Accepted) return;
    if (const ListedScenario* s = list.chosen()) startScenarioFolder(s->found.folder);
}

EditorWindow* TIntroScreen::openEditor() {
    if (!editor_) {
        editor_ = new EditorWindow(b_.AppDir);
        connect(editor_, &EditorWindow::playRequested, this, [this](const QString& folder) {
            if (battle_) return;
            startScenarioFolder(folder.toStdString());
        });
    }
    editor_->show();
    editor_->raise();
    editor_->activateWindow();
    return editor_;
}

EditorWindow* TIntroScreen::editorWindow() const {
    return editor_.data();
}

bool TIntroScreen::playReplay(ReplayScript script, const std::string& fileName) {
    if (battle_) return false;
    b_.rng.setSeed(script.seed);
    if (!script.folder.empty()) {
        try {
            const FoundScenario s = readScenarioFolder(script.folder);
            chooseScenario(b_, s.manifest, s.folder, script.difficulty);
        } catch (const DataError& e) {
            b_.warning(std::string("The replay cannot start:\n") + e.what());
            return false;
        }
    } else {
        chooseScenario(b_, script.scenario, script.difficulty);
    }
    difficulty_->setValue(script.difficulty);
    TPlayingScreen* window = openBattle();
    if (!window) return false;
    try {
        window->playReplay(std::move(script), fileName);
    } catch (const std::exception& e) {
        b_.warning(std::string("The replay cannot start:\n") + e.what());
        window->close();
        return false;
    }
    presentBattle(false);
    return true;
}

TPlayingScreen* TIntroScreen::openBattle() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* window = new TPlayingScreen(b_, sound_, nodes_);
    try {
        window->FormCreate();
    } catch (const std::exception& e) {
        // The battle stays as it was and the front screen stays up.
        delete window;
        QApplication::restoreOverrideCursor();
        const std::string text = std::string("The battle cannot start:\n") + e.what();
        if (b_.ports.dialogs)
            b_.warning(text);
        else
            QMessageBox::warning(this, "Korvath", QString::fromStdString(shownText(text)));
        return nullptr;
    }
    battle_ = window;
    connect(window, &QObject::destroyed, this, [this] { FormDestroyOfBattle(); });
    hide();
    QApplication::restoreOverrideCursor();
    return window;
}

void TIntroScreen::presentBattle(bool withBriefing) {
    if (withBriefing && briefing_) briefing_->showBriefing();
    if (!battle_) return;
    battle_->show();
    // Asked again once the window is on the screen: a window manager may
    // not yet have mapped it when it is first asked, and keys would then do
    // nothing until a click.
    auto activate = [window = battle_] {
        if (!window) return;
        window->raise();
        window->activateWindow();
    };
    activate();
    QTimer::singleShot(0, battle_, activate);
    QTimer::singleShot(150, battle_, activate);
}

void TIntroScreen::FormDestroyOfBattle() {
    // The battle window is gone: back to the front screen for the next
    // battle, once a decided battle has been summed up.
    auto comeBack = [this] {
        show();
        raise();
        activateWindow();
    };
    if (!b_.tally.counted || !b_.tally.decided) return comeBack();
    b_.tally.counted = false; // told once
    QTimer::singleShot(0, this, [this, comeBack] {
        BattleSummary(b_).exec();
        comeBack();
    });
}

void TIntroScreen::closeEvent(QCloseEvent* e) {
    // The editor goes with the game; it asks first about a battle not saved.
    if (editor_ && !editor_->close()) return e->ignore();
    QWidget::closeEvent(e);
    emit closed();
}

} // namespace korvath
