#include "WindowLook.h"

#include "Fonts.h"
#include "Settings.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace korvath {

namespace {

const std::vector<std::pair<const char*, QString>> kColours = {
    {"ColoursNormal1", QStringLiteral("Normal")},
    {"ColoursColourBlind1", QStringLiteral("Colour-blind safe")},
};
const std::vector<std::pair<const char*, QString>> kMarkerSizes = {
    {"MarkerSize1x1", QStringLiteral("1x")},
    {"MarkerSize2x1", QStringLiteral("2x")},
};
const std::vector<std::pair<const char*, QString>> kTextSizes = {
    {"TextSmall1", QStringLiteral("Small")},
    {"TextNormal1", QStringLiteral("Normal")},
    {"TextLarge1", QStringLiteral("Large")},
};

// The font a widget was given by the window's design, remembered the first
// time its size is changed.
QFont designedFont(QWidget* w) {
    const char* key = "designedFont";
    if (!w->property(key).isValid()) {
        // A label fitting its text keeps its own font apart from the one it
        // shows.
        const QVariant own = w->property("ownFont");
        w->setProperty(key, own.isValid() ? own : QVariant(w->font()));
    }
    return w->property(key).value<QFont>();
}

QFont scaled(QFont f, double scale) {
    if (f.pixelSize() > 0)
        f.setPixelSize(std::max(8, int(std::lround(f.pixelSize() * scale))));
    else
        f.setPointSizeF(std::max(6.0, std::round(f.pointSizeF() * scale * 2) / 2));
    return f;
}

void setTextScale(QWidget* w, double scale) {
    // A widget never changed stays exactly as designed.
    if (scale == 1.0 && !w->property("designedFont").isValid()) return;
    const QFont f = scale == 1.0 ? designedFont(w) : scaled(designedFont(w), scale);
    auto* label = qobject_cast<QLabel*>(w);
    if (label && !label->text().isEmpty()) {
        // Fitted anew in the new font: a caption in a tight room keeps to
        // it in a slightly smaller one rather than being cut.
        const QString text = label->property("fullText").isValid()
                                 ? label->property("fullText").toString()
                                 : label->text();
        const bool caption = !label->property("fullText").isValid();
        if (caption && !label->property("designedTip").isValid())
            label->setProperty("designedTip", label->toolTip());
        label->setProperty("ownFont", f);
        label->setProperty("fittedTo", QVariant());
        label->setFont(f);
        fitText(label, text);
        if (label->toolTip().isEmpty())
            label->setToolTip(label->property("designedTip").toString());
        return;
    }
    if (label) label->setProperty("ownFont", f);
    if (w->font() != f) w->setFont(f);
}

// The actions bar's second row, "Quick shot 6  Aimed shot 8  Ammo 10": in
// a larger text each caption and value takes the room it needs and the rest
// of the row moves right; as designed otherwise.
void flowActionsRow(QWidget* bar, double scale) {
    std::vector<QLabel*> row;
    for (QLabel* l : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!l->property("designedGeometry").isValid()) {
            if (scale == 1.0) continue;
            l->setProperty("designedGeometry", l->geometry());
        }
        if (l->property("designedGeometry").toRect().top() > 20) row.push_back(l);
    }
    std::sort(row.begin(), row.end(), [](QLabel* a, QLabel* b) {
        return a->property("designedGeometry").toRect().left() <
               b->property("designedGeometry").toRect().left();
    });
    int right = 0;
    for (QLabel* l : row) {
        QRect r = l->property("designedGeometry").toRect();
        if (scale != 1.0) {
            const QString text =
                l->property("fullText").isValid() ? l->property("fullText").toString() : l->text();
            const int need = QFontMetrics(designedFont(l)).horizontalAdvance(text) * scale + 6;
            r.moveLeft(std::max(r.left(), right + 4));
            r.setWidth(std::max(r.width(), need));
        }
        right = r.right();
        if (l->geometry() != r) l->setGeometry(r);
    }
}

} // namespace

Look lookOf(const Settings& s) {
    Look l;
    l.colours = s.colours() == 1 ? PaletteChoice::ColourBlind : PaletteChoice::Normal;
    l.markerScale = s.markerSize() == 1 ? 2 : 1;
    l.text = static_cast<TextSize>(std::clamp(s.textSize(), 0, 2));
    return l;
}

WindowLook::WindowLook(QMainWindow& window, Settings& settings, std::function<void()> onLook)
    : QObject(&window), window_(window), settings_(settings), onLook_(std::move(onLook)) {
    setObjectName("WindowLook");
    QMenu* options = window_.findChild<QMenu*>("Options1");
    if (options) {
        // After the aids, before the developer's hidden entries.
        QAction* before = window_.findChild<QAction*>("N1");
        colours_ = choice(options, before, "Colours1", QStringLiteral("Colours"), kColours);
        markers_ =
            choice(options, before, "MarkerSize1", QStringLiteral("Marker size"), kMarkerSizes);
        text_ = choice(options, before, "TextSize1", QStringLiteral("Text size"), kTextSizes);
        connect(colours_, &QActionGroup::triggered, this, [this](QAction* a) {
            settings_.setColours(a->data().toInt());
            settingsChanged();
        });
        connect(markers_, &QActionGroup::triggered, this, [this](QAction* a) {
            settings_.setMarkerSize(a->data().toInt());
            settingsChanged();
        });
        connect(text_, &QActionGroup::triggered, this, [this](QAction* a) {
            settings_.setTextSize(a->data().toInt());
            settingsChanged();
        });
    }
    syncMenu();
    applyText();
}

QActionGroup* WindowLook::choice(QMenu* options, QAction* before, const char* name,
                                 const QString& title,
                                 const std::vector<std::pair<const char*, QString>>& entries) {
    auto* menu = new QMenu(title, options);
    menu->setObjectName(QString::fromLatin1(name));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (size_t k = 0; k < entries.size(); ++k) {
        QAction* a = menu->addAction(entries[k].second);
        a->setObjectName(QString::fromLatin1(entries[k].first));
        a->setCheckable(true);
        a->setData(int(k));
        group->addAction(a);
    }
    options->insertMenu(before, menu);
    return group;
}

Look WindowLook::look() const {
    return lookOf(settings_);
}

void WindowLook::syncMenu() {
    const Look l = look();
    const int chosen[] = {l.colours == PaletteChoice::ColourBlind ? 1 : 0, l.markerScale - 1,
                          int(l.text)};
    QActionGroup* groups[] = {colours_, markers_, text_};
    for (int g = 0; g < 3; ++g)
        if (groups[g])
            for (QAction* a : groups[g]->actions()) a->setChecked(a->data().toInt() == chosen[g]);
}

void WindowLook::settingsChanged() {
    syncMenu();
    applyText();
    if (onLook_) onLook_();
}

// The panel's, the actions bar's, the log's, the status bar's and the
// feed's texts at the chosen size. The panel's labels fit their texts in
// their room as they always do.
void WindowLook::applyText() {
    const double scale = textScale(look().text);
    std::vector<QWidget*> widgets;
    for (const char* parent : {"PiecesInfoPanel", "GameControls"})
        if (QWidget* p = window_.findChild<QWidget*>(parent))
            for (QWidget* w : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (qobject_cast<QLabel*>(w) || w->inherits("QAbstractButton") ||
                    w->inherits("QComboBox") || w->inherits("QTableWidget"))
                    widgets.push_back(w);
    for (const char* name : {"WhatManLabel", "SolAPlabel", "Label11", "WhatisHappening",
                             "StatusArea", "FeedList", "PlaceMenGrid"})
        if (QWidget* w = window_.findChild<QWidget*>(name)) widgets.push_back(w);
    if (QWidget* status = window_.findChild<QWidget*>("StatusArea"))
        for (QLabel* l : status->findChildren<QLabel*>()) widgets.push_back(l);
    // The actions row makes room first, so that its captions fit in it.
    if (QWidget* bar = window_.findChild<QWidget*>("GameControls")) flowActionsRow(bar, scale);
    for (QWidget* w : widgets)
        if (!w->inherits("QToolButton")) setTextScale(w, scale);
}

QWidget* makeLookPage(Settings& settings, std::function<void()> apply, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName("LookPage");
    auto* form = new QFormLayout(page);
    const Look l = lookOf(settings);
    auto add = [&](const char* name, const QString& title,
                   const std::vector<std::pair<const char*, QString>>& entries, int chosen,
                   void (Settings::*set)(int)) {
        auto* box = new QComboBox(page);
        box->setObjectName(QString::fromLatin1(name));
        for (const auto& e : entries) box->addItem(e.second);
        box->setCurrentIndex(chosen);
        QObject::connect(box, &QComboBox::currentIndexChanged, page,
                         [&settings, apply, set](int k) {
                             (settings.*set)(k);
                             if (apply) apply();
                         });
        form->addRow(title, box);
    };
    add("LookColours", QStringLiteral("Colours"), kColours,
        l.colours == PaletteChoice::ColourBlind ? 1 : 0, &Settings::setColours);
    add("LookMarkerSize", QStringLiteral("Marker size"), kMarkerSizes, l.markerScale - 1,
        &Settings::setMarkerSize);
    add("LookTextSize", QStringLiteral("Text size"), kTextSizes, int(l.text),
        &Settings::setTextSize);
    auto* note = new QLabel(QStringLiteral("The colour-blind safe palette keeps every aid's "
                                           "colours apart for red-green colour blindness and "
                                           "adds shapes: a friend in the way is crossed, the "
                                           "target ringed, a square where the shot may stop "
                                           "is a diamond."),
                            page);
    note->setWordWrap(true);
    form->addRow(note);
    return page;
}

} // namespace korvath
