// The assignment-based matching: a structural likeness score for every node pair, one
// assignment that maximises the total likeness, then its cost and the result files.
#include "match/Match.h"

#include "assign/Hungarian.h"
#include "assign/ShortestPathSolver.h"
#include "util/Console.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// Cost of a pair that has no score; every pair gets one, so this only guards the table.
constexpr double kAbsentPairCost = 1000;

/// A node's rank relative to the capped maximum of its graph; 0 when the graph carries no
/// ranks (an unread graph) so the position term stays defined.
double relativeRank(const Graph* g, int i) {
    if (g->u == nullptr || !(g->maxi_u > 0)) return 0;
    return g->u[i] / g->maxi_u;
}

/// Likeness in [0, 1] of node i of a and node j of b: the mean of their closeness in rank
/// position and in (in-degree, out-degree) profile.
float structuralScore(const Graph* a, int i, const Graph* b, int j) {
    const double in1 = static_cast<double>(a->vertex(i)->in.size());
    const double out1 = static_cast<double>(a->vertex(i)->out.size());
    const double in2 = static_cast<double>(b->vertex(j)->in.size());
    const double out2 = static_cast<double>(b->vertex(j)->out.size());
    const double norm1 = std::sqrt(in1 * in1 + out1 * out1);
    const double norm2 = std::sqrt(in2 * in2 + out2 * out2);
    const double norm12 = std::sqrt((in1 - in2) * (in1 - in2) + (out1 - out2) * (out1 - out2));
    const double position = std::max(0.0, 1 - std::fabs(relativeRank(a, i) - relativeRank(b, j)));
    const double larger = std::max(norm1, norm2);
    const double degree = larger == 0 ? 0 : std::max(0.0, 1 - norm12 / larger);
    return static_cast<float>((position + degree) / 2);
}

/// Step 1: the score of every pair into `scores` (rows appended in order, so each insertion
/// lands at the end of its row).
void fillScores(const Graph* a, const Graph* b, SparseMatrix<float>& scores) {
    const int n1 = a->vertices;
    const int n2 = b->vertices;
    scores.reinit(static_cast<unsigned>(n1), static_cast<unsigned>(n2));
    for (int i = 0; i < n1; ++i) {
        auto& row = scores.mat[static_cast<unsigned>(i)];
        for (int j = 0; j < n2; ++j)
            row.emplace_hint(row.end(), static_cast<unsigned>(j), structuralScore(a, i, b, j));
    }
}

/// Step 2: the cost of a pair is its distance from full likeness, 1 - score, so that the
/// minimising solver pairs the nodes that are most alike.
std::vector<double> likenessCosts(SparseMatrix<float>& scores, int n1, int n2) {
    std::vector<double> costs(static_cast<size_t>(n1) * static_cast<size_t>(n2), kAbsentPairCost);
    for (const auto& [i, row] : scores.mat) {
        if (static_cast<int>(i) >= n1) continue;
        for (const auto& [j, score] : row)
            if (static_cast<int>(j) < n2) costs[static_cast<size_t>(i) * n2 + j] = 1.0 - score;
    }
    return costs;
}

/// Runs one solver and reads the pairs from its mask: row i goes to the column whose cell
/// of C holds 0, or to none.
template <typename Solver>
std::vector<int> solveWith(const std::vector<double>& costs, int n1, int n2) {
    std::vector<const double*> rows(static_cast<size_t>(n1));
    for (int i = 0; i < n1; ++i)
        rows[static_cast<size_t>(i)] = costs.data() + static_cast<size_t>(i) * n2;
    Solver solver;
    solver.solve(rows.data(), n1, n2);
    std::vector<int> partner(static_cast<size_t>(n1), Match::kNoPartner);
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j)
            if (solver.C[i][j] == 0) partner[static_cast<size_t>(i)] = j;
    return partner;
}

/// Step 3: the assignment. Large squares go to the shortest-path solver; small ones keep
/// the step method (both give the same optimal total).
std::vector<int> assign(const std::vector<double>& costs, int n1, int n2) {
    if (n1 == 0 || n2 == 0) return std::vector<int>(static_cast<size_t>(n1), Match::kNoPartner);
    if (std::max(n1, n2) > kShortestPathThreshold)
        return solveWith<ShortestPathSolver>(costs, n1, n2);
    return solveWith<Hungarian>(costs, n1, n2);
}

/// Step 4's figures: the scores of the assigned pairs and of the pairs of equal labels.
struct ScoreSums {
    float assigned = 0;
    float sameLabel = 0;
};

/// Sums in single precision, as the scores are stored.
ScoreSums scoreSums(const Graph* a, const Graph* b, const SparseMatrix<float>& scores,
                    const std::vector<int>& partner) {
    ScoreSums sums;
    for (const auto& [i, row] : scores.mat) {
        const std::string& label1 = a->V[i]->label;
        const int j0 = partner[i];
        for (const auto& [j, score] : row) {
            if (static_cast<int>(j) == j0) sums.assigned += score;
            if (b->V[j]->label == label1) sums.sameLabel += score;
        }
    }
    return sums;
}

} // namespace

int Match::hungarian(std::string sim_path, int sense) {
    // The scores come from the graphs alone: neither the similarity file nor the sense is read.
    (void)sim_path;
    (void)sense;
    const int n1 = order(true);
    const int n2 = order(false);
    // The pairs seeded at construction are dropped: the matching is the assignment only.
    std::fill(M12, M12 + n1, kNoPartner);
    std::fill(bestMatch, bestMatch + n1, kNoPartner);
    std::fill(M21, M21 + n2, kNoPartner);
    std::fill(bestMatch2, bestMatch2 + n2, kNoPartner);

    fillScores(g1, g2, *_M);
    const std::vector<int> partner = assign(likenessCosts(*_M, n1, n2), n1, n2);

    // Step 4: report sums.
    const ScoreSums sums = scoreSums(g1, g2, *_M, partner);
    console() << sums.assigned << "\t" << sums.sameLabel << "\n";

    // Step 5: the matching, in row order.
    for (int i = 0; i < n1; ++i) {
        const int j = partner[static_cast<size_t>(i)];
        if (j == kNoPartner) continue;
        M12[i] = bestMatch[i] = j;
        M21[j] = bestMatch2[j] = i;
        console() << "[" << g1->vertex(i)->label << "," << g2->vertex(j)->label << "]\t";
    }

    // Step 6: the reports are priced in the run's own cost family, like the search's.
    bestCost = cost(cost_mode);
    console() << "\nMatch -- Cost=" << bestCost << "\n";
    output(cost_mode);
    return 0;
}
