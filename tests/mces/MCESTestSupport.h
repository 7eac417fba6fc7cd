// Small builders shared by the greedy matcher tests: graphs written in code, a quiet
// standard output, and a matcher that frees everything it leaves behind.
#pragma once

#include <iostream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "graph/Graph.h"
#include "mces/MCES.h"
#include "tests/support/QuietOutput.h"
#include "util/Console.h"

using Arc = std::tuple<int, int, std::string>;

/// A graph with the given node labels and arcs, its neighbourhood tables filled as the
/// readers fill them.
inline std::unique_ptr<Graph> buildGraph(const std::vector<std::string>& labels,
                                         const std::vector<Arc>& arcs) {
    auto gr = std::make_unique<Graph>();
    for (std::size_t i = 0; i < labels.size(); ++i)
        gr->V.push_back(new Vertex(static_cast<int>(i), labels[i]));
    gr->vertices = static_cast<int>(labels.size());
    gr->reinitEdges();
    for (const Arc& a : arcs)
        gr->insertEdge(new Edge(std::get<0>(a), std::get<1>(a), std::get<2>(a)));
    gr->edges = static_cast<int>(gr->E.size());
    gr->fillNeighborsAndRelations();
    return gr;
}

/// Labels "0", "1", ... as the arc-list reader gives them.
inline std::vector<std::string> numberLabels(int n) {
    std::vector<std::string> labels;
    for (int i = 0; i < n; ++i)
        labels.push_back(std::to_string(i));
    return labels;
}

/// Deletes a matcher together with the results it leaves for its caller.
struct MCESDeleter {
    void operator()(MCES* m) const {
        m->releaseResults();
        delete m;
    }
};
using MCESPtr = std::unique_ptr<MCES, MCESDeleter>;

/// Relations preserved by the matching M12: for every arc of g1 whose ends are both matched,
/// the relations it shares with the arc between the partners (computed from the graphs,
/// independently of the matcher's gain bookkeeping).
inline int preservedRelations(Graph& g1, Graph& g2, const int* M12) {
    int total = 0;
    for (Edge* e : g1.E) {
        const int a = M12[e->from];
        const int b = M12[e->to];
        if (a < 0 || b < 0 || e->from == e->to) continue;
        total += MCES::compareEdges(e, g2.getEdge(a, b));
    }
    return total;
}
