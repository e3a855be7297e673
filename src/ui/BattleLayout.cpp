// The battle window at any size. The design lays the window out for a client
// area of 1018 x 734; a larger or smaller window gives the difference to the
// map view, the information panel keeps its size on the right and the
// actions bar and the message log stay below the map. Below the design's
// height the right-hand column closes up: the deployment list grows shorter
// and the panel's rows of numbers move closer together.

#include "Fonts.h"
#include "TPlayingScreen.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <set>

namespace korvath {

namespace {

// The rows of numbers at the top of the information panel.
constexpr int kFirstRow = 14;
constexpr int kRowPitch = 28;
constexpr int kRowsEnd = 300; // the panel's rows of numbers end above this
// Closing up the rows by this much costs nothing: the gap under them.
constexpr int kSpareUnderRows = 19;

bool named(const QWidget* w, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (w->objectName() == QLatin1String(n)) return true;
    return false;
}

} // namespace

void TPlayingScreen::rememberDesign() {
    // Only the window's own controls are placed; what lives inside a list or
    // a scroll bar is its own business.
    for (const char* parent : {"", "PiecesInfoPanel", "GameControls"}) {
        QWidget* p = *parent ? control(parent) : central_;
        for (QWidget* w : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            design_.insert(w, w->geometry());
    }
}

void TPlayingScreen::placeControls(QSize client) {
    const QSize designed = ClientArea::kDesignSize;
    const int dw = client.width() - designed.width();
    const int dh = client.height() - designed.height();
    const int shrink = std::max(0, -dh);
    for (QWidget* w : central_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!design_.contains(w)) continue;
        QRect r = design_.value(w);
        if (named(w, {"InfoLabel", "ScrollTop"})) {
            r.setWidth(r.width() + dw);
        } else if (named(w, {"BackPanel", "MapPanel"})) {
            r.setSize(r.size() + QSize(dw, dh));
        } else if (named(w, {"ScrollSide"})) {
            r.setHeight(r.height() + dh);
        } else if (named(w, {"GameControls", "WhatisHappening"})) {
            r.setWidth(r.width() + dw);
            r.translate(0, dh);
        } else if (named(w, {"StatusArea"})) {
            r = QRect(0, r.top() + dh, client.width(), r.height());
        } else if (named(w, {"PlaceMenGrid", "PiecesInfoPanel"})) {
            r.translate(dw, 0);
            r.setHeight(r.height() - shrink);
        } else if (named(w, {"WhatManLabel", "WhatManPanel", "SolAPlabel", "Label11"})) {
            r.translate(dw, -shrink);
        }
        if (w->geometry() != r) w->setGeometry(r);
    }
    // The shields sit at the right-hand end of the actions bar.
    for (const char* shield : {"DefenseShield", "DefenseShieldExclude"}) {
        QWidget* w = control(shield);
        w->move(design_.value(w).topLeft() + QPoint(dw, 0));
    }
    placePanel(shrink);
    showNewestLine(qobject_cast<QPlainTextEdit*>(control("WhatisHappening")));
    // Labels that changed width fit their texts anew.
    for (auto& [name, c] : b_.controls.all())
        if (auto* label = qobject_cast<QLabel*>(control(QString::fromLatin1(name))))
            if (label != overHeadMap_ && label->property("fullText").isValid())
                fitText(label, label->property("fullText").toString());
}

// The information panel closes up by `shrink` pixels: first the gap under
// its rows of numbers, then the rows themselves come closer.
void TPlayingScreen::placePanel(int shrink) {
    QWidget* panel = control("PiecesInfoPanel");
    const int closer = (std::max(0, shrink - kSpareUnderRows) + 8) / 9;
    for (QWidget* w : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!design_.contains(w)) continue;
        QRect r = design_.value(w);
        if (r.top() < kRowsEnd)
            r.moveTop(kFirstRow + (r.top() - kFirstRow) / kRowPitch * (kRowPitch - closer));
        else
            r.translate(0, -shrink);
        if (w->geometry() != r) w->setGeometry(r);
    }
}

void TPlayingScreen::viewResized() {
    // A replay keeps the view it was recorded with until it ends.
    if (closed_ || !b_.windowOpen || replaying_) return;
    const QSize view = control("MapPanel")->size();
    run({"view", std::to_string(view.width()), std::to_string(view.height())});
}

void TPlayingScreen::toggleFullScreen() {
    if (isFullScreen())
        setWindowState(windowState() & ~Qt::WindowFullScreen);
    else
        setWindowState(windowState() | Qt::WindowFullScreen);
}

void TPlayingScreen::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange)
        if (QAction* full = menuEntry("FullScreen1")) full->setChecked(isFullScreen());
    QMainWindow::changeEvent(e);
}

} // namespace korvath
