// The independent answer both assignment solvers are checked against: the cheapest
// assignment found by trying every permutation.
#pragma once

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

using Grid = std::vector<std::vector<double>>;

/// Cheapest assignment of min(rows, cols) pairs of a non-empty grid, trying every permutation
/// of the padded square (padding cells cost 0).
inline double bruteForce(const Grid& g) {
    int rows = static_cast<int>(g.size());
    int cols = static_cast<int>(g[0].size());
    int size = std::max(rows, cols);
    std::vector<int> perm(size);
    std::iota(perm.begin(), perm.end(), 0);
    double best = std::numeric_limits<double>::max();
    do {
        double sum = 0;
        for (int r = 0; r < rows; ++r)
            if (perm[r] < cols) sum += g[r][perm[r]];
        best = std::min(best, sum);
    } while (std::next_permutation(perm.begin(), perm.end()));
    return best;
}
