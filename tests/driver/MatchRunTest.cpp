// End-to-end runs of the matcher's driver on the example pair.
#include "driver/MatchRun.h"
#include "util/Console.h"
#include "util/OutputRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

namespace fs = std::filesystem;

namespace {

/// Runs the driver in a fresh folder and returns everything it printed.
class DriverRun : public ScratchTest {
protected:
    int run(const MatchSettings& s, std::string& printed) {
        ConsoleCapture capture;
        int rc = runMatch(s, console());
        printed = capture.text();
        return rc;
    }

    static MatchSettings exampleSettings() {
        MatchSettings s;
        s.graph1 = examplePath("v1.txt");
        s.graph2 = examplePath("v2.txt");
        s.dwn = s.dwe = s.ew = s.asy = 1;
        s.lw = 0.5;
        return s;
    }
};

} // namespace

TEST_F(DriverRun, ExamplePairIsMatchedAndReported) {
    std::string printed;
    ASSERT_EQ(run(exampleSettings(), printed), 0);
    EXPECT_NE(printed.find("\n G1: 62\t126\n"), std::string::npos);
    EXPECT_NE(printed.find("\n G2: 68\t139\n"), std::string::npos);
    EXPECT_NE(printed.find("\n\n\nNo Matching Cost : 19750\n"), std::string::npos);
    // The cost the search reaches on the example with these weights and seed 1.
    EXPECT_NE(printed.find("\n\n\nMatching Cost : 1969.59\n"), std::string::npos);
    EXPECT_NE(printed.find("\nTime : "), std::string::npos);
    EXPECT_NE(printed.find("\n\nIterations : 21"), std::string::npos);

    const std::string tag = "v1__v2__1__1__1__1__0.5__1";
    const std::string pairs = readText("results/raw_" + tag + ".csv");
    EXPECT_NE(
        pairs.find(
            "\"com.shop.service.PaymentGateway\",\"com.shop.service.PaymentProcessor\",Class"),
        std::string::npos);
    EXPECT_NE(
        pairs.find("\"com.shop.util.PriceFormatter\",\"com.shop.service.PriceFormatter\",Class"),
        std::string::npos);
    const std::string merges = readText("results/raw_" + tag + ".csv_MERGES.csv");
    EXPECT_NE(merges.find("33_com.shop.service.OrderService____38_com.shop.service.InvoiceService"),
              std::string::npos);
}

TEST_F(DriverRun, SameSeedGivesTheSameResultFiles) {
    std::string printed;
    ASSERT_EQ(run(exampleSettings(), printed), 0);
    const std::string tag = "v1__v2__1__1__1__1__0.5__1";
    const std::string first = readText("results/" + tag + ".csv.csv.csv");
    ASSERT_FALSE(first.empty());
    fs::remove_all("results");
    ASSERT_EQ(run(exampleSettings(), printed), 0);
    EXPECT_EQ(readText("results/" + tag + ".csv.csv.csv"), first);
}

TEST_F(DriverRun, GraphsWithoutNodesStopTheRunWithCodeTwoBeforeAnythingIsWritten) {
    std::ofstream("empty.txt").close();
    fs::create_directories("a_folder");
    // Missing graph 1, missing graph 2, an empty file, a folder given as a file.
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"no_such_graph.txt", examplePath("v2.txt")},
        {examplePath("v1.txt"), "no_such_graph.txt"},
        {"empty.txt", examplePath("v2.txt")},
        {"a_folder", examplePath("v2.txt")}};
    for (const auto& [first, second] : pairs) {
        MatchSettings s = exampleSettings();
        s.graph1 = first;
        s.graph2 = second;
        std::string printed;
        EXPECT_EQ(run(s, printed), 2) << first << " " << second;
        const std::string culprit = first.find("v1.txt") != std::string::npos ? second : first;
        EXPECT_NE(printed.find("\n Error: no node read from " + culprit + ";"), std::string::npos)
            << printed;
        EXPECT_EQ(printed.find("No Matching Cost"), std::string::npos);
        EXPECT_FALSE(fs::exists("results"));
    }
}

TEST_F(DriverRun, ResultsThatCannotBeWrittenEndWithCodeThree) {
    std::ofstream("results") << "a file where the results folder should be\n";
    resetUnwrittenFiles();
    std::string printed;
    EXPECT_EQ(run(exampleSettings(), printed), 3);
    resetUnwrittenFiles();
    EXPECT_NE(printed.find("\n Cannot write the result file ./results/raw_v1.csv"),
              std::string::npos);
    // The failure is the last line, after the figures of the run.
    const size_t figures = printed.find("\n\nIterations : ");
    const size_t failure = printed.find("\n Error: ");
    ASSERT_NE(failure, std::string::npos);
    EXPECT_GT(failure, figures);
    EXPECT_NE(printed.find(" result file(s) could not be written (see the lines above)\n", failure),
              std::string::npos);
}

// Two result sets of the example pair: a seed-2 run plays the second producer (its files
// renamed "uml_"), then diff mode compares the seed-1 run's matching with it.
TEST_F(DriverRun, DiffModeComparesTwoEarlierResultSets) {
    MatchSettings s = exampleSettings();
    s.seed = 2;
    std::string printed;
    ASSERT_EQ(run(s, printed), 0);
    fs::rename("results/raw_v1.csv", "results/uml_v1.csv");
    fs::rename("results/raw_v2.csv", "results/uml_v2.csv");
    fs::rename("results/raw_v1__v2__1__1__1__1__0.5__2.csv", "results/uml_v1__v2.csv");
    s.seed = 1;
    ASSERT_EQ(run(s, printed), 0);

    s.umldiff = 1;
    EXPECT_EQ(run(s, printed), 1);
    EXPECT_NE(printed.find("\n G2: 68\t139\n"), std::string::npos);
    EXPECT_EQ(printed.find("Matching Cost"), std::string::npos);
    EXPECT_EQ(printed.find("Bad input"), std::string::npos);
    const std::string report = readText("results/raw_v1__v2__1__1__1__1__0.5__1.csv_diff.csv");
    EXPECT_EQ(report.find("\n\n M1 inter M2 \n\n"), 0u);
    EXPECT_NE(report.find("\n\n M1 - M2 \n\n"), std::string::npos);
    EXPECT_NE(report.find("\n\n M2 - M1 \n\n"), std::string::npos);
    // Both seeds find the rename; the class names here are those of the raw files.
    EXPECT_NE(
        report.find("\"com.shop.service.PaymentGateway__com.shop.service.PaymentProcessor\"\n"),
        std::string::npos);
}

TEST_F(DriverRun, SimilarityFileSwitchRunsTheAssignmentMatching) {
    // The file given to -m is not read: a name that does not exist selects the matching too.
    MatchSettings s = exampleSettings();
    s.sim_graphs = "not_read.csv";
    std::string printed;
    ASSERT_EQ(run(s, printed), 0);
    EXPECT_NE(printed.find("\nMatch -- Cost="), std::string::npos);
    EXPECT_NE(printed.find("\n\n\nMatching Cost : "), std::string::npos);
    EXPECT_NE(printed.find("\n\nIterations : 0"), std::string::npos);
    const std::string tag = "v1__v2__1__1__1__1__0.5__1";
    const std::string report = readText("results/" + tag + ".csv");
    EXPECT_NE(report.find("\nns,"), std::string::npos);
    fs::remove_all("results");
    ASSERT_EQ(run(s, printed), 0);
    EXPECT_EQ(readText("results/" + tag + ".csv"), report) << "the same run repeats byte for byte";
}
