// Cost queries of the four cost families: unit costs (mode 0), matrix costs (mode 1),
// numeric labels with error rates (mode 2) and class diagrams (mode 3).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "cost/Cost.h"
#include "cost/CostText.h"
#include "graph/Edge.h"
#include "graph/Vertex.h"

namespace {

/// Most relations of one label class that two matched arcs are credited with in common.
constexpr int kMaxCommonRelations = 10000;

/// Number of plain nodes a node stands for (1 for a node that was never numbered).
double blockSize(const Vertex* node) {
    return node->nodes != nullptr ? static_cast<double>(node->nodes->size()) : 1.0;
}

/// The ten label counters of an arc; all 0 for a null arc or one without counters.
const short* labelsOf(const Edge* edge) {
    static const short kNone[kEdgeMatrixSize] = {};
    return edge != nullptr && edge->labels != nullptr ? edge->labels : kNone;
}

void labelCounts(const Edge* edge, double counts[kEdgeMatrixSize]) {
    const short* labels = labelsOf(edge);
    for (int i = 0; i < kEdgeMatrixSize; ++i)
        counts[i] = labels[i];
}

/// Counters of two matched arcs with their common relations removed (classes 1 to 9):
/// what is left is the first arc's surplus and the second arc's surplus.
void surplusCounts(const Edge* edge1, const Edge* edge2, double l1[kEdgeMatrixSize],
                   double l2[kEdgeMatrixSize]) {
    labelCounts(edge1, l1);
    labelCounts(edge2, l2);
    for (int i = 1; i < kEdgeMatrixSize; ++i) {
        double common = std::min(std::min(l1[i], l2[i]), static_cast<double>(kMaxCommonRelations));
        l1[i] -= common;
        l2[i] -= common;
    }
}

/// Whether a term whose counts are 0, multiplied by every factor and divided by `divisor`, is
/// a zero of either sign. Adding such a zero to a sum that began at +0 leaves the sum as it
/// is, so the sums below skip the label classes an arc has no relation of: they are most of
/// them, and the division is the slow part.
bool termsOfZeroVanish(double f1, double f2, double f3, double f4, double divisor) {
    return std::isfinite(f1) && std::isfinite(f2) && std::isfinite(f3) && std::isfinite(f4) &&
           std::isfinite(divisor) && divisor != 0;
}

/// Block factor of matched arcs: 1 for 1 or 2 nodes, 2 for 3 or 4, 3 for 5 or 6, ...
int blockFactor(int nods) {
    int k = (std::abs(nods) - 1) / 2 + 1;
    return k > 0 ? k : 1;
}

/// The integer label of an arc; an absent arc counts as label 0.
int edgeLabel(const Edge* edge) {
    return edge != nullptr ? leadingInt(edge->label) : 0;
}

} // namespace

double Cost::kindWeight(int type) const {
    if ((type & 3) == 0) return packageMatch;
    switch (type % 4) {
    case kNumericLabelCosts:
        return methodMatch;
    case kClassDiagramCosts:
        return attributeMatch;
    default: // 1, and the negative remainders of negative types
        return classMatch;
    }
}

double Cost::endFactor(int mfrom, int mto) const {
    const long long from = mfrom < 0 ? -1 : mfrom;
    const long long to = mto < 0 ? -1 : mto;
    // Between two unmatched ends an arc is dropped for sure; with a matched end it is
    // only half as likely to be a true drop.
    double a = (from < 0 && to < 0) ? dropWeightE : (dropWeightE + 1) / 2;
    // An arc of a merged block stands for one arc per pair of plain ends.
    if (from > 1 || to > 1) a *= static_cast<double>(std::llabs(from * to));
    return a;
}

double Cost::cnd(int mode, Vertex* node) {
    if (node == nullptr) return 0;
    switch (mode) {
    case kUnitCosts:
        return _cnd * blockSize(node);
    case kMatrixCosts:
        return classDeletion * blockSize(node);
    case kNumericLabelCosts:
        return mode2Error() == 1 ? 0.5 * blockSize(node) : 0;
    case kClassDiagramCosts:
        return cndMode3(node);
    default:
        return 0;
    }
}

double Cost::cni(int mode, Vertex* node) {
    if (node == nullptr) return 0;
    switch (mode) {
    case kUnitCosts:
        return _cni * blockSize(node);
    case kMatrixCosts:
        return classInsertion * blockSize(node);
    case kNumericLabelCosts:
        return mode2Error() == 1 ? 0.5 * blockSize(node) : 0;
    case kClassDiagramCosts:
        return cniMode3(node);
    default:
        return 0;
    }
}

double Cost::cndMode3(Vertex* node) {
    return kindWeight(node->type) * dropWeightN / (asymmetry + 1) * blockSize(node);
}

double Cost::cniMode3(Vertex* node) {
    return kindWeight(node->type) * asymmetry * dropWeightN / (asymmetry + 1) * blockSize(node);
}

double Cost::raw_cns(int mode, Vertex* node1, Vertex* node2, float discount) {
    switch (mode) {
    case kUnitCosts:
        return std::trunc((1 - discount) * _cns);
    case kMatrixCosts:
        return discount;
    case kNumericLabelCosts:
        return rawCnsMode2(node1, node2);
    case kClassDiagramCosts:
        return rawCnsMode3(node1, node2, discount);
    default:
        return 0;
    }
}

double Cost::rawCnsMode3(Vertex* node1, Vertex* node2, float discount) {
    if (node1 == nullptr || node2 == nullptr) return 0;
    if (node1->type != node2->type) return kImpossibleCost;
    const int size1 = static_cast<int>(blockSize(node1));
    const int size2 = static_cast<int>(blockSize(node2));
    const int x1 = size1 - 1;
    const int x2 = size2 - 1;
    // The discount stays in single precision up to the kind weight, as the similarity is.
    double result = (1 - discount) * (x1 + 1 + x2) * kindWeight(node1->type);
    // Nodes of the further kinds are never merged into blocks.
    if (node1->type > 8 && size1 + size2 > 2) result = kImpossibleCost;
    return result;
}

double Cost::cns(int mode, Vertex* node1, Vertex* node2, float discount) {
    if (mode == kUnitCosts) return raw_cns(kUnitCosts, node1, node2, discount) - (_cnd + _cni);
    if (mode < kUnitCosts || mode > kClassDiagramCosts) return 0;
    return raw_cns(mode, node1, node2, discount) - (cnd(mode, node1) + cni(mode, node2));
}

double Cost::ced(int mode, Edge* edge, int mfrom, int mto) {
    if (edge == nullptr) return 0;
    switch (mode) {
    case kUnitCosts:
        return _ced * static_cast<double>(edge->label.size());
    case kMatrixCosts:
        return dropSumMode1(edge, true);
    case kNumericLabelCosts:
        return mode2Error() == 1 ? 0.5 : 0;
    case kClassDiagramCosts:
        return dropSumMode3(edge, mfrom, mto, 1.0);
    default:
        return 0;
    }
}

double Cost::cei(int mode, Edge* edge, int mfrom, int mto) {
    if (edge == nullptr) return 0;
    switch (mode) {
    case kUnitCosts:
        return _cei * static_cast<double>(edge->label.size());
    case kMatrixCosts:
        return dropSumMode1(edge, false);
    case kNumericLabelCosts:
        return mode2Error() == 1 ? 0.5 : 0;
    case kClassDiagramCosts:
        return dropSumMode3(edge, mfrom, mto, asymmetry);
    default:
        return 0;
    }
}

double Cost::dropSumMode3(Edge* edge, int mfrom, int mto, double factor) {
    const short* counts = labelsOf(edge);
    const double a = endFactor(mfrom, mto);
    const double w = kindWeight(edge->type);
    const double divisor = asymmetry + 1;
    double sum = 0;
    if (termsOfZeroVanish(w, edgeWeight, factor, a, divisor)) {
        for (int i = 1; i < kEdgeMatrixSize; ++i)
            if (counts[i] != 0)
                sum += static_cast<double>(counts[i]) * w * edgeWeight * factor / divisor * a;
        return sum;
    }
    for (int i = 1; i < kEdgeMatrixSize; ++i)
        sum += static_cast<double>(counts[i]) * w * edgeWeight * factor / divisor * a;
    return sum;
}

double Cost::dropSumMode1(Edge* edge, bool deletion) {
    if (edgeMatrix == nullptr) return 0;
    double counts[kEdgeMatrixSize];
    labelCounts(edge, counts);
    double r = 0;
    for (int i = 1; i < kEdgeMatrixSize; ++i) {
        const double unit = deletion ? edgeMatrix[i][0] : edgeMatrix[0][i];
        r = std::round(dropWeightE * (r + counts[i] * unit));
    }
    return r;
}

double Cost::raw_ces(int mode, Edge* edge1, Edge* edge2, int nods1, int nods2) {
    switch (mode) {
    case kUnitCosts:
        return 0;
    case kMatrixCosts:
        return rawCesMode1(edge1, edge2);
    case kNumericLabelCosts:
        return rawCesMode2(edge1, edge2);
    case kClassDiagramCosts:
        return rawCesMode3(edge1, edge2, nods1, nods2);
    default:
        return 0;
    }
}

double Cost::rawCesMode3(Edge* edge1, Edge* edge2, int nods1, int nods2) {
    const int type1 = edge1 != nullptr ? edge1->type : -1;
    const int type2 = edge2 != nullptr ? edge2->type : -1;
    if (type1 != -1 && type2 != -1 && type1 != type2) return kImpossibleCost;
    const short* labels1 = labelsOf(edge1);
    const short* labels2 = labelsOf(edge2);
    const int k1 = blockFactor(nods1);
    const int k2 = blockFactor(nods2);
    const double w = kindWeight(type1);
    const bool zeroTermsVanish = termsOfZeroVanish(asymmetry, w, edgeWeight, 1.0, asymmetry + 1);
    double sum = 0;
    for (int i = 1; i < kEdgeMatrixSize; ++i) {
        // Each arc's surplus once their common relations are taken off.
        double l1 = labels1[i];
        double l2 = labels2[i];
        const double common = std::min(std::min(l1, l2), static_cast<double>(kMaxCommonRelations));
        l1 -= common;
        l2 -= common;
        if (l1 == 0 && l2 == 0 && zeroTermsVanish) continue;
        sum += (l1 * k1 + asymmetry * l2 * k2) * w * edgeWeight / (asymmetry + 1);
    }
    return sum;
}

double Cost::rawCesMode1(Edge* edge1, Edge* edge2) {
    if (edgeMatrix == nullptr) return 0;
    double l1[kEdgeMatrixSize], l2[kEdgeMatrixSize];
    surplusCounts(edge1, edge2, l1, l2);
    double sum = 0;
    for (int i = 1; i < kEdgeMatrixSize; ++i)
        sum += l1[i] * edgeMatrix[i][0] + l2[i] * edgeMatrix[0][i];
    return sum;
}

double Cost::ces(int mode, Edge* edge1, Edge* edge2) {
    return raw_ces(mode, edge1, edge2, 1, 1) - (ced(mode, edge1, 1, 1) + cei(mode, edge2, 1, 1));
}

double Cost::mode2Error() const {
    return node_error * lab_error * str_error;
}

double Cost::rawCnsMode2(Vertex* node1, Vertex* node2) {
    if (node1 == nullptr || node2 == nullptr) return 0;
    const bool differ = node1->label != node2->label;
    if (mode2Error() == 1) return differ ? 2.0 : 0;
    const int label1 = leadingInt(node1->label);
    const int label2 = leadingInt(node2->label);
    if (differ) return node_error < 0 ? std::abs(static_cast<double>(label1) - label2) : node_error;
    if (node_error < 0) return -static_cast<double>(label1);
    if (node_error == 0 || node_error == 1000) return 0;
    return -node_error;
}

double Cost::rawCesMode2(Edge* edge1, Edge* edge2) {
    const int l1 = edgeLabel(edge1);
    const int l2 = edgeLabel(edge2);
    const bool differ = l1 != l2;
    if (mode2Error() == 1) {
        if (!differ) return 0;
        return (l1 == 0 || l2 == 0) ? 1.5 : 2;
    }
    const bool graded = lab_error < 0 && str_error < 0;
    if (differ) {
        if (graded) return std::abs(static_cast<double>(l1) - l2);
        return (l1 == 0 || l2 == 0) ? str_error : lab_error;
    }
    return graded ? -std::abs(static_cast<double>(l1)) : -1;
}
