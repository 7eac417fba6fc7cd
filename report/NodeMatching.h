// The final matching of a run as plain node groups, the form the change report reads.
#pragma once

#include <utility>
#include <vector>

class Match;

/// Matched groups of plain nodes: each pairs the members of one block of graph 1 with the
/// members of its partner block of graph 2 (one node each when neither side is a block).
/// Nodes in no group are unmatched.
struct NodeMatching {
    std::vector<std::pair<std::vector<int>, std::vector<int>>> groups;
};

/// The matching a Match holds now (after a run: the best one found), group by group in
/// ascending block order of graph 1, members ascending.
NodeMatching matchingOf(Match& m);
