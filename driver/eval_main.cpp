// Entry point of the evaluation program.
#include "driver/EvalCommandLine.h"

int main(int argc, char** argv) {
    return graphmatEvalMain(argc, argv);
}
