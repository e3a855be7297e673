#include "KeysPage.h"

#include "KeyMap.h"
#include "ui/KeyboardPlay.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

namespace korvath {

// Takes the next key pressed, Tab and the window's own keys included, while
// it waits; Esc keeps the old key.
class KeyCatcher : public QLabel {
  public:
    std::function<void(QKeyCombination)> onKey;
    explicit KeyCatcher(QWidget* parent) : QLabel(parent) {
        setFocusPolicy(Qt::StrongFocus);
        setObjectName("KeyCatcher");
    }
    void wait(const QString& prompt) {
        setText(prompt);
        setFocus();
        grabKeyboard();
        waiting_ = true;
    }
    bool waiting() const { return waiting_; }

  protected:
    // A dialog closed while it waits gives the keyboard back.
    void hideEvent(QHideEvent* e) override {
        if (waiting_) releaseKeyboard();
        waiting_ = false;
        clear();
        QLabel::hideEvent(e);
    }
    bool event(QEvent* e) override {
        if (waiting_ && (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride)) {
            auto* k = static_cast<QKeyEvent*>(e);
            e->accept();
            const int key = k->key();
            const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control ||
                                      key == Qt::Key_Alt || key == Qt::Key_Meta ||
                                      key == Qt::Key_AltGr;
            if (e->type() == QEvent::KeyPress && !modifierOnly) {
                waiting_ = false;
                releaseKeyboard();
                // Esc alone leaves the key as it was.
                const bool keep = key == Qt::Key_Escape && k->modifiers() == Qt::NoModifier;
                if (keep) clear();
                if (onKey && !keep) onKey(k->keyCombination());
            }
            return true;
        }
        return QLabel::event(e);
    }

  private:
    bool waiting_ = false;
};

KeysPage::KeysPage(KeyboardPlay& keyboard, QWidget* parent)
    : QWidget(parent), keyboard_(keyboard), table_(new QTableWidget(this)),
      change_(new QPushButton(QStringLiteral("&Change key..."), this)), message_(new QLabel(this)),
      catcher_(new KeyCatcher(this)) {
    setObjectName("KeysPage");
    table_->setObjectName("KeysTable");
    table_->setColumnCount(2);
    table_->setHorizontalHeaderLabels({QStringLiteral("Action"), QStringLiteral("Key")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* reset = new QPushButton(QStringLiteral("&Reset to defaults"), this);
    reset->setObjectName("ResetKeys");
    auto* original = new QPushButton(QStringLiteral("&Default key"), this);
    original->setObjectName("DefaultKey");
    original->setToolTip(QStringLiteral("Give the chosen action its first key back"));
    change_->setObjectName("ChangeKey");
    message_->setObjectName("KeysMessage");
    message_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(change_);
    buttons->addWidget(original);
    buttons->addWidget(reset);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(QStringLiteral("Choose an action, then Change key and press the new "
                                            "key. The game's own keys reach the rules as the "
                                            "keys they know, so saved replays play the same."),
                             this);
    about->setWordWrap(true);
    layout->addWidget(about);
    layout->addWidget(table_, 1);
    layout->addWidget(catcher_);
    layout->addLayout(buttons);
    layout->addWidget(message_);

    connect(change_, &QPushButton::clicked, this, &KeysPage::startCatching);
    connect(table_, &QTableWidget::cellActivated, this, &KeysPage::startCatching);
    connect(reset, &QPushButton::clicked, this, &KeysPage::resetToDefaults);
    connect(original, &QPushButton::clicked, this, [this] {
        if (useDefault(table_->currentRow()).isEmpty()) message_->setText(QStringLiteral("Done."));
    });
    catcher_->onKey = [this](QKeyCombination key) {
        const QString refused = rebind(table_->currentRow(), key);
        catcher_->clear();
        table_->setFocus();
        if (refused.isEmpty()) message_->setText(QStringLiteral("Done."));
    };
    fill();
    table_->setCurrentCell(0, 0);
}

void KeysPage::fill() {
    const auto& actions = KeyMap::actions();
    table_->setRowCount(int(actions.size()));
    for (size_t i = 0; i < actions.size(); ++i) {
        table_->setItem(int(i), 0, new QTableWidgetItem(QString::fromLatin1(actions[i].title)));
        table_->setItem(int(i), 1,
                        new QTableWidgetItem(KeyMap::shown(keyboard_.keys().keyOf(int(i)))));
    }
}

void KeysPage::startCatching() {
    const int row = table_->currentRow();
    if (row < 0) return;
    message_->clear();
    catcher_->wait(QStringLiteral("Press the new key for %1 (Esc keeps the old one)...")
                       .arg(QString::fromLatin1(KeyMap::actions()[size_t(row)].title)));
}

QString KeysPage::rebind(int action, QKeyCombination key) {
    if (action < 0 || action >= int(KeyMap::actions().size())) return QStringLiteral("No action");
    const QString refused = keyboard_.keys().rebind(action, key);
    message_->setText(refused);
    if (!refused.isEmpty()) return refused;
    keyboard_.keysChanged();
    table_->item(action, 1)->setText(KeyMap::shown(keyboard_.keys().keyOf(action)));
    return {};
}

QString KeysPage::useDefault(int action) {
    if (action < 0 || action >= int(KeyMap::actions().size())) return QStringLiteral("No action");
    return rebind(action, KeyMap::defaultOf(action));
}

void KeysPage::resetToDefaults() {
    keyboard_.keys().reset();
    keyboard_.keysChanged();
    fill();
    message_->setText(QStringLiteral("Every key is as it was first."));
}

QString KeysPage::lastMessage() const {
    return message_->text();
}

} // namespace korvath
