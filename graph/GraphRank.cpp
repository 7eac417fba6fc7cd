// Node ranking: the weighted random-walk rank with its hub, norm and order statistics, and
// the per-label rank vectors.
#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/Graph.h"

namespace {

/// Safety net for the walk: the iteration contracts by (1 - c) per step and ends within a
/// few hundred steps; only weights of mixed sign from "config.txt" could keep it going.
constexpr int kMaxWalkSteps = 100000;

/// Summary of one score vector over the nodes.
struct ScoreStats {
    double min = 0;
    double mean = 0;
    double std = 0;
    /// mean + 2 deviations, lowered to max when it exceeds it.
    double capped = 0;
    double max = 0;
};

ScoreStats statsOf(const double* v, int n) {
    ScoreStats s;
    if (n <= 0) return s;
    s.min = s.max = v[0];
    double sum = 0;
    double squares = 0;
    for (int i = 0; i < n; i++) {
        s.min = std::min(s.min, v[i]);
        s.max = std::max(s.max, v[i]);
        sum += v[i];
        squares += v[i] * v[i];
    }
    s.mean = sum / n;
    // Rounding can leave a tiny negative variance for equal scores.
    s.std = std::sqrt(std::max(0.0, squares / n - s.mean * s.mean));
    s.capped = std::min(s.mean + 2 * s.std, s.max);
    return s;
}

/// Ranks of a vector: for each entry the number of entries strictly larger than it.
void countLarger(const double* v, int n, int* out) {
    std::vector<double> sorted(v, v + n);
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < n; i++) {
        auto firstLarger = std::upper_bound(sorted.begin(), sorted.end(), v[i]);
        out[i] = static_cast<int>(sorted.end() - firstLarger);
    }
}

void normalise(double* x, int n) {
    double sum = 0;
    for (int i = 0; i < n; i++)
        sum += x[i];
    if (sum == 0) return;
    for (int i = 0; i < n; i++)
        x[i] /= sum;
}

} // namespace

double* Graph::T(double* x, int n) {
    double* r = new double[n];
    for (int i = 0; i < n; i++)
        r[i] = c / n;
    int nodes = std::min(n, static_cast<int>(V.size()));
    for (int p = 0; p < nodes; p++) {
        Vertex* source = V[p];
        // A node whose arcs all weigh 0 passes no mass on, like a node without arcs.
        if (source->sum_out == 0) continue;
        for (Edge* e : source->out) {
            if (e->to < 0 || e->to >= n) continue;
            r[e->to] += (1 - c) * static_cast<double>(e->label_weight) / source->sum_out * x[p];
        }
    }
    return r;
}

double* Graph::computeU(double epsilon, int n) {
    if (n <= 0) return nullptr;
    double* x = new double[n];
    for (int i = 0; i < n; i++)
        x[i] = 1.0 / n;
    double bound = c * epsilon / (1 - c);
    for (int step = 0; step < kMaxWalkSteps; step++) {
        double* y = x;
        x = T(y, n);
        double change = specialNorm(x, y, n);
        delete[] y;
        if (change < bound || std::isnan(change)) break;
    }
    normalise(x, n);
    return x;
}

void Graph::nodeRank(double jump, double epsilon) {
    c = jump;
    int n = static_cast<int>(V.size());
    // An empty graph has no ranks: every per-node array stays null.
    if (n == 0) return;
    delete[] u;
    u = computeU(epsilon, n);

    delete[] hub;
    hub = new double[n];
    if (norm == nullptr) norm = new double[n];
    for (int i = 0; i < n; i++) {
        hub[i] = 0;
        for (Edge* e : V[i]->out)
            if (e->to >= 0 && e->to < n) hub[i] += u[e->to];
        double outArcs = static_cast<double>(V[i]->out.size());
        double inArcs = static_cast<double>(V[i]->in.size());
        norm[i] = std::sqrt(outArcs * outArcs + inArcs * inArcs);
    }

    ScoreStats su = statsOf(u, n);
    min_u = su.min;
    max_u = su.max;
    mean_u = su.mean;
    std_u = su.std;
    maxi_u = su.capped;
    ScoreStats sn = statsOf(norm, n);
    min_norm = sn.min;
    max_norm = sn.max;
    mean_norm = sn.mean;
    std_norm = sn.std;
    maxi_norm = sn.capped;
    sortNodes();
}

void Graph::sortNodes() {
    int n = static_cast<int>(V.size());
    if (n == 0 || u == nullptr || norm == nullptr) return;
    delete[] rank;
    delete[] _rank;
    delete[] level;
    rank = new int[n];
    _rank = new int[n];
    level = new int[n];
    // Sorting once gives the same counts as comparing every pair, in N log N.
    countLarger(u, n, rank);
    countLarger(norm, n, _rank);
    std::fill(level_count, level_count + kPercentileClasses, 0);
    for (int i = 0; i < n; i++) {
        if (rank[i] == 0) max_u = u[i];
        if (_rank[i] == 0) max_norm = norm[i];
        level[i] = static_cast<int>(static_cast<long long>(rank[i]) * kPercentileClasses / n);
        level_count[level[i]] += 1;
    }
}

double* Graph::T2(double* x, int n, int label) {
    double* r = new double[n];
    for (int i = 0; i < n; i++)
        r[i] = c / n;
    int nodes = std::min({n, static_cast<int>(V.size()), static_cast<int>(tableRows)});
    if (c_out == nullptr || label < 0 || label >= tableWidth) return r;
    const char digit = static_cast<char>('0' + label);
    for (int p = 0; p < nodes; p++) {
        int arcs = c_out[p][label];
        if (arcs <= 0) continue;
        for (Edge* e : V[p]->out) {
            if (e->to < 0 || e->to >= n) continue;
            // Each folded arc of this label carries an equal share of the source's mass.
            for (char ch : e->label)
                if (ch == digit) r[e->to] += (1 - c) * x[p] / arcs;
        }
    }
    return r;
}

double** Graph::computeU2(double epsilon, int n) {
    double** vectors = new double*[nb_labels + 1];
    vectors[0] = nullptr;
    double bound = c * epsilon / (1 - c);
    for (int k = 1; k <= nb_labels; k++) {
        double* x = new double[n];
        for (int i = 0; i < n; i++)
            x[i] = 1.0 / n;
        for (int step = 0; step < kMaxWalkSteps; step++) {
            double* y = x;
            x = T2(y, n, k);
            double change = specialNorm(x, y, n);
            delete[] y;
            if (change < bound || std::isnan(change)) break;
        }
        normalise(x, n);
        vectors[k] = x;
    }
    return vectors;
}

void Graph::nodeRank2(double jump, double epsilon) {
    c = jump;
    int n = static_cast<int>(V.size());
    if (n == 0) return;
    // The per-label walk needs the per-label arc counts of the current arcs.
    if (c_out == nullptr || tableRows != V.size() || tableWidth < nb_labels + 1)
        fillNeighborsAndRelations();
    releaseLabelRanks();
    rankedLabels = nb_labels + 1;
    uu = computeU2(epsilon, n);
    uu_stats = new double*[rankedLabels];
    uu_stats[0] = nullptr;
    for (int k = 1; k < rankedLabels; k++) {
        min_u = max_u = mean_u = std_u = maxi_u = 0;
        ScoreStats s = statsOf(uu[k], n);
        min_u = s.min;
        max_u = s.max;
        mean_u = s.mean;
        std_u = s.std;
        maxi_u = s.capped;
        uu_stats[k] = new double[5]{s.min, s.mean, s.std, s.capped, s.max};
    }
}
