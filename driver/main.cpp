// Entry point of the matcher's command line.
#include "driver/MatchRun.h"

int main(int argc, char** argv) {
    return graphmatMain(argc, argv);
}
