// Walls, force fields and their generators: everything a shot never breaks.
#include "assets/Tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace korvath::assets {

namespace {

// A small, fixed shade change per block so stone does not look flat.
QColor shade(QColor c, int seed) {
    const int v = (seed * 73 + 19) % 7 - 3;
    return c.lighter(100 + v * 5);
}

// Fortress stone: courses 8 pixels high, joints staggered by half a block.
void stone(QPainter& p, const Theme& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int row = 0; row < 4; ++row) {
        const int off = (row % 2) * 8;
        for (int x = -8 + off; x < 32; x += 16) {
            p.fillRect(x, row * 8, 16, 8, shade(t.wall, row * 5 + (x + 16) / 16));
            p.fillRect(x + 1, row * 8, 14, 1, t.wall.lighter(112));
        }
        p.fillRect(0, row * 8 + 7, 32, 1, t.seam);
        for (int x = off; x < 32; x += 16) p.fillRect(x, row * 8, 1, 7, t.seam);
    }
    p.restore();
}

// Starship hull: 16-pixel plates with seams and rivets.
void plates(QPainter& p, const Theme& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int py = 0; py < 2; ++py)
        for (int px = 0; px < 2; ++px) {
            QLinearGradient g(px * 16, py * 16, px * 16 + 16, py * 16 + 16);
            g.setColorAt(0, t.wall.lighter(108));
            g.setColorAt(1, t.wall.darker(108));
            p.fillRect(px * 16, py * 16, 16, 16, g);
        }
    p.fillRect(0, 15, 32, 1, t.seam);
    p.fillRect(15, 0, 1, 32, t.seam);
    p.fillRect(0, 16, 32, 1, t.wall.lighter(120));
    p.fillRect(16, 0, 1, 32, t.wall.lighter(120));
    for (int y : {3, 19})
        for (int x : {3, 11, 19, 27}) draw::rivet(p, x, y, t.wall);
    p.restore();
}

// Cliff rock (fortress) or reinforced bulkhead (starship).
void rockFace(QPainter& p, const Theme& t) {
    p.save();
    if (!t.starship) {
        p.fillRect(0, 0, 32, 32, t.rock);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        const QPointF lumps[] = {{6, 7}, {20, 5}, {27, 17}, {11, 21}, {22, 27}, {3, 28}, {16, 14}};
        int i = 0;
        for (QPointF c : lumps) {
            p.setBrush(i % 2 ? t.rock.lighter(118) : t.rock.darker(112));
            p.drawEllipse(c, 6.5 - (i % 3), 5.0 - (i % 2));
            ++i;
        }
        p.setPen(QPen(t.rockDark, 1));
        p.drawPolyline(QPolygonF() << QPointF(0, 12) << QPointF(9, 14) << QPointF(14, 10)
                                   << QPointF(24, 12) << QPointF(32, 9));
        p.drawPolyline(QPolygonF()
                       << QPointF(5, 32) << QPointF(8, 24) << QPointF(17, 22) << QPointF(20, 17));
        p.drawPolyline(QPolygonF() << QPointF(26, 32) << QPointF(28, 24) << QPointF(32, 22));
    } else {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(0, 0, 32, 32, t.rock);
        for (int y = 2; y < 32; y += 8) {
            p.fillRect(0, y, 32, 3, t.rock.lighter(125));
            p.fillRect(0, y + 3, 32, 1, t.rockDark);
        }
        for (int x : {4, 20}) draw::rivet(p, x, 7, t.rock);
        for (int x : {12, 28}) draw::rivet(p, x, 23, t.rock);
    }
    p.restore();
}

void wallBlock(QPainter& p, const Theme& t, int mask) {
    if (t.starship)
        plates(p, t);
    else
        stone(p, t);
    const int open = ~mask & 15;
    draw::bevel(p, QRect(0, 0, 32, 32), t.wallLight, t.wallDark, open, 3);
}

void rockBlock(QPainter& p, const Theme& t, int mask) {
    rockFace(p, t);
    draw::bevel(p, QRect(0, 0, 32, 32), t.rockLight, t.rockDark, ~mask & 15, 2);
}

// A wall panel standing alone in a run: a full block with a thin frame.
void panel(QPainter& p, const Theme& t) {
    wallBlock(p, t, 15);
    draw::bevel(p, QRect(0, 0, 32, 32), t.wallLight, t.wallDark, 15, 1);
}

void lamp(QPainter& p, const Theme& t) {
    panel(p, t);
    p.fillRect(12, 9, 8, 14, t.metalDark);
    draw::glow(p, QPointF(16, 16), 9, t.accent);
}

void banner(QPainter& p, const Theme& t) {
    panel(p, t);
    p.setPen(Qt::NoPen);
    if (!t.starship) {
        // The Tamberhold colours: a crimson banner with a gold sigil.
        QPolygonF cloth;
        cloth << QPointF(8, 3) << QPointF(24, 3) << QPointF(24, 27) << QPointF(16, 22)
              << QPointF(8, 27);
        p.setBrush(QColor(132, 20, 28));
        p.drawPolygon(cloth);
        p.setBrush(QColor(226, 186, 70));
        p.drawEllipse(QPointF(16, 12), 4.5, 4.5);
        p.setBrush(QColor(132, 20, 28));
        p.drawEllipse(QPointF(16, 12), 2, 2);
        p.fillRect(6, 2, 20, 2, QColor(80, 60, 40));
    } else {
        // Deck number stencil in a hazard frame.
        draw::stripes(p, QRectF(4, 8, 24, 16), t.warning, QColor(30, 30, 30), 4);
        p.fillRect(8, 11, 16, 10, QColor(30, 30, 30));
        p.setPen(t.warning);
        QFont f("DejaVu Sans", 7, QFont::Bold);
        f.setPixelSize(9);
        p.setFont(f);
        p.drawText(QRect(8, 11, 16, 10), Qt::AlignCenter, "F2");
    }
}

void vent(QPainter& p, const Theme& t) {
    panel(p, t);
    p.fillRect(6, 6, 20, 20, t.metalDark);
    for (int y = 8; y < 25; y += 3) p.fillRect(7, y, 18, 1, t.metal);
    draw::bevel(p, QRect(6, 6, 20, 20), t.metalLight, QColor(10, 10, 10), 15, 1);
}

void pipes(QPainter& p, const Theme& t) {
    panel(p, t);
    for (int i = 0; i < 3; ++i) {
        const int x = 6 + i * 8;
        QLinearGradient g(x, 0, x + 6, 0);
        g.setColorAt(0, t.metalLight);
        g.setColorAt(1, t.metalDark);
        p.fillRect(x, 0, 6, 32, g);
        p.fillRect(x - 1, 10 + i * 5, 8, 3, t.metalDark);
    }
}

void screen(QPainter& p, const Theme& t) {
    panel(p, t);
    p.fillRect(4, 6, 24, 18, QColor(18, 24, 30));
    QColor c = t.starship ? t.accent : QColor(90, 230, 120);
    p.setPen(c);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.drawPolyline(QPolygonF() << QPointF(6, 18) << QPointF(10, 12) << QPointF(14, 16)
                               << QPointF(18, 9) << QPointF(22, 14) << QPointF(26, 11));
    p.fillRect(6, 20, 10, 2, c.darker(150));
    draw::bevel(p, QRect(3, 5, 26, 20), t.metalLight, t.metalDark, 15, 1);
}

// Viewport (starship) or barred arrow window (fortress); the opening is dark
// blue, never black, so it still stops a shot.
void window(QPainter& p, const Theme& t) {
    panel(p, t);
    const QRect glass(5, 5, 22, 22);
    p.fillRect(glass, QColor(8, 12, 40));
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPoint stars[] = {{8, 9}, {14, 20}, {22, 8}, {19, 15}, {10, 24}, {25, 23}, {16, 7}};
    for (QPoint s : stars) p.fillRect(s.x(), s.y(), 1, 1, QColor(230, 230, 255));
    if (t.starship) {
        p.fillRect(20, 18, 3, 3, QColor(200, 120, 80));
    } else {
        for (int x = 10; x < 27; x += 6) p.fillRect(x, 5, 2, 22, t.metalDark);
    }
    draw::bevel(p, glass, t.wallDark, t.wallLight, 15, 2);
}

void pillar(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(12, 12), 16);
    g.setColorAt(0, t.wallLight);
    g.setColorAt(1, t.wallDark);
    p.setPen(QPen(t.seam, 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 8, 8);
}

void statue(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(3, 24, 26, 7, t.wallDark);
    p.fillRect(4, 24, 24, 2, t.wallLight);
    p.setPen(Qt::NoPen);
    if (!t.starship) {
        p.setBrush(QColor(96, 120, 100)); // weathered bronze
        p.drawEllipse(QPointF(16, 6), 4, 4);
        QPolygonF body;
        body << QPointF(10, 11) << QPointF(22, 11) << QPointF(20, 24) << QPointF(12, 24);
        p.drawPolygon(body);
        p.setPen(QPen(QColor(140, 160, 140), 2));
        p.drawLine(QPointF(22, 12), QPointF(27, 2));
    } else {
        QLinearGradient g(8, 0, 24, 0);
        g.setColorAt(0, t.accent.darker(200));
        g.setColorAt(0.5, t.accent);
        g.setColorAt(1, t.accent.darker(200));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(9, 2, 14, 22), 4, 4);
        draw::glow(p, QPointF(16, 12), 5, QColor(255, 255, 255));
    }
}

// Banks of machinery set into the wall.
void machineWall(QPainter& p, const Theme& t, int kind) {
    p.fillRect(0, 0, 32, 32, t.metalDark);
    draw::bevel(p, QRect(0, 0, 32, 32), t.metalLight, QColor(16, 16, 20), 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (kind == 0) { // generator bank: coils
        for (int i = 0; i < 3; ++i) {
            QLinearGradient g(0, 5 + i * 8, 0, 11 + i * 8);
            g.setColorAt(0, QColor(200, 120, 60));
            g.setColorAt(1, QColor(90, 40, 20));
            p.fillRect(5, 5 + i * 8, 22, 6, g);
        }
        draw::glow(p, QPointF(26, 27), 3, t.accent);
    } else if (kind == 1) { // power conduit
        QLinearGradient g(0, 10, 0, 22);
        g.setColorAt(0, t.metalLight);
        g.setColorAt(0.5, t.metal);
        g.setColorAt(1, t.metalDark);
        p.fillRect(0, 10, 32, 12, g);
        p.fillRect(0, 15, 32, 2, t.accent);
        p.fillRect(8, 8, 3, 16, t.metalDark);
        p.fillRect(22, 8, 3, 16, t.metalDark);
    } else { // computer bank: reels and lights
        p.fillRect(4, 4, 24, 24, QColor(30, 34, 40));
        p.setPen(QPen(t.metalLight, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 11), 4, 4);
        p.drawEllipse(QPointF(22, 11), 4, 4);
        const QColor lights[] = {QColor(255, 60, 60), QColor(80, 255, 100), t.accent,
                                 QColor(255, 220, 60)};
        for (int i = 0; i < 8; ++i) p.fillRect(6 + i * 3, 21 + (i % 2) * 3, 2, 2, lights[i % 4]);
    }
}

// A generator: a solid emitter whose prongs point along its field line.
void generator(QPainter& p, const Theme& t, bool horizontal) {
    p.fillRect(0, 0, 32, 32, t.metalDark);
    draw::stripes(p, QRectF(0, 0, 32, 32), t.warning, QColor(24, 24, 24), 4);
    p.fillRect(4, 4, 24, 24, t.metal);
    draw::bevel(p, QRect(4, 4, 24, 24), t.metalLight, t.metalDark, 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor field = t.starship ? t.accent : QColor(120, 200, 255);
    p.setPen(Qt::NoPen);
    p.setBrush(t.metalLight);
    if (horizontal) {
        p.drawRect(QRectF(0, 13, 32, 6));
    } else {
        p.drawRect(QRectF(13, 0, 6, 32));
    }
    p.setBrush(QColor(20, 24, 30));
    p.drawEllipse(QPointF(16, 16), 8, 8);
    draw::glow(p, QPointF(16, 16), 7, field);
}

// A force-field square: a shimmering band across the square, black beside it.
void field(QPainter& p, const Theme& t, bool horizontal) {
    QColor c = t.starship ? t.accent : QColor(120, 200, 255);
    p.save();
    if (horizontal) {
        p.translate(32, 0);
        p.rotate(90);
    }
    QLinearGradient g(8, 0, 24, 0);
    g.setColorAt(0.0, c.darker(400));
    g.setColorAt(0.5, c.darker(140));
    g.setColorAt(1.0, c.darker(400));
    p.fillRect(8, 0, 16, 32, g);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        QPainterPath wave;
        const double x0 = 12 + k * 4;
        wave.moveTo(x0, 0);
        for (int y = 0; y <= 32; y += 2)
            wave.lineTo(x0 + 2.5 * std::sin((y + k * 5) * 3.14159 / 8), y);
        p.setPen(QPen(k == 1 ? QColor(235, 250, 255) : c.lighter(120), k == 1 ? 1.2 : 1.0));
        p.drawPath(wave);
    }
    p.restore();
}

void boulder(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(12, 11), 18);
    g.setColorAt(0, t.rockLight);
    g.setColorAt(1, t.rockDark);
    p.setPen(QPen(t.rockDark.darker(130), 1));
    p.setBrush(g);
    QPolygonF s;
    s << QPointF(3, 18) << QPointF(7, 6) << QPointF(17, 2) << QPointF(27, 7) << QPointF(30, 19)
      << QPointF(24, 29) << QPointF(10, 30);
    p.drawPolygon(s);
}

// Open space beyond the hull: never black, so nothing flies out through it.
void space(QPainter& p) {
    p.fillRect(0, 0, 32, 32, QColor(6, 8, 26));
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPoint stars[] = {{3, 5},  {17, 2},  {27, 9},  {9, 14}, {22, 19},
                            {5, 26}, {14, 23}, {29, 28}, {19, 30}};
    int i = 0;
    for (QPoint s : stars) {
        const int v = 110 + (i++ * 37) % 140;
        p.fillRect(s.x(), s.y(), 1, 1, QColor(v, v, std::min(255, v + 40)));
    }
}

// A main thruster at the stern, its bell glowing.
void thruster(QPainter& p, const Theme& t) {
    p.fillRect(0, 0, 32, 32, t.rockDark);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient bell(0, 0, 0, 32);
    bell.setColorAt(0, t.metalLight);
    bell.setColorAt(0.5, t.metal);
    bell.setColorAt(1, t.metalDark);
    p.setPen(QPen(QColor(20, 20, 26), 1));
    p.setBrush(bell);
    QPolygonF cone;
    cone << QPointF(32, 6) << QPointF(6, 1) << QPointF(6, 31) << QPointF(32, 26);
    p.drawPolygon(cone);
    draw::glow(p, QPointF(5, 16), 9, QColor(80, 170, 255));
}

void sign(QPainter& p, const Theme& t) {
    panel(p, t);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF tri;
    tri << QPointF(16, 5) << QPointF(28, 26) << QPointF(4, 26);
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(t.warning);
    p.drawPolygon(tri);
    p.fillRect(15, 11, 3, 9, QColor(20, 20, 20));
    p.fillRect(15, 22, 3, 2, QColor(20, 20, 20));
}

void cracked(QPainter& p, const Theme& t, int variant) {
    wallBlock(p, t, 15);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(t.wallDark, 1.2));
    if (variant == 0)
        p.drawPolyline(QPolygonF() << QPointF(4, 3) << QPointF(11, 12) << QPointF(9, 19)
                                   << QPointF(18, 27) << QPointF(22, 31));
    else
        p.drawPolyline(QPolygonF()
                       << QPointF(30, 5) << QPointF(21, 11) << QPointF(24, 18) << QPointF(13, 24));
    draw::bevel(p, QRect(0, 0, 32, 32), t.wallLight, t.wallDark, 15, 1);
}

void sealedFrame(QPainter& p, const Theme& t) {
    panel(p, t);
    p.fillRect(6, 4, 20, 28, t.metalDark);
    p.fillRect(8, 6, 16, 26, t.metal);
    p.setPen(QPen(t.metalDark, 2));
    p.drawLine(8, 12, 24, 26);
    p.drawLine(24, 12, 8, 26);
}

} // namespace

bool paintWallTile(QPainter& p, const Theme& t, const std::string& n, int arg) {
    if (n == "wall")
        wallBlock(p, t, arg);
    else if (n == "rock")
        rockBlock(p, t, arg);
    else if (n == "wall-lamp")
        lamp(p, t);
    else if (n == "wall-banner")
        banner(p, t);
    else if (n == "wall-vent")
        vent(p, t);
    else if (n == "wall-pipes")
        pipes(p, t);
    else if (n == "wall-screen")
        screen(p, t);
    else if (n == "window")
        window(p, t);
    else if (n == "pillar")
        pillar(p, t);
    else if (n == "statue")
        statue(p, t);
    else if (n == "machine-wall")
        machineWall(p, t, arg);
    else if (n == "generator")
        generator(p, t, arg != 0);
    else if (n == "field")
        field(p, t, arg != 0);
    else if (n == "boulder")
        boulder(p, t);
    else if (n == "wall-sign")
        sign(p, t);
    else if (n == "space")
        space(p);
    else if (n == "thruster")
        thruster(p, t);
    else if (n == "wall-cracked")
        cracked(p, t, arg);
    else if (n == "sealed-frame")
        sealedFrame(p, t);
    else
        return false;
    return true;
}

} // namespace korvath::assets
