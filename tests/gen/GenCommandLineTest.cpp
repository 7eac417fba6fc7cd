// Generator command line: switch parsing into the settings, the refused arguments and their
// exit codes, and whole runs of each subcommand in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gen/GenCommandLine.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "tests/gen/GenTestSupport.h"
#include "tests/support/TextCount.h"

namespace {

using Args = std::vector<std::string>;

TEST(GenCommandLine, RandomSwitchesFillTheSettings) {
    RandomSettings s;
    std::ostringstream err;
    ASSERT_EQ(parseRandom({"--n",   "300", "--e",   "2.5",   "--q",    "0.9", "--nl",         "4",
                           "--nld", "0.5", "--el",  "3",     "--eld",  "0.8", "--pd",         "-0",
                           "--pi",  "10",  "--out", "dir/g", "--seed", "-7",  "--undirected", "1"},
                          s, err),
              GenParse::Ok)
        << err.str();
    EXPECT_EQ(s.form, "full");
    EXPECT_EQ(s.n, 300);
    EXPECT_DOUBLE_EQ(s.e, 2.5);
    EXPECT_DOUBLE_EQ(s.q, 0.9);
    EXPECT_EQ(s.nl, 4);
    EXPECT_DOUBLE_EQ(s.nld, 0.5);
    EXPECT_EQ(s.el, 3);
    EXPECT_DOUBLE_EQ(s.pi, 10);
    EXPECT_EQ(s.out, "dir/g");
    EXPECT_EQ(s.seed, -7);
    EXPECT_EQ(s.undirected, 1);
}

TEST(GenCommandLine, RandomRefusesBadArguments) {
    const Args base = {"--n", "10", "--e", "2", "--q", "0.5", "--out", "g"};
    const std::vector<Args> refused = {
        {"--n", "10", "--e", "2", "--q", "0.5"},                           // no --out
        {"--n", "ten", "--e", "2", "--q", "0.5", "--out", "g"},            // not a number
        {"--n", "10x", "--e", "2", "--q", "0.5", "--out", "g"},            // trailing text
        {"--n", "10", "--e", "", "--q", "0.5", "--out", "g"},              // empty value
        {"--n", "10", "--e", "2", "--q", "0.5", "--out"},                  // switch without value
        {"--n", "10", "--e", "2", "--q", "0.5", "--out", "g", "--x", "1"}, // unknown switch
        {"--n", "10", "--e", "2", "--q", "1.5", "--out", "g"},             // q outside 0..1
        {"--n", "10", "--e", "2", "--q", "0.5", "--out", "g", "--el", "10"},
        {"--n", "10", "--e", "2", "--q", "0.5", "--out", "g", "--nld", "0.5"},
        {"--n", "10", "--e", "2", "--q", "0.5", "--out", "g", "--p", "0.1"}, // not for full
        {"--form", "legacy", "--n", "10", "--q", "0.5", "--out", "g"},       // legacy needs --p
        {"--form", "other", "--n", "10", "--e", "2", "--q", "0.5", "--out", "g"},
        {"10", "--e", "2", "--q", "0.5", "--out", "g"},
    };
    for (const Args& args : refused) {
        RandomSettings s;
        std::ostringstream err;
        EXPECT_EQ(parseRandom(args, s, err), GenParse::Error) << ::testing::PrintToString(args);
        EXPECT_FALSE(err.str().empty());
    }
    RandomSettings s;
    std::ostringstream err;
    EXPECT_EQ(parseRandom(base, s, err), GenParse::Ok);
    EXPECT_EQ(parseRandom({"--form", "plain", "--n", "5", "--p", "0.2", "--q", "1", "--out", "g"},
                          s, err),
              GenParse::Ok);
}

TEST(GenCommandLine, MutateAndNoiseNeedTheirParameters) {
    std::ostringstream err;
    MutateSettings m;
    EXPECT_EQ(parseMutate({"--graph", "in.txt", "--out", "o", "--del", "0.1", "--add", "0.2",
                           "--edge-noise", "0.3", "--mode", "6"},
                          m, err),
              GenParse::Ok);
    EXPECT_DOUBLE_EQ(m.delNodes, 0.1);
    EXPECT_DOUBLE_EQ(m.addNodes, 0.2);
    EXPECT_DOUBLE_EQ(m.edgeNoise, 0.3);
    EXPECT_EQ(m.mode, 6);
    for (const Args& args : std::vector<Args>{{"--graph", "in.txt"},
                                              {"--graph", "in.txt", "--out", "o", "--del", "2"},
                                              {"--graph", "in.txt", "--out", "o", "--add", "x"}}) {
        MutateSettings again;
        EXPECT_EQ(parseMutate(args, again, err), GenParse::Error);
    }
    NoiseSettings n;
    EXPECT_EQ(parseNoise({"--id", "3", "--nodes", "20", "--epsilon", "4"}, n, err), GenParse::Ok);
    EXPECT_EQ(n.nodes, 20);
    EXPECT_EQ(parseNoise({"--id", "3", "--nodes", "20"}, n, err), GenParse::Error);
    EXPECT_EQ(parseNoise({"--id", "3", "--nodes", "2.5", "--epsilon", "1"}, n, err),
              GenParse::Error);
    EXPECT_EQ(parseNoise({"--help"}, n, err), GenParse::Help);
}

TEST(GenCommandLine, ExitCodes) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(genMain({}, out, err), 1);
    EXPECT_EQ(genMain({"unknown"}, out, err), 1);
    EXPECT_EQ(genMain({"--help"}, out, err), 0);
    EXPECT_EQ(genMain({"random", "--help"}, out, err), 0);
    EXPECT_NE(err.str().find("--undirected"), std::string::npos);
    EXPECT_EQ(genMain({"noise", "--id", "1", "--nodes", "x", "--epsilon", "1"}, out, err), 1);
    EXPECT_EQ(genMain({"mutate", "--graph", "missing.txt"}, out, err), 1);
}

TEST(GenCommandLine, RequestsBeyondTheLimitsAreRefusedBeforeAllocating) {
    std::ostringstream out;
    const auto refused = [&](const std::vector<std::string>& args, const std::string& message) {
        std::ostringstream err;
        EXPECT_EQ(genMain(args, out, err), 1) << args[0];
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
    };
    // 100000 common nodes: two 10^10-cell tables and 200000 arcs, about 76 GB.
    refused(
        {"random", "--n", "100000", "--q", "0.9", "--e", "2", "--out", "p/x"},
        "graphmat-gen random: this request needs about 76390 MB (two tables of N1 x N1 and N2 x N2 "
        "cells); the limit is 2048 MB");
    refused({"random", "--n", "2000000000", "--q", "0.9", "--e", "2", "--out", "p/x"},
            "the limit is 2048 MB");
    refused({"random", "--n", "100", "--q", "0.9", "--e", "2", "--pd", "1000000", "--out", "p/x"},
            "the limit is 2048 MB");
    refused({"noise", "--id", "1", "--nodes", "2000000000", "--epsilon", "1"},
            "the limit is 2048 MB");
    // An arc count a node cannot have, like a probability above 1.
    refused({"random", "--n", "20", "--q", "0.9", "--e", "400", "--out", "p/x"},
            "--e must not pass N - 1");
    refused({"random", "--n", "20", "--q", "0.9", "--e", "19.5", "--out", "p/x"},
            "--e must not pass N - 1");
    refused({"noise", "--id", "1", "--nodes", "10", "--epsilon", "2000000000"},
            "--epsilon must lie in 0..1000000");
    // The usage says that memory grows with the square of the node count.
    std::ostringstream usage;
    usageRandom(usage);
    usageNoise(usage);
    usageMutate(usage);
    EXPECT_EQ(occurrences(usage.str(), "requests above 2048 MB are refused"), 3);
}

TEST(GenCommandLine, NoiseAtTheLargestAmplitudeNeverRaisesALabel) {
    ScratchFolder scratch;
    std::ostringstream out, err;
    ASSERT_EQ(genMain({"noise", "--id", "7", "--nodes", "10", "--epsilon", "1000000"}, out, err),
              0);
    // Every node line of the log: "n,original,noisy,original label,noisy label".
    for (const std::string& line : readLines("./benchmark/log_7.txt")) {
        const std::vector<std::string> f = fields(line);
        if (f[0] != "n") continue;
        EXPECT_LE(std::stoi(f[4]), std::stoi(f[3])) << line;
        EXPECT_GE(std::stoi(f[4]), 0) << line;
    }
}

TEST(GenCommandLine, FilesThatCannotBeWrittenEndWithCodeThree) {
    ScratchFolder scratch;
    std::ofstream("taken") << "a file where a folder is wanted\n";
    std::ostringstream out, err;
    EXPECT_EQ(
        genMain({"random", "--n", "5", "--e", "1", "--q", "0.9", "--out", "taken/p"}, out, err), 3);
    EXPECT_NE(out.str().find("\nNot written: taken/p_"), std::string::npos);
}

TEST(GenCommandLine, SubcommandsWriteTheirFiles) {
    ScratchFolder scratch;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(
        genMain({"random", "--n", "12", "--e", "2", "--q", "0.9", "--out", "bench/p"}, out, err), 0)
        << err.str();
    const std::string graph = "bench/p_12_2_0.9_1_1_1_1_0_0_0_1A.csv";
    EXPECT_TRUE(std::filesystem::exists(graph));
    EXPECT_EQ(genMain({"mutate", "--graph", graph, "--out", "mut/p", "--del", "0.2", "--edge-noise",
                       "0.1", "--seed", "3"},
                      out, err),
              0);
    // The mutated graph reads back in the node-list format: the survivors of the twelve
    // input nodes and the added ones, as the record's counters say.
    const std::vector<std::string> record = readLines("mut/p_edits.csv");
    ASSERT_GE(record.size(), 3u);
    ASSERT_EQ(fields(record[0])[0], "nd");
    ASSERT_EQ(fields(record[2])[0], "i");
    const int deletedNodes = std::stoi(fields(record[0])[1]);
    const int addedNodes = std::stoi(fields(record[2])[1]);
    EXPECT_GT(deletedNodes, 0);
    Graph mutated(kNodeListMode, "mut/p_mutated.txt");
    EXPECT_EQ(mutated.vertices, 12 - deletedNodes + addedNodes);
    EXPECT_GT(mutated.edges, 0);
    // A graph file that cannot be read is a failure, not an empty success.
    EXPECT_EQ(genMain({"mutate", "--graph", "nothing.txt", "--out", "mut/q"}, out, err), 2);
    EXPECT_EQ(genMain({"noise", "--id", "5", "--nodes", "6", "--epsilon", "2"}, out, err), 0);
    EXPECT_TRUE(std::filesystem::exists("./benchmark/log_5.txt"));
}

} // namespace
