// Node ranking: fixed points checked against hand-solved walks, order counts against a
// pairwise count, statistics and termination on degenerate weights.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "graph/Graph.h"
#include "tests/graph/GraphTestSupport.h"
#include "util/Console.h"

namespace {

constexpr double kJump = 0.15;
constexpr double kEpsilon = 1e-8;

/// Both rankings in the order that leaves the u statistics describing u.
void rankQuietly(Graph& g) {
    ConsoleCapture quiet;
    g.nodeRank2(kJump, kEpsilon);
    g.nodeRank(kJump, kEpsilon);
}

void rankByLabelQuietly(Graph& g) {
    ConsoleCapture quiet;
    g.nodeRank2(kJump, kEpsilon);
}

} // namespace

TEST(NodeRank, TwoNodesOneArcReachesHandSolvedFixedPoint) {
    auto g = makeGraph(2);
    arc(*g, 0, 1, "1");
    rankQuietly(*g);
    // Fixed point of r0 = c/2, r1 = c/2 + (1-c) r0, then normalised.
    double r0 = kJump / 2;
    double r1 = kJump / 2 + (1 - kJump) * r0;
    EXPECT_NEAR(g->u[0], r0 / (r0 + r1), 1e-8);
    EXPECT_NEAR(g->u[1], r1 / (r0 + r1), 1e-8);
    EXPECT_EQ(g->rank[0], 1);
    EXPECT_EQ(g->rank[1], 0);
    EXPECT_EQ(g->level[0], 50); // 1 * 100 / 2
    EXPECT_EQ(g->level[1], 0);
    EXPECT_DOUBLE_EQ(g->hub[0], g->u[1]);
    EXPECT_DOUBLE_EQ(g->hub[1], 0);
    EXPECT_DOUBLE_EQ(g->norm[0], 1);
    EXPECT_DOUBLE_EQ(g->norm[1], 1);
    EXPECT_EQ(g->_rank[0], 0); // equal norms share rank 0
    EXPECT_EQ(g->_rank[1], 0);
}

namespace {

/// A walk from the uniform vector over n nodes, advanced by `step` until two successive
/// vectors differ by less than `bound`, then normalised; `steps` counts the steps.
std::vector<double> walkUntil(const std::function<double*(double*)>& step, int n, double bound,
                              int& steps) {
    double* x = new double[n];
    for (int i = 0; i < n; i++)
        x[i] = 1.0 / n;
    Graph norm;
    for (steps = 1;; steps++) {
        double* next = step(x);
        double change = norm.specialNorm(next, x, n);
        delete[] x;
        x = next;
        if (change < bound) break;
    }
    double sum = 0;
    for (int i = 0; i < n; i++)
        sum += x[i];
    std::vector<double> result(n);
    for (int i = 0; i < n; i++)
        result[i] = x[i] / sum;
    delete[] x;
    return result;
}

} // namespace

TEST(NodeRank, WalksStopAtTheJumpScaledBound) {
    // A graph whose walks converge geometrically, so the stopping step depends on the bound.
    auto g = makeGraph(4);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 2, "1");
    arc(*g, 2, 0, "1");
    arc(*g, 2, 3, "2");
    arc(*g, 3, 1, "1");
    rankQuietly(*g);
    const double bound = kJump * kEpsilon / (1 - kJump);
    EXPECT_DOUBLE_EQ(bound, 1.7647058823529412e-09);
    struct Walk {
        std::function<double*(double*)> step;
        const double* ranked;
    };
    const Walk walks[] = {{[&](double* x) { return g->T(x, 4); }, g->u},
                          {[&](double* x) { return g->T2(x, 4, 1); }, g->uu[1]}};
    for (const Walk& walk : walks) {
        int steps = 0, looserSteps = 0;
        std::vector<double> expected = walkUntil(walk.step, 4, bound, steps);
        // Stopping at epsilon itself ends earlier with another vector: the test can tell.
        ASSERT_NE(walkUntil(walk.step, 4, kEpsilon, looserSteps), expected);
        ASSERT_LT(looserSteps, steps);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(walk.ranked[i], expected[i]) << "node " << i;
    }
}

TEST(NodeRank, SymmetricCycleGivesEqualRanks) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 2, "1");
    arc(*g, 2, 0, "1");
    rankQuietly(*g);
    for (int i = 0; i < 3; i++) {
        EXPECT_NEAR(g->u[i], 1.0 / 3, 1e-12);
        EXPECT_EQ(g->rank[i], 0);
        EXPECT_EQ(g->level[i], 0);
    }
    EXPECT_EQ(g->level_count[0], 3);
    EXPECT_DOUBLE_EQ(g->max_u, g->u[0]);
}

TEST(NodeRank, IsolatedNodeHasZeroNormAndHub) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    arc(*g, 0, 1, "1"); // folded: still one Edge for the norm
    rankQuietly(*g);
    EXPECT_DOUBLE_EQ(g->norm[2], 0);
    EXPECT_DOUBLE_EQ(g->hub[2], 0);
    EXPECT_DOUBLE_EQ(g->norm[0], 1);
    double sum = g->u[0] + g->u[1] + g->u[2];
    EXPECT_NEAR(sum, 1.0, 1e-12);
}

TEST(NodeRank, CappedMaximumOfAnOutlier) {
    // Twenty leaves all pointing at one hub: the hub's rank is an outlier.
    const int n = 21;
    auto g = makeGraph(n);
    for (int i = 1; i < n; i++)
        arc(*g, i, 0, "1");
    rankQuietly(*g);
    double sum = 0, squares = 0;
    for (int i = 0; i < n; i++) {
        sum += g->u[i];
        squares += g->u[i] * g->u[i];
    }
    double mean = sum / n;
    double deviation = std::sqrt(squares / n - mean * mean);
    EXPECT_NEAR(g->maxi_u, mean + 2 * deviation, 1e-12);
    EXPECT_LT(g->maxi_u, g->max_u);
    EXPECT_DOUBLE_EQ(g->max_u, g->u[0]);
    EXPECT_EQ(g->rank[0], 0);
    EXPECT_EQ(g->rank[5], 1); // all leaves tie just below the hub
    EXPECT_EQ(g->level_count[0], 1);
    EXPECT_EQ(g->level_count[4], n - 1); // 1 * 100 / 21
}

TEST(NodeRank, CappedMaximumNeverExceedsMaximum) {
    auto g = makeGraph(2);
    arc(*g, 0, 1, "1");
    rankQuietly(*g);
    // With two nodes mean + 2 deviations lies above the larger value.
    EXPECT_LE(g->maxi_norm, g->max_norm);
    EXPECT_DOUBLE_EQ(g->maxi_u, g->max_u);
}

TEST(NodeRank, ZeroWeightsTerminateWithUniformRanks) {
    auto g = makeGraph(4, 0.0);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 2, "2");
    arc(*g, 2, 0, "1");
    rankQuietly(*g);
    for (int i = 0; i < 4; i++) {
        EXPECT_FALSE(std::isnan(g->u[i]));
        EXPECT_NEAR(g->u[i], 0.25, 1e-12);
    }
}

TEST(NodeRank, EmptyGraphStaysUnranked) {
    Graph g;
    g.nodeRank(kJump, kEpsilon);
    g.nodeRank2(kJump, kEpsilon);
    EXPECT_EQ(g.u, nullptr);
    EXPECT_EQ(g.rank, nullptr);
    EXPECT_EQ(g.norm, nullptr);
    EXPECT_EQ(g.uu, nullptr);
    EXPECT_EQ(g.uu_stats, nullptr);
}

TEST(NodeRank, SortNodesMatchesPairwiseCount) {
    std::mt19937 draws(12345);
    for (int trial = 0; trial < 20; trial++) {
        int n = 1 + static_cast<int>(draws() % 60);
        auto g = makeGraph(n);
        g->u = new double[n];
        g->norm = new double[n];
        for (int i = 0; i < n; i++) {
            // Few distinct values, so ties are frequent.
            g->u[i] = static_cast<double>(draws() % 7) / 7;
            g->norm[i] = static_cast<double>(draws() % 5);
        }
        g->sortNodes();
        int classes = 0;
        for (int i = 0; i < n; i++) {
            int larger = 0, largerNorm = 0;
            for (int j = 0; j < n; j++) {
                if (j != i && g->u[j] > g->u[i]) larger++;
                if (j != i && g->norm[j] > g->norm[i]) largerNorm++;
            }
            ASSERT_EQ(g->rank[i], larger);
            ASSERT_EQ(g->_rank[i], largerNorm);
            ASSERT_EQ(g->level[i], larger * 100 / n);
        }
        for (int k = 0; k < kPercentileClasses; k++)
            classes += g->level_count[k];
        EXPECT_EQ(classes, n);
    }
}

TEST(NodeRank2, LabelWithoutArcsIsUniform) {
    auto g = makeGraph(4);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 2, "3");
    rankByLabelQuietly(*g);
    ASSERT_EQ(g->nb_labels, 3);
    EXPECT_EQ(g->uu[0], nullptr);
    for (int i = 0; i < 4; i++)
        EXPECT_NEAR(g->uu[2][i], 0.25, 1e-12);
    EXPECT_NEAR(g->uu_stats[2][0], 0.25, 1e-12);
    EXPECT_NEAR(g->uu_stats[2][2], 0.0, 1e-9);
}

TEST(NodeRank2, PerLabelWalkFollowsOnlyThatLabel) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    arc(*g, 0, 2, "2");
    arc(*g, 0, 2, "1");
    rankByLabelQuietly(*g);
    // Label 1: node 0 sends half its mass to 1 and half to 2.
    double r0 = kJump / 3;
    double r1 = kJump / 3 + (1 - kJump) * r0 / 2;
    double total = r0 + 2 * r1;
    EXPECT_NEAR(g->uu[1][0], r0 / total, 1e-8);
    EXPECT_NEAR(g->uu[1][1], r1 / total, 1e-8);
    EXPECT_NEAR(g->uu[1][2], r1 / total, 1e-8);
    // Label 2: everything to node 2.
    EXPECT_GT(g->uu[2][2], g->uu[2][1]);
    EXPECT_NEAR(g->uu[2][1], g->uu[2][0], 1e-12);
    // The u statistics members hold those of the highest label code.
    EXPECT_DOUBLE_EQ(g->max_u, g->uu_stats[2][4]);
    EXPECT_DOUBLE_EQ(g->maxi_u, g->uu_stats[2][3]);
    EXPECT_NEAR(g->uu_stats[2][1], 1.0 / 3, 1e-12); // mean of a distribution is 1/n
}
