// The program's entry: joins the arguments into one command line and hands over to the shell.
#include "engine/shell.h"

#include <string>

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return shell_winmain(line.c_str());
}
