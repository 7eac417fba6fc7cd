// Cost changes of the moves, computed locally: the change of matching two free blocks with
// each other, and the change of a move of any kind built from it, the matching left unchanged.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Console.h"

namespace {

/// Printed when a move of no kind is priced.
const char* const kNonValidPricing = "\n NON-VALID !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! \n";

/// Gives the members of u (first side) and w (second side) the block and partner values of a
/// match between u and w, or, with `matched` false, makes them free plain nodes again.
void setPair(Match& m, const Vertex* u, const Vertex* w, bool matched) {
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    for (int n : MoveContext::membersOf(u)) {
        if (n < 0 || n >= n1) continue;
        m.blocks1[n] = matched ? u->number : n;
        m.M12[n] = matched ? w->number : Match::kNoPartner;
    }
    for (int n : MoveContext::membersOf(w)) {
        if (n < 0 || n >= n2) continue;
        m.blocks2[n] = matched ? w->number : n;
        m.M21[n] = matched ? u->number : Match::kNoPartner;
    }
}

/// The node count of an edge end once u's members are free again: -1 for u itself.
int formerEndCount(Match& m, const MemberView& members, int selfNumber, int end, bool left) {
    if (end == selfNumber || members.contains(end)) return -1;
    return m.nodesOf(end, left);
}

/// Removes later repeats from `edges`, keeping the order of first occurrences.
void keepFirstOccurrences(std::vector<Edge*>& edges) {
    std::unordered_set<Edge*> seen;
    size_t kept = 0;
    for (Edge* e : edges)
        if (seen.insert(e).second) edges[kept++] = e;
    edges.resize(kept);
}

} // namespace

double Match::compDelta(int mode, Vertex* v1, Vertex* v2) {
    if (v1 == nullptr || v2 == nullptr || costs == nullptr) return 0;
    const int p = v1->number;
    const int q = v2->number;

    // 1. Match them tentatively.
    setPair(*this, v1, v2, true);
    update_occ += 1;

    // 2. Node term.
    const float s = static_cast<float>(intSim(mode, v1, v2));
    (*_N)(static_cast<unsigned>(p), static_cast<unsigned>(q)) = s;
    double delta = costs->raw_cns(mode, v1, v2, s) - costs->cnd(mode, v1) - costs->cni(mode, v2);

    // Both edge lists are taken before any edge is priced: taking them registers the block
    // edges of v1 and v2 against the current blocks, so the counterpart lookups below find
    // every block edge that exists between the partners.
    std::vector<Edge*>& edges1 = pricedEdges_[0];
    std::vector<Edge*>& edges2 = pricedEdges_[1];
    collectVEdges(v1, true, edges1);
    collectVEdges(v2, false, edges2);
    std::vector<Edge*>& formerDeletions = formerDeletions_;
    std::vector<Edge*>& formerInsertions = formerInsertions_;
    std::vector<Edge*>& counterparts = counterparts_;
    formerDeletions.clear();
    formerInsertions.clear();

    // 3. Edges of v1: deleted while an end is free, otherwise matched with the partners' edge.
    for (Edge* e1 : edges1) {
        const int from = getM12(e1->from);
        const int to = getM12(e1->to);
        if (from == kNoPartner || to == kNoPartner) {
            delta += costs->ced(mode, e1, getNodes1(e1->from), getNodes1(e1->to));
        } else {
            Edge* e2 = getEdge2(from, to);
            delta += costs->raw_ces(mode, e1, e2, getENodes1(e1), getENodes2(e2));
            if (e2 != nullptr) formerInsertions.push_back(e2);
        }
        formerDeletions.push_back(e1);
    }

    // The counterparts, each kept once at its first place (two edges of v1 meet the same
    // counterpart only when blocks fold them).
    counterparts.assign(formerInsertions.begin(), formerInsertions.end());
    std::sort(counterparts.begin(), counterparts.end());
    if (std::adjacent_find(counterparts.begin(), counterparts.end()) != counterparts.end()) {
        counterparts.erase(std::unique(counterparts.begin(), counterparts.end()),
                           counterparts.end());
        keepFirstOccurrences(formerInsertions);
    }

    // 4. Edges of v2 not priced with a counterpart in step 3.
    for (Edge* e2 : edges2) {
        if (std::binary_search(counterparts.begin(), counterparts.end(), e2)) continue;
        const int from = getM21(e2->from);
        const int to = getM21(e2->to);
        if (from == kNoPartner || to == kNoPartner) {
            delta += costs->cei(mode, e2, getNodes2(e2->from), getNodes2(e2->to));
            formerInsertions.push_back(e2);
        } else if (getEdge1(from, to) == nullptr) {
            delta += costs->raw_ces(mode, nullptr, e2, 0, getENodes2(e2));
            formerInsertions.push_back(e2);
        }
    }

    // 5. Undo the tentative match.
    setPair(*this, v1, v2, false);

    // 6. Subtract what those edges cost while v1 and v2 were free.
    const MemberView members1 = MoveContext::membersOf(v1);
    const MemberView members2 = MoveContext::membersOf(v2);
    for (Edge* e1 : formerDeletions)
        delta -= costs->ced(mode, e1, formerEndCount(*this, members1, p, e1->from, true),
                            formerEndCount(*this, members1, p, e1->to, true));
    for (Edge* e2 : formerInsertions)
        delta -= costs->cei(mode, e2, formerEndCount(*this, members2, q, e2->from, false),
                            formerEndCount(*this, members2, q, e2->to, false));
    return delta;
}

double Match::computeDelta(int mode, Vertex* v1, Vertex* v2) {
    if (v1 == nullptr || v2 == nullptr) return 0;
    MoveContext mv(*this, v1->number, v2->number);
    mv.isolate(*this);

    double delta = 0;
    switch (mv.kind) {
    case MoveContext::Kind::Add:
        delta = compDelta(mode, v1, v2);
        break;
    case MoveContext::Kind::Remove:
        delta = -compDelta(mode, v1, v2);
        break;
    case MoveContext::Kind::GrowSecond: {
        const double before = compDelta(mode, mv.bx, mv.qxv);
        Vertex* grown = updateBlock(mv.qxv, mv.y, false, true);
        delta = compDelta(mode, mv.bx, grown) - before;
        break;
    }
    case MoveContext::Kind::GrowFirst: {
        const double before = compDelta(mode, mv.qyv, mv.by);
        Vertex* grown = updateBlock(mv.qyv, mv.x, true, true);
        delta = compDelta(mode, grown, mv.by) - before;
        break;
    }
    case MoveContext::Kind::ShrinkFirst: {
        const double before = compDelta(mode, mv.bx, mv.qxv);
        Vertex* shrunk = updateBlock(mv.bx, mv.x, true, false);
        delta = compDelta(mode, shrunk, mv.qxv) - before;
        break;
    }
    case MoveContext::Kind::ShrinkSecond: {
        const double before = compDelta(mode, mv.qyv, mv.by);
        Vertex* shrunk = updateBlock(mv.by, mv.y, false, false);
        delta = compDelta(mode, mv.qyv, shrunk) - before;
        break;
    }
    case MoveContext::Kind::RemoveBlocks:
        delta = -compDelta(mode, mv.bx, mv.by);
        break;
    case MoveContext::Kind::None:
        console() << kNonValidPricing;
        break;
    }

    mv.restore(*this);
    return delta;
}
