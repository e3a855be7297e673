#include "TilePalette.h"

#include "EditorSession.h"

#include <QListWidget>
#include <QPainter>
#include <QToolBox>
#include <QVBoxLayout>

#include <algorithm>

namespace korvath {

namespace {

// A tile this dark (mean grey level) shows its number in the palette.
constexpr int kDarkTile = 12;

const char* const kGroups[] = {"Special tiles", "Walls",  "Strong objects",
                               "Weak objects",  "Floors", "Items on the floor"};

QString roleOf(int glyph, const std::string& action) {
    if (glyph == kStartStarGlyph) return "a start star: a Raider is placed here";
    if (action == "Victory!") return "destroy it to win";
    if (action.rfind("event", 0) == 0)
        return QString("destroying the last one runs the event %1").arg(action.c_str());
    if (glyph == 28 || glyph == 29)
        return "a force-field generator: a heavy hit switches its field off";
    if (glyph == 46 || glyph == 47) return "a force field";
    if (action == "access") return "a door: soldiers walk through it";
    if (action.rfind("item", 0) == 0) return "an item lying on the floor";
    switch (solidityOfGlyph(glyph)) {
    case 4:
        return "a wall: nothing breaks it";
    case 3:
        return "a strong object: only a heavy hit breaks it";
    case 2:
        return "a weak object: a hit breaks it one time in two";
    default:
        return "open floor";
    }
}

} // namespace

int paletteGroupOf(int glyph, const std::string& action, int familyFirst) {
    if (glyph < 1 || glyph > kLastTileGlyph || glyph == kFlashGlyph) return -1;
    if (familyFirst && familyFirst != glyph) return -1;
    if (glyph == kStartStarGlyph || action == "Victory!" || action.rfind("event", 0) == 0 ||
        glyph == 28 || glyph == 29 || glyph == 46 || glyph == 47)
        return 0;
    if (action.rfind("item", 0) == 0) return 5;
    switch (solidityOfGlyph(glyph)) {
    case 4:
        return 1;
    case 3:
        return 2;
    case 2:
        return 3;
    default:
        return 4;
    }
}

TilePalette::TilePalette(EditorSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName("TilePalette");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    groups_ = new QToolBox(this);
    layout->addWidget(groups_);
    for (const char* name : kGroups) {
        auto* list = new QListWidget(groups_);
        list->setObjectName(QString("Palette_") + QString(name).replace(' ', '_'));
        list->setViewMode(QListView::IconMode);
        list->setIconSize(QSize(32, 32));
        list->setGridSize(QSize(42, 42));
        list->setResizeMode(QListView::Adjust);
        list->setMovement(QListView::Static);
        list->setSpacing(2);
        groups_->addItem(list, name);
        lists_.push_back(list);
        connect(list, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { emit chosen(item->data(Qt::UserRole).toInt()); });
    }
    groups_->setCurrentIndex(1);
    connect(&session_, &EditorSession::opened, this, &TilePalette::fill);
    // An event given to a tile moves it among the special tiles.
    connect(&session_, &EditorSession::changed, this, [this] {
        if (session_.isOpen() && !(session_.doc().content().glyphDesc == shown_)) fill();
    });
}

void TilePalette::fill() {
    for (QListWidget* l : lists_) l->clear();
    shown_ = session_.doc().content().glyphDesc;
    const auto texts = session_.doc().glyphTexts();
    const WallJoins& joins = session_.doc().pictures().joins;
    for (int g = 1; g <= kLastTileGlyph; ++g) {
        const int group = paletteGroupOf(g, texts[g].Action, joins.familyOf(g));
        if (group < 0) continue;
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(pictureOf(g))), QString());
        item->setData(Qt::UserRole, g);
        QString tip = QString("%1 (glyph %2): %3")
                          .arg(QString::fromStdString(texts[g].Description))
                          .arg(g)
                          .arg(roleOf(g, texts[g].Action));
        if (joins.familyOf(g)) tip += "; its pieces join their neighbours";
        item->setToolTip(tip);
        lists_[group]->addItem(item);
    }
}

QImage TilePalette::pictureOf(int glyph) const {
    QImage picture = session_.tile(glyph).convertToFormat(QImage::Format_RGB32);
    // The floors are black in both tile sets: their number tells them apart.
    if (picture.isNull() || qGray(session_.tileColour(glyph)) > kDarkTile) return picture;
    QPainter p(&picture);
    QFont font = p.font();
    font.setPixelSize(std::max(8, picture.height() / 3));
    p.setFont(font);
    p.setPen(QColor(150, 160, 170));
    p.drawText(picture.rect(), Qt::AlignCenter, QString::number(glyph));
    return picture;
}

void TilePalette::choose(int glyph) {
    const int first = session_.doc().pictures().joins.familyOf(glyph);
    const int shown = first ? first : glyph;
    for (size_t i = 0; i < lists_.size(); ++i)
        for (int r = 0; r < lists_[i]->count(); ++r)
            if (lists_[i]->item(r)->data(Qt::UserRole).toInt() == shown) {
                groups_->setCurrentIndex(static_cast<int>(i));
                lists_[i]->setCurrentRow(r);
                emit chosen(shown);
                return;
            }
}

} // namespace korvath
