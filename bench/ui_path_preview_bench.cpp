// Cost of the path preview as the mouse moves over the battlefield: the walk
// worked out to the square under the mouse and the view repainted where the
// drawn path changed, on Qt's offscreen platform. The map is the real
// korvath map at difficulty 8, with a Raider selected on his start star.
#include "BenchField.h"
#include "game/state/Pieces.h"
#include "ui/MapOverlays.h"
#include "ui/MapView.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace korvath;

namespace {

struct PreviewField {
    std::unique_ptr<Battle> b;
    QWidget panel;
    MapImageWidget* map = nullptr;
    MapOverlays* overlays = nullptr;
    int walker = 0;

    bool open(std::string& why) {
        b = bench::deployedBattle(ScenarioId::Korvath, why);
        if (!b) return false;
        walker = bench::sideOf(*b, Side::Raiders).front();
        b->HumanTurn = true;
        b->MapClicksEnabled = true;
        b->SelectedPiece = static_cast<uint8_t>(walker);
        b->PieceSelected = true;
        b->Pieces[walker].AP = 40;
        // The view as the window shows it, with the Raider in the middle.
        const PieceRecord& p = b->Pieces[walker];
        panel.resize(kMapPanelWidth, kMapPanelHeight);
        map = new MapImageWidget(b->MapImage, &panel);
        map->setGeometry(kMapPanelWidth / 2 - p.X * kSquare, kMapPanelHeight / 2 - p.Y * kSquare,
                         kMapPixelsX, kMapPixelsY);
        overlays = new MapOverlays(*b, map);
        panel.show();
        QCoreApplication::processEvents();
        return true;
    }

    // The mouse moves onto square (x, y) and the window paints what changed.
    void hover(int x, int y) {
        const QPointF at(squareCentre(x), squareCentre(y));
        QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(map, &move);
        QCoreApplication::processEvents();
    }
};

// Squares around the Raider, near and far within the view, each hover a
// different one: every hover works the walk out anew.
void BM_PathPreviewHover(benchmark::State& state) {
    PreviewField f;
    std::string why;
    if (!f.open(why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    const PieceRecord& p = f.b->Pieces[f.walker];
    std::vector<std::pair<int, int>> squares;
    for (int dy = -7; dy <= 7; dy += 2)
        for (int dx = -10; dx <= 10; dx += 3)
            if (Battle::onMap(p.X + dx, p.Y + dy)) squares.emplace_back(p.X + dx, p.Y + dy);
    size_t next = 0, shown = 0;
    for (auto _ : state) {
        const auto [x, y] = squares[next++ % squares.size()];
        f.hover(x, y);
        shown += f.overlays->pathShown().has_value();
    }
    if (shown == 0) {
        std::fprintf(stderr, "no path was shown\n");
        std::abort();
    }
    state.counters["shown"] = benchmark::Counter(double(shown) / state.iterations());
}
BENCHMARK(BM_PathPreviewHover)->Unit(benchmark::kMicrosecond);

// The mouse moving within one square: nothing to work out or repaint.
void BM_PathPreviewHoverSameSquare(benchmark::State& state) {
    PreviewField f;
    std::string why;
    if (!f.open(why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    const PieceRecord& p = f.b->Pieces[f.walker];
    f.hover(p.X + 4, p.Y + 2);
    for (auto _ : state) f.hover(p.X + 4, p.Y + 2);
}
BENCHMARK(BM_PathPreviewHoverSameSquare)->Unit(benchmark::kMicrosecond);

} // namespace
