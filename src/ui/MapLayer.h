#pragma once
#include "game/state/BattleState.h"

#include <QFont>
#include <QWidget>

#include <cstdint>

namespace korvath {

// A see-through layer over the whole map picture that draws one aid and lets
// every mouse event through to the map beneath. With captions, it writes in
// the aids' small bold type.
inline void makeMapLayer(QWidget& layer, const char* name, bool captions) {
    layer.setObjectName(QString::fromLatin1(name));
    layer.setAttribute(Qt::WA_TransparentForMouseEvents);
    layer.setAttribute(Qt::WA_NoSystemBackground);
    layer.setGeometry(0, 0, kMapPixelsX, kMapPixelsY);
    if (captions) {
        QFont f = layer.font();
        f.setBold(true);
        f.setPixelSize(12);
        layer.setFont(f);
    }
}

// One step of the hash a layer keeps of what it last drew from: drawn again
// only when the hash of the battle as it now stands differs.
constexpr uint64_t kKeyStart = 1469598103934665603u;
inline uint64_t mixKey(uint64_t h, uint64_t v) {
    return (h ^ v) * 1099511628211u;
}
// Every square's glyph and solidity into the hash: a broken object, an
// opened door.
inline uint64_t mixSquares(uint64_t h, const BattleState& b) {
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            const MapCell& c = b.MapGrid[x][y];
            h = mixKey(h, uint64_t{c.Glyph} << 8 | c.Solidity);
        }
    return h;
}

} // namespace korvath
