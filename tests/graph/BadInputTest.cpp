// Deliberately broken inputs for every format family: each bad line gets one report naming
// the file and line, is skipped, and the good lines around it are still read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "graph/LineReader.h"
#include "tests/graph/ReaderTestSupport.h"

using BadInput = ScratchTest;

TEST_F(BadInput, ModeZeroSkipsBadLinesAndFillsMissingNodes) {
    ReadGraph r = readFixture(0, "mode0_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 4);
    EXPECT_EQ(g.V[0]->label, "a"); // the duplicate "0,dup" does not replace it
    for (int i = 1; i < 4; i++) {
        ASSERT_NE(g.V[i], nullptr);
        EXPECT_EQ(g.V[i]->number, i);
        EXPECT_EQ(g.V[i]->label, std::to_string(i));
    }
    EXPECT_EQ(g.edges, 2);
    EXPECT_EQ(arcLabel(g, 0, 1), "1");
    EXPECT_EQ(arcLabel(g, 3, 0), "9");
    EXPECT_NE(r.out.find("mode0_broken, line 3: node number outside 0..3"), std::string::npos);
    EXPECT_NE(r.out.find("line 4: node 0 given twice"), std::string::npos);
    EXPECT_NE(r.out.find("line 5: node number is not a number"), std::string::npos);
    EXPECT_NE(r.out.find("3 node(s) had no valid line"), std::string::npos);
    EXPECT_NE(r.out.find("line 7: expected"), std::string::npos); // the blank line
    EXPECT_NE(r.out.find("line 8: target is not a number"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "arc label must be one digit 0-9"), 2); // "12" and "a"
    EXPECT_NE(r.out.find("line 11: expected"), std::string::npos);
    EXPECT_NE(r.out.find("\n Node does not exist: 0,9(1) !!!!"), std::string::npos);
}

TEST_F(BadInput, ModeZeroFileEndingInsideTheNodeLines) {
    ReadGraph r = readFixture(0, "mode0_truncated.txt");
    EXPECT_EQ(r.g->vertices, 4);
    EXPECT_EQ(r.g->edges, 0);
    EXPECT_NE(r.out.find("file ends after 1 of 4 node lines"), std::string::npos);
}

TEST_F(BadInput, HeaderCountsAreBoundedByTheBytesThatFollow) {
    // A node line takes at least two bytes, so 3 bytes describe at most one node.
    writeText("short.txt", "4,1\n0,a");
    ReadGraph lines = readGraph(0, "short.txt");
    EXPECT_EQ(lines.g->vertices, 0);
    EXPECT_NE(lines.out.find("line 1: header announces 4 nodes; the 3 bytes after it can describe "
                             "at most 1; nothing read"),
              std::string::npos);
    // The arc list's nodes need no line: a small allowance, then one per byte.
    writeText("many.txt", "1000000,1\n0,1,1\n");
    EXPECT_EQ(readGraph(6, "many.txt").g->vertices, 0);
    writeText("isolated.txt", "4000,1\n0,1,1\n");
    EXPECT_EQ(readGraph(6, "isolated.txt").g->vertices, 4000);
}

TEST_F(BadInput, HeadersThatCannotBeUsedReadNothing) {
    writeText("huge.txt", "2000000000,1\n0,a\n");
    writeText("words.txt", "nodes,arcs\n0,1,1\n");
    writeText("negative.txt", "-3,1\n0,1,1\n");
    for (const char* file : {"huge.txt", "words.txt", "negative.txt"}) {
        for (int mode : {0, 6}) {
            ReadGraph r = readGraph(mode, file);
            EXPECT_EQ(r.g->vertices, 0) << file << " mode " << mode;
            EXPECT_NE(r.out.find("no usable \"nodes,arcs\" header"), std::string::npos) << file;
        }
    }
    ReadGraph text = readGraph(7, "x,y\ne,0,1,1\n");
    EXPECT_EQ(text.g->vertices, 0);
    EXPECT_EQ(text.g->u, nullptr);
}

TEST_F(BadInput, GraphTextSkipsNodeNumbersOutsideTheListAndShortArcs) {
    ReadGraph r = readGraph(7, "3,2\nc,5,far\nn,-1,neg\nc,x,bad\nc,1,b\ne,0,9,1\ne,0,1\ne,0,1,1\n");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[1]->label, "b");
    EXPECT_EQ(g.V[2]->label, "2");
    EXPECT_EQ(g.edges, 1);
    EXPECT_EQ(arcLabel(g, 0, 1), "1");
    EXPECT_EQ(occurrences(r.out, "node number outside 0..2"), 2);
    EXPECT_NE(r.out.find("line 4: node number is not a number"), std::string::npos);
    EXPECT_NE(r.out.find("\n Node does not exist: 0,9(1) !!!!"), std::string::npos);
    EXPECT_NE(r.out.find("line 7: expected"), std::string::npos);
}

TEST_F(BadInput, BinaryFilesEndingBeforeTheirRecordsReadNothing) {
    writeWords("cut1.bin", {3, 2, 1}); // node 0 announces two arcs, one is there
    ReadGraph one = readGraph(1, "cut1.bin");
    EXPECT_EQ(one.g->vertices, 0);
    EXPECT_EQ(one.g->edges, 0);
    EXPECT_NE(one.out.find(
                  "binary file ends before the records its header announces (3 nodes; cut in the "
                  "records of node 0); nothing read"),
              std::string::npos);

    writeWords("cut2.bin", {2, 0, 0, 1, 1}); // the attribute of the only arc is missing
    ReadGraph two = readGraph(2, "cut2.bin");
    EXPECT_EQ(two.g->vertices, 0);
    EXPECT_NE(two.out.find("cut in the records of node 0"), std::string::npos);

    writeWords("whole2.bin", {2, 0, 0, 1, 1, 3, 0}); // the same file with its last words
    ReadGraph whole = readGraph(2, "whole2.bin");
    EXPECT_EQ(whole.g->vertices, 2);
    EXPECT_EQ(arcLabel(*whole.g, 0, 1), "4"); // attribute 3 folds onto label 3 % 4 + 1

    writeText("empty.bin", "");
    ReadGraph empty = readGraph(1, "empty.bin");
    EXPECT_EQ(empty.g->vertices, 0);
    EXPECT_NE(empty.out.find("holds no node count"), std::string::npos);
}

TEST_F(BadInput, BinaryArcsToMissingNodesAreReportedFirstFewThenCounted) {
    // Node 0 of two has eight arcs, to nodes 9..16; node 1 one good arc to node 0.
    writeWords("far.bin", {2, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 0});
    ReadGraph far = readGraph(1, "far.bin");
    EXPECT_EQ(far.g->edges, 1);
    EXPECT_EQ(occurrences(far.out, "does not exist; skipped"), 5);
    EXPECT_NE(far.out.find("Bad input in far: arc 0 -> 9: node 9 does not exist; skipped"),
              std::string::npos);
    EXPECT_NE(far.out.find("Bad input in far: 8 arcs to missing nodes skipped in all"),
              std::string::npos);
}

TEST_F(BadInput, ModeThreeSkipsShortLinesAndBadLabels) {
    ReadGraph r = readFixture(3, "mode3_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3); // only the names of accepted lines become nodes
    EXPECT_EQ(g.V[2]->label, "c");
    EXPECT_EQ(g.edges, 4);
    EXPECT_EQ(arcLabel(g, 1, 2), "2");
    EXPECT_EQ(occurrences(r.out, "Bad input in mode3_broken"), 5);
}

TEST_F(BadInput, ModeFourReportsMisnumberedClassesAndUnknownOwners) {
    ReadGraph r = readFixture(4, "mode4_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 2);
    EXPECT_EQ(g.V[1]->label, "B");
    EXPECT_NE(r.out.find("\n Order Problem: 5,B[1]"), std::string::npos);
    EXPECT_NE(r.out.find("class 7 is not a node read so far"), std::string::npos);
    EXPECT_TRUE(g.V[0]->attributes.empty());
    EXPECT_TRUE(g.V[1]->methods.empty());
    EXPECT_EQ(g.edges, 1);
    EXPECT_NE(r.out.find("line 11: line of no known form (expected a line beginning with c, a, m "
                         "or r); skipped [zzz,1,2]"),
              std::string::npos);
    EXPECT_EQ(occurrences(r.out, "Bad input in mode4_broken"), 7);
}

TEST_F(BadInput, ModeSixReportsBlankLinesAndMissingNodes) {
    ReadGraph r = readFixture(6, "mode6_broken.txt");
    Graph& g = *r.g;
    EXPECT_EQ(g.vertices, 3);
    EXPECT_EQ(g.edges, 2);
    EXPECT_EQ(arcLabel(g, 2, 1), "2");
    EXPECT_NE(r.out.find("line 3: expected"), std::string::npos);
    EXPECT_NE(r.out.find("\n Node does not exist: 0,5(2) !!!!"), std::string::npos);
    EXPECT_NE(r.out.find("found \"-3\""), std::string::npos);
}

TEST_F(BadInput, ModeTenSkipsMessagesWithoutNodesOrLabel) {
    ReadGraph r = readFixture(10, "mode10_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 2); // the entity and the one good message
    EXPECT_EQ(g.V[1]->label, "ping");
    EXPECT_EQ(arcLabel(g, 0, 1), "2");
    EXPECT_EQ(arcLabel(g, 1, 0), "2");
    EXPECT_NE(r.out.find("owner 9 is not a node read so far"), std::string::npos);
    EXPECT_NE(r.out.find("receiver 7 is not a node read so far"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "arc label code as its second"), 2);
}

TEST_F(BadInput, ModeElevenSkipsTransitionsToUnknownStates) {
    ReadGraph r = readFixture(11, "mode11_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 2);
    EXPECT_EQ(g.V[1]->label, "stay");
    EXPECT_EQ(g.V[0]->label, "_from-stay_towa-stay");
    EXPECT_NE(r.out.find("target state 4 is not a node read so far"), std::string::npos);
}

TEST_F(BadInput, ModeTwelveSkipsBrokenNodeAndRelationLines) {
    ReadGraph r = readFixture(12, "mode12_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 2);
    EXPECT_EQ(g.V[1]->label, "Foo");
    EXPECT_EQ(g.edges, 1);
    EXPECT_NE(r.out.find("\n Node does not exist: 0,9(9) !!!!"), std::string::npos);
    // "p" and "junk line" have no form; the header's 3 nodes and 2 arcs are not what was read.
    EXPECT_EQ(occurrences(r.out, "line of no known form"), 2);
    EXPECT_NE(r.out.find("Bad input in mode12_broken: header announces 3 nodes and 2 arcs; the "
                         "file holds 2 nodes and 2 arcs"),
              std::string::npos);
    EXPECT_EQ(occurrences(r.out, "Bad input in mode12_broken"), 8);
}

TEST_F(BadInput, ModeNineReportsOwnersThatAreNotClasses) {
    ReadGraph r = readFixture(9, "mode9_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3); // class A, the root package, method A.ok
    EXPECT_EQ(g.V[2]->label, "A.ok");
    EXPECT_EQ(g.edges, 2);
    EXPECT_NE(r.out.find("owner 9 is not a class"), std::string::npos);
    EXPECT_NE(r.out.find("line 3: line of no known form"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "Bad input in mode9_broken"), 8);
}

TEST_F(BadInput, ModeEightNumbersPackagesAfterTheClassesActuallyRead) {
    ReadGraph r = readFixture(8, "mode8_broken.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[1]->label, ".");
    EXPECT_EQ(g.V[2]->label, "a");
    EXPECT_EQ(arcLabel(g, 0, 2), "3");
    EXPECT_EQ(arcLabel(g, 2, 1), "3");
    EXPECT_NE(r.out.find("header announces 5 classes, file holds 1"), std::string::npos);
    EXPECT_NE(r.out.find("\n Node does not exist: 0,1(1) !!!!"), std::string::npos);
}

TEST_F(BadInput, RandomBytesNeverCrashAnyReader) {
    std::mt19937 generator(7);
    std::string junk;
    for (int i = 0; i < 4000; i++) {
        // Mostly text-like bytes with the separators that drive the readers.
        const char alphabet[] = "0123456789,,,\n\n\rcrmap.$@-x ";
        junk += (i % 7 == 0) ? static_cast<char>(generator() & 0xFF)
                             : alphabet[generator() % (sizeof(alphabet) - 1)];
    }
    writeText("junk.txt", junk);
    for (int mode : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12}) {
        ReadGraph r = readGraph(mode, "junk.txt");
        EXPECT_EQ(r.g->vertices, static_cast<int>(r.g->V.size())) << "mode " << mode;
        for (size_t i = 0; i < r.g->V.size(); i++)
            EXPECT_EQ(r.g->V[i]->number, static_cast<int>(i)) << mode;
    }
    ReadGraph text = readGraph(7, junk);
    EXPECT_EQ(text.g->vertices, static_cast<int>(text.g->V.size()));
}

TEST_F(BadInput, AMemberTextOutsideItsFormIsReportedOnceWithItsLine) {
    // The same two bad texts in the node-numbered diagram form and in the owner-numbered one.
    writeText("bad_members.txt", "3,2\nc,0,Foo\nm,1,void@run\na,2,int\nr,0,1,9\nr,0,2,9\n");
    writeText("bad_members_k.txt", "1,0\nc,0,Foo\nm,0,void@run\na,0,int\n");
    for (int mode : {12, 4}) {
        ReadGraph r = readGraph(mode, mode == 12 ? "bad_members.txt" : "bad_members_k.txt");
        // The reader names the file and line; the member parser stays quiet.
        EXPECT_EQ(occurrences(r.out, "Bad method signature"), 0) << mode;
        EXPECT_EQ(occurrences(r.out, "Bad attribute text"), 0) << mode;
        EXPECT_EQ(occurrences(r.out, "line 3: method"), 1) << mode << r.out;
        EXPECT_EQ(occurrences(r.out, "line 4: attribute"), 1) << mode << r.out;
    }
}

TEST_F(BadInput, ConfigWeightsOutsideTheFloatRangeAreRefused) {
    writeText("config.txt", "ew,1,1e39\new,2,-1e39\new,3,2.5\n");
    writeText("arcs.txt", "2,1\n0,1,1\n");
    ReadGraph r = readGraph(6, "arcs.txt");
    EXPECT_EQ(r.g->edge_weight[1], 0);
    EXPECT_EQ(r.g->edge_weight[2], 0);
    EXPECT_EQ(r.g->edge_weight[3], 2.5);
    EXPECT_EQ(occurrences(r.out, "Bad input in config.txt, line "), 2);
    EXPECT_NE(r.out.find("line 1: weight outside the range of a float [ew,1,1e39]"),
              std::string::npos);
    ASSERT_NE(r.g->u, nullptr);
    EXPECT_FALSE(std::isnan(r.g->u[0]));
}

TEST_F(BadInput, ClassDiagramsWithoutClassesOrWithImpossibleHeadersSaySo) {
    writeText("empty.txt", "");
    for (int mode : {8, 9}) {
        ReadGraph r = readGraph(mode, "empty.txt");
        EXPECT_EQ(r.g->vertices, 0) << mode;
        EXPECT_NE(r.out.find("Bad input in empty: no class line read; the graph is empty"),
                  std::string::npos);
    }
    for (int mode : {-1, 13, 99}) {
        ReadGraph unknown = readGraph(mode, "empty.txt");
        EXPECT_EQ(unknown.g->vertices, 0);
        EXPECT_NE(unknown.out.find("Bad input in empty: unknown reader mode " +
                                   std::to_string(mode) + "; nothing read"),
                  std::string::npos);
    }
    writeText("negative.txt", "-3,1\nc,0,A\n");
    ReadGraph negative = readGraph(9, "negative.txt");
    EXPECT_EQ(negative.g->vertices, 2); // class A and the root package
    EXPECT_NE(negative.out.find("line 1: negative count in header"), std::string::npos);
    // A title line is no header and passes without a word, as the format allows.
    writeText("title.txt", "classes,of,version,1\nc,0,A\n");
    EXPECT_EQ(readGraph(9, "title.txt").out.find("Bad input"), std::string::npos);
}

TEST_F(BadInput, LongAndDeepNamesAreCutSoDerivedNamesStayBounded) {
    // 100 dotted parts: the first 63 and the last are kept.
    std::string deep = "p0";
    for (int i = 1; i < 100; i++)
        deep += ".p" + std::to_string(i);
    writeText("deep.txt", "c,0," + deep + "\n");
    ReadGraph nine = readGraph(9, "deep.txt");
    ASSERT_GE(nine.g->vertices, 1);
    const std::string& label = nine.g->V[0]->label;
    EXPECT_EQ(std::count(label.begin(), label.end(), '.'), static_cast<long>(kMaxNameParts) - 1);
    EXPECT_EQ(label.substr(0, 6), "p0.p1.");
    EXPECT_EQ(label.substr(label.size() - 8), ".p62.p99");
    EXPECT_EQ(nine.g->nbPackages, static_cast<int>(kMaxNameParts)); // the root and 63 prefixes
    EXPECT_NE(nine.out.find("name of more than 64 dotted parts"), std::string::npos);

    writeText("long.txt", "1,0\nc,0," + std::string(3000, 'x') + "\n");
    ReadGraph eight = readGraph(8, "long.txt");
    ASSERT_GE(eight.g->vertices, 1);
    EXPECT_EQ(eight.g->V[0]->label.size(), kMaxNameLength);
    EXPECT_EQ(occurrences(eight.out, "name longer than 1024 characters"), 1);

    // A chain of 200 packages: qualification stops at the bounds instead of growing each
    // name by the whole chain above it.
    std::string chain = "200,199\n";
    for (int i = 0; i < 200; i++)
        chain += "p," + std::to_string(i) + ",q" + std::to_string(i) + "\n";
    for (int i = 0; i + 1 < 200; i++)
        chain += "r," + std::to_string(i) + "," + std::to_string(i + 1) + ",9\n";
    writeText("chain.txt", chain);
    ReadGraph twelve = readGraph(12, "chain.txt");
    ASSERT_EQ(twelve.g->vertices, 200);
    size_t longest = 0;
    for (Vertex* v : twelve.g->V)
        longest = std::max(longest, v->label.size());
    EXPECT_LE(longest, kMaxNameLength);
    EXPECT_EQ(twelve.g->V[3]->label, "q0.q1.q2.q3");
    EXPECT_NE(
        twelve.out.find("package name(s) would pass 1024 characters or 64 parts; left unqualified"),
        std::string::npos);
}
