#pragma once
// A battle of a real scenario from the built game folder in its window, as
// the front screen opens it, driven by synthetic mouse and key events.
#include "TestData.h"
#include "engine/Paths.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/state/Battle.h"
#include "game/state/Pieces.h"
#include "ui/QtPorts.h"
#include "ui/TPlayingScreen.h"

#include <QPointer>
#include <QTableWidget>
#include <QtTest>

#include <functional>

namespace korvath::uitest {

// Boxes are counted instead of shown; each box can look at the window first.
struct Boxes : Dialogs {
    std::vector<std::string> texts;
    std::function<void()> whenShown;
    void information(const std::string& text) override {
        texts.push_back(text);
        if (whenShown) whenShown();
    }
    // The file dialogs answer what a command named, else are cancelled.
    std::string file;
    void answerNextFile(const std::string& path) override { file = path; }
    std::string openFile(const FileQuestion&) override { return file; }
    std::string saveFile(const FileQuestion&) override { return file; }
};

inline const QString kGameDir = QStringLiteral(KORVATH_GAME_DIR);

inline bool gameBuilt() {
    return fileExists(gamePath(kGameDir.toStdString(), "\\scenarios\\korvathDesc.txt"));
}

// A battle of a real scenario in its window, as the front screen opens it.
struct BattleWindow {
    explicit BattleWindow(ScenarioId which) {
        b.AppDir = game.path.string();
        b.ports.clock = &clock;
        b.ports.dialogs = &boxes;
        chooseScenario(b, which, 3);
        w = new TPlayingScreen(b, nullptr, nullptr);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->setEdgeScrolling(false);
        w->FormCreate();
        w->show();
    }
    ~BattleWindow() {
        w->close();
        delete w;
    }
    template <class T = QWidget> T* control(const char* name) const {
        return qobject_cast<T*>(w->control(name));
    }
    void click(const char* button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    // A press on the centre of map square (x, y), wherever the view is.
    void clickSquare(int x, int y) {
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {},
                          QPoint(squareCentre(x), squareCentre(y)));
    }
    QPoint scroll() const {
        return {b.controls.ScrollTop.position, b.controls.ScrollSide.position};
    }
    void scrollTo(QPoint p) {
        b.view.setRight(p.x());
        b.view.setBottom(p.y());
        w->sync();
    }

    // Every soldier picked from the list and put on a start star.
    void deployAll() {
        std::vector<QPoint> stars;
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                if (b.cell(x, y).Glyph == kStartStarGlyph) stars.emplace_back(x, y);
        auto* list = control<QTableWidget>("PlaceMenGrid");
        for (int row = 0; row < list->rowCount(); ++row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(row, 0)).center());
            clickSquare(stars[row].x(), stars[row].y());
        }
    }
    // The first Raider, standing on the map.
    int firstRaider() const {
        for (int i = 1; i <= kMaxPieces; ++i)
            if (b.Pieces[i].Side == Side::Raiders && b.Pieces[i].X > 0) return i;
        return 0;
    }

    test::LinkedGameFolder game{KORVATH_GAME_DIR}; // its autosaves stay out of the build
    Battle b;
    QtClock clock;
    Boxes boxes;
    QPointer<TPlayingScreen> w;
};

} // namespace korvath::uitest
