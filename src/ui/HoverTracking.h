#pragma once
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>

#include <optional>

namespace korvath {

// Where the pointer is over the map picture, as an overlay above it follows
// it: true when it moved there or left it.
inline bool followHover(QObject* watched, QObject* map, QEvent* e, std::optional<QPoint>& hover) {
    if (watched != map) return false;
    if (e->type() == QEvent::MouseMove) {
        hover = static_cast<QMouseEvent*>(e)->position().toPoint();
        return true;
    }
    if (e->type() == QEvent::Leave) {
        hover.reset();
        return true;
    }
    return false;
}

} // namespace korvath
