// Entry point of graphmat-extract.
#include <iostream>

#include "util/Console.h"

#include "extract/ExtractCommandLine.h"

int main(int argc, char** argv) {
    return extractMain(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), console(),
                       std::cerr);
}
