#pragma once
#include <QImage>
#include <QPainter>

namespace korvath::assets {

// Frames of a soldier's row: what he holds. An item's HeldFrame names one.
enum Frame {
    kFrameRifle = 1,
    kFramePistol = 2,
    kFrameHeavy = 3,
    kFrameFlamer = 4,
    kFrameBlade = 5,
    kFrameItem = 6,
    kFrameEmpty = 7,
    kFrameDead = 8,
};

// One soldier picture (32 x 32 on black) of look 1..16 in frame 1..8. Looks
// 1..8 are Raiders in warm reds and browns, 9..16 Operatives in blues.
QImage soldierPicture(int look, int frame);

// The same soldier painted over whatever the painter holds, in its 32 x 32
// square from (0, 0); scale the painter for a bigger, equally sharp picture.
void paintSoldier(QPainter& p, int look, int frame);

// The soldier bitmap: 16 rows of 8 pictures at a 40-pixel pitch, 4-pixel margin.
QImage unitSheet();

} // namespace korvath::assets
