// Greedy edge-subgraph matcher: the structural potentials of the unmatched pairs (edges,
// neighbour labels and relation signatures in common, neighbourhood assignment bound) and
// their statistics.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "mces/MCES.h"
#include "mces/NeighbourAssignment.h"
#include "mces/PairShape.h"
#include "util/Console.h"

namespace {

/// Cost of a neighbour pair that keeps nothing in the neighbourhood bound.
constexpr int kNothingKept = 4;
/// Label penalties from this value on forbid a pair.
constexpr int kForbiddingError = 1000;
/// Largest label penalty that still lets pairs of different labels be promoted.
constexpr int kLargestPromotableError = 999;

/// Running min / max / sum / sum of squares of one table.
struct Stat {
    double min;
    double max;
    double sum = 0;
    double squares = 0;

    void add(double v) {
        min = std::min(min, v);
        max = std::max(max, v);
        sum += v;
        squares += v * v;
    }
    double mean(double count) const { return count > 0 ? sum / count : 0; }
    double deviation(double count) const {
        if (count <= 0) return 0;
        const double m = sum / count;
        return std::sqrt(std::max(squares / count - m * m, 0.0));
    }
};

/// Sum over the keys the two maps share of the smaller count, weighted by `weight(key)`.
template <typename Weight>
int sharedCounts(const std::map<std::string, int>& a, const std::map<std::string, int>& b,
                 Weight weight) {
    int total = 0;
    for (const auto& entry : a) {
        const auto other = b.find(entry.first);
        if (other == b.end()) continue;
        total += weight(entry.first) * std::min(entry.second, other->second);
    }
    return total;
}

/// Weight of a neighbourhood key "in/out/label": the lengths of the two relation parts
/// plus one (the key length less its third part, the separators and one).
int relationWeight(const std::string& key) {
    std::size_t first = key.find('/');
    std::size_t second = first == std::string::npos ? std::string::npos : key.find('/', first + 1);
    std::size_t thirdLength = 0;
    if (second != std::string::npos) {
        const std::size_t end = key.find('/', second + 1);
        thirdLength = (end == std::string::npos ? key.size() : end) - second - 1;
    }
    return static_cast<int>(key.size()) - (static_cast<int>(thirdLength) - 1) - 2;
}

double ratio(double value, double divisor) {
    return divisor != 0 ? value / divisor : 0;
}

/// Potential of the pair under similarity type t: the table that type rests on (0 for
/// types without one).
double potentialOf(const MCES& m, int i, int j, int t) {
    switch (t) {
    case 1:
    case 9:
        return m.HENodes[i][j];
    case 2:
        return m.OEdges[i][j];
    case 3:
        return m.ONodes[i][j];
    case 4:
        return m.ONodes[i][j] + m.OEdges[i][j];
    case 5:
        return m.PEdges[i][j];
    case 6:
        return m.PEdges2[i][j];
    case 7:
        return m.PENodes[i][j];
    case 8:
        return m.PENodes2[i][j];
    default:
        return 0;
    }
}

/// Statistics of the fifteen tables over the unmatched pairs: the eight structural tables,
/// then the seven normalised forms.
class PromotionStats {
public:
    explicit PromotionStats(double start) : stats(kTables, Stat{start, -1}) {}

    void add(MCES& m, int i, int j) {
        const PairShape s = shapeOf(m.g1, m.g2, i, j);
        const double raw[kTables] = {m.potential[i][j],
                                     double(m.OEdges[i][j]),
                                     double(m.ONodes[i][j]),
                                     double(m.PEdges[i][j]),
                                     double(m.PEdges2[i][j]),
                                     double(m.PENodes[i][j]),
                                     double(m.PENodes2[i][j]),
                                     double(m.HENodes[i][j]),
                                     ratio(m.OEdges[i][j] * 2.0, s.deg),
                                     ratio(m.ONodes[i][j] * 2.0, s.nb + 2),
                                     ratio(m.PEdges[i][j] * 2.0, s.nb),
                                     ratio(m.PEdges2[i][j] * 2.0, s.deg),
                                     ratio(m.PENodes[i][j] * 2.0, s.nb + 2),
                                     ratio(m.PENodes2[i][j] * 2.0, s.nb + s.deg + 2),
                                     ratio(m.HENodes[i][j] * 2.0, s.h)};
        for (int k = 0; k < kTables; ++k)
            stats[k].add(raw[k]);
        count += 1;
    }

    void store(MCES& m) const {
        double* members[kTables][4] = {
            {&m.minPotential, &m.maxPotential, &m.meanPotential, &m.stdPotential},
            {&m.minOEdges, &m.maxOEdges, &m.meanOEdges, &m.stdOEdges},
            {&m.minONodes, &m.maxONodes, &m.meanONodes, &m.stdONodes},
            {&m.minPEdges, &m.maxPEdges, &m.meanPEdges, &m.stdPEdges},
            {&m.minPEdges2, &m.maxPEdges2, &m.meanPEdges2, &m.stdPEdges2},
            {&m.minPENodes, &m.maxPENodes, &m.meanPENodes, &m.stdPENodes},
            {&m.minPENodes2, &m.maxPENodes2, &m.meanPENodes2, &m.stdPENodes2},
            {&m.minHENodes, &m.maxHENodes, &m.meanHENodes, &m.stdHENodes},
            {&m._minOEdges, &m._maxOEdges, &m._meanOEdges, &m._stdOEdges},
            {&m._minONodes, &m._maxONodes, &m._meanONodes, &m._stdONodes},
            {&m._minPEdges, &m._maxPEdges, &m._meanPEdges, &m._stdPEdges},
            {&m._minPEdges2, &m._maxPEdges2, &m._meanPEdges2, &m._stdPEdges2},
            {&m._minPENodes, &m._maxPENodes, &m._meanPENodes, &m._stdPENodes},
            {&m._minPENodes2, &m._maxPENodes2, &m._meanPENodes2, &m._stdPENodes2},
            {&m._minHENodes, &m._maxHENodes, &m._meanHENodes, &m._stdHENodes}};
        for (int k = 0; k < kTables; ++k) {
            *members[k][0] = stats[k].min;
            *members[k][1] = stats[k].max;
            *members[k][2] = stats[k].mean(count);
            *members[k][3] = stats[k].deviation(count);
        }
    }

    void print(const MCES& m) const {
        static const char* const names[kTables] = {
            "",          "OEdges: ",   "ONodes: ",   "PEdges: ",    "PEdges2: ",
            "PENodes: ", "PENodes2: ", "HENodes: ",  "_OEdges: ",   "_ONodes: ",
            "_PEdges: ", "_PEdges2: ", "_PENodes: ", "_PENodes2: ", "_HENodes: "};
        for (int k = 1; k <= 7; ++k)
            printStat(names[k], stats[k]);
        printStat("\n Total 1: ", stats[0]);
        console() << "\n Total 2: " << m.numG << " | " << m.allG << "\n";
        for (int k = 8; k < kTables; ++k)
            printStat(names[k], stats[k]);
    }

private:
    static constexpr int kTables = 15;
    std::vector<Stat> stats;
    double count = 0;

    void printStat(const char* name, const Stat& s) const {
        console() << name << s.min << " | " << s.max << " | " << s.mean(count) << " | "
                  << s.deviation(count) << "\n";
    }
};

} // namespace

void MCES::setPromoted() {
    const int t = std::abs(param_sim);
    int** tables[] = {connexions, OEdges, ONodes, PEdges, PEdges2, PENodes, PENodes2, HENodes};
    for (int** table : tables) {
        for (int j = 0; j <= n2; ++j)
            table[n1][j] = 0;
        for (int i = 0; i <= n1; ++i)
            table[i][n2] = 0;
    }
    for (int j = 0; j <= n2; ++j)
        potential[n1][j] = 0;
    for (int i = 0; i <= n1; ++i)
        potential[i][n2] = 0;
    numG = 0;
    allG = 0;

    PromotionStats stats(g1->edges);
    for (int i : open1)
        for (int j : open2) {
            promotePair(i, j, t);
            if (potential[i][j] > 0) {
                numG += 1;
                allG += potential[i][j];
                connexions[i][n2] += connexions[i][j];
                connexions[n1][j] += connexions[i][j];
                potential[i][n2] += potential[i][j];
                potential[n1][j] += potential[i][j];
            }
            stats.add(*this, i, j);
        }
    stats.store(*this);
    stats.print(*this);
}

void MCES::promotePair(int i, int j, int t) {
    connexions[i][j] = OEdges[i][j] = ONodes[i][j] = 0;
    PEdges[i][j] = PEdges2[i][j] = PENodes[i][j] = PENodes2[i][j] = HENodes[i][j] = 0;
    potential[i][j] = 0;
    const bool equal = labelsEqual(i, j);
    if (equal) ONodes[i][j] = PENodes[i][j] = PENodes2[i][j] = 1;
    if (equal || node_error <= kLargestPromotableError) {
        for (int k = 1; k < nb_labels; ++k) {
            OEdges[i][j] += std::min(cin1[i][k], cin2[j][k]) + std::min(cout1[i][k], cout2[j][k]);
            connexions[i][j] += cin1[i][k] * cin2[j][k] + cout1[i][k] * cout2[j][k];
        }
        auto one = [](const std::string&) { return 1; };
        auto lengthLessOne = [](const std::string& key) {
            return static_cast<int>(key.size()) - 1;
        };
        if (t == 3 || t == 4 || t == 9)
            ONodes[i][j] += sharedCounts(g1->NLabels[i], g2->NLabels[j], one);
        if (t == 5 || t == 6) {
            PEdges[i][j] += sharedCounts(g1->relations[i], g2->relations[j], one);
            PEdges2[i][j] += sharedCounts(g1->relations[i], g2->relations[j], lengthLessOne);
        }
        if (t == 7 || t == 8) {
            PENodes[i][j] += sharedCounts(g1->Nrelations[i], g2->Nrelations[j], one);
            PENodes2[i][j] += sharedCounts(g1->Nrelations[i], g2->Nrelations[j], relationWeight);
        }
        if (t == 1 || t == 9) HENodes[i][j] = bestNMatches(i, j);
    }
    potential[i][j] = potentialOf(*this, i, j, t);
}

int MCES::bestNMatches(int x, int y) {
    const PairShape s = shapeOf(g1, g2, x, y);
    if (param_sim == 9) {
        const int r = OEdges[x][y] + ONodes[x][y];
        // Pairs far from a full overlap keep the cheap count.
        if (static_cast<double>(r) / (s.nb + s.deg + 2) < 0.5) return r;
    }
    const std::vector<int> rows(g1->neighbors[x].begin(), g1->neighbors[x].end());
    const std::vector<int> cols(g2->neighbors[y].begin(), g2->neighbors[y].end());
    if (rows.empty() || cols.empty()) return 0;

    const int nodesAlike = labelsEqual(x, y) ? 1 : 0;
    std::vector<double> costs(rows.size() * cols.size());
    bool allZero = true;
    bool allNothing = true;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int a = rows[r];
        for (std::size_t c = 0; c < cols.size(); ++c) {
            const int b = cols[c];
            const bool alike = labelsEqual(a, b);
            int cost;
            if (!alike && node_error >= kForbiddingError) {
                cost = node_error;
            } else {
                cost = kNothingKept - nodesAlike;
                if (sameEdge(g1->getEdge(x, a), g2->getEdge(y, b))) --cost;
                if (sameEdge(g1->getEdge(a, x), g2->getEdge(b, y))) --cost;
                if (alike) --cost;
            }
            costs[r * cols.size() + c] = cost;
            if (cost != 0) allZero = false;
            // Only plain cells (4) and forbidden ones (node_error of 1000 or more) keep
            // nothing; a small node_error is an ordinary cost that still keeps 4 - cost.
            if (cost < kNothingKept) allNothing = false;
        }
    }
    const int smaller = static_cast<int>(std::min(rows.size(), cols.size()));
    if (allZero) return kNothingKept * smaller;
    if (allNothing) return 0;

    double kept = 0;
    visitAssignedCosts(costs, rows.size(), cols.size(), [&kept](double cost) {
        if (cost <= kNothingKept) kept += kNothingKept - cost;
    });
    return static_cast<int>(kept);
}
