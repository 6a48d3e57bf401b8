// The program's entry: installs the game into the engine's start-up, joins the arguments into one
// command line and hands over to the shell. Started again by the fatal reporter with
// "--fatal-box", it only shows the fatal message box.
#include "calendar/calendar_register.h"
#include "engine/shell.h"
#include "game/game_start.h"
#include "minigames/minigames_register.h"
#include "platform/platform.h"
#include "scripts/episode_state.h"
#include "scripts/scripts_register.h"

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--fatal-box") == 0)
        plat_fatal_box_main(argv[2], argv[3]);
    game_register();
    minigames_register();
    calendar_register_all();
    scripts_register_all();
    episode_state_reset();
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return shell_winmain(line.c_str());
}
