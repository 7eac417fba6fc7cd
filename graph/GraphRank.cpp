// Node ranking: the weighted random-walk rank with its hub, norm and order statistics, and
// the per-label rank vectors.
#include "graph/Graph.h"

void Graph::nodeRank(double jump, double /*epsilon*/) { c = jump; }

double* Graph::computeU(double /*epsilon*/, int n) { return new double[n > 0 ? n : 0](); }

double* Graph::T(double* /*x*/, int n) { return new double[n > 0 ? n : 0](); }

void Graph::sortNodes() {}

void Graph::nodeRank2(double jump, double /*epsilon*/) { c = jump; }

double** Graph::computeU2(double /*epsilon*/, int /*n*/) { return nullptr; }

double* Graph::T2(double* /*x*/, int n, int /*label*/) { return new double[n > 0 ? n : 0](); }
