// The reading constructor and the plain formats: node placement and order, folding of
// repeated arcs, weights, binary words, the graph name, "config.txt" and the ranking that
// follows every read.
#include <algorithm>
#include <gtest/gtest.h>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Kinds.h"
#include "tests/graph/ReaderTestSupport.h"

using Readers = ScratchTest;

TEST_F(Readers, ModeZeroPlacesNodeLinesByTheirNumber) {
    ReadGraph r = readFixture(kNodeListMode, "mode0_shuffled_nodes.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[0]->label, "a");
    EXPECT_EQ(g.V[1]->label, "b");
    EXPECT_EQ(g.V[2]->label, "c");
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(g.V[i]->number, i);
    EXPECT_EQ(g.edges, 2);
    EXPECT_EQ(arcLabel(g, 0, 1), "1");
    EXPECT_EQ(arcLabel(g, 1, 2), "2");
    EXPECT_EQ(g.name, "mode0_shuffled_nodes");
    EXPECT_NE(r.out.find("File " + testData("mode0_shuffled_nodes.txt") + " ...Found \nMode 0\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n Acquisition Input Done"), std::string::npos);
}

TEST_F(Readers, ModeZeroWeightsStopAtTheFirstZero) {
    ReadGraph r = readFixture(kNodeListMode, "mode0_weights.txt");
    Graph& g = *r.g;
    EXPECT_FLOAT_EQ(g.V[0]->weight[0], 1.5f);
    EXPECT_FLOAT_EQ(g.V[0]->weight[1], 2.0f);
    // 0.5, 0, 7: the zero ends the weights, so 7 is not kept.
    EXPECT_FLOAT_EQ(g.V[1]->weight[0], 0.5f);
    EXPECT_FLOAT_EQ(g.V[1]->weight[2], 0.0f);
    Edge* e = g.getEdge(0, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_FLOAT_EQ(e->weight[0], 3.5f);
    EXPECT_FLOAT_EQ(e->weight[1], 1.0f);
}

TEST_F(Readers, BinaryUnlabelledWordsGiveNumberedNodesAndLabelOne) {
    writeWords("g.bin", {2, 1, 1, 0});
    ReadGraph r = readGraph(kBinaryMode, "g.bin");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 2);
    EXPECT_EQ(g.V[0]->label, "0");
    EXPECT_EQ(g.V[1]->label, "1");
    EXPECT_EQ(g.edges, 1);
    EXPECT_EQ(arcLabel(g, 0, 1), "1");
}

TEST_F(Readers, BinaryLabelledArcAttributeFoldsOntoFourLabels) {
    // Two nodes, two ignored node attributes, node 0: one arc to 1 with attribute 6; node 1: none.
    writeWords("g.bin", {2, 7, 7, 1, 1, 6, 0});
    ReadGraph r = readGraph(kBinaryLabelledMode, "g.bin");
    EXPECT_EQ(r.g->edges, 1);
    EXPECT_EQ(arcLabel(*r.g, 0, 1), "3");
}

TEST_F(Readers, ReadWordIsLowByteFirst) {
    writeWords("w.bin", {0x1234});
    std::ifstream in("w.bin", std::ios::binary);
    Graph g;
    EXPECT_EQ(g.read_word(&in), 0x1234u);
}

TEST_F(Readers, ModeThreeNamesNodesAndFoldsRepeatedUndirectedEdges) {
    ReadGraph r = readFixture(kNamedEdgesMode, "mode3_named_edges.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[0]->label, "x");
    EXPECT_EQ(g.V[1]->label, "y");
    EXPECT_EQ(g.V[2]->label, "z");
    EXPECT_EQ(g.nodeNumbers["z"], 2);
    // x,y,5 twice: both directions, each folded into one Edge labelled 55.
    EXPECT_EQ(arcLabel(g, 0, 1), "55");
    EXPECT_EQ(arcLabel(g, 1, 0), "55");
    EXPECT_EQ(g.getEdge(0, 1)->labels[5], 2);
    // The lines with an empty name (",," and ", ,") add nothing.
    EXPECT_EQ(g.edges, 4);
    EXPECT_EQ(arcLabel(g, 1, 2), "7");
}

TEST_F(Readers, ModeFourKeepsMembersInsideTheirClasses) {
    ReadGraph r = readFixture(kMembersInClassesMode, "mode4_members.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    for (Vertex* v : g.V)
        EXPECT_EQ(v->type, kClassType);
    EXPECT_FLOAT_EQ(g.V[0]->weight[0], 2.0f);
    EXPECT_FLOAT_EQ(g.V[0]->weight[1], 3.0f);
    EXPECT_EQ(g.V[0]->attributes.count("int_size"), 1u);
    EXPECT_EQ(g.V[0]->attributes.count("util.Map.Entry_first"), 1u);
    ASSERT_EQ(g.V[0]->methods.count("util.Map.Entry_get"), 1u);
    EXPECT_EQ(g.V[0]->methods.find("util.Map.Entry_get")->second->inputs, "String,int");
    EXPECT_EQ(g.V[2]->methods.count("void_main"), 1u);
    ASSERT_NE(g.classes, nullptr);
    EXPECT_EQ(g.classes->find("Entry")->second, 1);
    EXPECT_EQ(g.classes->find("Main")->second, 2);
    // Relation weights start at weight[1].
    Edge* e = g.getEdge(0, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_FLOAT_EQ(e->weight[0], 0.0f);
    EXPECT_FLOAT_EQ(e->weight[1], 0.5f);
    EXPECT_FLOAT_EQ(e->weight[2], 0.25f);
    EXPECT_EQ(arcLabel(g, 2, 0), "44");
    EXPECT_EQ(g.edges, 2);
}

TEST_F(Readers, ModeFiveAppendsLetteredNodesOfKindZero) {
    ReadGraph r = readFixture(kLetteredMode, "mode5_lettered.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[0]->label, "alpha");
    EXPECT_EQ(g.V[0]->type, 0);
    EXPECT_FLOAT_EQ(g.V[0]->weight[0], 1.5f);
    EXPECT_FLOAT_EQ(g.getEdge(0, 1)->weight[1], 9.0f);
    EXPECT_EQ(arcLabel(g, 1, 2), "3");
    EXPECT_EQ(g.classes, nullptr);
}

TEST_F(Readers, ModeSixCreatesTheHeaderNodesAndFoldsArcs) {
    ReadGraph r = readFixture(kArcListMode, "mode6_arcs.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[2]->label, "2");
    EXPECT_EQ(arcLabel(g, 1, 2), "23");
    EXPECT_EQ(g.edges, 2);
    EXPECT_FLOAT_EQ(g.getEdge(0, 1)->weight[0], 0.5f);
}

TEST_F(Readers, ModeSevenReadsGraphTextWithNodeLabelsAndIgnoresOtherLines) {
    ReadGraph r =
        readGraph(kGraphTextMode, "3,2\nc,0,alpha\nn,2,gamma\ns,1\ne,0,1,1\nr,1,2,4\nx,1,2,3\n");
    Graph& g = *r.g;
    EXPECT_EQ(g.name, "sample");
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[0]->label, "alpha");
    EXPECT_EQ(g.V[1]->label, "1");
    EXPECT_EQ(g.V[2]->label, "gamma");
    EXPECT_EQ(g.edges, 2);
    EXPECT_EQ(arcLabel(g, 1, 2), "4");
    EXPECT_EQ(r.out.find("File "), std::string::npos);
}

TEST_F(Readers, ModeTenLinksEntitiesLifelinesAndMessages) {
    ReadGraph r = readFixture(kThreeKindsMode, "mode10_three_kinds.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 5);
    EXPECT_EQ(g.V[0]->type, 4);
    EXPECT_EQ(g.V[2]->type, 5);
    EXPECT_EQ(g.V[4]->type, 6);
    EXPECT_EQ(g.V[4]->label, "add");
    EXPECT_EQ(g.V[4]->specif, "call@4@x");
    EXPECT_EQ(arcLabel(g, 0, 2), kContainmentText);
    EXPECT_EQ(g.getEdge(0, 2)->type, 1);
    // The message sits between its sender and receiver; its arcs carry the specif's label.
    EXPECT_EQ(arcLabel(g, 2, 4), "4");
    EXPECT_EQ(arcLabel(g, 4, 3), "4");
    EXPECT_EQ(g.classes->find("Cart")->second, 0);
    EXPECT_EQ(g.classes->find("item")->second, 3);
}

TEST_F(Readers, ModeElevenNamesStatesByTheirTransitions) {
    ReadGraph r = readFixture(kStateMachineMode, "mode11_state_machine.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 4);
    EXPECT_EQ(g.V[2]->label, "open");
    EXPECT_EQ(g.V[2]->type, 9);
    EXPECT_EQ(g.V[0]->type, 8);
    EXPECT_EQ(g.V[0]->specif, " ");
    EXPECT_EQ(g.V[0]->label, "_from-close_towa-open");
    EXPECT_EQ(g.V[1]->label, "_from-open_towa-close");
    EXPECT_EQ(g.getEdge(0, 2)->type, 8);
    EXPECT_EQ(g.getEdge(2, 1)->type, 9);
    EXPECT_NE(r.out.find("\nt,0,1,Open"), std::string::npos);
}

TEST_F(Readers, GraphNameDropsFoldersAndTheLastExtensionOnly) {
    writeText("data/b/graph.old.txt", "1,0\n");
    EXPECT_EQ(readGraph(kArcListMode, "data/b/graph.old.txt").g->name, "graph.old");
    writeText("plain", "1,0\n");
    EXPECT_EQ(readGraph(kArcListMode, "plain").g->name, "plain");
}

TEST_F(Readers, ModeWithoutReaderAndMissingFileGiveEmptyGraphs) {
    writeText("any.txt", "2,1\n0,1,1\n");
    ReadGraph unknown = readGraph(13, "any.txt");
    EXPECT_NE(unknown.out.find("Found \nMode 13\n"), std::string::npos);
    EXPECT_EQ(unknown.g->vertices, 0);
    EXPECT_EQ(unknown.g->u, nullptr);

    ReadGraph missing = readGraph(kNodeListMode, "no/such/file.txt");
    EXPECT_NE(missing.out.find("File no/such/file.txt ...Not Found \n"), std::string::npos);
    EXPECT_EQ(missing.g->vertices, 0);
    EXPECT_EQ(missing.g->edges, 0);
    EXPECT_TRUE(missing.g->V.empty());
    EXPECT_EQ(missing.g->u, nullptr);
}

TEST_F(Readers, ConfigWeightsReachArcsAndUnsetCodesWeighZero) {
    writeText("config.txt", readText(testData("config_partial.txt")));
    writeText("g.txt", "3,3\n0,1,4\n0,1,4\n1,2,2\n");
    ReadGraph r = readGraph(kArcListMode, "g.txt");
    Graph& g = *r.g;
    EXPECT_DOUBLE_EQ(g.edge_weight[4], 2.5);
    EXPECT_DOUBLE_EQ(g.edge_weight[2], 0.5); // its line ends with a carriage return
    EXPECT_DOUBLE_EQ(g.edge_weight[1], 0.0); // "ew,1" is too short
    EXPECT_DOUBLE_EQ(g.edge_weight[3], 0.0); // never set
    // Two arcs labelled 4 folded into one Edge: 2 x 2.5.
    EXPECT_FLOAT_EQ(g.getEdge(0, 1)->label_weight, 5.0f);
    EXPECT_FLOAT_EQ(g.V[0]->sum_out, 5.0f);
    EXPECT_FLOAT_EQ(g.V[1]->sum_out, 0.5f);
    EXPECT_EQ(occurrences(r.out, "Bad input in config.txt"), 3); // "ew,1", "ew,x,3", "ew,12,1"
}

TEST_F(Readers, ConfigWeightsKeepDoublePrecisionThroughFolding) {
    writeText("config.txt", "ew,4,1.1\n");
    writeText("g.txt", "2,3\n0,1,4\n0,1,4\n0,1,4\n");
    ReadGraph r = readGraph(kArcListMode, "g.txt");
    Graph& g = *r.g;
    EXPECT_EQ(g.edge_weight[4], 1.1); // not the float nearest 1.1
    // Three arcs of weight 1.1 add up, stored once as float, to the float nearest 3.3.
    EXPECT_EQ(g.getEdge(0, 1)->label_weight, 3.3f);
    EXPECT_EQ(g.V[0]->sum_out, 3.3f);
}

TEST_F(Readers, EveryNonEmptyGraphIsRankedAfterReading) {
    for (int mode : {0, 4, 12}) {
        const char* file = mode == 0   ? "mode0_shuffled_nodes.txt"
                           : mode == 4 ? "mode4_members.txt"
                                       : "mode12_org_util.txt";
        ReadGraph r = readFixture(mode, file);
        Graph& g = *r.g;
        ASSERT_GT(g.vertices, 0) << file;
        EXPECT_NE(g.c_out, nullptr) << file;
        EXPECT_NE(g.neighbors, nullptr) << file;
        ASSERT_NE(g.u, nullptr) << file;
        EXPECT_NE(g.norm, nullptr) << file;
        EXPECT_NE(g.rank, nullptr) << file;
        ASSERT_NE(g.uu, nullptr) << file;
        ASSERT_NE(g.uu_stats, nullptr) << file;
        double sum = 0, top = 0;
        for (int i = 0; i < g.vertices; i++) {
            sum += g.u[i];
            top = std::max(top, g.u[i]);
        }
        EXPECT_NEAR(sum, 1.0, 1e-9) << file;
        // The u statistics describe u, not the last per-label vector.
        EXPECT_DOUBLE_EQ(g.max_u, top) << file;
        EXPECT_LE(g.maxi_u, g.max_u) << file;
    }
}
