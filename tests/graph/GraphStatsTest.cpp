// Statistics and reports: distributions against hand counts, the dataset rows, the mode-0
// writer read back by the mode-0 reader, the matrix file, metric files and local ranks.
#include <gtest/gtest.h>

#include <cmath>

#include "graph/Kinds.h"
#include "tests/graph/ReaderTestSupport.h"
#include "util/Console.h"

namespace {

/// Complete loop-free digraph on three nodes, one arc per ordered pair.
const char* const kTriangle = "3,6\n0,a\n1,b\n2,c\n0,1,1\n0,2,1\n1,0,1\n1,2,1\n2,0,1\n2,1,1\n";
/// A loop, a folded pair 1 then 4, a plain arc and the isolated node 3.
const char* const kMixed = "4,4\n0,a\n1,b\n2,c\n3,d\n0,0,2\n0,1,1\n0,1,4\n1,2,1\n";

std::unique_ptr<Graph> quietGraph(const std::string& file, const std::string& text) {
    writeText(file, text);
    return readGraph(kNodeListMode, file).g;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char ch : text) {
        if (ch == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += ch;
        }
    }
    return lines;
}

} // namespace

using GraphStats = ScratchTest;

TEST_F(GraphStats, CompleteTriangleDistributions) {
    auto g = quietGraph("tri.txt", kTriangle);
    ConsoleCapture quiet;
    g->collectStats();
    // 9 ordered pairs, 6 of them arcs.
    EXPECT_EQ(g->label_distrib[0], 3);
    EXPECT_EQ(g->label_distrib[1], 6);
    EXPECT_EQ(g->in_distrib[2], 3);
    EXPECT_EQ(g->all_distrib[4], 3);
    EXPECT_DOUBLE_EQ(g->mean_in_distrib, 2.0);
    EXPECT_DOUBLE_EQ(g->std_in_distrib, 0.0);
    EXPECT_EQ(g->loops, 0);
    EXPECT_EQ(g->multi_arcs, 0);
    EXPECT_EQ(g->nbNodeLabels, 3);
}

TEST_F(GraphStats, LoopsMultiArcsIsolatedNodesAndLabelMeans) {
    auto g = quietGraph("mixed.txt", kMixed);
    ConsoleCapture capture;
    g->collectStats();
    std::string out = capture.text();
    EXPECT_EQ(g->loops, 1);
    EXPECT_EQ(g->multi_arcs, 1);
    EXPECT_EQ(g->label_distrib[0], 16 - 3);
    EXPECT_EQ(g->label_distrib[4], 1);
    EXPECT_EQ(g->multi_distrib[2], 1);
    // Label digits 2, 1, 4, 1: mean 2, population deviation sqrt(1.5).
    EXPECT_DOUBLE_EQ(g->mean_label_distrib, 2.0);
    EXPECT_NEAR(g->std_label_distrib, std::sqrt(1.5), 1e-12);
    EXPECT_EQ(g->all_distrib[0], 1);
    EXPECT_EQ(g->min_all_distrib, 0);
    EXPECT_NE(out.find("\n [;2;;14;;1;]\n"), std::string::npos);
    EXPECT_NE(out.find("3:d\t0\t0\t0\n"), std::string::npos);
    EXPECT_EQ(readText("logs/isolated_mixed.csv"), "3,d\n");
}

TEST_F(GraphStats, MinimumDegreeIsTheSmallestDegreeOfTheFinishedGraph) {
    // Every node of a 3-cycle has in-degree 1, although node 0 had none when 0->1 went in.
    auto g = quietGraph("cycle.txt", "3,3\n0,a\n1,b\n2,c\n0,1,1\n1,2,1\n2,0,1\n");
    ConsoleCapture quiet;
    g->collectStats();
    EXPECT_EQ(g->min_in_distrib, 1);
    EXPECT_EQ(g->min_out_distrib, 1);
    EXPECT_EQ(g->min_all_distrib, 2);
}

TEST_F(GraphStats, GraphDetailsRowAndDistributionFile) {
    auto g = quietGraph("tri.txt", kTriangle);
    ConsoleCapture quiet;
    g->graphDetails();
    g->graphDetails(); // the summary table is appended to
    const std::string row = "tri,3,6,3,1,0,0,0,2,2,0,2,2,2,0,2,4,4,0,4,1,0,1,0,1,\n";
    EXPECT_EQ(readText("graphs/all_graphs.csv"), row + row);
    EXPECT_EQ(readText("graphs/tri.csv"),
              row + "\nIn Distribution\n0 <> 0,1 <> 0,2 <> 3,\nOut Distribution\n2 <> 3,\nEdge "
                    "Distribution\n4 <> 3,");
}

TEST_F(GraphStats, DatasetDetailsUseSemicolonsAndAHeader) {
    auto g = quietGraph("mixed.txt", kMixed);
    ConsoleCapture quiet;
    g->mozillaDetails();
    std::string own = readText("graphs/mixed.csv");
    EXPECT_EQ(own.rfind("Name;|V|;|E|;", 0), 0u);
    EXPECT_NE(own.find("\nLabel Distribution\n0 <> 13;1 <> 2;2 <> 1;4 <> 1;"), std::string::npos);
    EXPECT_NE(own.find("\nMulti-Arc Distribution\n1 <> 2;2 <> 1;"), std::string::npos);
    std::string versions = readText("graphs/all_versions.csv");
    EXPECT_EQ(versions.rfind("mixed;4;3;4;4;1;1;1;", 0), 0u);
    EXPECT_EQ(versions, readText("graphs/all_graphs.csv"));
}

TEST_F(GraphStats, WrittenGraphReadsBackWithFoldedArcsAndWeights) {
    auto g = quietGraph("mixed.txt", kMixed);
    g->V[2]->weight[0] = 1.5f;
    g->getEdge(1, 2)->weight[0] = 0.25f;
    g->write(0, "out/copy.txt");
    auto copy = readGraph(kNodeListMode, "out/copy.txt").g;
    ASSERT_EQ(copy->vertices, g->vertices);
    ASSERT_EQ(copy->edges, g->edges);
    for (int i = 0; i < g->vertices; i++)
        EXPECT_EQ(copy->V[i]->label, g->V[i]->label);
    for (Edge* e : g->E) {
        Edge* back = copy->getEdge(e->from, e->to);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->label, e->label);
    }
    EXPECT_EQ(copy->getEdge(0, 1)->labels[4], 1);
    EXPECT_FLOAT_EQ(copy->V[2]->weight[0], 1.5f);
    EXPECT_FLOAT_EQ(copy->getEdge(1, 2)->weight[0], 0.25f);
}

TEST_F(GraphStats, WriteStopsWeightsAtTheFirstNegativeOne) {
    auto g = quietGraph("tri.txt", kTriangle);
    g->V[0]->weight[0] = -1;
    g->V[1]->weight[0] = 2;
    g->V[1]->weight[1] = -1;
    g->write(kNodeListMode, "w.txt");
    std::vector<std::string> lines = splitLines(readText("w.txt"));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "3,6");
    EXPECT_EQ(lines[1], "0,a");
    EXPECT_EQ(lines[2], "1,b,2");
    EXPECT_EQ(lines[3], "2,c,0,0,0,0,0");
    EXPECT_EQ(lines[4], "0,1,1,0,0,0,0,0");

    g->write(kBinaryMode, "other.txt");
    EXPECT_FALSE(std::filesystem::exists("other.txt"));
}

TEST_F(GraphStats, MatrixFileShowsLabelsAndZeros) {
    auto g = quietGraph("mixed.txt", kMixed);
    g->toMatrixFile();
    EXPECT_EQ(readText("mmixed"), "2  14  0  0  \n0  0  1  0  \n0  0  0  0  \n0  0  0  0  \n");
}

TEST_F(GraphStats, ConsoleListingShowsEveryNodeAndArc) {
    auto g = quietGraph("mixed.txt", kMixed);
    ConsoleCapture capture;
    g->print();
    std::string out = capture.text();
    EXPECT_EQ(out.rfind("\n\n PRINT ZE GRAPH \n\n", 0), 0u);
    for (Vertex* v : g->V)
        EXPECT_NE(out.find("\n" + std::to_string(v->number) + ", " + v->label + ", "),
                  std::string::npos);
    // Every Edge once, the folded pair with both of its labels.
    for (const char* arc : {"\n 0>0( 2 ); \n", "\n 0>1( 14 ); \n", "\n 1>2( 1 ); \n"})
        EXPECT_EQ(occurrences(out, arc), 1) << arc;
}

TEST_F(GraphStats, MetricFilesAndLocalRanks) {
    writeText("config.txt", "ew,1,1\n");
    auto g = quietGraph("pair.txt", "3,1\n0,a\n1,b\n2,c\n0,1,1\n");
    ConsoleCapture capture;
    // The neighbourhood of 0 and of 1 is the whole arc 0->1: its ranks are those of the
    // two-node graph, which favour the target.
    double local0 = g->getLocalRank(0, 1);
    double local1 = g->getLocalRank(1, 1);
    double isolated = g->getLocalRank(2, 1);
    double unknown = g->getLocalRank(9, 1);
    g->printU();
    std::string out = capture.text();
    EXPECT_GT(local1, local0);
    EXPECT_NEAR(local0 + local1, 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(isolated, 1.0);
    EXPECT_DOUBLE_EQ(unknown, 1.0);
    EXPECT_NE(out.find("\n ***___MiniGraph___*** : 2 \n2,1\n"), std::string::npos);

    std::vector<std::string> metrics = splitLines(readText("logs/pair_metrics.csv"));
    ASSERT_EQ(metrics.size(), 3u);
    ASSERT_NE(g->local_u, nullptr);
    EXPECT_DOUBLE_EQ(g->local_u[1], local1);
    EXPECT_EQ(metrics[2].rfind("2,c,", 0), 0u);
    EXPECT_EQ(occurrences(metrics[0], ","), 7);

    ConsoleCapture quiet;
    g->printU2();
    metrics = splitLines(readText("logs/pair_metrics.csv"));
    ASSERT_EQ(metrics.size(), 3u);
    // number, label, u, one rank per label code 1..nb_labels, three degrees.
    EXPECT_EQ(occurrences(metrics[0], ","), 2 + g->nb_labels + 3);
}

TEST_F(GraphStats, ReportsOnAnUnrankedGraphWriteNothing) {
    Graph g;
    ConsoleCapture capture;
    g.printU();
    g.printU2();
    std::string out = capture.text();
    EXPECT_NE(out.find("metric file not written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("logs/_metrics.csv"));
}
