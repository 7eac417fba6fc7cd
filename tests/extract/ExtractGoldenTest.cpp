// The fixture tree's diagrams against their expected bytes, and those diagrams read back
// by the class-diagram readers without a single report.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>

#include "ExtractTestSupport.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "util/Console.h"

namespace {

/// Reads a graph and returns what the reader printed.
std::string readGraph(int mode, const std::string& path, std::unique_ptr<Graph>& g) {
    ConsoleCapture capture;
    g = std::make_unique<Graph>(mode, path);
    return capture.text();
}

TEST_F(ExtractTest, FixtureDiagramsMatchTheirExpectedBytes) {
    for (const char* version : {"v1", "v2"}) {
        const std::string diagram = work(std::string(version) + ".txt").string();
        const std::string classes = work(std::string(version) + ".k.txt").string();
        std::ostringstream console;
        ExtractionSummary s = extractTree(shopTree(version), "ctags", diagram, classes, console);
        ASSERT_EQ(s.exitCode, kExitDone) << s.problem;
        EXPECT_EQ(console.str(), "") << "no file of the fixture is skipped";
        EXPECT_EQ(readText(diagram), readText(shopTree(std::string(version) + ".expected.txt")))
            << version;
        if (std::string(version) == "v1") {
            EXPECT_EQ(readText(classes), readText(shopTree("v1.expected.k.txt")));
        }
    }
}

TEST_F(ExtractTest, DiagramReadsBackCleanlyWithItsTypeUses) {
    const std::string diagram = work("v1.txt").string();
    const std::string classes = work("v1.k.txt").string();
    std::ostringstream console;
    ASSERT_EQ(extractTree(shopTree("v1"), "ctags", diagram, classes, console).exitCode, kExitDone);

    std::unique_ptr<Graph> g;
    std::string printed = readGraph(kClassDiagramMode, diagram, g);
    for (const char* report :
         {"Problem", "Isolated", "PARENTS", "Bad input", "Order", "does not exist"})
        EXPECT_EQ(printed.find(report), std::string::npos) << report << " in:\n" << printed;
    // Header 45 nodes: the root, 5 packages, 9 classes and 30 members.
    EXPECT_EQ(g->vertices, 45);
    EXPECT_EQ(g->nbClasses, 9);
    EXPECT_EQ(g->nbPackages, 6);
    // Type uses the reader derives from the member texts, counted by hand from the sources:
    // return types Order x3 (8); parameters Item x2, PriceFormatter, Order x2 (7);
    // attribute Order.Line.item (6). Arrays (Item[], Line[]) name no class.
    int typeUses[10] = {0};
    for (Edge* e : g->E)
        for (int label : {6, 7, 8})
            typeUses[label] += e->labels[label];
    EXPECT_EQ(typeUses[6], 1);
    EXPECT_EQ(typeUses[7], 5);
    EXPECT_EQ(typeUses[8], 3);
    // Members are named after their owners, nested classes with dots.
    std::set<std::string> labels;
    for (Vertex* v : g->V)
        labels.insert(v->label);
    for (const char* expected :
         {"com.shop.model.Order.Line", "com.shop.model.Order.Line.item",
          "com.shop.model.Item.preisÄnderung", "com.shop.model.Zähler", "Main.main"})
        EXPECT_EQ(labels.count(expected), 1u) << expected;

    std::unique_ptr<Graph> k;
    printed = readGraph(kMembersInClassesMode, classes, k);
    EXPECT_EQ(printed.find("Bad input"), std::string::npos) << printed;
    EXPECT_EQ(k->vertices, 9);
    EXPECT_EQ(k->V[3]->methods.size(), 8u) << "Order keeps its eight methods, overloads included";
}

} // namespace
