// Greedy edge-subgraph matcher: construction, table set-up, the greedy loop and the choice
// of the next pair (scan of every unmatched pair, or the move index in fast mode).
#include "mces/MCES.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "graph/Graph.h"
#include "match/FastFind.h"
#include "mces/MCESTables.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/Random.h"

namespace {

/// Feeding the move index stops after this much processor time.
constexpr double kFeedSeconds = 60.0;
/// Most layers the index spends on non-negative keys: every filing scans the layers, so
/// their number is bounded even for graphs with very high degrees.
constexpr int kMaxGainLayers = 128;
/// Most layers for negative keys (label penalties); those pairs are rarely played.
constexpr int kMaxPenaltyLayers = 16;
/// Label penalties deeper than this are clamped when sizing the negative layers.
constexpr int kMaxPenaltyDepth = 400000;

/// Largest number of arcs (parallel arcs counted) at one node of the graph.
int maxArcDegree(Graph* gr) {
    int best = 0;
    for (Vertex* v : gr->V)
        best = std::max(best, v->nb_in + v->nb_out);
    return best;
}

/// Smallest and largest node label read as an integer.
void labelRange(Graph* gr, long& lo, long& hi) {
    for (Vertex* v : gr->V) {
        const long value = std::atol(v->label.c_str());
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
}

bool usesUpdate1(int algo) {
    return algo == 0 || algo == 1 || algo == 8;
}

} // namespace

MCES::MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, double nod_err,
           bool greed) {
    greedy = greed;
    findfast = false;
    BIAS = 1.0;
    construct(algo, simili, _g1, _g2, _random, _seed, nod_err);
    createIndex();
    if (greedy) {
        BIAS = 1.0;
        runGreedyLoop();
    }
}

MCES::MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, int* kbt,
           double nod_err) {
    greedy = true;
    findfast = true;
    BIAS = 0.0;
    construct(algo, simili, _g1, _g2, _random, _seed, nod_err);
    createIndex();
    buildCells();
    // Seed pairs are entered one by one; a pair that leaves graph 2 or reuses a node already
    // taken would corrupt the one-to-one matching, so it is reported and skipped.
    for (int i = 0; kbt != nullptr && i < n1; ++i) {
        const int j = kbt[i];
        if (j < 0) continue;
        if (j >= n2 || M21[j] != kNoPartner) {
            console() << "\n Seed pair skipped: " << i << "," << j;
            continue;
        }
        updateG(i, j);
    }
    runGreedyLoop();
}

MCES::~MCES() {
    delete ff;
    delete matched1;
    delete matched2;
    delete unmatched1;
    delete unmatched2;
    // Working tables; the results a caller reads (M12, M21, simil, OEdges, ONodes, HENodes)
    // stay allocated so that pointers taken from this object remain valid.
    if (M != nullptr) deleteTable(M);
    deleteTable(gamma);
    deleteTable(discrim);
    deleteTable(g);
    deleteTable(connexions);
    deleteTable(potential);
    deleteTable(PEdges);
    deleteTable(PEdges2);
    deleteTable(PENodes);
    deleteTable(PENodes2);
    deleteTable(cross);
    deleteTable(cin1);
    deleteTable(cout1);
    deleteTable(cin2);
    deleteTable(cout2);
}

void MCES::releaseResults() {
    delete[] M12;
    delete[] M21;
    M12 = nullptr;
    M21 = nullptr;
    deleteTable(simil);
    deleteTable(OEdges);
    deleteTable(ONodes);
    deleteTable(HENodes);
}

void MCES::construct(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed,
                     double nod_err) {
    idAlgo = algo;
    similarity = simili;
    r_alpha = _random;
    seed = _seed;
    node_error = static_cast<int>(nod_err);
    ff = nullptr;
    M = nullptr;
    minDelta = maxDelta = 0;
    minG = maxG = numG = allG = lost = 0;
    param_sim = param_discrim = 0;
    initialize(_g1, _g2);

    const SimilarityCode code = decodeSimilarity(similarity);
    param_sim = code.sim;
    param_discrim = code.discrim;
    if (code.digits == 0)
        console() << "\n Similarity code out of range: " << similarity << " (no similarity)";
    setPromoted();
    applySimilarity();
    scoreAll();
}

void MCES::initialize(Graph* _g1, Graph* _g2) {
    console() << "\n MCES \n";
    g1 = _g1;
    g2 = _g2;
    // The structural tables need the per-node label counts and neighbourhood signatures.
    for (Graph* gr : {g1, g2})
        if (gr->c_in == nullptr || gr->neighbors == nullptr || gr->relations == nullptr)
            gr->fillNeighborsAndRelations();
    n1 = static_cast<int>(g1->V.size());
    n2 = static_cast<int>(g2->V.size());
    nb_labels = std::min(g1->nb_labels, g2->nb_labels) + 1;
    nb_node_labels = std::min(g1->nbNodeLabels, g2->nbNodeLabels) + 1;
    won = 0;
    nbMatched = 0;
    const long long pairs = static_cast<long long>(n1) * n2;
    alpha = pairs > INT_MAX ? INT_MAX : static_cast<int>(pairs);

    allocateTables();
    copyLabelCounts();
    M12 = new int[std::max(n1, 1)];
    M21 = new int[std::max(n2, 1)];
    std::fill(M12, M12 + std::max(n1, 1), kNoPartner);
    std::fill(M21, M21 + std::max(n2, 1), kNoPartner);
    matched1 = new std::set<int>();
    matched2 = new std::set<int>();
    unmatched1 = new std::set<int>();
    unmatched2 = new std::set<int>();
    open1.clear();
    open2.clear();
    for (int i = 0; i < n1; ++i) {
        matched1->insert(i);
        unmatched1->insert(i);
        open1.push_back(i);
    }
    for (int j = 0; j < n2; ++j) {
        matched2->insert(j);
        unmatched2->insert(j);
        open2.push_back(j);
    }
    seedGains();
}

void MCES::allocateTables() {
    g = newTable<float>(n1 + 1, n2 + 1, 0.0f);
    connexions = newTable<int>(n1 + 1, n2 + 1, 0);
    potential = newTable<double>(n1 + 1, n2 + 1, 1.0);
    OEdges = newTable<int>(n1 + 1, n2 + 1, 1);
    ONodes = newTable<int>(n1 + 1, n2 + 1, 0);
    PEdges = newTable<int>(n1 + 1, n2 + 1, 0);
    PEdges2 = newTable<int>(n1 + 1, n2 + 1, 0);
    PENodes = newTable<int>(n1 + 1, n2 + 1, 0);
    PENodes2 = newTable<int>(n1 + 1, n2 + 1, 0);
    HENodes = newTable<int>(n1 + 1, n2 + 1, 0);
    gamma = newTable<double>(n1, n2, 0.0);
    simil = nullptr;
    discrim = nullptr;
}

void MCES::copyLabelCounts() {
    width1 = g1->nb_labels + 1;
    width2 = g2->nb_labels + 1;
    cin1 = newTable<int>(n1, width1, 0);
    cout1 = newTable<int>(n1, width1, 0);
    cin2 = newTable<int>(n2, width2, 0);
    cout2 = newTable<int>(n2, width2, 0);
    for (int i = 0; i < n1 && g1->c_in != nullptr; ++i)
        for (int k = 0; k < width1; ++k) {
            cin1[i][k] = g1->c_in[i][k];
            cout1[i][k] = g1->c_out[i][k];
        }
    for (int j = 0; j < n2 && g2->c_in != nullptr; ++j)
        for (int k = 0; k < width2; ++k) {
            cin2[j][k] = g2->c_in[j][k];
            cout2[j][k] = g2->c_out[j][k];
        }
}

void MCES::seedGains() {
    // Pairs of different labels start with the label penalty: a fixed one, or with a
    // negative node_error the distance between the labels read as numbers.
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            if (labelsEqual(i, j)) continue;
            if (node_error < 0) {
                const long a = std::atol(g1->V[i]->label.c_str());
                const long b = std::atol(g2->V[j]->label.c_str());
                g[i][j] = -static_cast<float>(std::labs(a - b));
            } else {
                g[i][j] = -static_cast<float>(node_error);
            }
        }
    // Row n1 and column n2 hold the totals over unmatched nodes from the start, so that
    // the gains other candidates lose are counted with their penalties.
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            g[i][n2] += g[i][j];
            g[n1][j] += g[i][j];
        }
}

MCES::SimilarityCode MCES::decodeSimilarity(int s) {
    SimilarityCode code{0, 0, 0, 0};
    const int magnitude = std::abs(s);
    if (magnitude <= 9) {
        code = {1, s, 0, 0};
    } else if (magnitude <= 99) {
        code = {2, s / 10, magnitude % 10, 0};
    } else if (magnitude <= 999) {
        code = {3, s / 100, (magnitude / 10) % 10, magnitude % 10};
    }
    return code;
}

void MCES::applySimilarity() {
    const SimilarityCode code = decodeSimilarity(similarity);
    setSim(param_sim);
    if (code.digits == 2) setDiscrim(param_discrim, 0);
    if (code.digits == 3) setDiscrim(param_discrim, code.extension);
}

void MCES::scoreAll() {
    switch (idAlgo) {
    case 0:
        setGamma1(0.0f);
        break;
    case 1:
    case 8:
        setGamma1(alpha > 0 ? 1.0f / static_cast<float>(alpha) : 0.0f);
        break;
    case 9:
        setGamma9();
        break;
    default:
        if (!rescore())
            console() << "\n Unknown scoring algorithm: " << idAlgo << " (all scores 0)";
    }
}

bool MCES::rescore() {
    switch (idAlgo) {
    case 2:
        setGamma2();
        return true;
    case 3:
        setGamma3();
        return true;
    case 4:
        setGamma4();
        return true;
    case 5:
        setGamma5();
        return true;
    case 6:
        setGamma6();
        return true;
    case 7:
        setGamma7();
        return true;
    default:
        return false;
    }
}

void MCES::createIndex() {
    // A pair's gain counts the arcs it shares with matched neighbours, so no gain exceeds
    // the arc count of the busiest node of either graph; one more covers the similarity
    // bonus added to the key. Keys above the top still land in the first layer.
    const int top = std::max(std::min(maxArcDegree(g1), maxArcDegree(g2)), 0) + 1;
    // Negative keys come only from label penalties.
    long depth = node_error;
    if (node_error < 0) {
        long lo = 0, hi = 0;
        if (!g1->V.empty() || !g2->V.empty()) {
            lo = LONG_MAX;
            hi = LONG_MIN;
            labelRange(g1, lo, hi);
            labelRange(g2, lo, hi);
        }
        depth = hi - lo;
    }
    const int bottom = static_cast<int>(std::min<long>(std::max<long>(depth, 1), kMaxPenaltyDepth));
    ff = new FastFind(bottom, top, std::min(top, kMaxGainLayers),
                      std::min(bottom, kMaxPenaltyLayers), std::max(n1, n2), M12, M21, nullptr,
                      nullptr);
}

void MCES::buildCells() {
    if (M != nullptr) return;
    M = newTable<cell>(n1, n2, cell{});
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            cell& c = M[i][j];
            c.x = i;
            c.y = j;
            c.delta = -1;
            c.layer = -1;
            c.tabu = 0;
        }
}

void MCES::runGreedyLoop() {
    // The cells only serve the move index: a run that always scans needs none of them.
    if (findfast || idAlgo == 3 || idAlgo == 7) buildCells();
    console() << "\n INIT " << n1 << "/" << n2 << " \n";
    for (;;) {
        const paire p = find();
        if (p.x1 == kNoPair) break;
        const int x = static_cast<int>(p.x1);
        const int y = static_cast<int>(p.x2);
        // find only offers unmatched pairs; anything else would loop without progress.
        if (M12[x] != kNoPartner || M21[y] != kNoPartner) break;
        if (usesUpdate1(idAlgo))
            update1(x, y);
        else
            update(x, y);
    }
    console() << "\n WON = " << won;
}

paire MCES::find() {
    const paire none{kNoPair, kNoPair, -1};
    if ((idAlgo == 1 || idAlgo == 8) && maxG == 0 && allG == 0) return none;
    return findfast ? findFast() : findScan();
}

paire MCES::findFast() {
    paire result{kNoPair, kNoPair, -1};
    if (ff == nullptr || M == nullptr) return result;
    if (ff->nbCandidates == 0) {
        console()
            << "\n------------------------------ FEED FAST FIND ------------------------------\n";
        feedFastFind();
    }
    if (ff->nbCandidates == 0) return result;
    const cell* best = ff->find();
    if (best == nullptr) return result;
    result.x1 = static_cast<unsigned int>(best->x);
    result.x2 = static_cast<unsigned int>(best->y);
    result.val = best->delta_m;
    return result;
}

paire MCES::findScan() {
    paire result{kNoPair, kNoPair, -1};
    const double threshold = maxDelta - r_alpha * (maxDelta - minDelta);
    long count = 0;
    // Every pair scoring at least the threshold is a candidate; the reservoir draw keeps
    // each with equal chance (the first is always taken).
    for (int i : open1)
        for (int j : open2) {
            if (gamma[i][j] < threshold) continue;
            ++count;
            const int a = randDraw();
            if (1.0 / static_cast<double>(count) >= a / static_cast<double>(kRandMax)) {
                result.x1 = static_cast<unsigned int>(i);
                result.x2 = static_cast<unsigned int>(j);
                result.val = gamma[i][j];
            }
        }
    return result;
}

void MCES::feedFastFind() {
    if (ff == nullptr || M == nullptr) return;
    const double start = cpuSeconds();
    for (int i : open1) {
        for (int j : open2) {
            if (potential[i][j] == 0) continue;
            cell& c = M[i][j];
            c.delta = g[i][j];
            c.delta_m = g[i][j] + simil[i][j] * BIAS;
            ff->insert(&c, true);
        }
        if (cpuSeconds() - start > kFeedSeconds) break;
    }
}

int MCES::compareEdges(Edge* e1, Edge* e2) {
    if (e1 == nullptr || e2 == nullptr) return 0;
    const std::string& a = e1->label;
    const std::string& b = e2->label;
    if (a == b) return static_cast<int>(a.size());
    if (a.size() <= 1 && b.size() <= 1) return 0;
    // Folded edges: count the relations of each code and keep the common part.
    int countA[10] = {0};
    int countB[10] = {0};
    for (char ch : a)
        if (ch >= '0' && ch <= '9') ++countA[ch - '0'];
    for (char ch : b)
        if (ch >= '0' && ch <= '9') ++countB[ch - '0'];
    int common = 0;
    for (int k = 1; k <= 9; ++k)
        common += std::min(countA[k], countB[k]);
    return common;
}

bool MCES::labelsEqual(int i, int j) const {
    return g1->V[i]->label == g2->V[j]->label;
}

bool MCES::sameEdge(Edge* e1, Edge* e2) const {
    return e1 != nullptr && e2 != nullptr && e1->label == e2->label;
}
