// Building graphs in memory for the generators.
#include "gen/GraphBuild.h"

#include <algorithm>

#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Vertex.h"

Graph* newGeneratedGraph(const std::string& name, const double* edgeWeights) {
    Graph* g = new Graph();
    g->name = name;
    if (edgeWeights != nullptr) std::copy(edgeWeights, edgeWeights + kLabelCodes, g->edge_weight);
    return g;
}

Vertex* appendVertex(Graph* g, const std::string& label, float weight0, float weight1) {
    Vertex* v = new Vertex(static_cast<int>(g->V.size()), label);
    v->weight[0] = weight0;
    v->weight[1] = weight1;
    g->V.push_back(v);
    return v;
}

void readyForArcs(Graph* g) {
    g->vertices = static_cast<int>(g->V.size());
    g->reinitEdges();
    g->edges = 0;
}

Edge* insertRelations(Graph* g, int from, int to, const std::string& label, const float* weights,
                      int number) {
    for (char digit : label) {
        Edge* arc = new Edge(from, to, std::string(1, digit));
        arc->setNumber(number);
        if (weights != nullptr) std::copy(weights, weights + kWeightSlots, arc->weight);
        g->insertEdge(arc);
    }
    g->edges = static_cast<int>(g->E.size());
    return g->getEdge(from, to);
}

Edge* attachValuedArc(Graph* g, int from, int to, const std::string& label, int number) {
    const int nodes = static_cast<int>(g->V.size());
    if (from < 0 || to < 0 || from >= nodes || to >= nodes) return nullptr;
    if (g->G == nullptr || g->getEdge(from, to) != nullptr) return nullptr;
    Edge* e = new Edge(from, to, label);
    e->setNumber(number);
    e->labels = new short[kLabelCodes]();
    (*g->G)(static_cast<unsigned>(from), static_cast<unsigned>(to)) = e;
    g->E.push_back(e);
    Vertex* source = g->V[from];
    Vertex* target = g->V[to];
    source->out.push_back(e);
    target->in.push_back(e);
    target->edges.push_back(e);
    if (from != to) source->edges.push_back(e);
    source->nb_out += 1;
    target->nb_in += 1;
    g->edges = static_cast<int>(g->E.size());
    // The statistics size their tables from these extremes and from the highest digit.
    for (Vertex* v : {source, target}) {
        g->max_in_distrib = std::max(g->max_in_distrib, static_cast<int>(v->in.size()));
        g->max_out_distrib = std::max(g->max_out_distrib, static_cast<int>(v->out.size()));
        g->max_all_distrib = std::max(g->max_all_distrib, static_cast<int>(v->edges.size()));
    }
    g->max_multi = std::max(g->max_multi, static_cast<int>(label.size()));
    for (char digit : label)
        if (digit >= '0' && digit <= '9') g->nb_labels = std::max(g->nb_labels, digit - '0');
    return e;
}

void recountRelations(Edge* e) {
    if (e->labels == nullptr) e->labels = new short[kLabelCodes]();
    std::fill(e->labels, e->labels + kLabelCodes, 0);
    for (char digit : e->label)
        if (digit >= '0' && digit <= '9') e->labels[digit - '0'] += 1;
}
