#include "SettingsDialog.h"

#include "KeysPage.h"
#include "ui/KeyboardPlay.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvath {

namespace {

// The Options menu's switches, in the dialog's order.
const char* const kSwitches[] = {"PathPreview1", "LineOfFire1",     "ShotOdds1",   "ShotOutcome1",
                                 "FireLanes1",   "SeenEnemies1",    "ShowWounds",  "ShowOverwatch",
                                 "ShowMediKit",  "ClassicFloors",   "BattleFeed1", "FeedInPanel1",
                                 "AllowUndo1",   "KeyboardCursor1", "Mute1"};

// The menu's choices of one, shown as a list to choose from.
struct Choice {
    const char* title;
    std::vector<const char*> entries;
};
const Choice kChoices[] = {
    {"Animation speed", {"SpeedNormal1", "SpeedFast1", "SpeedInstant1"}},
    {"Sound volume", {"Volume100", "Volume75", "Volume50", "Volume25"}},
};

// A menu entry's text without its mnemonic and the key it names.
QString plain(QString text) {
    return text.section(QLatin1Char('\t'), 0, 0).remove('&');
}

} // namespace

SettingsDialog::SettingsDialog(QMainWindow& window, KeyboardPlay& keyboard)
    : QDialog(&window), pages_(new QTabWidget(this)), keys_(new KeysPage(keyboard, this)) {
    setObjectName("SettingsDialog");
    setWindowTitle(QStringLiteral("Settings"));
    pages_->setObjectName("SettingsPages");
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(close);
    addPage(QStringLiteral("&Aids and sound"), choicesPage(window));
    addPage(QStringLiteral("&Keys"), keys_);
    resize(620, 600);
}

void SettingsDialog::addPage(const QString& title, QWidget* page) {
    pages_->addTab(page, title);
}

void SettingsDialog::showPage(const QString& title) {
    for (int i = 0; i < pages_->count(); ++i)
        if (QString(pages_->tabText(i)).remove('&') == QString(title).remove('&'))
            pages_->setCurrentIndex(i);
}

// Each control works its menu entry and follows it, so a change in either
// place is seen in both.
QWidget* SettingsDialog::choicesPage(QMainWindow& window) {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const Choice& c : kChoices) {
        std::vector<QAction*> entries;
        for (const char* name : c.entries)
            if (auto* a = window.findChild<QAction*>(QString::fromLatin1(name)))
                entries.push_back(a);
        if (entries.empty()) continue;
        auto* box = new QComboBox(page);
        box->setObjectName(QString::fromLatin1(c.entries.front()).chopped(1) + "Choice");
        auto follow = [box, entries] {
            const QSignalBlocker quiet(box);
            for (size_t i = 0; i < entries.size(); ++i)
                if (entries[i]->isChecked()) box->setCurrentIndex(int(i));
        };
        for (QAction* a : entries) {
            box->addItem(plain(a->text()));
            connect(a, &QAction::toggled, box, follow);
        }
        follow();
        connect(box, &QComboBox::activated, this, [entries](int i) {
            if (!entries[size_t(i)]->isChecked()) entries[size_t(i)]->trigger();
        });
        form->addRow(QString::fromLatin1(c.title), box);
    }
    for (const char* name : kSwitches) {
        QAction* a = window.findChild<QAction*>(QString::fromLatin1(name));
        if (!a || !a->isCheckable()) continue;
        auto* box = new QCheckBox(plain(a->text()), page);
        box->setObjectName(QString::fromLatin1(name) + "Box");
        box->setToolTip(a->toolTip());
        box->setChecked(a->isChecked());
        connect(a, &QAction::toggled, box, [box](bool on) {
            const QSignalBlocker quiet(box);
            box->setChecked(on);
        });
        connect(box, &QCheckBox::toggled, a, [a](bool on) {
            if (a->isChecked() != on) a->trigger();
        });
        form->addRow(box);
    }
    return page;
}

SettingsDialog* SettingsDialog::addMenuEntry(QMainWindow& window, KeyboardPlay& keyboard) {
    QMenu* options = window.findChild<QMenu*>("Options1");
    if (!options) return nullptr;
    auto* entry = new QAction(QStringLiteral("&Settings..."), options);
    entry->setObjectName("Settings1");
    options->insertAction(options->actions().value(0), entry);
    options->insertSeparator(options->actions().value(1));
    auto* dialog = new SettingsDialog(window, keyboard);
    QObject::connect(entry, &QAction::triggered, dialog, [dialog] {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
    return dialog;
}

} // namespace korvath
