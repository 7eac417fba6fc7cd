// The tabu search end to end: what it finds on small diagrams, that its running cost and its
// final cost agree with a full pricing, that a seed repeats a run byte for byte, and how the
// starts and the stopping rule behave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cost/Cost.h"
#include "graph/Kinds.h"
#include "match/Match.h"
#include "match/SearchHook.h"
#include "match/SearchSupport.h"
#include "tests/match/MatchTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/QuietOutput.h"
#include "tests/support/Scratch.h"
#include "tests/support/TextCount.h"
#include "util/Random.h"
#include "util/Utilities.h"

namespace {
constexpr int kAlg = 7;
constexpr int kDiscrim = 80;

/// A small shop: a package with three classes, their members, containment and relations.
/// With `refund`, a fourth class joins the package and uses Invoice.
std::unique_ptr<Graph> shop(const std::string& name, bool withRoot, bool refund = false) {
    DiagramBuilder b(name);
    b.node(kPackageType, "shop");
    b.node(kClassType, "shop.Order");
    b.node(kClassType, "shop.Customer");
    b.node(kClassType, "shop.Invoice");
    b.node(kMethodType, "shop.Order.total", "public,double,total");
    b.node(kAttributeType, "shop.Order.customer", "private,Customer,customer");
    b.node(kMethodType, "shop.Customer.getName", "public,String,getName");
    b.node(kMethodType, "shop.Invoice.print", "public,void,print,Order");
    b.arc(0, 1, kContainmentText)
        .arc(0, 2, kContainmentText)
        .arc(0, 3, kContainmentText)
        .arc(1, 4, kContainmentText)
        .arc(1, 5, kContainmentText)
        .arc(2, 6, kContainmentText)
        .arc(3, 7, kContainmentText);
    b.arc(5, 2, "7").arc(3, 1, "5").arc(7, 1, "8").arc(4, 5, "4");
    if (refund) {
        b.node(kClassType, "shop.Refund");
        b.arc(0, 8, kContainmentText).arc(8, 3, "5");
    }
    if (withRoot) b.root(0);
    return b.build();
}

/// Graphs, weights and matcher of one run; the matcher goes first when destroyed.
struct SearchRun {
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Cost> cost = symmetricCost();
    std::unique_ptr<Match> m;

    SearchRun(std::unique_ptr<Graph> a, std::unique_ptr<Graph> b, int seed = 1)
        : g1(std::move(a)), g2(std::move(b)) {
        seedRandom(static_cast<unsigned>(seed));
        m = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), seed, kClassDiagramCosts);
    }
};

SearchRun examplePair(int seed = 1) {
    return SearchRun(std::make_unique<Graph>(kClassDiagramMode, examplePath("v1.txt")),
                     std::make_unique<Graph>(kClassDiagramMode, examplePath("v2.txt")), seed);
}

/// Every matched first-graph node's partner block answers with the node's own block.
void expectConsistentMatching(Match& m) {
    for (int x = 0; x < m.order(true); x++) {
        if (m.M12[x] == Match::kNoPartner) continue;
        EXPECT_EQ(m.getM21(m.M12[x]), m.blocks1[x]) << "node " << x;
    }
    for (int y = 0; y < m.order(false); y++) {
        if (m.M21[y] == Match::kNoPartner) continue;
        EXPECT_EQ(m.getM12(m.M21[y]), m.blocks2[y]) << "node " << y;
    }
}

/// Class nodes whose names share no word across the two graphs: no move is ever open.
std::unique_ptr<Graph> unrelatedClasses(const std::string& name, const std::string& stem,
                                        int count) {
    DiagramBuilder b(name);
    for (int i = 0; i < count; i++) {
        std::string suffix;
        for (int k = i; k > 0 || suffix.empty(); k /= 26)
            suffix += static_cast<char>('a' + k % 26);
        b.node(kClassType, stem + suffix);
    }
    return b.build();
}

/// Installs a hook for the lifetime of the object.
class HookGuard {
public:
    explicit HookGuard(std::function<void(Match&)> hook) {
        setSearchIterationHook(std::move(hook));
    }
    ~HookGuard() { setSearchIterationHook(nullptr); }
    HookGuard(const HookGuard&) = delete;
    HookGuard& operator=(const HookGuard&) = delete;
};

/// Runs the search checking after every move that the running cost equals a full pricing of
/// the current matching, and after every improvement that the best matching is the current one;
/// ends the run after `maxIterations` moves. Returns the moves checked.
int searchCheckingRunningCost(Match& m, int maxIterations) {
    int checked = 0;
    double worst = 0;
    HookGuard guard([&](Match& current) {
        const double fresh = current.costFigures(current.cost_mode).total;
        // The whole cost rounds each node substitution to single precision; the moves do not.
        const double tolerance = 1e-2 + 1e-6 * std::fabs(fresh);
        worst = std::max(worst, std::fabs(current.currentCost - fresh));
        EXPECT_NEAR(current.currentCost, fresh, tolerance) << "iteration " << current.iterations;
        // A move that improves the best records the whole current matching as the best one
        // (the search copies only what changed since its last copy).
        if (current.bestIterations == current.iterations - 1) {
            int differing = 0;
            for (int x = 0; x < current.order(true); x++)
                differing += current.bestMatch[x] != current.M12[x] ||
                             current.bestBlock[x] != current.blocks1[x];
            for (int y = 0; y < current.order(false); y++)
                differing += current.bestMatch2[y] != current.M21[y] ||
                             current.bestBlock2[y] != current.blocks2[y];
            EXPECT_EQ(differing, 0) << "iteration " << current.iterations;
        }
        if (++checked >= maxIterations) current.stagnation = current.stagnation_length;
    });
    m.Tabu(1, kAlg, kDiscrim);
    std::cout << "\n running cost checked on " << checked << " moves, largest gap " << worst
              << "\n";
    return checked;
}

std::vector<std::string> resultFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("results"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(TabuSearch, EqualDiagramsAreMatchedToThemselvesAtNoCost) {
    ScratchFolder dir("equal-diagrams");
    SearchRun r(shop("v1", false), shop("v2", false));
    r.m->Tabu(1, kAlg, kDiscrim);
    for (int x = 0; x < r.g1->vertices; x++)
        EXPECT_EQ(r.m->M12[x], x);
    EXPECT_NEAR(r.m->bestCost, 0, 1e-9);
    EXPECT_GT(r.m->iterations, 0);
    expectConsistentMatching(*r.m);
}

TEST(TabuSearch, FinalCostIsThePriceOfTheRestoredMatching) {
    ScratchFolder dir("final-cost");
    SearchRun r = examplePair();
    r.m->Tabu(1, kAlg, kDiscrim);
    const double best = r.m->bestCost;
    EXPECT_LT(best, r.m->no_matching_cost);
    EXPECT_DOUBLE_EQ(best, r.m->costFigures(kClassDiagramCosts).total);
    EXPECT_DOUBLE_EQ(r.m->currentCost, best);
    EXPECT_EQ(r.m->numberOfGoodMatchs, 0);
    EXPECT_EQ(r.m->kbt, nullptr);
    expectConsistentMatching(*r.m);
}

TEST(TabuSearch, ExamplePairFindsTheRenameTheMoveAndTheSplit) {
    ScratchFolder dir("example-changes");
    SearchRun r = examplePair();
    r.m->Tabu(1, kAlg, kDiscrim);
    auto nodeOf = [](const Graph& g, const std::string& label) {
        for (const Vertex* v : g.V)
            if (v->label == label) return v->number;
        return -1;
    };
    const int gateway = nodeOf(*r.g1, "com.shop.service.PaymentGateway");
    const int processor = nodeOf(*r.g2, "com.shop.service.PaymentProcessor");
    const int formatter1 = nodeOf(*r.g1, "com.shop.util.PriceFormatter");
    const int formatter2 = nodeOf(*r.g2, "com.shop.service.PriceFormatter");
    const int orders1 = nodeOf(*r.g1, "com.shop.service.OrderService");
    const int orders2 = nodeOf(*r.g2, "com.shop.service.OrderService");
    const int invoices = nodeOf(*r.g2, "com.shop.service.InvoiceService");
    ASSERT_GE(std::min({gateway, processor, formatter1, formatter2, orders1, orders2, invoices}),
              0);
    EXPECT_EQ(r.m->M12[gateway], processor);
    EXPECT_EQ(r.m->M12[formatter1], formatter2);
    // The split class is matched with one block holding both classes of the new version.
    EXPECT_EQ(r.m->blocks2[orders2], r.m->blocks2[invoices]);
    EXPECT_EQ(r.m->M12[orders1], r.m->blocks2[orders2]);
}

TEST(TabuSearch, SameSeedGivesByteIdenticalResultFiles) {
    std::map<std::string, std::string> first;
    std::vector<int> firstMatching;
    int firstIterations = 0;
    {
        ScratchFolder dir("seed-run-1");
        SearchRun r = examplePair(5);
        r.m->Tabu(1, kAlg, kDiscrim);
        for (const std::string& name : resultFiles())
            first[name] = readText("results/" + name);
        firstMatching.assign(r.m->M12, r.m->M12 + r.g1->vertices);
        firstIterations = r.m->iterations;
    }
    ScratchFolder dir("seed-run-2");
    SearchRun r = examplePair(5);
    r.m->Tabu(1, kAlg, kDiscrim);
    EXPECT_EQ(std::vector<int>(r.m->M12, r.m->M12 + r.g1->vertices), firstMatching);
    EXPECT_EQ(r.m->iterations, firstIterations);
    ASSERT_EQ(resultFiles().size(), first.size());
    EXPECT_EQ(first.size(), 9u);
    for (const auto& [name, text] : first)
        EXPECT_EQ(readText("results/" + name), text) << name;
}

TEST(TabuSearch, RunningCostAgreesWithAFullPricingOnTheExamplePair) {
    ScratchFolder dir("running-cost-example");
    SearchRun r = examplePair();
    EXPECT_GT(searchCheckingRunningCost(*r.m, 100000), 5);
    EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->costFigures(kClassDiagramCosts).total);
}

TEST(TabuSearch, RunningCostAgreesWithAFullPricingOnJsoup) {
    const std::string dir = std::string(GRAPHMAT_SHARED_DATA) + "/jsoup/";
    if (!std::filesystem::exists(dir + "jsoup-1.6.0.txt") ||
        !std::filesystem::exists(dir + "jsoup-1.7.2.txt"))
        GTEST_SKIP() << "shared jsoup diagrams not available";
    ScratchFolder scratch("running-cost-jsoup");
    SearchRun r(std::make_unique<Graph>(kClassDiagramMode, dir + "jsoup-1.6.0.txt"),
                std::make_unique<Graph>(kClassDiagramMode, dir + "jsoup-1.7.2.txt"));
    // A short run keeps the test fast: every full pricing walks both diagrams.
    EXPECT_EQ(searchCheckingRunningCost(*r.m, 80), 80);
    EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->costFigures(kClassDiagramCosts).total);
}

TEST(TabuSearch, StagnationLimitFollowsTheLargerGraphAndNoMoveEndsAtOnce) {
    struct Case {
        int n1, n2, limit;
    };
    // ceil(0.1 x larger order), kept between 10 and 100.
    for (const Case& c : {Case{5, 8, 10}, Case{143, 20, 15}, Case{2000, 1990, 100}}) {
        ScratchFolder dir("stagnation-" + std::to_string(c.n1));
        SearchRun r(unrelatedClasses("left", "Alpha", c.n1),
                    unrelatedClasses("right", "Beta", c.n2));
        r.m->Tabu(1, kAlg, kDiscrim);
        EXPECT_EQ(r.m->stagnation_length, c.limit) << c.n1;
        EXPECT_EQ(r.m->iterations, 0);
        EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->no_matching_cost);
        for (int x = 0; x < c.n1; x++)
            ASSERT_EQ(r.m->M12[x], -1);
    }
}

TEST(TabuSearch, StopsOnceTheBestHasNotImprovedForTheLimit) {
    ScratchFolder dir("stopping-rule");
    SearchRun r = examplePair();
    struct Step {
        int stagnation;
        double best;
        double current;
    };
    std::vector<Step> steps;
    {
        HookGuard guard([&](Match& m) {
            steps.push_back({m.stagnation, m.bestCost, m.currentCost});
        });
        r.m->Tabu(1, kAlg, kDiscrim);
    }
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(static_cast<int>(steps.size()), r.m->iterations);
    const int limit = r.m->stagnation_length;
    double best = r.m->initScore;
    int sinceBest = 0;
    for (size_t k = 0; k < steps.size(); k++) {
        // Only a strictly lower cost resets the count; a worse or equal move adds one.
        if (steps[k].current < best) {
            best = steps[k].current;
            sinceBest = 0;
        } else {
            sinceBest++;
        }
        EXPECT_EQ(steps[k].stagnation, sinceBest) << "iteration " << k;
        EXPECT_DOUBLE_EQ(steps[k].best, best) << "iteration " << k;
        if (k + 1 < steps.size()) {
            EXPECT_LT(steps[k].stagnation, limit) << "iteration " << k;
        }
    }
    // The run ends in the iteration that reaches the limit, with the current cost above the
    // best one.
    EXPECT_EQ(steps.back().stagnation, limit);
    EXPECT_GT(steps.back().current, steps.back().best);
}

TEST(TabuSearch, ContainmentSeedsStayForTheEmptyStartsAndAreLocked) {
    // 1 and 4 are the empty starts; any value without a start of its own (7) is one too.
    for (double start : {1.0, 4.0, 7.0}) {
        ScratchFolder dir("seeds-" + std::to_string(static_cast<int>(start)));
        SearchRun r(shop("v1", true), shop("v2", true, true));
        r.m->Tabu(start, kAlg, kDiscrim);
        // The start already holds every seeded pair, so it is priced below the empty matching.
        EXPECT_LT(r.m->initScore, r.m->no_matching_cost) << start;
        ASSERT_TRUE(r.m->M->exists(0, 0)) << start;
        EXPECT_EQ((*r.m->M)(0, 0).tabu, Match::kLockedTabu) << start;
        for (int x = 0; x < r.g1->vertices; x++)
            EXPECT_EQ(r.m->M12[x], x) << start;
        EXPECT_EQ(r.m->M21[8], -1) << start;
    }
}

TEST(TabuSearch, WholeMatchingStartsEndConsistentAndKeepTheirResultWithoutReference) {
    for (double start : {2.0, 3.0, 4.0, 5.0}) {
        ScratchFolder dir("start-" + std::to_string(static_cast<int>(start)));
        SearchRun r(shop("v1", true), shop("v2", true, true));
        r.m->Tabu(start, kAlg, kDiscrim);
        EXPECT_LE(r.m->bestCost, r.m->initScore) << start;
        EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->costFigures(kClassDiagramCosts).total) << start;
        expectConsistentMatching(*r.m);
        ASSERT_NE(r.m->kbt, nullptr);
        // No reference file: the search's matching is reported, not an empty one.
        int matched = 0;
        for (int x = 0; x < r.g1->vertices; x++)
            matched += r.m->M12[x] != -1;
        EXPECT_GT(matched, 0) << start;
    }
}

TEST(TabuSearch, FractionalStartSkipsTheLoopAndReportsTheReference) {
    ScratchFolder dir("fraction");
    std::filesystem::create_directories("datasets/random");
    {
        std::ofstream ref("datasets/random/shop.csv");
        ref << "s,0\nl,0\nf,0\ne,0\nn,0\nv,0\n";
        for (int x = 0; x < 8; x++)
            ref << x << "," << x << "\n";
        ref << "8\n99,0\n"; // reported and left out
    }
    SearchRun r(shop("shopA", false), shop("shopB", false, true));
    QuietOutput quiet;
    r.m->Tabu(0.5, kAlg, kDiscrim);
    const std::string ref = " Bad input in ./datasets/random/shop.csv, line ";
    const std::string what = ": expected two node numbers within the graphs [";
    EXPECT_EQ(linesWith(quiet.text(), "Bad input"),
              (std::vector<std::string>{ref + "15" + what + "8]", ref + "16" + what + "99,0]"}));
    EXPECT_EQ(r.m->iterations, 0);
    for (int x = 0; x < 8; x++)
        EXPECT_EQ(r.m->M12[x], x);
    EXPECT_EQ(r.m->M21[8], -1);
    EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->upperBound);
    EXPECT_DOUBLE_EQ(r.m->bestCost, r.m->costFigures(kClassDiagramCosts).total);
}

TEST(TabuSearch, FractionalSeedKeepsEveryAcceptedDrawAgainstTheWantedCount) {
    SearchRun r(shop("v1", false), shop("v2", false));
    const int n1 = r.g1->vertices;
    // Only the last node has a reference partner; a fraction of 1 / n1 wants one pair.
    delete[] r.m->kbt;
    r.m->kbt = new int[n1];
    std::fill(r.m->kbt, r.m->kbt + n1, -1);
    r.m->kbt[n1 - 1] = n1 - 1;
    const double fraction = 1.0 / n1;

    // Any draw reaches an acceptance of 1: with the wanted pair still open, the last node
    // (one wanted pair among one remaining node) is always kept.
    seedRandom(1);
    std::vector<int> kept = sampleReference(*r.m, fraction);
    EXPECT_EQ(kept[n1 - 1], n1 - 1);

    // A first draw of exactly 0 accepts the first node although it has no partner: it stays
    // unmatched, but the wanted pair is used up and the last node is then left out.
    unsigned seed = 0;
    for (unsigned s = 1; s < 1000000 && seed == 0; s++) {
        seedRandom(s);
        const int first = randDraw();
        for (int k = 1; k < n1 - 1; k++)
            randDraw();
        if (first == 0 && randDraw() != 0) seed = s;
    }
    ASSERT_NE(seed, 0u) << "no seed opens with a draw of 0";
    seedRandom(seed);
    kept = sampleReference(*r.m, fraction);
    for (int x = 0; x < n1; x++)
        EXPECT_EQ(kept[x], -1) << "node " << x;
}

TEST(TabuSearchDeathTest, EvaluationStartAppendsOneLineAndEnds) {
    ScratchFolder dir("evaluation");
    std::filesystem::create_directories("datasets/random");
    {
        std::ofstream ref("datasets/random/r_8_0.5_0.1_2_0.3_3_0.2_0.1_0.1_0_7.csv");
        ref << "s,0\nl,0\nf,0\ne,0\nn,0\nv,0\n";
        for (int x = 0; x < 8; x++)
            ref << x << "," << x << "\n";
    }
    SearchRun r(shop("r_8_0.5_0.1_2_0.3_3_0.2_0.1_0.1_0_7A", false),
                shop("r_8_0.5_0.1_2_0.3_3_0.2_0.1_0.1_0_7B", false));
    EXPECT_EXIT(r.m->Tabu(0, kAlg, kDiscrim), testing::ExitedWithCode(1), "");

    std::ifstream in("sim_results.csv");
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    std::vector<std::string>* fields = splitString(line, ",");
    ASSERT_NE(fields, nullptr);
    // discrim, name, ten name fields and one character, four graph sizes, 2 x 24 figures.
    ASSERT_EQ(fields->size(), 65u);
    EXPECT_EQ((*fields)[0], "80");
    EXPECT_EQ((*fields)[2], "8");
    EXPECT_EQ((*fields)[11], "0");
    EXPECT_EQ((*fields)[12], "7");
    EXPECT_EQ((*fields)[13], "8");
    EXPECT_EQ((*fields)[15], "11");
    delete fields;
    EXPECT_FALSE(std::getline(in, line));
}

TEST(TabuSearch, AMoveThatNoLongerFitsAddsNothingToTheRunningCost) {
    ScratchFolder scratch("stale_move");
    SearchRun run(shop("a", true), shop("b", true));
    Match& m = *run.m;
    // Clear the seeds, then match 1-1 and 2-2: the pair (1, 2) now joins two nodes that are
    // both matched elsewhere, a move with nothing to do.
    for (int x = 0; x < m.order(true); x++)
        m.M12[x] = Match::kNoPartner;
    for (int y = 0; y < m.order(false); y++)
        m.M21[y] = Match::kNoPartner;
    m.M12[1] = 1;
    m.M21[1] = 1;
    m.M12[2] = 2;
    m.M21[2] = 2;
    cell stale{};
    stale.x = 1;
    stale.y = 2;
    stale.delta = -75;
    EXPECT_EQ(playedDelta(m, stale), 0.0);
    cell open{};
    open.x = 3;
    open.y = 3;
    open.delta = -75;
    EXPECT_EQ(playedDelta(m, open), -75.0);
}
