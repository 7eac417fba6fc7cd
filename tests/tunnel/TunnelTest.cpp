// The version tunnel on a three-version series written by hand: chains, member and relation
// changes, the metrics of new and lasting classes, and the series lists it refuses.
#include "tunnel/Tunnel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cost/Cost.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "tunnel/TunnelMain.h"
#include "util/Console.h"

namespace {

// Newest version first. v3 against v2: A keeps "size", its "name" changes type, count()
// becomes getSize() (renamed), run(long) becomes run(int) (modified); A->B loses one of its
// two code-1 relations, B->A is new, A->C is new; C is a new class.
const char* kV3 = "3,3\nc,0,p.A\nc,1,p.B\nc,2,p.C\na,0,@int@size\na,0,@String@name\n"
                  "m,0,@int@getSize@()\nm,0,@void@run@(int)\nr,0,1,1\nr,1,0,1\nr,0,2,4\n";
const char* kV2 = "2,2\nc,0,p.A\nc,1,p.B\na,0,@int@size\na,0,@long@name\n"
                  "m,0,@int@count@()\nm,0,@void@run@(long)\nr,0,1,1\nr,0,1,1\n";
const char* kV1 = kV2;

const char* kWeights = "__1__1__1__1__0.5__1.csv";

/// Writes the three versions and the match files of both pairs into the current folder.
/// A match file is named <older>__<newer>: its nodes of the older version come first.
void writeSeriesFiles() {
    writeText("v3.txt", kV3);
    writeText("v2.txt", kV2);
    writeText("v1.txt", kV1);
    writeText(std::string("v2__v3") + kWeights, "\nCost:1\n\n NODES, #class1, #class2\n"
                                                "ns,0,0,p.A,p.A,,,,0,3,4.5,0\n"
                                                "ns,1,1,p.B,p.B,,,,0,1,1,0\n"
                                                "ns,7,1,bad,bad,,,,0,1,1,0\n"
                                                "ns,x,1,bad,bad,,,,0,1,1,0\n"
                                                "ns,0\n"
                                                "ni,2,p.C,,,,,,0,,5,\n");
    writeText(std::string("v1__v2") + kWeights,
              "ns,0,0,p.A,p.A,,,,0,2,2,0\nns,1,1,p.B,p.B,,,,0,0,0,0\n");
}

std::string seriesList() {
    return std::string("g,v3.txt\ng,v2.txt\ng,v1.txt\nm,v2__v3") + kWeights + "\nm,v1__v2" +
           kWeights + "\n";
}

struct TunnelRun {
    std::unique_ptr<Tunnel> tunnel;
    std::string printed;
};

TunnelRun runTunnel(const std::string& list) {
    writeText("series.txt", list);
    TunnelRun run;
    ConsoleCapture capture;
    run.tunnel = std::make_unique<Tunnel>("series.txt");
    run.printed = capture.text();
    return run;
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string f;
    while (std::getline(in, f, ','))
        fields.push_back(f);
    return fields;
}

double classInsertion() {
    Cost c;
    c.initMode1(1, 1, 1, 1, 0.5);
    return c.classInsertion;
}

} // namespace

TEST(TunnelTest, ChangesOfOnePairAgainstTheOlderVersion) {
    ScratchFolder dir("tunnel-changes");
    writeSeriesFiles();
    TunnelRun run = runTunnel(seriesList());
    ASSERT_EQ(run.tunnel->status, 0) << run.printed;
    ASSERT_EQ(run.tunnel->matchings.size(), 2u);
    const Tunnel::matching& m0 = *run.tunnel->matchings[0];
    ASSERT_EQ(m0.matchList.size(), 1u);
    const int A = 0, B = 1, C = 2;

    // The three bad node lines are reported with the file and line and skipped.
    const std::string file = std::string("v2__v3") + kWeights;
    for (int line : {7, 8, 9})
        EXPECT_NE(run.printed.find("Bad input in " + file + ", line " + std::to_string(line)),
                  std::string::npos)
            << line;
    EXPECT_EQ(m0.matchList[0], (NodeInts{0, 1, -1}));
    EXPECT_EQ(m0.costList[0][A], 7); // 3 + 4.5 read as integers

    // Members of A against its older self.
    EXPECT_EQ(m0.nbDelAttList[0][A], 1);
    EXPECT_EQ(m0.nbAddAttList[0][A], 1);
    EXPECT_EQ(m0.nbRenMetList[0][A], 1);
    EXPECT_EQ(m0.nbModMetList[0][A], 1);
    EXPECT_EQ(m0.nbDelMetList[0][A], 0);
    EXPECT_EQ(m0.p_DelAttList[0][A], 50);
    EXPECT_EQ(m0.p_RenMetList[0][A], 50);

    // A->B: one code-1 relation fewer (deleted, at both ends). B->A has no counterpart: its
    // relation is added at both ends. A->C goes to an unmatched class: added at A only.
    EXPECT_EQ(m0.nbDelRelList[0][A], 1);
    EXPECT_EQ(m0.nbDelRelList[0][B], 1);
    EXPECT_EQ(m0.nbAddRelList[0][A], 2);
    EXPECT_EQ(m0.nbAddRelList[0][B], 1);
    EXPECT_EQ(m0.nbAddRelInList[0][A], 1);
    EXPECT_EQ(m0.nbAddRelOutList[0][A], 1);
    EXPECT_EQ(m0.nbAddRelOutList[0][B], 1);
    EXPECT_EQ(m0.nbModRelList[0][A], 2);
    // A's partner has 2 relations: 1 deleted = 50 %, 2 added = 100 %.
    EXPECT_EQ(m0.p_DelRelList[0][A], 50);
    EXPECT_EQ(m0.p_AddRelList[0][A], 100);
    // bCost: 4 member changes plus the out-relations deleted and added.
    EXPECT_EQ(m0.bCostList[0][A], 4 + 1 + 1);

    // C is unmatched: its sizes as read, every change 0.
    EXPECT_EQ(m0.nbRelList[0][C], 1);
    EXPECT_EQ(m0.nbAddRelList[0][C], 0);
    EXPECT_EQ(m0.bCostList[0][C], 0);
    EXPECT_EQ(m0.costList[0][C], 0);
}

TEST(TunnelTest, ChainsMetricsAndReports) {
    ScratchFolder dir("tunnel-chains");
    writeSeriesFiles();
    TunnelRun run = runTunnel(seriesList());
    ASSERT_EQ(run.tunnel->status, 0) << run.printed;
    const Tunnel& t = *run.tunnel;
    EXPECT_EQ(t.m[0], (NodeInts{0, 0, 0}));
    EXPECT_EQ(t.m[2], (NodeInts{2, -1, -1}));
    EXPECT_EQ(t.threads, (NodeInts{3, 3, 1}));
    EXPECT_EQ(t.tunnelSize, 2);
    EXPECT_EQ(t.tunnelled, (NodeInts{0, 1}));

    // A lasts through all versions: costs 7 and 4 plus its insertion in v1; every mean
    // divides by the 3 versions.
    const TunnelClassRow& a = t.rows[0];
    EXPECT_EQ(a.newClass, 0);
    EXPECT_EQ(a.ec.first, 7);
    EXPECT_GT(a.X, classInsertion()); // A->B in v1 is inserted with it
    EXPECT_DOUBLE_EQ(a.ec.total, 7 + 4 + a.X);
    EXPECT_DOUBLE_EQ(a.ec.mean, a.ec.total / 3);
    EXPECT_EQ(a.nb[0], 1);     // DelAtt: 1 in the first step, 0 in the second
    EXPECT_EQ(a.lastNb[4], 1); // RenMet of the first matching

    // C is new in v3: its last cost is its insertion, with no relation going out of it.
    const TunnelClassRow& c = t.rows[2];
    EXPECT_EQ(c.newClass, 1);
    EXPECT_DOUBLE_EQ(c.X, classInsertion());
    EXPECT_DOUBLE_EQ(c.ec.first, c.X);
    EXPECT_DOUBLE_EQ(c.ec.mean, c.X / 3);
    EXPECT_EQ(c.steps, 1);

    // The metrics file: one row per class, as many fields as the header.
    std::ifstream metrics("results/tunnel_v3.csv");
    std::string header, line, lastRow;
    ASSERT_TRUE(std::getline(metrics, header));
    EXPECT_EQ(header.rfind("class,LastEC,EC,MeanEC,", 0), 0u);
    int rows = 0;
    while (std::getline(metrics, line)) {
        ++rows;
        lastRow = line;
        EXPECT_EQ(csvFields(line).size(), csvFields(header).size()) << line;
    }
    EXPECT_EQ(rows, 3);
    ASSERT_FALSE(lastRow.empty());
    EXPECT_EQ(csvFields(lastRow).back(), "1"); // C's newClass

    // Name and relation histories: A->B changes its counts between v3 and v2.
    const std::string r = readText("results/rtunnel_v3.csv");
    EXPECT_NE(r.find("0,p.A,1,p.B,2,2,v3__100000,v2__200000\n"), std::string::npos) << r;
    EXPECT_NE(readText("results/ctunnel_v3.csv").find("2,p.C,0,1,v3__p.C\n"), std::string::npos);
    EXPECT_NE(readText("results/raw_tunnel_v3.csv").find("\n\n tunnelSize,2"), std::string::npos);
}

TEST(TunnelTest, OneGraphAndAnEarlyMatchEntryBuildNoMatching) {
    ScratchFolder dir("tunnel-one-graph");
    writeSeriesFiles();
    // The "m" entry comes before its graphs: skipped, but its weights still build the costs.
    TunnelRun run = runTunnel(std::string("m,v2__v3") + kWeights + "\ng,v3.txt\n");
    EXPECT_EQ(run.tunnel->status, 0) << run.printed;
    EXPECT_TRUE(run.tunnel->matchings.empty());
    EXPECT_NE(run.printed.find("\nMatchings : 0"), std::string::npos);
    EXPECT_EQ(run.printed.find("FOUND TWICE"), std::string::npos);
    EXPECT_EQ(run.tunnel->threads, (NodeInts{1, 1, 1}));
}

TEST(TunnelTest, BadSeriesListsStopWithTheirExitCode) {
    ScratchFolder dir("tunnel-bad");
    writeSeriesFiles();
    struct Case {
        std::string list;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"", 1, "lists no \"g\" entry"},
        {"g,v3.txt\ng,v2.txt\n", 1, "lists no \"m\" entry"},
        {"g,v3.txt\ng,v2.txt\nm,v2__v3__1__1.csv\n", 1,
         "does not hold <g2>__<g1>__dwn__dwe__ew__asy__lw"},
        {"g,v3.txt\ng,missing.txt\n", 2, "Bad input in missing.txt: cannot be opened"},
        {"g,v3.txt\ng,v2.txt\nm,results/v2__v3" + std::string(kWeights) + "\n", 2,
         "cannot be opened (expected a match result file)"},
    };
    for (const Case& c : cases) {
        TunnelRun run = runTunnel(c.list);
        EXPECT_EQ(run.tunnel->status, c.status) << c.list;
        EXPECT_NE(run.printed.find(c.message), std::string::npos) << c.list << run.printed;
    }
    // The command line: exactly one series list, its status as the exit code.
    ConsoleCapture quiet;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tunnelMain({"graphmat-tunnel"}), 1);
    EXPECT_EQ(tunnelMain({"graphmat-tunnel", "a.txt", "b.txt"}), 1);
    EXPECT_EQ(tunnelMain({"graphmat-tunnel", "no_such_list.txt"}), 2);
    writeText("good.txt", seriesList());
    EXPECT_EQ(tunnelMain({"graphmat-tunnel", "good.txt"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Usage: graphmat-tunnel SERIES_LIST"),
              std::string::npos);
}
