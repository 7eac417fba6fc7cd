// Graph mutation, arc noise: every ordered pair of the mutated graph may lose, relabel or gain
// relations; each change is recorded against the pair.
#include "gen/GraphMutation.h"

#include "gen/GenRandom.h"
#include "gen/GraphBuild.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "util/Console.h"

Graph* GraphMutation::mutateEdges(Graph* g) {
    const int nodes = static_cast<int>(g->V.size());
    if (recordSide != nodes) allocateRecords(nodes);
    int arcs = g->edges;
    const double squared = static_cast<double>(nodes) * nodes;
    density = squared > 0 ? arcs / squared : 0;
    // New arcs are spread over the absent pairs so that the noise adds about as many arcs
    // as it disturbs.
    const double absent = squared - arcs;
    const double pAdd = absent > 0 ? edgeNoiseLevel * arcs * (1 - density) / absent : 0;
    console() << "Nb Labels : " << nbLabels << "\t" << pAdd << "\t" << 1 - density << "\t"
              << density;
    unChangedEdges = 0;
    for (int i = 0; i < nodes; i++) {
        for (int j = 0; j < nodes; j++) {
            if (i == j && !(alea() < loop_proba)) continue;
            const double a = alea();
            if (!(a < edgeNoiseLevel)) continue;
            Edge* arc = g->getEdge(i, j);
            if (arc != nullptr) {
                mutateExistingArc(arc, i, j, arcs);
            } else if (pAdd > a) {
                int label = drawLabel(-1);
                console() << "\n" << label << "\t" << pAdd;
                if (label >= 0) {
                    std::string text(1, static_cast<char>('0' + label));
                    insertRelations(g, i, j, text, nullptr, 1000);
                    arcs += 1;
                    addEdges[i][j] = text;
                    addedEdges += 1;
                }
            }
            if (!addEdges[i][j].empty() && !modifEdges[i][j].empty())
                console() << "ALERT ADD && MODIF\n";
            if (!addEdges[i][j].empty()) {
                Edge* now = g->getEdge(i, j);
                if (now == nullptr || now->label.empty()) console() << "ADD != GRAPH\n";
            }
        }
    }
    g->edges = arcs;
    console() << "Arcs : " << g->edges << "/" << g->E.size() << "/" << addedEdges << "/"
              << deletedEdges;
    return g;
}

void GraphMutation::mutateExistingArc(Edge* arc, int i, int j, int& arcs) {
    const std::string old = arc->label;
    std::string now;
    for (char relation : old) {
        if (chance(density)) {
            int label = drawLabel(relation - '0');
            if (label >= 0) now += static_cast<char>('0' + label);
        } else {
            deletedEdges += 1;
        }
    }
    arc->label = now;
    recountRelations(arc);
    if (isSurvivor(i) && isSurvivor(j)) {
        if (now.empty() || now != old) {
            modifEdges[i][j] = now.empty() ? "0" : now;
            modifiedEdges += 1;
        } else {
            unChangedEdges += 1;
        }
    } else {
        addEdges[i][j] = now;
    }
    // An arc left without relations no longer counts in the graph.
    if (now.empty()) arcs -= 1;
}
