// The evaluation start of the tabu search: measures how well the greedy matcher's node
// similarity ranks the reference pairs, by matching greedily along similarity bands, appends
// the figures to "sim_results.csv" and ends the process.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "match/Match.h"
#include "match/SearchSupport.h"
#include "mces/MCES.h"
#include "util/Console.h"
#include "util/OutputRecord.h"
#include "util/Random.h"
#include "util/Utilities.h"

namespace {

/// Similarity is handled in steps of 1 / kGranularity (histogram buckets, band bounds).
constexpr int kGranularity = 10000;
/// Bands stop at this lower bound: pairs of similarity 0.01 or less are never picked.
constexpr int kLowestBand = 100;
/// Cut-offs, as shares of the first graph's order, at which the rank lists are scored.
constexpr double kCutOffs[] = {1.0 / 100, 1.0 / 50, 1.0 / 20, 1.0 / 10, 1.0 / 5, 1.0 / 2};
constexpr int kCutOffCount = 6;
constexpr int kFiguresPerCutOff = 4;
constexpr int kFiguresPerList = kCutOffCount * kFiguresPerCutOff;
/// Name fields of a benchmark graph (split at "_") copied into the result line.
constexpr size_t kFirstNameField = 1;
constexpr size_t kLastNameField = 10;
constexpr float kBestPairsOnly = 0;
constexpr const char* kSimResultsFile = "sim_results.csv";

bool hasEdges(const Graph* g, int n) {
    return !g->vertex(n)->edges.empty();
}

/// The rank lists: positions (from 1) of the pairs that agree with the reference, among the
/// sorted candidates (list 0) and among the pairs actually matched (list 1).
struct RankLists {
    std::vector<long> candidates;
    std::vector<long> picks;
};

class BandMatcher {
public:
    BandMatcher(Match& match, const MCES* greedy) : m(match), simil(greedy->simil) {}

    /// Greedy matching of the unmatched pairs with a similarity in (low, high].
    void matchBand(int low, int high, RankLists& ranks);

private:
    Match& m;
    float** simil;
    long position = 0;
    long matched = 0;

    bool free1(int x) const { return m.M12[x] == Match::kNoPartner; }
    bool free2(int y) const { return m.M21[y] == Match::kNoPartner; }
    /// Among the free partners of x and of y with exactly similarity s, the pair of lowest
    /// cost change, ties drawn uniformly. Returns the cost change.
    double bestTiedPair(int x, int y, float s, int& bx, int& by);
    void consider(int x, int y, double& best, int& ties, int& bx, int& by);
};

void BandMatcher::consider(int x, int y, double& best, int& ties, int& bx, int& by) {
    const double delta = m.computeDelta(m.cost_mode, x, y);
    if (ties == 0 || delta < best) {
        best = delta;
        ties = 1;
        bx = x;
        by = y;
        return;
    }
    if (delta > best) return;
    ties++;
    if (1.0 / ties >= static_cast<double>(randDraw()) / kRandMax) {
        bx = x;
        by = y;
    }
}

double BandMatcher::bestTiedPair(int x, int y, float s, int& bx, int& by) {
    double best = 0;
    int ties = 0;
    for (int other = 0; other < m.order(false); other++)
        if (free2(other) && simil[x][other] == s) consider(x, other, best, ties, bx, by);
    for (int other = 0; other < m.order(true); other++)
        if (other != x && free1(other) && simil[other][y] == s)
            consider(other, y, best, ties, bx, by);
    return best;
}

void BandMatcher::matchBand(int low, int high, RankLists& ranks) {
    std::vector<paire> band;
    for (int x = 0; x < m.order(true); x++) {
        if (!hasEdges(m.g1, x) || !free1(x)) continue;
        for (int y = 0; y < m.order(false); y++) {
            const double s = simil[x][y];
            if (!hasEdges(m.g2, y) || !free2(y)) continue;
            if (s > static_cast<double>(low) / kGranularity &&
                s <= static_cast<double>(high) / kGranularity)
                band.push_back(paire{static_cast<unsigned>(x), static_cast<unsigned>(y), s});
        }
    }
    band = sort_paires(band);
    for (const paire& p : band) {
        const int x = static_cast<int>(p.x1);
        const int y = static_cast<int>(p.x2);
        position++;
        if (m.kbt[x] == y) ranks.candidates.push_back(position);
        if (!free1(x) || !free2(y)) continue;
        int bx = x;
        int by = y;
        const double delta = bestTiedPair(x, y, simil[x][y], bx, by);
        if (delta > 0) continue;
        m.M12[bx] = m.bestMatch[bx] = by;
        m.M21[by] = m.bestMatch2[by] = bx;
        m.numberOfMatchs++;
        if (m.g1->vertex(bx)->label == m.g2->vertex(by)->label) m.nb_matched++;
        m.currentCost += delta;
        matched++;
        if (m.kbt[bx] == by) ranks.picks.push_back(matched);
    }
}

/// For each cut-off c: the agreeing entries ranked within c, that count over c, over the
/// number of reference pairs, and over all agreeing entries of the list.
void scoreRanks(const std::vector<long>& ranks, int n1, long referencePairs, double* figures) {
    for (int k = 0; k < kCutOffCount; k++) {
        const long cut = std::max(1L, static_cast<long>(kCutOffs[k] * n1));
        long within = 0;
        for (long r : ranks)
            if (r <= cut) within++;
        double* f = figures + k * kFiguresPerCutOff;
        f[0] = static_cast<double>(within);
        f[1] = static_cast<double>(within) / cut;
        f[2] = referencePairs > 0 ? static_cast<double>(within) / referencePairs : 0;
        f[3] = ranks.empty() ? 0 : static_cast<double>(within) / ranks.size();
    }
}

void fillHistogram(Match& m, const MCES* greedy) {
    m.granul_distrib = kGranularity;
    delete[] m.sim_distrib;
    m.sim_distrib = new int[kGranularity + 1]();
    for (int x = 0; x < m.order(true); x++)
        for (int y = 0; y < m.order(false); y++) {
            const double s = greedy->simil[x][y];
            const int bucket = static_cast<int>(s * m.granul_distrib);
            m.sim_distrib[std::max(0, std::min(kGranularity, bucket))]++;
        }
}

void appendResultLine(Match& m, int discrim) {
    std::vector<std::string> items{std::to_string(discrim), m.g1->name};
    std::vector<std::string>* fields = splitString(m.g1->name, "_");
    auto field = [fields](size_t i) {
        return fields != nullptr && i < fields->size() ? (*fields)[i] : std::string();
    };
    for (size_t i = kFirstNameField; i <= kLastNameField; i++)
        items.push_back(field(i));
    items.push_back(field(kLastNameField + 1).substr(0, 1));
    delete fields;
    for (int count : {m.order(true), m.order(false), m.g1->edges, m.g2->edges})
        items.push_back(std::to_string(count));
    for (int list = 0; list < 2; list++)
        for (int k = 0; k < kFiguresPerList; k++)
            items.push_back(to_string(m.sim_eval[list][k]));

    std::ofstream out(kSimResultsFile, std::ios::app);
    if (!out.is_open()) {
        console() << "\n Cannot append to " << kSimResultsFile << "\n";
        noteUnwrittenFile(kSimResultsFile);
    }
    for (size_t i = 0; i < items.size(); i++)
        out << (i > 0 ? "," : "") << items[i];
    out << "\n";
}

} // namespace

void runEvaluationStart(Match& m, int alg, int discrim) {
    auto* greedy = new MCES(alg, discrim, m.g1, m.g2, kBestPairsOnly, m.randomSeed,
                            m.costs->node_error, false);
    fillHistogram(m, greedy);
    storeSimilarity(m, greedy);
    m.sim_eval = new double*[2];
    m.sim_eval[0] = new double[kFiguresPerList]();
    m.sim_eval[1] = new double[kFiguresPerList]();

    RankLists ranks;
    BandMatcher matcher(m, greedy);
    for (int high = kGranularity; high > kLowestBand;) {
        const int low = high > 9 ? kLowestBand : high - 1;
        matcher.matchBand(low, high, ranks);
        high = low;
    }
    releaseGreedy(greedy);

    long referencePairs = 0;
    for (int x = 0; x < m.order(true); x++)
        if (m.kbt[x] != Match::kNoPartner) referencePairs++;
    scoreRanks(ranks.candidates, m.order(true), referencePairs, m.sim_eval[0]);
    scoreRanks(ranks.picks, m.order(true), referencePairs, m.sim_eval[1]);
    for (int list = 0; list < 2; list++) {
        console() << "\n SIM EVAL " << list << " :";
        for (int k = 0; k < kFiguresPerList; k++)
            console() << "\t" << m.sim_eval[list][k];
    }
    console() << "\n";
    appendResultLine(m, discrim);
    console().flush();
    std::exit(1);
}
