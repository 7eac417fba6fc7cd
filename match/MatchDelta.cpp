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

void Match::setMembers(const Vertex* block, bool left, int partner) {
    int* partners = left ? M12 : M21;
    std::vector<int>& blocks = left ? blocks1 : blocks2;
    const int n = order(left);
    const bool matched = partner != kNoPartner;
    for (int member : MoveContext::membersOf(block)) {
        if (member < 0 || member >= n) continue;
        blocks[member] = matched ? block->number : member;
        partners[member] = partner;
    }
}

double Match::compDelta(int mode, Vertex* v1, Vertex* v2) {
    if (v1 == nullptr || v2 == nullptr || costs == nullptr) return 0;

    // 1. Match them tentatively.
    setMembers(v1, true, v2->number);
    setMembers(v2, false, v1->number);
    update_occ += 1;

    // 2. Node term.
    double delta = nodeTermDelta(mode, v1, v2);

    // Both edge lists are taken before any edge is priced: taking them registers the block
    // edges of v1 and v2 against the current blocks. With v1 and v2 matched, a counterpart
    // has v1 or v2 at one end, so it is looked up in these lists (pricedEdge) and they hold
    // every block edge that exists between the partners.
    collectVEdges(v1, true, pricedEdges_[0]);
    collectVEdges(v2, false, pricedEdges_[1]);
    pricedByEndsReady_[0] = pricedByEndsReady_[1] = false;
    formerDeletions_.clear();
    formerInsertions_.clear();

    // 3. Edges of v1, then their counterparts once each.
    delta = firstSideEdgeDelta(mode, delta);
    keepCounterpartsOnce();

    // 4. Edges of v2 not priced with a counterpart in step 3.
    delta = secondSideEdgeDelta(mode, delta);

    // 5. Undo the tentative match.
    setMembers(v1, true, kNoPartner);
    setMembers(v2, false, kNoPartner);

    // 6. Subtract what those edges cost while v1 and v2 were free.
    return formerEdgeDelta(mode, v1, v2, delta);
}

size_t Match::RoundKeyHash::operator()(const std::vector<int>& key) const {
    size_t h = key.size();
    for (int k : key)
        h = h * 1000003u ^ static_cast<unsigned>(k);
    return h;
}

double Match::roundPrice(int mode, Vertex* v1, Vertex* v2, const MoveContext& mv) {
    if (!roundPricesOn_) return compDelta(mode, v1, v2);
    roundKey_.assign({mode, v1->number, v2->number});
    mv.heldIsolated(roundKey_);
    auto known = roundPrices_.find(roundKey_);
    if (known != roundPrices_.end()) return known->second;
    const long filed = blockEdgesFiled_;
    const double delta = compDelta(mode, v1, v2);
    if (blockEdgesFiled_ == filed) roundPrices_.emplace(roundKey_, delta);
    return delta;
}

double Match::nodeTermDelta(int mode, Vertex* v1, Vertex* v2) {
    const float s = storedLikeness(mode, v1, v2);
    return costs->raw_cns(mode, v1, v2, s) - costs->cnd(mode, v1) - costs->cni(mode, v2);
}

double Match::firstSideEdgeDelta(int mode, double delta) {
    // Deleted while an end is free, otherwise matched with the partners' edge.
    for (Edge* e1 : pricedEdges_[0]) {
        const int from = getM12(e1->from);
        const int to = getM12(e1->to);
        if (from == kNoPartner || to == kNoPartner) {
            delta += costs->ced(mode, e1, getNodes1(e1->from), getNodes1(e1->to));
        } else {
            Edge* e2 = pricedEdge(false, from, to);
            delta += costs->raw_ces(mode, e1, e2, getENodes1(e1), getENodes2(e2));
            if (e2 != nullptr) formerInsertions_.push_back(e2);
        }
        formerDeletions_.push_back(e1);
    }
    return delta;
}

void Match::keepCounterpartsOnce() {
    // Each counterpart is kept once at its first place: two edges of v1 meet the same
    // counterpart only when blocks fold them, so the sorted copy rarely has a repeat.
    counterparts_.assign(formerInsertions_.begin(), formerInsertions_.end());
    std::sort(counterparts_.begin(), counterparts_.end());
    if (std::adjacent_find(counterparts_.begin(), counterparts_.end()) != counterparts_.end()) {
        counterparts_.erase(std::unique(counterparts_.begin(), counterparts_.end()),
                            counterparts_.end());
        keepFirstOccurrences(formerInsertions_);
    }
}

double Match::secondSideEdgeDelta(int mode, double delta) {
    for (Edge* e2 : pricedEdges_[1]) {
        if (std::binary_search(counterparts_.begin(), counterparts_.end(), e2)) continue;
        const int from = getM21(e2->from);
        const int to = getM21(e2->to);
        if (from == kNoPartner || to == kNoPartner) {
            delta += costs->cei(mode, e2, getNodes2(e2->from), getNodes2(e2->to));
            formerInsertions_.push_back(e2);
        } else if (pricedEdge(true, from, to) == nullptr) {
            delta += costs->raw_ces(mode, nullptr, e2, 0, getENodes2(e2));
            formerInsertions_.push_back(e2);
        }
    }
    return delta;
}

namespace {

/// The two end numbers of an edge packed into one sort key.
unsigned long long endsKey(int from, int to) {
    return static_cast<unsigned long long>(static_cast<unsigned>(from)) << 32 |
           static_cast<unsigned>(to);
}

/// Lists up to this length are scanned; longer ones are sorted by ends once per pricing.
constexpr size_t kScannedEdges = 24;

} // namespace

Edge* Match::pricedEdge(bool left, int from, int to) {
    const std::vector<Edge*>& edges = pricedEdges_[left ? 0 : 1];
    if (edges.size() <= kScannedEdges) {
        for (Edge* e : edges)
            if (e->from == from && e->to == to) return e;
        return nullptr;
    }
    std::vector<std::pair<unsigned long long, Edge*>>& byEnds = pricedByEnds_[left ? 0 : 1];
    if (!pricedByEndsReady_[left ? 0 : 1]) {
        byEnds.clear();
        for (Edge* e : edges)
            byEnds.emplace_back(endsKey(e->from, e->to), e);
        std::sort(byEnds.begin(), byEnds.end());
        pricedByEndsReady_[left ? 0 : 1] = true;
    }
    const unsigned long long key = endsKey(from, to);
    auto found =
        std::lower_bound(byEnds.begin(), byEnds.end(), key,
                         [](const auto& entry, unsigned long long k) { return entry.first < k; });
    return found != byEnds.end() && found->first == key ? found->second : nullptr;
}

double Match::formerEdgeDelta(int mode, const Vertex* v1, const Vertex* v2, double delta) {
    const MemberView members1 = MoveContext::membersOf(v1);
    const MemberView members2 = MoveContext::membersOf(v2);
    const int p = v1->number;
    const int q = v2->number;
    for (Edge* e1 : formerDeletions_)
        delta -= costs->ced(mode, e1, formerEndCount(*this, members1, p, e1->from, true),
                            formerEndCount(*this, members1, p, e1->to, true));
    for (Edge* e2 : formerInsertions_)
        delta -= costs->cei(mode, e2, formerEndCount(*this, members2, q, e2->from, false),
                            formerEndCount(*this, members2, q, e2->to, false));
    return delta;
}

double Match::computeDelta(int mode, Vertex* v1, Vertex* v2) {
    if (v1 == nullptr || v2 == nullptr) return 0;
    const FlagOn pricing(pricing_);
    MoveContext mv(*this, v1->number, v2->number);
    mv.isolate(*this);

    double delta = 0;
    Vertex* priced = nullptr; // the block the move builds, when it builds one
    bool pricedLeft = false;
    switch (mv.kind) {
    case MoveContext::Kind::Add:
        delta = roundPrice(mode, v1, v2, mv);
        break;
    case MoveContext::Kind::Remove:
        delta = -roundPrice(mode, v1, v2, mv);
        break;
    case MoveContext::Kind::GrowSecond: {
        const double before = roundPrice(mode, mv.bx, mv.qxv, mv);
        Vertex* grown = updateBlock(mv.qxv, mv.y, false, true);
        delta = roundPrice(mode, mv.bx, grown, mv) - before;
        priced = grown;
        break;
    }
    case MoveContext::Kind::GrowFirst: {
        const double before = roundPrice(mode, mv.qyv, mv.by, mv);
        Vertex* grown = updateBlock(mv.qyv, mv.x, true, true);
        delta = roundPrice(mode, grown, mv.by, mv) - before;
        priced = grown;
        pricedLeft = true;
        break;
    }
    case MoveContext::Kind::ShrinkFirst: {
        const double before = roundPrice(mode, mv.bx, mv.qxv, mv);
        Vertex* shrunk = updateBlock(mv.bx, mv.x, true, false);
        delta = roundPrice(mode, shrunk, mv.qxv, mv) - before;
        priced = shrunk;
        pricedLeft = true;
        break;
    }
    case MoveContext::Kind::ShrinkSecond: {
        const double before = roundPrice(mode, mv.qyv, mv.by, mv);
        Vertex* shrunk = updateBlock(mv.by, mv.y, false, false);
        delta = roundPrice(mode, mv.qyv, shrunk, mv) - before;
        priced = shrunk;
        break;
    }
    case MoveContext::Kind::RemoveBlocks:
        delta = -roundPrice(mode, mv.bx, mv.by, mv);
        break;
    case MoveContext::Kind::None:
        console() << kNonValidPricing;
        break;
    }

    mv.restore(*this);
    if (priced != nullptr) releaseIdleBlock(priced, pricedLeft);
    return delta;
}
