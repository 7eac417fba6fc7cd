// Entry point of the benchmark generators.
#include <iostream>

#include "util/Console.h"
#include <string>
#include <vector>

#include "gen/GenCommandLine.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return genMain(args, console(), std::cerr);
}
