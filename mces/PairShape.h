// Degree figures of a node pair that the greedy matcher's normalisations divide by.
#pragma once

#include "graph/Graph.h"

/// Arc and neighbour counts of node i of one graph and node j of the other.
struct PairShape {
    int deg; ///< arcs of both nodes, parallel arcs counted
    int nb;  ///< neighbours of both nodes
    /// Highest neighbourhood bound score: 4 per neighbour joined both ways, 3 per neighbour
    /// joined one way, over both nodes.
    int h;
};

inline PairShape shapeOf(Graph* g1, Graph* g2, int i, int j) {
    const Vertex* a = g1->V[i];
    const Vertex* b = g2->V[j];
    const int degI = a->nb_in + a->nb_out;
    const int degJ = b->nb_in + b->nb_out;
    const int nI = static_cast<int>(g1->neighbors[i].size());
    const int nJ = static_cast<int>(g2->neighbors[j].size());
    const int h = 4 * (degI - nI) + 3 * (2 * nI - degI) + 3 * (2 * nJ - degJ) + 4 * (degJ - nJ);
    return {degI + degJ, nI + nJ, h};
}
