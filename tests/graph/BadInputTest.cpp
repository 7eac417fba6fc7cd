// Deliberately broken inputs for every format family: each bad line gets one report naming
// the file and line, is skipped, and the good lines around it are still read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/graph/ReaderTestSupport.h"
#include "util/LineReader.h"

namespace {

/// A broken input, every report its reading prints (in order, byte for byte), and what is
/// read all the same.
struct BadInputCase {
    std::string name;
    int mode;
    /// The file's bytes ("input.txt"); in kGraphTextMode the graph text itself.
    std::string text;
    std::vector<std::string> reports;
    /// Node labels in number order ("{1a0m}": attributes and methods kept), then the arcs.
    const char* shape;
};

/// Names the case in test reports instead of dumping its bytes.
void PrintTo(const BadInputCase& c, std::ostream* os) {
    *os << c.name;
}

/// The lines of a reading's output that report something: every line but the progress
/// markers and the echoed state-machine lines.
std::vector<std::string> reportLines(const std::string& out) {
    std::vector<std::string> reports;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(' ', 0) == 0 && line != " Acquisition Input Done" &&
            line != " Fill Neighbors" && line.rfind(" ROUND", 0) != 0)
            reports.push_back(line);
    return reports;
}

std::string shapeOf(const Graph& g) {
    std::string shape;
    for (const Vertex* v : g.V) {
        shape += (shape.empty() ? "" : " ") + v->label;
        if (!v->attributes.empty() || !v->methods.empty())
            shape += "{" + std::to_string(v->attributes.size()) + "a" +
                     std::to_string(v->methods.size()) + "m}";
    }
    shape += " |";
    for (const Edge* e : g.E)
        shape += " " + std::to_string(e->from) + ">" + std::to_string(e->to) + ":" + e->label;
    return shape;
}

const BadInputCase kBadInputs[] = {
    {"ModeZeroBadNodeAndArcLines",
     kNodeListMode,
     "4,5\r\n0,a\r\n7,far\r\n0,dup\r\nx,bad\r\n0,1,1\r\n\r\n1,x,2\r\n0,3,12\r\n0,3,a\r\n0,3\r\n"
     "0,9,1\r\n3,0,9\r\n",
     {" Bad input in input.txt, line 3: node number outside 0..3 [7,far]",
      " Bad input in input.txt, line 4: node 0 given twice; first line kept [0,dup]",
      " Bad input in input.txt, line 5: node number is not a number [x,bad]",
      " Bad input in input.txt: 3 node(s) had no valid line; created with their number as label",
      " Bad input in input.txt, line 7: expected \"source,target,label[,weights]\" []",
      " Bad input in input.txt, line 8: target is not a number [1,x,2]",
      " Bad input in input.txt, line 9: arc label must be one digit 0-9, found \"12\" [0,3,12]",
      " Bad input in input.txt, line 10: arc label must be one digit 0-9, found \"a\" [0,3,a]",
      " Bad input in input.txt, line 11: expected \"source,target,label[,weights]\" [0,3]",
      " Node does not exist: 0,9(1) !!!!"},
     "a 1 2 3 | 0>1:1 3>0:9"},
    {"ModeZeroFileEndsInsideTheNodeLines",
     kNodeListMode,
     "4,1\n0,a-label-long-enough-for-four-node-lines",
     {" Bad input in input.txt: file ends after 1 of 4 node lines",
      " Bad input in input.txt: 3 node(s) had no valid line; created with their number as label"},
     "a-label-long-enough-for-four-node-lines 1 2 3 |"},
    {"GraphTextNodeNumbersOutsideTheListAndShortArcs",
     kGraphTextMode,
     "3,2\nc,5,far\nn,-1,neg\nc,x,bad\nc,1,b\ne,0,9,1\ne,0,1\ne,0,1,1\n",
     {" Bad input in graph text, line 2: node number outside 0..2 [c,5,far]",
      " Bad input in graph text, line 3: node number outside 0..2 [n,-1,neg]",
      " Bad input in graph text, line 4: node number is not a number [c,x,bad]",
      " Node does not exist: 0,9(1) !!!!",
      " Bad input in graph text, line 7: expected \"letter,source,target,label\" [e,0,1]"},
     "0 b 2 | 0>1:1"},
    {"ModeThreeShortLinesAndBadLabels",
     kNamedEdgesMode,
     "a,b,1\n\nc\nc,d\nc,d,x\nc,d,11\nb,c,2\r\n",
     {" Bad input in input.txt, line 2: expected \"name1,name2,label\" []",
      " Bad input in input.txt, line 3: expected \"name1,name2,label\" [c]",
      " Bad input in input.txt, line 4: expected \"name1,name2,label\" [c,d]",
      " Bad input in input.txt, line 5: arc label must be one digit 0-9, found \"x\" [c,d,x]",
      " Bad input in input.txt, line 6: arc label must be one digit 0-9, found \"11\" [c,d,11]"},
     "a b c | 0>1:1 1>0:1 1>2:2 2>1:2"},
    {"ModeFourMisnumberedClassesAndUnknownOwners",
     kMembersInClassesMode,
     "2,2\nc,0,A\nc,5,B\na,7,@int@x\na,0\nm,x,@void@run@()\nm,1\nr,0,1\nr,0,b,1\nr,0,1,1\n"
     "zzz,1,2\n",
     {" Order Problem: 5,B[1]",
      " Bad input in input.txt, line 4: class 7 is not a node read so far [a,7,@int@x]",
      " Bad input in input.txt, line 5: expected \"letter,class number,signature\" [a,0]",
      " Bad input in input.txt, line 6: class number is not a number [m,x,@void@run@()]",
      " Bad input in input.txt, line 7: expected \"letter,class number,signature\" [m,1]",
      " Bad input in input.txt, line 8: expected \"r,source,target,label[,weights]\" [r,0,1]",
      " Bad input in input.txt, line 9: target is not a number [r,0,b,1]",
      " Bad input in input.txt, line 11: line of no known form (expected a line beginning with c, "
      "a, m "
      "or r); skipped [zzz,1,2]"},
     "A B | 0>1:1"},
    {"ModeSixBlankLinesAndMissingNodes",
     kArcListMode,
     "3,3\n0,1,1\n\n0,x,1\n0,5,2\n2,1\n2,1,-3\n2,1,2\n",
     {" Bad input in input.txt, line 3: expected \"source,target,label[,weights]\" []",
      " Bad input in input.txt, line 4: target is not a number [0,x,1]",
      " Node does not exist: 0,5(2) !!!!",
      " Bad input in input.txt, line 6: expected \"source,target,label[,weights]\" [2,1]",
      " Bad input in input.txt, line 7: arc label must be one digit 0-9, found \"-3\" [2,1,-3]"},
     "0 1 2 | 0>1:1 2>1:2"},
    {"ModeEightPackagesNumberedAfterTheClassesRead",
     kHeaderedTreeMode,
     "5,1\nc,0,a.Map\nc,1\nc,q,a.Set\na,4,@int@size\nm,0\nr,0,1,x\nr,0,1,1\n",
     {" Bad input in input.txt, line 3: expected \"c,number,label[,weights]\" [c,1]",
      " Bad input in input.txt, line 4: class number is not a number [c,q,a.Set]",
      " Bad input in input.txt, line 5: owner 4 is not a class read so far [a,4,@int@size]",
      " Bad input in input.txt, line 6: expected \"letter,owner class,signature\" [m,0]",
      " Bad input in input.txt, line 7: arc label must be one digit 0-9, found \"x\" [r,0,1,x]",
      " Node does not exist: 0,1(1) !!!!",
      " Bad input in input.txt: header announces 5 classes, file holds 1; packages numbered after "
      "the "
      "classes read"},
     "a.Map . a | 0>2:3 2>1:3"},
    {"ModeNineOwnersThatAreNotClasses",
     kDerivedTreeMode,
     "c,0,A\nc,x,B\nc\nm,9,@void@run@()\nm,0\na,y,@int@x\nr,0,1\nr,0,z,1\nr,0,0,12\n"
     "m,0,@void@ok@()\n",
     {" Bad input in input.txt, line 2: class number is not a number [c,x,B]",
      " Bad input in input.txt, line 3: line of no known form (expected a line beginning with c, "
      "m, a "
      "or r); skipped [c]",
      " Bad input in input.txt, line 5: expected \"letter,owner class,signature\" [m,0]",
      " Bad input in input.txt, line 6: owner class is not a number [a,y,@int@x]",
      " Bad input in input.txt, line 7: expected \"r,source,target,label\" [r,0,1]",
      " Bad input in input.txt, line 8: target is not a number [r,0,z,1]",
      " Bad input in input.txt, line 9: arc label must be one digit 0-9, found \"12\" [r,0,0,12]",
      " Bad input in input.txt: line 4: owner 9 is not a class [m,9,@void@run@()]"},
     "A . A.ok | 0>2:9 1>0:9"},
    {"ModeTenMessagesWithoutNodesOrLabel",
     kThreeKindsMode,
     "1,3\nc,0,A\nl,1,9,ghost\nl,1,0\nm,0,7,send,call@4\nm,0,0,send,noat\nm,0,0,send,call@x\n"
     "m,0,0,ping,call@2\n",
     {" Bad input in input.txt, line 3: owner 9 is not a node read so far [l,1,9,ghost]",
      " Bad input in input.txt, line 4: expected \"l,number,owner,label\" [l,1,0]",
      " Bad input in input.txt, line 5: receiver 7 is not a node read so far [m,0,7,send,call@4]",
      " Bad input in input.txt, line 6: specif must hold the arc label code as its second \"@\" "
      "part "
      "[m,0,0,send,noat]",
      " Bad input in input.txt, line 7: specif must hold the arc label code as its second \"@\" "
      "part "
      "[m,0,0,send,call@x]"},
     "A ping | 0>1:2 1>0:2"},
    {"ModeElevenTransitionsToUnknownStates",
     kStateMachineMode,
     "1,2\ns,0\ns\nt,0,4,Jump\nt,0\nt,0,0,Stay\n",
     {" Bad input in input.txt, line 3: line of no known form (expected a line beginning with s or "
      "t); "
      "skipped [s]",
      " Bad input in input.txt, line 4: target state 4 is not a node read so far [t,0,4,Jump]",
      " Bad input in input.txt, line 5: expected \"t,source,target,name\" [t,0]"},
     "_from-stay_towa-stay stay | 0>1:1 1>0:1"},
    {"ModeTwelveBrokenNodeAndRelationLines",
     kClassDiagramMode,
     "3,2\np,0,.\np\nc,x,Foo\nc,1,Foo\nm,2\nr,0,1,9\nr,0,9,9\nr,0,1,x\nr,0,1\nr,0,1,10\n\n"
     "junk line\n",
     {" Bad input in input.txt, line 3: line of no known form (expected a line beginning with p, "
      "c, m, "
      "a or r); skipped [p]",
      " Bad input in input.txt, line 4: node number is not a number [c,x,Foo]",
      " Bad input in input.txt, line 6: expected \"letter,number,label...\" [m,2]",
      " Node does not exist: 0,9(9) !!!!",
      " Bad input in input.txt, line 9: arc label must be one digit 0-9, found \"x\" [r,0,1,x]",
      " Bad input in input.txt, line 10: expected \"r,source,target,label[,weights]\" [r,0,1]",
      " Bad input in input.txt, line 11: arc label must be one digit 0-9, found \"10\" [r,0,1,10]",
      " Bad input in input.txt, line 13: line of no known form (expected a line beginning with p, "
      "c, "
      "m, a or r); skipped [junk line]",
      " Bad input in input.txt: header announces 3 nodes and 2 arcs; the file holds 2 nodes and 2 "
      "arcs"},
     ". Foo | 0>1:9"},
    {"ModeTwelveMemberTextsOutsideTheirForm",
     kClassDiagramMode,
     "3,2\nc,0,Foo\nm,1,void@run\na,2,int\nr,0,1,9\nr,0,2,9\n",
     {" Bad input in input.txt, line 3: method signature outside the "
      "\"[properties@]output@name@(inputs)\" form [m,1,void@run]",
      " Bad input in input.txt, line 4: attribute text outside the \"[properties@]type@name\" form "
      "[a,2,int]"},
     "Foo void@run int | 0>1:9 0>2:9"},
    {"ModeFourMemberTextsOutsideTheirForm",
     kMembersInClassesMode,
     "1,0\nc,0,Foo\nm,0,void@run\na,0,int\n",
     {" Bad input in input.txt, line 3: method text outside the "
      "\"[properties@]output@name@(inputs)\" "
      "form [m,0,void@run]",
      " Bad input in input.txt, line 4: attribute text outside the \"[properties@]type@name\" form "
      "[a,0,int]"},
     "Foo |"},
    {"ModeNineNegativeHeader",
     kDerivedTreeMode,
     "-3,1\nc,0,A\n",
     {" Bad input in input.txt, line 1: negative count in header [-3,1]"},
     "A . | 1>0:9"},
    {"ModeNineTitleLineIsNoHeader",
     kDerivedTreeMode,
     "classes,of,version,1\nc,0,A\n",
     {},
     "A . | 1>0:9"},
};

/// The written cases, then the cases that several readers answer alike: nothing to read
/// without a class line or a usable header, nothing read in a mode without a reader.
std::vector<BadInputCase> badInputs() {
    std::vector<BadInputCase> cases(std::begin(kBadInputs), std::end(kBadInputs));
    // Each of these reads nothing at all.
    auto nothingRead = [&cases](std::string name, int mode, std::string text,
                                std::vector<std::string> reports) {
        cases.push_back({std::move(name), mode, std::move(text), std::move(reports), " |"});
    };
    const std::string in = " Bad input in input.txt";
    for (auto [mode, name] :
         {std::pair{kHeaderedTreeMode, "ModeEight"}, {kDerivedTreeMode, "ModeNine"}})
        nothingRead(name + std::string("NoClassLine"), mode, "",
                    {in + ": no class line read; the graph is empty"});
    for (auto [mode, name] : {std::pair{-1, "Minus1"}, {13, "13"}, {99, "99"}})
        nothingRead("UnknownMode" + std::string(name), mode, "",
                    {in + ": unknown reader mode " + std::to_string(mode) + "; nothing read"});
    // The node-list and arc-list readers check their "nodes,arcs" header the same way.
    const struct {
        const char* name;
        const char* text;
        const char* report;
    } headers[] = {
        {"HeaderHuge", "2000000000,1\n0,a\n",
         "node count above the limit of 1000000 [2000000000,1]"},
        {"HeaderWords", "nodes,arcs\n0,1,1\n", "node count is not a number [nodes,arcs]"},
        {"HeaderNegative", "-3,1\n0,1,1\n", "negative count in header [-3,1]"},
    };
    for (const auto& h : headers)
        for (auto [mode, name] : {std::pair{kNodeListMode, "ModeZero"}, {kArcListMode, "ModeSix"}})
            nothingRead(name + std::string(h.name), mode, h.text,
                        {in + ", line 1: " + h.report,
                         in + ": no usable \"nodes,arcs\" header; nothing read"});
    return cases;
}

class BadInputTable : public ScratchTest, public testing::WithParamInterface<BadInputCase> {};

} // namespace

TEST_P(BadInputTable, EveryBadLineIsReportedOnceAndTheRestIsRead) {
    const BadInputCase& c = GetParam();
    std::string path = c.text;
    if (c.mode != kGraphTextMode) {
        writeText("input.txt", c.text);
        path = "input.txt";
    }
    ReadGraph r = readGraph(c.mode, path);
    EXPECT_EQ(reportLines(r.out), c.reports) << r.out;
    EXPECT_EQ(shapeOf(*r.g), c.shape);
    EXPECT_EQ(r.g->vertices, static_cast<int>(r.g->V.size()));
    EXPECT_EQ(r.g->edges, static_cast<int>(r.g->E.size()));
    for (size_t i = 0; i < r.g->V.size(); i++)
        EXPECT_EQ(r.g->V[i]->number, static_cast<int>(i));
}

INSTANTIATE_TEST_SUITE_P(Readers, BadInputTable, testing::ValuesIn(badInputs()),
                         [](const testing::TestParamInfo<BadInputCase>& row) {
                             return row.param.name;
                         });

using BadInput = ScratchTest;

TEST_F(BadInput, HeaderCountsAreBoundedByTheBytesThatFollow) {
    // A node line takes at least two bytes, so 3 bytes describe at most one node.
    writeText("short.txt", "4,1\n0,a");
    ReadGraph lines = readGraph(kNodeListMode, "short.txt");
    EXPECT_EQ(lines.g->vertices, 0);
    EXPECT_NE(lines.out.find("line 1: header announces 4 nodes; the 3 bytes after it can describe "
                             "at most 1; nothing read"),
              std::string::npos);
    // The arc list's nodes need no line: a small allowance, then one per byte.
    writeText("many.txt", "1000000,1\n0,1,1\n");
    EXPECT_EQ(readGraph(kArcListMode, "many.txt").g->vertices, 0);
    writeText("isolated.txt", "4000,1\n0,1,1\n");
    EXPECT_EQ(readGraph(kArcListMode, "isolated.txt").g->vertices, 4000);
}

TEST_F(BadInput, GraphTextWithoutAHeaderReadsNothing) {
    ReadGraph text = readGraph(kGraphTextMode, "x,y\ne,0,1,1\n");
    EXPECT_EQ(text.g->vertices, 0);
    EXPECT_EQ(text.g->u, nullptr);
}

TEST_F(BadInput, BinaryFilesEndingBeforeTheirRecordsReadNothing) {
    writeWords("cut1.bin", {3, 2, 1}); // node 0 announces two arcs, one is there
    ReadGraph one = readGraph(kBinaryMode, "cut1.bin");
    EXPECT_EQ(one.g->vertices, 0);
    EXPECT_EQ(one.g->edges, 0);
    EXPECT_NE(one.out.find(
                  "binary file ends before the records its header announces (3 nodes; cut in the "
                  "records of node 0); nothing read"),
              std::string::npos);

    writeWords("cut2.bin", {2, 0, 0, 1, 1}); // the attribute of the only arc is missing
    ReadGraph two = readGraph(kBinaryLabelledMode, "cut2.bin");
    EXPECT_EQ(two.g->vertices, 0);
    EXPECT_NE(two.out.find("cut in the records of node 0"), std::string::npos);

    writeWords("whole2.bin", {2, 0, 0, 1, 1, 3, 0}); // the same file with its last words
    ReadGraph whole = readGraph(kBinaryLabelledMode, "whole2.bin");
    EXPECT_EQ(whole.g->vertices, 2);
    EXPECT_EQ(arcLabel(*whole.g, 0, 1), "4"); // attribute 3 folds onto label 3 % 4 + 1

    writeText("empty.bin", "");
    ReadGraph empty = readGraph(kBinaryMode, "empty.bin");
    EXPECT_EQ(empty.g->vertices, 0);
    EXPECT_NE(empty.out.find("holds no node count"), std::string::npos);
}

TEST_F(BadInput, BinaryArcsToMissingNodesAreReportedFirstFewThenCounted) {
    // Node 0 of two has eight arcs, to nodes 9..16; node 1 one good arc to node 0.
    writeWords("far.bin", {2, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 0});
    ReadGraph far = readGraph(kBinaryMode, "far.bin");
    EXPECT_EQ(far.g->edges, 1);
    EXPECT_EQ(occurrences(far.out, "does not exist; skipped"), 5);
    EXPECT_NE(far.out.find("Bad input in far.bin: arc 0 -> 9: node 9 does not exist; skipped"),
              std::string::npos);
    EXPECT_NE(far.out.find("Bad input in far.bin: 8 arcs to missing nodes skipped in all"),
              std::string::npos);
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
    for (int mode : {kNodeListMode, kBinaryMode, kBinaryLabelledMode, kNamedEdgesMode,
                     kMembersInClassesMode, kLetteredMode, kArcListMode, kHeaderedTreeMode,
                     kDerivedTreeMode, kThreeKindsMode, kStateMachineMode, kClassDiagramMode}) {
        ReadGraph r = readGraph(mode, "junk.txt");
        EXPECT_EQ(r.g->vertices, static_cast<int>(r.g->V.size())) << "mode " << mode;
        for (size_t i = 0; i < r.g->V.size(); i++)
            EXPECT_EQ(r.g->V[i]->number, static_cast<int>(i)) << mode;
    }
    ReadGraph text = readGraph(kGraphTextMode, junk);
    EXPECT_EQ(text.g->vertices, static_cast<int>(text.g->V.size()));
}

TEST_F(BadInput, ConfigWeightsOutsideTheFloatRangeAreRefused) {
    writeText("config.txt", "ew,1,1e39\new,2,-1e39\new,3,2.5\n");
    writeText("arcs.txt", "2,1\n0,1,1\n");
    ReadGraph r = readGraph(kArcListMode, "arcs.txt");
    EXPECT_EQ(r.g->edge_weight[1], 0);
    EXPECT_EQ(r.g->edge_weight[2], 0);
    EXPECT_EQ(r.g->edge_weight[3], 2.5);
    EXPECT_EQ(occurrences(r.out, "Bad input in config.txt, line "), 2);
    EXPECT_NE(r.out.find("line 1: weight outside the range of a float [ew,1,1e39]"),
              std::string::npos);
    ASSERT_NE(r.g->u, nullptr);
    EXPECT_FALSE(std::isnan(r.g->u[0]));
}

TEST_F(BadInput, LongAndDeepNamesAreCutSoDerivedNamesStayBounded) {
    // 100 dotted parts: the first 63 and the last are kept.
    std::string deep = "p0";
    for (int i = 1; i < 100; i++)
        deep += ".p" + std::to_string(i);
    writeText("deep.txt", "c,0," + deep + "\n");
    ReadGraph nine = readGraph(kDerivedTreeMode, "deep.txt");
    ASSERT_GE(nine.g->vertices, 1);
    const std::string& label = nine.g->V[0]->label;
    EXPECT_EQ(std::count(label.begin(), label.end(), '.'), static_cast<long>(kMaxNameParts) - 1);
    EXPECT_EQ(label.substr(0, 6), "p0.p1.");
    EXPECT_EQ(label.substr(label.size() - 8), ".p62.p99");
    EXPECT_EQ(nine.g->nbPackages, static_cast<int>(kMaxNameParts)); // the root and 63 prefixes
    EXPECT_NE(nine.out.find("name of more than 64 dotted parts"), std::string::npos);

    writeText("long.txt", "1,0\nc,0," + std::string(3000, 'x') + "\n");
    ReadGraph eight = readGraph(kHeaderedTreeMode, "long.txt");
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
    ReadGraph twelve = readGraph(kClassDiagramMode, "chain.txt");
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
