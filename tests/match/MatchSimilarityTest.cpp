// Node similarity, word sets of vertices, the term statistics prepared at initialisation
// (relevant nodes, seeded pairs, term-based candidate pairs) and the neighbourhood bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "match/Match.h"
#include "tests/match/MatchTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/QuietOutput.h"
#include "tests/support/Scratch.h"
#include "tests/support/TextCount.h"

namespace {

using Words = std::set<std::string>;

/// A detached vertex with the given word sets (null when not given).
std::unique_ptr<Vertex> vertexWith(int number, const Words* terms, const Words* paths = nullptr,
                                   const Words* specs = nullptr) {
    auto v = std::make_unique<Vertex>(number, "v");
    if (terms) v->nTerms = new Words(*terms);
    if (paths) v->nPaths = new Words(*paths);
    if (specs) v->nSpecs = new Words(*specs);
    return v;
}

} // namespace

using IntSim = TwoDiagrams;
using Relevance = TwoDiagrams;
using TermPairs = TwoDiagrams;
using NeighbourhoodBound = TwoDiagrams;
using NameSimilarity = TwoDiagrams;

// ---- intSim ------------------------------------------------------------------------------

TEST_F(IntSim, WorkedValues) {
    Match m;
    const Words foo{"foo"};
    const Words bar{"bar"};
    auto a = vertexWith(0, &foo);
    auto b = vertexWith(1, &foo);
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, a.get(), b.get()), 1.0) << "equal one-word names";

    const Words owner1{"zzz"};
    auto c = vertexWith(2, &bar, &owner1);
    auto d = vertexWith(3, &foo, &owner1);
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, c.get(), d.get()), 0.0)
        << "no common word, same paths";

    // Signatures overlap on 4 of 5 + 5 items: base 0.8. A block of 2 against a plain node:
    // (0.8^2 + 0.8) / 2.
    const Words specs1{"0-a", "1-b", "2-c", "3-d", "4-e"};
    const Words specs2{"0-a", "1-b", "2-c", "3-d", "4-x"};
    auto block = vertexWith(4, &foo, nullptr, &specs1);
    auto plain = vertexWith(5, &foo, nullptr, &specs2);
    EXPECT_FLOAT_EQ(static_cast<float>(m.intSim(kClassDiagramCosts, block.get(), plain.get())),
                    0.8f);
    block->nodes->insert(6);
    EXPECT_FLOAT_EQ(static_cast<float>(m.intSim(kClassDiagramCosts, block.get(), plain.get())),
                    0.72f);
}

TEST_F(IntSim, MissingPathOrSignatureOnOneSideCountsHalf) {
    Match m;
    const Words name{"size"};
    const Words path{"list"};
    const Words specs{"0-int"};
    auto method = vertexWith(0, &name, &path, &specs);
    auto field = vertexWith(1, &name, &path);
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, method.get(), field.get()), 0.5);
    auto noPath = vertexWith(2, &name, nullptr, &specs);
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, method.get(), noPath.get()), 0.5);
    auto noWords = vertexWith(3, nullptr);
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, method.get(), noWords.get()), 0.0)
        << "no term set: no words";
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, method.get(), nullptr), 0.0);
}

TEST_F(IntSim, CachedValueIsServedAndMissesAreCounted) {
    b1.node(kClassType, "Alpha");
    b2.node(kClassType, "Alpha");
    Match& m = start();
    const long misses = m.computeSim;
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, g1->V[0], g2->V[0]), 1.0);
    EXPECT_EQ(m.computeSim, misses + 1);
    (*m._N)(0, 0) = 0.25f;
    EXPECT_DOUBLE_EQ(m.intSim(kClassDiagramCosts, g1->V[0], g2->V[0]), 0.25);
    EXPECT_EQ(m.computeSim, misses + 1);
}

// ---- word sets of a vertex -------------------------------------------------------------

TEST(Settify, ClassGetsWordsOfItsShortNameOnly) {
    Vertex v(4, "org.util.HashMap");
    v.type = kClassType;
    v.specif = "ignored,for,classes";
    v.settify();
    ASSERT_NE(v.nTerms, nullptr);
    EXPECT_EQ(*v.nTerms, (Words{"hash", "map"}));
    EXPECT_EQ(v.nPaths, nullptr);
    EXPECT_EQ(v.nSpecs, nullptr);
    EXPECT_TRUE(v.nodes->count(4));
}

TEST(Settify, MemberGetsOwnerWordsAndPositionTaggedSignature) {
    Vertex v(2, "org.util.HashMap.getKey");
    v.type = kMethodType;
    v.specif = "int,a.b.FooBar, ,short";
    v.settify();
    EXPECT_EQ(*v.nTerms, (Words{"get", "key"}));
    ASSERT_NE(v.nPaths, nullptr);
    EXPECT_EQ(*v.nPaths, (Words{"hash", "map"}));
    ASSERT_NE(v.nSpecs, nullptr);
    // Position 0 keeps "int"; position 3 turns "short" into "double"; a blank stays.
    EXPECT_EQ(*v.nSpecs, (Words{"0-int", "1-foo", "1-bar", "2- ", "3-double"}));

    v.settify(); // a second call rebuilds the same sets
    EXPECT_EQ(v.nSpecs->size(), 5u);
}

TEST(Settify, LabelsWithoutOwnerOrName) {
    Vertex shortMember(0, "Cls.run");
    shortMember.type = kMethodType;
    shortMember.settify();
    EXPECT_EQ(*shortMember.nTerms, (Words{"run"}));
    EXPECT_EQ(shortMember.nPaths, nullptr) << "the path has no owner part";

    Vertex rootPackage(1, ".");
    rootPackage.settify();
    ASSERT_NE(rootPackage.nTerms, nullptr);
    EXPECT_EQ(*rootPackage.nTerms, (Words{"."}));

    Vertex unnamed(2, "pkg.");
    unnamed.settify();
    EXPECT_EQ(unnamed.nTerms, nullptr);
}

// ---- relevant nodes and seeded pairs -------------------------------------------------

TEST_F(Relevance, ContainmentTreeSeedsPairsAndMarksTheirSurroundings) {
    const int p1 = b1.node(kPackageType, "app");
    const int a1 = b1.node(kClassType, "Alpha");
    const int z1 = b1.node(kClassType, "Zeta");
    b1.arc(p1, a1, kContainmentText).arc(p1, z1, kContainmentText).root(p1);
    const int p2 = b2.node(kPackageType, "app");
    const int a2 = b2.node(kClassType, "Alpha");
    const int y2 = b2.node(kClassType, "Ypsilon");
    b2.arc(p2, a2, kContainmentText).arc(p2, y2, kContainmentText).root(p2);
    Match& m = start();

    EXPECT_EQ(m.M12[p1], p2);
    EXPECT_EQ(m.M12[a1], a2);
    EXPECT_EQ(m.M12[z1], Match::kNoPartner);
    EXPECT_EQ(m.M21[y2], Match::kNoPartner);
    EXPECT_FLOAT_EQ((*m._N)(a1, a2), 1.0f);
    // The package has an unmatched neighbour; Alpha's only neighbour is matched.
    EXPECT_TRUE(m.relevant1[p1]);
    EXPECT_FALSE(m.relevant1[a1]);
    EXPECT_TRUE(m.relevant1[z1]);
    EXPECT_FALSE(m.relevant2[a2]);
    EXPECT_TRUE(m.relevant2[y2]);
    // The running cost starts from the matching that init leaves.
    EXPECT_DOUBLE_EQ(m.currentCost, m.no_matching_cost);
}

TEST_F(Relevance, ContainmentCycleEndsTheWalk) {
    for (DiagramBuilder* b : {&b1, &b2}) {
        b->node(kPackageType, "a");
        b->node(kPackageType, "b");
        b->arc(0, 1, kContainmentText).arc(1, 0, kContainmentText).root(0);
    }
    Match& m = start();
    EXPECT_EQ(m.M12[0], 0);
    EXPECT_EQ(m.M12[1], 1);
}

// ---- term-based candidate pairs --------------------------------------------------------

namespace {

/// One class on each side, no arcs; the matcher runs the whole term preparation.
BuiltPair oneClassEach(const std::string& tag, const std::string& name1, const std::string& name2,
                       short type2 = kClassType) {
    DiagramBuilder b1("terms1_" + tag);
    b1.node(kClassType, name1);
    DiagramBuilder b2("terms2_" + tag);
    b2.node(type2, name2);
    return BuiltPair(b1, b2);
}

} // namespace

TEST_F(TermPairs, HalfOfTheSmallerTotalIsEnough) {
    // One shared word of two on each side: 1 / min(2, 2) = 0.5, the threshold itself.
    BuiltPair p = oneClassEach("half", "FooBar", "FooBaz");
    EXPECT_TRUE(p.match->movable(0, 0));
    EXPECT_EQ(p.termPairs(), "\n0,0,FooBar,FooBaz,2_200000000,2_200000000,1_100000000");
    EXPECT_EQ(p.match->nodeTerms1, nullptr) << "the term tables are freed";
    EXPECT_TRUE(p.match->terms1.empty());
}

TEST_F(TermPairs, LessThanHalfNoCommonWordOrDifferentKindsGiveNoPair) {
    const struct {
        const char* tag;
        const char* name1;
        const char* name2;
        short type2;
    } cases[] = {
        {"third", "FooBarQux", "FooBazQuy", kClassType}, // 1 / min(3, 3) is below one half
        {"none", "Apple", "Pear", kClassType},
        {"kinds", "Apple", "Apple", kMethodType},
    };
    for (const auto& c : cases) {
        BuiltPair p = oneClassEach(c.tag, c.name1, c.name2, c.type2);
        EXPECT_FALSE(p.match->movable(0, 0)) << c.tag;
        EXPECT_EQ(p.termPairs(), "") << c.tag;
    }
}

TEST_F(TermPairs, NeighbourWordsCountByKindAndDirection) {
    // Alpha -> Beta (a class relation "1"): Beta counts Alpha's word as an entering class
    // neighbour (slot 4 + 2 = 6), Alpha counts Beta's as a leaving one (slot 2).
    for (DiagramBuilder* b : {&b1, &b2}) {
        b->node(kClassType, "Alpha");
        b->node(kClassType, "Beta");
        b->arc(0, 1, "1");
    }
    Match& m = start();
    const std::string pairs = termPairs();
    EXPECT_NE(pairs.find("\n0,0,Alpha,Alpha,2_101000000,2_101000000,2_101000000"),
              std::string::npos);
    EXPECT_NE(pairs.find("\n1,1,Beta,Beta,2_100000100,2_100000100,2_100000100"), std::string::npos);
    EXPECT_TRUE(m.movable(0, 0));
    EXPECT_TRUE(m.movable(1, 1));
    EXPECT_FALSE(m.movable(0, 1));
}

TEST_F(TermPairs, RelationTextLengthWeighsNeighbourWordsByTheNeighboursKind) {
    // Package Core -> class CoreUtil with two relations (label "12", weight 2): the class
    // counts "core" as an entering package word (slot 1 + 4), the package counts "core" and
    // "util" as leaving class words (slot 2).
    for (DiagramBuilder* b : {&b1, &b2}) {
        b->node(kPackageType, "Core");
        b->node(kClassType, "CoreUtil");
        b->arc(0, 1, "12");
    }
    Match& m = start();
    EXPECT_EQ(termPairs(), "\n0,0,Core,Core,5_104000000,5_104000000,5_104000000"
                           "\n1,1,CoreUtil,CoreUtil,4_200002000,4_200002000,4_200002000");
    EXPECT_FALSE(m.movable(0, 1)) << "a package and a class are never paired by terms";
}

namespace {

/// `copies1` classes named Foo in the first graph and `copies2` in the second; returns how
/// many term pairs were written.
int fooPairs(const std::string& tag, int copies1, int copies2) {
    DiagramBuilder b1("terms_common1_" + tag);
    for (int i = 0; i < copies1; i++)
        b1.node(kClassType, "Foo");
    DiagramBuilder b2("terms_common2_" + tag);
    for (int i = 0; i < copies2; i++)
        b2.node(kClassType, "Foo");
    const std::string pairs = BuiltPair(b1, b2).termPairs();
    return static_cast<int>(std::count(pairs.begin(), pairs.end(), '\n'));
}

} // namespace

TEST_F(TermPairs, WordsUsedThreeHundredTimesOrMoreAreIgnored) {
    EXPECT_EQ(fooPairs("299", 299, 1), 299);
    EXPECT_EQ(fooPairs("300a", 300, 1), 0);
    EXPECT_EQ(fooPairs("300b", 1, 300), 0);
}

TEST_F(TermPairs, ResultsFolderIsCreatedWhenMissing) {
    ASSERT_FALSE(std::filesystem::exists("results"));
    BuiltPair p = oneClassEach("folder", "FooBar", "FooBaz");
    EXPECT_EQ(p.termPairs(), "\n0,0,FooBar,FooBaz,2_200000000,2_200000000,1_100000000");
}

TEST_F(TermPairs, CountersSaturateInsteadOfWrapping) {
    Match m;
    m.iterms = Match::kTermCounters;
    SparseMatrix<semarel> table;
    m.updateSemarel(&table, 2, 3, 4, 30000);
    m.updateSemarel(&table, 2, 3, 4, 30000);
    EXPECT_EQ(table(2, 3).count[4], 32767);
    EXPECT_EQ(table(2, 3).count[0], 0);
    m.updateSemarel(&table, 2, 3, 9, 1); // no such counter: ignored
    EXPECT_EQ(table(2, 3).sum, 32767);
    delete[] table(2, 3).count;
}

// ---- blocks and bounds -----------------------------------------------------------------

TEST(InvolvedNodes, UnionOfMembers) {
    Match m;
    EXPECT_EQ(m.involvedNodes(nullptr), nullptr);
    std::vector<Vertex*> none{nullptr};
    EXPECT_EQ(m.involvedNodes(&none), nullptr);

    Vertex block(7, "b");
    block.nodes->insert({1, 3});
    Vertex bare;
    bare.number = 5; // no member set: counts as itself
    std::vector<Vertex*> list{&block, nullptr, &bare};
    std::set<int>* nodes = m.involvedNodes(&list);
    ASSERT_NE(nodes, nullptr);
    EXPECT_EQ(*nodes, (std::set<int>{1, 3, 5, 7}));
    delete nodes;
}

TEST_F(NeighbourhoodBound, IsolatedAndOneSidedPairs) {
    b1.node(kClassType, "Foo");
    b1.node(kClassType, "Hub");
    b1.node(kClassType, "Leaf");
    b1.arc(1, 2, "1").arc(2, 1, "2");
    b2.node(kClassType, "Bar");
    Match& m = start();
    // Raw substitution of two classes without discount: the kind weight.
    EXPECT_DOUBLE_EQ(m.bestNMatches1(0, 0), kKindWeight);
    // Hub has two edges and the other node none: half a unit per edge.
    EXPECT_DOUBLE_EQ(m.bestNMatches1(1, 0), kKindWeight + 0.5 * 2);
    EXPECT_DOUBLE_EQ(m.bestNMatches1(5, 0), 0) << "no such node";
}

TEST_F(NeighbourhoodBound, NeighboursArePairedOrDroppedAtLeastCost) {
    // x -> a with relation 1 against y -> b with relation 2: pairing a with b costs one
    // deletion and one insertion (100), dropping both costs 50.5 + 50.5.
    b1.node(kClassType, "Foo");
    b1.node(kClassType, "Other");
    b1.arc(0, 1, "1");
    b2.node(kClassType, "Foo");
    b2.node(kClassType, "Other");
    b2.arc(0, 1, "2");
    Match& m = start();
    EXPECT_FLOAT_EQ(static_cast<float>(m.bestNMatches1(0, 0)), kKindWeight + 2 * kDropCost);

    m.fillSimMatrixH1();
    EXPECT_EQ(m._M->count(), 4);
    EXPECT_FLOAT_EQ((*m._M)(0, 0), static_cast<float>(kKindWeight + 2 * kDropCost));
}

TEST_F(NeighbourhoodBound, StructuralBoundsFillEveryPair) {
    b1.node(kClassType, "Foo");
    b1.node(kClassType, "Bar");
    b1.arc(0, 1, "1").arc(1, 0, "1");
    b2.node(kClassType, "Foo");
    buildGraphs();
    g1->fillNeighborsAndRelations();
    g2->fillNeighborsAndRelations();
    Match& m = start();
    m.fillSimMatrixH();
    EXPECT_EQ(m._M->count(), 2);
    // Node 0: two arcs to one neighbour joined both ways weighs 4; node 0 of the second
    // graph is isolated and nothing can be preserved.
    EXPECT_FLOAT_EQ((*m._M)(0, 0), 4.0f);
}

// ---- obvious matches --------------------------------------------------------------------

namespace {

/// Every node filed in the class-name map under the text after its label's last ".".
void fileShortNames(Graph& g) {
    g.classes = new std::multimap<std::string, int>();
    for (const Vertex* v : g.V) {
        const size_t dot = v->label.rfind('.');
        g.classes->emplace(dot == std::string::npos ? v->label : v->label.substr(dot + 1),
                           v->number);
    }
}

} // namespace

TEST(ObviousMatch, PairsTheUniqueTwinsAndExportsWhatIsLeft) {
    ScratchFolder dir("obvious");
    // p contains A and B; A has run(), B has a field and a method; A uses B. The second
    // version renames B to C and drops B's members.
    DiagramBuilder a("oa");
    a.node(kPackageType, "p");
    a.node(kClassType, "p.A");
    a.node(kMethodType, "p.A.run", "public,void,run");
    a.node(kClassType, "p.B");
    a.node(kAttributeType, "p.B.size", "private,int,size");
    a.node(kMethodType, "p.B.go", "public,void,go,int,String");
    a.arc(0, 1, kContainmentText)
        .arc(0, 3, kContainmentText)
        .arc(1, 2, kContainmentText)
        .arc(3, 4, kContainmentText)
        .arc(3, 5, kContainmentText)
        .arc(1, 3, "1");
    DiagramBuilder b("ob");
    b.node(kPackageType, "p");
    b.node(kClassType, "p.A");
    b.node(kMethodType, "p.A.run", "public,void,run");
    b.node(kClassType, "p.C");
    b.arc(0, 1, kContainmentText)
        .arc(0, 3, kContainmentText)
        .arc(1, 2, kContainmentText)
        .arc(1, 3, "1");
    auto g1 = a.build();
    auto g2 = b.build();
    fileShortNames(*g1);
    fileShortNames(*g2);
    // Relation lines of the first version's dataset file (its first line is a header).
    std::filesystem::create_directories("datasets/cdiagrams/mylyn");
    {
        std::ofstream data("datasets/cdiagrams/mylyn/oa.txt");
        data << "6,6\nr,1,3,1\nr,0,1,9\nr,3,4,9,2\nr,3,x,9\nr,3,6,9\nr,3\n";
    }
    Match m;
    QuietOutput quiet;
    EXPECT_EQ(m.obviousMatch(g1.get(), g2.get()), "YES");
    const std::string data = " Bad input in ./datasets/cdiagrams/mylyn/oa.txt";
    EXPECT_EQ(linesWith(quiet.text(), "Bad input"),
              (std::vector<std::string>{
                  data + ", line 5: target is not a number [r,3,x,9]",
                  data + ", line 6: relation end outside 0..5; skipped [r,3,6,9]",
                  data + ", line 7: expected \"r,source,target[,label]\" [r,3]",
                  " Bad input in ./datasets/cdiagrams/mylyn/ob.txt: cannot be opened (expected "
                  "the dataset file of ob); no relation exported"}));

    // p, A and run have one twin each. run's only neighbour is paired, so it is not left
    // over; p and A keep an unpaired neighbour (B) and stay with B and its members.
    EXPECT_EQ(readText("results/_oa__ob.csv"),
              "ns,0,0,p,p\nns,1,1,p.A,p.A\nns,2,2,p.A.run,p.A.run\n");
    EXPECT_EQ(readText("results/_oa.txt"), "2,0\nc,1,p.A,0,0\nc,2,p.B,0,0\na,2,private@int@size\n"
                                           "m,2,public@void@go@[int,String]\n"
                                           "r,1,2,1\nr,0,1,9\nr,2,3,9,2\n");
    EXPECT_EQ(readText("results/_ob.txt"), "2,0\nc,1,p.A,0,0\nc,2,p.C,0,0\n");
}

// ---- alternative name similarities ---------------------------------------------------------

TEST_F(NameSimilarity, MembersOfUnrelatedOwnersKeepHalfTheirNameLikeness) {
    Match m;
    Vertex order1(0, "p.Order");
    Vertex order2(1, "q.Order");
    order1.type = order2.type = kClassType;
    EXPECT_DOUBLE_EQ(m.intSim2(kClassDiagramCosts, &order1, &order2), 1.0)
        << "classes: the name alone";
    // run() of Alpha against run() of Zeta (owners share no word) and of another Alpha.
    Vertex run1(2, "p.Alpha.run");
    Vertex run2(3, "p.Zeta.run");
    Vertex run3(4, "q.Alpha.run");
    run1.type = run2.type = run3.type = kMethodType;
    EXPECT_DOUBLE_EQ(m.intSim2(kClassDiagramCosts, &run1, &run2), 0.5);
    EXPECT_DOUBLE_EQ(m.intSim2(kClassDiagramCosts, &run1, &run3), 1.0);
    Vertex unnamed(5, "p.");
    EXPECT_DOUBLE_EQ(m.intSim2(kClassDiagramCosts, &order1, &unnamed), 0);
}

TEST_F(NameSimilarity, ClassesAlsoCompareTheirMemberNames) {
    // Order holds a field and a method in both versions; Item has no members.
    for (DiagramBuilder* b : {&b1, &b2}) {
        b->node(kClassType, "p.Order");
        b->node(kAttributeType, "p.Order.total", "private,double,total");
        b->node(kMethodType, "p.Order.pay", "public,void,pay");
        b->arc(0, 1, kContainmentText).arc(0, 2, kContainmentText);
    }
    b2.node(kClassType, "p.Item");
    Match& m = start();
    m.fillSimMatrix();
    // Same name, same field names, same method names: (1 + 1 + 1) / 3.
    EXPECT_FLOAT_EQ((*m._M)(0, 0), 1.0f);
    EXPECT_FLOAT_EQ((*m._att)(0, 0), 1.0f);
    EXPECT_FLOAT_EQ((*m._meth)(0, 0), 1.0f);
    // Against a class without members only the name counts: Order -> Item takes 4 edits
    // of 5 letters, 1 - 0.8, over three parts.
    EXPECT_FLOAT_EQ((*m._M)(0, 3), 0.2f / 3);
    // Members are compared by name alone, and only with members of their own kind.
    EXPECT_FLOAT_EQ((*m._M)(2, 2), 1.0f);
    EXPECT_FALSE(m._M->exists(1, 2));
    EXPECT_FALSE(m._M->exists(0, 1));
}
