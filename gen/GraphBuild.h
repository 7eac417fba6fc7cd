// Building graphs in memory for the generators: empty graphs ready for arcs, appended
// vertices, relation arcs rebuilt digit by digit, and arcs that carry a free numeric value.
#pragma once

#include <string>

class Edge;
class Graph;
class Vertex;

/// A new empty graph named `name`, with the given per-label weights (ten entries; null for
/// all 0). The caller owns it.
Graph* newGeneratedGraph(const std::string& name, const double* edgeWeights);

/// Appends a vertex numbered with the current node count, with its first two weights.
Vertex* appendVertex(Graph* g, const std::string& label, float weight0, float weight1);

/// Ends the vertex list: sets the node count and prepares an empty adjacency.
void readyForArcs(Graph* g);

/// Inserts one arc per digit of `label` from -> to, so a folded label comes back with its
/// per-label counters. The first stored Edge gets `number` and the weights (five entries, may
/// be null). Returns the Edge of the pair, or null when nothing could be inserted.
Edge* insertRelations(Graph* g, int from, int to, const std::string& label, const float* weights,
                      int number);

/// Attaches an arc whose label is a numeric value rather than relation codes (values above
/// 9 have no counter): the label text is kept as given and every counter stays 0. An arc
/// already present for the pair, or an end that is not a node, leaves the graph unchanged
/// and yields null.
Edge* attachValuedArc(Graph* g, int from, int to, const std::string& label, int number);

/// Re-reads the relation counters of an Edge from its label digits (after the label text
/// was rewritten).
void recountRelations(Edge* e);
