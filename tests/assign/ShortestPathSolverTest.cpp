// Shortest-augmenting-path solver: the same optimum as the step method on many random
// matrices and as brute force on small ones, the shared result contract, and odd inputs.
#include "assign/ShortestPathSolver.h"

#include "assign/Hungarian.h"
#include "tests/assign/BruteForce.h"
#include "util/Console.h"
#include "util/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// Optimum of the step method on the same grid (an independent implementation).
double stepMethodOptimum(const Grid& g) {
    Hungarian h;
    ConsoleCapture quiet; // negative entries are reported by the step method
    solveGrid(h, g);
    return checkedCost(h, g);
}

// A grid of one of four kinds, chosen by the trial number: integer draws with many ties,
// integer draws with few, reals in [0, 1], and reals with a few repeated values and
// negative entries.
Grid trialGrid(int trial, int rows, int cols) {
    switch (trial % 4) {
    case 0:
        return randomGrid(rows, cols, 3);
    case 1:
        return randomGrid(rows, cols, 1000);
    case 2:
        return randomRealGrid(rows, cols);
    default: {
        Grid g = randomGrid(rows, cols, 4);
        for (auto& row : g)
            for (double& v : row)
                v = v / 3.0 - 0.5;
        return g;
    }
    }
}

} // namespace

TEST(ShortestPathOptimality, SameTotalAsTheStepMethodOnAThousandRandomMatrices) {
    seedRandom(21);
    for (int trial = 0; trial < 1200; ++trial) {
        int rows = 1 + randDraw() % 60;
        // Every third matrix is rectangular, in either direction.
        int cols = trial % 3 == 0 ? 1 + randDraw() % 60 : rows;
        Grid g = trialGrid(trial, rows, cols);
        ShortestPathSolver s;
        solveGrid(s, g);
        ASSERT_NEAR(checkedCost(s, g), stepMethodOptimum(g), 1e-9)
            << "trial " << trial << ", " << rows << "x" << cols;
    }
}

TEST(ShortestPathOptimality, SameTotalAsBruteForceUpToEightByEight) {
    seedRandom(22);
    for (int trial = 0; trial < 300; ++trial) {
        int rows = 1 + randDraw() % 8;
        int cols = 1 + randDraw() % 8;
        Grid g = trialGrid(trial, rows, cols);
        ShortestPathSolver s;
        solveGrid(s, g);
        ASSERT_NEAR(checkedCost(s, g), bruteForce(g), 1e-9) << rows << "x" << cols;
    }
}

TEST(ShortestPathOptimality, ConstantAndLargeCostMatrices) {
    // All equal: every row reduction ties; the forbidding costs of the matcher (32767, 1000)
    // beside small ones keep the cheap cells.
    Grid equal(7, std::vector<double>(7, 2.0));
    ShortestPathSolver s;
    solveGrid(s, equal);
    EXPECT_DOUBLE_EQ(checkedCost(s, equal), 14.0);

    Grid forbidding{{32767, 0.2, 1000}, {0.1, 32767, 32767}, {1000, 1000, 0.3}};
    ShortestPathSolver t;
    solveGrid(t, forbidding);
    EXPECT_NEAR(checkedCost(t, forbidding), 0.6, 1e-12);
}

TEST(ShortestPathShapes, RectangularOneByOneAndEmpty) {
    // 2 x 3: padded with a dummy row that is not reported; 3 x 2: one real row is left out.
    Grid wide{{4, 1, 3}, {2, 0, 5}};
    ShortestPathSolver s;
    solveGrid(s, wide);
    EXPECT_EQ(s.l, 3);
    EXPECT_EQ(s.k, 2);
    EXPECT_DOUBLE_EQ(checkedCost(s, wide), 3.0);
    EXPECT_EQ(s.results[2], -1);

    Grid tall{{4, 2}, {1, 0}, {3, 5}};
    ShortestPathSolver t;
    solveGrid(t, tall);
    EXPECT_DOUBLE_EQ(checkedCost(t, tall), 3.0);

    Grid one{{7.5}};
    ShortestPathSolver u;
    solveGrid(u, one);
    EXPECT_EQ(u.results[0], 0);
    EXPECT_EQ(u.C[0][0], 0.0);

    ShortestPathSolver empty;
    empty.solve(nullptr, 0, 0);
    EXPECT_EQ(empty.l, 0);
    EXPECT_EQ(empty.results, nullptr);
}

TEST(ShortestPathInput, NonFiniteValuesAreReportedAndNeverPreferred) {
    const double inf = std::numeric_limits<double>::infinity();
    Grid g{{inf, 1, inf}, {std::nan(""), inf, 2}, {3, inf, inf}};
    Grid copy = g;
    ShortestPathSolver s;
    ConsoleCapture capture;
    solveGrid(s, g);
    std::string out = capture.text();
    EXPECT_NE(out.find("\n3,3/0,0 : inf"), std::string::npos);
    EXPECT_EQ(s.results[0], 1);
    EXPECT_EQ(s.results[1], 2);
    EXPECT_EQ(s.results[2], 0);
    EXPECT_EQ(g.size(), copy.size()); // the caller's grid is read only
    EXPECT_TRUE(std::isinf(g[0][0]));
}
