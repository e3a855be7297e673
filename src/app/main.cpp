// The game: the front screen first (closing it ends the program), then the
// briefing and the node grid windows, hidden until needed.

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/ShownText.h"
#include "game/commands/Playback.h"
#include "game/state/Battle.h"
#include "ui/QtPorts.h"
#include "ui/SoundPlayer.h"
#include "ui/TIntroForm.h"
#include "ui/TIntroScreen.h"
#include "ui/TNodeForm.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

void usage(std::ostream& out) {
    out << "Usage: korvath [OPTION]...\n"
           "Play Korvath, a turn-based tactical squad game: lead the Raiders against the\n"
           "Operatives in the fortress of Korvath Tamberhold or aboard the Starship Vexlar.\n"
           "\n"
           "Options:\n"
           "  -h, --help      show this help and exit\n"
           "  -v, --version   show the version and exit\n"
           "  --replay FILE   play a recorded battle (File, Save replay) in the window;\n"
           "                  the battle is yours when it ends\n"
           "\n"
           "Qt's own options work too, such as -platform NAME, -display NAME and -style NAME.\n"
           "Saved games go to ~/.local/share/korvath/savedgames when the game folder cannot\n"
           "be written. KORVATH_DEVELOPER=1 shows the developer aids in the Options menu.\n";
}

// Options Qt reads for itself; QApplication takes them off the command line.
bool qtOption(const std::string& arg, bool& takesValue) {
    static const char* const withValue[] = {"platform",
                                            "platformpluginpath",
                                            "platformtheme",
                                            "plugin",
                                            "qwindowgeometry",
                                            "qwindowicon",
                                            "qwindowtitle",
                                            "qmljsdebugger",
                                            "session",
                                            "display",
                                            "geometry",
                                            "name",
                                            "title",
                                            "visual",
                                            "ncols",
                                            "cmap",
                                            "im",
                                            "style",
                                            "stylesheet"};
    static const char* const flags[] = {"reverse", "widgetcount", "nograb",
                                        "dograb",  "sync",        "testability"};
    std::string name = arg.substr(arg.rfind("--", 0) == 0 ? 2 : 1);
    const bool hasValue = name.find('=') != std::string::npos;
    name = name.substr(0, name.find('='));
    for (const char* f : flags)
        if (name == f && !hasValue) {
            takesValue = false;
            return true;
        }
    for (const char* v : withValue)
        if (name == v) {
            takesValue = !hasValue; // "-style fusion" or "-style=fusion"
            return true;
        }
    return false;
}

// -1 to go on and start the game, otherwise the exit status.
int handleCommandLine(int argc, char** argv, std::string& replay) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool takesValue = false;
        if (a == "--replay" || a.rfind("--replay=", 0) == 0) {
            if (a == "--replay" && ++i >= argc) {
                std::cerr << "korvath: --replay needs a file\n";
                usage(std::cerr);
                return 2;
            }
            replay = a == "--replay" ? argv[i] : a.substr(9);
            continue;
        }
        if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        }
        if (a == "--version" || a == "-v") {
            std::cout << "korvath " KORVATH_VERSION "\n";
            return 0;
        }
        if (a.size() > 1 && a[0] == '-' && qtOption(a, takesValue)) {
            if (takesValue && ++i >= argc) {
                std::cerr << "korvath: " << a << " needs a value\n";
                usage(std::cerr);
                return 2;
            }
            continue;
        }
        std::cerr << "korvath: unknown option or argument: " << a << "\n";
        usage(std::cerr);
        return 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    // Before the application: --help must work without a display.
    std::string replayFile;
    if (const int status = handleCommandLine(argc, argv, replayFile); status >= 0) return status;

    // Read before Qt takes its own options off the command line.
    bool ownStyle = qEnvironmentVariableIsSet("QT_STYLE_OVERRIDE");
    for (int i = 1; i < argc; ++i)
        ownStyle = ownStyle || std::string(argv[i]).rfind("-style", 0) == 0 ||
                   std::string(argv[i]).rfind("--style", 0) == 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvath"));
    QApplication::setApplicationVersion(QStringLiteral(KORVATH_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVATH_APP_ID));
    // A replay is read whole before anything shows: a bad line stops it here,
    // told on the terminal and in a box.
    std::optional<korvath::ReplayScript> replay;
    if (!replayFile.empty()) {
        std::string problem;
        std::ifstream in(replayFile, std::ios::binary);
        if (!in) problem = "cannot open the replay " + replayFile;
        try {
            if (in) replay = korvath::readReplay(in, replayFile);
        } catch (const korvath::DataError& e) {
            problem = korvath::shownText(e.what());
        }
        if (!problem.empty()) {
            std::cerr << "korvath: " << problem << "\n";
            QMessageBox::warning(nullptr, QStringLiteral("Korvath"),
                                 QStringLiteral("The replay cannot be played:\n%1")
                                     .arg(QString::fromStdString(problem)));
            return 2;
        }
    }
    // Between battles no window may be visible for a moment; only closing the
    // front screen ends the game.
    app.setQuitOnLastWindowClosed(false);
    // Dressed dark, in the game's own colours; a style named with -style stays.
    korvath::applyTheme(app, ownStyle);

    auto battle = std::make_unique<korvath::Battle>();
    battle->AppDir = korvath::findAppDir(QCoreApplication::applicationFilePath().toStdString());
    QApplication::setWindowIcon(QIcon::fromTheme(
        QStringLiteral(KORVATH_APP_ID),
        QIcon(QString::fromStdString(korvath::gamePath(battle->AppDir, "\\graphics\\icon.png")))));
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
    if (!replay || !intro.playReplay(std::move(*replay), replayFile)) intro.show();
    return app.exec();
}
