// The effort setting: each search of a -k run is exactly the plain run of its seed, and the
// files kept are those of the plain run of the cheapest seed.
#include "driver/EffortRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "driver/MatchRun.h"
#include "graph/Kinds.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "util/Console.h"

namespace fs = std::filesystem;

namespace {

/// A generated 20-node pair (5 node labels, 3 arc labels, agreement 0.9) on which seeds 1 to
/// 4 end at different costs.
MatchSettings randomPairSettings() {
    MatchSettings s;
    s.graph1 = testData("mode0_random20_a.csv");
    s.graph2 = testData("mode0_random20_b.csv");
    s.graph_type = kNodeListMode;
    s.dwn = s.dwe = s.ew = s.asy = 1;
    return s;
}

/// Every file under ./results/ by name, with its content.
std::map<std::string, std::string> resultFiles() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator("results"))
        files[entry.path().filename().string()] = readText(entry.path().string());
    return files;
}

/// A plain run with `seed` in a folder of its own: its cost and result files.
double plainRun(int seed, std::map<std::string, std::string>* files = nullptr) {
    ScratchFolder dir("effort-plain-" + std::to_string(seed));
    MatchSettings s = randomPairSettings();
    s.seed = seed;
    RunTarget target;
    std::ostringstream out;
    const int rc = runMatch(s, out, &target);
    EXPECT_EQ(rc, 0);
    if (files != nullptr) *files = resultFiles();
    return target.bestCost;
}

} // namespace

TEST(EffortRun, EachSearchIsThePlainRunOfItsSeedAndTheCheapestIsKept) {
    ScratchFolder dir("effort-k4");
    MatchSettings s = randomPairSettings();
    s.effort = 4;
    std::ostringstream out, err;
    ConsoleCapture quiet;
    const EffortOutcome o = runEffort(s, out, err);
    ASSERT_EQ(o.exitCode, 0) << err.str();
    ASSERT_EQ(o.searches.size(), 4u);

    int cheapest = -1;
    double least = 0;
    for (const SeedOutcome& search : o.searches) {
        ASSERT_TRUE(search.finished);
        EXPECT_EQ(search.cost, plainRun(search.seed)) << "seed " << search.seed;
        if (cheapest < 0 || search.cost < least) {
            cheapest = search.seed;
            least = search.cost;
        }
    }
    EXPECT_EQ(o.bestSeed, cheapest);
    EXPECT_NE(cheapest, 1) << "the pair should make a later seed win";
    std::map<std::string, std::string> expected;
    plainRun(cheapest, &expected);
    EXPECT_EQ(resultFiles(), expected);
    EXPECT_NE(out.str().find("\n\n\nMatching Cost : "), std::string::npos);
    EXPECT_NE(out.str().find(", best seed " + std::to_string(cheapest) + "\n"), std::string::npos);
}

TEST(EffortRun, OutOfRangeCountsAreRefusedAndNonSearchRunsRunOnce) {
    ScratchFolder dir("effort-edges");
    std::ostringstream out, err;
    EXPECT_EQ(parseMatchArguments({"-o", "a", "-n", "b", "-k", "4"}, out, err).settings.effort, 4);
    EXPECT_EQ(parseMatchArguments({"-o", "a", "-n", "b"}, out, err).settings.effort, 1);

    MatchSettings s = randomPairSettings();
    for (int k : {0, -3, kMaxEffort + 1}) {
        s.effort = k;
        EXPECT_EQ(runEffort(s, out, err).exitCode, 1) << k;
    }
    EXPECT_NE(err.str().find("-k takes a number of searches from 1 to"), std::string::npos);

    s.effort = 3;
    s.umldiff = 1;
    const EffortOutcome diff = runEffort(s, out, err);
    EXPECT_TRUE(diff.searches.empty());
    EXPECT_NE(out.str().find("-k applies to the tabu search only"), std::string::npos);
}
