// Reading a candidate move against the current matching: blocks, partners, kind, and the
// save / unset / restore of the matching entries of the nodes it involves.
#include "match/MoveContext.h"

#include <vector>

#include "match/Match.h"

namespace {

/// A block number whose members are not all held by it any more names an old block that
/// takes part in no move; a plain node or a number that names no vertex is not stale.
bool isStaleBlock(Match& m, const Vertex* v, bool left) {
    if (v == nullptr || v->number < m.order(left) || v->nodes == nullptr) return false;
    for (int n : *v->nodes)
        if (m.getBlock(n, left) != v->number) return true;
    return false;
}

} // namespace

MoveContext::MoveContext(Match& m, int moveX, int moveY) : x(moveX), y(moveY) {
    px = x >= 0 && x < m.order(true);
    py = y >= 0 && y < m.order(false);
    bx = m.getVertex1(px ? m.getBlock(x, true) : x);
    by = m.getVertex2(py ? m.getBlock(y, false) : y);
    qx = m.getM12(x);
    qy = m.getM21(y);
    qxv = m.getVertex2(qx);
    qyv = m.getVertex1(qy);
    classify(m);

    const Vertex* const first[] = {bx, qyv};
    const Vertex* const second[] = {by, qxv};
    Match::involvedList(first, first + 2, involved1_);
    Match::involvedList(second, second + 2, involved2_);
}

void MoveContext::classify(Match& m) {
    // A number that names no vertex, or an old block, can take part in no move: the cell of
    // such a move may still be indexed, and playing it would regroup nodes held elsewhere.
    if (bx == nullptr || by == nullptr || isStaleBlock(m, bx, true) || isStaleBlock(m, by, false)) {
        kind = Kind::None;
        return;
    }
    const int nbx = bx->number;
    const int nby = by->number;
    const bool freeX = px && nbx == x; // plain and in no block
    const bool freeY = py && nby == y;
    const bool hasQx = qx != Match::kNoPartner;
    const bool hasQy = qy != Match::kNoPartner;
    if (freeX && !hasQx && freeY && !hasQy)
        kind = Kind::Add;
    else if (freeX && freeY && qy == nbx && qx == nby)
        kind = Kind::Remove;
    else if (hasQx && freeY && !hasQy)
        kind = Kind::GrowSecond;
    else if (freeX && !hasQx && hasQy)
        kind = Kind::GrowFirst;
    else if (px && nbx != x && hasQx && qx == nby)
        kind = Kind::ShrinkFirst;
    else if (py && nby != y && hasQy && qy == nbx)
        kind = Kind::ShrinkSecond;
    else if (!(px && py) && qy == nbx && qx == nby)
        kind = Kind::RemoveBlocks;
    else
        kind = Kind::None;
}

void MoveContext::isolate(Match& m) {
    saved1_.clear();
    saved2_.clear();
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    for (int n : involved1_) {
        if (n < 0 || n >= n1) continue;
        saved1_.push_back({n, {m.M12[n], m.getBlock(n, true)}});
        m.M12[n] = Match::kNoPartner;
        m.blocks1[n] = n;
    }
    for (int n : involved2_) {
        if (n < 0 || n >= n2) continue;
        saved2_.push_back({n, {m.M21[n], m.getBlock(n, false)}});
        m.M21[n] = Match::kNoPartner;
        m.blocks2[n] = n;
    }
}

void MoveContext::restore(Match& m) const {
    for (const auto& entry : saved1_) {
        m.M12[entry.first] = entry.second.first;
        m.blocks1[entry.first] = entry.second.second;
    }
    for (const auto& entry : saved2_) {
        m.M21[entry.first] = entry.second.first;
        m.blocks2[entry.first] = entry.second.second;
    }
}

void MoveContext::heldIsolated(std::vector<int>& into) const {
    const auto held = [](const std::pair<int, std::pair<int, int>>& entry) {
        return entry.second.first != Match::kNoPartner || entry.second.second != entry.first;
    };
    for (const auto& entry : saved1_)
        if (held(entry)) into.push_back(entry.first);
    into.push_back(-1);
    for (const auto& entry : saved2_)
        if (held(entry)) into.push_back(entry.first);
}

cell& MoveContext::moveCell(Match& m, int x, int y) {
    const auto ux = static_cast<unsigned>(x);
    const auto uy = static_cast<unsigned>(y);
    if (cell* known = m.M->find(ux, uy)) return *known;
    cell& fresh = (*m.M)(ux, uy);
    fresh = cell{};
    fresh.x = x;
    fresh.y = y;
    fresh.delta = -1;
    fresh.layer = -1;
    fresh.tabu = -m.iterations;
    return fresh;
}
