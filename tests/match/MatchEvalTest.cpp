// Evaluation against a reference: figures of a scored cost report (counted by hand below),
// malformed and missing inputs, signature resolution, alternatives and the comparison file.
#include "match/EvalFigures.h"
#include "match/Match.h"

#include "cost/Cost.h"
#include "graph/Kinds.h"
#include "tests/match/MatchTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "util/Console.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

/// Versions a (p.A, p.B, p.C) and b (p.A, p.B, p.D) as class lists: two same-name classes.
constexpr const char* kRun = "a__b__1__1__1__1__0.5__1.csv";

void writeVersions() {
    writeText("datasets/shop/a.txt", "3,0\nc,0,p.A\nc,1,p.B\nc,2,p.C\n");
    writeText("datasets/shop/b.txt", "3,0\nc,0,p.A\nc,1,p.B\nc,2,p.D\n");
}

EvalFigures evaluate(const std::string& file, std::string* printed = nullptr) {
    Match m;
    ConsoleCapture capture;
    EvalFigures f = m.evalFigures(file, "shop");
    if (printed != nullptr) *printed = capture.text();
    return f;
}

} // namespace

TEST(EvalSolution, AllSameNameMatchesGiveNoDifferentNameFigures) {
    ScratchFolder dir("eval-same");
    writeVersions();
    // The 'n' line names two different classes, so it rejects nothing.
    writeText("results/_a__b.csv", "2_p.C,2_p.D,y\n0_p.A,1_p.B,n\n");
    writeText(std::string("results/") + kRun,
              "\nns,0,0,p.A,p.A,,,,0,0,0,0\nns,1,1,p.B,p.B,,,,0,0,0,0\n");
    EvalFigures f = evaluate(kRun);
    ASSERT_TRUE(f.complete());
    EXPECT_EQ(f.sameNameClasses, 2);
    EXPECT_EQ(f.confirmed, 1);
    EXPECT_EQ(f.rejected, 0);
    EXPECT_EQ(f.totalGood, 3);
    EXPECT_EQ(f.matches, 2);
    EXPECT_EQ(f.good, 2);
    EXPECT_EQ(f.same, 2);
    // matches - same - bad same = 0 and good - same = 0: those figures are 0, not NaN.
    EXPECT_EQ(evalRow(f), "\na,b,3,0,3,0,1,1,1,1,0.5,0,2,2,2,0,0,3,1,0,1,0.666667,0.8,0,0,0");

    Match m;
    ConsoleCapture quiet;
    m.evalSolution(kRun, "shop");
    m.evalSolution(kRun, "shop");
    EXPECT_EQ(readText("eval_results.csv"), evalRow(f) + evalRow(f)) << "appended, no header";
}

TEST(EvalSolution, RejectionsRenamesAndMalformedLines) {
    ScratchFolder dir("eval-mixed");
    writeVersions();
    writeText("results/_a__b.csv",
              "2_p.C,2_p.D,yes\r\n1_p.B,1_p.B,no\r\nx_p.A,0_p.A,y\r\n9_p.Z,0_p.A,y\r\n0_p.A\r\n"
              "0_p.A,0_p.A,maybe\r\n");
    writeText(std::string("results/") + kRun,
              "ns,0,0,p.A,p.A,,\nns,1,1,p.B,p.B\nns,2,2,p.C,p.D\nns,1\nns,q,1,p.A,p.A\nnd,3,p.E\n");
    std::string printed;
    EvalFigures f = evaluate(kRun, &printed);
    // Gold: C->D confirmed, B->B rejected; lines 3 to 6 are reported and skipped.
    EXPECT_EQ(f.confirmed, 1);
    EXPECT_EQ(f.rejected, 1);
    EXPECT_EQ(f.totalGood, 2);
    // Result: A->A good same-name, B->B rejected, C->D confirmed; two bad rows skipped.
    EXPECT_EQ(f.matches, 3);
    EXPECT_EQ(f.good, 2);
    EXPECT_EQ(f.same, 1);
    EXPECT_EQ(f.badSame, 1);
    EXPECT_DOUBLE_EQ(f.allPrecision, 2.0 / 3);
    EXPECT_DOUBLE_EQ(f.allRecall, 1);
    EXPECT_DOUBLE_EQ(f.diffPrecision, 1);
    EXPECT_DOUBLE_EQ(f.diffRecall, 1);
    for (int line = 3; line <= 6; ++line)
        EXPECT_NE(printed.find("Bad input in ./results/_a__b.csv, line " + std::to_string(line)),
                  std::string::npos)
            << line;
    EXPECT_NE(printed.find("Bad input in ./results/" + std::string(kRun) + ", line 4"),
              std::string::npos);
    EXPECT_NE(printed.find("Bad input in ./results/" + std::string(kRun) + ", line 5"),
              std::string::npos);
}

TEST(EvalSolution, MissingInputsWriteNoRow) {
    ScratchFolder dir("eval-missing");
    writeVersions();
    std::string printed;
    EvalFigures f = evaluate(kRun, &printed);
    EXPECT_FALSE(f.goldRead);
    EXPECT_FALSE(f.resultRead);
    EXPECT_NE(printed.find("\n Gold File Not Found\n"), std::string::npos);
    EXPECT_NE(printed.find("./results/_a__b.csv"), std::string::npos);
    EXPECT_NE(printed.find("\n File Not Found\n"), std::string::npos);
    EXPECT_EQ(f.allPrecision, 0);

    Match m;
    {
        ConsoleCapture capture;
        m.evalSolution(kRun, "shop");
        m.evalSolution("no_tag.csv", "shop");
        printed = capture.text();
    }
    EXPECT_FALSE(std::filesystem::exists("eval_results.csv"));
    EXPECT_NE(printed.find("Bad input in no_tag.csv"), std::string::npos);

    writeText("results/_a__b.csv", "2_p.C,2_p.D,y\n");
    writeText(std::string("results/") + kRun, "ns,0,0,p.A,p.A\n");
    std::filesystem::remove("datasets/shop/b.txt");
    EXPECT_FALSE(evaluate(kRun, &printed).complete());
    EXPECT_NE(printed.find("Bad input in ./datasets/shop/b.txt"), std::string::npos);
}

namespace {

/// Root "." > package "org" > classes org.A (two overloads of run, a field) and org.C.
std::unique_ptr<Graph> signatureGraph(const std::string& name, const std::string& second) {
    DiagramBuilder b(name);
    b.node(kPackageType, ".");
    b.node(kPackageType, "org");
    b.node(kClassType, "org.A");
    b.node(kMethodType, "org.A.run", "public,void,run,java.lang.String,int");
    b.node(kMethodType, "org.A.run", "public,void,run");
    b.node(kAttributeType, "org.A.size", "private,int,size");
    b.node(kClassType, second);
    b.arc(0, 1, kContainmentText)
        .arc(1, 2, kContainmentText)
        .arc(2, 3, kContainmentText)
        .arc(2, 4, kContainmentText)
        .arc(2, 5, kContainmentText)
        .arc(1, 6, kContainmentText);
    b.arc(6, 2, "1");
    return b.build();
}

} // namespace

/// Resolves quietly; the walk's trace is appended to `printed`.
Vertex* resolve(const std::string& sign, Graph* g, bool simpleTypes, std::string& printed) {
    Match m;
    ConsoleCapture capture;
    Vertex* v =
        simpleTypes ? m.getVertexFromSignature2(sign, g) : m.getVertexFromSignature(sign, g);
    printed += capture.text();
    return v;
}

TEST(Signatures, ClassesMembersAndOverloadsResolve) {
    auto g = signatureGraph("g", "org.C");
    std::string printed;
    EXPECT_EQ(resolve("org.A", g.get(), false, printed), g->V[2])
        << "a class has no parameter list";
    EXPECT_EQ(resolve("org.A.run(java.lang.String,int)", g.get(), false, printed), g->V[3]);
    EXPECT_EQ(resolve("org.A.run()", g.get(), false, printed), g->V[4]);
    EXPECT_EQ(resolve("org.A.size", g.get(), false, printed), g->V[5]);
    EXPECT_NE(printed.find("SUCCESS"), std::string::npos);
    // Simple type names resolve only in the second form, which cuts the candidate's types.
    EXPECT_EQ(resolve("org.A.run(String,int)", g.get(), false, printed), nullptr);
    EXPECT_EQ(resolve("org.A.run(String,int)", g.get(), true, printed), g->V[3]);
    EXPECT_EQ(resolve("org.B", g.get(), false, printed), nullptr);
    EXPECT_EQ(resolve("", g.get(), false, printed), nullptr);
    EXPECT_NE(printed.find("\n <<-----------FAIL-------------->> \n"), std::string::npos);
}

TEST(Signatures, AlternativesAndTheComparisonFile) {
    ScratchFolder dir("eval-raw");
    auto g1 = signatureGraph("v1", "org.C");
    auto g2 = signatureGraph("v2", "org.D");
    auto cost = symmetricCost();
    ConsoleCapture capture;
    Match m(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts);
    // Match everything to its twin; org.C -> org.D is the one renamed pair.
    for (int x = 0; x < 7; ++x) {
        m.M12[x] = x;
        m.M21[x] = x;
    }
    std::set<std::string> asked{"\"org.C__org.D\"", "\"org.A__org.A\"", "broken"};
    std::unique_ptr<std::set<std::string>> found(m.checkAlternatives(&asked, "t"));
    std::string printed = capture.text();
    EXPECT_NE(printed.find("Bad input in the alternatives of t"), std::string::npos);
    EXPECT_EQ(*found, std::set<std::string>{"\"org.C__org.D\""});
    const std::string alternatives = readText("results/alternatives_t.csv");
    EXPECT_NE(alternatives.find("\n,,1-----\n6_org.C,6_org.D,"), std::string::npos);
    EXPECT_NE(alternatives.find("||Relations(1)||\n<--9-- org{M}\n--1--> org.A{M}\n"),
              std::string::npos);
    EXPECT_NE(alternatives.find(",||Relations(2)||\n,<--9-- org{M}\n,--1--> org.A{M}\n"),
              std::string::npos);

    // Reference: the rename (quoted, with a Windows line end) and one pair the matching lacks.
    writeText("results/uml/uml_v1_v2.csv", "\"org.C__org.D\"\r\n\"org.A.size__org.A.length\"\n");
    ConsoleCapture quiet;
    m.rawPrint2();
    const std::string tag = "raw_v1__v2__1__1__1__1__0__1";
    EXPECT_EQ(readText("results/" + tag + ".csv"),
              "\"class1\",\"class2\",\"category\"\n\"org.C\",\"org.D\",\"Class\"\n");
    EXPECT_EQ(readText("results/raw_v1.csv")
                  .find("\"class\",\"category\"\n.,\"Package\"\norg,\"Package\"\n"),
              0u);
    EXPECT_EQ(readText("results/" + tag + ".csv_umldiff.csv"),
              "\n\n M1 inter M2 \n\n\"org.C__org.D\"\n"
              "\n\n M1 - M2 \n\n"
              "\n\n M2 - M1 \n\n"
              "\n\n M1 - M2 (not in their files) \n\n"
              "\n\n M2 - M1 (not in my graph) \n\n,\"org.A.size__org.A.length\"\n");
}
