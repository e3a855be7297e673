// korvath-assets: builds the game folder from the sources under data/.
//
//   korvath-assets [--data SRC] --out GAMEDIR
//   korvath-assets [--data SRC] --preview DIR
#include "assets/GameFolder.h"

#include <QGuiApplication>

#include <cstring>
#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::string data = KORVATH_DATA_SOURCE, out, preview;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data" || a == "--out" || a == "--preview") && i + 1 < argc) {
            (a == "--data" ? data : a == "--out" ? out : preview) = argv[++i];
        } else {
            std::cerr << "usage: korvath-assets [--data SRC] (--out GAMEDIR | --preview DIR)\n";
            return 2;
        }
    }
    if (out.empty() && preview.empty()) {
        std::cerr << "korvath-assets: nothing to do; give --out or --preview\n";
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        if (!out.empty()) korvath::assets::buildGameFolder(data, out);
        if (!preview.empty()) korvath::assets::writePreview(data, preview);
    } catch (const std::exception& e) {
        std::cerr << "korvath-assets: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
