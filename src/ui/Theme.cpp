#include "Theme.h"

#include <QApplication>
#include <QStyleFactory>

namespace korvath {

namespace {

// The colours, named by what they are in the game's pictures.
const QColor kNight(22, 24, 30);    // behind everything: the sky over the plateau
const QColor kSlate(32, 35, 43);    // panels and bars
const QColor kSteel(48, 53, 64);    // buttons
const QColor kDeep(14, 16, 21);     // text boxes and lists
const QColor kRivet(78, 86, 102);   // raised edges
const QColor kText(226, 228, 234);  // every caption and label
const QColor kFaded(122, 126, 138); // what cannot be used now
const QColor kTeal(0, 128, 128);    // the front screen's panels, lit
const QColor kViolet(128, 0, 128);  // the front screen's ground
const QColor kAmber(255, 170, 60);  // the fortress's lanterns
const QColor kCyan(70, 220, 255);   // the starship's lights

} // namespace

QPalette darkPalette() {
    QPalette p;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = g == QPalette::Disabled;
        p.setColor(g, QPalette::Window, kSlate);
        p.setColor(g, QPalette::WindowText, off ? kFaded : kText);
        p.setColor(g, QPalette::Base, kDeep);
        p.setColor(g, QPalette::AlternateBase, kSlate);
        p.setColor(g, QPalette::Text, off ? kFaded : kText);
        p.setColor(g, QPalette::PlaceholderText, kFaded);
        p.setColor(g, QPalette::Button, kSteel);
        p.setColor(g, QPalette::ButtonText, off ? kFaded : kText);
        p.setColor(g, QPalette::BrightText, kAmber);
        p.setColor(g, QPalette::Light, kRivet);
        p.setColor(g, QPalette::Midlight, kSteel.lighter(120));
        p.setColor(g, QPalette::Mid, kSlate.darker(120));
        p.setColor(g, QPalette::Dark, kNight.darker(130));
        p.setColor(g, QPalette::Shadow, QColor(4, 4, 6));
        p.setColor(g, QPalette::Highlight, off ? kSteel : kTeal);
        p.setColor(g, QPalette::HighlightedText, Qt::white);
        p.setColor(g, QPalette::ToolTipBase, kNight);
        p.setColor(g, QPalette::ToolTipText, kText);
        p.setColor(g, QPalette::Link, kCyan);
        p.setColor(g, QPalette::LinkVisited, kViolet.lighter(160));
    }
    return p;
}

QString themeStyleSheet() {
    // Colours only, and frames drawn inside the controls' own rectangles:
    // nothing here changes a size.
    QString sheet = QStringLiteral(
        "QMenuBar { background: @night; color: @text; }"
        "QMenuBar::item:selected { background: @teal; }"
        "QMenu { background: @slate; color: @text; border: 1px solid @rivet; }"
        "QMenu::item:selected { background: @teal; }"
        "QMenu::item:disabled { color: @faded; }"
        "QToolTip { background: @slate; color: @text; border: 1px solid @teal; }"
        "QToolButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 @steelLit, stop:1 @steelDim); border: 1px solid @deep; border-radius: 4px; }"
        "QToolButton:hover { border-color: @cyanDim; }"
        "QToolButton:pressed, QToolButton:checked { background: @tealDeep;"
        " border: 1px solid @cyanDim; }"
        "QToolButton:disabled { background: @steelDim; border-color: @night; }"
        "QStatusBar { background: @slate; color: @text; }"
        "QRadioButton::indicator { width: 12px; height: 12px; border-radius: 7px;"
        " border: 1px solid @rivet; background: @deep; }"
        "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5,"
        " radius:0.5, fx:0.5, fy:0.5, stop:0 @cyan, stop:0.45 @cyan, stop:0.6 @deep); }");
    // Longer names first, so that none is cut short by a shorter one.
    const std::pair<const char*, QColor> colours[] = {
        {"@steelLit", kSteel.lighter(115)},
        {"@steelDim", kSteel.darker(120)},
        {"@tealDeep", QColor(16, 66, 70)},
        {"@cyanDim", kCyan.darker(130)},
        {"@night", kNight},
        {"@slate", kSlate},
        {"@rivet", kRivet},
        {"@faded", kFaded},
        {"@deep", kDeep},
        {"@text", kText},
        {"@teal", kTeal},
        {"@cyan", kCyan},
    };
    for (const auto& [name, colour] : colours) sheet.replace(QLatin1String(name), colour.name());
    return sheet;
}

void applyTheme(QApplication& app, bool keepStyle) {
    if (!keepStyle)
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setPalette(darkPalette());
    app.setStyleSheet(themeStyleSheet());
}

} // namespace korvath
