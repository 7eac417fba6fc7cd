// Cost-model construction and presets, the unit, matrix and numeric-label families, and the
// pricing of edit-path files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cost/Cost.h"
#include "tests/cost/CostTestSupport.h"
#include "util/Console.h"

TEST(CostPresets, WorkedInsertionAndDeletionCosts) {
    Cost c;
    c.initMode1(1, 1, 1, 2, 0);
    const double insertions[] = {c.classInsertion, c.packageInsertion, c.methodInsertion,
                                 c.attributeInsertion};
    const double deletions[] = {c.classDeletion, c.packageDeletion, c.methodDeletion,
                                c.attributeDeletion};
    for (double v : insertions)
        EXPECT_DOUBLE_EQ(v, 67); // 66.67 rounded
    for (double v : deletions)
        EXPECT_DOUBLE_EQ(v, 33);
    c.initMode1(1, 1, 1, 1, 0);
    EXPECT_DOUBLE_EQ(c.classInsertion, 50);
    EXPECT_DOUBLE_EQ(c.classDeletion, 50);
    // 12.5 and 37.5 round away from zero.
    c.initMode1(0.25, 1, 1, 1, 0);
    EXPECT_DOUBLE_EQ(c.classDeletion, 13);
    c.initMode1(0.75, 1, 1, 1, 0);
    EXPECT_DOUBLE_EQ(c.methodInsertion, 38);
}

TEST(CostPresets, RoundingFollowsTheProductThenTheDivision) {
    // Values whose exact result is a half: computed as weight x drop weight / (asymmetry + 1)
    // in double arithmetic they land just below or above it, and the rounding must follow
    // that one order (dividing the drop weight first gives 5, 3 and 17 instead).
    Cost c;
    c.initMode1(0.12, 1, 1, 0.6, 0); // insertion 0.6 x 100 x 0.12 / 1.6 = 4.5
    EXPECT_DOUBLE_EQ(c.classInsertion, 4);
    EXPECT_DOUBLE_EQ(c.attributeInsertion, 4);
    c.initMode1(0.21, 1, 1, 5, 0); // deletion 100 x 0.21 / 6 = 3.5, insertion 17.5
    EXPECT_DOUBLE_EQ(c.packageDeletion, 4);
    EXPECT_DOUBLE_EQ(c.methodInsertion, 18);
}

TEST(CostPresets, LabelAttributeAndMethodWeightsSumToOne) {
    for (double lw : {0.0, 0.3, 0.75, 1.0, 60.0}) {
        Cost c;
        c.initMode1(1, 1, 1, 1, lw);
        EXPECT_DOUBLE_EQ(c._aw + c._mw + c._lw, 1) << lw;
        EXPECT_DOUBLE_EQ(c._lw, lw);
    }
    Cost byDefault;
    EXPECT_DOUBLE_EQ(byDefault._aw + byDefault._mw + byDefault._lw, 1);
}

TEST(CostPresets, DefaultModelIsFreeUntilWeightsAreSet) {
    Cost c;
    auto cls = makeVertex(1), other = makeVertex(1);
    auto e = makeEdge(1, {{1, 2}}), f = makeEdge(1, {{1, 1}});
    EXPECT_DOUBLE_EQ(c.cnd(kClassDiagramCosts, cls.get()), 0);
    EXPECT_DOUBLE_EQ(c.cni(kClassDiagramCosts, cls.get()), 0);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), -1, -1), 0);
    EXPECT_DOUBLE_EQ(c.cei(kClassDiagramCosts, e.get(), 1, 1), 0);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, e.get(), f.get(), 1, 1), 0);
    // Substitution does not depend on drop weights.
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, cls.get(), other.get(), 0.0f), 100);
    EXPECT_DOUBLE_EQ(c._cnd, 2);
    EXPECT_DOUBLE_EQ(c._cesl, 5);
}

TEST(CostPresets, ErrorParametersStartAtZeroInEveryConstructor) {
    double nodeM[3] = {1, 2, 3}, edgeD[4] = {4, 5, 6, 7}, edgeI[4] = {8, 9, 10, 11};
    ConsoleCapture quiet;
    Cost parameterised(1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 100, 100, 100, 100);
    Cost byDefault, fromMatrices(nodeM, nullptr, edgeD, edgeI);
    for (const Cost* c : {&byDefault, &parameterised, &fromMatrices}) {
        EXPECT_EQ(c->str_error, 0);
        EXPECT_EQ(c->lab_error, 0);
        EXPECT_EQ(c->node_error, 0);
        ASSERT_NE(c->edgeMatrix, nullptr);
    }
    EXPECT_DOUBLE_EQ(fromMatrices.nodeMatrix[2], 3);
    EXPECT_DOUBLE_EQ(fromMatrices.edgeDeletionMatrix[3], 7);
    EXPECT_DOUBLE_EQ(fromMatrices.edgeInsertionMatrix[0], 8);
    byDefault.initMode2(0.1, 0.2, 1000);
    EXPECT_DOUBLE_EQ(byDefault.node_error, 1000);
}

TEST(CostPresets, ParameterisedConstructorDerivesUnitCostsAndFractions) {
    ConsoleCapture capture;
    Cost c(3, 2, 4, 1, 5, 20, 10, 0, 7, 8, 50, 25, 100, 200);
    const std::string out = capture.text();
    EXPECT_EQ(out, "COST PARAMETERISED : cnd=2.000000 cni=4.000000 cns=3.000000 ced=1.000000 "
                   "cei=5.000000 cess=10.000000 cesl=14.000000 lw=0.000000 aw=7.000000 "
                   "mw=8.000000\n");
    EXPECT_DOUBLE_EQ(c._cesl, 20 - 1 - 5);
    EXPECT_DOUBLE_EQ(c._cesi, -6);
    EXPECT_DOUBLE_EQ(c.bonus, 20 + 10 + 1 + 5);
    // Percentages become fractions; _aw and _mw end as derived from the label weight.
    EXPECT_DOUBLE_EQ(c.dropWeightN, 0.5);
    EXPECT_DOUBLE_EQ(c.dropWeightE, 0.25);
    EXPECT_DOUBLE_EQ(c.edgeWeight, 1);
    EXPECT_DOUBLE_EQ(c.asymmetry, 2);
    EXPECT_DOUBLE_EQ(c._aw + c._mw + c._lw, 1);
    ASSERT_NE(c.edgeMatrix2, nullptr);
    for (int i = 0; i < kEdgeMatrix2Size; ++i)
        for (int j = 0; j < kEdgeMatrix2Size; ++j)
            EXPECT_EQ(c.edgeMatrix2[i][j], 0);
}

TEST(CostPresets, EdgeMatrixAndCopies) {
    Cost c;
    c.initMode1(1, 1, 0.5, 2, 0);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[3][3], 0);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[6][1], 32767);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[1][9], 32767);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[0][2], 100); // insertion: ceil(2 x 100 x 0.5)
    EXPECT_DOUBLE_EQ(c.edgeMatrix[2][0], 50);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[2][5], 50);

    Cost copy(c);
    ASSERT_NE(copy.edgeMatrix, c.edgeMatrix);
    copy.initMode1(1, 1, 1, 1, 0);
    EXPECT_DOUBLE_EQ(c.edgeMatrix[0][2], 100);
    copy = c;
    EXPECT_DOUBLE_EQ(copy.edgeMatrix[0][2], 100);
}

TEST(CostFamilies, UnitCosts) {
    Cost c; // _cnd 2, _cni 2, _cns 0, _ced 1, _cei 1
    c._cns = 7;
    auto block = makeVertex(0, 3), plain = makeVertex(0);
    auto e = makeEdge(0, {{1, 1}, {4, 2}});
    EXPECT_DOUBLE_EQ(c.cnd(0, block.get()), 6);
    EXPECT_DOUBLE_EQ(c.cni(0, plain.get()), 2);
    EXPECT_DOUBLE_EQ(c.raw_cns(0, plain.get(), plain.get(), 0.5f), 3); // truncated 3.5
    EXPECT_DOUBLE_EQ(c.cns(0, block.get(), plain.get(), 0.5f), 3 - 4);
    EXPECT_DOUBLE_EQ(c.ced(0, e.get(), -1, -1), 3); // label "144"
    EXPECT_DOUBLE_EQ(c.raw_ces(0, e.get(), e.get(), 1, 1), 0);
}

TEST(CostFamilies, MatrixCostsRoundTheRunningValue) {
    Cost c;
    c.initMode1(1, 0.5, 1, 1, 0); // deletion and insertion of classes 1-5 cost 100
    auto e = makeEdge(1, {{1, 1}, {2, 1}});
    // 50, 75, then halved and rounded away from zero: 38, 19, 10, 5, 3, 2, 1.
    EXPECT_DOUBLE_EQ(c.ced(1, e.get(), -1, -1), 1);
    EXPECT_DOUBLE_EQ(c.cei(1, e.get(), -1, -1), 1);
    auto three = makeEdge(1, {{2, 3}}), one = makeEdge(1, {{2, 1}}), other = makeEdge(1, {{7, 1}});
    EXPECT_DOUBLE_EQ(c.raw_ces(1, three.get(), three.get(), 1, 1), 0);
    EXPECT_DOUBLE_EQ(c.raw_ces(1, three.get(), one.get(), 1, 1), 200);
    EXPECT_DOUBLE_EQ(c.raw_ces(1, one.get(), other.get(), 1, 1), 100 + 32767);
    auto v = makeVertex(1, 2);
    EXPECT_DOUBLE_EQ(c.cnd(1, v.get()), 100);
    EXPECT_DOUBLE_EQ(c.raw_cns(1, v.get(), v.get(), 0.25f), 0.25);
}

TEST(CostFamilies, NumericLabelsWithErrorRates) {
    Cost c;
    auto three = makeVertex(0), five = makeVertex(0), seven = makeVertex(0);
    three->label = "3";
    five->label = "5";
    seven->label = "7";
    auto e3 = makeEdge(0, {}), e4 = makeEdge(0, {});
    e3->label = "3";
    e4->label = "4";

    c.initMode2(1, 1, 1); // all error rates 1: fixed costs
    EXPECT_DOUBLE_EQ(c.cnd(2, three.get()), 0.5);
    EXPECT_DOUBLE_EQ(c.ced(2, e3.get(), -1, -1), 0.5);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), five.get(), 0), 2);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), three.get(), 0), 0);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, e3.get(), e4.get(), 1, 1), 2);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, nullptr, e4.get(), 1, 1), 1.5);

    c.initMode2(-1, -1, -1); // graded by the label values
    EXPECT_DOUBLE_EQ(c.cnd(2, three.get()), 0);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), five.get(), 0), 2);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, seven.get(), seven.get(), 0), -7);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, e3.get(), e4.get(), 1, 1), 1);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, e4.get(), e4.get(), 1, 1), -4);

    c.initMode2(4, 3, 1000); // fixed rates
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), five.get(), 0), 1000);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), three.get(), 0), 0);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, e3.get(), e4.get(), 1, 1), 3);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, nullptr, e4.get(), 1, 1), 4);
    EXPECT_DOUBLE_EQ(c.raw_ces(2, e4.get(), e4.get(), 1, 1), -1);
    c.initMode2(4, 3, 5);
    EXPECT_DOUBLE_EQ(c.raw_cns(2, three.get(), three.get(), 0), -5);
}

TEST(CostFamilies, UnknownFamilyCostsNothing) {
    Cost c;
    c.initMode1(1, 1, 1, 1, 0);
    auto v = makeVertex(1);
    auto e = makeEdge(1, {{1, 1}});
    for (int mode : {-1, 4, 12}) {
        EXPECT_EQ(c.cnd(mode, v.get()), 0);
        EXPECT_EQ(c.cni(mode, v.get()), 0);
        EXPECT_EQ(c.cns(mode, v.get(), v.get(), 0), 0);
        EXPECT_EQ(c.ces(mode, e.get(), nullptr), 0);
    }
}

TEST(CostPathFile, SumsEveryOperation) {
    Cost c;
    c._cnd = 2, c._cni = 3, c._cns = 5, c._ced = 7, c._cei = 11;
    c._cess = 13, c._cesl = 17, c._cesi = 19;
    const std::string path = "cost_path_all_operations.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "n,4,-1\r\n"      // deletion: 2
            << "n,4,6\n"         // substitution: 5 + 2 + 3
            << "d,1,2\na,1,2\n"  // 7 + 11
            << "m,,2\n"          // missing side: 13 + 18
            << "m,1,2,x,y,z,w\n" // labelled: 17 + 18
            << "i,3\n"           // 3 x 3
            << "esi,2\n"         // 2 x (19 + 18)
            << "zz,1\n\n"        // reported, adds nothing; the blank line passes
            << "n,4\n"           // no second parameter: a substitution
            << "nd,3\n"          // the generators' deleted-node count: nothing
            << "i,many\n";       // reported, counts 0
    }
    const double expected = 2 + 10 + 7 + 11 + 31 + 35 + 9 + 74 + 10;
    ConsoleCapture capture;
    EXPECT_DOUBLE_EQ(c.cost(kClassDiagramCosts, path), expected);
    EXPECT_EQ(capture.text(), "\n Bad input in " + path +
                                  ", line 9: operation \"zz\" is none of n, d, a, m, i, "
                                  "esi, nd; it adds nothing [zz,1]"
                                  "\n Bad input in " +
                                  path +
                                  ", line 13: count is not a number; it counts 0 [i,many]\n" +
                                  path + " / Path Cost = 189\n");
}

TEST(CostPathFile, MissingFileCostsNothing) {
    Cost c;
    ConsoleCapture capture;
    EXPECT_EQ(c.cost(kClassDiagramCosts, "no_such_path_file.txt"), 0);
    const std::string out = capture.text();
    EXPECT_NE(out.find("no_such_path_file.txt / Path Cost = 0\n"), std::string::npos);
}
