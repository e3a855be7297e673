#pragma once
#include "game/state/Battle.h"

#include <stdexcept>
#include <string>
#include <vector>

// Every command a player can give a battle, registered once: the window's
// event handlers and the headless driver both run them from here, by name and
// words, as in a script line ("button EndTurn", "square 12 7 right").
namespace korvath {

// A command that does not exist or has bad words.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CommandSpec {
    const char* name;
    const char* usage;
    size_t minWords; // words after the name
    void (*run)(Battle& b, const std::vector<std::string>& words);
};

// The commands, in the order of their names.
const std::vector<CommandSpec>& commands();
const CommandSpec* findCommand(const std::string& name);

// Runs one command (name first, then its words) and derives the controls the
// window mirrors from the battle as the command left it. A command the battle cannot take now (a
// disabled button, a hidden menu entry) does nothing, as a click on it would. Throws CommandError
// for an unknown command or bad words.
void runCommand(Battle& b, const std::vector<std::string>& words);

// A command that only moves the pointer or the view: when it changes nothing
// a recording leaves it out, and of several in a row the last one is enough.
inline bool isFleeting(const std::string& name) {
    return name == "hover" || name == "scroll" || name == "view";
}

// Checks a command's name and words as runCommand would, without a battle:
// throws CommandError for an unknown command, missing words, a word that
// should be a number, or a click outside the map.
void checkCommand(const std::vector<std::string>& words);

} // namespace korvath
