// The soldiers, seen from the front, one row per look and one column per
// thing held. Drawn on black: everything that is not black is the soldier.
#include "assets/Units.h"

#include "assets/QtRaster.h"
#include "assets/Tiles.h"

#include <QPainterPath>

namespace korvath::assets {

namespace {

enum class Head { Helmet, Bare, Crest, Hood, Cap, Android };

struct Look {
    QColor armour;
    QColor trim; // shoulder pads and belt
    QColor helmet;
    QColor visor;
    Head head = Head::Helmet;
    bool heavy = false; // broader armour
    bool medic = false; // white pads with a red cross
    bool tank = false;  // fuel tank on the back
    bool stripes = false;
};

const QColor kSkin(222, 172, 130);
const QColor kMetal(72, 76, 84);
const QColor kMetalLight(160, 166, 176);

Look lookOf(int n) {
    Look l;
    switch (n) {
    // Raiders
    case 1:
        l = {QColor(158, 42, 32), QColor(96, 24, 20), QColor(112, 30, 24), QColor(255, 210, 60)};
        break;
    case 2:
        l = {QColor(176, 84, 34), QColor(100, 48, 20), QColor(120, 116, 108), QColor(255, 210, 60)};
        break;
    case 3:
        l = {QColor(128, 32, 30), QColor(70, 18, 16), QColor(84, 22, 20), QColor(255, 140, 30)};
        l.heavy = true;
        break;
    case 4:
        l = {QColor(168, 64, 24), QColor(90, 36, 14), QColor(100, 40, 20), QColor(255, 120, 30)};
        l.tank = true;
        break;
    case 5:
        l = {QColor(150, 40, 34), QColor(236, 236, 236), QColor(236, 236, 236),
             QColor(255, 210, 60)};
        l.medic = true;
        break;
    case 6:
        l = {QColor(136, 52, 40), QColor(84, 30, 22), QColor(40, 30, 20), QColor(0, 0, 0)};
        l.head = Head::Bare;
        break;
    case 7:
        l = {QColor(140, 28, 42), QColor(222, 180, 60), QColor(100, 20, 30), QColor(255, 220, 80)};
        l.head = Head::Crest;
        break;
    case 8:
        l = {QColor(124, 78, 48), QColor(78, 44, 26), QColor(96, 58, 36), QColor(255, 200, 90)};
        l.head = Head::Hood;
        break;
    // Operatives
    case 9:
        l = {QColor(48, 82, 156), QColor(28, 46, 96), QColor(38, 60, 124), QColor(90, 240, 255)};
        break;
    case 10:
        l = {QColor(72, 106, 170), QColor(40, 60, 110), QColor(150, 160, 180),
             QColor(90, 240, 255)};
        break;
    case 11:
        l = {QColor(40, 52, 112), QColor(230, 230, 240), QColor(30, 36, 80), QColor(200, 220, 255)};
        l.head = Head::Cap;
        break;
    case 12:
        l = {QColor(38, 62, 112), QColor(20, 34, 70), QColor(28, 44, 86), QColor(255, 50, 40)};
        l.heavy = true;
        break;
    case 13:
        l = {QColor(52, 116, 136), QColor(28, 66, 80), QColor(40, 90, 110), QColor(240, 250, 255)};
        break;
    case 14:
        l = {QColor(84, 94, 146), QColor(44, 50, 90), QColor(60, 66, 110), QColor(90, 240, 255)};
        l.stripes = true;
        break;
    case 15:
        l = {QColor(60, 58, 112), QColor(32, 30, 66), QColor(42, 40, 84), QColor(255, 40, 60)};
        break;
    default:
        l = {QColor(168, 178, 200), QColor(110, 118, 136), QColor(190, 198, 216),
             QColor(80, 170, 255)};
        l.head = Head::Android;
        break;
    }
    return l;
}

// The head: bare with a crest of dyed hair, hooded, capped, an android's, or helmeted.
void head(QPainter& p, const Look& l) {
    switch (l.head) {
    case Head::Bare:
        p.setBrush(kSkin);
        p.drawEllipse(QPointF(16, 6.5), 4.2, 4.8);
        p.setBrush(QColor(200, 40, 30)); // crest of dyed hair
        p.drawRect(QRectF(15, 0.5, 2, 4));
        p.setBrush(QColor(30, 20, 20));
        p.drawRect(QRectF(13.5, 6, 1.5, 1.2));
        p.drawRect(QRectF(17, 6, 1.5, 1.2));
        break;
    case Head::Hood:
        p.setBrush(l.helmet);
        p.drawEllipse(QPointF(16, 6.5), 5.5, 5.5);
        p.setBrush(QColor(30, 22, 16));
        p.drawEllipse(QPointF(16, 7.5), 3.2, 3.2);
        p.setBrush(l.visor);
        p.drawRect(QRectF(13.8, 7, 4.4, 1.2));
        break;
    case Head::Cap:
        p.setBrush(kSkin);
        p.drawEllipse(QPointF(16, 7), 4, 4.5);
        p.setBrush(l.helmet);
        p.drawRect(QRectF(11, 2, 10, 3.5));
        p.drawRect(QRectF(10, 4.5, 12, 1.5));
        p.setBrush(QColor(240, 200, 60));
        p.drawEllipse(QPointF(16, 3.5), 1.2, 1.2);
        p.setBrush(QColor(30, 30, 40));
        p.drawRect(QRectF(13.5, 7, 1.5, 1.2));
        p.drawRect(QRectF(17, 7, 1.5, 1.2));
        break;
    case Head::Android:
        p.setBrush(l.helmet);
        p.drawRoundedRect(QRectF(11.5, 1.5, 9, 10), 3, 3);
        draw::glow(p, QPointF(14, 6.5), 2, l.visor);
        draw::glow(p, QPointF(18, 6.5), 2, l.visor);
        p.setPen(Qt::NoPen);
        break;
    default:
        p.setBrush(l.helmet);
        p.drawEllipse(QPointF(16, 6.5), 5.2, 5.2);
        p.setBrush(l.visor);
        p.drawRoundedRect(QRectF(12.2, 5.2, 7.6, 2.6), 1, 1);
        if (l.head == Head::Crest) {
            p.setBrush(l.trim);
            p.drawRect(QRectF(15, 0, 2, 3.5));
        }
        break;
    }
}

void figure(QPainter& p, const Look& l, bool armsDown, bool leftArmDown) {
    p.setPen(Qt::NoPen);
    const int w = l.heavy ? 2 : 0;
    if (l.tank) { // fuel tanks showing above the shoulders
        p.setBrush(QColor(210, 90, 30));
        p.drawRoundedRect(QRectF(7, 8, 5, 12), 2, 2);
        p.drawRoundedRect(QRectF(20, 8, 5, 12), 2, 2);
    }
    // Legs and boots.
    p.setBrush(l.armour.darker(135));
    p.drawRect(QRectF(11 - w / 2.0, 21, 4 + w / 2.0, 8));
    p.drawRect(QRectF(17, 21, 4 + w / 2.0, 8));
    p.setBrush(QColor(36, 32, 30));
    p.drawRoundedRect(QRectF(10 - w / 2.0, 27.5, 5.5 + w / 2.0, 3.5), 1, 1);
    p.drawRoundedRect(QRectF(16.5, 27.5, 5.5 + w / 2.0, 3.5), 1, 1);
    // Torso.
    p.setBrush(l.armour);
    p.drawRoundedRect(QRectF(9.5 - w, 11, 13 + 2 * w, 11), 3, 3);
    p.setBrush(l.armour.lighter(125));
    p.drawRoundedRect(QRectF(12, 12.5, 8, 5), 1.5, 1.5);
    if (l.medic) {
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(QRectF(13, 12.5, 6, 6));
        p.setBrush(QColor(210, 30, 30));
        p.drawRect(QRectF(15.2, 13.2, 1.6, 4.6));
        p.drawRect(QRectF(13.7, 14.7, 4.6, 1.6));
    }
    if (l.stripes) {
        p.setBrush(QColor(240, 200, 40));
        p.drawRect(QRectF(10, 16, 12, 1.5));
    }
    // Belt.
    p.setBrush(l.trim.darker(120));
    p.drawRect(QRectF(10 - w, 19.5, 12 + 2 * w, 2));
    // Shoulder pads.
    p.setBrush(l.trim);
    p.drawEllipse(QPointF(9.5 - w, 12.5), 3.2 + w / 2.0, 2.6);
    p.drawEllipse(QPointF(22.5 + w, 12.5), 3.2 + w / 2.0, 2.6);
    // Arms hanging down where the pose leaves them free.
    p.setBrush(l.armour.darker(115));
    if (armsDown || leftArmDown) {
        p.drawRoundedRect(QRectF(6.5 - w, 13, 3, 8), 1.5, 1.5);
        p.setBrush(kSkin);
        p.drawEllipse(QPointF(8 - w, 21.5), 1.6, 1.6);
        p.setBrush(l.armour.darker(115));
    }
    if (armsDown) {
        p.drawRoundedRect(QRectF(22.5 + w, 13, 3, 8), 1.5, 1.5);
        p.setBrush(kSkin);
        p.drawEllipse(QPointF(24 + w, 21.5), 1.6, 1.6);
    }
    head(p, l);
}

void hand(QPainter& p, QPointF at) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSkin);
    p.drawEllipse(at, 1.7, 1.7);
}

// An arm as a thick stroke from shoulder to hand.
void arm(QPainter& p, const Look& l, QPointF from, QPointF to) {
    p.setPen(QPen(l.armour.darker(115), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(Qt::NoPen);
    hand(p, to);
}

void weapon(QPainter& p, const Look& l, int frame) {
    const QPointF leftShoulder(9, 13), rightShoulder(23, 13);
    switch (frame) {
    case kFrameRifle:
        arm(p, l, leftShoulder, QPointF(10, 19));
        p.setPen(QPen(kMetal, 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(5, 22), QPointF(27, 11));
        p.setPen(QPen(kMetalLight, 1));
        p.drawLine(QPointF(12, 17.5), QPointF(29, 9));
        arm(p, l, rightShoulder, QPointF(21, 15));
        break;
    case kFramePistol:
        arm(p, l, rightShoulder, QPointF(28, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(kMetal);
        p.drawRect(QRectF(27, 12.5, 5, 2.5));
        p.drawRect(QRectF(27.5, 14.5, 2, 3));
        break;
    case kFrameHeavy:
        arm(p, l, leftShoulder, QPointF(11, 19));
        arm(p, l, rightShoulder, QPointF(21, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(52, 56, 62));
        p.drawRoundedRect(QRectF(6, 16.5, 21, 6), 2, 2);
        p.setBrush(kMetalLight);
        p.drawRect(QRectF(25, 17.5, 7, 3));
        p.setBrush(QColor(230, 180, 60));
        p.drawRect(QRectF(10, 22, 4, 4)); // ammunition feed
        hand(p, QPointF(11, 19));
        hand(p, QPointF(21, 20));
        break;
    case kFrameFlamer:
        arm(p, l, leftShoulder, QPointF(11, 19));
        arm(p, l, rightShoulder, QPointF(22, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(kMetal);
        p.drawRect(QRectF(10, 17.5, 18, 3.5));
        p.setBrush(QColor(200, 80, 30));
        p.drawRect(QRectF(13, 16.5, 5, 5.5));
        draw::glow(p, QPointF(29.5, 19), 2.6, QColor(80, 160, 255));
        break;
    case kFrameBlade:
        arm(p, l, leftShoulder, QPointF(8, 21));
        arm(p, l, rightShoulder, QPointF(26, 9));
        p.setPen(QPen(QColor(210, 230, 245), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(26.5, 8), QPointF(30, 0.5));
        p.setPen(QPen(QColor(120, 220, 255), 1));
        p.drawLine(QPointF(27.3, 7), QPointF(30.5, 0));
        p.setPen(QPen(QColor(110, 80, 40), 2.5));
        p.drawLine(QPointF(24, 11.5), QPointF(26.5, 8));
        break;
    case kFrameItem:
        arm(p, l, leftShoulder, QPointF(12, 18));
        arm(p, l, rightShoulder, QPointF(20, 18));
        p.setPen(QPen(QColor(40, 40, 40), 0.8));
        p.setBrush(QColor(226, 226, 220));
        p.drawRect(QRectF(12.5, 16, 7, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 170, 230));
        p.drawRect(QRectF(14, 17.5, 4, 2));
        break;
    default:
        break;
    }
}

void deadBody(QPainter& p, const Look& l) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 10, 10));
    QPainterPath pool;
    pool.addEllipse(QPointF(13, 20), 10, 6);
    pool.addEllipse(QPointF(21, 23), 7, 4);
    p.drawPath(pool.simplified());
    p.save();
    p.translate(16, 17);
    p.rotate(-90);
    p.translate(-16, -16);
    Look dim = l;
    dim.armour = l.armour.darker(140);
    dim.trim = l.trim.darker(140);
    dim.helmet = l.helmet.darker(140);
    dim.visor = l.visor.darker(200);
    dim.tank = false;
    figure(p, dim, true, false);
    p.restore();
}

} // namespace

void paintSoldier(QPainter& p, int look, int frame) {
    const Look l = lookOf(look);
    if (frame == kFrameDead) {
        deadBody(p, l);
    } else {
        const bool empty = frame == kFrameEmpty;
        figure(p, l, empty, frame == kFramePistol);
        weapon(p, l, frame);
    }
}

QImage soldierPicture(int look, int frame) {
    QImage img = blankImage(32, 32);
    QPainter p(&img);
    prepare(p);
    paintSoldier(p, look, frame);
    return img;
}

QImage unitSheet() {
    QImage sheet = blankImage(8 * 40, 16 * 40, QColor(48, 48, 48));
    QPainter p(&sheet);
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 8; ++col)
            p.drawImage(col * 40 + 4, row * 40 + 4, soldierPicture(row + 1, col + 1));
    return sheet;
}

} // namespace korvath::assets
