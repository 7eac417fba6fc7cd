// The exact optimum against full enumeration: every one-to-one matching of small random
// pairs priced by the matcher itself, and the branch and bound's best compared with the least.
#include "quality/ExactMatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "cost/Cost.h"
#include "tests/match/MatchTestSupport.h"
#include "tests/match/MoveTestSupport.h"

namespace {

/// Calls `visit` with every one-to-one matching of n1 first-graph nodes into n2 nodes.
void forEachMatching(int n1, int n2, const std::function<void(const std::vector<int>&)>& visit) {
    std::vector<int> partner(static_cast<size_t>(n1), -1);
    std::vector<bool> taken(static_cast<size_t>(n2), false);
    std::function<void(int)> place = [&](int x) {
        if (x == n1) {
            visit(partner);
            return;
        }
        for (int y = -1; y < n2; y++) {
            if (y >= 0 && taken[static_cast<size_t>(y)]) continue;
            partner[static_cast<size_t>(x)] = y;
            if (y >= 0) taken[static_cast<size_t>(y)] = true;
            place(x + 1);
            if (y >= 0) taken[static_cast<size_t>(y)] = false;
        }
        partner[static_cast<size_t>(x)] = -1;
    };
    place(0);
}

/// The matcher's own whole-solution cost of a one-to-one matching.
double matcherCost(Match& m, const std::vector<int>& partner) {
    std::fill(m.M21, m.M21 + m.order(false), -1);
    for (int x = 0; x < m.order(true); x++) {
        m.M12[x] = partner[static_cast<size_t>(x)];
        if (m.M12[x] >= 0) m.M21[m.M12[x]] = x;
    }
    return m.costFigures(m.cost_mode).total;
}

/// A random pair of diagrams with the matcher built on it (kinds, loops and parallel arcs
/// included, so that impossible substitutions and relation surpluses occur).
struct Problem {
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Cost> cost;
    std::unique_ptr<Match> match;

    Problem(unsigned seed, int n1, int n2, std::unique_ptr<Cost> c) : cost(std::move(c)) {
        std::mt19937 rng(seed);
        g1 = randomDiagram(rng, "left", n1, 2 * n1);
        g2 = randomDiagram(rng, "right", n2, 2 * n2);
        QuietOutput quiet;
        match = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts);
    }
};

double tolerance(double value) {
    return 1e-6 * std::max(1.0, std::fabs(value));
}

} // namespace

// Every matching of pairs of 1 to 4 nodes, under even and uneven weights: the exact
// solver's pricing equals the matcher's cost, and its optimum is the least of them all.
TEST(ExactMatch, PricesLikeTheMatcherAndFindsTheLeastCostOfAllMatchings) {
    for (unsigned seed = 1; seed <= 24; seed++) {
        const int n1 = 1 + static_cast<int>(seed % 4);
        const int n2 = 1 + static_cast<int>((seed / 4) % 4);
        Problem p(seed, n1, n2, seed % 2 ? symmetricCost() : unevenCost());
        ExactMatch exact(*p.match);
        double least = std::numeric_limits<double>::infinity();
        QuietOutput quiet;
        forEachMatching(n1, n2, [&](const std::vector<int>& partner) {
            const double expected = matcherCost(*p.match, partner);
            EXPECT_NEAR(exact.cost(partner), expected, tolerance(expected)) << "seed " << seed;
            least = std::min(least, expected);
        });
        const ExactResult best = exact.solve();
        EXPECT_TRUE(best.proven);
        EXPECT_NEAR(best.cost, least, tolerance(least)) << "seed " << seed;
        EXPECT_NEAR(matcherCost(*p.match, best.partner), best.cost, tolerance(least));
    }
}

// Larger pairs, where pruning matters: the optimum equals the least cost of the enumeration.
TEST(ExactMatch, BranchAndBoundAgreesWithEnumerationOnSixAndSevenNodes) {
    for (unsigned seed = 100; seed < 106; seed++) {
        const int n1 = 6 + static_cast<int>(seed % 2);
        const int n2 = 7 - static_cast<int>(seed % 2);
        Problem p(seed, n1, n2, seed % 3 ? symmetricCost() : unevenCost());
        ExactMatch exact(*p.match);
        double least = std::numeric_limits<double>::infinity();
        forEachMatching(n1, n2, [&](const std::vector<int>& partner) {
            least = std::min(least, exact.cost(partner));
        });
        const ExactResult best = exact.solve();
        EXPECT_NEAR(best.cost, least, tolerance(least)) << "seed " << seed;
        EXPECT_NEAR(exact.cost(best.partner), best.cost, tolerance(least));
    }
}

TEST(ExactMatch, NodeLimitEndsTheSearchUnproven) {
    Problem p(7, 5, 5, symmetricCost());
    const ExactResult cut = ExactMatch(*p.match).solve(3);
    EXPECT_FALSE(cut.proven);
    EXPECT_EQ(cut.visited, 3);
}
