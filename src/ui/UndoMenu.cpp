#include "UndoMenu.h"

#include "engine/ShownText.h"
#include "game/commands/Undo.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace korvath {

namespace {

constexpr int kUndoToldMs = 4000;

QString shown(const std::string& text) {
    return QString::fromStdString(shownText(text));
}

} // namespace

UndoMenu::UndoMenu(QMainWindow& window, Battle& b, QStatusBar* status, Settings& settings, Run run)
    : QObject(&window), b_(b), status_(status), settings_(settings), run_(std::move(run)) {
    edit_ = new QMenu(QStringLiteral("&Edit"), &window);
    edit_->setObjectName("Edit1");
    // A greyed Undo says why in its tooltip.
    edit_->setToolTipsVisible(true);
    QMenu* options = window.findChild<QMenu*>("Options1");
    window.menuBar()->insertMenu(options ? options->menuAction() : nullptr, edit_);

    auto entry = [this](const char* name, const QKeySequence& keys) {
        QAction* a = edit_->addAction(QString::fromLatin1(name));
        a->setObjectName(QString::fromLatin1(name) + "1");
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        return a;
    };
    undo_ = entry("Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = entry("Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(undo_, &QAction::triggered, this, [this] { step("undo", "Undone: "); });
    connect(redo_, &QAction::triggered, this, [this] { step("redo", "Redone: "); });

    allow_ = new QAction(QStringLiteral("Allow undo"), options ? options : edit_);
    allow_->setObjectName("AllowUndo1");
    allow_->setCheckable(true);
    allow_->setChecked(settings_.allowUndo());
    if (options) options->insertAction(window.findChild<QAction*>("N1"), allow_);
    connect(allow_, &QAction::toggled, this, [this](bool on) {
        settings_.setAllowUndo(on);
        sync(false);
    });
}

void UndoMenu::step(const char* command, const char* told) {
    const bool undoing = std::string(command) == "undo";
    const UndoHistory& h = b_.undo;
    if (undoing ? !h.canUndo() : !h.canRedo()) return;
    const std::string what = undoing ? h.nextUndo() : h.nextRedo();
    const size_t before = h.undoSteps();
    run_({command});
    // Nothing happens while another command runs (a walk under way).
    if (h.undoSteps() != before && status_)
        status_->showMessage(QString::fromLatin1(told) + shown(what), kUndoToldMs);
}

void UndoMenu::sync(bool replaying) {
    const bool allowed = settings_.allowUndo();
    edit_->menuAction()->setVisible(allowed);
    const UndoEntries e = undoEntries(b_);
    undo_->setText(shown(e.undoText));
    undo_->setToolTip(e.undoOn ? shown(e.undoText) : shown(e.undoTip));
    undo_->setEnabled(allowed && !replaying && e.undoOn);
    redo_->setText(shown(e.redoText));
    redo_->setToolTip(shown(e.redoText));
    redo_->setEnabled(allowed && !replaying && e.redoOn);
}

} // namespace korvath
