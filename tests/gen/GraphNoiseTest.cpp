// Noisy benchmark pairs: epsilon 0 as a pure renumbering, label bounds, the log checked
// against both graphs, and the written files read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "gen/GraphNoise.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/Vertex.h"
#include "tests/gen/GenTestSupport.h"
#include "util/Random.h"

namespace {

int value(const std::string& label) {
    return std::atoi(label.c_str());
}

class GraphNoiseTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

TEST_F(GraphNoiseTest, EpsilonZeroIsAPureRenumbering) {
    seedRandom(4);
    GraphNoise pair(1, 12, 0);
    EXPECT_EQ(pair.unChangedEdges, 12 * 11);
    std::set<int> images;
    for (int m = 0; m < 12; m++) {
        int o = pair.old_numbers[m];
        images.insert(o);
        EXPECT_EQ(pair.new_numbers[o], m);
        EXPECT_EQ(pair.noisy->V[m]->label, pair.original->V[o]->label);
        for (int k = 0; k < 12; k++)
            EXPECT_EQ(arcLabel(*pair.noisy, m, k),
                      arcLabel(*pair.original, o, pair.old_numbers[k]));
    }
    EXPECT_EQ(images.size(), 12u);
    std::vector<std::string> log = readLines("./benchmark/log_1.txt");
    ASSERT_EQ(log.size(), 15u);
    EXPECT_EQ(log[0], "nd,0");
    EXPECT_EQ(log[1], "esi,132");
    EXPECT_EQ(log[2], "i,0");
}

TEST_F(GraphNoiseTest, LabelsStayWithinBoundsAndAreNeverRaised) {
    seedRandom(8);
    const int epsilon = 30;
    GraphNoise pair(2, 20, epsilon);
    for (Graph* g : {pair.original, pair.noisy}) {
        for (Vertex* v : g->V)
            EXPECT_TRUE(value(v->label) >= 0 && value(v->label) <= 100);
        for (Edge* e : g->E)
            EXPECT_TRUE(value(e->label) > 0 && value(e->label) <= 100);
    }
    int unchanged = 0;
    for (int m = 0; m < 20; m++) {
        int before = value(pair.original->V[pair.old_numbers[m]]->label);
        int after = value(pair.noisy->V[m]->label);
        EXPECT_LE(after, before);
        EXPECT_GE(after, std::max(0, before - 2 * epsilon));
        for (int k = 0; k < 20; k++) {
            if (k == m) continue;
            int d = value(arcLabel(*pair.original, pair.old_numbers[m], pair.old_numbers[k]));
            int h = value(arcLabel(*pair.noisy, m, k));
            EXPECT_LE(h, d);
            unchanged += h == d ? 1 : 0;
        }
    }
    EXPECT_EQ(pair.unChangedEdges, unchanged);
}

TEST_F(GraphNoiseTest, LogDescribesEveryLoweredArc) {
    seedRandom(15);
    GraphNoise pair(3, 15, 50);
    bool fellToZero = false;
    size_t modified = 0;
    for (const std::string& line : readLines("./benchmark/log_3.txt")) {
        std::vector<std::string> f = fields(line);
        ASSERT_NE(f[0], "a") << "noise never raises a label";
        if (f[0] != "m") continue;
        modified++;
        int i = std::stoi(f[3]);
        int j = std::stoi(f[4]);
        EXPECT_EQ(f[1], arcLabel(*pair.original, pair.old_numbers[i], pair.old_numbers[j]));
        EXPECT_EQ(f[2], arcLabel(*pair.noisy, i, j));
        fellToZero = fellToZero || f[2].empty();
    }
    EXPECT_TRUE(fellToZero);
    EXPECT_EQ(modified, static_cast<size_t>(pair.modifiedEdges));
}

TEST_F(GraphNoiseTest, WrittenGraphsReadBackWithTheNodeListReader) {
    seedRandom(21);
    GraphNoise pair(4, 10, 5);
    for (Graph* made : {pair.original, pair.noisy}) {
        Graph back(kNodeListMode, "./benchmark/" + made->name + ".txt");
        ASSERT_EQ(back.vertices, 10);
        EXPECT_EQ(back.edges, made->edges);
        for (int i = 0; i < 10; i++) {
            EXPECT_EQ(back.V[i]->label, made->V[i]->label);
            for (int j = 0; j < 10; j++)
                EXPECT_EQ(arcLabel(back, i, j), arcLabel(*made, i, j));
        }
    }
}

} // namespace
