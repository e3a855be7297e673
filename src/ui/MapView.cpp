#include "MapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace korvath {

const QImage& RasterImage::image() {
    if (raster_.empty()) {
        image_ = QImage();
        wrapped_ = nullptr;
    } else if (wrapped_ != raster_.data() || image_.width() != raster_.width() ||
               image_.height() != raster_.height()) {
        wrapped_ = raster_.data();
        image_ = QImage(reinterpret_cast<const uchar*>(wrapped_), raster_.width(), raster_.height(),
                        raster_.width() * 4, QImage::Format_RGB32);
    }
    return image_;
}

MapImageWidget::MapImageWidget(const Raster& raster, QWidget* parent)
    : QWidget(parent), image_(raster) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void MapImageWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QImage& img = image_.image();
    lastPainted_ = e->rect();
    if (img.isNull()) {
        p.fillRect(e->rect(), Qt::black);
        return;
    }
    for (const QRect& r : e->region()) p.drawImage(r.topLeft(), img, r);
}

static MapMouse mouseOf(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    return {e->button(), e->buttons(), e->modifiers(), pos.x(), pos.y()};
}

void MapImageWidget::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown) onMouseDown(mouseOf(e));
}

void MapImageWidget::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove) onMouseMove(mouseOf(e));
}

void MapImageWidget::wheelEvent(QWheelEvent* e) {
    if (onWheel) onWheel(e);
    e->accept();
}

RasterLabel::RasterLabel(const Raster& raster, QWidget* parent) : QLabel(parent), image_(raster) {}

void RasterLabel::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QImage& img = image_.image();
    if (img.isNull()) {
        p.fillRect(e->rect(), Qt::black);
        return;
    }
    p.drawImage(e->rect().topLeft(), img, e->rect());
}

void RasterLabel::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (onMouseDown) onMouseDown(pos.x(), pos.y());
}

} // namespace korvath
