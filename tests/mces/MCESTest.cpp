// Greedy matcher: edge comparison, similarity codes, scores, candidate lists, the greedy
// loop in scan and fast mode, and the bookkeeping of preserved edges.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "MCESTestSupport.h"
#include "util/Random.h"

namespace {

Edge labelled(const std::string& label) {
    return Edge(0, 1, label);
}

/// A random graph of n nodes and about m arcs with labels 1-4 and no loops.
std::unique_ptr<Graph> randomGraph(int n, int m, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<Arc> arcs;
    for (int k = 0; k < m; ++k) {
        const int a = static_cast<int>(gen() % n);
        const int b = static_cast<int>(gen() % n);
        if (a == b) continue;
        arcs.emplace_back(a, b, std::to_string(1 + gen() % 4));
    }
    return buildGraph(numberLabels(n), arcs);
}

/// M12 and M21 describe the same one-to-one matching, and nbMatched counts it.
void expectConsistentMatching(const MCES& m, int n1, int n2) {
    int matched = 0;
    for (int i = 0; i < n1; ++i) {
        if (m.M12[i] == -1) continue;
        ASSERT_GE(m.M12[i], 0);
        ASSERT_LT(m.M12[i], n2);
        EXPECT_EQ(m.M21[m.M12[i]], i);
        ++matched;
    }
    for (int j = 0; j < n2; ++j)
        if (m.M21[j] != -1) {
            EXPECT_EQ(m.M12[m.M21[j]], j);
        }
    EXPECT_EQ(matched, m.nbMatched);
}

} // namespace

TEST(MCESCompareEdges, CountsCommonRelations) {
    Edge a = labelled("12"), b = labelled("23");
    EXPECT_EQ(MCES::compareEdges(&a, &b), 1); // only code 2 is shared
    Edge z1 = labelled("0"), z2 = labelled("0");
    EXPECT_EQ(MCES::compareEdges(&z1, &z2), 1); // equal labels count their length, code 0 too
    Edge one = labelled("1"), two = labelled("2");
    EXPECT_EQ(MCES::compareEdges(&one, &two), 0);
    Edge folded = labelled("49"), reversed = labelled("94");
    EXPECT_EQ(MCES::compareEdges(&folded, &reversed), 2); // order of folding does not matter
    Edge many = labelled("444"), single = labelled("4");
    EXPECT_EQ(MCES::compareEdges(&many, &single), 1);
    Edge zeros = labelled("00");
    EXPECT_EQ(MCES::compareEdges(&zeros, &z1), 0); // code 0 is not counted between different labels
    EXPECT_EQ(MCES::compareEdges(nullptr, &a), 0);
    EXPECT_EQ(MCES::compareEdges(&a, nullptr), 0);
}

TEST(MCESSimilarityCode, DecodedByNumberOfDigits) {
    const MCES::SimilarityCode c123 = MCES::decodeSimilarity(123);
    EXPECT_EQ(c123.digits, 3);
    EXPECT_EQ(c123.sim, 1);
    EXPECT_EQ(c123.discrim, 2);
    EXPECT_EQ(c123.extension, 3);
    const MCES::SimilarityCode c80 = MCES::decodeSimilarity(80); // the matcher's default
    EXPECT_EQ(c80.digits, 2);
    EXPECT_EQ(c80.sim, 8);
    EXPECT_EQ(c80.discrim, 0);
    const MCES::SimilarityCode c5 = MCES::decodeSimilarity(5); // one digit keeps its type
    EXPECT_EQ(c5.digits, 1);
    EXPECT_EQ(c5.sim, 5);
    EXPECT_EQ(c5.discrim, 0);
    const MCES::SimilarityCode neg = MCES::decodeSimilarity(-45);
    EXPECT_EQ(neg.sim, -4); // division toward zero keeps the sign on the type
    EXPECT_EQ(neg.discrim, 5);
    EXPECT_EQ(MCES::decodeSimilarity(1234).digits, 0);
}

TEST(MCESSimilarityCode, ConstructorUsesTheDecodedParts) {
    QuietOutput quiet;
    auto g1 = buildGraph(numberLabels(3), {{0, 1, "1"}, {1, 2, "2"}});
    auto g2 = buildGraph(numberLabels(3), {{0, 1, "1"}, {1, 2, "2"}});
    MCESPtr m123(new MCES(2, 123, g1.get(), g2.get(), 0, 1, 0.0, false));
    EXPECT_EQ(m123->param_sim, 1);
    EXPECT_EQ(m123->param_discrim, 2);
    // A one-digit code selects its own type: similarity type 2 gives edge overlaps.
    MCESPtr m2(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    EXPECT_EQ(m2->param_sim, 2);
    EXPECT_EQ(m2->param_discrim, 0);
    EXPECT_FLOAT_EQ(m2->simil[1][1], 1.0f); // node 1 has arcs 1 in and 2 out on both sides
    EXPECT_TRUE(m2->bestPairs.empty());     // no discrimination step for one digit
    // Types outside 1-9 carry no similarity, but the table exists for the callers.
    MCESPtr m0(new MCES(2, 0, g1.get(), g2.get(), 0, 1, 0.0, false));
    ASSERT_NE(m0->simil, nullptr);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m0->simil[i][j], 0.0f);
}

TEST(MCESScores, AlgorithmZeroScoresAreTheGains) {
    QuietOutput quiet;
    // Labels differ between the graphs, so the penalty makes the gains vary.
    auto g1 =
        buildGraph({"a", "b", "c", "d"}, {{0, 1, "1"}, {1, 2, "2"}, {2, 3, "1"}, {3, 0, "3"}});
    auto g2 =
        buildGraph({"a", "b", "x", "d"}, {{0, 1, "1"}, {1, 2, "2"}, {2, 3, "1"}, {0, 3, "3"}});
    MCESPtr m(new MCES(0, 2, g1.get(), g2.get(), 0, 1, 3.0, false));
    EXPECT_EQ(m->g[0][0], 0.0f);
    EXPECT_EQ(m->g[0][2], -3.0f);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_DOUBLE_EQ(m->gamma[i][j], m->g[i][j]) << i << "," << j;
    // Matching (1, 1) passes gains on to (0, 0) (arc 0->1 "1") and (2, 2) (arc 1->2 "2"),
    // and the scores still follow the gains.
    m->update1(1, 1);
    EXPECT_EQ(m->g[0][0], 1.0f);
    EXPECT_EQ(m->g[2][2], -3.0f + 1.0f);
    for (int i : *m->unmatched1)
        for (int j : *m->unmatched2)
            EXPECT_DOUBLE_EQ(m->gamma[i][j], m->g[i][j]);
    EXPECT_EQ(m->alpha, 9);
}

TEST(MCESScores, AlgorithmOneFollowsItsFormulaAfterEveryMatch) {
    QuietOutput quiet;
    auto g1 = randomGraph(7, 20, 61);
    auto g2 = randomGraph(6, 18, 62);
    MCESPtr m(new MCES(1, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    const std::pair<int, int> moves[] = {{0, 1}, {2, 2}, {4, 3}, {6, 0}};
    for (const auto& mv : moves) {
        m->update1(mv.first, mv.second);
        // a is single precision, and so is the whole score (gains are too).
        const float a = 1.0f / static_cast<float>(m->alpha);
        for (int i : *m->unmatched1)
            for (int j : *m->unmatched2) {
                const float expected = (1 - a) * m->g[i][j] + (a - a * a) * m->connexions[i][j] -
                                       a * m->getNKilled(i, j) - a * a * m->getERemoved(i, j);
                EXPECT_EQ(m->gamma[i][j], static_cast<double>(expected)) << i << "," << j;
            }
    }
}

TEST(MCESScores, SinglePrecisionScoresTie) {
    // Gains -3 everywhere (all labels differ); two similarities one float step apart. In
    // single precision -3 + s cannot tell them apart, so both pairs are best and both are
    // drawn with r_alpha 0; in double precision only one of them would ever be offered.
    QuietOutput quiet;
    auto g1 = buildGraph({"a", "b"}, {});
    auto g2 = buildGraph({"c", "d"}, {});
    const float low = 0.1f;
    const float high = std::nextafter(low, 1.0f);
    for (int algo : {4, 5, 6, 7}) {
        MCESPtr m(new MCES(algo, 2, g1.get(), g2.get(), 0, 1, 3.0, false));
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                m->simil[i][j] = 0;
        m->simil[0][0] = low;
        m->simil[0][1] = high;
        if (algo == 4) m->setGamma4();
        if (algo == 5) m->setGamma5();
        if (algo == 6) m->setGamma6();
        if (algo == 7) m->setGamma7();
        // Algorithm 6 weighs the similarity 1000 before any match; algorithm 7 gives a
        // bonus of 5 (the smallest) on such small graphs.
        float expected = -3.0f + low;
        if (algo == 4) expected = (low + 1) * -3.0f;
        if (algo == 6) expected = -3.0f + 1000.0f * low;
        if (algo == 7) expected = -3.0f + 5 * low;
        EXPECT_EQ(m->gamma[0][0], static_cast<double>(expected)) << "algorithm " << algo;
        if (algo == 6) continue; // 1000 * s separates the two again
        EXPECT_EQ(m->gamma[0][0], m->gamma[0][1]) << "algorithm " << algo;
        seedRandom(4);
        std::set<std::pair<unsigned, unsigned>> seen;
        for (int k = 0; k < 200; ++k) {
            const paire p = m->find();
            seen.insert({p.x1, p.x2});
        }
        EXPECT_EQ(seen.size(), 2u) << "algorithm " << algo;
    }
}

TEST(MCESScores, BonusAlgorithmsAddTheSimilarityThenSwitchToTheIndex) {
    auto g1 = randomGraph(7, 16, 71);
    auto g2 = randomGraph(8, 18, 72);
    for (int algo : {3, 7}) {
        QuietOutput quiet;
        MCESPtr m(new MCES(algo, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
        // The smaller order is 7: a tenth or a twentieth of it is below the smallest bonus, 5.
        // Algorithm 3 keeps the integer part of bonus x similarity, algorithm 7 all of it.
        auto expectBonus = [&](int bonus) {
            for (int i : *m->unmatched1)
                for (int j : *m->unmatched2) {
                    const float raw = bonus * m->simil[i][j];
                    const float expected = m->g[i][j] + (algo == 3 ? std::trunc(raw) : raw);
                    EXPECT_EQ(m->gamma[i][j], static_cast<double>(expected))
                        << "algorithm " << algo << " bonus " << bonus << " pair " << i << "," << j;
                }
        };
        expectBonus(5);
        for (int k = 0; k < 4; ++k)
            m->update(k, k);
        expectBonus(1); // one match short of the bonus running out
        EXPECT_FALSE(m->findfast);
        m->update(4, 4);
        EXPECT_TRUE(m->findfast) << "algorithm " << algo;

        // A whole run goes on from the index once the bonus is spent and stays consistent.
        seedRandom(9);
        MCESPtr run(new MCES(algo, 2, g1.get(), g2.get(), 0, 1, 0.0, true));
        EXPECT_GE(run->nbMatched, 5) << "algorithm " << algo;
        EXPECT_TRUE(run->findfast);
        expectConsistentMatching(*run, 7, 8);
        EXPECT_EQ(run->won, preservedRelations(*g1, *g2, run->M12)) << "algorithm " << algo;
    }
}

TEST(MCESScores, NegativeLabelErrorUsesTheLabelDistance) {
    QuietOutput quiet;
    auto g1 = buildGraph({"2", "10"}, {});
    auto g2 = buildGraph({"7", "10"}, {});
    MCESPtr m(new MCES(0, 2, g1.get(), g2.get(), 0, 1, -1.0, false));
    EXPECT_EQ(m->g[0][0], -5.0f);
    EXPECT_EQ(m->g[0][1], -8.0f);
    EXPECT_EQ(m->g[1][1], 0.0f);
    // The totals of row n1 / column n2 include the penalties.
    EXPECT_EQ(m->g[0][2], -13.0f);
    EXPECT_EQ(m->g[2][0], -8.0f);
}

TEST(MCESFind, AlphaZeroTakesOnlyTheBestScores) {
    QuietOutput quiet;
    auto g1 = randomGraph(6, 12, 3);
    auto g2 = randomGraph(6, 12, 4);
    MCESPtr m(new MCES(2, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    ASSERT_LT(m->minDelta, m->maxDelta);
    seedRandom(7);
    std::set<std::pair<unsigned, unsigned>> seen;
    for (int k = 0; k < 300; ++k) {
        const paire p = m->find();
        ASSERT_NE(p.x1, MCES::kNoPair);
        EXPECT_DOUBLE_EQ(m->gamma[p.x1][p.x2], m->maxDelta);
        seen.insert({p.x1, p.x2});
    }
    int best = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            best += m->gamma[i][j] == m->maxDelta ? 1 : 0;
    EXPECT_EQ(static_cast<int>(seen.size()), best); // every best pair gets drawn
}

TEST(MCESFind, AlphaOneTakesEveryUnmatchedPair) {
    QuietOutput quiet;
    auto g1 = randomGraph(4, 8, 5);
    auto g2 = randomGraph(4, 8, 6);
    MCESPtr m(new MCES(2, 2, g1.get(), g2.get(), 1.0f, 1, 0.0, false));
    m->update(0, 0);
    seedRandom(11);
    std::set<std::pair<unsigned, unsigned>> seen;
    for (int k = 0; k < 2000; ++k) {
        const paire p = m->find();
        ASSERT_NE(p.x1, MCES::kNoPair);
        EXPECT_NE(p.x1, 0u); // matched nodes are no longer offered
        EXPECT_NE(p.x2, 0u);
        seen.insert({p.x1, p.x2});
    }
    EXPECT_EQ(seen.size(), 9u);
}

TEST(MCESGreedy, LoopRunsUntilOneSideIsExhausted) {
    auto g1 = randomGraph(7, 14, 21);
    auto g2 = randomGraph(10, 18, 22);
    for (int algo : {2, 4, 5, 6})
        for (int code : {2, 80, 4, 81}) {
            QuietOutput quiet;
            seedRandom(3);
            MCESPtr m(new MCES(algo, code, g1.get(), g2.get(), 0.2f, 3, 0.0, true));
            EXPECT_EQ(m->nbMatched, 7) << "algorithm " << algo << " code " << code;
            expectConsistentMatching(*m, 7, 10);
        }
}

TEST(MCESGreedy, WonCountsThePreservedRelations) {
    // With edge-overlap potentials and no label penalty, every relation two matched arcs
    // share is credited exactly once, whatever the order of the matches.
    for (unsigned s = 1; s <= 6; ++s) {
        auto g1 = randomGraph(9, 20, 100 + s);
        auto g2 = randomGraph(8, 20, 200 + s);
        for (int algo : {0, 2, 5, 9}) {
            QuietOutput quiet;
            seedRandom(s);
            MCESPtr m(new MCES(algo, 2, g1.get(), g2.get(), 0.5f, 1, 0.0, true));
            expectConsistentMatching(*m, 9, 8);
            EXPECT_EQ(m->won, preservedRelations(*g1, *g2, m->M12)) << "algorithm " << algo;
        }
    }
}

TEST(MCESGreedy, GraphLabelCountsAreLeftIntact) {
    QuietOutput quiet;
    auto g1 = randomGraph(6, 12, 31);
    auto g2 = randomGraph(6, 12, 32);
    std::vector<int> before;
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k <= g1->nb_labels; ++k)
            before.push_back(g1->c_in[i][k] + 100 * g1->c_out[i][k]);
    seedRandom(1);
    MCESPtr m(new MCES(1, 2, g1.get(), g2.get(), 0, 1, 0.0, true));
    std::vector<int> after;
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k <= g1->nb_labels; ++k)
            after.push_back(g1->c_in[i][k] + 100 * g1->c_out[i][k]);
    EXPECT_EQ(before, after);
    // A second run on the same graphs sees the same tables.
    MCESPtr again(new MCES(1, 2, g1.get(), g2.get(), 0, 1, 0.0, false));
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_EQ(again->OEdges[i][j], m->OEdges[i][j]);
}

TEST(MCESGreedy, ScanAndFastModesAgreeOnIdenticalGraphs) {
    // Node labels are numbers and the penalty is their distance: the identity is the only
    // pairing that never loses, and both modes must find it.
    const std::vector<Arc> arcs = {{0, 1, "1"}, {1, 2, "2"}, {2, 3, "1"}, {3, 4, "3"},
                                   {4, 0, "1"}, {1, 3, "4"}, {2, 4, "1"}, {2, 4, "2"}};
    auto g1 = buildGraph(numberLabels(5), arcs);
    auto g2 = buildGraph(numberLabels(5), arcs);
    QuietOutput quiet;
    seedRandom(5);
    MCESPtr scan(new MCES(5, 2, g1.get(), g2.get(), 0, 5, -1.0, true));
    std::vector<int> none(5, -1);
    MCESPtr fast(new MCES(5, 2, g1.get(), g2.get(), 0, 5, none.data(), -1.0));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scan->M12[i], i);
        EXPECT_EQ(fast->M12[i], i);
    }
    EXPECT_EQ(scan->won, 8); // eight arcs, two of them folded into one edge
    EXPECT_EQ(fast->won, scan->won);
    EXPECT_TRUE(fast->findfast);
}

TEST(MCESSeeded, KeepsValidSeedsAndSkipsBadOnes) {
    auto g1 = randomGraph(6, 14, 41);
    auto g2 = randomGraph(5, 14, 42);
    std::vector<int> kbt = {2, 7, 2, -1, 0, -3}; // 7 is outside graph 2, the second 2 is taken
    QuietOutput quiet;
    seedRandom(2);
    MCESPtr m(new MCES(2, 2, g1.get(), g2.get(), 0, 2, kbt.data(), 0.0));
    EXPECT_EQ(m->M12[0], 2);
    EXPECT_EQ(m->M12[4], 0);
    EXPECT_NE(m->M21[2], 2);
    expectConsistentMatching(*m, 6, 5);
    EXPECT_EQ(m->won, preservedRelations(*g1, *g2, m->M12));
    EXPECT_NE(quiet.text().find("Seed pair skipped: 1,7"), std::string::npos);
}

TEST(MCESGreedy, EmptyGraphsMatchNothing) {
    auto empty = buildGraph({}, {});
    auto small = randomGraph(4, 6, 51);
    for (int algo = 0; algo <= 9; ++algo) {
        QuietOutput quiet;
        MCESPtr a(new MCES(algo, 123, empty.get(), small.get(), 0, 1, 0.0, true));
        EXPECT_EQ(a->nbMatched, 0);
        EXPECT_EQ(a->won, 0);
        MCESPtr b(new MCES(algo, 80, small.get(), empty.get(), 0, 1, nullptr, 0.0));
        EXPECT_EQ(b->nbMatched, 0);
    }
}
