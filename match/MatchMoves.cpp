// Moves of the tabu search: which pairs may be moved, which moves are valid, and the
// re-evaluation of the moves around the last one played and of the expiring tabu marks.
#include <map>
#include <set>
#include <vector>

#include "match/FastFind.h"
#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Clock.h"

void Match::updateMoves(int x, int y, bool able) {
    if (move == nullptr || x < 0 || y < 0) return;
    (*move)(static_cast<unsigned>(x), static_cast<unsigned>(y)) = able;
    const auto column = static_cast<size_t>(y);
    if (able) {
        if (column >= movableByColumn_.size()) movableByColumn_.resize(column + 1);
        movableByColumn_[column].insert(x);
    } else {
        if (column < movableByColumn_.size()) movableByColumn_[column].erase(x);
        // A pair that may not be matched is never filed (updateDeltaMatrix relies on it).
        removeFromFF(x, y);
    }
}

const std::set<int>& Match::movableWith(int y) const {
    static const std::set<int> none;
    if (y < 0 || static_cast<size_t>(y) >= movableByColumn_.size()) return none;
    return movableByColumn_[static_cast<size_t>(y)];
}

bool Match::movable(int x, int y) {
    if (move == nullptr || x < 0 || y < 0) return false;
    const auto ux = static_cast<unsigned>(x);
    const auto uy = static_cast<unsigned>(y);
    const bool* able = move->find(ux, uy);
    return able != nullptr && *able;
}

namespace {

const std::map<unsigned, bool> kNoMovablePairs;
const std::set<int> kNoRows;

/// Moves `next` past the entries of an ascending list whose node is below n, and says
/// whether it then stands on n; `node` reads an entry's node number.
template <typename Iterator, typename Node>
bool standsOn(Iterator& next, Iterator end, int n, Node node) {
    while (next != end && node(*next) < n)
        ++next;
    return next != end && node(*next) == n;
}

/// Adds a vertex number and the numbers of its members.
void addWithMembers(Match& m, int number, bool left, std::set<int>& into) {
    into.insert(number);
    if (Vertex* v = m.getVertex(number, left))
        for (int n : MoveContext::membersOf(v))
            into.insert(n);
}

/// The blocks of the touched nodes with their members, and the blocks of those members'
/// neighbours with their members.
std::set<int> aroundTouched(Match& m, const std::set<int>* touched, bool left) {
    std::set<int> around;
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
    return around;
}

/// Second-graph nodes movable with some plain node of `lines`, with the blocks that hold them:
/// a move named by such a block is priced from the same neighbourhoods as its members' moves.
std::set<int> movableWithLines(Match& m, const std::set<int>& lines) {
    std::set<int> found;
    if (m.move == nullptr) return found;
    for (int l : lines) {
        if (l >= m.order(true)) continue;
        auto row = m.move->mat.find(static_cast<unsigned>(l));
        if (row == m.move->mat.end()) continue;
        for (const auto& entry : row->second) {
            if (!entry.second) continue;
            const int j = static_cast<int>(entry.first);
            found.insert(j);
            found.insert(m.getBlock(j, false));
        }
    }
    return found;
}

/// First-graph nodes movable with some plain node of `columns`, with the blocks that hold them.
std::set<int> movableWithColumns(Match& m, const std::set<int>& columns) {
    std::set<int> found;
    if (m.move == nullptr) return found;
    for (int c : columns) {
        if (c >= m.order(false)) continue;
        for (int i : m.movableWith(c)) {
            found.insert(i);
            found.insert(m.getBlock(i, true));
        }
    }
    return found;
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

    // 1. The blocks around the nodes the last move touched.
    std::set<int> lines = aroundTouched(*this, concerned1, true);
    std::set<int> columns = aroundTouched(*this, concerned2, false);

    // 2. Closed under the matching: partners of lines join columns, then partners of columns
    // join lines.
    for (int l : lines) {
        const int partner = getM12(l);
        if (partner != kNoPartner) addWithMembers(*this, partner, false, columns);
    }
    std::set<int> partnersOfColumns;
    for (int c : columns) {
        const int partner = getM21(c);
        if (partner != kNoPartner) addWithMembers(*this, partner, true, partnersOfColumns);
    }
    lines.insert(partnersOfColumns.begin(), partnersOfColumns.end());

    // 3. Candidates on the other side: the nodes movable with a plain node of the lines or
    // columns.
    std::set<int> matchable2 = movableWithLines(*this, lines);
    matchable2.insert(columns.begin(), columns.end());
    std::set<int> matchable1 = movableWithColumns(*this, columns);
    matchable1.insert(lines.begin(), lines.end());

    // 4 and 5. Re-price every pair between them. Two plain nodes that may not be matched
    // form no valid move and are never filed, so re-pricing them would change nothing: they
    // are passed over by walking the movable pairs alongside (both lists ascending).
    const int n1 = order(true);
    const int n2 = order(false);
    const auto column = [](const auto& entry) { return static_cast<int>(entry.first); };
    for (int l : lines) {
        const std::map<unsigned, bool>* movableRow = nullptr;
        if (l < n1 && move != nullptr) {
            auto row = move->mat.find(static_cast<unsigned>(l));
            movableRow = row != move->mat.end() ? &row->second : &kNoMovablePairs;
        }
        auto next = movableRow != nullptr ? movableRow->begin() : kNoMovablePairs.end();
        for (int c : matchable2) {
            if (movableRow != nullptr && c < n2 &&
                !(standsOn(next, movableRow->end(), c, column) && next->second))
                continue;
            reevaluate(*this, l, c);
        }
    }
    for (int c : columns) {
        const std::set<int>* movableColumn = c < n2 && move != nullptr ? &movableWith(c) : nullptr;
        auto next = movableColumn != nullptr ? movableColumn->begin() : kNoRows.end();
        for (int i : matchable1) {
            if (lines.count(i)) continue;
            if (movableColumn != nullptr && i < n1 &&
                !standsOn(next, movableColumn->end(), i, [](int row) { return row; }))
                continue;
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
