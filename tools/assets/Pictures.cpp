// The pictures of the front screen and the briefing.
#include "assets/Pictures.h"

#include "assets/QtRaster.h"
#include "assets/TileSheet.h"
#include "assets/Tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace korvath::assets {

namespace {

// A small fixed random sequence, so star fields come out the same every build.
struct Sequence {
    uint32_t s;
    double next() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / double(1 << 24);
    }
};

void starField(QPainter& p, QRectF area, int count, uint32_t seed) {
    Sequence r{seed};
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = area.left() + r.next() * area.width();
        const double y = area.top() + r.next() * area.height();
        const double b = r.next();
        const int v = 120 + static_cast<int>(b * 135);
        p.setBrush(QColor(v, v, std::min(255, v + 30)));
        const double size = b > 0.93 ? 1.6 : (b > 0.7 ? 1.0 : 0.6);
        p.drawEllipse(QPointF(x, y), size, size);
    }
    p.restore();
}

QFont pixelFont(const char* family, int px, int weight = QFont::Normal) {
    QFont f(family);
    f.setPixelSize(px);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void starship(QPainter& p, QPointF at, double scale) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    p.rotate(-12);
    QPainterPath hull;
    hull.moveTo(-60, -8);
    hull.lineTo(40, -4);
    hull.lineTo(62, 0);
    hull.lineTo(40, 5);
    hull.lineTo(-60, 12);
    hull.lineTo(-66, 2);
    hull.closeSubpath();
    QLinearGradient g(0, -10, 0, 12);
    g.setColorAt(0, QColor(170, 184, 206));
    g.setColorAt(0.5, QColor(90, 102, 124));
    g.setColorAt(1, QColor(34, 40, 54));
    p.setPen(QPen(QColor(20, 24, 32), 0.8));
    p.setBrush(g);
    p.drawPath(hull);
    p.setBrush(QColor(60, 70, 90));
    p.drawRect(QRectF(-40, -16, 34, 9));
    p.drawRect(QRectF(-30, 11, 24, 6));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) p.fillRect(QRectF(-48 + i * 9, 1, 2.2, 1.6), QColor(255, 230, 150));
    draw::glow(p, QPointF(-66, 2), 9, QColor(70, 200, 255));
    draw::glow(p, QPointF(-63, -5), 5, QColor(70, 200, 255));
    p.restore();
}

} // namespace

QImage renderBattlefield(const TextMap& map, const QImage& tiles, const QImage& units,
                         const ScenarioText& scenario, int difficulty) {
    QImage field = blankImage(2560, 1600);
    QPainter p(&field);
    std::vector<QPoint> stars;
    for (int y = 1; y <= 50; ++y)
        for (int x = 1; x <= 80; ++x) {
            p.drawImage((x - 1) * 32, (y - 1) * 32, cutTile(tiles, map.at(x, y)));
            if (map.at(x, y) == 156) stars.emplace_back(x, y);
        }
    size_t nextStar = 0;
    for (const UnitLine& u : scenario.units) {
        if (u.minDifficulty > difficulty) continue;
        QPoint at(u.x, u.y);
        if (u.x == 0) {
            if (nextStar >= stars.size()) continue;
            at = stars[nextStar++];
        }
        const int hand = u.items[0];
        int frame = 7;
        if (hand >= 1 && hand <= static_cast<int>(scenario.equipment.size()))
            frame = scenario.equipment[hand - 1].heldFrame;
        if (u.picture < 1 || u.picture > 16 || frame < 1 || frame > 8) continue;
        p.drawImage((at.x() - 1) * 32, (at.y() - 1) * 32,
                    units.copy((frame - 1) * 40 + 4, (u.picture - 1) * 40 + 4, 32, 32));
    }
    return field;
}

QImage smallMap(const QImage& battlefield, const QString& title) {
    QImage out = battlefield.scaled(273, 169, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    prepare(p);
    const QFont font = pixelFont("DejaVu Sans", 12, QFont::Bold);
    p.setFont(font);
    const int width = QFontMetrics(font).horizontalAdvance(title) + 14;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRoundedRect(QRectF(4, 150, width, 16), 3, 3);
    p.setPen(QColor(236, 226, 190));
    p.drawText(QRectF(11, 150, width, 16), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QPen(QColor(150, 150, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 272, 168));
    return out;
}

// Korvath: a rust-red world with the fortress on its rim, night falling over
// its western hemisphere where the Tamberhold's lights burn.
void korvathWorld(QPainter& p, const QRect& picture) {
    const QPointF centre(70, 290);
    const double radius = 190;
    QRadialGradient halo(centre, radius + 16);
    halo.setColorAt(0.90, QColor(255, 120, 60, 0));
    halo.setColorAt(0.93, QColor(255, 150, 80, 150));
    halo.setColorAt(1.0, QColor(255, 120, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, radius + 16, radius + 16);
    QRadialGradient ground(centre + QPointF(40, -120), radius * 1.3);
    ground.setColorAt(0, QColor(214, 110, 60));
    ground.setColorAt(0.5, QColor(140, 54, 30));
    ground.setColorAt(1, QColor(40, 12, 10));
    p.setBrush(ground);
    p.drawEllipse(centre, radius, radius);
    p.save();
    p.setClipPath([&] {
        QPainterPath c;
        c.addEllipse(centre, radius, radius);
        return c;
    }());
    p.setPen(QPen(QColor(100, 36, 20, 70), 3));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(centre + QPointF(30 - i * 8, 10 + i * 6), radius - 30 - i * 22,
                      radius - 60 - i * 20);
    p.restore();

    // Night falls over the western hemisphere, where the Tamberhold's lights burn.
    QLinearGradient night(0, 0, 259, 0);
    night.setColorAt(0.0, QColor(0, 0, 10, 200));
    night.setColorAt(0.45, QColor(0, 0, 10, 90));
    night.setColorAt(0.75, QColor(0, 0, 10, 0));
    p.save();
    p.setClipPath([&] {
        QPainterPath c;
        c.addEllipse(centre, radius, radius);
        return c;
    }());
    p.fillRect(picture, night);
    Sequence lights{23};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const double a = lights.next() * 2 * M_PI, r = std::sqrt(lights.next()) * 11;
        p.setBrush(QColor(255, 200 + static_cast<int>(lights.next() * 50), 110));
        p.drawEllipse(QPointF(64 + r * std::cos(a) * 1.6, 124 + r * std::sin(a) * 0.5), 0.7, 0.7);
    }
    p.restore();
    draw::glow(p, QPointF(64, 123), 5, QColor(210, 80, 255));
}

QImage frontPicture() {
    QImage img = blankImage(259, 200);
    QPainter p(&img);
    prepare(p);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(4, 6, 22));
    sky.setColorAt(1, QColor(18, 10, 34));
    p.fillRect(img.rect(), sky);
    starField(p, img.rect(), 170, 7);

    korvathWorld(p, img.rect());

    // A small grey moon.
    QRadialGradient moon(QPointF(36, 30), 14);
    moon.setColorAt(0, QColor(200, 196, 190));
    moon.setColorAt(1, QColor(70, 68, 74));
    p.setPen(Qt::NoPen);
    p.setBrush(moon);
    p.drawEllipse(QPointF(40, 34), 11, 11);

    // The Vexlar high above, and the Raiders' landers diving.
    starship(p, QPointF(190, 52), 0.95);
    for (int i = 0; i < 3; ++i) {
        const QPointF head(118 - i * 14, 96 + i * 9);
        QLinearGradient trail(head + QPointF(30, -26), head);
        trail.setColorAt(0, QColor(255, 140, 60, 0));
        trail.setColorAt(1, QColor(255, 200, 120, 220));
        p.setPen(QPen(QBrush(trail), 1.6));
        p.drawLine(head + QPointF(30, -26), head);
        draw::glow(p, head, 3, QColor(255, 190, 90));
    }
    p.setPen(QPen(QColor(120, 120, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 258, 199));
    return img;
}

QImage briefingPicture() {
    QImage img = blankImage(480, 340);
    QPainter p(&img);
    prepare(p);
    QLinearGradient back(0, 0, 0, 340);
    back.setColorAt(0, QColor(40, 46, 58));
    back.setColorAt(1, QColor(20, 22, 30));
    p.fillRect(img.rect(), back);
    starField(p, QRectF(0, 0, 480, 60), 60, 11);

    // Header: the Raiders' sign and the title.
    p.setPen(Qt::NoPen);
    draw::glow(p, QPointF(34, 32), 16, QColor(220, 40, 30));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = (-90 + i * 36) * M_PI / 180;
        const double r = i % 2 ? 6 : 15;
        star << QPointF(34 + r * std::cos(a), 33 + r * std::sin(a));
    }
    p.setPen(QPen(QColor(255, 220, 60), 1.5));
    p.setBrush(QColor(200, 20, 20));
    p.drawPolygon(star);
    p.setFont(pixelFont("DejaVu Sans", 24, QFont::Bold));
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(QRectF(62, 10, 400, 34), Qt::AlignLeft | Qt::AlignVCenter, "MISSION BRIEFING");
    p.setPen(QColor(214, 218, 228));
    p.drawText(QRectF(60, 8, 400, 34), Qt::AlignLeft | Qt::AlignVCenter, "MISSION BRIEFING");
    p.setFont(pixelFont("DejaVu Sans", 10));
    p.setPen(QColor(230, 170, 80));
    p.drawText(QRectF(62, 40, 400, 16), Qt::AlignLeft | Qt::AlignVCenter,
               "RAIDER COMMAND  \xC2\xB7  EYES ONLY  \xC2\xB7  CLICK TO BEGIN");

    // The slate the briefing is written on.
    const QRectF slate(14, 64, 452, 264);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawRoundedRect(slate.translated(3, 3), 6, 6);
    QLinearGradient paper(0, slate.top(), 0, slate.bottom());
    paper.setColorAt(0, QColor(236, 232, 218));
    paper.setColorAt(1, QColor(218, 212, 194));
    p.setPen(QPen(QColor(120, 110, 90), 1.5));
    p.setBrush(paper);
    p.drawRoundedRect(slate, 6, 6);
    // A faint seal in the corner, well below the text's colour.
    p.setPen(QPen(QColor(200, 190, 170), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(418, 284), 30, 30);
    p.drawEllipse(QPointF(418, 284), 24, 24);
    p.setFont(pixelFont("DejaVu Sans", 9, QFont::Bold));
    p.setPen(QColor(196, 186, 164));
    p.drawText(QRectF(388, 276, 60, 16), Qt::AlignCenter, "RAIDERS");
    // Rivets on the frame.
    for (QPointF r : {QPointF(8, 8), QPointF(472, 8), QPointF(8, 332), QPointF(472, 332)}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(130, 136, 150));
        p.drawEllipse(r, 3, 3);
    }
    p.setPen(QPen(QColor(230, 170, 80), 2));
    p.drawLine(QPointF(60, 58), QPointF(466, 58));
    return img;
}

QImage briefingWithText(QImage picture, const std::vector<std::string>& lines) {
    QPainter p(&picture);
    prepare(p);
    QFont font("Verdana");
    font.setPointSize(9);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics metrics(font);
    int y = 75;
    for (const std::string& line : lines) {
        const QString text = QString::fromStdString(line);
        p.drawText(25, y + metrics.ascent(), text);
        y += metrics.height();
    }
    return picture;
}

} // namespace korvath::assets
