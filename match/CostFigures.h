// The figures of one pricing of a whole matching: Match::costFigures returns them,
// Match::cost prints them on one console line.
#pragma once

#include <cstddef>

/// One pricing of the current matching, figure by figure in the order it is summed.
struct CostFigures {
    /// False when a graph, the cost model or the block edge tables are missing: nothing was
    /// priced and total is -1.
    bool priced = false;
    /// Deletions of unmatched first-graph blocks plus substitutions of matched ones.
    double nodePart = 0;
    /// nodePart plus the insertions of unmatched second-graph blocks.
    double afterInsertions = 0;
    /// First-graph block relations whose two ends are both matched.
    int bothMatched = 0;
    /// Block-level relations of each graph.
    std::size_t edges1 = 0;
    std::size_t edges2 = 0;
    /// The whole cost: afterInsertions plus the price of every relation.
    double total = -1;
};

/// The console line of one pricing (tab-separated figures, the total twice).
void printCostFigures(const CostFigures& figures);
