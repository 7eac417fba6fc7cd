// Random benchmark pairs: agreement, sizes, counters recomputed from the written files,
// reference layout, repeatability and the refused parameter sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "gen/GenGraph.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "tests/gen/GenTestSupport.h"
#include "util/Random.h"

namespace {

/// A written pair read back: both graphs through the node-list reader, the six counters and
/// the correspondence of the reference file.
struct WrittenPair {
    std::unique_ptr<Graph> a;
    std::unique_ptr<Graph> b;
    std::map<std::string, int> counters;
    std::vector<std::pair<int, int>> reference;
    std::vector<std::string> referenceLines;
};

WrittenPair readPair(const std::string& pre) {
    WrittenPair pair;
    pair.a = std::make_unique<Graph>(kNodeListMode, pre + "A.csv");
    pair.b = std::make_unique<Graph>(kNodeListMode, pre + "B.csv");
    pair.referenceLines = readLines(pre + ".csv");
    for (size_t k = 0; k < pair.referenceLines.size(); k++) {
        std::vector<std::string> f = fields(pair.referenceLines[k]);
        if (k < 6)
            pair.counters[f[0]] = std::atoi(f[1].c_str());
        else
            pair.reference.emplace_back(std::atoi(f[0].c_str()), std::atoi(f[1].c_str()));
    }
    return pair;
}

int labelOf(Graph& g, int from, int to) {
    return std::atoi(arcLabel(g, from, to).c_str());
}

/// The planted counters recomputed from the files alone: every ordered pair of common nodes
/// (an undirected pair thus counts twice, as the generator doubles its counters).
std::map<std::string, int> recount(WrittenPair& pair) {
    std::map<std::string, int> c = {{"s", 0}, {"l", 0}, {"f", 0}, {"e", 0}, {"n", 0}, {"v", 0}};
    for (auto [x, y] : pair.reference) {
        int la = std::atoi(pair.a->V[x]->label.c_str());
        int lb = std::atoi(pair.b->V[y]->label.c_str());
        if (la != lb) {
            c["n"] += 1;
            c["v"] += std::abs(la - lb);
        }
    }
    for (auto [x1, y1] : pair.reference) {
        for (auto [x2, y2] : pair.reference) {
            if (x1 == x2) continue;
            int a = labelOf(*pair.a, x1, x2);
            int b = labelOf(*pair.b, y1, y2);
            if (a != b) {
                c[a != 0 && b != 0 ? "l" : "s"] += 1;
                c["e"] += std::abs(a - b);
            } else if (a != 0) {
                c["f"] += 1;
            }
        }
    }
    return c;
}

class GenGraphTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

TEST_F(GenGraphTest, FullAgreementGivesTheSameGraphUpToRenumbering) {
    GenGraph g(30, 3, 1, 4, 1, 3, 0.5, 0, 0, "pair", 7, false);
    WrittenPair pair = readPair(g.prefix("pair"));
    for (const char* counter : {"s", "l", "e", "n", "v"})
        EXPECT_EQ(pair.counters[counter], 0);
    EXPECT_GT(pair.counters["f"], 0);
    EXPECT_EQ(pair.counters["f"], g.m1);
    EXPECT_EQ(g.m1, g.m2);
    ASSERT_EQ(pair.reference.size(), 30u);
    for (auto [x1, y1] : pair.reference) {
        EXPECT_EQ(pair.a->V[x1]->label, pair.b->V[y1]->label);
        for (auto [x2, y2] : pair.reference) {
            if (x1 == x2) continue;
            EXPECT_EQ(arcLabel(*pair.a, x1, x2), arcLabel(*pair.b, y1, y2));
        }
    }
    EXPECT_EQ(pair.a->edges, pair.b->edges);
}

TEST_F(GenGraphTest, ExtraPercentagesSetTheNodeCounts) {
    GenGraph none(20, 2, 0.8, 2, 1, 2, 1, 0, 0, "none", 3, false);
    WrittenPair plain = readPair(none.prefix("none"));
    EXPECT_EQ(plain.a->vertices, 20);
    EXPECT_EQ(plain.b->vertices, 20);
    // 20 + floor(20 * 50 / 100) and 20 + floor(20 * 12 / 100).
    GenGraph extra(20, 2, 0.8, 2, 1, 2, 1, 50, 12, "extra", 3, false);
    WrittenPair grown = readPair(extra.prefix("extra"));
    EXPECT_EQ(grown.a->vertices, 30);
    EXPECT_EQ(grown.b->vertices, 22);
    EXPECT_EQ(grown.reference.size(), 20u);
}

TEST_F(GenGraphTest, CountersAgreeWithTheWrittenFiles) {
    struct Case {
        const char* name;
        bool undirected;
        bool nodeLabels;
    };
    for (Case c : {Case{"directed", false, true}, Case{"undirected", true, true},
                   Case{"arcsonly", false, false}}) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<GenGraph> g;
        if (c.nodeLabels)
            g = std::make_unique<GenGraph>(25, 4, 0.6, 3, 0.7, 4, 0.8, 20, 8, c.name, 11,
                                           c.undirected);
        else
            g = std::make_unique<GenGraph>(25, 4, 0.6, 4, 0.8, 20, 8, c.name, 11, c.undirected);
        WrittenPair pair = readPair(g->prefix(c.name));
        EXPECT_EQ(recount(pair), pair.counters);
        EXPECT_EQ(pair.counters["s"], g->struct_errors);
        EXPECT_EQ(pair.counters["f"], g->score);
        // The header arc counts are the arc lines written.
        EXPECT_EQ(pair.a->edges, g->m1);
        EXPECT_EQ(pair.b->edges, g->m2);
    }
}

TEST_F(GenGraphTest, UndirectedPairsAreSymmetricWithEvenCounters) {
    for (int seed : {1, 2, 3, 4}) {
        GenGraph g(15, 3, 0.5, 3, 1, 3, 1, 20, 20, "u", seed, true);
        for (int counter : {g.struct_errors, g.label_errors, g.score, g.edge_errors})
            EXPECT_EQ(counter % 2, 0) << "seed " << seed;
        WrittenPair pair = readPair(g.prefix("u"));
        for (Graph* side : {pair.a.get(), pair.b.get()})
            for (Edge* e : side->E)
                EXPECT_EQ(arcLabel(*side, e->to, e->from), e->label);
    }
}

TEST_F(GenGraphTest, ReferenceHoldsSixCountersThenACorrespondence) {
    GenGraph g(40, 2, 0.9, 3, 1, 2, 1, 10, 25, "ref", 5, false);
    WrittenPair pair = readPair(g.prefix("ref"));
    ASSERT_EQ(pair.referenceLines.size(), 46u);
    const char* order[6] = {"s", "l", "f", "e", "n", "v"};
    for (int k = 0; k < 6; k++)
        EXPECT_EQ(fields(pair.referenceLines[k])[0], order[k]);
    std::set<int> left;
    std::set<int> right;
    for (auto [x, y] : pair.reference) {
        EXPECT_TRUE(x >= 0 && x < 44 && y >= 0 && y < 50);
        left.insert(x);
        right.insert(y);
    }
    EXPECT_EQ(left.size(), 40u);
    EXPECT_EQ(right.size(), 40u);
}

TEST_F(GenGraphTest, LabelsStayInTheirRanges) {
    GenGraph g(30, 5, 0.3, 5, 0.6, 4, 0.5, 30, 30, "range", 9, false);
    WrittenPair pair = readPair(g.prefix("range"));
    for (Graph* side : {pair.a.get(), pair.b.get()}) {
        for (Vertex* v : side->V) {
            int label = std::atoi(v->label.c_str());
            EXPECT_TRUE(label >= 1 && label <= 5) << v->label;
        }
        for (Edge* e : side->E) {
            int label = std::atoi(e->label.c_str());
            EXPECT_TRUE(label >= 1 && label <= 4) << e->label;
        }
    }
}

TEST_F(GenGraphTest, SameSeedRepeatsThePair) {
    std::string first;
    {
        GenGraph g(20, 3, 0.7, 3, 1, 3, 1, 10, 10, "rep", 21, false);
        first = readText(g.prefix("rep") + "A.csv") + readText(g.prefix("rep") + "B.csv") +
                readText(g.prefix("rep") + ".csv");
    }
    GenGraph again(20, 3, 0.7, 3, 1, 3, 1, 10, 10, "rep", 21, false);
    const std::string pre = again.prefix("rep");
    EXPECT_EQ(readText(pre + "A.csv") + readText(pre + "B.csv") + readText(pre + ".csv"), first);
    GenGraph other(20, 3, 0.7, 3, 1, 3, 1, 10, 10, "rep", 22, false);
    const std::string pre2 = other.prefix("rep");
    EXPECT_NE(readText(pre2 + "A.csv"), readText(pre + "A.csv"));
}

namespace {

/// Forward Fisher-Yates over 0..size-1 with `steps` swaps, drawing as the generator does.
std::vector<int> forwardShuffle(int size, int steps) {
    std::vector<int> order(static_cast<size_t>(size));
    for (int k = 0; k < size; k++)
        order[static_cast<size_t>(k)] = k;
    for (int k = 0; k < steps; k++)
        std::swap(order[static_cast<size_t>(k)],
                  order[static_cast<size_t>(k + randDraw() % (size - k))]);
    return order;
}

/// The renumbering written in a graph file: the new number on each node line, in order.
std::vector<int> writtenNumbers(const std::string& path) {
    const std::vector<std::string> lines = readLines(path);
    const int nodes = std::atoi(fields(lines.at(0))[0].c_str());
    std::vector<int> numbers;
    for (int i = 1; i <= nodes; i++)
        numbers.push_back(std::atoi(fields(lines.at(static_cast<size_t>(i)))[0].c_str()));
    return numbers;
}

} // namespace

TEST_F(GenGraphTest, RenumberingsFollowTheArcDrawsAndGraphTwoStopsOneSwapShort) {
    // Six common nodes, no extra ones: one draw per node label pair and per ordered node
    // pair come first, then n - 1 swaps for graph 1 and n - 2 for graph 2.
    const int n = 6;
    const int before = n + n * (n - 1);
    for (int seed = 1; seed <= 40; seed++) {
        seedRandom(static_cast<unsigned>(seed));
        for (int k = 0; k < before; k++)
            randDraw();
        const std::vector<int> first = forwardShuffle(n, n - 1);
        const std::vector<int> second = forwardShuffle(n, n - 2);
        // Only a seed whose skipped last swap would have exchanged the last two nodes tells a
        // shortened shuffle from a full one.
        if (randDraw() % 2 == 0) continue;
        const std::string name = "fy" + std::to_string(seed);
        GenGraph g(n, 2, 0.5, 2, 1, 2, 1, 0, 0, name, seed, false);
        const std::string pre = g.prefix(name);
        EXPECT_EQ(writtenNumbers(pre + "A.csv"), first);
        EXPECT_EQ(writtenNumbers(pre + "B.csv"), second);
        std::vector<int> full = second;
        std::swap(full[n - 2], full[n - 1]);
        EXPECT_NE(writtenNumbers(pre + "B.csv"), full);
        return;
    }
    FAIL() << "no seed tells the two shuffles apart";
}

TEST_F(GenGraphTest, ASingleLabelWithADecayWritesNothing) {
    GenGraph nodes(10, 2, 0.5, 1, 0.5, 2, 1, 0, 0, "bad", 1, false);
    GenGraph arcs(10, 2, 0.5, 2, 1, 1, 0.5, 0, 0, "bad", 1, false);
    GenGraph legacy(10, 0.2, 0.5, 1, 0.5, "bad", 1);
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}

TEST_F(GenGraphTest, SingleLabelUndirectedPairsAlsoWriteMatrices) {
    GenGraph g(12, 3, 0.7, 1, 1, 1, 1, 25, 0, "mat", 4, true);
    const std::string pre = g.prefix("mat");
    WrittenPair pair = readPair(pre);
    std::vector<std::string> rows = readLines(pre + "mA.csv");
    ASSERT_EQ(rows.size(), 15u);
    for (int r = 0; r < 15; r++) {
        std::string expected;
        for (int c = 0; c < 15; c++)
            expected += std::to_string(labelOf(*pair.a, r, c)) + "  ";
        EXPECT_EQ(rows[r], expected);
    }
    // One node label: every label distance is 0.
    std::vector<std::string> distances = readLines(pre + "C.csv");
    ASSERT_EQ(distances.size(), 15u);
    std::string zeros;
    for (int c = 0; c < 12; c++)
        zeros += "0 ";
    for (const std::string& row : distances)
        EXPECT_EQ(row, zeros);
    EXPECT_EQ(readLines(pre + "mB.csv").size(), 12u);
}

TEST_F(GenGraphTest, LegacyFormsKeepTheirCorrespondence) {
    GenGraph labelled(20, 0.2, 0.6, 3, 1, "leg", 8);
    WrittenPair pair = readPair(labelled.prefix("leg"));
    EXPECT_EQ(pair.a->vertices, 20);
    std::map<std::string, int> c = recount(pair);
    for (const char* counter : {"s", "l", "f"})
        EXPECT_EQ(c[counter], pair.counters[counter]);
    EXPECT_EQ(pair.counters["e"], 0);

    GenGraph plain(20, 0.2, 0.6, "plain", 8);
    WrittenPair unlabelled = readPair(plain.prefix("plain"));
    c = recount(unlabelled);
    for (const char* counter : {"s", "l", "f"})
        EXPECT_EQ(c[counter], unlabelled.counters[counter]);
    EXPECT_EQ(unlabelled.counters["l"], 0);
    for (Edge* e : unlabelled.a->E)
        EXPECT_EQ(e->label, "1");
}

TEST_F(GenGraphTest, EveryPairIsAppendedToTheRunSummaries) {
    GenGraph first(10, 2, 0.5, 2, 1, 2, 1, 0, 0, "s1", 1, false);
    GenGraph second(10, 2, 0.5, 2, 1, 2, 1, 0, 0, "s2", 1, false);
    std::vector<std::string> bat = readLines("bat.txt");
    ASSERT_EQ(bat.size(), 3u); // each entry starts with a line break
    EXPECT_EQ(bat[2],
              "exe -o " + second.prefix("s2") + "A.csv -n " + second.prefix("s2") + "B.csv -s 1");
    std::vector<std::string> scores = readLines("score.txt");
    ASSERT_EQ(scores.size(), 3u);
    EXPECT_EQ(scores[1], first.prefix("s1") + "," + std::to_string(first.score));
}

TEST(GenGraphDate, HasSixNumericFields) {
    std::vector<std::string> parts;
    std::string date = GenGraph::getMeDate();
    size_t start = 0;
    for (size_t cut = date.find('_'); cut != std::string::npos; cut = date.find('_', start)) {
        parts.push_back(date.substr(start, cut - start));
        start = cut + 1;
    }
    parts.push_back(date.substr(start));
    ASSERT_EQ(parts.size(), 6u);
    for (const std::string& part : parts)
        EXPECT_EQ(part.find_first_not_of("0123456789"), std::string::npos) << date;
    EXPECT_GE(std::atoi(parts[0].c_str()), 120); // years since 1900
}

} // namespace
