// The dark dress over the front screen and the battle window.
#include "WindowSupport.h"

using namespace korvath;
using namespace korvath::uitest;

namespace {

// Where every named control of a window sits, and the window's own size
// (the dialogs it owns are windows of their own, laid out by their style).
QMap<QString, QRect> placesOf(QWidget* window) {
    QMap<QString, QRect> out{{"(window)", QRect(QPoint(), window->sizeHint())}};
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && !w->objectName().isEmpty() &&
            !w->objectName().startsWith("qt_"))
            out.insert(w->objectName(), w->geometry());
    return out;
}

double luminance(const QColor& c) {
    auto channel = [](double v) {
        v /= 255;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The colour a widget is seen on: the nearest of it and its parents that
// paints its own background, else the window's.
QColor groundOf(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow()) return p->palette().color(QPalette::Window);
    return w->palette().color(QPalette::Window);
}

} // namespace

class ThemeTests : public QObject {
    Q_OBJECT
  private slots:
    void darkThemeKeepsTheLayoutAndLabelsReadable();
};

// Dressed dark, the battle window and the front screen keep every control
// where it was, and every label's text stands out from what it is shown on
// (a contrast of at least 4.5 to 1).
void ThemeTests::darkThemeKeepsTheLayoutAndLabelsReadable() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Battle b;
    b.windowOpen = true;
    b.AppDir = dir.path().toStdString();
    auto windows = [&] {
        std::vector<std::unique_ptr<QWidget>> out;
        out.push_back(std::make_unique<TPlayingScreen>(b, nullptr, nullptr));
        out.push_back(std::make_unique<TIntroScreen>(b, nullptr));
        for (auto& w : out) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            w->show();
        }
        static_cast<TPlayingScreen*>(out[0].get())->sync();
        return out;
    };
    std::vector<QMap<QString, QRect>> plain;
    for (auto& w : windows()) plain.push_back(placesOf(w.get()));

    const QPalette palette = qApp->palette();
    const QString styleName = qApp->style()->name();
    applyTheme(*qApp, false);
    const auto dressed = windows();
    for (size_t i = 0; i < dressed.size(); ++i) {
        QCOMPARE(placesOf(dressed[i].get()), plain[i]);
        for (QLabel* label : dressed[i]->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            const double a = luminance(label->palette().color(QPalette::WindowText));
            const double g = luminance(groundOf(label));
            const double contrast = (std::max(a, g) + 0.05) / (std::min(a, g) + 0.05);
            QVERIFY2(contrast >= 4.5, qPrintable(label->objectName() + ": " + label->text()));
        }
    }
    qApp->setStyleSheet({});
    qApp->setPalette(palette);
    qApp->setStyle(QStyleFactory::create(styleName));
}

std::unique_ptr<QObject> korvath::uitest::themeTests() {
    return std::make_unique<ThemeTests>();
}

#include "ThemeTests.moc"
