// Estimate of the arc costs of pairing two nodes, from the label counts of their incoming
// and outgoing arcs grouped by arc kind.
#include <algorithm>
#include <vector>

#include "cost/Cost.h"
#include "graph/Edge.h"
#include "graph/Vertex.h"

namespace {

/// Arc kinds the estimate distinguishes (0 to 6); arcs of other kinds are not counted.
constexpr int kEstimateKinds = 7;

/// Per arc kind and label entry, the summed label counts of a list of arcs.
struct KindCounts {
    double count[kEstimateKinds][kEdgeMatrixSize] = {};

    void add(const std::vector<Edge*>& arcs) {
        for (const Edge* edge : arcs) {
            if (edge == nullptr || edge->labels == nullptr) continue;
            if (edge->type < 0 || edge->type >= kEstimateKinds) continue;
            for (int j = 0; j < kEdgeMatrixSize; ++j)
                count[edge->type][j] += edge->labels[j];
        }
    }
};

} // namespace

double Cost::estimateO(int mode, Vertex* node1, Vertex* node2) {
    (void)mode; // the estimate is the same in every family
    KindCounts in1, out1, in2, out2;
    if (node1 != nullptr) {
        in1.add(node1->in);
        out1.add(node1->out);
    }
    if (node2 != nullptr) {
        in2.add(node2->in);
        out2.add(node2->out);
    }
    const double A = asymmetry;
    const double kindWeights[kEstimateKinds] = {
        packageMatch, classMatch, methodMatch, attributeMatch, classMatch, classMatch, classMatch};
    double total = 0;
    for (int t = 0; t < kEstimateKinds; ++t) {
        for (int j = 0; j < kEdgeMatrixSize; ++j) {
            const double a = in1.count[t][j], d = out1.count[t][j];
            const double b = in2.count[t][j], f = out2.count[t][j];
            const double i = std::min(a, b), o = std::min(d, f);
            const double s1 = (a - i) + (d - o);
            const double s2 = (b - i) + (f - o);
            double term = (A * s2 + s1 - (a + d) * dropWeightE - (b + f) * dropWeightE * A) *
                          kindWeights[t] * edgeWeight / (A + 1);
            // Label entries 3 and 9 weigh double.
            if (j == 3 || j == 9) term *= 2;
            total += term;
        }
    }
    return total;
}
