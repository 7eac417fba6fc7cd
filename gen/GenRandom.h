// Random draws of the mutation and noise generators, in [0, 1].
#pragma once

#include "util/Random.h"

/// A draw in [0, 1] (both ends included).
inline double alea() {
    return randDraw() / static_cast<double>(kRandMax);
}

/// True with probability p. The draw is always taken, so the sequence of draws does not
/// depend on p, and a probability of 0 never fires (a draw of exactly 0 would otherwise
/// pass "<= 0").
inline bool chance(double p) {
    double a = alea();
    return p > 0 && a <= p;
}
