#pragma once
#include "engine/Raster.h"

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <functional>

namespace korvath {

// Wraps one of the battle's rasters in a QImage without copying. The raster's
// 0x00RRGGBB pixels are read as Format_RGB32. Rewraps itself when the raster
// has been recreated (a new battle) so the image never points at freed pixels.
class RasterImage {
  public:
    explicit RasterImage(const Raster& raster) : raster_(raster) {}
    const QImage& image();

  private:
    const Raster& raster_;
    QImage image_;
    const Rgb* wrapped_ = nullptr;
};

struct MapMouse {
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    int x = 0;
    int y = 0;
};

// The battlefield picture MapImage: a 2560 x 1600 child of MapPanel that the
// scroll bars move. It paints only what the window asks for, which is the
// visible part of the rectangle that changed.
class MapImageWidget : public QWidget {
    Q_OBJECT
  public:
    MapImageWidget(const Raster& raster, QWidget* parent);
    std::function<void(const MapMouse&)> onMouseDown;
    std::function<void(const MapMouse&)> onMouseMove;
    std::function<void(QWheelEvent*)> onWheel;
    // Area painted by the last paint event, for checking that repaints stay small.
    QRect lastPainted() const { return lastPainted_; }
    void forgetPainted() { lastPainted_ = QRect(); }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    RasterImage image_;
    QRect lastPainted_;
};

// A small picture control showing a raster, used for the overhead map. A press
// reports the image pixel that was clicked.
class RasterLabel : public QLabel {
    Q_OBJECT
  public:
    RasterLabel(const Raster& raster, QWidget* parent);
    std::function<void(int x, int y)> onMouseDown;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    RasterImage image_;
};

} // namespace korvath
