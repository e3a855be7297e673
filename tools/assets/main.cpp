// korvath-assets: builds the game folder from the sources under data/.
#include "assets/GameFolder.h"
#include "assets/Icon.h"

#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <string>

namespace {

void usage(std::ostream& out) {
    out << "Usage: korvath-assets [--data SRC] [--out GAMEDIR] [--preview DIR] [--icons DIR]\n"
           "Draw the pictures, synthesise the sounds and compile the maps of Korvath from\n"
           "the sources in SRC, and lay out a complete game folder.\n"
           "\n"
           "Options:\n"
           "  --data SRC      the sources (default: "
        << KORVATH_DATA_SOURCE
        << ")\n"
           "  --out GAMEDIR   lay out the game folder in GAMEDIR\n"
           "  --preview DIR   write PNG pictures of the maps, tiles and soldiers to DIR\n"
           "  --icons DIR     write the desktop icons to DIR/NxN/apps/" KORVATH_APP_ID ".png\n"
           "  -h, --help      show this help and exit\n"
           "  -v, --version   show the version and exit\n";
}

} // namespace

int main(int argc, char** argv) {
    std::string data = KORVATH_DATA_SOURCE, out, preview, icons;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        }
        if (a == "--version" || a == "-v") {
            std::cout << "korvath-assets " KORVATH_VERSION "\n";
            return 0;
        }
        if ((a == "--data" || a == "--out" || a == "--preview" || a == "--icons") && i + 1 < argc) {
            (a == "--data"      ? data
             : a == "--out"     ? out
             : a == "--preview" ? preview
                                : icons) = argv[++i];
        } else {
            std::cerr << "korvath-assets: unknown option or missing value: " << a << "\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (out.empty() && preview.empty() && icons.empty()) {
        std::cerr << "korvath-assets: nothing to do; give --out, --preview or --icons\n";
        usage(std::cerr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        if (!out.empty()) korvath::assets::buildGameFolder(data, out);
        if (!preview.empty()) korvath::assets::writePreview(data, preview);
        if (!icons.empty()) korvath::assets::writeIcons(icons, KORVATH_APP_ID);
    } catch (const std::exception& e) {
        std::cerr << "korvath-assets: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
