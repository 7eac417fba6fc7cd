// Moves on a small pair of diagrams: which pairs are valid, how long a changed pair is held,
// the tabu ring, moves that change nothing, and the index kept in step with the matching.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cost/Cost.h"
#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "tests/match/MoveTestSupport.h"
#include "util/Console.h"
#include "util/Random.h"

namespace {

/// Order -> Item -> Price and Customer -> Order on the first side; Order -> Item -> Price and
/// a lone Client on the second. Every plain pair is movable.
struct ShopFixture {
    /// The matcher reports every step; tests that read its output reset this first.
    std::unique_ptr<QuietOutput> quiet = std::make_unique<QuietOutput>();
    std::unique_ptr<Graph> g1;
    std::unique_ptr<Graph> g2;
    std::unique_ptr<Cost> cost = unevenCost();
    std::unique_ptr<Match> m;

    ShopFixture() {
        GraphAssembler a("moves_first");
        a.node(kClassType, "Order");
        a.node(kClassType, "Item");
        a.node(kClassType, "Customer");
        a.node(kClassType, "Price");
        a.arc(0, 1, "1").arc(1, 3, "5").arc(2, 0, "2");
        g1 = a.build();
        GraphAssembler b("moves_second");
        b.node(kClassType, "Order");
        b.node(kClassType, "Item");
        b.node(kClassType, "Client");
        b.node(kClassType, "Price");
        b.arc(0, 1, "1").arc(1, 3, "5");
        g2 = b.build();
        m = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts);
        for (int x = 0; x < 4; x++)
            for (int y = 0; y < 4; y++)
                m->updateMoves(x, y, true);
    }

    void play(int i, int j) {
        m->chosenCell = &MoveContext::moveCell(*m, i, j);
        m->enactMove();
    }
    /// Lets every earlier tabu mark run out.
    void later() { m->iterations += 100; }
    /// Files the cell (x, y) in the index with the given cost change.
    cell& file(int x, int y, double delta) {
        cell& c = MoveContext::moveCell(*m, x, y);
        c.delta = delta;
        c.delta_m = -delta;
        m->ff->insert(&c, false);
        return c;
    }
    bool indexed(int x, int y) {
        return m->M->exists(x, y) &&
               (*m->M)(static_cast<unsigned>(x), static_cast<unsigned>(y)).layer >= 0;
    }
    /// Builds the block pair {0, 1} ~ {0, 1}: match 0 with 0, grow the second side by 1, then
    /// the first side by 1. Returns the two block numbers.
    std::pair<int, int> blockPair() {
        play(0, 0);
        later();
        play(0, 1);
        later();
        play(1, 0);
        later();
        return {m->blocks1[0], m->blocks2[0]};
    }
};

/// A seed whose next two draws give the separation tenure first and then `tenureOut`.
unsigned seedForTenureOut(int tenureOut) {
    for (unsigned seed = 1;; seed++) {
        seedRandom(seed);
        randDraw();
        if (randDraw() % 5 + 5 == tenureOut) return seed;
    }
}

/// The first `count` draws after seeding with `seed`; the generator is left seeded with `seed`.
std::vector<int> drawsAfterSeed(unsigned seed, int count) {
    seedRandom(seed);
    std::vector<int> draws;
    for (int k = 0; k < count; k++)
        draws.push_back(randDraw());
    seedRandom(seed);
    return draws;
}

int tenureIn(int draw) {
    return draw % 15 + 5;
}
int tenureOut(int draw) {
    return draw % 5 + 5;
}

} // namespace

TEST(MoveValidity, NodesMatchedElsewhereFormNoMoveUntilOneIsFreed) {
    ShopFixture f;
    f.play(0, 0);
    f.play(1, 1);
    f.later();
    EXPECT_FALSE(f.m->isValidMove(0, 1));
    EXPECT_FALSE(f.m->isValidMove(1, 0));
    EXPECT_TRUE(f.m->isValidMove(0, 2)); // 2 is free: it may join 0's partner
    EXPECT_TRUE(f.m->isValidMove(1, 1)); // separating a pair
    f.play(1, 1);
    f.later();
    EXPECT_TRUE(f.m->isValidMove(0, 1));
    EXPECT_TRUE(f.m->isValidMove(1, 0));
}

TEST(MoveValidity, PairsNotOpenedAsMovesAreNeverValid) {
    ShopFixture f;
    f.m->updateMoves(2, 2, false);
    EXPECT_FALSE(f.m->movable(2, 2));
    EXPECT_FALSE(f.m->movable(9, 9)); // never stored
    EXPECT_FALSE(f.m->isValidMove(2, 2));
    EXPECT_TRUE(f.m->isValidMove(2, 3));
    // Numbers that name no vertex are no move either.
    EXPECT_FALSE(f.m->isValidMove(4, 0));
    EXPECT_FALSE(f.m->isValidMove(0, 40));
    EXPECT_FALSE(f.m->isValidMove(-1, 0));
}

TEST(MoveValidity, ABlockPairHoldingALockedPairCannotBeSeparated) {
    ShopFixture f;
    const auto blocks = f.blockPair();
    ASSERT_GE(blocks.first, 4);
    ASSERT_GE(blocks.second, 4);
    EXPECT_TRUE(f.m->isValidMove(blocks.first, blocks.second));
    (*f.m->M)(0, 0).tabu = Match::kLockedTabu;
    EXPECT_FALSE(f.m->isValidMove(blocks.first, blocks.second));
    // A move that keeps the locked pair together is still allowed.
    EXPECT_TRUE(f.m->isValidMove(blocks.first, 2));
}

TEST(MoveValidity, ShrinkMovesNamedByAPlainNodeAndStaleBlocksAreInvalid) {
    ShopFixture f;
    const auto blocks = f.blockPair();
    EXPECT_EQ(MoveContext(*f.m, 0, blocks.second).kind, MoveContext::Kind::ShrinkFirst);
    EXPECT_FALSE(f.m->isValidMove(0, blocks.second));
    EXPECT_EQ(MoveContext(*f.m, blocks.first, 1).kind, MoveContext::Kind::ShrinkSecond);
    EXPECT_FALSE(f.m->isValidMove(blocks.first, 1));

    f.play(blocks.first, blocks.second); // separates the two blocks
    f.later();
    EXPECT_EQ(f.m->M12[0], Match::kNoPartner);
    EXPECT_EQ(f.m->blocks1[1], 1);
    EXPECT_FALSE(f.m->isValidMove(blocks.first, 3));
    EXPECT_FALSE(f.m->isValidMove(3, blocks.second));
}

TEST(MoveApplication, CountsMatchedPairsAndEqualLabels) {
    ShopFixture f;
    f.play(0, 0);
    f.later();
    f.play(2, 2); // Customer with Client: labels differ
    EXPECT_EQ(f.m->numberOfMatchs, 2);
    EXPECT_EQ(f.m->good, 1);
    f.later();
    f.play(0, 1); // Order ~ {Order, Item}
    f.later();
    f.play(1, 0);                      // {Order, Item} ~ {Order, Item}
    EXPECT_EQ(f.m->numberOfMatchs, 3); // a block pair of two counts two
    // Order ~ {Order, Item} had unequal labels; the two blocks have the same member numbers
    // and words, hence equal labels, and count two.
    EXPECT_EQ(f.m->good, 2);
    EXPECT_EQ(f.m->M12[0], f.m->blocks2[1]);
    EXPECT_EQ(f.m->M21[1], f.m->blocks1[0]);
}

TEST(TabuMarks, MatchedAndSeparatedPairsAreHeldForTheirTenures) {
    ShopFixture f;
    f.m->iterations = 10;
    f.play(0, 0);
    const int heldUntil = (*f.m->M)(0, 0).tabu;
    EXPECT_GE(heldUntil, 15);
    EXPECT_LE(heldUntil, 19);
    f.m->iterations = heldUntil - 1;
    EXPECT_FALSE(f.m->isValidMove(0, 0));
    f.m->iterations = heldUntil;
    EXPECT_TRUE(f.m->isValidMove(0, 0));

    f.play(0, 0);
    const int releasedUntil = (*f.m->M)(0, 0).tabu;
    EXPECT_GE(releasedUntil, heldUntil + 5);
    EXPECT_LE(releasedUntil, heldUntil + 19);
}

TEST(TabuMarks, TenuresCoverTheirWholeRanges) {
    ShopFixture f;
    seedRandom(5);
    int lowIn = 100, highIn = 0, lowOut = 100, highOut = 0;
    for (int k = 0; k < 400; k++) {
        f.m->updateState(f.m->getVertex1(3), f.m->getVertex2(3), k % 2 == 0);
        lowIn = std::min(lowIn, f.m->tabu_in);
        highIn = std::max(highIn, f.m->tabu_in);
        lowOut = std::min(lowOut, f.m->tabu_out);
        highOut = std::max(highOut, f.m->tabu_out);
    }
    EXPECT_EQ(lowIn, 5);
    EXPECT_EQ(highIn, 19);
    EXPECT_EQ(lowOut, 5);
    EXPECT_EQ(highOut, 9);
}

TEST(TabuMarks, RingSlotOfTheWorkedExample) {
    // At iteration 3 in slot 3, a pair matched with tenure 5 goes to slot 7 with tabu 8.
    ShopFixture f;
    f.m->iterations = 3;
    f.m->i_parser = 3;
    seedRandom(seedForTenureOut(5));
    f.m->updateState(f.m->getVertex1(0), f.m->getVertex2(0), true);
    ASSERT_EQ(f.m->tabu_out, 5);
    cell& c = (*f.m->M)(0, 0);
    EXPECT_EQ(c.tabu, 8);
    ASSERT_EQ(f.m->tabu_i[7][0].size(), 1u);
    EXPECT_EQ(f.m->tabu_i[7][0][0], &c);
    EXPECT_EQ(c.layer, -1);

    // The iteration that processes slot 7 runs with iterations = 8: the pair is valid again
    // and is priced and filed afresh.
    f.m->iterations = 7;
    EXPECT_FALSE(f.m->isValidMove(0, 0));
    f.m->iterations = 8;
    f.m->i_parser = 7;
    f.m->updateDeltaMatrix();
    EXPECT_TRUE(f.m->tabu_i[7][0].empty());
    EXPECT_GE(c.layer, 0);
    EXPECT_DOUBLE_EQ(c.delta, f.m->computeDelta(kClassDiagramCosts, 0, 0));
    EXPECT_DOUBLE_EQ(c.delta_m, -c.delta);
}

TEST(TabuMarks, GrowMovesMarkTheChosenCell) {
    ShopFixture f;
    f.play(0, 0);
    f.later();
    f.m->i_parser = 40;
    cell& grow = f.file(0, 1, -3);
    f.play(0, 1);
    EXPECT_EQ(grow.layer, -1);
    const int tenure = grow.tabu - f.m->iterations;
    EXPECT_GE(tenure, 5);
    EXPECT_LE(tenure, 9);
    const auto& slot = f.m->tabu_i[(40 + tenure - 1) % Match::kTabuSlots][0];
    EXPECT_NE(std::find(slot.begin(), slot.end(), &grow), slot.end());
}

TEST(TabuMarks, EveryApplicationAndEveryMatchOrSeparationDrawsBothTenuresInOrder) {
    // A run repeats for a seed only if each move takes the same draws in the same order: two
    // for the move itself, then two for each match or separation it makes.
    ShopFixture f;
    f.m->iterations = 20;
    std::vector<int> d = drawsAfterSeed(11, 8);
    f.play(0, 0); // add
    EXPECT_EQ(f.m->tabu_in, tenureIn(d[2]));
    EXPECT_EQ(f.m->tabu_out, tenureOut(d[3]));
    EXPECT_EQ((*f.m->M)(0, 0).tabu, 20 + tenureOut(d[3]));
    EXPECT_EQ(randDraw(), d[4]);

    f.later();
    const int grownAt = f.m->iterations;
    d = drawsAfterSeed(12, 8);
    f.play(0, 1); // grow second: the chosen cell is held for the move's own matching tenure
    const int grown = f.m->blocks2[0];
    ASSERT_GE(grown, 4);
    EXPECT_EQ((*f.m->M)(0, 1).tabu, grownAt + tenureOut(d[1]));
    EXPECT_EQ((*f.m->M)(0, 0).tabu, grownAt + tenureIn(d[2]));
    EXPECT_EQ((*f.m->M)(0, static_cast<unsigned>(grown)).tabu, grownAt + tenureOut(d[5]));
    EXPECT_EQ(randDraw(), d[6]);

    f.later();
    const int shrunkAt = f.m->iterations;
    d = drawsAfterSeed(13, 8);
    f.play(0, 0); // 0 is a plain member of the grown block: shrink second
    EXPECT_EQ(f.m->blocks2[0], 0);
    EXPECT_EQ((*f.m->M)(0, 0).tabu, shrunkAt + tenureIn(d[0]));
    EXPECT_EQ((*f.m->M)(0, static_cast<unsigned>(grown)).tabu, shrunkAt + tenureIn(d[2]));
    EXPECT_EQ((*f.m->M)(0, 1).tabu, shrunkAt + tenureOut(d[5]));
    EXPECT_EQ(randDraw(), d[6]);

    f.later();
    f.play(2, 2);
    f.later();
    d = drawsAfterSeed(14, 4);
    f.play(2, 1); // 2 and 1 both matched elsewhere: no kind, only the move's own draws
    EXPECT_EQ(randDraw(), d[2]);

    const int separatedAt = f.m->iterations;
    d = drawsAfterSeed(15, 6);
    f.play(2, 2); // remove
    EXPECT_EQ((*f.m->M)(2, 2).tabu, separatedAt + tenureIn(d[2]));
    EXPECT_EQ(randDraw(), d[4]);
}

TEST(NoneMove, ChangesNothingAndSaysSo) {
    ShopFixture f;
    f.play(0, 0);
    f.play(1, 1);
    const MatchingSnapshot before(*f.m);
    ASSERT_EQ(MoveContext(*f.m, 0, 1).kind, MoveContext::Kind::None);
    f.quiet.reset();

    ConsoleCapture pricing;
    const double delta = f.m->computeDelta(kClassDiagramCosts, 0, 1);
    std::string printed = pricing.text();
    EXPECT_EQ(delta, 0);
    EXPECT_NE(printed.find("\n NON-VALID !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! \n"),
              std::string::npos);

    ConsoleCapture playing;
    f.play(0, 1);
    printed = playing.text();
    EXPECT_NE(printed.find("\n ----------------------- NON-VALID --------------- \n"),
              std::string::npos);
    EXPECT_TRUE(MatchingSnapshot(*f.m) == before);
    EXPECT_EQ(f.m->numberOfMatchs, before.numberOfMatchs);
    EXPECT_EQ(f.m->good, before.good);
}

TEST(NoneMove, AStaleBlockCellIsNotPlayedAndLeavesTheIndex) {
    ShopFixture f;
    const auto blocks = f.blockPair();
    f.play(blocks.first, blocks.second); // the block {Order, Item} is old from now on
    f.later();
    f.play(0, 3);
    // Read through its smallest member, the old block seems matched with 3: growing it by 2
    // would pull Item back in without any evaluation.
    ASSERT_EQ(f.m->getM12(blocks.first), 3);
    f.file(blocks.first, 2, -40);
    const MatchingSnapshot before(*f.m);
    EXPECT_EQ(MoveContext(*f.m, blocks.first, 2).kind, MoveContext::Kind::None);
    f.play(blocks.first, 2);
    EXPECT_TRUE(MatchingSnapshot(*f.m) == before);
    EXPECT_FALSE(f.indexed(blocks.first, 2));
}

TEST(MoveIndex, MatchingAPairDropsMovesAgainstOtherPairs) {
    ShopFixture f;
    f.play(1, 1);
    f.file(0, 1, -5);
    f.file(1, 0, -5);
    f.file(2, 2, -5);
    f.file(3, 0, -5);
    f.play(0, 0);
    EXPECT_FALSE(f.indexed(0, 1)); // 0 is matched now and 1 is matched with 1
    EXPECT_FALSE(f.indexed(1, 0));
    EXPECT_TRUE(f.indexed(2, 2));
    EXPECT_TRUE(f.indexed(3, 0)); // 3 is free: it may still join 0's partner
}

TEST(MoveIndex, MovesAwayFromTheLastMoveAreNotPricedAgain) {
    // Matching Price with Price touches Price and Item on both sides; the moves between
    // Customer or Order and the lone Client lie outside and keep their cells as they were.
    ShopFixture f;
    cell& far = f.file(2, 2, -7);
    cell& alsoFar = f.file(0, 2, -6);
    cell& near = f.file(1, 2, -5);
    f.m->iterations = 1;
    f.play(3, 3);
    f.m->updateDeltaMatrix();
    EXPECT_EQ(far.delta, -7);
    EXPECT_EQ(alsoFar.delta, -6);
    EXPECT_TRUE(f.indexed(2, 2));
    EXPECT_DOUBLE_EQ(near.delta, f.m->computeDelta(kClassDiagramCosts, 1, 2));
    EXPECT_NE(near.delta, -5);
}

TEST(MoveIndex, NeighbourMovesArePricedAfreshAfterAMove) {
    ShopFixture f;
    cell& itemPair = f.file(1, 1, f.m->computeDelta(kClassDiagramCosts, 1, 1));
    const double alone = itemPair.delta;
    f.m->iterations = 1;
    f.play(0, 0);
    f.m->updateDeltaMatrix();
    // With Order matched, matching Item also matches the relation between them.
    EXPECT_LT(itemPair.delta, alone);
    EXPECT_DOUBLE_EQ(itemPair.delta, f.m->computeDelta(kClassDiagramCosts, 1, 1));
    EXPECT_GE(itemPair.layer, 0);
    EXPECT_EQ(*f.m->concerned1, (std::set<int>{0}));
    EXPECT_EQ(*f.m->concerned2, (std::set<int>{0}));
}
