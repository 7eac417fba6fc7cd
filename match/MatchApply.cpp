// Applying a move: matching or separating two vertices, growing or shrinking a matched block,
// with the tabu marks that keep the changed pairs still for a while.
#include <algorithm>
#include <set>
#include <vector>

#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Console.h"
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

bool relevantNode(const Match& m, int n, bool left) {
    const bool* relevant = left ? m.relevant1 : m.relevant2;
    return relevant == nullptr || relevant[n];
}

/// Whether some relevant member of the current block `b` of one side is matched, and not to
/// `partner` if `b` is `self`: the blocks whose pairs with the other side's new pair can no
/// longer be valid. A node's block entry names a block only when the node is among its
/// members, so the members of b are the only nodes whose block entry can be b.
bool matchedElsewhere(Match& m, int b, bool left, int self, int partner) {
    Vertex* block = m.getVertex(b, left);
    if (block == nullptr) return false;
    const int* partners = left ? m.M12 : m.M21;
    const int n = m.order(left);
    for (int member : MoveContext::membersOf(block)) {
        if (member < 0 || member >= n || m.getBlock(member, left) != b) continue;
        if (!relevantNode(m, member, left) || partners[member] == Match::kNoPartner) continue;
        if (b == self && partners[member] == partner) continue;
        return true;
    }
    return false;
}

/// Takes out of the index the indexed moves of `number` (a row of the first side, or a column
/// of the second) whose other node passes `drop`.
template <typename Drop>
void dropIndexed(Match& m, int number, bool row, std::vector<cell*>& scratch, Drop drop) {
    const std::vector<cell*>& indexed =
        row ? m.ff->cellsInRow(number) : m.ff->cellsInColumn(number);
    scratch.assign(indexed.begin(), indexed.end());
    for (cell* c : scratch)
        if (drop(row ? c->y : c->x)) m.ff->remove(c);
}

/// After u (number p) and w (number q) were matched: moves that pair either of them (or a
/// member) with a node matched elsewhere (or with that node's block, or a member of it) can no
/// longer be valid, so they leave the index. Only the moves the index holds for p, q and their
/// members are looked at.
void dropMovesAgainstOtherPairs(Match& m, int p, int q) {
    std::vector<cell*> scratch;
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    // A number stands for its current block: a plain node through its block entry.
    auto blockOf = [&m](int number, int n, bool left) {
        return number < n ? m.getBlock(number, left) : number;
    };
    auto dropFromRow = [&](int f) {
        dropIndexed(m, f, true, scratch, [&](int s) {
            return s >= 0 && matchedElsewhere(m, blockOf(s, n2, false), false, q, p);
        });
    };
    auto dropFromColumn = [&](int g) {
        dropIndexed(m, g, false, scratch, [&](int r) {
            return r >= 0 && matchedElsewhere(m, blockOf(r, n1, true), true, p, q);
        });
    };
    dropFromRow(p);
    if (Vertex* u = m.getVertex1(p))
        for (int n : MoveContext::membersOf(u))
            if (n != p) dropFromRow(n);
    dropFromColumn(q);
    if (Vertex* w = m.getVertex2(q))
        for (int n : MoveContext::membersOf(w))
            if (n != q) dropFromColumn(n);
}

/// Whether a relevant node of one side has `b` as its block entry (b itself when plain).
bool holdsRelevant(Match& m, int b, bool left) {
    if (b < m.order(left)) return b >= 0 && relevantNode(m, b, left) && m.getBlock(b, left) == b;
    Vertex* block = m.getVertex(b, left);
    if (block == nullptr) return false;
    for (int member : MoveContext::membersOf(block))
        if (member >= 0 && member < m.order(left) && m.getBlock(member, left) == b &&
            relevantNode(m, member, left))
            return true;
    return false;
}

/// Before a block pair is separated: the moves that name the block leave the index, those
/// with a relevant node of the other side or with a block such a node is in.
void dropBlockMoves(Match& m, int p, int q) {
    std::vector<cell*> scratch;
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    if (p >= n1)
        dropIndexed(m, p, true, scratch, [&](int s) {
            return s >= 0 && ((s < n2 && relevantNode(m, s, false)) || holdsRelevant(m, s, false));
        });
    if (q >= n2)
        dropIndexed(m, q, false, scratch, [&](int r) {
            return r >= 0 && ((r < n1 && relevantNode(m, r, true)) || holdsRelevant(m, r, true));
        });
}

/// Block edges between two blocks are registered when one of them is built or evaluated;
/// registering the edges of a newly matched block against the blocks now in use guarantees
/// that the whole-solution cost finds every edge between two current blocks.
void registerAgainstCurrentBlocks(Match& m, Vertex* v1, Vertex* v2) {
    delete m.getVEdges1(v1);
    delete m.getVEdges2(v2);
}

void printBlockChange(const char* what, const Vertex* u, const Vertex* w) {
    console() << "\n\n ************* " << what << ":" << u->number << "[" << u->label
              << "] =====>> " << w->number << "[" << w->label << "]\n\n";
}

} // namespace

void Match::updateState(Vertex* v1, Vertex* v2, bool add) {
    if (v1 == nullptr || v2 == nullptr || M == nullptr || ff == nullptr) return;
    drawTenures(*this);
    const int p = v1->number;
    const int q = v2->number;
    const MemberView members1 = MoveContext::membersOf(v1);
    const MemberView members2 = MoveContext::membersOf(v2);
    const int pairs = static_cast<int>(std::min(members1.size(), members2.size()));
    const bool isBlockPair = p >= order(true) || q >= order(false);
    const bool sameLabel = v1->label == v2->label;

    if (add) {
        cell& c = MoveContext::moveCell(*this, p, q);
        if (isBlockPair) printBlockChange("MERGE OCCURRED", v1, v2);
        setMembers(v1, true, q);
        setMembers(v2, false, p);
        numberOfMatchs += pairs;
        if (isBlockPair) registerAgainstCurrentBlocks(*this, v1, v2);
        holdCell(*this, c, tabu_out);
        if (sameLabel) good += pairs;
        dropMovesAgainstOtherPairs(*this, p, q);
        return;
    }

    if (isBlockPair) printBlockChange("MERGE EXPLODED", v1, v2);
    dropBlockMoves(*this, p, q);
    setMembers(v1, true, kNoPartner);
    setMembers(v2, false, kNoPartner);
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
    concerned1 = new std::set<int>(mv.involved1().begin(), mv.involved1().end());
    concerned2 = new std::set<int>(mv.involved2().begin(), mv.involved2().end());
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
        console() << kNonValidMove;
        mv.restore(*this);
        removeFromFF(i, j);
        break;
    }
}
