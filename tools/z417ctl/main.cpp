// z417ctl: the command-line tool over the core library. Builds device images offline, shows
// settings files, and reads, applies and inspects the mouse or the simulated mouse.
#include "Cli.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return z417::runCli(args, stdout, stderr);
}
