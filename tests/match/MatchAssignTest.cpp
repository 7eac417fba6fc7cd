// Assignment-based matching: like nodes are paired, the shapes N1 < N2, N1 > N2 and one node
// each, the stored scores, and the large-problem solver against the step method.
#include "match/Match.h"

#include "assign/Hungarian.h"
#include "assign/ShortestPathSolver.h"
#include "cost/Cost.h"
#include "graph/Kinds.h"
#include "tests/match/MatchTestSupport.h"
#include "util/Console.h"
#include "util/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

/// Ranks a built graph as the readers do, so that the position term has values to compare.
void rank(Graph& g) {
    g.norm = new double[static_cast<size_t>(g.vertices)]();
    g.nodeRank(0.15, 1e-8);
}

/// A class with `leaves` methods, listed hub first or hub last.
std::unique_ptr<Graph> star(const std::string& name, int leaves, bool hubFirst) {
    DiagramBuilder b(name);
    int hub = hubFirst ? b.node(kClassType, "Hub") : -1;
    std::vector<int> parts;
    for (int k = 0; k < leaves; ++k)
        parts.push_back(b.node(kMethodType, "m" + std::to_string(k)));
    if (!hubFirst) hub = b.node(kClassType, "Hub");
    for (int p : parts)
        b.arc(hub, p, kContainmentText);
    auto g = b.build();
    rank(*g);
    return g;
}

struct AssignRun {
    std::unique_ptr<Graph> a, b;
    std::unique_ptr<Cost> cost = symmetricCost();
    std::unique_ptr<Match> match;
    AssignRun(std::unique_ptr<Graph> first, std::unique_ptr<Graph> second)
        : a(std::move(first)), b(std::move(second)) {
        ConsoleCapture quiet;
        match = std::make_unique<Match>(a.get(), b.get(), cost.get(), 1, kClassDiagramCosts);
        match->hungarian("unread.csv", 1);
    }
    int matchedIn(bool left) const {
        const int n = left ? a->vertices : b->vertices;
        const int* partners = left ? match->M12 : match->M21;
        int count = 0;
        for (int x = 0; x < n; ++x)
            count += partners[x] != Match::kNoPartner;
        return count;
    }
};

} // namespace

TEST(AssignmentMatching, PairsNodesOfLikeDegreeProfiles) {
    // The hub (out-degree 3) is node 0 on one side and node 3 on the other; minimising the
    // raw scores would pair it with a leaf.
    AssignRun r(star("a", 3, true), star("b", 3, false));
    EXPECT_EQ(r.match->M12[0], 3);
    for (int leaf = 1; leaf <= 3; ++leaf) {
        EXPECT_GE(r.match->M12[leaf], 0);
        EXPECT_LT(r.match->M12[leaf], 3);
    }
    EXPECT_EQ(r.match->bestMatch2[3], 0);
    EXPECT_DOUBLE_EQ(r.match->bestCost, r.match->costFigures(kClassDiagramCosts).total);
}

TEST(AssignmentMatching, ShapesLeaveOnlyTheExcessUnmatched) {
    AssignRun smaller(star("a", 2, true), star("b", 4, true));
    EXPECT_EQ(smaller.matchedIn(true), 3);
    EXPECT_EQ(smaller.matchedIn(false), 3);
    EXPECT_EQ(smaller.match->M12[0], 0) << "hub to hub";

    AssignRun larger(star("a", 4, true), star("b", 2, true));
    EXPECT_EQ(larger.matchedIn(true), 3);
    EXPECT_EQ(larger.matchedIn(false), 3);

    // One node each, of different kinds and labels: still matched to each other.
    DiagramBuilder one("one");
    one.node(kClassType, "Alpha");
    DiagramBuilder other("other");
    other.node(kMethodType, "beta");
    auto g1 = one.build();
    auto g2 = other.build();
    rank(*g1);
    rank(*g2);
    AssignRun single(std::move(g1), std::move(g2));
    EXPECT_EQ(single.match->M12[0], 0);
    EXPECT_EQ(single.match->M21[0], 0);
}

TEST(AssignmentMatching, IsolatedNodesScoreHalfTheirPositionLikeness) {
    // Two isolated nodes beside a connected pair: no degree at all gives deg = 0, so the score
    // is u / 2 with u = 1 - |u1/maxi_u1 - u2/maxi_u2| read from the graphs' own ranks.
    DiagramBuilder b1("a");
    b1.node(kClassType, "A");
    b1.node(kMethodType, "f");
    b1.node(kClassType, "Lone");
    b1.arc(0, 1, kContainmentText);
    DiagramBuilder b2("b");
    b2.node(kClassType, "A");
    b2.node(kMethodType, "f");
    b2.node(kClassType, "Lone");
    b2.arc(0, 1, kContainmentText);
    auto g1 = b1.build();
    auto g2 = b2.build();
    rank(*g1);
    rank(*g2);
    const double u = 1 - std::fabs(g1->u[2] / g1->maxi_u - g2->u[2] / g2->maxi_u);
    AssignRun r(std::move(g1), std::move(g2));
    EXPECT_FLOAT_EQ((*r.match->_M)(2, 2), static_cast<float>(std::max(0.0, u) / 2));
    EXPECT_EQ(r.match->M12[2], 2);
}

TEST(AssignmentMatching, LargeProblemsReachTheStepMethodsBestTotalLikeness) {
    // Above the threshold the shortest-path solver runs; its total likeness must equal the
    // best total the step method finds on the same scores.
    const int n1 = kShortestPathThreshold + 10, n2 = kShortestPathThreshold + 25;
    seedRandom(5);
    auto randomGraph = [](const std::string& name, int nodes) {
        DiagramBuilder b(name);
        for (int k = 0; k < nodes; ++k)
            b.node(kClassType, "C" + std::to_string(k));
        for (int e = 0; e < 2 * nodes; ++e)
            b.arc(randDraw() % nodes, randDraw() % nodes, "1");
        auto g = b.build();
        rank(*g);
        return g;
    };
    AssignRun r(randomGraph("a", n1), randomGraph("b", n2));

    std::vector<std::vector<double>> costs(n1, std::vector<double>(n2));
    double found = 0;
    for (int i = 0; i < n1; ++i) {
        for (int j = 0; j < n2; ++j)
            costs[i][j] = 1.0 - (*r.match->_M)(i, j);
        ASSERT_NE(r.match->M12[i], Match::kNoPartner);
        found += (*r.match->_M)(i, r.match->M12[i]);
    }
    std::vector<const double*> rows;
    for (const auto& row : costs)
        rows.push_back(row.data());
    Hungarian h;
    h.solve(rows.data(), n1, n2);
    double best = 0;
    for (int i = 0; i < n1; ++i)
        best += 1.0 - costs[i][h.results[i]];
    EXPECT_NEAR(found, best, 1e-6);
}
