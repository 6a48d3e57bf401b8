// The program's entry: installs the game into the engine's start-up, joins the arguments into one
// command line and hands over to the shell.
#include "engine/shell.h"
#include "game/game_start.h"

#include <string>

int main(int argc, char** argv) {
    game_register();
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return shell_winmain(line.c_str());
}
