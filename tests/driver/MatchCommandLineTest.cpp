// Parsing of the matcher's switches: echo, usage, defaults and the error exits.
#include "driver/MatchCommandLine.h"
#include "driver/MatchRun.h"
#include "util/Console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Parsed {
    ParseResult result;
    std::string out;
    std::string err;
};

Parsed parse(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Parsed p{parseMatchArguments(args, out, err), "", ""};
    p.out = out.str();
    p.err = err.str();
    return p;
}

std::string usageText() {
    std::ostringstream err;
    usage(err);
    return err.str();
}

} // namespace

TEST(MatchCommandLine, OnlyGraphsGiveTheDefaults) {
    Parsed p = parse({"-o", "a.txt", "-n", "b.txt"});
    ASSERT_EQ(p.result.status, ParseStatus::Ok);
    const MatchSettings& s = p.result.settings;
    EXPECT_EQ(s.graph1, "a.txt");
    EXPECT_EQ(s.graph2, "b.txt");
    EXPECT_EQ(s.graph_type, 12);
    EXPECT_DOUBLE_EQ(s.initMode, 1.0);
    EXPECT_EQ(s.alg, 7);
    EXPECT_EQ(s.discrim, 80);
    EXPECT_EQ(s.seed, 1);
    EXPECT_EQ(s.umldiff, 0);
    EXPECT_TRUE(s.sim_graphs.empty());
    EXPECT_EQ(p.out, "\n START \n -o a.txt -n b.txt");
    EXPECT_TRUE(p.err.empty());
}

TEST(MatchCommandLine, ArgumentsLeftAfterParsingStoppedAreListedAndRefused) {
    // -x is unknown (usage, parsing goes on); 5 is no switch, so parsing stops there and
    // "5 -s 9" would be lost: the run must not start.
    Parsed p = parse({"-o", "a", "-n", "b", "-x", "5", "-s", "9"});
    EXPECT_EQ(p.result.status, ParseStatus::IgnoredArguments);
    EXPECT_EQ(p.err, usageText() +
                         "Arguments not used (parsing stops at the first one that does not "
                         "begin with \"-\"): 5 -s 9\n" +
                         usageText());
    EXPECT_EQ(p.out, "\n START \n -o a -n b");

    // "-d=1" is -d with the next argument as its value: "-g" is no number.
    Parsed glued = parse({"-o", "a", "-n", "b", "-d=1", "-g", "1"});
    EXPECT_EQ(glued.result.status, ParseStatus::BadValue);
}

TEST(MatchCommandLine, OnlyTheSecondCharacterCounts) {
    Parsed p = parse({"-hello", "3", "-order", "a", "-n", "b"});
    ASSERT_EQ(p.result.status, ParseStatus::Ok);
    EXPECT_EQ(p.result.settings.graph_type, 3);
    EXPECT_EQ(p.result.settings.graph1, "a");
}

TEST(MatchCommandLine, EveryValueIsStored) {
    Parsed p = parse({"-o", "a",    "-n", "b", "-m", "sim.csv", "-s", "-42",  "-d", "1e-3",
                      "-g", "0.5",  "-e", "2", "-y", "1.5",     "-c", "0.25", "-h", "0",
                      "-i", "-0.3", "-l", "4", "-r", "123",     "-u", "1"});
    ASSERT_EQ(p.result.status, ParseStatus::Ok);
    const MatchSettings& s = p.result.settings;
    EXPECT_EQ(s.sim_graphs, "sim.csv");
    EXPECT_EQ(s.seed, -42);
    EXPECT_DOUBLE_EQ(s.dwn, 0.001);
    EXPECT_DOUBLE_EQ(s.dwe, 0.5);
    EXPECT_DOUBLE_EQ(s.ew, 2);
    EXPECT_DOUBLE_EQ(s.asy, 1.5);
    EXPECT_DOUBLE_EQ(s.lw, 0.25);
    EXPECT_EQ(s.graph_type, 0);
    EXPECT_DOUBLE_EQ(s.initMode, -0.3);
    EXPECT_EQ(s.alg, 4);
    EXPECT_EQ(s.discrim, 123);
    EXPECT_EQ(s.umldiff, 1);
    EXPECT_NE(p.out.find(" -d 1e-3 -g 0.5"), std::string::npos);
}

TEST(MatchCommandLine, ValuesThatAreNoSoundNumberAreRefusedNamingTheSwitch) {
    // Each value is consumed by its switch (a leading "-" included) and then refused.
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"-d", "abc"},   {"-d", "1x"},  {"-s", "99999999999999"},
        {"-s", "1.5"},   {"-d", "nan"}, {"-g", "inf"},
        {"-e", "1e309"}, {"-y", "-1"},  {"-c", "-0.5"},
        {"-h", "99"},    {"-h", "-1"},  {"-i", "nan"},
        {"-l", ""},      {"-u", "one"}};
    for (const auto& [flag, value] : bad) {
        Parsed p = parse({"-o", "a", "-n", "b", flag, value});
        EXPECT_EQ(p.result.status, ParseStatus::BadValue) << flag << " " << value;
        EXPECT_EQ(p.err.rfind("Bad value for " + flag + " (", 0), 0u) << p.err;
        EXPECT_EQ(p.err.find("Legal switches"), std::string::npos);
    }
    // The largest finite weight is still a weight.
    EXPECT_EQ(parse({"-o", "a", "-n", "b", "-d", "1e308"}).result.status, ParseStatus::Ok);
}

TEST(MatchCommandLine, ErrorExits) {
    Parsed few = parse({"-o", "a"});
    EXPECT_EQ(few.result.status, ParseStatus::TooFewArguments);
    EXPECT_EQ(few.err, "Parameters e expected\n");
    EXPECT_EQ(few.out, "\n START \n");

    Parsed last = parse({"-o", "a", "-n"});
    EXPECT_EQ(last.result.status, ParseStatus::MissingValue);
    EXPECT_EQ(last.err, usageText());

    Parsed noSecond = parse({"-o", "a", "-s", "3"});
    EXPECT_EQ(noSecond.result.status, ParseStatus::MissingGraphs);
    EXPECT_EQ(noSecond.err, usageText());
}

TEST(MatchCommandLine, UsageKeepsItsFiveLinesThenListsEverySwitch) {
    const std::string text = usageText();
    const std::string fixed = "\nLegal switches:\n-o path of graph 1 \n-n path of graph 2\n"
                              "-m path of similarity file\n-d direction of similarity file\n"
                              "-s random seed\n";
    ASSERT_EQ(text.substr(0, fixed.size()), fixed);
    const std::string table = text.substr(fixed.size());
    for (char letter : std::string("onsmdgeychilru"))
        EXPECT_NE(table.find(std::string("\n  -") + letter + "  "), std::string::npos) << letter;
    EXPECT_NE(table.find("-d  node drop weight (default: 0)"), std::string::npos);
    EXPECT_NE(
        table.find("-h  reader mode of both graphs, 0 to 12 (12: class diagrams) (default: 12)"),
        std::string::npos);
}

TEST(MatchCommandLine, ProcessExitsWithCodeOneOnEveryArgumentError) {
    // The whole command line as the process sees it, program name first.
    const std::vector<std::vector<std::string>> lines = {
        {"graphmat"},
        {"graphmat", "-o", "a"},
        {"graphmat", "-o", "a", "-n"},
        {"graphmat", "-o", "a", "-s", "3"},
        {"graphmat", "-o", "a", "-n", "b", "-d", "nan"},
        {"graphmat", "-o", "a", "-n", "b", "-h", "99"},
        {"graphmat", "-o", "a", "-n", "b", "c"}};
    const std::vector<std::string> expectedErr = {
        "Parameters e expected\n",
        "Parameters e expected\n",
        usageText(),
        usageText(),
        "Bad value for -d (node drop weight): \"nan\" is not a finite number\n",
        "Bad value for -h (reader mode of both graphs, 0 to 12 (12: class diagrams)): unknown "
        "reader "
        "mode 99 (modes are 0 to 12)\n",
        "Arguments not used (parsing stops at the first one that does not begin with \"-\"): c\n" +
            usageText()};
    for (size_t i = 0; i < lines.size(); i++) {
        std::vector<std::string> words = lines[i];
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(&w[0]);
        ConsoleCapture capture;
        testing::internal::CaptureStderr();
        int rc = graphmatMain(static_cast<int>(argv.size()), argv.data());
        std::string err = testing::internal::GetCapturedStderr();
        std::string out = capture.text();
        EXPECT_EQ(rc, 1) << i;
        EXPECT_EQ(err, expectedErr[i]) << i;
        // Nothing is read when the arguments are wrong.
        EXPECT_EQ(out.find("File "), std::string::npos) << i;
    }
}
