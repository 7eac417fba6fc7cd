// Class-diagram readers: package naming along containment, member qualification and
// derived type-use relations, the consistency reports, containment reversal and the package
// trees derived from class names.
#include <gtest/gtest.h>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Kinds.h"
#include "tests/graph/ReaderTestSupport.h"

using DiagramReaders = ScratchTest;

// ---- mode 12 ----

TEST_F(DiagramReaders, PackagesTakeTheirContainerNameButClassesDoNot) {
    ReadGraph r = readFixture(kClassDiagramMode, "mode12_org_util.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 3);
    EXPECT_EQ(g.V[0]->label, "org");
    EXPECT_EQ(g.V[1]->label, "org.util");
    EXPECT_EQ(g.V[2]->label, "Map.Entry");
    EXPECT_EQ(g.root, 0);
    EXPECT_EQ(g.nbPackages, 2);
    EXPECT_EQ(g.nbClasses, 1);
    EXPECT_EQ(g.classes->find("Entry")->second, 2);
}

TEST_F(DiagramReaders, RootDotAndAlreadyQualifiedPackagesKeepTheirNames) {
    ReadGraph r = readFixture(kClassDiagramMode, "mode12_root_prefix.txt");
    Graph& g = *r.g;
    EXPECT_EQ(g.V[0]->label, ".");
    EXPECT_EQ(g.V[1]->label, "org");
    EXPECT_EQ(g.V[2]->label, "org.jsoup");
    EXPECT_EQ(g.V[3]->label, "org.jsoup.nodes");
    EXPECT_EQ(g.V[4]->label, "org.jsoup.nodes.Node");
}

TEST_F(DiagramReaders, PackageContainmentCycleEnds) {
    ReadGraph r = readFixture(kClassDiagramMode, "mode12_package_cycle.txt");
    EXPECT_EQ(r.g->V[1]->label, "a");
    EXPECT_EQ(r.g->V[2]->label, "a.b");
}

TEST_F(DiagramReaders, MembersAreNamedByTheirLastParentAndLinkedToTheirTypes) {
    ReadGraph r = readFixture(kClassDiagramMode, "mode12_two_parents.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 9);
    EXPECT_NE(
        r.out.find(
            "\n Method with more than one parent: 6,@a.Helper@make@(a.First PARENTS [3,5] !!!!"),
        std::string::npos);
    EXPECT_EQ(g.V[6]->label, "a.Second.make");
    EXPECT_EQ(g.V[6]->specif, ",a.Helper,make,a.First,int");
    EXPECT_EQ(arcLabel(g, 6, 2), "8"); // return type
    EXPECT_EQ(arcLabel(g, 6, 3), "7"); // parameter type; "int" names no class
    EXPECT_EQ(g.V[7]->label, "a.Helper.ref");
    EXPECT_EQ(arcLabel(g, 7, 3), "6");
    EXPECT_EQ(g.getEdge(7, 3)->type, 3);
    EXPECT_NE(r.out.find("\n Isolated Method: 8,@void@lonely@() !!!!"), std::string::npos);
    EXPECT_EQ(g.V[8]->label, "@void@lonely@()");
    EXPECT_EQ(g.nbMethods, 2);
    EXPECT_EQ(g.nbAttributes, 1);
    // A call from a class is inserted and reported.
    EXPECT_EQ(arcLabel(g, 2, 6), "4");
    EXPECT_NE(r.out.find("\n Call Graph Problem: 2,a.Helper calling 6,a.Second.make"),
              std::string::npos);
    // Every arc's kind is its source's kind.
    for (Edge* e : g.E)
        EXPECT_EQ(e->type, g.V[e->from]->type);
    EXPECT_EQ(g.classes->find("make")->second, 6);
}

TEST_F(DiagramReaders, KindMismatchesAndOrderProblemsAreReported) {
    ReadGraph r = readFixture(kClassDiagramMode, "mode12_problems.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 4);
    EXPECT_NE(r.out.find("\n Order Problem: 3,@void@run@()[2]"), std::string::npos);
    EXPECT_EQ(g.V[2]->label, "K.run");
    EXPECT_EQ(g.V[3]->label, "K.x");
    EXPECT_NE(r.out.find("\n Attribute Use Problem: 1,K using 3,K.x"), std::string::npos);
    EXPECT_NE(r.out.find("\n Container Problem: 2,K.run contains 1,K"), std::string::npos);
    EXPECT_NE(r.out.find("\n Class Relation Problem: 0,. linked to 1,K"), std::string::npos);
    // The method's call to itself and its use of its attribute are in order.
    EXPECT_EQ(r.out.find("Call Graph Problem"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "Problem: "), 4); // the four above, nothing else
}

// ---- mode 9 ----

TEST_F(DiagramReaders, ModeNineBuildsPackagesAfterTheClassesAndTurnsContainmentAround) {
    ReadGraph r = readFixture(kDerivedTreeMode, "mode9_containment.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 8);
    EXPECT_EQ(g.V[3]->label, ".");
    EXPECT_EQ(g.V[4]->label, "a");
    EXPECT_EQ(g.V[5]->label, "a.b");
    EXPECT_EQ(g.root, 3);
    EXPECT_EQ(g.nbClasses, 3);
    EXPECT_EQ(g.nbPackages, 3);
    EXPECT_EQ(g.V[6]->label, "a.b.Map.get");
    EXPECT_EQ(g.V[7]->label, "a.List.owner");
    // The file's "r,7,2,9" becomes 2 -> 7.
    EXPECT_EQ(arcLabel(g, 2, 7), kContainmentText);
    EXPECT_EQ(g.getEdge(7, 2), nullptr);
    EXPECT_EQ(arcLabel(g, 0, 6), kContainmentText);
    EXPECT_EQ(arcLabel(g, 6, 1), "8");
    EXPECT_EQ(arcLabel(g, 7, 0), "6");
    // Classes and packages hang under the package named by their label.
    EXPECT_EQ(arcLabel(g, 5, 0), kContainmentText);
    EXPECT_EQ(arcLabel(g, 4, 1), kContainmentText);
    EXPECT_EQ(arcLabel(g, 3, 2), kContainmentText);
    EXPECT_EQ(arcLabel(g, 3, 4), kContainmentText);
    EXPECT_EQ(arcLabel(g, 4, 5), kContainmentText);
    EXPECT_EQ(g.edges, 11);
    EXPECT_EQ(g.V[0]->level, 3);
    EXPECT_EQ(g.V[3]->level, 0);
    EXPECT_EQ(g.V[6]->level, 4);
    EXPECT_EQ(g.V[7]->level, 3); // last containment read: under a.List
    EXPECT_EQ(r.out.find("!!!!!!!!"), std::string::npos);
    EXPECT_EQ(g.classes->find("owner")->second, 7);
}

TEST_F(DiagramReaders, ModeNineMisnumberedClassIsReportedAndReadingGoesOn) {
    ReadGraph r = readFixture(kDerivedTreeMode, "mode9_misnumbered.txt");
    Graph& g = *r.g;
    EXPECT_NE(r.out.find("\n Order Problem: 5,B[1]"), std::string::npos);
    ASSERT_EQ(g.vertices, 5);
    EXPECT_EQ(g.V[1]->label, "B");
    EXPECT_EQ(g.V[4]->label, "B.run");
    EXPECT_EQ(arcLabel(g, 1, 4), kContainmentText);
}

// ---- mode 8 ----

TEST_F(DiagramReaders, ModeEightKeepsMembersInsideAndTiesNodesToPackages) {
    ReadGraph r = readFixture(kHeaderedTreeMode, "mode8_packages.txt");
    Graph& g = *r.g;
    ASSERT_EQ(g.vertices, 7);
    std::vector<std::string> packages = {".", "a", "a.b", "Foo"};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(g.V[3 + i]->label, packages[i]);
        EXPECT_EQ(g.V[3 + i]->type, kPackageType);
    }
    EXPECT_EQ(g.V[0]->attributes.count("int_size"), 1u);
    EXPECT_EQ(g.V[0]->methods.count("void_clear"), 1u);
    ASSERT_EQ(g.V[2]->methods.count("a.List_sub"), 1u);
    EXPECT_EQ(g.V[2]->methods.find("a.List_sub")->second->visibility, 0);
    EXPECT_EQ(arcLabel(g, 0, 2), "1");
    EXPECT_EQ(arcLabel(g, 0, 5), "3");
    EXPECT_EQ(arcLabel(g, 1, 3), "3"); // Foo, a class without package, under the root
    EXPECT_EQ(arcLabel(g, 6, 3), "3"); // and the package Foo beside it
    EXPECT_EQ(arcLabel(g, 5, 4), "3");
    EXPECT_EQ(g.edges, 7);
    EXPECT_EQ(g.V[0]->level, 3);
    EXPECT_EQ(g.V[6]->level, 1);
    size_t start = r.out.find("\n ROUND 1: START \n");
    size_t end = r.out.find("\n ROUND 3: END \n");
    EXPECT_TRUE(start != std::string::npos && end != std::string::npos && start < end);
}
