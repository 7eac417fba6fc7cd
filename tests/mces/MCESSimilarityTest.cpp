// Greedy matcher: neighbourhood bound, similarity types, discrimination and neighbourhood
// extension, checked against values worked out by hand or counted directly.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "MCESTestSupport.h"

namespace {

/// A centre node with three leaves, every arc centre -> leaf labelled 1.
std::unique_ptr<Graph> star() {
    return buildGraph({"c", "l", "l", "l"}, {{0, 1, "1"}, {0, 2, "1"}, {0, 3, "1"}});
}

/// Rivals of pair (i, j) within 0.1 along its row and its column, counted one by one.
void countRivals(float** s, int n1, int n2, int i, int j, double& w1, double& w2) {
    w1 = w2 = 0;
    const double floor = static_cast<double>(s[i][j]) - 0.1;
    for (int k = 0; k < n2; ++k)
        if (k != j && s[i][k] >= floor) ++w1;
    for (int k = 0; k < n1; ++k)
        if (k != i && s[k][j] >= floor) ++w2;
}

} // namespace

TEST(MCESNeighbourhood, IdenticalStarsKeepEveryLeaf) {
    QuietOutput quiet;
    auto g1 = star();
    auto g2 = star();
    MCESPtr m(new MCES(2, 1, g1.get(), g2.get(), 0, 1, 0.0, false));
    // Each leaf pair costs 4 - 1 (centres alike) - 1 (same out-arc) - 1 (leaves alike) = 1,
    // so three leaves keep 3 * 3 = 9; the pair's largest score h is 3*3 + 3*3 = 18.
    EXPECT_EQ(m->HENodes[0][0], 9);
    EXPECT_FLOAT_EQ(m->simil[0][0], 1.0f);
    // A leaf has one neighbour: against the centre it keeps nothing of the same kind.
    EXPECT_EQ(m->HENodes[1][1], 3);
    EXPECT_EQ(m->HENodes[1][0], 0);
    EXPECT_EQ(m->potential[0][0], 9.0);
}

TEST(MCESNeighbourhood, ForbiddingLabelErrorKeepsNothing) {
    QuietOutput quiet;
    auto g1 = buildGraph({"c", "a"}, {{0, 1, "1"}});
    auto g2 = buildGraph({"c", "b"}, {{0, 1, "1"}});
    MCESPtr m(new MCES(2, 1, g1.get(), g2.get(), 0, 1, 1000.0, false));
    EXPECT_EQ(m->HENodes[0][0], 0); // the only neighbour pair has different labels
    EXPECT_EQ(m->HENodes[1][1], 0); // not promotable at all
}

TEST(MCESNeighbourhood, SmallLabelErrorIsAnOrdinaryCost) {
    // Centres of different labels. Neighbour pair (1, 1) agrees both ways and in label:
    // cost 4 - 1 - 1 - 1 = 1; every other neighbour pair keeps nothing (cost 4). The bound
    // keeps 4 - 1 = 3 whether or not the label error happens to equal that cost.
    auto g1 = buildGraph({"x", "n", "m"}, {{0, 1, "1"}, {1, 0, "1"}, {0, 2, "3"}});
    auto g2 = buildGraph({"y", "n", "k"}, {{0, 1, "1"}, {1, 0, "1"}, {0, 2, "2"}});
    for (double error : {1.0, 2.0}) {
        QuietOutput quiet;
        MCESPtr m(new MCES(2, 1, g1.get(), g2.get(), 0, 1, error, false));
        EXPECT_EQ(m->HENodes[0][0], 3) << "label error " << error;
    }
}

TEST(MCESSimilarityTypes, NegativeTypeScalesByTheLargestValue) {
    QuietOutput quiet;
    auto g1 = buildGraph(numberLabels(3), {{0, 1, "1"}, {0, 2, "1"}, {1, 2, "2"}});
    auto g2 = buildGraph(numberLabels(3), {{0, 1, "1"}, {1, 2, "2"}});
    MCESPtr plain(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    MCESPtr scaled(new MCES(2, -2, g1.get(), g2.get(), 0, 1, 0.0, false));
    ASSERT_GT(plain->maxOEdges, 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(scaled->simil[i][j],
                        plain->simil[i][j] * plain->OEdges[i][j] / plain->maxOEdges, 1e-6);
}

TEST(MCESDiscrimination, MutuallyBestPairsStandOut) {
    QuietOutput quiet;
    auto g1 = buildGraph(numberLabels(2), {});
    auto g2 = buildGraph(numberLabels(2), {});
    MCESPtr m(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    m->simil[0][0] = 0.9f;
    m->simil[0][1] = 0.85f;
    m->simil[1][0] = 0.2f;
    m->simil[1][1] = 0.9f;
    m->setDiscrim(1, 0);
    // Type 1 divides by the product of the rivals, or keeps the value when one side has none.
    EXPECT_FLOAT_EQ(m->simil[0][0], 0.9f);  // one rival in the row, none in the column
    EXPECT_FLOAT_EQ(m->simil[0][1], 0.85f); // one rival each way
    EXPECT_FLOAT_EQ(m->simil[1][0], 0.2f);
    EXPECT_FLOAT_EQ(m->simil[1][1], 0.9f);
    ASSERT_EQ(m->bestPairs.size(), 2u);
    EXPECT_EQ(m->bestPairs[0].x1, 0u);
    EXPECT_EQ(m->bestPairs[0].x2, 0u);
    EXPECT_EQ(m->bestPairs[1].x1, 1u);
    EXPECT_EQ(m->bestPairs[1].x2, 1u);
}

TEST(MCESDiscrimination, RivalCountsMatchADirectCount) {
    QuietOutput quiet;
    const int n1 = 6, n2 = 7;
    auto g1 = buildGraph(numberLabels(n1), {});
    auto g2 = buildGraph(numberLabels(n2), {});
    std::mt19937 gen(9);
    for (int type : {0, 1, 2, 3}) {
        MCESPtr m(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
        // Values on a coarse grid so that many pairs sit exactly 0.1 apart or tie.
        std::vector<std::vector<float>> before(n1, std::vector<float>(n2));
        for (int i = 0; i < n1; ++i)
            for (int j = 0; j < n2; ++j)
                before[i][j] = m->simil[i][j] = (gen() % 11) / 10.0f;
        m->setDiscrim(type, 0);
        for (int i = 0; i < n1; ++i)
            for (int j = 0; j < n2; ++j) {
                double w1, w2;
                std::vector<float*> rows;
                for (auto& r : before)
                    rows.push_back(r.data());
                countRivals(rows.data(), n1, n2, i, j, w1, w2);
                double factor = 0;
                if (type == 0) factor = 1 / (w1 + w2 + 1);
                if (type == 1) factor = w1 * w2 == 0 ? 1 : 1 / (w1 * w2);
                if (type == 2) factor = 1 - (w1 + w2) / (n1 + n2);
                if (type == 3) factor = 1 - w1 * w2 / (n1 * n2);
                EXPECT_FLOAT_EQ(m->discrim[i][j], static_cast<float>(factor))
                    << "type " << type << " pair " << i << "," << j;
            }
    }
}

TEST(MCESDiscrimination, UnknownTypeLeavesTheSimilarity) {
    QuietOutput quiet;
    auto g1 = buildGraph(numberLabels(3), {{0, 1, "1"}, {1, 2, "2"}});
    auto g2 = buildGraph(numberLabels(3), {{0, 1, "1"}, {1, 2, "2"}});
    MCESPtr plain(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    MCESPtr odd(new MCES(2, 29, g1.get(), g2.get(), 0, 1, 0.0, false)); // discrimination 9
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(odd->discrim[i][j], 1.0f);
            EXPECT_EQ(odd->simil[i][j], plain->simil[i][j]);
        }
}

TEST(MCESExtension, NeighbourhoodSimilarity) {
    QuietOutput quiet;
    auto g1 = buildGraph(numberLabels(3), {{0, 1, "1"}});
    auto same = buildGraph(numberLabels(3), {{0, 1, "1"}});
    auto other = buildGraph(numberLabels(3), {{0, 1, "2"}});
    MCESPtr m(new MCES(2, 2, g1.get(), same.get(), 0, 1, 0.0, false));
    m->simil[1][1] = 0.8f;
    // Same arc both ways (out-arcs equal, no in-arcs): the neighbours' similarity counts fully.
    EXPECT_NEAR(m->extendSim(m->simil, 0, 0), 0.8, 1e-6);
    EXPECT_EQ(m->extendSim(m->simil, 2, 2), 0.0); // no neighbours
    MCESPtr n(new MCES(2, 2, g1.get(), other.get(), 0, 1, 0.0, false));
    n->simil[1][1] = 0.8f;
    // Out-arcs with different labels: only the agreeing (absent) in-arcs count, half of it.
    EXPECT_NEAR(n->extendSim(n->simil, 0, 0), 0.4, 1e-6);
    n->simil[1][1] = 0.0f;
    EXPECT_EQ(n->extendSim(n->simil, 0, 0), 0.0);
}
