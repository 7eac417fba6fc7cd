// Dense matrix (sizes, resize, copies, guards) and the in-place Munkres solver (shapes,
// optimality against brute force, result mask, awkward cost ranges).
#include "assign/munkres.h"

#include "tests/assign/BruteForce.h"
#include "util/Console.h"
#include "util/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace {

Matrix<double> toMatrix(const Grid& g) {
    Matrix<double> m(static_cast<int>(g.size()), static_cast<int>(g[0].size()));
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j)
            m(i, j) = g[i][j];
    return m;
}

// Solves quietly: the solver traces its steps on standard output.
Matrix<double> solveQuietly(const Grid& g) {
    Matrix<double> m = toMatrix(g);
    Munkres solver;
    ConsoleCapture quiet;
    solver.solve(m);
    return m;
}

// Checks the mask holds only 0 and -1, with min(rows, cols) zeros in distinct rows and
// columns, and returns the cost of the chosen cells.
double maskCost(Matrix<double>& mask, const Grid& g) {
    std::vector<int> perRow(mask.rows(), 0);
    std::vector<int> perColumn(mask.columns(), 0);
    double sum = 0;
    int chosen = 0;
    for (int r = 0; r < mask.rows(); ++r)
        for (int c = 0; c < mask.columns(); ++c) {
            double v = mask(r, c);
            EXPECT_TRUE(v == 0 || v == -1) << "cell " << r << "," << c << " = " << v;
            if (v != 0) continue;
            ++perRow[r];
            ++perColumn[c];
            sum += g[r][c];
            ++chosen;
        }
    EXPECT_EQ(chosen, mask.minsize());
    for (int n : perRow)
        EXPECT_LE(n, 1);
    for (int n : perColumn)
        EXPECT_LE(n, 1);
    return sum;
}

Grid randomGrid(int rows, int cols, bool fractional) {
    Grid g(rows, std::vector<double>(cols));
    for (auto& row : g)
        for (double& v : row)
            v = fractional ? randDraw() / static_cast<double>(kRandMax) : randDraw() % 4;
    return g;
}

} // namespace

TEST(MatrixTest, ConstructionZeroFillsAndReportsSizes) {
    Matrix<int> m(2, 3);
    EXPECT_EQ(m.rows(), 2);
    EXPECT_EQ(m.columns(), 3);
    EXPECT_EQ(m.minsize(), 2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m(i, j), 0);
}

TEST(MatrixTest, ResizeKeepsTheOverlapAndZeroFillsTheRest) {
    Matrix<double> m(2, 2);
    m(0, 0) = 1;
    m(0, 1) = 2;
    m(1, 0) = 3;
    m(1, 1) = 4;
    m.resize(3, 1);
    ASSERT_EQ(m.rows(), 3);
    ASSERT_EQ(m.columns(), 1);
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(m(1, 0), 3);
    EXPECT_EQ(m(2, 0), 0);

    Matrix<double> empty;
    empty.resize(2, 2);
    EXPECT_EQ(empty(1, 1), 0);
}

TEST(MatrixTest, AssignmentIsADeepCopy) {
    Matrix<double> a(2, 2);
    a(1, 0) = 5;
    Matrix<double> b(4, 1);
    b = a;
    a(1, 0) = 6;
    ASSERT_EQ(b.rows(), 2);
    ASSERT_EQ(b.columns(), 2);
    EXPECT_EQ(b(1, 0), 5);

    Matrix<double> copy(a);
    a(1, 0) = 7;
    EXPECT_EQ(copy(1, 0), 6);

    Matrix<double> none;
    b = none;
    EXPECT_EQ(b.rows(), 0);
    EXPECT_EQ(b.columns(), 0);
    EXPECT_EQ(b.m_matrix, nullptr);
}

TEST(MatrixTest, ClearZeroesEveryValue) {
    Matrix<int> m(2, 2);
    m(0, 1) = 9;
    m.clear();
    EXPECT_EQ(m(0, 1), 0);
}

TEST(MatrixDeathTest, GuardsReportTheirConditionAndStop) {
    Matrix<double> m(2, 3);
    EXPECT_DEATH(m(-1, 0), "x >= 0, file matrix\\.h, line [0-9]+");
    EXPECT_DEATH(m(0, -1), "y >= 0, file matrix\\.h, line [0-9]+");
    EXPECT_DEATH(m(2, 0), "x < m_rows");
    EXPECT_DEATH(m(0, 3), "y < m_columns");
    Matrix<int> none;
    EXPECT_DEATH(none.clear(), "m_matrix != NULL");
}

TEST(MunkresShapes, WideMatrixIsSolvedInItsOwnShape) {
    Grid g{{4, 1, 3}, {2, 0, 5}};
    Matrix<double> mask = solveQuietly(g);
    ASSERT_EQ(mask.rows(), 2);
    ASSERT_EQ(mask.columns(), 3);
    EXPECT_DOUBLE_EQ(maskCost(mask, g), bruteForce(g)); // two zeros, four -1
}

TEST(MunkresShapes, TallMatrixGivesEveryColumnItsBestRow) {
    // Reducing rows alone would keep the row minima 1 and 1 (cost 2); the optimum gives
    // column 0 to the last row and column 1 to the middle row.
    Grid g{{1, 10}, {10, 1}, {0, 100}};
    Matrix<double> mask = solveQuietly(g);
    ASSERT_EQ(mask.rows(), 3);
    ASSERT_EQ(mask.columns(), 2);
    EXPECT_DOUBLE_EQ(maskCost(mask, g), 1.0);
    EXPECT_EQ(mask(2, 0), 0);
    EXPECT_EQ(mask(1, 1), 0);
}

TEST(MunkresShapes, SingleCell) {
    Grid g{{0.25}};
    Matrix<double> mask = solveQuietly(g);
    EXPECT_EQ(mask(0, 0), 0);
}

TEST(MunkresOptimality, RandomScoresMatchBruteForce) {
    seedRandom(21);
    for (int trial = 0; trial < 40; ++trial) {
        int rows = 1 + randDraw() % 6;
        int cols = 1 + randDraw() % 6;
        Grid g = randomGrid(rows, cols, trial % 2 == 0);
        Matrix<double> mask = solveQuietly(g);
        ASSERT_NEAR(maskCost(mask, g), bruteForce(g), 1e-9) << rows << "x" << cols;
    }
}

TEST(MunkresOptimality, LargeCostsStillFinishOptimally) {
    Grid g{{1e6, 3e6, 2e6}, {2e6, 1e6, 5e6}, {7e6, 4e6, 1e20}};
    Matrix<double> mask = solveQuietly(g);
    EXPECT_DOUBLE_EQ(maskCost(mask, g), bruteForce(g));
}

TEST(MunkresTrace, PrintsStepBannersAndChosenCells) {
    Matrix<double> m = toMatrix(Grid{{1, 0}, {0, 1}});
    Munkres solver;
    ConsoleCapture capture;
    solver.solve(m);
    std::string out = capture.text();
    EXPECT_NE(out.find("\n STEP 1 \n"), std::string::npos);
    EXPECT_NE(out.find("0,1\n"), std::string::npos);
    EXPECT_NE(out.find("1,0\n"), std::string::npos);
}
