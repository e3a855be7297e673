// Mirroring the battle's controls model onto the window's widgets.
#include "TPlayingScreen.h"

#include "BattleAids.h"
#include "FeedPanel.h"
#include "Fonts.h"
#include "KitHints.h"
#include "TNodeForm.h"
#include "UndoMenu.h"
#include "engine/ShownText.h"
#include "game/display/Display.h"
#include "game/display/Standing.h"
#include "game/state/Pieces.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>

namespace korvath {

QCursor TPlayingScreen::cursorFor(CursorShape shape) const {
    switch (shape) {
    case CursorShape::Hourglass:
        return QCursor(Qt::WaitCursor);
    case CursorShape::HandPoint:
        return QCursor(Qt::PointingHandCursor);
    case CursorShape::Sword:
        return swordCursor_;
    case CursorShape::Aim:
        return aimCursor_;
    case CursorShape::Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(shownText(s));
}

void syncButton(QAbstractButton* button, const Control& c) {
    const QSignalBlocker block(button);
    if (button->isCheckable()) {
        if (button->isChecked() != c.down) button->setChecked(c.down);
    } else if (button->isDown() != c.down) {
        button->setDown(c.down);
    }
    if (qobject_cast<QRadioButton*>(button) && button->text() != text(c.text))
        button->setText(text(c.text));
}

void syncScrollBar(QScrollBar* scroll, const Control& c) {
    const QSignalBlocker block(scroll);
    if (c.max >= c.min && (scroll->minimum() != c.min || scroll->maximum() != c.max))
        scroll->setRange(c.min, c.max);
    if (scroll->value() != c.position) scroll->setValue(c.position);
}

void syncGrid(QTableWidget* grid, const Control& c) {
    const QSignalBlocker block(grid);
    const int rows = static_cast<int>(c.rows.size());
    if (grid->rowCount() != rows) grid->setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < static_cast<int>(c.rows[r].size()); ++col) {
            if (col >= grid->columnCount()) grid->setColumnCount(col + 1);
            const QString t = text(c.rows[r][col]);
            QTableWidgetItem* item = grid->item(r, col);
            if (!item)
                grid->setItem(r, col, new QTableWidgetItem(t));
            else if (item->text() != t)
                item->setText(t);
        }
    if (grid->currentRow() != c.row) {
        if (c.row >= 0 && c.row < rows)
            grid->selectRow(c.row);
        else
            grid->clearSelection();
    }
}

void syncList(QComboBox* list, const Control& c) {
    const QSignalBlocker block(list);
    QStringList items;
    for (const auto& r : c.rows) items << (r.empty() ? QString() : text(r[0]));
    bool same = list->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = list->itemText(i) == items[i];
    if (!same) {
        list->clear();
        list->addItems(items);
    }
    if (list->currentIndex() != c.row) list->setCurrentIndex(c.row);
}

void syncMenuEntry(QAction* a, const Control& c) {
    if (a->isVisible() != c.visible) a->setVisible(c.visible);
    if (a->isEnabled() != c.enabled) a->setEnabled(c.enabled);
    if (a->isCheckable() && a->isChecked() != c.down) {
        const QSignalBlocker block(a);
        a->setChecked(c.down);
    }
}

} // namespace

// The log mostly grows at the end: append what is new, rebuild otherwise.
void TPlayingScreen::syncLog(QPlainTextEdit* memo, const Control& c) {
    const auto& lines = c.lines;
    const bool grows =
        lines.size() >= memoLines_ && (memoLines_ == 0 || lines[memoLines_ - 1] == memoLast_);
    if (!grows) {
        QStringList all;
        for (const auto& l : lines) all << text(l);
        memo->setPlainText(all.join('\n'));
    } else {
        for (size_t i = memoLines_; i < lines.size(); ++i) memo->appendPlainText(text(lines[i]));
    }
    if (lines.size() != memoLines_ || !grows) {
        memoLines_ = lines.size();
        memoLast_ = lines.empty() ? std::string() : lines.back();
        showNewestLine(memo);
    }
}

// The newest line of the log shows whole at the bottom.
void TPlayingScreen::showNewestLine(QPlainTextEdit* memo) {
    memo->moveCursor(QTextCursor::End);
    memo->ensureCursorVisible();
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
}

void TPlayingScreen::syncControl(const std::string& name, const Control& c) {
    const QString qname = text(name);
    if (QAction* a = actions_.value(qname)) return syncMenuEntry(a, c);
    QWidget* w = widgets_.value(qname);
    if (!w) return;
    const bool enabled = b_.controls.usable(c);
    if (w->isEnabled() != enabled) w->setEnabled(enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);

    if (auto* button = qobject_cast<QAbstractButton*>(w))
        syncButton(button, c);
    else if (auto* scroll = qobject_cast<QScrollBar*>(w))
        syncScrollBar(scroll, c);
    else if (auto* grid = qobject_cast<QTableWidget*>(w))
        syncGrid(grid, c);
    else if (auto* list = qobject_cast<QComboBox*>(w))
        syncList(list, c);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        syncLog(memo, c);
    else if (auto* label = qobject_cast<QLabel*>(w))
        if (w != overHeadMap_) fitText(label, text(c.text));
}

void TPlayingScreen::syncPortrait() {
    const int row = b_.portrait.picture;
    const int frame =
        b_.portrait.frame >= 1 && b_.portrait.frame <= kPictureFrames ? b_.portrait.frame : 1;
    if (row == portraitShown_ && frame == portraitFrame_) return;
    portraitShown_ = row;
    portraitFrame_ = frame;
    if (row < 1 || row > kPictureRows || b_.UnitPictures[row][frame].empty()) {
        whatMan_->clear();
        return;
    }
    const Raster& pic = b_.UnitPictures[row][frame];
    QImage img(reinterpret_cast<const uchar*>(pic.data()), pic.width(), pic.height(),
               pic.width() * 4, QImage::Format_RGB32);
    whatMan_->setPixmap(QPixmap::fromImage(img.scaled(80, 80)));
}

// The shot buttons tell what a shot costs with the weapon in the selected
// soldier's hand (only the low byte of a cost counts, as when he fires).
void TPlayingScreen::syncShotCosts() {
    const bool armed = isPiece(b_, b_.SelectedPiece);
    const EquipmentType* weapon = armed ? &b_.item(b_.Pieces[b_.SelectedPiece].Items[1]) : nullptr;
    const bool firearm = weapon && weapon->Kind == "Firearm";
    const auto hint = [&](const char* what, int cost) {
        QString h = QString::fromLatin1(what);
        if (firearm)
            h += QStringLiteral(" \u2014 %1 AP with %2").arg(cost & 0xFF).arg(text(weapon->Name));
        return h + QStringLiteral(": then click the target");
    };
    const std::pair<const char*, QString> buttons[] = {
        {"AimedFireIcon", hint("Aimed shot", firearm ? weapon->AimedShotAP : 0)},
        {"SnapFireIcon", hint("Quick shot", firearm ? weapon->QuickShotAP : 0)},
    };
    for (const auto& [name, h] : buttons)
        if (QWidget* w = widgets_.value(QString::fromLatin1(name)); w && w->toolTip() != h)
            w->setToolTip(h);
}

// "Turn 3 · your turn · Raiders 7, Operatives 12 · won by destroying ..."
// shows whole where the status bar has room, else without how the battle is
// won (that is in its tooltip). It gives way to the rules' status line, and
// to a hint that needs its room.
void TPlayingScreen::syncStanding() {
    constexpr int kGap = 16;
    const QString line = QString::fromStdString(standingLine(b_));
    const QString brief = line.section(QStringLiteral(" \u00b7 "), 0, 2);
    const QFontMetrics fm(standing_->font());
    const QString hint = statusArea()->currentMessage();
    const int width = statusArea()->width();
    const int room =
        hint.isEmpty()
            ? width * 3 / 4
            : width - QFontMetrics(statusArea()->font()).horizontalAdvance(hint) - 3 * kGap;
    QString shown;
    if (fm.horizontalAdvance(line) <= room)
        shown = line;
    else if (hint.isEmpty() || fm.horizontalAdvance(brief) <= room)
        shown = brief;
    if (standing_->toolTip() != line) standing_->setToolTip(line);
    if (!shown.isEmpty() && standing_->text() != shown) standing_->setText(shown);
    if (const bool show = b_.controls.StatusBar.text.empty() && !shown.isEmpty();
        standing_->isVisible() != show && isVisible()) {
        standing_->setVisible(show);
        // The status line gets the room at once, before its text is fitted.
        if (QLayout* l = statusArea()->layout()) l->activate();
    }
}

void TPlayingScreen::sync(bool now) {
    if (closed_) return;
    b_.showRuleState();
    syncStanding();
    for (auto& [name, control] : b_.controls.all()) syncControl(name, *control);
    if (QAction* floors = menuEntry("ClassicFloors"); floors->isChecked() != b_.classicFloors) {
        const QSignalBlocker block(floors);
        floors->setChecked(b_.classicFloors);
    }

    // The picture inside the panel follows the scroll bars: their positions
    // are the map column at the panel's right edge and the row at its bottom.
    mapImage_->move(mapImageLeft(b_), mapImageTop(b_));
    if (!b_.dirty.empty()) {
        const QRect changed(b_.dirty.left, b_.dirty.top, b_.dirty.right - b_.dirty.left,
                            b_.dirty.bottom - b_.dirty.top);
        b_.dirty = {};
        if (now && mapImage_->isVisible())
            mapImage_->repaint(changed);
        else
            mapImage_->update(changed);
    }
    overHeadMap_->update();
    syncPortrait();
    syncShotCosts();
    if (nodes_) nodes_->mirror(b_.nodeGridVisible, b_.NodeGrid);

    // The window's cursor covers everything; the map has its own beneath it.
    const CursorShape window = b_.cursor;
    const CursorShape overMap = window != CursorShape::Default ? window : b_.mapCursor;
    if (window != windowCursor_) central_->setCursor(cursorFor(windowCursor_ = window));
    if (overMap != mapCursor_) mapImage_->setCursor(cursorFor(mapCursor_ = overMap));
    aids_->battleShown();
    kitHints_->shown();
    if (feed_->open()) feed_->shown();
    if (undoMenu_) undoMenu_->sync(replaying_);
}

} // namespace korvath
