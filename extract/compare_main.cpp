// Entry point of graphmat-compare.
#include <iostream>

#include "util/Console.h"

#include "extract/CompareRun.h"

int main(int argc, char** argv) {
    return compareMain(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), console(),
                       std::cerr);
}
