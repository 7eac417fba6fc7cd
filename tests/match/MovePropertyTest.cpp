// The cost change of every move, computed locally, against the whole cost recomputed before and
// after playing it, on seeded random diagram pairs and random matchings; and a short search
// whose running cost must stay equal to the cost of its current matching.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cost/Cost.h"
#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "tests/match/MoveTestSupport.h"
#include "util/Random.h"

namespace {

using Kind = MoveContext::Kind;

/// Iterations added before a validity check so that no earlier tabu mark blocks a move.
constexpr int kForgetTabu = 1000;

/// cost() rounds each node substitution to single precision, the local change does not: allow
/// that rounding (relative 2^-23 of the costs involved) and nothing more.
double tolerance(double before, double after) {
    return 1e-6 + 2.4e-7 * (std::fabs(before) + std::fabs(after));
}

/// Vertex numbers a move may name on one side: every plain node and every block now in use.
std::vector<int> moveNumbers(Match& m, bool left) {
    std::set<int> numbers;
    for (int n = 0; n < m.order(left); n++) {
        numbers.insert(n);
        numbers.insert(m.getBlock(n, left));
    }
    return {numbers.begin(), numbers.end()};
}

/// Every member of a block carries the block and the same partner, and partners point back.
void expectConsistent(Match& m) {
    for (int x = 0; x < m.order(true); x++) {
        const int block = m.getBlock(x, true);
        Vertex* b = m.getVertex1(block);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->nodes->count(x)) << "node " << x << " not in its block " << block;
        EXPECT_EQ(m.getM12(block), m.M12[x]);
        if (m.M12[x] == Match::kNoPartner) continue;
        Vertex* partner = m.getVertex2(m.M12[x]);
        ASSERT_NE(partner, nullptr);
        for (int y : *partner->nodes) {
            EXPECT_EQ(m.M21[y], block);
            EXPECT_EQ(m.getBlock(y, false), m.M12[x]);
        }
    }
}

/// Opens most plain pairs as moves, leaving about one in ten closed.
void openMoves(Match& m, std::mt19937& rng) {
    for (int x = 0; x < m.order(true); x++)
        for (int y = 0; y < m.order(false); y++)
            m.updateMoves(x, y, rng() % 10 != 0);
}

/// A matching of random plain pairs, as a start would leave it.
void seedPlainMatching(Match& m, std::mt19937& rng) {
    for (int x = 0; x < m.order(true); x++) {
        const int y = static_cast<int>(rng() % static_cast<unsigned>(m.order(false)));
        if (rng() % 2 == 0 || m.M21[y] != Match::kNoPartner) continue;
        m.M12[x] = y;
        m.M21[y] = x;
        m.numberOfMatchs++;
    }
}

std::vector<std::pair<int, int>> validMoves(Match& m) {
    m.iterations += kForgetTabu;
    std::vector<std::pair<int, int>> valid;
    for (int i : moveNumbers(m, true))
        for (int j : moveNumbers(m, false))
            if (m.isValidMove(i, j)) valid.push_back({i, j});
    return valid;
}

void play(Match& m, int i, int j) {
    m.chosenCell = &MoveContext::moveCell(m, i, j);
    m.enactMove();
}

/// Counts of the move kinds checked, all moves and valid ones.
struct Coverage {
    std::map<Kind, int> all;
    std::map<Kind, int> valid;
};

/// Checks every move of the current matching, then leaves the matching as it found it.
void checkEveryMove(Match& m, Coverage& coverage, const std::string& where) {
    const std::vector<std::pair<int, int>> validList = validMoves(m);
    const std::set<std::pair<int, int>> valid(validList.begin(), validList.end());
    const MatchingSnapshot start(m);
    for (int i : moveNumbers(m, true)) {
        for (int j : moveNumbers(m, false)) {
            const Kind kind = MoveContext(m, i, j).kind;
            const double before = m.costFigures(kClassDiagramCosts).total;
            const double delta = m.computeDelta(kClassDiagramCosts, i, j);
            ASSERT_TRUE(MatchingSnapshot(m) == start) << where << " move (" << i << "," << j << ")";
            if (kind == Kind::None) {
                EXPECT_EQ(delta, 0);
                continue;
            }
            coverage.all[kind]++;
            if (valid.count({i, j})) coverage.valid[kind]++;
            play(m, i, j);
            expectConsistent(m);
            const double after = m.costFigures(kClassDiagramCosts).total;
            EXPECT_NEAR(after - before, delta, tolerance(before, after))
                << where << " move (" << i << "," << j << ") of kind " << static_cast<int>(kind);
            start.restore(m);
        }
    }
}

} // namespace

TEST(MoveCostChange, EqualsTheChangeOfTheWholeCostForEveryMove) {
    QuietOutput quiet;
    std::mt19937 rng(20240611);
    Coverage coverage;
    for (int round = 0; round < 40; round++) {
        seedRandom(static_cast<unsigned>(round + 1));
        const std::string tag = std::to_string(round);
        auto g1 = randomDiagram(rng, "prop_first_" + tag, 4 + static_cast<int>(rng() % 5),
                                5 + static_cast<int>(rng() % 10));
        auto g2 = randomDiagram(rng, "prop_second_" + tag, 4 + static_cast<int>(rng() % 5),
                                5 + static_cast<int>(rng() % 10));
        auto cost = unevenCost();
        Match m(g1.get(), g2.get(), cost.get(), round, kClassDiagramCosts);
        openMoves(m, rng);
        if (round % 2 == 1) seedPlainMatching(m, rng);
        for (int step = 0; step < 8; step++) {
            checkEveryMove(m, coverage, "round " + tag + " step " + std::to_string(step));
            if (HasFailure()) return;
            const auto moves = validMoves(m);
            if (moves.empty()) break;
            const auto& chosen = moves[rng() % moves.size()];
            play(m, chosen.first, chosen.second);
        }
    }
    for (Kind kind : {Kind::Add, Kind::Remove, Kind::GrowSecond, Kind::GrowFirst, Kind::ShrinkFirst,
                      Kind::ShrinkSecond, Kind::RemoveBlocks})
        EXPECT_GT(coverage.all[kind], 0) << "kind " << static_cast<int>(kind) << " never checked";
    // Shrink moves are never valid: a plain node in a block is not its block's partner.
    for (Kind kind :
         {Kind::Add, Kind::Remove, Kind::GrowSecond, Kind::GrowFirst, Kind::RemoveBlocks})
        EXPECT_GT(coverage.valid[kind], 0) << "no valid move of kind " << static_cast<int>(kind);
    EXPECT_EQ(coverage.valid[Kind::ShrinkFirst] + coverage.valid[Kind::ShrinkSecond], 0);
}

TEST(MoveCostChange, RunningCostOfAShortSearchFollowsTheMatching) {
    QuietOutput quiet;
    std::mt19937 rng(77);
    for (int round = 0; round < 20; round++) {
        seedRandom(static_cast<unsigned>(100 + round));
        const std::string tag = std::to_string(round);
        auto g1 = randomDiagram(rng, "search_first_" + tag, 8 + static_cast<int>(rng() % 8),
                                14 + static_cast<int>(rng() % 16));
        auto g2 = randomDiagram(rng, "search_second_" + tag, 8 + static_cast<int>(rng() % 8),
                                14 + static_cast<int>(rng() % 16));
        auto cost = unevenCost();
        Match m(g1.get(), g2.get(), cost.get(), round, kClassDiagramCosts);
        openMoves(m, rng);

        // Every valid pair priced and filed, as the search's start does.
        for (int x = 0; x < m.order(true); x++)
            for (int y = 0; y < m.order(false); y++) {
                if (!m.isValidMove(x, y)) continue;
                cell& c = MoveContext::moveCell(m, x, y);
                c.tabu = 0;
                c.delta = m.computeDelta(kClassDiagramCosts, x, y);
                c.delta_m = -c.delta;
                m.ff->insert(&c, false);
            }
        double running = m.costFigures(kClassDiagramCosts).total;
        for (int it = 0; it < 100 && m.ff->nbCandidates > 0; it++) {
            cell* chosen = m.ff->find();
            ASSERT_NE(chosen, nullptr);
            m.chosenCell = chosen;
            // The re-evaluation after each move keeps the cell of every move it may affect
            // exact, so the move played is priced for the current matching.
            ASSERT_NEAR(m.computeDelta(kClassDiagramCosts, chosen->x, chosen->y), chosen->delta,
                        1e-6)
                << "stale move (" << chosen->x << "," << chosen->y << ") in round " << round
                << " iteration " << it;
            running += chosen->delta;
            m.enactMove();
            const double actual = m.costFigures(kClassDiagramCosts).total;
            ASSERT_NEAR(running, actual, tolerance(running, actual) * (it + 1))
                << "round " << round << " iteration " << it << " move (" << chosen->x << ","
                << chosen->y << ")";
            m.iterations++;
            m.updateDeltaMatrix();
            m.tabu_i[m.i_parser][0].clear();
            m.i_parser = (m.i_parser + 1) % Match::kTabuSlots;
        }
    }
}
