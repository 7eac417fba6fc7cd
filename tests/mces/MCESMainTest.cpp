// Command line of the greedy matcher: switch parsing, usage and echo texts, and runs that
// append their summary line to the results file.
#include "mces/MCESMain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MCESTestSupport.h"
#include "tests/support/Files.h"

TEST(MCESCommandLine, DefaultsWhenOnlyTheGraphsAreGiven) {
    MCESSettings s;
    ASSERT_TRUE(parseMCESArguments({"graphmat-mces", "-o", "a.txt", "-n", "b.txt"}, s));
    EXPECT_EQ(s.graph1, "a.txt");
    EXPECT_EQ(s.graph2, "b.txt");
    EXPECT_EQ(s.algo, 1);
    EXPECT_EQ(s.r_alpha, 0.0f);
    EXPECT_EQ(s.sisim, 0);
    EXPECT_EQ(s._seed, 1);
}

TEST(MCESCommandLine, EverySwitchSetsItsValue) {
    MCESSettings s;
    ASSERT_TRUE(parseMCESArguments(
        {"p", "-o", "A", "-n", "B", "-t", "2", "-a", "0.25", "-m", "123", "-s", "42", "stray"}, s));
    EXPECT_EQ(s.algo, 2);
    EXPECT_FLOAT_EQ(s.r_alpha, 0.25f);
    EXPECT_EQ(s.sisim, 123);
    EXPECT_EQ(s._seed, 42);
    // Only the second character names the switch; values are read like atoi.
    ASSERT_TRUE(parseMCESArguments({"p", "-tree", "7x", "-o", "A", "-n", "B"}, s));
    EXPECT_EQ(s.algo, 7);
}

TEST(MCESCommandLine, RefusedArgumentLists) {
    MCESSettings s;
    EXPECT_FALSE(parseMCESArguments({"p", "-o", "A", "-n"}, s)); // four arguments are too few
    EXPECT_FALSE(parseMCESArguments({"p", "-o", "A", "-x", "1"}, s));
    EXPECT_FALSE(parseMCESArguments({"p", "-o", "A", "-n", "B", "-t"}, s)); // no value
    EXPECT_FALSE(parseMCESArguments({"p", "-o", "A", "-", "B"}, s));
}

TEST(MCESCommandLine, UsageAndEchoTexts) {
    EXPECT_EQ(mcesUsageText(),
              "\nLegal switches:\n-o path of graph 1\n-n path of graph 2\n-t type of algorithm\n"
              "-a randomisation alpha\n-m type of similarity\n-s random seed\n");
    MCESSettings s;
    s.graph1 = "A";
    s.graph2 = "B";
    s.r_alpha = 0.5f;
    s.sisim = 80;
    EXPECT_EQ(mcesEcho(s), "-o A -n B -s 1 -t 1 -a 0.5 -m 80\n");
}

TEST(MCESCommandLineDeathTest, UsageEndsWithStatusOne) {
    const char* argv[] = {"graphmat-mces", "-o", "A", "-n"};
    EXPECT_EXIT(mcesMain(4, const_cast<char**>(argv)), ::testing::ExitedWithCode(1),
                "Legal switches:");
}

TEST(MCESRun, AppendsOneLinePerRun) {
    const std::string results = "mces_results_append.csv";
    std::remove(results.c_str());
    MCESSettings s;
    s.graph1 = testData("mces_pair_a.txt");
    s.graph2 = testData("mces_pair_b.txt");
    s.algo = 2;
    s.sisim = 2;
    QuietOutput quiet;
    const std::string first = runMCES(s, results);
    const std::string second = runMCES(s, results);
    EXPECT_EQ(first.substr(0, 11), "0,MCES,0,1,");
    EXPECT_NE(first.find(",mces_pair_a,2,2\n"), std::string::npos);
    const std::vector<std::string> lines = readLines(results);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0] + "\n", first);
    // The same seed gives the same matching, hence the same number of edges won.
    const auto won = [](const std::string& line) {
        std::size_t p = 0;
        for (int k = 0; k < 4; ++k)
            p = line.find(',', p) + 1;
        return line.substr(p, line.find(',', p) - p);
    };
    EXPECT_EQ(won(first), won(second));
    EXPECT_EQ(quiet.text().find("-o " + s.graph1 + " -n " + s.graph2 + " -s 1 -t 2 -a 0 -m 2\n"),
              0u);
}

TEST(MCESRun, EndsWithCodeTwoOnAGraphWithoutNodesAndThreeOnUnwrittenResults) {
    const std::string good = testData("mces_pair_b.txt");
    std::vector<std::string> missing = {"graphmat-mces", "-o", "no_such_graph.txt", "-n", good};
    std::vector<char*> argv;
    for (std::string& w : missing)
        argv.push_back(&w[0]);
    EXPECT_EXIT(mcesMain(static_cast<int>(argv.size()), argv.data()), ::testing::ExitedWithCode(2),
                "");

    // A folder where "results.csv" should be: the line cannot be appended.
    const std::string folder = "mces_unwritable";
    std::filesystem::create_directories(folder + "/results.csv");
    std::vector<std::string> good2 = {"graphmat-mces", "-o", good, "-n", good};
    argv.clear();
    for (std::string& w : good2)
        argv.push_back(&w[0]);
    const auto inFolder = [&]() {
        std::filesystem::current_path(folder);
        mcesMain(static_cast<int>(argv.size()), argv.data());
        std::exit(0);
    };
    EXPECT_EXIT(inFolder(), ::testing::ExitedWithCode(3), "");
    std::filesystem::remove_all(folder);
}

TEST(MCESRun, MissingGraphWritesNoLine) {
    const std::string results = "mces_results_missing.csv";
    std::remove(results.c_str());
    MCESSettings s;
    s.graph1 = "no_such_graph.txt";
    s.graph2 = testData("mces_pair_b.txt");
    QuietOutput quiet;
    EXPECT_EQ(runMCES(s, results), "");
    EXPECT_NE(quiet.text().find("Not Found"), std::string::npos);
    EXPECT_NE(quiet.text().find("\n Error: no node read from no_such_graph.txt;"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(results));
}
