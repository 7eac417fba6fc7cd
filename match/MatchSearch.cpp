// The tabu search: from the chosen start, play the best move of the index again and again,
// keep the best matching seen, stop once it has stagnated, then restore, price and write it.
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "match/SearchHook.h"
#include "match/SearchSupport.h"
#include "util/Clock.h"
#include "util/Console.h"

namespace {

/// Stagnation limit: this share of the larger graph's order, kept within the bounds below.
constexpr double kStagnationShare = 0.1;
constexpr int kMinStagnation = 10;
constexpr int kMaxStagnation = 100;
constexpr int kIntensifyLength = 10;

std::function<void(Match&)>& iterationHook() {
    static std::function<void(Match&)> hook;
    return hook;
}

bool pointsIntoMoveTable(const Match& m, const cell* c) {
    if (m.M == nullptr || c == nullptr || c->x < 0 || c->y < 0) return false;
    const auto x = static_cast<unsigned>(c->x);
    const auto y = static_cast<unsigned>(c->y);
    return m.M->exists(x, y) && &(*m.M)(x, y) == c;
}

std::string labelOf(Match& m, int number, bool left) {
    const Vertex* v = m.getVertex(number, left);
    return v != nullptr ? v->label : std::string();
}

/// Copies the current matching and blocks of one side into (or, with `restore`, out of)
/// the best-solution arrays.
void copyBest(Match& m, bool left, bool restore) {
    int* current = left ? m.M12 : m.M21;
    int* best = left ? m.bestMatch : m.bestMatch2;
    int* bestBlocks = left ? m.bestBlock : m.bestBlock2;
    std::vector<int>& blocks = left ? m.blocks1 : m.blocks2;
    for (int n = 0; n < m.order(left); n++) {
        if (restore) {
            current[n] = best[n];
            blocks[n] = bestBlocks[n];
        } else {
            best[n] = current[n];
            bestBlocks[n] = blocks[n];
        }
    }
    // A block that holds nodes again needs its own edges back.
    if (restore)
        for (int n = 0; n < m.order(left); n++)
            if (blocks[n] != n) m.getVertex(blocks[n], left);
}

/// Keeps the best-solution arrays in step with the current matching at every improvement
/// without copying whole arrays: a move changes the partners and blocks of the nodes it
/// involves only (concerned1 and concerned2), so the nodes changed since the last copy are
/// collected and only they are copied. The first copy of a search is a whole one, since
/// the start is not tracked.
class BestRecord {
public:
    explicit BestRecord(Match& m)
        : changed1_(static_cast<size_t>(m.order(true)), false),
          changed2_(static_cast<size_t>(m.order(false)), false) {}

    /// Notes the nodes the move just played may have changed.
    void noteMove(const Match& m) {
        note(m.concerned1, changed1_, list1_);
        note(m.concerned2, changed2_, list2_);
    }

    /// Makes the best-solution arrays equal to the current matching.
    void record(Match& m) {
        if (!copiedOnce_) {
            copyBest(m, true, false);
            copyBest(m, false, false);
            copiedOnce_ = true;
        } else {
            copyChanged(m, true, list1_);
            copyChanged(m, false, list2_);
        }
        clear(changed1_, list1_);
        clear(changed2_, list2_);
    }

private:
    std::vector<bool> changed1_, changed2_;
    std::vector<int> list1_, list2_;
    bool copiedOnce_ = false;

    static void note(const std::set<int>* nodes, std::vector<bool>& changed,
                     std::vector<int>& list) {
        if (nodes == nullptr) return;
        for (int n : *nodes) {
            if (n < 0 || static_cast<size_t>(n) >= changed.size() || changed[n]) continue;
            changed[n] = true;
            list.push_back(n);
        }
    }

    static void copyChanged(Match& m, bool left, const std::vector<int>& list) {
        const int* current = left ? m.M12 : m.M21;
        int* best = left ? m.bestMatch : m.bestMatch2;
        int* bestBlocks = left ? m.bestBlock : m.bestBlock2;
        for (int n : list) {
            best[n] = current[n];
            bestBlocks[n] = m.getBlock(n, left);
        }
    }

    static void clear(std::vector<bool>& changed, std::vector<int>& list) {
        for (int n : list)
            changed[n] = false;
        list.clear();
    }
};

} // namespace

void setSearchIterationHook(std::function<void(Match&)> hook) {
    iterationHook() = std::move(hook);
}

void resetChosenCell(Match& m) {
    if (m.chosenCell != nullptr && !pointsIntoMoveTable(m, m.chosenCell)) delete m.chosenCell;
    m.chosenCell = new cell{};
    m.chosenCell->x = m.chosenCell->y = -1;
    m.chosenCell->layer = -1;
}

int agreeingWithReference(const Match& m) {
    if (m.kbt == nullptr || m.M12 == nullptr) return 0;
    int agreeing = 0;
    for (int x = 0; x < m.order(true); x++)
        if (m.M12[x] != Match::kNoPartner && m.M12[x] == m.kbt[x]) agreeing++;
    return agreeing;
}

void Match::findMatch() {
    if (ff == nullptr || ff->nbCandidates <= 0) return;
    const long start = cpuMillis();
    cell* chosen = ff->find();
    find_time += static_cast<double>(cpuMillis() - start);
    if (chosen == nullptr) return;
    if (chosenCell != nullptr && !pointsIntoMoveTable(*this, chosenCell)) delete chosenCell;
    chosenCell = chosen;
}

namespace {

/// Steps 1 to 3 of the search: counters, tenures of the stagnation rule.
void prepareSearch(Match& m, double init) {
    m.initType = init;
    m.bestCost = m.currentCost;
    m.lastBestCost = 0;
    resetChosenCell(m);
    console() << "\nInit ...\n\n";
    m.intensify_length = kIntensifyLength;
    m.intensify = 0;
    m.diversify_length = 0;
    m.diversify = 0;
    m.stagnation_length = static_cast<int>(std::ceil(kStagnationShare * m.max_vertices));
    m.stagnation_length = std::max(kMinStagnation, std::min(kMaxStagnation, m.stagnation_length));
    m.stagnation = 0;
    m.recomputeAll = false;
    m.iterations = 0;
    console() << "\n\n STAGNATION = " << m.stagnation_length;
    m.bestIterations = -1;
}

/// The two progress lines of one iteration.
void printProgress(Match& m, double delta, double loopStart) {
    const int x = m.chosenCell->x;
    const int y = m.chosenCell->y;
    Vertex* vx = m.getVertex1(x);
    Vertex* vy = m.getVertex2(y);
    double substitution = 0;
    if (vx != nullptr && vy != nullptr)
        substitution = m.costs->raw_cns(m.cost_mode, vx, vy,
                                        static_cast<float>(m.intSim(m.cost_mode, vx, vy)));
    console() << m.bestCost << "--> " << m.stagnation << "/>" << m.good << " on "
              << m.numberOfMatchs << "< (" << m.oldMatch1 << "," << m.oldMatch2 << ") = > [(" << x
              << ")" << labelOf(m, x, true) << ", " << labelOf(m, y, false) << "(" << y
              << ")] : " << delta << "(" << m.currentCost << ") " << substitution << ","
              << cpuSeconds() - loopStart << "s \n";
    const long long matched = m.numberOfMatchs;
    const long long possible =
        (m.order(false) - matched + 1) * (m.order(true) - matched + 1) + matched - 1;
    const FastFind* ff = m.ff;
    console() << m.stagnation << "\t\t\t FF Content : " << ff->nbCandidates << " / " << possible
              << " -----  bestLayer : " << ff->bestLayer << "(" << ff->layers[ff->bestLayer].size()
              << ") secondBest : " << ff->secondBest << "(" << ff->layers[ff->secondBest].size()
              << ") Seuil : " << ff->insert_threshold << " \n";
}

} // namespace

double playedDelta(Match& m, const cell& chosen) {
    const MoveContext move(m, chosen.x, chosen.y);
    return move.kind == MoveContext::Kind::None ? 0.0 : chosen.delta;
}

namespace {

/// Plays one move; returns false when no move is left.
bool playIteration(Match& m, double loopStart, BestRecord& best) {
    if (m.max_vertices > 0 && m.stagnation % m.max_vertices == 0)
        m.diversify = static_cast<int>(m.numberOfMatchs * m.diversify_length);
    if (m.ff->nbCandidates <= 0) return false;
    m.findMatch();
    cell* chosen = m.chosenCell;
    // find() leaves its choice indexed; an unindexed choice means the index gave nothing.
    if (chosen == nullptr || chosen->layer < 0) return false;

    const double delta = playedDelta(m, *chosen);
    if (m.iterations < chosen->tabu)
        console() << "\n\n\n\t\t\t\t[[[[" << m.currentCost << " / " << chosen->x << "["
                  << labelOf(m, chosen->x, true) << "] / " << chosen->y << "["
                  << labelOf(m, chosen->y, false) << "] / " << chosen->tabu << "/" << m.iterations
                  << "]]]]\n\n\n";
    m.oldMatch1 = m.getM21(chosen->y);
    m.oldMatch2 = m.getM12(chosen->x);
    m.enactMove();
    best.noteMove(m);
    m.currentCost += delta;

    if (m.bestCost > m.currentCost) {
        m.stagnation = 0;
        m.bestCost = m.currentCost;
        m.lastBestCost = m.bestIterations = m.iterations;
        m.numberOfGoodMatchs = m.good;
        best.record(m);
    } else {
        m.stagnation += 1;
    }
    printProgress(m, delta, loopStart);
    return true;
}

/// Steps 7 to 9 of an iteration: counters, re-evaluation, the tabu ring. Returns whether the
/// search goes on.
bool closeIteration(Match& m) {
    if (m.intensify < 1 && m.stagnation == m.stagnation_length) m.intensify = m.intensify_length;
    m.intensify -= 1;
    m.iterations += 1;
    m.diversify -= 1;
    if (iterationHook()) iterationHook()(m);
    const bool goOn = m.stagnation < m.stagnation_length;
    if (goOn) m.updateDeltaMatrix();
    m.tabu_i[m.i_parser][0].clear();
    m.i_parser = (m.i_parser + 1) % Match::kTabuSlots;
    return goOn;
}

void runLoop(Match& m) {
    const double loopStart = cpuSeconds();
    BestRecord best(m);
    while (playIteration(m, loopStart, best) && closeIteration(m)) {
    }
}

void printMemoryStats(Match& m) {
    console() << "END1. \n";
    console() << "\n Memory stats: \t M --> [" << m.M->rows() << "," << m.M->count()
              << "] \t _M --> [" << m._M->rows() << "," << m._M->count() << "] \t _N --> ["
              << m._N->rows() << "," << m._N->count() << "]\n";
}

/// Step 8: the best solution becomes the current one.
void restoreBest(Match& m) {
    copyBest(m, true, true);
    copyBest(m, false, true);
    m.numberOfMatchs = 0;
    for (int x = 0; x < m.order(true); x++)
        if (m.M12[x] != Match::kNoPartner) m.numberOfMatchs++;
    m.nb_matched = m.nb_matched_isolated = m.nb_unmatched_isolated = 0;
    m.numberOfGoodMatchs = m.initType != 1 ? agreeingWithReference(m) : 0;
    console() << "\n"
              << m.numberOfMatchs << "\tSame Name : " << m.nb_matched << "("
              << m.nb_matched_isolated << ")"
              << "\tOthers : " << (m.numberOfMatchs - m.nb_matched) << "("
              << m.nb_unmatched_isolated << ")"
              << "\n";
}

/// Step 9: the restored matching is priced from scratch.
void priceFinal(Match& m) {
    m.matchedEdges = m.perfectMatchedEdges = 0;
    const double c = m.cost(m.cost_mode);
    console() << "\nMatch -- Cost=" << m.bestCost << "**" << c << "(" << m.cost_mode << ") ["
              << (m.g1->edges + m.g2->edges + 2 * c) << "]\n";
    m.bestCost = m.currentCost = c;
}

/// Step 10: the reference matching replaces the result, when one was read. It is a plain
/// one-to-one matching, so blocks are dissolved and a second reference pair to an already
/// taken node is dropped.
void replaceByReference(Match& m) {
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    // Without a reference (no benchmark file was found) there is nothing to report instead
    // of the search's own result.
    bool referenceRead = false;
    for (int x = 0; m.kbt != nullptr && x < n1 && !referenceRead; x++)
        referenceRead = m.kbt[x] != Match::kNoPartner;
    if (!referenceRead) {
        console() << "\n No reference pairs were read: the matching found is kept\n";
        return;
    }
    for (int x = 0; x < n1; x++) {
        m.M12[x] = Match::kNoPartner;
        m.blocks1[x] = x;
    }
    for (int y = 0; y < n2; y++) {
        m.M21[y] = Match::kNoPartner;
        m.blocks2[y] = y;
    }
    const double nodeError = m.costs->node_error;
    for (int x = 0; m.kbt != nullptr && x < n1; x++) {
        const int y = m.kbt[x];
        if (y < 0 || y >= n2 || m.M21[y] != Match::kNoPartner) continue;
        if (nodeError >= 1000 &&
            m.g1->V[static_cast<size_t>(x)]->label != m.g2->V[static_cast<size_t>(y)]->label)
            continue;
        m.M12[x] = y;
        m.M21[y] = x;
    }
    m.upperBound = m.cost(m.cost_mode);
    console() << "\n*****" << (m.g1->edges + m.g2->edges + 2 * m.upperBound) << "*****\n";
}

} // namespace

void Match::Tabu(double _init, int alg, int discrim) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr || ff == nullptr || M12 == nullptr) {
        console() << "\n Tabu: the matcher has no graphs or no cost model; nothing to search\n";
        return;
    }
    prepareSearch(*this, _init);

    const long start = cpuMillis();
    initGammaMatrix_v2(alg, discrim);
    init_time = static_cast<double>(cpuMillis() - start);
    update_time = find_time = comp_time = 0;
    good = nb_matched;
    console() << "\n\n NBMATCHES = " << numberOfMatchs << "\n";

    // A fractional start is a seeded greedy matching that is reported without searching.
    const bool fractionalStart = _init > 0 && _init < 1;
    if (!fractionalStart) runLoop(*this);
    printMemoryStats(*this);
    restoreBest(*this);
    priceFinal(*this);
    if (_init != 1) replaceByReference(*this);
    console() << "\n COMPUTE SIM: " << _computeSim << " / " << computeSim;
    output(cost_mode);
}
