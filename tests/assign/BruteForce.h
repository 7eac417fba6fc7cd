// The independent answer the assignment solvers are checked against (the cheapest
// assignment found by trying every permutation), and the checks of the padded-square
// result contract that Hungarian and ShortestPathSolver share.
#pragma once

#include "util/Random.h"

#include <gtest/gtest.h>

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

/// Row pointers over a grid, in the form the padded-square solvers read.
struct RowView {
    std::vector<const double*> rows;
    explicit RowView(const Grid& g) {
        for (const auto& r : g)
            rows.push_back(r.data());
    }
    const double* const* data() const { return rows.data(); }
};

template <typename Solver> void solveGrid(Solver& s, const Grid& g) {
    RowView view(g);
    s.solve(view.data(), static_cast<int>(g.size()), g.empty() ? 0 : static_cast<int>(g[0].size()));
}

/// Checks that `results` is a partial injection of min(rows, cols) pairs consistent with the
/// 0 / -1 mask in C, and returns its cost.
template <typename Solver> double checkedCost(const Solver& s, const Grid& g) {
    int rows = static_cast<int>(g.size());
    int cols = static_cast<int>(g[0].size());
    std::vector<bool> used(cols, false);
    double sum = 0;
    int assigned = 0;
    for (int r = 0; r < rows; ++r) {
        int c = s.results[r];
        if (c == -1) continue;
        EXPECT_GE(c, 0);
        EXPECT_LT(c, cols);
        if (c < 0 || c >= cols) continue;
        EXPECT_FALSE(used[c]) << "column " << c << " assigned twice";
        used[c] = true;
        sum += g[r][c];
        ++assigned;
    }
    EXPECT_EQ(assigned, std::min(rows, cols));
    for (int r = 0; r < s.l; ++r)
        for (int c = 0; c < s.l; ++c) {
            bool chosen = r < rows && c < cols && s.results[r] == c;
            EXPECT_EQ(s.C[r][c], chosen ? 0.0 : -1.0) << "cell " << r << "," << c;
        }
    return sum;
}

/// Integer draws in 0..maxValue (small ranges make many ties).
inline Grid randomGrid(int rows, int cols, int maxValue) {
    Grid g(rows, std::vector<double>(cols));
    for (auto& row : g)
        for (double& v : row)
            v = randDraw() % (maxValue + 1);
    return g;
}

/// Real draws in [0, 1].
inline Grid randomRealGrid(int rows, int cols) {
    Grid g(rows, std::vector<double>(cols));
    for (auto& row : g)
        for (double& v : row)
            v = randDraw() / static_cast<double>(kRandMax);
    return g;
}
