// Result files of a matching: raw entity lists, pair and merge files, the four reports, and a
// matching read back from a log. Expected texts are written out by hand from the file layouts
// and from the symmetric weights (every node or relation dropped for 50, a class renamed
// for 100).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "cost/Cost.h"
#include "graph/Kinds.h"
#include "match/Match.h"
#include "tests/match/MatchTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/QuietOutput.h"
#include "tests/support/Scratch.h"
#include "tests/support/TextCount.h"

namespace {
constexpr int kSeed = 7;
/// Run tag of graphs "old" and "new" under symmetricCost() with seed 7.
const std::string kTag = "old__new__1__1__1__1__0__7";

/// The matcher's result files over two small versions "old" and "new".
class ResultFiles : public TwoDiagrams {
protected:
    void pair(int x, int y) {
        matcher->M12[x] = y;
        matcher->M21[y] = x;
    }

    /// old: package p with classes A and B, A -1-> B, and a loop -3- on B.
    /// new: package p with classes A, C (B renamed) and D (inserted), A -1-> C.
    void renamedClass() {
        b1.node(kPackageType, "p");
        b1.node(kClassType, "p.A");
        b1.node(kClassType, "p.B");
        b1.arc(0, 1, kContainmentText).arc(0, 2, kContainmentText).arc(1, 2, "1").arc(2, 2, "3");
        b2.node(kPackageType, "p");
        b2.node(kClassType, "p.A");
        b2.node(kClassType, "p.C");
        b2.node(kClassType, "p.D");
        b2.arc(0, 1, kContainmentText)
            .arc(0, 2, kContainmentText)
            .arc(1, 2, "1")
            .arc(0, 3, kContainmentText);
        start(kSeed);
    }

    /// Entities whose names need the raw-file rules: a nested class written with "$" in one
    /// version and "." in the other, and a method whose parameters changed.
    void entityNames() {
        b1.node(kPackageType, "p");
        b1.node(kClassType, "p.B$Inner");
        b1.node(kMethodType, "p.A.run", "public,void,run,int,String");
        b1.node(kClassType, "p.A");
        b2.node(kPackageType, "p");
        b2.node(kClassType, "p.B.Inner");
        b2.node(kMethodType, "p.A.run", "public,void,run,int");
        b2.node(kClassType, "p.A");
        b2.node(kClassType, "p.C");
        start(kSeed);
    }
};

using RawFiles = ResultFiles;
using Reports = ResultFiles;
using MatchingLog = ResultFiles;

const std::string kHeader =
    "\nCost:250 SameLabels:0(0)/3(0) |V1|=3 |E1|=4 |V2|=4 |E2|=4\n"
    "Penalties : cnd=50 cni=50 cns=100 ced=100 cei=100 cess=100 lw=0 aw=0.333333 mw=0.666667\n";
const std::string kNodesTitle =
    "\n\n NODES, #class1, #class2, class1, class2, ,,, raw cost, overall cost1, overall cost2\n\n";
const std::string kEdgesTitle =
    "\n\n EDGES, src1, dest1, label1, src2, dest2, label2,, raw cost \n\n";
const std::string kMatchedBanner =
    "\n,,***********************************\n,,*Matched classes with different names*\n"
    ",,*********************************** \n";
const std::string kSameNameBanner =
    "\n,,************************************ \n,,*Non-Matched classes with same names*\n"
    ",,************************************\n";
const std::string kDeletedBanner = "\n,,***********************************\n,,*Deleted "
                                   "classes*\n,,*********************************** \n";
const std::string kInsertedBanner = "\n,,***********************************\n,,*Inserted "
                                    "classes*\n,,*********************************** \n";

} // namespace

TEST_F(RawFiles, EntityNamesCategoriesAndPairsWithDifferentNames) {
    entityNames();
    for (int n = 0; n < 4; n++)
        pair(n, n);
    matcher->rawPrint();

    EXPECT_EQ(readText("results/raw_old.csv"),
              "\"class\",\"category\"\n\"p\",\"Package\"\n\"p.B.Inner\",\"Class\"\n"
              "\"p.A.run(int,String)\",\"Method\"\n\"p.A\",\"Class\"\n");
    EXPECT_EQ(readText("results/raw_new.csv"),
              "\"class\",\"category\"\n\"p\",\"Package\"\n\"p.B.Inner\",\"Class\"\n"
              "\"p.A.run(int)\",\"Method\"\n\"p.A\",\"Class\"\n\"p.C\",\"Class\"\n");
    // "$" against "." gives the same entity: only the method with other parameters is listed.
    EXPECT_EQ(
        readText("results/raw_" + kTag + ".csv"),
        "\"class1\",\"class2\",\"category\"\n\"p.A.run(int,String)\",\"p.A.run(int)\",Method\n");
    EXPECT_TRUE(std::filesystem::exists("results/raw_" + kTag + ".csv_MERGES.csv"));
    EXPECT_EQ(readText("results/raw_" + kTag + ".csv_MERGES.csv"), "");
}

TEST_F(RawFiles, MergeFileListsOnlyBlocksOfSeveralNodes) {
    entityNames();
    // Nodes 1 and 3 of the first graph form block 4, matched with node 3 of the second.
    auto* block = new Vertex(4, "_1_3__-");
    block->type = kClassType;
    *block->nodes = {1, 3};
    matcher->V1[4] = block;
    matcher->blocks1[1] = matcher->blocks1[3] = 4;
    matcher->M12[1] = matcher->M12[3] = 3;
    matcher->M21[3] = 4;
    pair(0, 0);
    pair(2, 2);
    (*matcher->_N)(4, 3) = 0.25f;
    matcher->rawPrint();

    EXPECT_EQ(matcher->writeVertex1(4), "1_p.B$Inner____3_p.A____");
    EXPECT_EQ(matcher->writeVertex1(2), "2_p.A.run_public;void;run;int;String___");
    EXPECT_EQ(
        readText("results/raw_" + kTag + ".csv"),
        "\"class1\",\"class2\",\"category\"\n\"p.A.run(int,String)\",\"p.A.run(int)\",Method\n"
        "\"p.B.Inner\",\"p.A\",Class\n");
    EXPECT_EQ(readText("results/raw_" + kTag + ".csv_MERGES.csv"),
              "\"1_p.B$Inner____3_p.A____\",\"3_p.A____\",Class,0.25\n");
}

TEST_F(Reports, RenamedClassGoldenText) {
    renamedClass();
    for (int n = 0; n < 3; n++)
        pair(n, n);
    matcher->numberOfMatchs = 3;
    matcher->output(kClassDiagramCosts);

    // Matched pairs: removing (p, p) or (A, A) costs both nodes (100) and four relations
    // (200); removing (B, C) frees four relations and trades the rename for a drop.
    const std::string matchedRows = "ns,0,0,p,p,,,,0,0,50,300\n"
                                    "ns,1,1,p.A,p.A,,,,0,0,0,300\n"
                                    "ns,2,2,p.B,p.C,,,,100,150,0,200\n";
    const std::string base = "results/" + kTag + ".csv";
    EXPECT_EQ(readText(base), kHeader + kNodesTitle + matchedRows + "ni,3,p.D,,,,,,0,,50,\n" +
                                  kEdgesTitle +
                                  "es1,p,p.A,9,p,p.A,9,,0\n"
                                  "es1,p,p.B,9,p,p.C,9,,0\n"
                                  "es1,p.A,p.B,1,p.A,p.C,1,,0\n"
                                  "es1,p.B,p.B,3,,,,,1\n"
                                  "ei,,,,p,p.D,9,,0\n");
    EXPECT_EQ(readText(base + ".csv"), kHeader + kNodesTitle +
                                           "ns,0,0,p,p,,,,0,0,50,300\n"
                                           "ns,2,2,p.B,p.C,,,,100,150,0,200\n" +
                                           kEdgesTitle + "es1,p.B,p.B,3,,,,,1\nei,,,,p,p.D,9,,0\n");
    const std::string renamed = "\n2_p.B,2_p.C,0,100,150,0,200\n";
    EXPECT_EQ(readText(base + ".csv.csv"),
              kHeader + kMatchedBanner + "\n,,1-----" + renamed +
                  "||Relations(1)||\n<--9-- p(M)\n<--1-- p.A(M)\n--3--> self\n"
                  ",||Relations(2)||\n,<--9-- p(M)\n,<--1-- p.A(M)\n" +
                  kSameNameBanner + kDeletedBanner + kInsertedBanner +
                  "\n,,i1-----p.D\n||Relations||\n,<-9-p\n");
    EXPECT_EQ(readText(base + ".csv.csv.csv"), kHeader + kMatchedBanner + renamed +
                                                   kSameNameBanner + kDeletedBanner +
                                                   kInsertedBanner + "p.D\n");

    EXPECT_DOUBLE_EQ(matcher->bestCost, 250);
    EXPECT_DOUBLE_EQ(matcher->currentCost, 250);
    EXPECT_EQ(matcher->matchedEdges, 3);
    EXPECT_EQ(matcher->perfectMatchedEdges, 3);
}

TEST_F(Reports, EmptyMatchingListsOnlyDeletionsAndInsertions) {
    renamedClass();
    matcher->output(kClassDiagramCosts);

    const std::string report = readText("results/" + kTag + ".csv");
    EXPECT_EQ(occurrences(report, "\nns,"), 0);
    EXPECT_EQ(occurrences(report, "\nnd,"), 3);
    EXPECT_EQ(occurrences(report, "\nni,"), 4);
    EXPECT_EQ(occurrences(report, "\ned,"), 4);
    EXPECT_EQ(occurrences(report, "\nei,"), 4);
    EXPECT_EQ(occurrences(report, "\nes1,"), 0);
    // B: its own drop (50), and three relations counted once each, the loop included.
    EXPECT_NE(report.find("\nnd,p.B,,,,,,,50,200,\n"), std::string::npos);
    // Inserted rows carry a raw cost of 0; D's total is its one relation.
    EXPECT_NE(report.find("\nni,3,p.D,,,,,,0,,50,\n"), std::string::npos);
    EXPECT_NE(report.find("\nei,,,,p,p.D,9,,0\n"), std::string::npos);

    const std::string diff = readText("results/" + kTag + ".csv.csv.csv");
    EXPECT_EQ(occurrences(diff, "\n,,d"), 3);
    EXPECT_EQ(occurrences(diff, "\n,,i"), 4);
    EXPECT_NE(diff.find("\n,,d3-----p.B\n||Relations||\n<-9-p\n<-1-p.A\n-3->p.B\n"),
              std::string::npos);
    EXPECT_DOUBLE_EQ(matcher->bestCost, matcher->no_matching_cost);
}

TEST_F(Reports, SameNamesLeftUnmatchedAreListed) {
    renamedClass();
    // A of the first graph is matched with C while A of the second graph stays free.
    pair(0, 0);
    pair(1, 2);
    matcher->output(kClassDiagramCosts);

    const std::string diff = readText("results/" + kTag + ".csv.csv.csv");
    const std::string entry =
        "\n1_p.A(2_p.C),1_p.A\n||Relations(1)||\n<-9-p\n-1->p.B\n,||Relations(2)||\n"
        ",<-9-p\n,-1->p.C\n";
    EXPECT_NE(diff.find(kSameNameBanner + "\n,,1-----" + entry), std::string::npos) << diff;
    EXPECT_NE(readText("results/" + kTag + ".csv.csv.csv.csv")
                  .find(kSameNameBanner + "\n1_p.A(2_p.C),1_p.A"),
              std::string::npos);
}

TEST_F(Reports, ResultsFolderIsCreatedWhenMissing) {
    renamedClass();
    std::filesystem::remove_all("results");
    matcher->output(kClassDiagramCosts);
    EXPECT_TRUE(std::filesystem::exists("results/raw_old.csv"));
    EXPECT_TRUE(std::filesystem::exists("results/" + kTag + ".csv.csv.csv.csv"));
}

TEST_F(MatchingLog, PricesTheLoggedPairsAndLeavesAnEmptyMatching) {
    renamedClass();
    pair(0, 0);
    pair(1, 1);
    const double expected = matcher->costFigures(kClassDiagramCosts).total;
    matcher->M12[0] = matcher->M12[1] = -1;
    matcher->M21[0] = matcher->M21[1] = -1;

    {
        std::ofstream log("matching.log");
        log << "n,0,0\r\nx,ignored\nn,1,1\nn,2,-1\nn,9,1\nn,2,17\nn,0\n";
    }
    QuietOutput quiet;
    EXPECT_DOUBLE_EQ(matcher->getLog("matching.log"), expected);
    const std::string form = ": expected n,<node of graph 1>,<node of graph 2 or -1> [";
    EXPECT_EQ(linesWith(quiet.text(), "Bad input"),
              (std::vector<std::string>{" Bad input in matching.log, line 5" + form + "n,9,1]",
                                        " Bad input in matching.log, line 6" + form + "n,2,17]",
                                        " Bad input in matching.log, line 7" + form + "n,0]"}));
    EXPECT_EQ(matcher->log_matching[0], 0);
    EXPECT_EQ(matcher->log_matching[1], 1);
    EXPECT_EQ(matcher->log_matching[2], -1);
    for (int x = 0; x < 3; x++)
        EXPECT_EQ(matcher->M12[x], -1);
    for (int y = 0; y < 4; y++)
        EXPECT_EQ(matcher->M21[y], -1);

    // A second first-graph node logged with the same partner is left out of the pricing.
    writeText("twice.log", "n,0,0\nn,1,0\n");
    matcher->getLog("twice.log");
    EXPECT_EQ(linesWith(quiet.text(), "twice"),
              std::vector<std::string>{" Bad input in twice.log: node 0 of graph 2 is logged "
                                       "twice; node 1 is left unmatched"});
}

TEST_F(MatchingLog, MissingFileGivesZeroAndNoPairs) {
    renamedClass();
    pair(2, 2);
    EXPECT_EQ(matcher->getLog("absent.log"), 0);
    for (int x = 0; x < 3; x++) {
        EXPECT_EQ(matcher->log_matching[x], -1);
        EXPECT_EQ(matcher->M12[x], -1);
    }
}
