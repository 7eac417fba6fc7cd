// Greedy edge-subgraph matcher: the node similarity table, its sharpening toward pairs that
// stand out, and its extension over the neighbourhoods.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "graph/Graph.h"
#include "mces/MCES.h"
#include "mces/MCESTables.h"
#include "mces/NeighbourAssignment.h"
#include "mces/PairShape.h"
#include "util/Console.h"

namespace {

/// Two similarities closer than this compete with each other in the discrimination step.
constexpr double kRangeWidth = 0.1;
/// Mutually best pairs must be more similar than this.
constexpr double kBestPairFloor = 0.5;

double share(double value, double divisor) {
    return divisor != 0 ? value / divisor : 0;
}

/// Similarity of type |simi_type| of the pair (i, j); a negative type also scales it by the
/// pair's share of the largest value of the table it rests on (type 3 is never scaled).
/// Types outside 1-9 carry no similarity.
double pairSimilarity(const MCES& m, int simi_type, int i, int j) {
    const PairShape d = shapeOf(m.g1, m.g2, i, j);
    const int k = std::abs(simi_type);
    double value = 0;
    double scale = 1;
    if (k == 1 || k == 9) {
        value = share(2.0 * m.HENodes[i][j], d.h);
        scale = share(m.HENodes[i][j], m.maxHENodes);
    } else if (k == 2) {
        value = share(2.0 * m.OEdges[i][j], d.deg);
        scale = share(m.OEdges[i][j], m.maxOEdges);
    } else if (k == 3) {
        const double a = m.g1->u != nullptr ? m.g1->u[i] : 0;
        const double b = m.g2->u != nullptr ? m.g2->u[j] : 0;
        return share(2.0 * std::min(a, b), a + b);
    } else if (k == 4) {
        value = share(2.0 * (m.ONodes[i][j] + m.OEdges[i][j]), d.deg + d.nb + 2);
        scale = share(m.ONodes[i][j] + m.OEdges[i][j], m.maxONodes + m.maxOEdges);
    } else if (k == 5) {
        value = share(2.0 * m.PEdges[i][j], d.nb);
        scale = share(m.PEdges[i][j], m.maxPEdges);
    } else if (k == 6) {
        value = share(2.0 * m.PEdges2[i][j], d.deg);
        scale = share(m.PEdges2[i][j], m.maxPEdges2);
    } else if (k == 7) {
        value = d.nb != 0 ? share(2.0 * m.PENodes[i][j], d.nb + 2) : 0;
        scale = share(m.PENodes[i][j], m.maxPENodes);
    } else if (k == 8) {
        value = share(2.0 * m.PENodes2[i][j], d.deg + d.nb + 2);
        scale = share(m.PENodes2[i][j], m.maxPENodes2);
    }
    return simi_type < 0 ? value * scale : value;
}

/// Discrimination factor of a pair with w1 rivals in its row and w2 in its column; types 4-7
/// also weigh by the pair's degree ranges. Unknown types leave the similarity as it is.
double discriminationFactor(int type, double w1, double w2, double nodes, double pairs,
                            double sumRange, double prodRange) {
    const double spread = 1 / (w1 + w2 + 1);
    const double product = w1 * w2 == 0 ? 1 : 1 / (w1 * w2);
    const double nodeShare = 1 - (w1 + w2) / nodes;
    const double pairShare = 1 - w1 * w2 / pairs;
    switch (type) {
    case 0:
        return spread;
    case 1:
        return product;
    case 2:
        return nodeShare;
    case 3:
        return pairShare;
    case 4:
        return spread * sumRange;
    case 5:
        return product * prodRange;
    case 6:
        return nodeShare * sumRange;
    case 7:
        return pairShare * prodRange;
    default:
        return 1;
    }
}

/// Number of entries of `sorted` (ascending) at least `floor`.
long countAtLeast(const std::vector<float>& sorted, double floor) {
    const auto first = std::lower_bound(sorted.begin(), sorted.end(), floor,
                                        [](float v, double f) { return v < f; });
    return static_cast<long>(sorted.end() - first);
}

/// 1 when the two edges are both absent or both present with equal labels.
int edgesAgree(Edge* e1, Edge* e2) {
    if (e1 == nullptr && e2 == nullptr) return 1;
    return e1 != nullptr && e2 != nullptr && e1->label == e2->label ? 1 : 0;
}

} // namespace

void MCES::setSim(int simi_type) {
    if (simil == nullptr) simil = newTable<float>(n1, n2, 0.0f);
    if (discrim == nullptr) discrim = newTable<float>(n1, n2, 1.0f);
    double best = 0;
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            const double value = pairSimilarity(*this, simi_type, i, j);
            simil[i][j] = static_cast<float>(value);
            best = std::max(best, value);
        }
    console() << "\n\n\n BESTSIM = " << best << "\n\n\n";
}

void MCES::setDiscrim(int discrimi_type, int lv2) {
    const double deg_moy1 = share(g1->edges, g1->vertices);
    const double deg_moy2 = share(g2->edges, g2->vertices);
    console() << "\n Deg Moy 1 : " << deg_moy1;
    console() << "\n Deg Moy 2 : " << deg_moy2;
    if (lv2 == 1 || lv2 == 3) extendAll();

    // Sorted copies of every row and column answer "how many rivals come within range".
    std::vector<std::vector<float>> rows(n1), cols(n2);
    for (int i = 0; i < n1; ++i)
        rows[i].assign(simil[i], simil[i] + n2);
    for (int j = 0; j < n2; ++j) {
        cols[j].resize(n1);
        for (int i = 0; i < n1; ++i)
            cols[j][i] = simil[i][j];
    }
    for (auto& r : rows)
        std::sort(r.begin(), r.end());
    for (auto& c : cols)
        std::sort(c.begin(), c.end());

    const double sumMoy = deg_moy1 + deg_moy2;
    const double prodMoy = deg_moy1 * deg_moy2;
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            const double floor = static_cast<double>(simil[i][j]) - kRangeWidth;
            const double w1 = static_cast<double>(countAtLeast(rows[i], floor) - 1);
            const double w2 = static_cast<double>(countAtLeast(cols[j], floor) - 1);
            const double ei = g1->V[i]->getNEdges();
            const double ej = g2->V[j]->getNEdges();
            // Without any edge in a graph the degree ranges are undefined: no correction.
            const double sumRange = sumMoy > 0 ? std::min((ei + ej) / sumMoy, 1.0) : 1.0;
            const double prodRange = prodMoy > 0 ? std::min(ei * ej / prodMoy, 1.0) : 1.0;
            const double factor = discriminationFactor(
                discrimi_type, w1, w2, n1 + n2, static_cast<double>(n1) * n2, sumRange, prodRange);
            discrim[i][j] = static_cast<float>(factor);
        }
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j)
            simil[i][j] *= discrim[i][j];
    if (lv2 == 2 || lv2 == 3) extendAll();
    collectBestPairs();
}

void MCES::collectBestPairs() {
    std::vector<float> bs1(n1, 0.0f), bs2(n2, 0.0f);
    float bestSim = 0;
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            bs1[i] = std::max(bs1[i], simil[i][j]);
            bs2[j] = std::max(bs2[j], simil[i][j]);
            bestSim = std::max(bestSim, simil[i][j]);
        }
    std::vector<bool> rowTaken(n1, false), colTaken(n2, false);
    int nbBestPairs = 0;
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            const float s = simil[i][j];
            if (!(s > kBestPairFloor) || s != bs1[i] || s != bs2[j]) continue;
            bestPairs.push_back(paire{static_cast<unsigned>(i), static_cast<unsigned>(j), s});
            if (!rowTaken[i] && !colTaken[j]) ++nbBestPairs;
            rowTaken[i] = true;
            colTaken[j] = true;
        }
    console() << "\n\n\n BEST PAIRS : " << nbBestPairs << "\t" << bestSim << "\n\n\n";
}

void MCES::extendAll() {
    // Every extension reads the table as it was before this pass.
    float** extended = newTable<float>(n1, n2, 0.0f);
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j)
            extended[i][j] = static_cast<float>((simil[i][j] + extendSim(simil, i, j)) / 2);
    for (int i = 0; i < n1; ++i)
        std::copy(extended[i], extended[i] + n2, simil[i]);
    deleteTable(extended);
}

double MCES::extendSim(float** sim, int x, int y) {
    const std::vector<int> rows(g1->neighbors[x].begin(), g1->neighbors[x].end());
    const std::vector<int> cols(g2->neighbors[y].begin(), g2->neighbors[y].end());
    if (rows.empty() || cols.empty()) return 0;
    std::vector<double> costs(rows.size() * cols.size());
    bool allZero = true;
    bool allOne = true;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int a = rows[r];
        for (std::size_t c = 0; c < cols.size(); ++c) {
            const int b = cols[c];
            const int t1 = edgesAgree(g1->getEdge(x, a), g2->getEdge(y, b));
            const int t2 = edgesAgree(g1->getEdge(a, x), g2->getEdge(b, y));
            const double s = sim[a][b] * (t1 + t2) / 2.0;
            const double cost = 1 - s;
            costs[r * cols.size() + c] = cost;
            if (cost != 0) allZero = false;
            if (cost != 1) allOne = false;
        }
    }
    if (allZero) return 1;
    if (allOne) return 0;
    double kept = 0;
    visitAssignedCosts(costs, rows.size(), cols.size(), [&kept](double cost) { kept += 1 - cost; });
    return kept / static_cast<double>(std::max(rows.size(), cols.size()));
}
