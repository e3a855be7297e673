#include "BattleAids.h"

#include "SoundPlayer.h"
#include "engine/ShownText.h"
#include "game/combat/ShotPath.h"
#include "game/files/Autosave.h"
#include "game/files/SavedGame.h"
#include "look/WindowLook.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <exception>
#include <utility>

namespace korvath {

namespace {

constexpr int kShotToldMs = 6000; // how long the status bar tells what a shot did

const std::vector<std::pair<const char*, QString>> kSpeeds = {
    {"SpeedNormal1", QStringLiteral("Normal")},
    {"SpeedFast1", QStringLiteral("Fast")},
    {"SpeedInstant1", QStringLiteral("Instant")},
};
const int kVolumes[] = {100, 75, 50, 25};

} // namespace

BattleAids::BattleAids(QMainWindow& window, Battle& b, QWidget* mapImage, QStatusBar* status,
                       SoundPlayer* sound)
    : QObject(&window), window_(window), b_(b), status_(status), sound_(sound),
      markers_(new MarkerOverlay(b, mapImage)), lanes_(new FireLanes(b, mapImage)),
      overlays_(new MapOverlays(b, mapImage)), shotLines_(new ShotLines(b, mapImage)),
      odds_(new OddsOverlay(b, mapImage)), heal_(new HealHover(b, mapImage, status)) {
    // The walk's forecast speaks in the status bar while a walk is hovered,
    // and the watchers of a shaded square while no forecast speaks. Each
    // takes back only its own line, never another's (the equipment grid's).
    overlays_->onForecast = [this](const QString& line) { sayOwn(forecastSaid_, line); };
    lanes_->onHoverText = [this](const QString& text) {
        if (!overlays_->forecastShown()) sayOwn(lanesSaid_, text);
    };
    setObjectName("BattleAids");
    buildMenu();
    applySettings();
}

QAction* BattleAids::entry(const QString& name) const {
    return window_.findChild<QAction*>(name);
}

QAction* BattleAids::checkEntry(QMenu* menu, const char* name, const QString& text, bool on) {
    QAction* a = new QAction(text, menu);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    a->setChecked(on);
    menu->addAction(a);
    return a;
}

QActionGroup* BattleAids::choiceEntries(QMenu* menu,
                                        const std::vector<std::pair<const char*, QString>>& entries,
                                        int chosen) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (size_t k = 0; k < entries.size(); ++k) {
        QAction* a = checkEntry(menu, entries[k].first, entries[k].second, int(k) == chosen);
        a->setData(int(k));
        group->addAction(a);
    }
    return group;
}

void BattleAids::buildMenu() {
    QMenu* options = window_.findChild<QMenu*>("Options1");
    if (!options) return;
    // The player's own entries go after the marker switches, before the
    // developer's hidden ones.
    QAction* developers = window_.findChild<QAction*>("N1");
    QMenu aids; // gathered here, then moved into the Options menu in order
    aids.addSeparator()->setObjectName("N2");
    connect(checkEntry(&aids, "PathPreview1", "Path preview", settings_.pathPreview()),
            &QAction::toggled, this, [this](bool on) {
                settings_.setPathPreview(on);
                applySettings();
            });
    connect(checkEntry(&aids, "LineOfFire1", "Line of fire", settings_.lineOfFire()),
            &QAction::toggled, this, [this](bool on) {
                settings_.setLineOfFire(on);
                applySettings();
            });
    connect(checkEntry(&aids, "ShotOdds1", "Shot odds", settings_.shotOdds()), &QAction::toggled,
            this, [this](bool on) {
                settings_.setShotOdds(on);
                applySettings();
            });
    connect(checkEntry(&aids, "ShotOutcome1", "What a shot did", settings_.shotOutcome()),
            &QAction::toggled, this, [this](bool on) {
                settings_.setShotOutcome(on);
                applySettings();
            });
    connect(checkEntry(&aids, "FireLanes1", "Enemy fire lanes\tL", settings_.fireLanes()),
            &QAction::toggled, this, [this](bool on) {
                settings_.setFireLanes(on);
                applySettings();
            });
    connect(checkEntry(&aids, "SeenEnemies1", "Seen enemies", settings_.seenEnemies()),
            &QAction::toggled, this, [this](bool on) {
                settings_.setSeenEnemies(on);
                applySettings();
            });

    QMenu* speed = new QMenu(QStringLiteral("Animation speed"), options);
    speed->setObjectName("AnimationSpeed1");
    connect(choiceEntries(speed, kSpeeds, int(settings_.animationSpeed())),
            &QActionGroup::triggered, this, [this](QAction* a) {
                settings_.setAnimationSpeed(Settings::AnimationSpeed(a->data().toInt()));
            });
    aids.addMenu(speed);

    QMenu* sound = new QMenu(QStringLiteral("Sound"), options);
    sound->setObjectName("Sound1");
    connect(checkEntry(sound, "Mute1", "Mute", settings_.muted()), &QAction::toggled, this,
            [this](bool on) {
                settings_.setMuted(on);
                applySettings();
            });
    sound->addSeparator();
    std::vector<std::pair<const char*, QString>> volumes;
    std::vector<QByteArray> names;
    int chosen = -1;
    for (const int v : kVolumes) names.push_back("Volume" + QByteArray::number(v));
    for (size_t k = 0; k < names.size(); ++k) {
        volumes.emplace_back(names[k].constData(), QStringLiteral("Volume %1%").arg(kVolumes[k]));
        if (kVolumes[k] == settings_.volume()) chosen = int(k);
    }
    connect(choiceEntries(sound, volumes, chosen), &QActionGroup::triggered, this,
            [this](QAction* a) {
                settings_.setVolume(kVolumes[a->data().toInt()]);
                applySettings();
            });
    aids.addMenu(sound);

    for (QAction* a : aids.actions()) {
        aids.removeAction(a);
        a->setParent(options);
        options->insertAction(developers, a);
    }
}

void BattleAids::applySettings() {
    MapOverlays::Switches s;
    s.pathPreview = settings_.pathPreview();
    s.lineOfFire = settings_.lineOfFire();
    s.shotOutcome = settings_.shotOutcome();
    s.seenEnemies = settings_.seenEnemies();
    overlays_->setSwitches(s);
    odds_->setOn(settings_.shotOdds());
    const Look look = lookOf(settings_);
    markers_->setLook(look);
    overlays_->setLook(look);
    odds_->setLook(look);
    lanes_->setOn(settings_.fireLanes());
    if (sound_) {
        sound_->setVolume(settings_.volume());
        sound_->setMuted(settings_.muted());
    }
}

void BattleAids::battleShown() {
    markers_->refresh();
    lanes_->refresh();
    overlays_->refresh();
    shotLines_->refresh();
    odds_->refresh();
    heal_->refresh();
    tellShot();
}

void BattleAids::happened(const BattleEvent& e) {
    if (const auto* stop = std::get_if<ShotStopped>(&e)) stop_ = *stop;
    shotLines_->happened(e);
    if (onEvent) onEvent(e);
}

void BattleAids::sayOwn(QString& said, const QString& line) {
    if (line.isEmpty()) {
        if (!said.isEmpty() && status_->currentMessage() == said) status_->clearMessage();
    } else if (status_->currentMessage() != line) {
        status_->showMessage(line);
    }
    said = line;
}

// After each shot: a marker where it stopped and a line in the status bar.
void BattleAids::tellShot() {
    if (!stop_) return;
    told_ = std::exchange(stop_, std::nullopt);
    if (!settings_.shotOutcome()) return;
    overlays_->markShot(told_->square.x, told_->square.y);
    status_->showMessage(QString::fromStdString(shownText(describeShot(*told_))), kShotToldMs);
}

int BattleAids::beatLength(Beat beat) const {
    const int ms = timingOf(beat).ms;
    // Edge scrolling is the view's pace, not the battle's animation.
    if (beat == Beat::EdgeScroll) return ms;
    switch (settings_.animationSpeed()) {
    case Settings::AnimationSpeed::Normal:
        return ms;
    case Settings::AnimationSpeed::Fast:
        return ms / 4;
    case Settings::AnimationSpeed::Instant:
        return 0;
    }
    return ms;
}

void BattleAids::playerTurnBegins() {
    try {
        autosave(b_, savedGamesFolder(b_));
        autosaved_ = true;
    } catch (const std::exception& e) {
        if (autosaveFailed_) return;
        autosaveFailed_ = true;
        b_.statusLine = std::string("Autosave failed: ") + e.what();
    }
}

} // namespace korvath
