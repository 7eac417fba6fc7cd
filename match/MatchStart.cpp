// The starting matchings of the tabu search (empty, greedy edge-subgraph, assignments on
// similarity or on edit costs, a seeded greedy matching) and the first filling of the index.
#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "assign/Hungarian.h"
#include "match/FastFind.h"
#include "match/Match.h"
#include "match/SearchSupport.h"
#include "mces/MCES.h"
#include "mces/MCESTables.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/LineReader.h"
#include "util/Random.h"
#include "util/Utilities.h"

namespace {

/// Start codes of initType.
constexpr double kEmptyStart = 1;
constexpr double kGreedyStart = 2;
constexpr double kEditCostAssignmentStart = 3;
constexpr double kSimilarityAssignmentStart = 5;
constexpr double kEvaluationStart = 0;
/// The greedy matcher's candidate list width used by every start: only the best pairs.
constexpr float kBestPairsOnly = 0;
/// Assignment price of a pair of different labels in the similarity assignment.
constexpr double kDifferentLabelPrice = 10000;
/// A label penalty of this size or more forbids pairs of different labels.
constexpr double kStrictLabels = 1000;
/// Lines of the reference file before the pairs.
constexpr int kReferenceHeaderLines = 6;
constexpr const char* kReferenceFolder = "./datasets/random/";
constexpr double kInitialMinAll = 500000;

bool sameLabels(const Match& m, int x, int y) {
    return m.g1->V[static_cast<size_t>(x)]->label == m.g2->V[static_cast<size_t>(y)]->label;
}

/// Whether the label penalty allows matching x with y.
bool labelsAllowed(const Match& m, int x, int y) {
    return m.costs->node_error < kStrictLabels || sameLabels(m, x, y);
}

void clearMatching(Match& m) {
    for (int x = 0; x < m.order(true); x++)
        m.M12[x] = Match::kNoPartner;
    for (int y = 0; y < m.order(false); y++)
        m.M21[y] = Match::kNoPartner;
}

void pair(Match& m, int x, int y) {
    m.M12[x] = y;
    m.M21[y] = x;
}

void copyGreedyMatching(Match& m, const MCES* greedy) {
    for (int x = 0; x < m.order(true); x++)
        m.M12[x] = greedy->M12[x];
    for (int y = 0; y < m.order(false); y++)
        m.M21[y] = greedy->M21[y];
}

/// Row pointers of a dense matrix, as the assignment solver reads it.
std::vector<const double*> rowPointers(const std::vector<std::vector<double>>& matrix) {
    std::vector<const double*> rows;
    rows.reserve(matrix.size());
    for (const auto& row : matrix)
        rows.push_back(row.data());
    return rows;
}

// ---- the starts ----------------------------------------------------------------------

void greedyStart(Match& m, int alg, int discrim) {
    const long start = cpuMillis();
    auto* greedy =
        new MCES(alg, discrim, m.g1, m.g2, kBestPairsOnly, m.randomSeed, m.costs->node_error, true);
    m.greedy_time = static_cast<double>(cpuMillis() - start);
    copyGreedyMatching(m, greedy);
    // Pairs with nothing in common that the greedy matcher can see are closed to the search.
    for (int x = 0; x < m.order(true); x++)
        for (int y = 0; y < m.order(false); y++)
            if (greedy->ONodes[x][y] == -greedy->OEdges[x][y] && m.movable(x, y))
                m.updateMoves(x, y, false);
    storeSimilarity(m, greedy);
    releaseGreedy(greedy);
}

void similarityAssignmentStart(Match& m, int alg, int discrim) {
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    auto* greedy = new MCES(alg, discrim, m.g1, m.g2, kBestPairsOnly, m.randomSeed,
                            m.costs->node_error, false);
    std::vector<std::vector<double>> matrix(static_cast<size_t>(n1),
                                            std::vector<double>(static_cast<size_t>(n2)));
    for (int x = 0; x < n1; x++)
        for (int y = 0; y < n2; y++)
            matrix[x][y] = sameLabels(m, x, y) ? 1 - greedy->simil[x][y] : kDifferentLabelPrice;
    storeSimilarity(m, greedy);
    releaseGreedy(greedy);

    double optimum = 0;
    if (n1 > 0 && n2 > 0) {
        Hungarian solver;
        solver.solve(rowPointers(matrix).data(), n1, n2);
        for (int x = 0; x < n1; x++) {
            const int y = solver.results[x];
            if (y == -1) continue;
            optimum += matrix[x][y];
            if (y < n2 && labelsAllowed(m, x, y)) pair(m, x, y);
        }
    }
    console() << "\n\n OPTIMUM: " << optimum << "\n\n";
}

/// Square matrix of size N1 + N2: substitution scores, deletion diagonal, insertion
/// diagonal, and a free lower-right block.
std::vector<std::vector<double>> editCostMatrix(Match& m, bool withNodeCosts) {
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    const size_t size = static_cast<size_t>(n1 + n2);
    std::vector<std::vector<double>> matrix(size, std::vector<double>(size, 0));
    const double nodeError = m.costs->node_error;
    for (int x = 0; x < n1; x++) {
        Vertex* vx = m.g1->V[static_cast<size_t>(x)];
        for (int y = 0; y < n2; y++) {
            const auto ux = static_cast<unsigned>(x);
            const auto uy = static_cast<unsigned>(y);
            double entry = m._M->exists(ux, uy) ? (*m._M)(ux, uy) : 0;
            if (nodeError >= kStrictLabels && !sameLabels(m, x, y)) entry = nodeError;
            matrix[x][y] = entry;
        }
        for (int k = 0; k < n1; k++)
            matrix[x][n2 + k] = Match::kForbiddenCell;
        matrix[x][n2 + x] =
            vx->edges.size() / 2.0 + (withNodeCosts ? m.costs->cnd(m.cost_mode, vx) : 0);
    }
    for (int y = 0; y < n2; y++) {
        Vertex* vy = m.g2->V[static_cast<size_t>(y)];
        for (int k = 0; k < n2; k++)
            matrix[n1 + y][k] = Match::kForbiddenCell;
        matrix[n1 + y][y] =
            vy->edges.size() / 2.0 + (withNodeCosts ? m.costs->cni(m.cost_mode, vy) : 0);
    }
    return matrix;
}

void editCostAssignmentStart(Match& m) {
    const double errors = m.costs->node_error * m.costs->lab_error * m.costs->str_error;
    if (errors == 0) m.fillSimMatrixH();
    if (errors == 1) m.fillSimMatrixH1();
    console() << "\n RB MATCH MATRIX FILLED ";
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    const int size = n1 + n2;
    const std::vector<std::vector<double>> matrix = editCostMatrix(m, errors == 1);
    double optimum = 0;
    if (size > 0) {
        Hungarian solver;
        solver.solve(rowPointers(matrix).data(), size, size);
        for (int x = 0; x < n1; x++) {
            const int y = solver.results[x];
            if (y == -1) continue;
            optimum += matrix[x][y];
            if (y < n2 && labelsAllowed(m, x, y)) pair(m, x, y);
        }
    }
    console() << "\n\n Optimum " << optimum << " -- " << m.cost(m.cost_mode) << "\n\n";
}

void seededGreedyStart(Match& m, int alg, int discrim) {
    std::vector<int> seed = sampleReference(m, m.initType);
    const long start = cpuMillis();
    auto* greedy = new MCES(alg, discrim, m.g1, m.g2, kBestPairsOnly, m.randomSeed, seed.data(),
                            m.costs->node_error);
    m.greedy_time = static_cast<double>(cpuMillis() - start);
    copyGreedyMatching(m, greedy);
    releaseGreedy(greedy);
}

// ---- reference matching and statistics ------------------------------------------------

/// Reads the benchmark reference "./datasets/random/<graph 1 name less its last
/// character>.csv" into kbt; a missing file leaves kbt all -1.
void readReference(Match& m) {
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    if (m.kbt == nullptr) m.kbt = new int[n1 > 0 ? n1 : 1];
    for (int x = 0; x < n1; x++)
        m.kbt[x] = Match::kNoPartner;
    const std::string& name = m.g1->name;
    const std::string path =
        kReferenceFolder + (name.empty() ? name : name.substr(0, name.size() - 1)) + ".csv";
    std::ifstream in(path);
    LineReader lines(in, path);
    while (in.is_open() && lines.next()) {
        if (lines.lineNumber() <= kReferenceHeaderLines) continue;
        int x = -1;
        int y = -1;
        const bool read =
            lines.size() >= 2 && from_string(lines.field(0), x) && from_string(lines.field(1), y);
        if (!read || x < 0 || x >= n1 || y < Match::kNoPartner || y >= n2) {
            lines.report("expected two node numbers within the graphs");
            continue;
        }
        if (y != Match::kNoPartner && !labelsAllowed(m, x, y)) continue;
        m.kbt[x] = y;
    }
    console() << "\n MU ACQUIRED \n";
}

/// Step 4: counts the start's matched first-graph nodes.
void countStartMatches(Match& m) {
    console() << "\n Count Matches ";
    for (int x = 0; x < m.order(true); x++) {
        if (m.M12[x] == Match::kNoPartner) continue;
        m.numberOfMatchs += 1;
        m.nb_matched += 1;
        if (m.g1->V[static_cast<size_t>(x)]->edges.empty()) m.nb_matched_isolated += 1;
    }
    console() << "\t ...Done\n";
}

bool relevant(const bool* flags, int n) {
    return flags == nullptr || flags[n];
}

/// Step 8: evaluates every valid pair and files it. Only movable pairs of plain nodes can
/// be valid, so the movable table is walked (rows and columns ascending, the same order as
/// visiting every pair) instead of every pair of nodes.
void fillIndex(Match& m) {
    console() << "\n FIRST UPDATES";
    std::vector<std::pair<int, int>> candidates;
    for (const auto& row : m.move->mat)
        for (const auto& entry : row.second) {
            const auto x = static_cast<int>(row.first);
            const auto y = static_cast<int>(entry.first);
            if (!entry.second || x >= m.order(true) || y >= m.order(false)) continue;
            if (relevant(m.relevant1, x) && relevant(m.relevant2, y)) candidates.emplace_back(x, y);
        }
    for (const auto& [x, y] : candidates) {
        if (!m.isValidMove(x, y)) continue;
        const auto ux = static_cast<unsigned>(x);
        const auto uy = static_cast<unsigned>(y);
        const bool fresh = !m.M->exists(ux, uy);
        cell& c = (*m.M)(ux, uy);
        if (fresh) {
            c.x = x;
            c.y = y;
            c.delta = -1;
            c.layer = -1;
            c.tabu = 0;
        }
        c.delta = m.computeDelta(m.cost_mode, x, y);
        c.delta_m = -c.delta;
        // A start pair whose separation would raise the cost is kept for the whole run.
        if (m.M12[x] == y && m.M21[y] == x && c.delta_m < 0) c.tabu = Match::kLockedTabu;
        m.ff->insert(&c, false);
    }
}

void reportStart(Match& m) {
    m.recomputeAll = false;
    int unmatched = 0;
    for (int x = 0; x < m.order(true); x++) {
        if (m.M12[x] != Match::kNoPartner) continue;
        unmatched++;
        if (m.g1->V[static_cast<size_t>(x)]->edges.empty()) m.nb_unmatched_isolated++;
    }
    console() << "\nMatched : " << m.numberOfMatchs << " Same Name : " << m.nb_matched << "("
              << m.nb_matched_isolated << ")"
              << "\tOthers : " << unmatched << "(" << m.nb_unmatched_isolated
              << ") === " << m.currentCost << "\n";
}

/// Step 3: builds the start chosen by initType. The empty starts keep the pairs seeded along
/// the containment tree; the starts that build a whole matching begin from a cleared one.
void buildStart(Match& m, int alg, int discrim) {
    const double init = m.initType;
    const bool fraction = init > 0 && init < 1;
    if (init == kGreedyStart || init == kSimilarityAssignmentStart ||
        init == kEditCostAssignmentStart || fraction || init == kEvaluationStart)
        clearMatching(m);
    if (init == kGreedyStart)
        greedyStart(m, alg, discrim);
    else if (init == kSimilarityAssignmentStart)
        similarityAssignmentStart(m, alg, discrim);
    else if (init == kEditCostAssignmentStart)
        editCostAssignmentStart(m);
    else if (fraction)
        seededGreedyStart(m, alg, discrim);
    else if (init == kEvaluationStart)
        runEvaluationStart(m, alg, discrim);
}

} // namespace

/// A random share `fraction` of the reference pairs, drawn by selection sampling so that
/// each reference pair is kept with equal chance; one draw per first-graph node. A node
/// without a reference partner has acceptance 0, so only a draw of exactly 0 "keeps" it: it
/// stays unmatched but uses up one of the wanted pairs, as any kept node does.
std::vector<int> sampleReference(Match& m, double fraction) {
    const int n1 = m.order(true);
    std::vector<int> seed(static_cast<size_t>(n1), Match::kNoPartner);
    if (m.kbt == nullptr) return seed;
    int wanted = static_cast<int>(fraction * n1);
    int count = 0;
    for (int x = 0; x < n1; x++) {
        const double a = static_cast<double>(randDraw()) / kRandMax;
        const bool inReference = m.kbt[x] != Match::kNoPartner;
        const double p = inReference ? static_cast<double>(wanted) / (n1 - x) : 0;
        if (a > p) continue;
        seed[static_cast<size_t>(x)] = m.kbt[x];
        wanted--;
        count++;
        console() << "\n" << count << "\t" << x << "=" << seed[static_cast<size_t>(x)];
    }
    return seed;
}

void releaseGreedy(MCES* greedy) {
    delete[] greedy->M12;
    delete[] greedy->M21;
    deleteTable(greedy->simil);
    deleteTable(greedy->OEdges);
    deleteTable(greedy->ONodes);
    deleteTable(greedy->HENodes);
    delete greedy;
}

void storeSimilarity(Match& m, const MCES* greedy) {
    for (int x = 0; x < m.order(true); x++)
        for (int y = 0; y < m.order(false); y++)
            if (greedy->simil[x][y] != 0)
                (*m._M)(static_cast<unsigned>(x), static_cast<unsigned>(y)) = greedy->simil[x][y];
}

void Match::initGammaMatrix_v2(int alg, int discrim) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr || M12 == nullptr) return;
    minAll = kInitialMinAll;
    nb_labels = std::min(g1->nb_labels, g2->nb_labels) + 1;
    console() << "\n INIT " << order(true) << "/" << order(false) << " \n";
    greedy_time = 0;
    nb_matched = nb_matched_isolated = nb_unmatched_isolated = 0;
    resetChosenCell(*this);
    computeSim = _computeSim = 0;

    if (initType != kEmptyStart) readReference(*this);
    buildStart(*this, alg, discrim);
    countStartMatches(*this);
    if (initType != kEmptyStart) init_numberOfGoodMatchs = agreeingWithReference(*this);

    console() << "\n Before Cost Computation";
    currentCost = cost(cost_mode);
    console() << "\n\n **********" << currentCost << "(" << init_numberOfGoodMatchs << ")"
              << "*************\n\n";
    initScore = currentCost;
    bestCost = currentCost;
    for (int x = 0; x < order(true); x++)
        bestMatch[x] = M12[x];
    for (int y = 0; y < order(false); y++)
        bestMatch2[y] = M21[y];
    console() << "\n M1D Before Init \n"
              << "\n\n Filter"
              << "\t ...Done \n";

    fillIndex(*this);
    reportStart(*this);
}
