// The project's random helper: std::rand() folded into 0..32767.
#include "util/Random.h"

#include <cstdlib>

void seedRandom(unsigned seed) {
    std::srand(seed);
}

int randDraw() {
    return std::rand() % (kRandMax + 1);
}
