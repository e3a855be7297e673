#include "ReplayPlayer.h"

#include "BattleAids.h"
#include "Settings.h"
#include "TPlayingScreen.h"
#include "engine/ShownText.h"
#include "game/commands/Registry.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QToolBar>

#include <filesystem>

namespace korvath {

namespace {

QString wordsText(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words) s += (s.empty() ? "" : " ") + quotedWord(w);
    return QString::fromStdString(shownText(s));
}

bool isInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

ReplayPlayer::ReplayPlayer(TPlayingScreen* window, ReplayScript script, std::string fileName)
    : QObject(window), window_(window), b_(window->battle()), script_(std::move(script)),
      fileName_(std::move(fileName)), realClock_(b_.ports.clock), realDialogs_(b_.ports.dialogs),
      realWatcher_(b_.ports.watcher), clock_(realClock_),
      meanwhile_([this](const LaterInput& input) { runLater(input); }, &window->recording()) {
    // The replay's saves go aside, never over the player's sets.
    scratch_ = makeScratchFolder();
    dialogs_ = std::make_unique<ReplayDialogs>(barDialogs_, scratch_);
    clock_.times.set(script_.times);
    b_.ports.clock = &clock_;
    b_.ports.dialogs = dialogs_.get();
    b_.ports.watcher = &meanwhile_;
    window->setReplaying(true);
    buildBar();
    // At the pace the player chose for his own battles, to begin with.
    setSpeed(static_cast<Speed>(window->aids()->settings().animationSpeed()));
    qApp->installEventFilter(this);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ReplayPlayer::tick);
    show(tr("Replay of %1: %2 commands")
             .arg(QString::fromStdString(fileName_))
             .arg(script_.steps.size()));
    scheduleNext();
}

ReplayPlayer::~ReplayPlayer() {
    qApp->removeEventFilter(this);
    if (!finished_) {
        b_.ports.clock = realClock_;
        b_.ports.dialogs = realDialogs_;
        b_.ports.watcher = realWatcher_;
    }
    std::error_code error;
    std::filesystem::remove_all(scratch_, error);
}

void ReplayPlayer::buildBar() {
    bar_ = new QToolBar(tr("Replay"), window_);
    bar_->setObjectName("ReplayBar");
    bar_->setMovable(false);
    pause_ = bar_->addAction(tr("Pause"));
    pause_->setObjectName("ReplayPause");
    pause_->setCheckable(true);
    connect(pause_, &QAction::toggled, this, &ReplayPlayer::setPaused);
    step_ = bar_->addAction(tr("Step"));
    step_->setObjectName("ReplayStep");
    step_->setToolTip(tr("Play the next command"));
    connect(step_, &QAction::triggered, this, &ReplayPlayer::step);
    speedBox_ = new QComboBox(bar_);
    speedBox_->setObjectName("ReplaySpeed");
    speedBox_->addItems({tr("Normal"), tr("Fast"), tr("Instant")});
    speedBox_->setFocusPolicy(Qt::NoFocus);
    connect(speedBox_, &QComboBox::activated, this,
            [this](int index) { setSpeed(static_cast<Speed>(index)); });
    bar_->addWidget(speedBox_);
    lineLabel_ = new QLabel(bar_);
    lineLabel_->setObjectName("ReplayLine");
    lineLabel_->setMinimumWidth(320);
    lineLabel_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar_->addWidget(lineLabel_);
    QAction* quit = bar_->addAction(tr("Quit"));
    quit->setObjectName("ReplayQuit");
    connect(quit, &QAction::triggered, window_, &QWidget::close);
    window_->addToolBar(Qt::TopToolBarArea, bar_);
}

void ReplayPlayer::setSpeed(Speed speed) {
    speed_ = speed;
    if (speedBox_->currentIndex() != static_cast<int>(speed))
        speedBox_->setCurrentIndex(static_cast<int>(speed));
    window_->setAnimationScale(speed == Speed::Normal ? 1.0 : speed == Speed::Fast ? 0.25 : 0.0);
    if (!paused_ && !finished_) scheduleNext();
}

void ReplayPlayer::setPaused(bool paused) {
    paused_ = paused;
    if (pause_->isChecked() != paused) pause_->setChecked(paused);
    if (!paused && !finished_) scheduleNext();
}

void ReplayPlayer::step() {
    if (finished_) return;
    setPaused(true);
    tick();
}

// The pause between two commands, so a watcher can follow them.
int ReplayPlayer::pause() const {
    return speed_ == Speed::Normal ? 400 : speed_ == Speed::Fast ? 100 : 0;
}

void ReplayPlayer::scheduleNext() {
    timer_.start(pause());
}

void ReplayPlayer::tick() {
    if (finished_ || !window_) return;
    // A command that is still showing (a walk, a shot) lets this timer fire;
    // the next one waits for it.
    if (ruleRunning(b_, Rule::Command)) {
        if (!paused_) timer_.start(20);
        return;
    }
    if (next_ >= script_.steps.size() || !b_.windowOpen) {
        finish(tr("The replay has ended: the battle is yours."));
        return;
    }
    const ReplayStep& s = script_.steps[next_++];
    if (s.seed) b_.rng.setSeed(*s.seed);
    if (!s.times.empty()) clock_.times.set(s.times);
    meanwhile_.expect(s.meanwhile);
    line_ = s.line;
    show(tr("Line %1: %2").arg(s.line).arg(wordsText(s.words)));
    const QPointer<ReplayPlayer> alive = this;
    std::string error = window_->runScripted(s.words);
    if (!alive) return; // the battle closed with its window
    const std::vector<LaterInput> missed = meanwhile_.left();
    meanwhile_.expect({});
    if (error.empty() && !missed.empty() && b_.windowOpen) {
        line_ = missed.front().line;
        error = "the command before never let input through " +
                std::to_string(missed.front().moment) + " times";
    }
    if (!error.empty()) return fail(line_, error);
    if (!paused_) scheduleNext();
}

// Input that came while the command before let the window handle messages.
void ReplayPlayer::runLater(const LaterInput& input) {
    line_ = input.line;
    runCommand(b_, input.words);
}

void ReplayPlayer::fail(int line, const std::string& reason) {
    failure_ = fileName_ + ", line " + std::to_string(line) + ": " + reason;
    finish(tr("The replay stopped: %1").arg(QString::fromStdString(shownText(failure_))));
    if (realDialogs_) realDialogs_->warning("The replay cannot go on.\n\n" + failure_);
}

void ReplayPlayer::finish(const QString& note) {
    if (finished_) return;
    finished_ = true;
    timer_.stop();
    qApp->removeEventFilter(this);
    b_.ports.clock = realClock_;
    b_.ports.dialogs = realDialogs_;
    b_.ports.watcher = realWatcher_;
    for (QAction* a : {pause_, step_}) a->setEnabled(false);
    speedBox_->setEnabled(false);
    show(note);
    if (window_) window_->setReplaying(false);
    emit ended();
}

void ReplayPlayer::show(const QString& text) {
    lineLabel_->setText(text);
}

void ReplayPlayer::BarDialogs::information(const std::string& text) {
    QString shown = QString::fromStdString(shownText(text));
    shown.replace('\n', ' ');
    player_.show(shown);
}

// The player watches: only the bar takes his input (and the window's close box).
bool ReplayPlayer::eventFilter(QObject* watched, QEvent* e) {
    if (finished_ || !isInput(e->type())) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !window_) return false;
    if (bar_->isAncestorOf(w) || w == bar_) return false;
    // A list that the speed box pops up is a window of its own.
    if (speedBox_->view() && (speedBox_->view()->window() == w->window())) return false;
    return w->window() == window_.data();
}

} // namespace korvath
