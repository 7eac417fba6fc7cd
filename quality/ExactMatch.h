// The exact one-to-one optimum of a matching problem under the run's cost model, found by
// branch and bound; the yardstick the search is measured against on small graphs.
#pragma once

#include <vector>

#include "cost/Cost.h"

class Edge;
class Match;

/// Outcome of an exact solve.
struct ExactResult {
    double cost = 0;          ///< cost of the best one-to-one matching found
    std::vector<int> partner; ///< second-graph partner of each first-graph node, -1 if none
    long long visited = 0;    ///< search-tree nodes expanded
    bool proven = true;       ///< false when the node limit stopped the search early
};

/// Prices one-to-one matchings of the two graphs of a matcher with the matcher's own cost
/// model (node substitutions discounted by its similarity) and finds the cheapest one.
/// Blocks are not considered: a result with merged blocks may cost less than this optimum.
class ExactMatch {
public:
    /// Reads the costs from `m`, which must be built (its similarity tables ready); the
    /// matcher's current matching is neither read nor changed.
    explicit ExactMatch(Match& m);

    int order(bool left) const { return left ? n1_ : n2_; }

    /// Full cost of the one-to-one matching `partner` (first-graph node -> second-graph node
    /// or -1; length order(true)), summed as the matcher sums a solution.
    double cost(const std::vector<int>& partner) const;

    /// Branch and bound over all one-to-one matchings. Stops after `nodeLimit` expanded
    /// search-tree nodes when it is positive (then `proven` is false).
    ExactResult solve(long long nodeLimit = 0) const;

private:
    struct Search;

    /// Cost added when node x takes partner y (-1: deleted), given the partners `partner`
    /// of the nodes already decided (-2 marks an undecided node): its node cost and every
    /// relation between x and a decided node, on both sides.
    double placeCost(int x, int y, const std::vector<int>& partner) const;
    /// Cost of the second-graph nodes left without partner and of their relations.
    double insertionCost(const std::vector<int>& partnerOf2) const;
    /// Relation cost of a first-graph pair (a, b) -> (pa, pb), partners -1 when unmatched.
    double pairCost(int a, int b, int pa, int pb) const;

    Edge* edge(int from, int to, bool left) const;

    int n1_ = 0;
    int n2_ = 0;
    int mode_ = kClassDiagramCosts;
    Cost* cost_ = nullptr;
    std::vector<double> delete_;     ///< per first-graph node
    std::vector<double> insert_;     ///< per second-graph node
    std::vector<double> substitute_; ///< n1 x n2, row-major
    std::vector<Edge*> edges1_;      ///< n1 x n1 relation table, null where none
    std::vector<Edge*> edges2_;      ///< n2 x n2

    /// The node prices above by node number.
    double& deletion(int x) { return delete_[static_cast<size_t>(x)]; }
    double& insertion(int y) { return insert_[static_cast<size_t>(y)]; }
    double& substitution(int x, int y) { return substitute_[static_cast<size_t>(x * n2_ + y)]; }
    double deletion(int x) const { return delete_[static_cast<size_t>(x)]; }
    double insertion(int y) const { return insert_[static_cast<size_t>(y)]; }
    double substitution(int x, int y) const {
        return substitute_[static_cast<size_t>(x * n2_ + y)];
    }
};
