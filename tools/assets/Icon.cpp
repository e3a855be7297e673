// The game's icon for the desktop's menus and task bars, drawn from the
// same soldier and start star the battlefield shows.
#include "assets/Icon.h"

#include "assets/QtRaster.h"
#include "assets/Tiles.h"
#include "assets/Units.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <filesystem>

namespace fs = std::filesystem;

namespace korvath::assets {

QImage gameIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    prepare(p);
    // Everything below is laid out on a 64 x 64 square.
    p.scale(size / 64.0, size / 64.0);

    const Theme fortress = fortressTheme();
    QPainterPath plate;
    plate.addRoundedRect(QRectF(2, 2, 60, 60), 11, 11);
    QLinearGradient floor(0, 2, 0, 62);
    floor.setColorAt(0, QColor(44, 48, 58));
    floor.setColorAt(1, QColor(14, 15, 20));
    p.setPen(QPen(fortress.wall, 2.5));
    p.setBrush(floor);
    p.drawPath(plate);

    // The start star behind his legs, then the soldier, one and a half
    // squares tall, in the middle of the plate.
    p.save();
    p.translate(4.8, 11);
    p.scale(1.7, 1.7);
    paintTile(p, fortress, "star", 0);
    p.restore();
    p.translate(7.5, 7.5);
    p.scale(1.55, 1.55);
    paintSoldier(p, 1, kFrameRifle);
    return icon;
}

const std::vector<int>& iconSizes() {
    static const std::vector<int> sizes{16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

void writeIcons(const std::string& iconDir, const std::string& name) {
    for (int size : iconSizes()) {
        const std::string n = std::to_string(size);
        const fs::path dir = fs::path(iconDir) / (n + "x" + n) / "apps";
        fs::create_directories(dir);
        writeFile((dir / (name + ".png")).string(), encodePng(gameIcon(size)));
    }
}

} // namespace korvath::assets
