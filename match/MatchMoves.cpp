// Moves of the tabu search: which pairs may be moved, which moves are valid, and the
// re-evaluation of the moves around the last one played and of the expiring tabu marks.
#include <algorithm>
#include <set>
#include <vector>

#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Clock.h"
#include "util/IntLists.h"

namespace {

/// Adds n to an ascending list without repeats, or takes it out.
void setListed(std::vector<std::vector<int>>& lists, size_t at, int n, bool listed) {
    if (at >= lists.size()) {
        if (!listed) return;
        lists.resize(at + 1);
    }
    std::vector<int>& list = lists[at];
    auto place = std::lower_bound(list.begin(), list.end(), n);
    const bool there = place != list.end() && *place == n;
    if (listed && !there) list.insert(place, n);
    if (!listed && there) list.erase(place);
}

const std::vector<int>& listAt(const std::vector<std::vector<int>>& lists, int at) {
    static const std::vector<int> none;
    if (at < 0 || static_cast<size_t>(at) >= lists.size()) return none;
    return lists[static_cast<size_t>(at)];
}

} // namespace

void Match::updateMoves(int x, int y, bool able) {
    if (move == nullptr || x < 0 || y < 0) return;
    (*move)(static_cast<unsigned>(x), static_cast<unsigned>(y)) = able;
    setListed(movableByColumn_, static_cast<size_t>(y), x, able);
    setListed(movableByRow_, static_cast<size_t>(x), y, able);
    // A pair that may not be matched is never filed (updateDeltaMatrix relies on it).
    if (!able) removeFromFF(x, y);
}

const std::vector<int>& Match::movableWith(int y) const {
    return listAt(movableByColumn_, y);
}

const std::vector<int>& Match::movableFrom(int x) const {
    return listAt(movableByRow_, x);
}

bool Match::movable(int x, int y) {
    const std::vector<int>& row = movableFrom(x);
    return std::binary_search(row.begin(), row.end(), y);
}

namespace {

/// Moves `next` past the entries of an ascending list below n, and says whether it then
/// stands on n.
bool standsOn(std::vector<int>::const_iterator& next, std::vector<int>::const_iterator end, int n) {
    while (next != end && *next < n)
        ++next;
    return next != end && *next == n;
}

/// Adds a vertex number and the numbers of its members.
void addWithMembers(Match& m, int number, bool left, std::vector<int>& into) {
    into.push_back(number);
    if (Vertex* v = m.getVertex(number, left))
        for (int n : MoveContext::membersOf(v))
            into.push_back(n);
}

/// The blocks of the touched nodes with their members, and the blocks of those members'
/// neighbours with their members; ascending, without repeats.
std::vector<int> aroundTouched(Match& m, const std::set<int>* touched, bool left) {
    std::vector<int> around;
    if (touched == nullptr) return around;
    const Graph* g = left ? m.g1 : m.g2;
    const int n = m.order(left);
    for (int node : *touched) {
        const int block = m.getBlock(node, left);
        addWithMembers(m, block, left, around);
        Vertex* v = m.getVertex(block, left);
        if (v == nullptr || g->neighbors == nullptr) continue;
        for (int member : MoveContext::membersOf(v)) {
            if (member < 0 || member >= n) continue;
            for (int neighbour : g->neighbors[member])
                addWithMembers(m, m.getBlock(neighbour, left), left, around);
        }
    }
    sortUnique(around);
    return around;
}

/// Nodes of the other side movable with some plain node of `nodes` (first-side nodes when
/// `left`), with the blocks that hold them: a move named by such a block is priced from the
/// same neighbourhoods as its members' moves.
void addMovableWith(Match& m, const std::vector<int>& nodes, bool left, std::vector<int>& into) {
    for (int node : nodes) {
        if (node >= m.order(left)) continue;
        for (int other : left ? m.movableFrom(node) : m.movableWith(node)) {
            into.push_back(other);
            into.push_back(m.getBlock(other, !left));
        }
    }
}

/// Prices the move (a, b) afresh and files it when it is valid; otherwise takes it out of the
/// index.
void reevaluate(Match& m, int a, int b) {
    if (!m.isValidMove(a, b)) {
        m.removeFromFF(a, b);
        return;
    }
    cell& c = MoveContext::moveCell(m, a, b);
    Vertex* va = m.getVertex1(a);
    Vertex* vb = m.getVertex2(b);
    m.storedLikeness(m.cost_mode, va, vb);
    c.delta = m.computeDelta(m.cost_mode, va, vb);
    c.delta_m = -c.delta;
    m.ff->insert(&c, false);
}

} // namespace

bool Match::isValidMove(int i, int j) {
    if (M == nullptr) return false;
    // The tests below only read the state, so their order is free: the cheap one that most
    // candidates fail comes first. Two nodes both matched elsewhere form no move.
    const int partnerJ = getM21(j);
    const int partnerI = getM12(i);
    if (partnerJ != kNoPartner && partnerI != kNoPartner && (partnerJ != i || partnerI != j))
        return false;

    const auto ui = static_cast<unsigned>(i);
    const auto uj = static_cast<unsigned>(j);
    if (i >= 0 && j >= 0)
        if (const cell* c = M->find(ui, uj); c != nullptr && iterations < c->tabu) return false;
    Vertex* vi = getVertex1(i);
    Vertex* vj = getVertex2(j);
    if (vi == nullptr || vj == nullptr) return false;

    // The move would undo the match of i with j's block.
    const bool unmatch = partnerI == getBlock(j, false);
    const bool blockI = i >= order(true);
    const bool blockJ = j >= order(false);
    const MemberView membersJ = MoveContext::membersOf(vj);
    for (int n : MoveContext::membersOf(vi)) {
        // A block none of whose members it still holds is stale.
        if (blockI && getBlock(n, true) != i) return false;
        for (int m : membersJ) {
            if (blockJ && getBlock(m, false) != j) return false;
            if (!movable(n, m)) return false;
            if (unmatch && (n == i || m == j || (blockI && blockJ))) {
                const cell* c = M->find(static_cast<unsigned>(n), static_cast<unsigned>(m));
                if (c != nullptr && c->tabu == kLockedTabu) return false; // a locked pair stays
            }
        }
    }
    return true;
}

void Match::removeFromFF(int x, int y) {
    if (M == nullptr || ff == nullptr || x < 0 || y < 0) return;
    const auto ux = static_cast<unsigned>(x);
    const auto uy = static_cast<unsigned>(y);
    if (cell* c = M->find(ux, uy)) ff->remove(c);
}

void Match::updateDeltaMatrix() {
    if (M == nullptr || ff == nullptr || g1 == nullptr || g2 == nullptr) return;
    const long start = cpuMillis();
    // The matching stands still until the round ends, so prices met twice are taken once.
    roundPrices_.clear();
    const FlagOn round(roundPricesOn_);

    // 1. The blocks around the nodes the last move touched.
    std::vector<int> lines = aroundTouched(*this, concerned1, true);
    std::vector<int> columns = aroundTouched(*this, concerned2, false);

    // 2. Closed under the matching: partners of lines join columns, then partners of columns
    // join lines.
    for (int l : lines) {
        const int partner = getM12(l);
        if (partner != kNoPartner) addWithMembers(*this, partner, false, columns);
    }
    sortUnique(columns);
    for (int c : columns) {
        const int partner = getM21(c);
        if (partner != kNoPartner) addWithMembers(*this, partner, true, lines);
    }
    sortUnique(lines);

    // 3. Candidates on the other side: the nodes movable with a plain node of the lines or
    // columns.
    std::vector<int> matchable2 = columns;
    addMovableWith(*this, lines, true, matchable2);
    sortUnique(matchable2);
    std::vector<int> matchable1 = lines;
    addMovableWith(*this, columns, false, matchable1);
    sortUnique(matchable1);

    // 4 and 5. Re-price every pair between them. Two plain nodes that may not be matched
    // form no valid move and are never filed, so re-pricing them would change nothing: they
    // are passed over by walking the movable pairs alongside (both lists ascending).
    const int n1 = order(true);
    const int n2 = order(false);
    for (int l : lines) {
        const bool plain = l < n1 && move != nullptr;
        const std::vector<int>& row = movableFrom(l);
        auto next = row.cbegin();
        for (int c : matchable2) {
            if (plain && c < n2 && !standsOn(next, row.cend(), c)) continue;
            reevaluate(*this, l, c);
        }
    }
    for (int c : columns) {
        const bool plain = c < n2 && move != nullptr;
        const std::vector<int>& column = movableWith(c);
        auto next = column.cbegin();
        for (int i : matchable1) {
            if (std::binary_search(lines.begin(), lines.end(), i)) continue;
            if (plain && i < n1 && !standsOn(next, column.cend(), i)) continue;
            reevaluate(*this, i, c);
        }
    }

    // 6. The marks that run out now.
    std::vector<cell*> expiring;
    expiring.swap(tabu_i[i_parser][0]);
    for (cell* c : expiring)
        reevaluate(*this, c->x, c->y);

    update_time += static_cast<double>(cpuMillis() - start);
}
