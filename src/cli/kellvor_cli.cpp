// kellvor-cli: the file command for scripts and batch work.
#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli_process.h"
#include "cli/cli_run.h"

int main(int argc, char** argv) {
    kellvor::keepStandardDescriptorsOpen();
    kellvor::installSignalHandling();
    std::vector<std::string_view> args(argv + 1, argv + argc);
    return kellvor::runCli(args, std::cout, std::cerr);
}
