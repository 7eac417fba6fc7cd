// Diagram differences: the three-section comparison of two matchings written byte for byte,
// bad class lists and missing files, member changes and relation changes.
#include "util/DiagramDiff.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Edge.h"
#include "graph/Vertex.h"
#include "tests/support/Files.h"
#include "util/Console.h"

namespace {

/// A class node holding the given attribute ("type@name") and method ("output@name@(inputs)")
/// texts, keyed as the readers key them.
std::unique_ptr<Vertex> classNode(const std::vector<std::string>& attributes,
                                  const std::vector<std::string>& methods) {
    auto v = std::make_unique<Vertex>(0, "C");
    for (const std::string& text : attributes) {
        auto* a = new ClassAttribute(text);
        v->attributes.insert({a->type + "_" + a->name, a});
    }
    for (const std::string& text : methods) {
        auto* m = new ClassMethod(text);
        v->methods.insert({m->output + "_" + m->name, m});
    }
    return v;
}

std::unique_ptr<Edge> edgeWith(std::initializer_list<std::pair<int, short>> counts) {
    auto e = std::make_unique<Edge>(0, 1, "1");
    e->labels = new short[kLabelCodes]();
    for (const auto& c : counts)
        e->labels[c.first] = c.second;
    return e;
}

} // namespace

// Diagram 1 holds A, B, C in both class lists (D only in ours); diagram 2 holds X, Y, Z
// (W only in theirs). M1 pairs A-X, B-Y, C-W; M2 pairs A-X, B-Z. Expected keys by hand:
// M1 = {A__X, B__Y, C__ (W is outside diagram 2), __Z}; M2 = {A__X, B__Z, C__, __Y}. The
// header lines add "class" to both diagrams, unmatched on either side in both matchings.
TEST(CsvDiffTest, ThreeSectionsOfSortedQuotedKeys) {
    writeText("d1.csv", "\"class\",\"category\"\n\"A\",\"Class\"\r\n\n\"B\",\"Class\"\n\"C\","
                        "\"Class\"\n\"D\",\"Class\"\n");
    writeText("u1.csv",
              "\"class\",\"category\"\n\"C\",\"Class\"\n\"B\",\"Class\"\n\"A\",\"Class\"\n");
    writeText("d2.csv",
              "\"class\",\"category\"\n\"X\",\"Class\"\n\"Y\",\"Class\"\n\"Z\",\"Class\"\n");
    writeText("u2.csv", "\"class\",\"category\"\n\"Z\",\"Class\"\n\"Y\",\"Class\"\n\"X\","
                        "\"Class\"\n\"W\",\"Class\"\n");
    writeText("m1.csv", "\"class1\",\"class2\",\"category\"\n\"A\",\"X\",Class\n\"B\",\"Y\","
                        "Class\n\"C\",\"W\",Class\n");
    writeText("m2.csv",
              "\"class1\",\"class2\",\"category\"\n\"A\",\"X\",Class\n\"B\",\"Z\",Class\n");

    {
        ConsoleCapture silent;
        csvDiff("d1.csv", "d2.csv", "u1.csv", "u2.csv", "m1.csv", "m2.csv");
        EXPECT_EQ(silent.text(), "");
    }

    EXPECT_EQ(readText("m1.csv_diff.csv"),
              "\n\n M1 inter M2 \n\n\"A__X\"\n\"C__\"\n\"__class\"\n\"class__\"\n"
              "\n\n M1 - M2 \n\n,\"B__Y\"\n,\"__Z\"\n"
              "\n\n M2 - M1 \n\n,\"B__Z\"\n,\"__Y\"\n");
}

TEST(CsvDiffTest, MissingFilesAndBadLinesAreReportedByName) {
    writeText("list.csv", "\"A\",\"Class\"\nA,Class\n\n\"B\n");
    ConsoleCapture intersecting;
    std::unique_ptr<std::set<std::string>> both(getDiagramsIntersection("list.csv", "list.csv"));
    const std::string printed = intersecting.text();
    // A line without the separator keeps the rest after its quote; an unquoted one is skipped.
    EXPECT_EQ(*both, (std::set<std::string>{"A", "B"}));
    EXPECT_NE(printed.find("Bad input in list.csv, line 2: expected a double-quoted class name"),
              std::string::npos);

    writeText("pairs.csv", "\"A\",\"B\",Class\nA;B\n");
    ConsoleCapture diffing;
    csvDiff("list.csv", "no_list.csv", "list.csv", "list.csv", "pairs.csv", "no_pairs.csv");
    const std::string missing = diffing.text();
    EXPECT_NE(missing.find("Bad input in no_list.csv: cannot be opened (expected a class list)"),
              std::string::npos);
    EXPECT_NE(missing.find("Bad input in no_pairs.csv: cannot be opened (expected a match file)"),
              std::string::npos);
    EXPECT_NE(missing.find("Bad input in pairs.csv, line 2: expected two double-quoted names"),
              std::string::npos);
    // Diagram 2 is empty, so every class of diagram 1 is unmatched in both matchings.
    EXPECT_EQ(readText("pairs.csv_diff.csv"),
              "\n\n M1 inter M2 \n\n\"A__\"\n\"B__\"\n\n\n M1 - M2 \n\n\n\n M2 - M1 \n\n");
}

TEST(ClassDiffTest, SameRenamedAndModifiedMembers) {
    ConsoleCapture quiet;
    auto v1 = classNode({"int@count", "String@title"}, {"int@size@()", "void@add@(String)",
                                                        "String@name@()", "boolean@has@(int)"});
    auto v2 = classNode({"int@count", "long@title"}, {"int@size@()", "void@add@(String,int)",
                                                      "String@label@()", "long@check@(int)"});
    // size is unchanged; add keeps name and return type (0.7: modified); name -> label keeps
    // return type and parameters (0.5: renamed); has -> check keeps only the parameters (0.3).
    const CategoryCounts d = classDiff(v1.get(), v2.get());
    EXPECT_EQ(d, (CategoryCounts{{"sameAtt", 1}, {"sameMet", 1}, {"renMet", 1}, {"modMet", 1}}));

    // Two equal members in v1 but one in v2: one exact pair each, the other left over.
    auto twice = classNode({"int@n", "int@n"}, {"int@size@()", "int@size@()"});
    auto once = classNode({"int@n"}, {"int@size@()"});
    const CategoryCounts d2 = classDiff(twice.get(), once.get());
    EXPECT_EQ(d2.at("sameMet"), 1);
    EXPECT_EQ(d2.at("sameAtt"), 1);
}

TEST(ClassDiffTest, LeftoverMethodsPairOnlyAtTheirRowAndColumnBest) {
    ConsoleCapture quiet;
    // a(int) scores 0.7 with a(long) and 0.5 with b(int); c(long) scores 0.5 with a(long).
    auto v1 = classNode({}, {"void@a@(int)", "void@c@(long)"});
    auto v2 = classNode({}, {"void@a@(long)", "void@b@(int)"});
    const CategoryCounts d = classDiff(v1.get(), v2.get());
    // a(int) takes a(long) (modified); the only candidate of c(long) is then taken.
    EXPECT_EQ(d.at("modMet"), 1);
    EXPECT_EQ(d.at("renMet"), 0);
    EXPECT_EQ(d.at("sameMet"), 0);
}

TEST(RelDiffTest, CommonRelationsCancelAndAnAbsentEdgeCountsAsNone) {
    auto first = edgeWith({{0, 4}, {1, 2}, {2, 1}});
    auto second = edgeWith({{1, 1}, {2, 3}, {3, 1}, {4, 5}});
    // Code 1: 2 vs 1 -> one deleted; code 2: 1 vs 3 -> two added; code 3: one added.
    // Codes 0 and 4 take no part.
    EXPECT_EQ(relDiff(first.get(), second.get()), (CategoryCounts{{"addRel", 3}, {"delRel", 1}}));
    EXPECT_EQ(relDiff(nullptr, second.get()), (CategoryCounts{{"addRel", 5}, {"delRel", 0}}));
    EXPECT_EQ(relDiff(first.get(), nullptr), (CategoryCounts{{"addRel", 0}, {"delRel", 3}}));
    EXPECT_EQ(relDiff(nullptr, nullptr), (CategoryCounts{{"addRel", 0}, {"delRel", 0}}));
}
