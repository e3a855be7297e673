#include "FeedPanel.h"

#include <algorithm>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace korvath {

namespace {

QColor sideColour(int side, int humanSide) {
    if (side == 0) return QColor(0xd8, 0xd0, 0xa0);                                 // the battle
    return side == humanSide ? QColor(0x8c, 0xc8, 0xff) : QColor(0xff, 0x9a, 0x80); // us, them
}

} // namespace

FeedPanel::FeedPanel(const Battle& b, QWidget* parent, std::function<void(Point square)> lookAt)
    : QDockWidget(QStringLiteral("Battle feed"), parent), b_(b), list_(new QListWidget(this)),
      lookAt_(std::move(lookAt)) {
    setObjectName("BattleFeed");
    // Shown and hidden from View > Battle feed, so the choice is remembered.
    setFeatures(QDockWidget::DockWidgetMovable);
    list_->setObjectName("FeedList");
    list_->setWordWrap(true);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setToolTip(QStringLiteral("Who did what to whom, newest last: click a line to look "
                                     "where it happened"));
    list_->setMinimumWidth(300);
    setWidget(list_);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        const auto& lines = feed_.lines();
        if (row >= 0 && row < static_cast<int>(lines.size()) && lines[row].square.x > 0)
            lookAt_(lines[row].square);
    });
}

FeedPanel::~FeedPanel() {
    // The page (and the list on it) is the information panel's child: it goes
    // with the feed, unless the panel has taken it already.
    delete page_.data();
}

namespace {

// Keeps the page over the information panel's figures, down to its row of
// action buttons, which stay in reach.
class FillParent : public QObject {
  public:
    explicit FillParent(QWidget* page) : QObject(page), page_(page) {
        page->parentWidget()->installEventFilter(this);
        if (QWidget* b = page->parentWidget()->findChild<QWidget*>("EndTurnButton"))
            b->installEventFilter(this);
        fit();
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched->isWidgetType() && (e->type() == QEvent::Resize || e->type() == QEvent::Move))
            fit();
        return false;
    }

  private:
    void fit() {
        QWidget* panel = page_->parentWidget();
        QRect r = panel->rect();
        if (const QWidget* buttons = panel->findChild<QWidget*>("EndTurnButton"))
            r.setBottom(std::min(r.bottom(), buttons->geometry().top() - 4));
        page_->setGeometry(r);
    }
    QWidget* page_;
};

} // namespace

void FeedPanel::placeIn(QWidget* panel, bool asPage) {
    if (asPage == this->asPage()) return;
    if (asPage) {
        page_ = new QWidget(panel);
        page_->setObjectName("FeedPage");
        page_->setAutoFillBackground(true);
        auto* column = new QVBoxLayout(page_);
        column->setContentsMargins(4, 4, 4, 4);
        auto* head = new QHBoxLayout;
        auto* title = new QLabel(QStringLiteral("<b>Battle feed</b>"), page_);
        auto* back = new QPushButton(QStringLiteral("Soldier"), page_);
        back->setObjectName("FeedPageBack");
        back->setFocusPolicy(Qt::NoFocus);
        back->setToolTip(QStringLiteral("Back to the soldier's figures"));
        connect(back, &QPushButton::clicked, this, [this] {
            setOpen(false);
            if (onPageClosed) onPageClosed();
        });
        head->addWidget(title, 1);
        head->addWidget(back);
        column->addLayout(head);
        column->addWidget(list_, 1);
        new FillParent(page_);
        hide();
    } else {
        setWidget(list_);
        delete page_.data();
    }
    setOpen(open_);
}

void FeedPanel::setOpen(bool open) {
    open_ = open;
    if (page_) {
        page_->setVisible(open);
        if (open) page_->raise();
    } else {
        setVisible(open);
    }
    if (open) shown();
}

bool FeedPanel::open() const {
    return page_ ? page_->isVisible() : isVisible();
}

void FeedPanel::happened(const BattleEvent& e) {
    feed_.happened(b_, e);
}

void FeedPanel::shown() {
    const auto& lines = feed_.lines();
    const bool atEnd = list_->verticalScrollBar()->value() == list_->verticalScrollBar()->maximum();
    const int n = static_cast<int>(lines.size());
    while (list_->count() > n) delete list_->takeItem(list_->count() - 1);
    // A shot's line grows until its last wound is told, while other lines
    // (an object it broke, a death) come after it: the newest are checked.
    for (int k = std::max(0, list_->count() - 8); k < n; ++k) {
        const QString text = QString::fromStdString(lines[k].text);
        if (k < list_->count()) {
            if (list_->item(k)->text() != text) list_->item(k)->setText(text);
            continue;
        }
        auto* item = new QListWidgetItem(text);
        item->setForeground(sideColour(lines[k].side, b_.HumanSide));
        list_->addItem(item);
    }
    if (atEnd) list_->scrollToBottom();
}

} // namespace korvath
