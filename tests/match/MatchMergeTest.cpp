// Block vertices: reuse by member set, shrinking back to a plain node, merged edges and loops,
// labels and kinds of a block, and the block edges registered against the blocks in use.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cost/Cost.h"
#include "match/Match.h"
#include "tests/match/MoveTestSupport.h"
#include "util/Console.h"

namespace {

/// A matcher over a first-side graph and a second side of one class.
struct AgainstOneClass {
    std::unique_ptr<Graph> g1;
    std::unique_ptr<Graph> g2;
    std::unique_ptr<Cost> cost = unevenCost();
    std::unique_ptr<Match> m;

    AgainstOneClass(GraphAssembler first, const std::string& secondClass) {
        QuietOutput quiet;
        g1 = first.build();
        GraphAssembler b(g1->name + "_second");
        b.node(kClassType, secondClass);
        g2 = b.build();
        m = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts);
    }

    Vertex* plain(int n) { return m->getVertex1(n); }
    Vertex* grow(int n, int x) { return m->updateBlock(plain(n), x, true, true); }
};

/// Ten classes on the first side, where 3 and 5 both point at 9 (one relation of class 2 from
/// 3, two from 5), 3 calls 5, and 8 is a method; a single class on the second side.
GraphAssembler tenNodes() {
    GraphAssembler a("blocks_first");
    for (int n = 0; n < 10; n++)
        a.node(n == 8 ? kMethodType : kClassType, "Node" + std::to_string(n));
    a.arc(3, 9, "2").arc(5, 9, "22").arc(3, 5, "4");
    return a;
}

struct BlockFixture : AgainstOneClass {
    BlockFixture() : AgainstOneClass(tenNodes(), "Node") {}
};

Edge* edgeOf(Vertex* v, int from, int to) {
    for (Edge* e : v->edges)
        if (e->from == from && e->to == to) return e;
    return nullptr;
}

} // namespace

TEST(BlockVertex, TheSameMemberSetGivesTheSameBlockBuiltOnce) {
    BlockFixture f;
    Vertex* first = f.grow(3, 5);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->number, 10); // the first block number is the graph order
    EXPECT_EQ(*first->nodes, (std::set<int>{3, 5}));
    EXPECT_EQ(f.m->nBlocks1.at("3,5"), 10);

    Vertex* again = f.grow(5, 3);
    EXPECT_EQ(again, first);
    EXPECT_EQ(f.m->V1.size(), 1u);

    // A third member makes a new block with the next number; the old one stays registered.
    Vertex* third = f.m->updateBlock(first, 7, true, true);
    EXPECT_EQ(third->number, 11);
    EXPECT_EQ(f.m->nBlocks1.at("3,5,7"), 11);
    EXPECT_EQ(f.m->getVertex1(10), first);
}

TEST(BlockVertex, ShrinkingBackGivesPlainVertices) {
    BlockFixture f;
    Vertex* block = f.grow(3, 5);
    EXPECT_EQ(f.m->updateBlock(block, 5, true, false), f.plain(3));
    EXPECT_EQ(f.m->updateBlock(block, 3, true, false), f.plain(5));
    // Removing a node that is not a member changes nothing: the same block comes back.
    EXPECT_EQ(f.m->updateBlock(block, 7, true, false), block);
    // Removing the only member of a plain vertex leaves nothing.
    EXPECT_EQ(f.m->updateBlock(f.plain(3), 3, true, false), nullptr);
    EXPECT_EQ(f.m->V1.size(), 1u);
}

TEST(BlockVertex, DegenerateArguments) {
    BlockFixture f;
    EXPECT_EQ(f.m->updateBlock(nullptr, 4, true, true), f.plain(4));
    EXPECT_EQ(f.m->updateBlock(f.plain(4), Match::kNoPartner, true, true), f.plain(4));
    // A number that is no plain node of the side cannot join a block.
    EXPECT_EQ(f.m->updateBlock(f.plain(4), 42, true, true), f.plain(4));
    EXPECT_EQ(f.m->mergeNodes(nullptr, 20), nullptr);
    std::vector<Vertex*> single{f.plain(6)};
    EXPECT_EQ(f.m->mergeNodes(&single, 20), f.plain(6));
    EXPECT_TRUE(f.m->V1.empty());
}

TEST(BlockVertex, EdgesToOneNeighbourAreCombined) {
    BlockFixture f;
    Vertex* block = f.grow(3, 5);
    Edge* toNine = edgeOf(block, 10, 9);
    ASSERT_NE(toNine, nullptr);
    EXPECT_EQ(toNine->labels[2], 3);
    EXPECT_EQ(toNine->label, "222");
    // The graph's own edges are untouched.
    EXPECT_EQ(f.g1->getEdge(3, 9)->labels[2], 1);
    EXPECT_EQ(f.g1->getEdge(5, 9)->labels[2], 2);
    // Registered for the cost evaluations, as is every edge of the block.
    EXPECT_EQ(f.m->getEdge1(10, 9), toNine);
    EXPECT_EQ(block->edges.size(), 2u);
    EXPECT_TRUE(block->in.empty());
    EXPECT_TRUE(block->out.empty());
}

TEST(BlockVertex, AnEdgeBetweenMembersBecomesALoop) {
    BlockFixture f;
    Vertex* block = f.grow(3, 5);
    Edge* loop = edgeOf(block, 10, 10);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->labels[4], 1);
    EXPECT_EQ(f.m->getEdge1(10, 10), loop);
}

TEST(BlockVertex, LoopCountsOfLargeBlocksAreSummed) {
    // Five members calling each other: every call relation is kept on the block's loop,
    // including those contributed by the fifth member.
    GraphAssembler a("blocks_ring");
    for (int n = 0; n < 5; n++)
        a.node(kClassType, "Ring" + std::to_string(n));
    a.arc(0, 1, "4").arc(1, 2, "4").arc(2, 3, "4").arc(3, 4, "4").arc(4, 0, "44");
    AgainstOneClass f(std::move(a), "Ring");
    Match& m = *f.m;
    Vertex* block = m.getVertex1(0);
    for (int x = 1; x < 5; x++)
        block = m.updateBlock(block, x, true, true);
    ASSERT_EQ(block->edges.size(), 1u);
    EXPECT_EQ(block->edges[0]->labels[4], 6);
}

TEST(BlockVertex, LabelListsMembersThenTerms) {
    BlockFixture f;
    Vertex* block;
    {
        QuietOutput quiet;
        delete f.plain(3)->nTerms;
        f.plain(3)->nTerms = new std::set<std::string>{"a"};
        delete f.plain(7)->nTerms;
        f.plain(7)->nTerms = new std::set<std::string>{"b", "a"};
        block = f.grow(7, 3);
    }
    EXPECT_EQ(block->label, "_3_7__-a-b--");
    EXPECT_EQ(*block->nTerms, (std::set<std::string>{"a", "b"}));
    // The members' own sets are left alone.
    EXPECT_EQ(f.plain(3)->nTerms->size(), 1u);
}

TEST(BlockVertex, MixedKindsWarnAndTakeTheFirstMembersKind) {
    BlockFixture f;
    ConsoleCapture capture;
    Vertex* classFirst = f.grow(3, 8); // members listed as 3, then the added 8
    const std::string printed = capture.text();
    EXPECT_NE(printed.find("\n MERGING DIFFERENT TYPES OF NODES"), std::string::npos);
    EXPECT_EQ(classFirst->type, kClassType);

    // The added node comes last, so grown from the method the block is a method.
    BlockFixture g;
    QuietOutput quiet;
    EXPECT_EQ(g.grow(8, 3)->type, kMethodType);
}

TEST(BlockVertex, EdgesAreRegisteredAgainstTheBlocksInUse) {
    BlockFixture f;
    Vertex* left = f.grow(3, 5);
    // 3 and 5 are held by their block when the block {4, 9} is built.
    f.m->blocks1[3] = f.m->blocks1[5] = left->number;
    Vertex* right = f.grow(4, 9);
    ASSERT_EQ(right->number, 11);
    ASSERT_NE(f.m->getEdge1(3, 11), nullptr);
    ASSERT_NE(f.m->getEdge1(5, 11), nullptr);
    Edge* between = f.m->getEdge1(10, 11);
    ASSERT_NE(between, nullptr);
    EXPECT_EQ(between->labels[2], 3);
    EXPECT_EQ(between->from, 10);
    EXPECT_EQ(between->to, 11);
}

namespace {

/// Everything of a block's own edges that a cost or a report reads, and whether each is the
/// entry registered for its ends.
std::vector<std::string> ownEdges(Match& m, Vertex* block) {
    std::vector<std::string> seen;
    for (Edge* e : block->edges) {
        std::string text = std::to_string(e->from) + ">" + std::to_string(e->to) + " #" +
                           std::to_string(e->number) + " " + e->label + " [";
        for (int k = 0; k < kLabelCodes; k++)
            text += std::to_string(e->labels[k]) + " ";
        text += m.getEdge1(e->from, e->to) == e ? "] registered" : "]";
        seen.push_back(text);
    }
    return seen;
}

} // namespace

TEST(BlockVertex, AReleasedBlockIsRebuiltAsItWasFirstBuilt) {
    // Both members point at 2 with different labels, so the merged label shows the order
    // the block was built in: grown from 1 by 0, it is built from 1 first.
    GraphAssembler a("release_first");
    a.node(kClassType, "ParserState");
    a.node(kClassType, "TokenQueue");
    a.node(kClassType, "Element");
    a.arc(0, 2, "1").arc(1, 2, "22").arc(0, 1, "4");
    AgainstOneClass f(std::move(a), "TokenState");
    Match& m = *f.m;
    Vertex* block = f.grow(1, 0);
    const int number = block->number;
    const std::vector<std::string> edges = ownEdges(m, block);
    const std::set<std::string> words = *block->nTerms;
    const std::string label = block->label;
    ASSERT_EQ(edgeOf(block, number, 2)->label, "221");
    Vertex* second = m.getVertex2(0);
    const double likeness = m.intSim(kClassDiagramCosts, block, second);

    // Not while it holds nodes.
    m.blocks1[0] = m.blocks1[1] = number;
    m.releaseIdleBlock(block, true);
    EXPECT_EQ(ownEdges(m, block), edges);
    m.blocks1[0] = 0;
    m.blocks1[1] = 1;

    m.releaseIdleBlock(block, true);
    EXPECT_TRUE(block->edges.empty());
    EXPECT_EQ(block->nTerms, nullptr);
    EXPECT_EQ(m.findBlockEdge(true, number, 2), nullptr);
    EXPECT_EQ(block->label, label);
    EXPECT_EQ(*block->nodes, (std::set<int>{0, 1}));

    // Words come back with a likeness not yet known, edges when the block is asked for.
    EXPECT_EQ(m.intSim(kClassDiagramCosts, block, second), likeness);
    ASSERT_NE(block->nTerms, nullptr);
    EXPECT_EQ(*block->nTerms, words);
    EXPECT_TRUE(block->edges.empty());
    EXPECT_EQ(m.getVertex1(number), block);
    EXPECT_EQ(ownEdges(m, block), edges);
    EXPECT_EQ(m.updateBlock(m.getVertex1(0), 1, true, true), block);
}
