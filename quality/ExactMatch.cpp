// Exact one-to-one optimum by depth-first branch and bound: first-graph nodes are decided
// one by one (most relations first), each bounded by the cheapest place of every node left.
#include "quality/ExactMatch.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "match/Match.h"
#include "util/NodeTable.h"

namespace {

constexpr int kUndecided = -2;
constexpr int kNone = -1;

/// End count of a relation end as the cost model takes it: 1 matched plain node, -1 unmatched.
int endCount(int partner) {
    return partner == kNone ? -1 : 1;
}

} // namespace

ExactMatch::ExactMatch(Match& m)
    : n1_(m.order(true)), n2_(m.order(false)), mode_(m.cost_mode), cost_(m.costs) {
    delete_.resize(static_cast<size_t>(n1_));
    insert_.resize(static_cast<size_t>(n2_));
    substitute_.resize(static_cast<size_t>(n1_) * static_cast<size_t>(n2_));
    for (int x = 0; x < n1_; x++) {
        Vertex* v = m.g1->vertex(x);
        deletion(x) = cost_->cnd(mode_, v);
        for (int y = 0; y < n2_; y++) {
            Vertex* w = m.g2->vertex(y);
            // Rounded to single precision, as the matcher adds a substitution.
            const auto s = static_cast<float>(m.intSim(mode_, v, w));
            substitution(x, y) = static_cast<float>(cost_->raw_cns(mode_, v, w, s));
        }
    }
    for (int y = 0; y < n2_; y++)
        insertion(y) = cost_->cni(mode_, m.g2->vertex(y));
    edges1_.assign(static_cast<size_t>(n1_) * static_cast<size_t>(n1_), nullptr);
    edges2_.assign(static_cast<size_t>(n2_) * static_cast<size_t>(n2_), nullptr);
    for (Edge* e : m.g1->E)
        if (e != nullptr) edges1_[static_cast<size_t>(e->from * n1_ + e->to)] = e;
    for (Edge* e : m.g2->E)
        if (e != nullptr) edges2_[static_cast<size_t>(e->from * n2_ + e->to)] = e;
}

Edge* ExactMatch::edge(int from, int to, bool left) const {
    const int n = left ? n1_ : n2_;
    return (left ? edges1_ : edges2_)[static_cast<size_t>(from * n + to)];
}

double ExactMatch::pairCost(int a, int b, int pa, int pb) const {
    Edge* e1 = edge(a, b, true);
    if (pa == kNone || pb == kNone)
        return e1 != nullptr ? cost_->ced(mode_, e1, endCount(pa), endCount(pb)) : 0;
    Edge* e2 = edge(pa, pb, false);
    if (e1 == nullptr && e2 == nullptr) return 0;
    // A matched relation pays its surplus; one present on the second side only is inserted.
    return cost_->raw_ces(mode_, e1, e2, e1 != nullptr ? 1 : 0, e2 != nullptr ? 1 : 0);
}

double ExactMatch::placeCost(int x, int y, const std::vector<int>& partner) const {
    double total = y == kNone ? deletion(x) : substitution(x, y);
    total += pairCost(x, x, y, y);
    for (int z = 0; z < n1_; z++) {
        const int pz = nodeEntry(partner, z);
        if (z == x || pz == kUndecided) continue;
        total += pairCost(x, z, y, pz) + pairCost(z, x, pz, y);
    }
    return total;
}

double ExactMatch::insertionCost(const std::vector<int>& partnerOf2) const {
    double total = 0;
    for (int y = 0; y < n2_; y++)
        if (nodeEntry(partnerOf2, y) == kNone) total += insertion(y);
    for (int u = 0; u < n2_; u++)
        for (int v = 0; v < n2_; v++) {
            Edge* e2 = edge(u, v, false);
            const int pu = nodeEntry(partnerOf2, u);
            const int pv = nodeEntry(partnerOf2, v);
            if (e2 != nullptr && (pu == kNone || pv == kNone))
                total += cost_->cei(mode_, e2, endCount(pu), endCount(pv));
        }
    return total;
}

double ExactMatch::cost(const std::vector<int>& partner) const {
    std::vector<int> decided(static_cast<size_t>(n1_), kUndecided);
    std::vector<int> partnerOf2(static_cast<size_t>(n2_), kNone);
    double total = 0;
    for (int x = 0; x < n1_; x++) {
        const int y = nodeEntry(partner, x);
        total += placeCost(x, y, decided);
        nodeEntry(decided, x) = y;
        if (y != kNone) nodeEntry(partnerOf2, y) = x;
    }
    return total + insertionCost(partnerOf2);
}

struct ExactMatch::Search {
    const ExactMatch& problem;
    long long limit;
    std::vector<int> sequence;   ///< first-graph nodes in the order they are decided
    std::vector<int> partner;    ///< kUndecided until decided
    std::vector<int> partnerOf2; ///< kNone while free
    ExactResult result;

    Search(const ExactMatch& p, long long nodeLimit) : problem(p), limit(nodeLimit) {
        const int n1 = p.n1_;
        partner.assign(static_cast<size_t>(n1), kUndecided);
        partnerOf2.assign(static_cast<size_t>(p.n2_), kNone);
        // Nodes with many relations first: their placement fixes the most cost early.
        std::vector<std::pair<int, int>> degree;
        for (int x = 0; x < n1; x++) {
            int d = 0;
            for (int z = 0; z < n1; z++)
                d += (p.edge(x, z, true) != nullptr) + (p.edge(z, x, true) != nullptr);
            degree.emplace_back(-d, x);
        }
        std::sort(degree.begin(), degree.end());
        for (const auto& entry : degree)
            sequence.push_back(entry.second);
        result.cost = std::numeric_limits<double>::infinity();
    }

    /// Places of node x (deleted or a free partner) with their added cost, cheapest first.
    std::vector<std::pair<double, int>> places(int x) const {
        std::vector<std::pair<double, int>> out;
        out.emplace_back(problem.placeCost(x, kNone, partner), kNone);
        for (int y = 0; y < problem.n2_; y++)
            if (nodeEntry(partnerOf2, y) == kNone)
                out.emplace_back(problem.placeCost(x, y, partner), y);
        std::sort(out.begin(), out.end());
        return out;
    }

    /// Lower bound of what the undecided nodes after `depth` will add, taken before the node
    /// at depth - 1 is placed: each at its cheapest place now (later decisions only add
    /// relations and take partners away), plus the cheapest second-graph nodes that must stay
    /// free for lack of first-graph nodes (one fewer, as that node may still take one).
    double restBound(size_t depth) const {
        double bound = 0;
        for (size_t k = depth; k < sequence.size(); k++)
            bound += places(sequence[k]).front().first;
        const size_t undecided = sequence.size() - depth;
        std::vector<double> freeInsert;
        for (int y = 0; y < problem.n2_; y++)
            if (nodeEntry(partnerOf2, y) == kNone) freeInsert.push_back(problem.insertion(y));
        if (freeInsert.size() > undecided + 1) {
            std::sort(freeInsert.begin(), freeInsert.end());
            for (size_t k = 0; k + undecided + 1 < freeInsert.size(); k++)
                bound += freeInsert[k];
        }
        return bound;
    }

    void descend(size_t depth, double sofar) {
        if (limit > 0 && result.visited >= limit) {
            result.proven = false;
            return;
        }
        result.visited++;
        if (depth == sequence.size()) {
            const double total = sofar + problem.insertionCost(partnerOf2);
            if (total < result.cost) {
                result.cost = total;
                result.partner = partner;
            }
            return;
        }
        const int x = sequence[depth];
        const auto options = places(x);
        const double rest = restBound(depth + 1);
        for (const auto& [added, y] : options) {
            // Options are sorted, so once one cannot beat the best, none after it can.
            if (sofar + added + rest >= result.cost) break;
            nodeEntry(partner, x) = y;
            if (y != kNone) nodeEntry(partnerOf2, y) = x;
            descend(depth + 1, sofar + added);
            if (y != kNone) nodeEntry(partnerOf2, y) = kNone;
            nodeEntry(partner, x) = kUndecided;
        }
    }
};

ExactResult ExactMatch::solve(long long nodeLimit) const {
    Search search(*this, nodeLimit);
    search.descend(0, 0);
    if (search.result.partner.empty())
        search.result.partner.assign(static_cast<size_t>(n1_), kNone);
    return search.result;
}
