// The game: the front screen first (closing it ends the program), then the
// briefing and the node grid windows, hidden until needed.

#include "engine/Paths.h"
#include "game/Battle.h"
#include "ui/QtPorts.h"
#include "ui/SoundPlayer.h"
#include "ui/TIntroForm.h"
#include "ui/TIntroScreen.h"
#include "ui/TNodeForm.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Between battles no window may be visible for a moment; only closing the
    // front screen ends the game.
    app.setQuitOnLastWindowClosed(false);

    auto battle = std::make_unique<korvath::Battle>();
    battle->AppDir = korvath::findAppDir(QCoreApplication::applicationFilePath().toStdString());
    korvath::QtClock clock;
    korvath::QtDialogs dialogs;
    korvath::SoundPlayer sound;
    battle->ports.clock = &clock;
    battle->ports.sound = &sound;
    battle->ports.dialogs = &dialogs;
    // The hidden developer aids show in the Options menu with KORVATH_DEVELOPER=1.
    battle->developerMode = qEnvironmentVariableIntValue("KORVATH_DEVELOPER") == 1;

    korvath::TIntroScreen intro(*battle, &sound);
    korvath::TIntroForm briefing(*battle);
    korvath::TNodeForm nodes;
    intro.setBriefing(&briefing);
    intro.setNodeForm(&nodes);
    QObject::connect(&intro, &korvath::TIntroScreen::closed, &app, &QApplication::quit);
    intro.show();
    return app.exec();
}
