// Entry point of graphmat-mces, the greedy edge-subgraph matcher's own command line.
#include "mces/MCESMain.h"

int main(int argc, char** argv) {
    mcesMain(argc, argv);
    return 0;
}
