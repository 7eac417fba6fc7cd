// The evaluation program: its command table, and the exit code of each command on good,
// bad and missing input.
#include "driver/EvalCommandLine.h"

#include "graph/Kinds.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "util/Console.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool parses(const std::vector<std::string>& args, EvalSettings* settings = nullptr,
            std::string* said = nullptr) {
    std::ostringstream err;
    EvalParse p = parseEvalArguments(args, err);
    if (settings != nullptr) *settings = p.settings;
    if (said != nullptr) *said = err.str();
    return p.ok;
}

/// Runs a command quietly; returns its exit code and what it wrote on the error channel.
int run(const std::vector<std::string>& args, std::string& said) {
    EvalSettings s;
    if (!parses(args, &s)) return kExitUsage;
    std::ostringstream err;
    ConsoleCapture quiet;
    const int rc = runEval(s, err);
    said = err.str();
    return rc;
}

const std::string kExample = examplePath("v1.txt");

} // namespace

TEST(EvalCommandLine, CommandsTakeTheirArguments) {
    EvalSettings s;
    std::string said;
    ASSERT_TRUE(parses({"score", "a__b__1__1__1__1__0.5__1.csv", "shop"}, &s));
    EXPECT_EQ(s.command, "score");
    EXPECT_EQ(s.dataset, "shop");
    ASSERT_TRUE(parses({"compare", "g1.txt", "g2.txt", "r.csv", "4"}, &s));
    EXPECT_EQ(s.mode, 4);
    EXPECT_EQ(s.result, "r.csv");
    ASSERT_TRUE(parses({"resolve", "g.txt", "p.A"}, &s));
    EXPECT_EQ(s.mode, kClassDiagramMode) << "the class-diagram reader by default";

    EXPECT_FALSE(parses({}, nullptr, &said));
    EXPECT_NE(said.find("Usage:\n  graphmat-eval score <result file> <dataset>\n"),
              std::string::npos);
    EXPECT_FALSE(parses({"score", "only-one"}, nullptr, &said));
    EXPECT_NE(said.find("graphmat-eval score: expected <result file> <dataset>\n"),
              std::string::npos);
    EXPECT_FALSE(parses({"resolve", "g.txt", "p.A", "twelve"}, nullptr, &said));
    EXPECT_NE(said.find("reader mode must be a whole number, not \"twelve\""), std::string::npos);
    EXPECT_FALSE(parses({"resolve", "g.txt", "p.A", "12", "extra"}));
    EXPECT_FALSE(parses({"judge", "x"}, nullptr, &said));
    EXPECT_NE(said.find("unknown command \"judge\""), std::string::npos);
}

TEST(EvalCommandLine, ExitCodesOfEachCommand) {
    ScratchFolder dir("eval-cli");
    std::string said;
    const std::string run1 = "a__b__1__1__1__1__0.5__1.csv";
    EXPECT_EQ(run({"score", run1, "shop"}, said), kExitInputUnreadable);
    EXPECT_NE(said.find("cannot read ./results/" + run1 + " (expected a cost report"),
              std::string::npos);
    EXPECT_NE(said.find("cannot read ./results/_a__b.csv"), std::string::npos);
    EXPECT_NE(said.find("cannot read ./datasets/shop/b.txt"), std::string::npos);
    EXPECT_EQ(run({"score", "a__b.csv", "shop"}, said), kExitUsage);

    writeText("datasets/shop/a.txt", "1,0\nc,0,p.A\n");
    writeText("datasets/shop/b.txt", "1,0\nc,0,p.A\n");
    writeText("results/_a__b.csv", "0_p.A,0_p.A,y\n");
    writeText("results/" + run1, "ns,0,0,p.A,p.A\n");
    EXPECT_EQ(run({"score", run1, "shop"}, said), kExitDone) << said;
    EXPECT_EQ(readText("eval_results.csv"),
              "\na,b,1,0,1,0,1,1,1,1,0.5,0,1,1,1,0,0,2,1,0,1,0.5,0.666667,0,0,0");

    EXPECT_EQ(run({"resolve", kExample, "com.shop.model.Customer.setEmail(String)"}, said),
              kExitDone);
    EXPECT_EQ(run({"resolve", kExample, "com.shop.model.Nobody"}, said), kExitUsage);
    EXPECT_NE(said.find("com.shop.model.Nobody names no node of"), std::string::npos);
    EXPECT_EQ(run({"resolve", "missing.txt", "p.A"}, said), kExitInputUnreadable);

    // compare: the report must belong to the graphs, and the reference must exist.
    EXPECT_EQ(run({"compare", kExample, kExample, "results/" + run1}, said), kExitUsage);
    EXPECT_NE(said.find("matches a to b, not v1 to v1"), std::string::npos);
    writeText("results/v1__v1__1__1__1__1__0.5__1.csv", "ns,0,0,.,.\n");
    EXPECT_EQ(run({"compare", kExample, kExample, "results/v1__v1__1__1__1__1__0.5__1.csv"}, said),
              kExitInputUnreadable);
    EXPECT_NE(said.find("cannot read ./results/uml/uml_v1_v1.csv"), std::string::npos);
    writeText("results/uml/uml_v1_v1.csv", "\"a__b\"\n");
    EXPECT_EQ(run({"compare", kExample, kExample, "results/v1__v1__1__1__1__1__0.5__1.csv"}, said),
              kExitDone);
    EXPECT_TRUE(std::filesystem::exists("results/raw_v1__v1__1__1__1__1__0.5__1.csv_umldiff.csv"));
}
