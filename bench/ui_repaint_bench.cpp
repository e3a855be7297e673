// Cost of painting the battlefield in the window: the whole visible part of
// the map, and one square that changed. Runs on Qt's offscreen platform, so
// the figures are the painting into the window's backing store.
#include "game/display/Display.h"
#include "ui/MapView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace korvath;

namespace {

// The map panel of the battle window with the battlefield picture scrolled
// somewhere into the middle, shown as the player sees it.
struct MapPanel {
    Raster picture{kMapPixelsX, kMapPixelsY};
    QWidget panel;
    MapImageWidget* map = nullptr;

    MapPanel() {
        // A busy picture: every square different, as on a real battlefield.
        for (int y = 0; y < kMapPixelsY; ++y)
            for (int x = 0; x < kMapPixelsX; ++x)
                picture.setPixel(x, y, rgb(x * 7 + y, (x / kSquare) * 13, (y / kSquare) * 29));
        panel.resize(kMapPanelWidth, kMapPanelHeight);
        map = new MapImageWidget(picture, &panel);
        map->setGeometry(-900, -600, kMapPixelsX, kMapPixelsY);
        panel.show();
        QCoreApplication::processEvents();
    }
};

void check(MapImageWidget* map, QSize expected) {
    if (map->lastPainted().size() != expected) {
        std::fprintf(stderr, "painted %dx%d instead of %dx%d\n", map->lastPainted().width(),
                     map->lastPainted().height(), expected.width(), expected.height());
        std::abort();
    }
}

void BM_RepaintVisibleMap(benchmark::State& state) {
    MapPanel p;
    for (auto _ : state) p.map->repaint();
    check(p.map, {kMapPanelWidth, kMapPanelHeight});
}
BENCHMARK(BM_RepaintVisibleMap)->Unit(benchmark::kMicrosecond);

void BM_RepaintOneSquare(benchmark::State& state) {
    MapPanel p;
    const QRect square(960, 640, kSquare, kSquare); // inside the view
    for (auto _ : state) p.map->repaint(square);
    check(p.map, square.size());
}
BENCHMARK(BM_RepaintOneSquare)->Unit(benchmark::kMicrosecond);

} // namespace
