#include "TIntroForm.h"

#include "Fonts.h"
#include "engine/ShownText.h"
#include "game/commands/Scenario.h"
#include "game/files/Briefing.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace korvath {

namespace {
constexpr int kClientWidth = 478;
constexpr int kClientHeight = 339;
} // namespace

TIntroForm::TIntroForm(Battle& battle, QWidget* parent)
    // A card without the window manager's frame: a title bar would bring
    // minimise and maximise buttons with it on some desktops, and a minimised
    // modal briefing leaves the game waiting on a window nobody sees. The
    // picture carries its own title; a click (or Esc) closes it.
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), b_(battle) {
    setObjectName("IntroForm");
    setWindowTitle(QStringLiteral("Mission Briefing"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    image_ = new QLabel(this);
    image_->setObjectName("IntroIMage");
    image_->setGeometry(0, 0, 480, 340);
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_->installEventFilter(this);
    FormActivate();
}

int TIntroForm::showBriefing() {
    return exec();
}

QPixmap TIntroForm::picture() const {
    return image_->pixmap();
}

void TIntroForm::FormActivate() {
    // Centred on the screen each time it appears.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
}

void TIntroForm::FormShow() {
    // The two shipped scenarios by name, and every player's scenario.
    if (b_.ScenarioFolder.empty() && b_.ScenarioName != "korvath" && b_.ScenarioName != "vexlar")
        return;
    QImage picture(QString::fromStdString(briefingPicturePath(b_)));
    if (picture.isNull()) {
        std::fprintf(stderr, "korvath: cannot read the briefing picture %s\n",
                     briefingPicturePath(b_).c_str());
        picture = QImage(480, 340, QImage::Format_RGB32);
        picture.fill(QColor(192, 192, 192));
    }
    picture = picture.convertToFormat(QImage::Format_RGB32);
    // The briefing lines one below the other from (25, 75), as they stand:
    // no wrapping, whatever does not fit runs off the picture.
    QPainter p(&picture);
    const QFont font = verdanaFont(9);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics fm(font);
    int y = 75;
    for (const std::string& line : briefingLines(b_)) {
        p.drawText(25, y + fm.ascent(), QString::fromStdString(shownText(line)));
        y += fm.height();
    }
    p.end();
    image_->setPixmap(QPixmap::fromImage(picture));
    image_->resize(picture.size());
}

void TIntroForm::showEvent(QShowEvent* e) {
    FormActivate();
    FormShow();
    QDialog::showEvent(e);
    // A card without a frame is not always given the keyboard by the window
    // manager: it asks for it once it is on the screen, so that Enter and
    // the space bar begin the battle without a click first.
    QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
        setFocus(Qt::ActiveWindowFocusReason);
    });
}

bool TIntroForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == image_ && e->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (image_->rect().contains(m->position().toPoint())) accept();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TIntroForm::keyPressEvent(QKeyEvent* e) {
    // Begun from the keyboard as by a click.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace korvath
