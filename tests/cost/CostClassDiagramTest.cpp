// Class-diagram costs (family 3): node kinds and blocks, arc drops with matched and merged
// ends, and the surplus pricing of matched arcs. Expected values are worked by hand from
// weights chosen so that every kind has its own weight.
#include <gtest/gtest.h>

#include "cost/Cost.h"
#include "graph/Kinds.h"
#include "tests/cost/CostTestSupport.h"

namespace {

/// Kind weights 10 (attribute), 20 (method), 30 (class), 40 (package); edge weight 1.
Cost distinctKinds(double dwn, double dwe, double asy) {
    Cost c;
    c.initMode3(10, 20, 30, 40, dwn, dwe, 1, asy);
    return c;
}

} // namespace

TEST(CostNodes, KindWeightFollowsTheTypeRule) {
    Cost c = distinctKinds(1, 0, 1);
    // Deletion = weight / 2 with asymmetry 1; 4 and 8 are package-like, negatives class-like.
    const short types[] = {kPackageType, kClassType, kMethodType, kAttributeType, 4, 5, 8, -1, -4};
    const double weights[] = {40, 30, 20, 10, 40, 30, 40, 30, 40};
    for (int i = 0; i < 9; ++i) {
        auto v = makeVertex(types[i]);
        EXPECT_DOUBLE_EQ(c.cnd(kClassDiagramCosts, v.get()), weights[i] / 2) << "type " << types[i];
    }
}

TEST(CostNodes, AsymmetrySplitsDropBetweenInsertionAndDeletion) {
    auto cls = makeVertex(kClassType);
    Cost even;
    even.initMode1(1, 1, 1, 1, 0);
    EXPECT_DOUBLE_EQ(even.cni(kClassDiagramCosts, cls.get()),
                     even.cnd(kClassDiagramCosts, cls.get()));
    EXPECT_DOUBLE_EQ(even.cnd(kClassDiagramCosts, cls.get()), 50);

    Cost freeInsert;
    freeInsert.initMode1(0.5, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(freeInsert.cni(kClassDiagramCosts, cls.get()), 0);
    EXPECT_DOUBLE_EQ(freeInsert.cnd(kClassDiagramCosts, cls.get()), 50);

    // A block of three costs three plain nodes; a missing node costs nothing.
    auto block = makeVertex(kClassType, 3);
    EXPECT_DOUBLE_EQ(even.cni(kClassDiagramCosts, block.get()), 150);
    EXPECT_DOUBLE_EQ(even.cni(kClassDiagramCosts, nullptr), 0);
    EXPECT_DOUBLE_EQ(even.cnd(kClassDiagramCosts, nullptr), 0);
}

TEST(CostNodes, SubstitutionUsesKindSimilarityAndBlockSizes) {
    Cost c = distinctKinds(1, 1, 1);
    auto class1 = makeVertex(kClassType), class2 = makeVertex(kClassType),
         method = makeVertex(kMethodType);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, class1.get(), method.get(), 1.0f),
                     kImpossibleCost);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, class1.get(), class2.get(), 1.0f), 0);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, class1.get(), class2.get(), 0.0f), 30);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, class1.get(), class2.get(), 0.5f), 15);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, class1.get(), nullptr, 0.0f), 0);

    // Blocks of 2 and 3: (1 - d) x (1 + 1 + 2) x weight.
    auto pair = makeVertex(kMethodType, 2), triple = makeVertex(kMethodType, 3);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, pair.get(), triple.get(), 0.5f), 40);

    // Net cost: substitution less what deleting and inserting would have cost.
    EXPECT_DOUBLE_EQ(c.cns(kClassDiagramCosts, class1.get(), class2.get(), 0.0f), 30 - (15 + 15));
}

TEST(CostNodes, FurtherKindsCannotBeMerged) {
    Cost c = distinctKinds(1, 1, 1);
    auto plain1 = makeVertex(9), plain2 = makeVertex(9), block = makeVertex(9, 2);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, plain1.get(), plain2.get(), 0.0f), 30);
    EXPECT_DOUBLE_EQ(c.raw_cns(kClassDiagramCosts, block.get(), plain2.get(), 0.0f),
                     kImpossibleCost);
}

TEST(CostArcs, DropDependsOnTheStateOfBothEnds) {
    // Class arc with two relations of class 1, one of class 4 (and class 0, never priced):
    // 3 x 30 x 1 / 2 = 45 before the end factor; dropWeightE = 0.5.
    Cost c = distinctKinds(1, 0.5, 1);
    auto e = makeEdge(1, {{0, 5}, {1, 2}, {4, 1}});
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), -1, -1), 45 * 0.5);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), -7, -3), 45 * 0.5); // any negative is -1
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), 1, -1), 45 * 0.75);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), 1, 1), 45 * 0.75);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), 2, 3), 45 * 0.75 * 6);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), 2, -1), 45 * 0.75 * 2);
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, nullptr, 1, 1), 0);
}

TEST(CostArcs, InsertionCarriesTheAsymmetry) {
    Cost c = distinctKinds(1, 1, 2);
    auto e = makeEdge(2, {{4, 3}});
    // Method arc: 3 x 20 / 3 = 20 to delete, twice that to insert.
    EXPECT_DOUBLE_EQ(c.ced(kClassDiagramCosts, e.get(), -1, -1), 20);
    EXPECT_DOUBLE_EQ(c.cei(kClassDiagramCosts, e.get(), -1, -1), 40);
    EXPECT_DOUBLE_EQ(c.cei(kClassDiagramCosts, nullptr, -1, -1), 0);
}

TEST(CostArcs, MatchingPricesOnlyTheSurplus) {
    Cost c = distinctKinds(1, 1, 1);
    auto three = makeEdge(1, {{2, 3}}), one = makeEdge(1, {{2, 1}});
    auto same = makeEdge(1, {{2, 3}}), method = makeEdge(2, {{2, 3}});
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), same.get(), 1, 1), 0);
    // Two surplus relations on the first side are two deletions: 2 x 30 / 2.
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), 1, 1), 30);
    // The second side's surplus is priced as insertions (asymmetry 1: same value).
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, one.get(), three.get(), 1, 1), 30);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), method.get(), 1, 1),
                     kImpossibleCost);
    // A missing first arc uses the class weight, whatever the kind of the second.
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, nullptr, method.get(), 1, 1), 45);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, method.get(), nullptr, 1, 1), 30);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, nullptr, nullptr, 1, 1), 0);
}

TEST(CostArcs, SurplusScalesWithBlockSides) {
    Cost c = distinctKinds(1, 1, 1);
    auto three = makeEdge(1, {{2, 3}}), one = makeEdge(1, {{2, 1}});
    // Block factor: 1 and 2 nodes -> 1, 3 and 4 -> 2, 5 -> 3; the sign of the count is ignored.
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), 2, 1), 30);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), 3, 1), 60);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), -4, 1), 60);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), 5, 1), 90);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, three.get(), one.get(), 0, 1), 30);
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, one.get(), three.get(), 1, 3), 60);
}

TEST(CostArcs, CommonPartIsCappedPerLabelClass) {
    Cost c = distinctKinds(1, 1, 1);
    auto big = makeEdge(1, {{1, 15000}}), fewer = makeEdge(1, {{1, 12000}});
    // At most 10000 relations are credited in common: 5000 + 2000 surplus relations.
    EXPECT_DOUBLE_EQ(c.raw_ces(kClassDiagramCosts, big.get(), fewer.get(), 1, 1), 7000 * 15.0);
}

TEST(CostArcs, NetArcCostSubtractsDropAndAdd) {
    Cost c = distinctKinds(1, 0.5, 1);
    auto three = makeEdge(1, {{2, 3}}), one = makeEdge(1, {{2, 1}});
    // raw 30; deleting three relations 45 x 0.75, inserting one 15 x 0.75.
    EXPECT_DOUBLE_EQ(c.ces(kClassDiagramCosts, three.get(), one.get()), 30 - (33.75 + 11.25));
}

TEST(CostArcs, EstimateComparesPerKindLabelCounts) {
    Cost c = distinctKinds(1, 0.5, 1);
    auto n1 = makeVertex(kClassType), n2 = makeVertex(kClassType);
    auto a = makeEdge(1, {{1, 2}}), b = makeEdge(1, {{1, 1}});
    n1->out.push_back(a.get());
    n2->out.push_back(b.get());
    // One surplus relation, less the drop of all three: (1 - 2 x 0.5 - 1 x 0.5) x 30 / 2.
    EXPECT_DOUBLE_EQ(c.estimateO(kClassDiagramCosts, n1.get(), n2.get()), -7.5);

    // Label entries 3 and 9 weigh double; arc kind 4 uses the class weight.
    auto inherit = makeEdge(4, {{3, 1}});
    n1->in.push_back(inherit.get());
    EXPECT_DOUBLE_EQ(c.estimateO(kClassDiagramCosts, n1.get(), n2.get()), -7.5 + 2 * 0.5 * 30 / 2);
    // A missing second node counts as one without arcs: (2 - 1) x 15 + 15.
    EXPECT_DOUBLE_EQ(c.estimateO(kClassDiagramCosts, n1.get(), nullptr), 30);
}
