// korvath-headless: plays a battle from a script and prints the state as JSON.
#include "Script.h"
#include "engine/Paths.h"
#include "game/editor/Check.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

void usage(std::ostream& out) {
    out << "Usage: korvath-headless [--data DIR] [SCRIPT]\n"
           "       korvath-headless [--data DIR] --check FOLDER\n"
           "Play a battle of Korvath without a window: read commands, one a line, from\n"
           "SCRIPT or standard input, and print the battle's state as JSON at each dump.\n"
           "\n"
           "Options:\n"
           "  --data DIR      the game folder (default: the one the game itself would use)\n"
           "  --check FOLDER  check the scenario in FOLDER as the editor's Check does and\n"
           "                  print what it found; status 0 when it found no problem, 2 else\n"
           "  -h, --help      show this help and exit\n"
           "  -v, --version   show the version and exit\n"
           "\n"
           "A replay saved by the game (File, Save replay) is such a script: it plays the\n"
           "recorded battle to the same state, its saves kept in a temporary folder.\n"
           "A bad command, argument or data file stops the script with status 2.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir;
    std::string script;
    std::string check;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (a == "--check" && i + 1 < argc) {
            check = argv[++i];
        } else if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        } else if (a == "--version" || a == "-v") {
            std::cout << "korvath-headless " KORVATH_VERSION "\n";
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "korvath-headless: unknown option or missing value: " << a << "\n";
            usage(std::cerr);
            return 2;
        } else if (script.empty()) {
            script = a;
        } else {
            std::cerr << "korvath-headless: unexpected argument \"" << a << "\"\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (dataDir.empty()) dataDir = korvath::findAppDir(korvath::executablePath(argv[0]));

    if (!check.empty()) {
        const korvath::CheckReport report = korvath::checkScenario(dataDir, check);
        std::cout << report.text();
        return report.passed() ? 0 : 2;
    }
    korvath::ScriptRunner runner(dataDir, std::cout, std::cerr);
    if (script.empty() || script == "-") return runner.run(std::cin, "standard input");
    std::ifstream in(script);
    if (!in) {
        std::cerr << "korvath-headless: cannot open " << script << "\n";
        return 2;
    }
    return runner.run(in, script);
}
