// korvath-headless: plays a battle from a script and prints the state as JSON.
#include "Script.h"
#include "engine/Paths.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::string dataDir;
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data" && i + 1 < argc)
            dataDir = argv[++i];
        else if (a == "--help" || a == "-h") {
            std::cout << "usage: korvath-headless [--data DIR] [SCRIPT]\n";
            return 0;
        } else if (script.empty())
            script = a;
        else {
            std::cerr << "korvath-headless: unexpected argument \"" << a << "\"\n";
            return 2;
        }
    }
    if (dataDir.empty()) dataDir = korvath::findAppDir(argv[0]);

    korvath::ScriptRunner runner(dataDir, std::cout, std::cerr);
    if (script.empty()) return runner.run(std::cin, "standard input");
    std::ifstream in(script);
    if (!in) {
        std::cerr << "korvath-headless: cannot open " << script << "\n";
        return 2;
    }
    return runner.run(in, script);
}
