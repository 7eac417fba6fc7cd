// Reading the final matching out of a Match through its block accessors.
#include "report/NodeMatching.h"

#include "graph/Graph.h"
#include "match/Match.h"

namespace {

/// Plain member nodes of block vertex v on one side, ascending.
std::vector<int> plainMembers(Match& m, const Vertex* v, bool left) {
    std::vector<int> out;
    const int order = m.order(left);
    if (v->nodes == nullptr) {
        if (v->number < order) out.push_back(v->number);
        return out;
    }
    for (int n : *v->nodes)
        if (n >= 0 && n < order) out.push_back(n);
    return out;
}

} // namespace

NodeMatching matchingOf(Match& m) {
    NodeMatching result;
    if (m.g1 == nullptr || m.g2 == nullptr || m.M12 == nullptr) return result;
    for (Vertex* vx : m.distinctBlocks(true)) {
        const Vertex* vy = m.getVertex2(m.getM12(vx->number));
        if (vy == nullptr) continue;
        result.groups.emplace_back(plainMembers(m, vx, true), plainMembers(m, vy, false));
    }
    return result;
}
