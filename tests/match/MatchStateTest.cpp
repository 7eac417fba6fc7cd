// The matching state: construction, accessors that see through blocks, and the cost of a
// whole matching against values worked out by hand from the symmetric cost model.
#include <gtest/gtest.h>

#include <memory>

#include <set>

#include "cost/Cost.h"
#include "match/Match.h"
#include "tests/match/MatchTestSupport.h"
#include "util/Console.h"

namespace {

/// Two classes joined by one relation of kind `digits` on the first side, and the same
/// classes joined by `digits2` (none when empty) on the second.
struct TwoClassPair {
    std::unique_ptr<Graph> g1;
    std::unique_ptr<Graph> g2;
    std::unique_ptr<Cost> cost = symmetricCost();

    TwoClassPair(const std::string& digits1, const std::string& digits2, const std::string& tag) {
        DiagramBuilder b1("state1_" + tag);
        b1.node(kClassType, "Alpha");
        b1.node(kClassType, "Beta");
        if (!digits1.empty()) b1.arc(0, 1, digits1);
        g1 = b1.build();
        DiagramBuilder b2("state2_" + tag);
        b2.node(kClassType, "Alpha");
        b2.node(kClassType, "Beta");
        if (!digits2.empty()) b2.arc(0, 1, digits2);
        g2 = b2.build();
    }
};

void pair(Match& m, int x, int y) {
    m.M12[x] = y;
    m.M21[y] = x;
}

} // namespace

using MatchConstruction = TwoDiagrams;
using MatchCost = TwoDiagrams;
using MatchBlocks = TwoDiagrams;

TEST_F(MatchConstruction, EmptyMatchingCostsTheNoMatchingCost) {
    const int a = b1.node(kClassType, "Alpha");
    const int b = b1.node(kClassType, "Beta");
    const int m = b1.node(kMethodType, "Beta.run");
    b1.arc(a, b, "12").arc(b, m, kContainmentText).arc(m, m, "4");
    b2.node(kClassType, "Alpha");
    b2.node(kAttributeType, "Alpha.size");
    b2.arc(0, 1, kContainmentText);
    Match& match = start(7);

    // 3 deletions + 2 insertions of nodes (50 each); relations 1, 2, 9, 4 deleted and 9
    // inserted between unmatched ends (50 each).
    EXPECT_DOUBLE_EQ(match.no_matching_cost, 5 * kDropCost + 5 * kDropCost);
    EXPECT_DOUBLE_EQ(match.currentCost, match.no_matching_cost);
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total,
                     match.noMatchCost(kClassDiagramCosts));
    // Step by step: 3 deletions, then 2 insertions, then the relations (3 folded arcs in
    // graph 1, none with both ends matched; 1 in graph 2). cost() prints the same figures.
    const CostFigures f = match.costFigures(kClassDiagramCosts);
    EXPECT_DOUBLE_EQ(f.nodePart, 3 * kDropCost);
    EXPECT_DOUBLE_EQ(f.afterInsertions, 5 * kDropCost);
    EXPECT_EQ(f.bothMatched, 0);
    EXPECT_EQ(f.edges1, 3u);
    EXPECT_EQ(f.edges2, 1u);
    ConsoleCapture line;
    EXPECT_DOUBLE_EQ(match.cost(kClassDiagramCosts), f.total);
    EXPECT_EQ(line.text(), "\t150\t250\t(0)500\t500___3_1\n");
    EXPECT_EQ(match.randomSeed, 7);
    EXPECT_EQ(cost->M12, match.M12);
    EXPECT_EQ(cost->M21, match.M21);
}

TEST_F(MatchConstruction, NoMatchingCostIgnoresTheSeededContainmentPairs) {
    // The roots and the class below them are paired along the containment tree before the
    // empty matching is priced. With an edge drop weight of 0, a relation between unmatched
    // ends is free while one between matched ends is not: the seeds must not leak in.
    for (DiagramBuilder* b : {&b1, &b2}) {
        const int p = b->node(kPackageType, "app");
        const int c = b->node(kClassType, "Alpha");
        b->arc(p, c, kContainmentText).root(p);
    }
    cost->initMode1(1, 0, 1, 1, 0);
    Match& match = start();
    ASSERT_EQ(match.M12[1], 1) << "the class is seeded";
    Edge* e1 = g1->E[0];
    ASSERT_NE(cost->ced(kClassDiagramCosts, e1, 1, 1), cost->ced(kClassDiagramCosts, e1, -1, -1));

    const double expected =
        cost->cnd(kClassDiagramCosts, g1->V[0]) + cost->cnd(kClassDiagramCosts, g1->V[1]) +
        cost->cni(kClassDiagramCosts, g2->V[0]) + cost->cni(kClassDiagramCosts, g2->V[1]) +
        cost->ced(kClassDiagramCosts, e1, -1, -1) + cost->cei(kClassDiagramCosts, g2->E[0], -1, -1);
    EXPECT_DOUBLE_EQ(match.no_matching_cost, expected);
    EXPECT_DOUBLE_EQ(match.currentCost, expected);
    for (int n = 0; n < 2; n++)
        match.M12[n] = match.M21[n] = Match::kNoPartner;
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, expected);
    EXPECT_DOUBLE_EQ(match.noMatchCost(kClassDiagramCosts), expected);
}

TEST_F(MatchConstruction, StartsUnmatchedWithEveryNodeItsOwnBlock) {
    TwoClassPair p("1", "1", "fresh");
    Match match(p.g1.get(), p.g2.get(), p.cost.get(), 1, kClassDiagramCosts);
    for (int x = 0; x < 2; x++) {
        EXPECT_EQ(match.M12[x], Match::kNoPartner);
        EXPECT_EQ(match.blocks1[x], x);
        EXPECT_EQ(match.bestMatch[x], Match::kNoPartner);
        ASSERT_NE(p.g1->V[x]->nodes, nullptr);
        EXPECT_EQ(*p.g1->V[x]->nodes, std::set<int>{x});
    }
    EXPECT_EQ(match.tabu_in, 20);
    EXPECT_EQ(match.tabu_out, 5);
    EXPECT_EQ(match.max_vertices, 2);
    ASSERT_NE(match.ff, nullptr);
}

TEST_F(MatchConstruction, MissingGraphsOrCostGiveMinusOne) {
    Match empty;
    EXPECT_EQ(empty.numberOfMatchs, 0);
    EXPECT_FALSE(empty.costFigures(kClassDiagramCosts).priced);
    ConsoleCapture noLine;
    EXPECT_DOUBLE_EQ(empty.cost(kClassDiagramCosts), -1);
    EXPECT_EQ(noLine.text(), "");
    EXPECT_EQ(empty.getM12(0), Match::kNoPartner);
    EXPECT_EQ(empty.getVertex1(0), nullptr);

    TwoClassPair p("1", "1", "nocost");
    Match noCost(p.g1.get(), p.g2.get(), nullptr, 1, kClassDiagramCosts);
    EXPECT_DOUBLE_EQ(noCost.costFigures(kClassDiagramCosts).total, -1);
}

TEST_F(MatchConstruction, OwnDefaultCostModelPricesEverythingAtZero) {
    TwoClassPair p("1", "", "owncost");
    Match match(p.g1.get(), p.g2.get(), 3);
    ASSERT_NE(match.costs, nullptr);
    EXPECT_DOUBLE_EQ(match.no_matching_cost, 0);
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, 0);
}

TEST_F(MatchCost, MatchingTwoEqualIsolatedClassesSavesTheirDeletionAndInsertion) {
    b1.node(kClassType, "Gamma");
    b2.node(kClassType, "Gamma");
    Match& match = start();
    const double before = match.costFigures(kClassDiagramCosts).total;
    pair(match, 0, 0);
    const double after = match.costFigures(kClassDiagramCosts).total;
    EXPECT_DOUBLE_EQ(before - after, cost->cnd(kClassDiagramCosts, g1->V[0]) +
                                         cost->cni(kClassDiagramCosts, g2->V[0]));
    EXPECT_DOUBLE_EQ(after, 0);
    EXPECT_FLOAT_EQ((*match._N)(0, 0), 1.0f); // the similarity is kept for the pair
}

TEST_F(MatchCost, RelationsBetweenTwoClassesCostWhatDiffers) {
    // One relation deleted or inserted between matched ends costs 1 x 100 x 1 / 2.
    const struct {
        const char* tag;
        const char* digits1;
        const char* digits2;
        bool bothMatched;
        double total;
        const char* why;
    } cases[] = {
        {"same", "1", "1", true, 0, "the same relation between matched ends"},
        {"del", "1", "", true, kDropCost, "a relation of the first graph deleted"},
        {"ins", "", "1", true, kDropCost, "a relation of the second graph inserted"},
        {"partial", "12", "23", true, 2 * kDropCost, "relation 1 deleted, relation 3 inserted"},
        // Node 1 deleted and inserted (100); the relation with one matched end costs
        // 100 x 1 / 2 x (1 + 1) / 2.
        {"half", "1", "", false, 2 * kDropCost + kDropCost, "one end matched: mean drop weight"},
    };
    for (const auto& c : cases) {
        TwoClassPair p(c.digits1, c.digits2, c.tag);
        Match match(p.g1.get(), p.g2.get(), p.cost.get(), 1, kClassDiagramCosts);
        pair(match, 0, 0);
        if (c.bothMatched) pair(match, 1, 1);
        EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, c.total) << c.why;
    }
}

TEST_F(MatchCost, SubstitutionIsRoundedToSinglePrecision) {
    // A cached likeness of one third leaves a substitution price that a float cannot hold;
    // the whole cost keeps it in single precision, as the move deltas do.
    b1.node(kClassType, "Omega");
    b2.node(kClassType, "Omega");
    Match& match = start();
    (*match._N)(0, 0) = 1.0f / 3;
    pair(match, 0, 0);
    const double raw = cost->raw_cns(kClassDiagramCosts, g1->V[0], g2->V[0], 1.0f / 3);
    ASSERT_NE(raw, static_cast<double>(static_cast<float>(raw)));
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total,
                     static_cast<double>(static_cast<float>(raw)));
}

TEST_F(MatchCost, DifferentKindsCannotBeSubstituted) {
    b1.node(kClassType, "Delta");
    b2.node(kMethodType, "Delta");
    Match& match = start();
    pair(match, 0, 0);
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, kImpossibleCost);
}

// ---- accessors through blocks ---------------------------------------------------------

namespace {

/// Registers a block vertex of the first graph standing for `members`, numbered `number`.
Vertex* addBlock1(Match& m, int number, const std::set<int>& members) {
    auto* block = new Vertex(number, "block");
    block->type = kClassType;
    *block->nodes = members;
    m.V1[number] = block;
    for (int n : members)
        m.blocks1[n] = number;
    return block;
}

/// Head with two relations of `relation` to two Part classes, against Head with one relation
/// of kind 2 to one Part. The matcher owns a block {1, 2} of the first graph matched with the
/// second graph's Part, and Head matched with Head.
struct BlockPairCase {
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Cost> cost = symmetricCost();
    std::unique_ptr<Match> match;

    BlockPairCase(const std::string& name, const std::string& relation) {
        DiagramBuilder b1(name + "1");
        b1.node(kClassType, "Head");
        b1.node(kClassType, "Part");
        b1.node(kClassType, "Part");
        b1.arc(0, 1, relation).arc(0, 2, relation);
        DiagramBuilder b2(name + "2");
        b2.node(kClassType, "Head");
        b2.node(kClassType, "Part");
        b2.arc(0, 1, "2");
        g1 = b1.build();
        g2 = b2.build();
        match = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts);
        Vertex* block = addBlock1(*match, 3, {1, 2});
        block->nTerms = new std::set<std::string>{"part"};
    }

    /// Matches Head with Head and the block with Part.
    void matchBlock() {
        pair(*match, 0, 0);
        match->M12[1] = match->M12[2] = 1;
        match->M21[1] = 3;
    }
};

} // namespace

TEST_F(MatchBlocks, BlockAnswersThroughItsSmallestMember) {
    for (int i = 0; i < 3; i++)
        b1.node(kClassType, "C" + std::to_string(i));
    b2.node(kClassType, "C0");
    b2.node(kClassType, "C1");
    Match& match = start();
    Vertex* block = addBlock1(match, 3, {1, 2});

    EXPECT_EQ(match.getVertex1(3), block);
    EXPECT_EQ(match.getVertex1(4), nullptr);
    EXPECT_EQ(match.getVertex1(-1), nullptr);
    EXPECT_EQ(match.getNodes1(3), -1) << "an unmatched block counts -1 whatever its size";

    match.M12[1] = 1; // smallest member decides
    match.M12[2] = 0;
    match.M21[1] = 3;
    EXPECT_EQ(match.getM12(3), 1);
    EXPECT_EQ(match.getNodes1(3), 2);
    EXPECT_EQ(match.getNodes2(1), 1);
    EXPECT_EQ(match.getM12(7), Match::kNoPartner) << "a number that names no block";
    EXPECT_EQ(match.getM12(-1), Match::kNoPartner);
    EXPECT_EQ(match.getM21(-4), Match::kNoPartner);
    EXPECT_EQ(match.getBlock(2, true), 3);
    EXPECT_EQ(match.getBlock(0, true), 0);
}

TEST_F(MatchBlocks, EdgeNodeCountsMultiplyBlockSizes) {
    for (int i = 0; i < 3; i++)
        b1.node(kClassType, "C" + std::to_string(i));
    b1.arc(0, 1, "1");
    b2.node(kClassType, "C0");
    Match& match = start();
    Edge* plain = g1->getEdge(0, 1);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(match.getENodes1(nullptr), 0);
    EXPECT_EQ(match.getENodes1(plain), -1) << "both ends unmatched";

    addBlock1(match, 3, {1, 2});
    Edge toBlock(0, 3, "1");
    match.M12[1] = match.M12[2] = 0;
    match.M21[0] = 3;
    EXPECT_EQ(match.getENodes1(&toBlock), 2) << "|-1 x 2| with one end unmatched";
    match.M12[0] = 0;
    EXPECT_EQ(match.getENodes1(&toBlock), 2);
}

TEST_F(MatchBlocks, EdgesToOneBlockAreFoldedIntoOneBlockEdge) {
    for (int i = 0; i < 3; i++)
        b1.node(kClassType, "C" + std::to_string(i));
    b1.arc(0, 1, "2").arc(0, 2, "24");
    b2.node(kClassType, "C0");
    Match& match = start();
    addBlock1(match, 3, {1, 2});

    std::vector<Edge*>* edges = match.getVEdges1(g1->V[0]);
    ASSERT_NE(edges, nullptr);
    ASSERT_EQ(edges->size(), 1u);
    Edge* folded = (*edges)[0];
    EXPECT_EQ(folded->from, 0);
    EXPECT_EQ(folded->to, 3);
    EXPECT_EQ(folded->labels[2], 2);
    EXPECT_EQ(folded->labels[4], 1);
    EXPECT_EQ(folded->label, "224");
    EXPECT_EQ(match.getEdge1(0, 3), folded) << "the folded edge is registered";
    delete edges;

    // A second call reuses the registered edge instead of folding again.
    edges = match.getVEdges1(g1->V[0]);
    ASSERT_NE(edges, nullptr);
    ASSERT_EQ(edges->size(), 1u);
    EXPECT_EQ((*edges)[0], folded);
    delete edges;

    // A node whose neighbours are in no block keeps its own edges.
    Vertex lonely(9, "x");
    EXPECT_EQ(match.getVEdges1(&lonely), nullptr);
    EXPECT_EQ(match.getVEdges1(nullptr), nullptr);
}

TEST_F(MatchBlocks, CostSeesAMatchedBlockAsOneVertex) {
    // Block {1, 2} of the first graph matched with node 1 of the second; node 0 matched
    // with node 0. The first graph's two relations to the block fold into one block edge
    // that the second graph's single relation matches once.
    BlockPairCase c("state_blockcost", "2");
    Match& match = *c.match;
    std::vector<Edge*>* registered = match.getVEdges1(c.g1->V[0]); // registers E1(0, 3)
    delete registered;
    c.matchBlock();

    // Nodes: Head 0; block of 2 with likeness (1 + 1) / 2 = 1 costs 0. Edge: labels[2] = 2
    // against 1, one surplus relation with k1 = 1 (block pair counted |1 x 2| = 2) -> 50.
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, kDropCost);
}

TEST_F(MatchBlocks, CostFoldsRelationsOfABlockPairNoEdgeWasRegisteredFor) {
    // Nothing has asked for the block's edges yet: the whole cost still sees both relations
    // to the block (two of kind 3 against one of kind 2: three surplus relations, 50 each)
    // and keeps the folded edge for later.
    BlockPairCase c("state_unregistered", "3");
    Match& match = *c.match;
    c.matchBlock();
    ASSERT_EQ(match.getEdge1(0, 3), nullptr);

    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, 3 * kDropCost);
    Edge* folded = match.getEdge1(0, 3);
    ASSERT_NE(folded, nullptr);
    EXPECT_EQ(folded->labels[3], 2);
    EXPECT_DOUBLE_EQ(match.costFigures(kClassDiagramCosts).total, 3 * kDropCost)
        << "a second pricing reuses the folded edge";
}

// ---- diagnostics -------------------------------------------------------------------------

TEST(MatchDiagnostics, NormDiffIsRelativeToTheLargerValue) {
    EXPECT_FLOAT_EQ(static_cast<float>(normDiff(2, 4)), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(normDiff(4, 2)), 0.5f);
    EXPECT_DOUBLE_EQ(normDiff(0, 0), 0);
    EXPECT_DOUBLE_EQ(normDiff(-3, -1), 0) << "no positive value: the maximum is 0";
    EXPECT_FLOAT_EQ(static_cast<float>(normDiff(-1, 2)), 1.5f);
}

TEST(MatchDiagnostics, CheckMatchingComparesWithTheLoggedPairs) {
    TwoClassPair p("", "", "check");
    Match match(p.g1.get(), p.g2.get(), p.cost.get(), 1, kClassDiagramCosts);
    EXPECT_DOUBLE_EQ(match.checkMatching(), 0) << "no log";
    match.log_matching = new int[2]{Match::kNoPartner, Match::kNoPartner};
    EXPECT_DOUBLE_EQ(match.checkMatching(), 0) << "empty log";
    match.log_matching[0] = 0;
    match.log_matching[1] = 1;
    pair(match, 0, 0);
    EXPECT_DOUBLE_EQ(match.checkMatching(), 50);
    EXPECT_EQ(match.checkPresence(), 2);
}
