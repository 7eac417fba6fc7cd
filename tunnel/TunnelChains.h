// Per-class tables of one tunnel run: the ranks and change costs of each class of the first
// graph in each version, and the helpers shared by the steps that read and report them.
#pragma once

#include "cost/Cost.h"
#include "graph/Edge.h"
#include "tunnel/Tunnel.h"

/// Cost family of the insertion costs of classes and relations.
constexpr int kCostMode = kClassDiagramCosts;

/// Sum of the label lengths (the relations each edge carries) of the edges.
inline int labelLength(const std::vector<Edge*>& edges) {
    int sum = 0;
    for (const Edge* e : edges)
        if (e != nullptr) sum += static_cast<int>(e->label.size());
    return sum;
}

/// table[row][column] of a per-class or per-version table, by int indices.
inline int valueAt(const std::vector<NodeInts>& table, int row, int column) {
    return table[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

struct Tunnel::Chains {
    int V = 0; ///< number of matchings; the series has V + 1 graphs
    /// [q][k] for k = 0 … V: rank and hub score (times CR_multiplier) in graph k.
    std::vector<NodeInts> CR, Hub;
    /// [q][k] for k = 0 … V - 1: change cost and change count of step k (0 off the chain).
    std::vector<NodeInts> EC, bEC;
};
