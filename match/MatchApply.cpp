// Applying a move: matching or separating two vertices, growing or shrinking a matched block,
// with the tabu marks that keep the changed pairs still for a while.
#include <algorithm>
#include <iostream>
#include <set>
#include <vector>

#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Random.h"

namespace {

/// Printed when the chosen move changes nothing.
const char* const kNonValidMove = "\n ----------------------- NON-VALID --------------- \n";

/// Tenure of a pair just separated: 5 to 19 iterations; of a pair just matched: 5 to 9.
constexpr int kTenureBase = 5;
constexpr int kTenureInSpread = 15;
constexpr int kTenureOutSpread = 5;

/// Draws both tenures anew, separation first.
void drawTenures(Match& m) {
    m.tabu_in = randDraw() % kTenureInSpread + kTenureBase;
    m.tabu_out = randDraw() % kTenureOutSpread + kTenureBase;
}

/// Forbids the cell for `tenure` iterations, files it in the ring slot where that tenure runs
/// out, and takes it out of the index.
void holdCell(Match& m, cell& c, int tenure) {
    c.tabu = m.iterations + tenure;
    const int slot = (m.i_parser + tenure - 1) % Match::kTabuSlots;
    m.tabu_i[slot][0].push_back(&c);
    m.ff->remove(&c);
}

/// Takes out of the index every pair between {a} with a's members on the first side and {b}
/// with b's members on the second.
void dropPairs(Match& m, int a, int b) {
    std::vector<int> firsts{a};
    if (Vertex* va = m.getVertex1(a))
        for (int n : MoveContext::membersOf(va))
            firsts.push_back(n);
    std::vector<int> seconds{b};
    if (Vertex* vb = m.getVertex2(b))
        for (int n : MoveContext::membersOf(vb))
            seconds.push_back(n);
    for (int f : firsts)
        for (int s : seconds)
            m.removeFromFF(f, s);
}

/// After u (number p) and w (number q) were matched: moves that pair either of them with a
/// node matched elsewhere can no longer be valid, so they leave the index.
void dropMovesAgainstOtherPairs(Match& m, int p, int q) {
    std::set<int> done;
    for (int y = 0; y < m.order(false); y++) {
        if (m.relevant2 != nullptr && !m.relevant2[y]) continue;
        if (m.M21[y] == Match::kNoPartner) continue;
        const int block = m.getBlock(y, false);
        if (block == q && m.M21[y] == p) continue;
        if (done.insert(block).second) dropPairs(m, p, block);
    }
    done.clear();
    for (int x = 0; x < m.order(true); x++) {
        if (m.relevant1 != nullptr && !m.relevant1[x]) continue;
        if (m.M12[x] == Match::kNoPartner) continue;
        const int block = m.getBlock(x, true);
        if (block == p && m.M12[x] == q) continue;
        if (done.insert(block).second) dropPairs(m, block, q);
    }
}

/// Before a block pair is separated: the moves that name the block leave the index.
void dropBlockMoves(Match& m, int p, int q) {
    if (p >= m.order(true))
        for (int y = 0; y < m.order(false); y++) {
            if (m.relevant2 != nullptr && !m.relevant2[y]) continue;
            m.removeFromFF(p, y);
            m.removeFromFF(p, m.getBlock(y, false));
        }
    if (q >= m.order(false))
        for (int x = 0; x < m.order(true); x++) {
            if (m.relevant1 != nullptr && !m.relevant1[x]) continue;
            m.removeFromFF(x, q);
            m.removeFromFF(m.getBlock(x, true), q);
        }
}

/// Block edges between two blocks are registered when one of them is built or evaluated;
/// registering the edges of a newly matched block against the blocks now in use guarantees
/// that the whole-solution cost finds every edge between two current blocks.
void registerAgainstCurrentBlocks(Match& m, Vertex* v1, Vertex* v2) {
    delete m.getVEdges1(v1);
    delete m.getVEdges2(v2);
}

void printBlockChange(const char* what, const Vertex* u, const Vertex* w) {
    std::cout << "\n\n ************* " << what << ":" << u->number << "[" << u->label
              << "] =====>> " << w->number << "[" << w->label << "]\n\n";
}

} // namespace

void Match::updateState(Vertex* v1, Vertex* v2, bool add) {
    if (v1 == nullptr || v2 == nullptr || M == nullptr || ff == nullptr) return;
    drawTenures(*this);
    const int p = v1->number;
    const int q = v2->number;
    const std::set<int> members1 = MoveContext::membersOf(v1);
    const std::set<int> members2 = MoveContext::membersOf(v2);
    const int pairs = static_cast<int>(std::min(members1.size(), members2.size()));
    const bool isBlockPair = p >= order(true) || q >= order(false);
    const bool sameLabel = v1->label == v2->label;

    if (add) {
        cell& c = MoveContext::moveCell(*this, p, q);
        if (isBlockPair) printBlockChange("MERGE OCCURRED", v1, v2);
        for (int n : members1) {
            if (n < 0 || n >= order(true)) continue;
            M12[n] = q;
            blocks1[n] = p;
        }
        for (int n : members2) {
            if (n < 0 || n >= order(false)) continue;
            M21[n] = p;
            blocks2[n] = q;
        }
        numberOfMatchs += pairs;
        if (isBlockPair) registerAgainstCurrentBlocks(*this, v1, v2);
        holdCell(*this, c, tabu_out);
        if (sameLabel) good += pairs;
        dropMovesAgainstOtherPairs(*this, p, q);
        return;
    }

    if (isBlockPair) printBlockChange("MERGE EXPLODED", v1, v2);
    dropBlockMoves(*this, p, q);
    for (int n : members1) {
        if (n < 0 || n >= order(true)) continue;
        M12[n] = kNoPartner;
        blocks1[n] = n;
    }
    for (int n : members2) {
        if (n < 0 || n >= order(false)) continue;
        M21[n] = kNoPartner;
        blocks2[n] = n;
    }
    numberOfMatchs -= pairs;
    holdCell(*this, MoveContext::moveCell(*this, p, q), tabu_in);
    if (sameLabel) good -= pairs;
}

void Match::enactMove() {
    if (chosenCell == nullptr || M == nullptr || ff == nullptr) return;
    const int i = chosenCell->x;
    const int j = chosenCell->y;
    MoveContext mv(*this, i, j);
    drawTenures(*this);

    delete concerned1;
    delete concerned2;
    concerned1 = new std::set<int>(mv.involved1());
    concerned2 = new std::set<int>(mv.involved2());
    mv.isolate(*this);

    switch (mv.kind) {
    case MoveContext::Kind::Add:
        updateState(getVertex1(i), getVertex2(j), true);
        break;
    case MoveContext::Kind::Remove:
        updateState(getVertex1(i), getVertex2(j), false);
        break;
    case MoveContext::Kind::GrowSecond:
        holdCell(*this, MoveContext::moveCell(*this, i, j), tabu_out);
        updateState(mv.bx, mv.qxv, false);
        updateState(mv.bx, updateBlock(mv.qxv, j, false, true), true);
        break;
    case MoveContext::Kind::GrowFirst:
        holdCell(*this, MoveContext::moveCell(*this, i, j), tabu_out);
        updateState(mv.qyv, mv.by, false);
        updateState(updateBlock(mv.qyv, i, true, true), mv.by, true);
        break;
    case MoveContext::Kind::ShrinkFirst:
        holdCell(*this, MoveContext::moveCell(*this, i, j), tabu_in);
        updateState(mv.bx, mv.qxv, false);
        updateState(updateBlock(mv.bx, i, true, false), mv.qxv, true);
        break;
    case MoveContext::Kind::ShrinkSecond:
        holdCell(*this, MoveContext::moveCell(*this, i, j), tabu_in);
        updateState(mv.qyv, mv.by, false);
        updateState(mv.qyv, updateBlock(mv.by, j, false, false), true);
        break;
    case MoveContext::Kind::RemoveBlocks:
        updateState(mv.bx, mv.by, false);
        break;
    case MoveContext::Kind::None:
        // The matching may not change: the entries unset above go back as they were. The
        // move cannot be played as it stands, so it leaves the index rather than be chosen
        // again while nothing around it changes.
        std::cout << kNonValidMove;
        mv.restore(*this);
        removeFromFF(i, j);
        break;
    }
}
