// Small builders shared by the graph tests.
#pragma once

#include <memory>
#include <string>

#include "graph/Graph.h"

/// A graph of n nodes labelled "n0", "n1", ... with an adjacency matrix and every label
/// code weighing `weight`.
inline std::unique_ptr<Graph> makeGraph(int n, double weight = 1.0) {
    auto g = std::make_unique<Graph>();
    for (int i = 0; i < n; i++)
        g->V.push_back(new Vertex(i, "n" + std::to_string(i)));
    g->vertices = n;
    g->G = new SparseMatrix<Edge*>();
    for (double& w : g->edge_weight)
        w = weight;
    return g;
}

/// Inserts the arc from -> to with the given label text.
inline void arc(Graph& g, int from, int to, const std::string& label) {
    g.insertEdge(new Edge(from, to, label));
}
