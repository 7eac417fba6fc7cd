// Plain records shared by the matcher, the move index, the term statistics,
// the greedy matcher and the version tunnel.
#pragma once

#include <cstdint>

/// Partner of an unmatched node in the matchers' pair arrays.
constexpr int kNoPartner = -1;

/// A candidate move: pairing node x of the first graph with node y of the second.
/// Value-initialising a cell (cell{}) sets every member to zero; producers set `layer`
/// to -1 themselves before the cell is first handed to the move index.
struct cell {
    int x;           ///< node number in the first graph
    int y;           ///< node number in the second graph
    double delta;    ///< change of the solution cost if the move is made (negative improves)
    double delta_m;  ///< ranking key of the move index: larger is better
    double delta2;   ///< second cost figure, kept by the cell's owner
    double delta2_m; ///< second ranking figure, kept by the cell's owner
    short layer;     ///< index layer holding the cell, -1 when not indexed
    int tabu;        ///< iteration number until which the move is forbidden
};

/// Two indices and a score. Pairs order by descending score: p < q when p scores
/// higher than q, so a sort puts the best pair first (ties in no defined order).
struct paire {
    unsigned int x1; ///< first index of the pair
    unsigned int x2; ///< second index of the pair
    double val;      ///< score of the pair

    bool operator<(const paire& other) const { return val > other.val; }
};

/// Term counters of one (node, term) or (node, node) cell of the term statistics.
/// `count` is an array of counters (nine in the matcher) allocated, zero-filled, by
/// whoever creates the record; a value-initialised record has a null `count` and the
/// holder of the table releases the arrays.
struct semarel {
    short int sum;    ///< total of all counters
    short int* count; ///< the counters; null until the record is created with its array
};

/// One value seen on an edge between two tunnelled classes, and in how many versions.
struct occurrence {
    double value;        ///< the edge value
    std::uint16_t count; ///< number of versions holding it
};
