// The finite stand-in both assignment solvers put in place of non-finite input costs.
#pragma once

#include <cmath>

/// Above the largest magnitude among the finite values of the `rows` × `cols` input, so a
/// stand-in is never preferred, yet every difference the solvers take stays exact and finite.
inline double nonFiniteStandIn(const double* const* input, int rows, int cols) {
    double largest = 0;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            if (std::isfinite(input[i][j])) largest = std::fmax(largest, std::fabs(input[i][j]));
    return 2 * largest + 1;
}
