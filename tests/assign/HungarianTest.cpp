// Hungarian solver: optimality against brute force, padding of rectangular inputs, the
// result mask in C, the tie rules of the zero scans, and odd inputs.
#include "assign/Hungarian.h"

#include "tests/assign/BruteForce.h"
#include "util/Console.h"
#include "util/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

TEST(HungarianShapes, TwoByThreeIsPaddedWithADummyRow) {
    Grid g{{4, 1, 3}, {2, 0, 5}};
    Hungarian h;
    solveGrid(h, g);
    EXPECT_EQ(h.l, 3);
    EXPECT_EQ(h.k, 2);
    EXPECT_DOUBLE_EQ(checkedCost(h, g), bruteForce(g));
    EXPECT_EQ(h.results[2], -1); // the dummy row's column is not reported
}

TEST(HungarianShapes, ThreeByTwoLeavesOneRealRowUnassigned) {
    Grid g{{4, 2}, {1, 0}, {3, 5}};
    Hungarian h;
    solveGrid(h, g);
    EXPECT_EQ(h.l, 3);
    EXPECT_DOUBLE_EQ(checkedCost(h, g), bruteForce(g));
    EXPECT_EQ(std::count(h.results, h.results + 3, -1), 1);
}

TEST(HungarianShapes, OneByOne) {
    Grid g{{7.5}};
    Hungarian h;
    solveGrid(h, g);
    EXPECT_EQ(h.results[0], 0);
    EXPECT_EQ(h.C[0][0], 0.0);
}

TEST(HungarianShapes, EmptyProblemFinishesWithNothingAssigned) {
    Hungarian h;
    h.solve(nullptr, 0, 0);
    EXPECT_EQ(h.l, 0);
}

TEST(HungarianTies, AllEqualStarsTheDiagonal) {
    // Row reduction turns every cell into 0; the first starring pass scans rows and then
    // columns in order, so each row keeps its own column.
    Grid g(4, std::vector<double>(4, 3.0));
    Hungarian h;
    solveGrid(h, g);
    checkedCost(h, g);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(h.results[r], r);
}

TEST(HungarianTies, FirstPrimeIsTheRightMostZeroOfTheRow) {
    // Traced by hand: row 0 holds zeros in every column; the right-most one (column 2) is
    // primed first, so row 0 finally gets column 1 and row 2 column 2 (cost 5). Taking the
    // left-most zero instead ends with the equally cheap 0->2, 2->1.
    Grid g{{0, 0, 0}, {0, 5, 5}, {0, 5, 5}};
    Hungarian h;
    solveGrid(h, g);
    EXPECT_EQ(h.results[0], 1);
    EXPECT_EQ(h.results[1], 0);
    EXPECT_EQ(h.results[2], 2);
}

TEST(HungarianOptimality, RandomSquareMatchesBruteForce) {
    seedRandom(11);
    for (int trial = 0; trial < 30; ++trial) {
        // Small value ranges make many ties and degenerate zero patterns.
        Grid g = randomGrid(8, 8, trial % 2 == 0 ? 3 : 100);
        Hungarian h;
        solveGrid(h, g);
        ASSERT_DOUBLE_EQ(checkedCost(h, g), bruteForce(g)) << "trial " << trial;
    }
}

TEST(HungarianOptimality, RandomRectangularMatchesBruteForce) {
    seedRandom(12);
    for (int trial = 0; trial < 30; ++trial) {
        int rows = 1 + randDraw() % 7;
        int cols = 1 + randDraw() % 7;
        Grid g = randomGrid(rows, cols, 9);
        Hungarian h;
        solveGrid(h, g);
        ASSERT_DOUBLE_EQ(checkedCost(h, g), bruteForce(g)) << rows << "x" << cols;
    }
}

TEST(HungarianOptimality, FractionalScoresMatchBruteForce) {
    seedRandom(13);
    for (int trial = 0; trial < 20; ++trial) {
        Grid g = randomRealGrid(6, 6);
        Hungarian h;
        solveGrid(h, g);
        ASSERT_NEAR(checkedCost(h, g), bruteForce(g), 1e-9);
    }
}

TEST(HungarianInput, CallerMatrixIsNotChanged) {
    Grid g{{4, 1, 3}, {2, 0, 5}, {3, 2, 2}};
    Grid copy = g;
    Hungarian h;
    solveGrid(h, g);
    EXPECT_EQ(g, copy);
}

TEST(HungarianInput, NegativeValuesAreReportedAndKept) {
    Grid g{{-5, 0}, {0, -1}};
    Hungarian h;
    ConsoleCapture capture;
    solveGrid(h, g);
    std::string out = capture.text();
    EXPECT_NE(out.find("\n2,2/0,0 : -5"), std::string::npos);
    EXPECT_NE(out.find("\n2,2/1,1 : -1"), std::string::npos);
    EXPECT_EQ(h.results[0], 0);
    EXPECT_EQ(h.results[1], 1);
}

TEST(HungarianInput, NonFiniteValuesStillFinishWithAnAssignment) {
    const double inf = std::numeric_limits<double>::infinity();
    Grid g{{inf, 1, inf}, {std::nan(""), inf, 2}, {3, inf, inf}};
    Hungarian h;
    ConsoleCapture quiet;
    solveGrid(h, g);
    EXPECT_EQ(h.results[0], 1);
    EXPECT_EQ(h.results[1], 2);
    EXPECT_EQ(h.results[2], 0);
}

TEST(HungarianInput, ASolverReusedForASecondProblemSolvesIt) {
    Hungarian h;
    Grid big{{1, 2, 3}, {2, 4, 6}, {3, 6, 9}};
    solveGrid(h, big);
    Grid small{{5, 1}, {1, 5}};
    solveGrid(h, small);
    EXPECT_EQ(h.l, 2);
    EXPECT_EQ(h.results[0], 1);
    EXPECT_EQ(h.results[1], 0);
}
