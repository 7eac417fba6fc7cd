// Graph store: arc insertion with folding and rejection, adjacency queries, neighbourhood
// tables, and the vertex and edge helpers.
#include <gtest/gtest.h>

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "tests/graph/GraphTestSupport.h"
#include "util/Console.h"

namespace {

std::string insertCapturing(Graph& g, Edge* e) {
    ConsoleCapture capture;
    g.insertEdge(e);
    return capture.text();
}

} // namespace

TEST(GraphInsert, ParallelArcsFoldIntoOneEdge) {
    auto g = makeGraph(4);
    g->edge_weight[4] = 2.5;
    arc(*g, 2, 3, "1");
    arc(*g, 2, 3, "4");
    ASSERT_EQ(g->E.size(), 1u);
    Edge* e = g->getEdge(2, 3);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->label, "14");
    EXPECT_EQ(e->labels[1], 1);
    EXPECT_EQ(e->labels[4], 1);
    EXPECT_EQ(e->labels[0], 0);
    EXPECT_FLOAT_EQ(e->label_weight, 3.5f); // weight of code 1 (1.0) + code 4 (2.5)
    EXPECT_EQ(g->V[2]->nb_out, 2);
    EXPECT_EQ(g->V[3]->nb_in, 2);
    EXPECT_FLOAT_EQ(g->V[2]->sum_out, 3.5f);
    EXPECT_EQ(g->V[2]->out.size(), 1u);
    EXPECT_EQ(g->nb_labels, 4);
    EXPECT_EQ(g->max_multi, 2);
}

TEST(GraphInsert, LoopListedOnceAndNoNeighbour) {
    auto g = makeGraph(6);
    arc(*g, 5, 5, "2");
    Vertex* v = g->V[5];
    EXPECT_EQ(v->edges.size(), 1u);
    EXPECT_EQ(v->in.size(), 1u);
    EXPECT_EQ(v->out.size(), 1u);
    ConsoleCapture capture;
    g->fillNeighbors();
    EXPECT_EQ(capture.text(), "\n Fill Neighbors");
    EXPECT_TRUE(g->neighbors[5].empty());
}

TEST(GraphInsert, GetEdgeDoesNotCreateCells) {
    auto g = makeGraph(4);
    arc(*g, 2, 3, "1");
    int cells = g->G->count();
    EXPECT_EQ(g->getEdge(3, 2), nullptr);
    EXPECT_EQ(g->getEdge(-1, 2), nullptr);
    EXPECT_EQ(g->G->count(), cells);
    EXPECT_EQ(g->areNeighbors(3, 2), 1);
    EXPECT_EQ(g->areNeighbors(0, 1), 0);
    EXPECT_EQ(g->areNeighbors(3, 4), 0); // 4 is not a node
    EXPECT_EQ(g->areNeighbors(-1, 2), 0);
}

TEST(GraphInsert, CarriageReturnIsStrippedWithoutWarning) {
    auto g = makeGraph(2);
    std::string out = insertCapturing(*g, new Edge(0, 1, "4\r"));
    EXPECT_EQ(out, "");
    EXPECT_EQ(g->getEdge(0, 1)->label, "4");
}

TEST(GraphInsert, LongLabelWarnsAndIsStillInserted) {
    auto g = makeGraph(2);
    std::string out = insertCapturing(*g, new Edge(0, 1, "04"));
    EXPECT_EQ(out, "\n ****************\n ***04***\n ****************");
    ASSERT_NE(g->getEdge(0, 1), nullptr);
    EXPECT_EQ(g->getEdge(0, 1)->labels[4], 1);
}

TEST(GraphInsert, ArcsToMissingNodesAreDropped) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    std::string out = insertCapturing(*g, new Edge(0, 7, "2"));
    EXPECT_EQ(out, "\n Node does not exist: 0,7(2) !!!!");
    out = insertCapturing(*g, new Edge(-1, 2, "2"));
    EXPECT_EQ(out, "\n Node does not exist: -1,2(2) !!!!");
    EXPECT_EQ(g->E.size(), 1u);
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->nb_labels, 1);
}

TEST(GraphInsert, BadLabelsAreDroppedWithoutCounterChanges) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    for (const char* bad : {"x", "", " 3", "12", "-1"}) {
        std::string out = insertCapturing(*g, new Edge(0, 1, bad));
        EXPECT_NE(out.find("Bad arc label"), std::string::npos) << bad;
        EXPECT_EQ(out.find('\n', 1), std::string::npos) << "one line for " << bad;
    }
    Edge* e = g->getEdge(0, 1);
    EXPECT_EQ(e->label, "1");
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->V[1]->nb_in, 1);
    EXPECT_EQ(g->nb_labels, 1);
}

TEST(GraphInsert, WorksWithoutAdjacencyMatrix) {
    Graph g;
    for (int i = 0; i < 3; i++)
        g.V.push_back(new Vertex(i, "v"));
    g.vertices = 3;
    g.edge_weight[1] = 1;
    arc(g, 0, 1, "1");
    arc(g, 0, 1, "1");
    ASSERT_NE(g.getEdge(0, 1), nullptr);
    EXPECT_EQ(g.getEdge(0, 1)->label, "11");
    EXPECT_EQ(g.getEdge(1, 0), nullptr);
    EXPECT_EQ(g.E.size(), 1u);
}

TEST(GraphInsert, DegreeExtremesFollowInsertions) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    arc(*g, 0, 2, "1");
    EXPECT_EQ(g->max_out_distrib, 2);
    EXPECT_EQ(g->max_in_distrib, 1);
    EXPECT_EQ(g->min_in_distrib, 0); // node 0 has no incoming arc
    EXPECT_EQ(g->max_all_distrib, 2);
    EXPECT_EQ(g->min_multi, 1);
}

TEST(GraphInsert, ReinitEdgesKeepsNodesAndCounters) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 2, "2");
    g->reinitEdges();
    EXPECT_TRUE(g->E.empty());
    EXPECT_EQ(g->G->count(), 0);
    EXPECT_EQ(g->getEdge(0, 1), nullptr);
    EXPECT_TRUE(g->V[1]->edges.empty());
    EXPECT_EQ(g->V[0]->nb_out, 1);
    arc(*g, 0, 1, "3");
    EXPECT_EQ(g->getEdge(0, 1)->label, "3");
    EXPECT_EQ(g->E.size(), 1u);
}

TEST(GraphNeighbours, RelationsDescribeEachNeighbour) {
    auto g = makeGraph(3);
    g->V[1]->label = "b";
    g->V[2]->label = "b";
    arc(*g, 0, 1, "1");
    arc(*g, 1, 0, "2");
    arc(*g, 0, 2, "3");
    arc(*g, 0, 2, "3");
    ConsoleCapture capture;
    g->fillNeighborsAndRelations();
    std::string out = capture.text();
    EXPECT_NE(out.find("\n\n\n3\n\n\n"), std::string::npos); // labels n0 and b, plus one
    EXPECT_EQ(g->nbNodeLabels, 3);
    EXPECT_EQ(g->c_out[0][1], 1);
    EXPECT_EQ(g->c_out[0][3], 2); // both folded arcs count
    EXPECT_EQ(g->c_in[0][2], 1);
    EXPECT_EQ(g->c_in[2][3], 2);
    EXPECT_EQ(g->neighbors[0], (std::set<int>{1, 2}));
    EXPECT_EQ(g->relations[0]["2/1"], 1);
    EXPECT_EQ(g->relations[0]["/33"], 1);
    EXPECT_EQ(g->relations[2]["33/"], 1);
    EXPECT_EQ(g->NLabels[0]["b"], 2);
    EXPECT_EQ(g->Nrelations[0]["2/1/b"], 1);
    EXPECT_EQ(g->Nrelations[0]["/33/b"], 1);
}

TEST(GraphNeighbours, RebuildingTablesAfterMoreArcs) {
    auto g = makeGraph(3);
    arc(*g, 0, 1, "1");
    ConsoleCapture quiet;
    g->fillNeighborsAndRelations();
    arc(*g, 1, 2, "7");
    g->fillNeighborsAndRelations();
    EXPECT_EQ(g->c_out[1][7], 1);
    EXPECT_EQ(g->neighbors[2], (std::set<int>{1}));
}

TEST(GraphNorm, SpecialNormIsL1Distance) {
    Graph g;
    double x[] = {1.0, -2.0, 0.5};
    double y[] = {0.0, 1.0, 0.5};
    EXPECT_DOUBLE_EQ(g.specialNorm(x, y, 3), 4.0);
    EXPECT_DOUBLE_EQ(g.specialNorm(x, y, 0), 0.0);
}

TEST(EdgeLabels, CompareIgnoresCodeZero) {
    auto g = makeGraph(4);
    arc(*g, 0, 1, "0");
    arc(*g, 0, 1, "3");
    arc(*g, 2, 3, "3");
    Edge* a = g->getEdge(0, 1);
    Edge* b = g->getEdge(2, 3);
    EXPECT_EQ(a->compare(b, 9), 2);
    EXPECT_EQ(a->compare(nullptr, 9), -1);
    arc(*g, 2, 3, "5");
    EXPECT_EQ(a->compare(b, 9), 1);
    EXPECT_EQ(a->compare(b, 4), 2); // code 5 is beyond the compared range
}

TEST(EdgeLabels, GetLabel2WritesCounts) {
    auto g = makeGraph(2);
    arc(*g, 0, 1, "1");
    arc(*g, 0, 1, "3");
    arc(*g, 0, 1, "3");
    EXPECT_EQ(g->getEdge(0, 1)->getLabel2(3), "102");
    Edge bare(0, 1, "1");
    EXPECT_EQ(bare.getLabel2(2), "00"); // counters not yet allocated
}

TEST(EdgeLabels, DuplicateCopiesCountersNotWeights) {
    float wt[] = {3, 4, 0, 0, 0};
    Edge original(1, 2, "4", wt);
    original.number = 7;
    original.type = kMethodType;
    original.labels = new short[kLabelCodes]();
    original.labels[4] = 2;
    Edge* copy = original.duplicate();
    EXPECT_EQ(copy->number, 7);
    EXPECT_EQ(copy->from, 1);
    EXPECT_EQ(copy->to, 2);
    EXPECT_EQ(copy->type, kMethodType);
    EXPECT_EQ(copy->label, "4");
    EXPECT_EQ(copy->labels[4], 2);
    EXPECT_NE(copy->labels, original.labels);
    EXPECT_EQ(copy->weight[0], 0);
    copy->labels[4] = 9;
    EXPECT_EQ(original.labels[4], 2);
    delete copy;
}

TEST(Weights, SetWeightStopsAtFirstZero) {
    float wt[] = {0.5f, 0, 7, 0, 0};
    Vertex v(0, "a", wt);
    EXPECT_FLOAT_EQ(v.weight[0], 0.5f);
    EXPECT_FLOAT_EQ(v.weight[1], 0);
    EXPECT_FLOAT_EQ(v.weight[2], 0);
    Edge e(0, 1, "1", wt);
    EXPECT_FLOAT_EQ(e.weight[0], 0.5f);
    EXPECT_FLOAT_EQ(e.weight[2], 0);
    e.addWeight(2, 3);
    e.addWeight(5, 3); // replaces, does not add
    EXPECT_FLOAT_EQ(e.weight[3], 5);
    e.addWeight(1, 9); // outside the five slots: ignored
}

TEST(VertexBasics, NumberSeedsNodeSet) {
    Vertex plain;
    EXPECT_EQ(plain.nodes, nullptr);
    EXPECT_EQ(plain.getFirstNode(), 0);
    Vertex v(4, "x");
    ASSERT_NE(v.nodes, nullptr);
    EXPECT_EQ(*v.nodes, (std::set<int>{4}));
    v.nodes->insert(2);
    EXPECT_EQ(v.getFirstNode(), 2);
    Vertex copy(v);
    copy.nodes->insert(1);
    EXPECT_EQ(v.getFirstNode(), 2); // the copy owns its own set
    EXPECT_EQ(copy.getFirstNode(), 1);
}

TEST(DebugListing, VertexAndEdgePrint) {
    auto g = makeGraph(2);
    arc(*g, 0, 1, "1");
    arc(*g, 1, 1, "2");
    ConsoleCapture capture;
    g->V[1]->print();
    g->getEdge(0, 1)->print();
    EXPECT_EQ(capture.text(), "\n1, n1, 0, 0\n"
                              "\tIN : 2\n\t\t0/ 0( 1 ); 1/ 1( 2 ); "
                              "\n\tOUT : 1\n\t\t0/ 1( 2 ); "
                              "\n\tALL : 2\n\t\t0/0>1( 1 ); 1/1>1( 2 ); "
                              "\n 0>1( 1 ); \n");
}
