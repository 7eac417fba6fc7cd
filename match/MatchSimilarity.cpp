// Node similarity: the likeness of two blocks that discounts their substitution cost, the
// structural bounds that score pairs for the assignment start, and alternative name
// similarities kept for experiments.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "assign/Hungarian.h"
#include "graph/Kinds.h"
#include "match/Match.h"
#include "mces/MCES.h"
#include "mces/MCESTables.h"
#include "util/Distance.h"
#include "util/IntLists.h"
#include "util/Utilities.h"

namespace {

/// Path and signature likeness never weigh below this.
constexpr double kMinPartLikeness = 0.5;

/// 2 |common| / (|a| + |b|); 0 for two empty sets.
double dice(const std::set<std::string>& a, const std::set<std::string>& b) {
    if (a.empty() && b.empty()) return 0;
    size_t common = 0;
    for (const std::string& w : a)
        common += b.count(w);
    return 2.0 * static_cast<double>(common) / static_cast<double>(a.size() + b.size());
}

/// Word-set likeness: the substring similarity, raised to the plain overlap when larger.
double wordLikeness(const std::set<std::string>& a, const std::set<std::string>& b) {
    double t = simSet(&a, &b);
    if (t != 1) t = std::max(t, dice(a, b));
    return t;
}

/// Likeness of an optional part: both present compares them, one present gives 0, none 1.
template <typename Compare>
double partLikeness(const std::set<std::string>* a, const std::set<std::string>* b,
                    Compare compare) {
    if (a != nullptr && b != nullptr) return compare(*a, *b);
    return (a == nullptr && b == nullptr) ? 1.0 : 0.0;
}

size_t blockSize(const Vertex* v) {
    return v->nodes != nullptr && !v->nodes->empty() ? v->nodes->size() : 1;
}

std::string afterLastDot(const std::string& text) {
    const size_t dot = text.rfind('.');
    return dot == std::string::npos ? text : text.substr(dot + 1);
}

/// Owner of a member label ("pkg.Cls.m" -> "Cls"); empty when the label has no owner.
std::string ownerName(const std::string& label) {
    const size_t dot = label.rfind('.');
    return dot == std::string::npos ? std::string() : afterLastDot(label.substr(0, dot));
}

std::string lowered(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

/// Lower-cased short names of the members of a given kind that a node contains.
std::set<std::string> memberNames(const Graph* g, const Vertex* v, short kind) {
    std::set<std::string> names;
    for (const Edge* e : v->out) {
        if (e == nullptr || e->labels == nullptr || e->labels[kContainmentLabel] <= 0) continue;
        if (e->to < 0 || e->to >= g->vertices) continue;
        const Vertex* member = g->vertex(e->to);
        if (member->type == kind) names.insert(lowered(afterLastDot(member->label)));
    }
    return names;
}

int neighbourCount(const Graph* g, int n) {
    return g->neighbors != nullptr ? static_cast<int>(g->neighbors[n].size()) : 0;
}

/// Node count with degree d (arcs, parallel ones counted) and N neighbours, weighted as
/// 4 per neighbour joined both ways and 3 per neighbour joined one way.
double structuralWeight(const Vertex* v, int neighbours) {
    const int degree = v->nb_in + v->nb_out;
    return 4.0 * (degree - neighbours) + 3.0 * (2.0 * neighbours - degree);
}

} // namespace

// -------------------------------------------------------------------------------------
// Likeness of two blocks
// -------------------------------------------------------------------------------------

double Match::intSim(int mode, Vertex* first, Vertex* second) {
    (void)mode;
    if (first == nullptr || second == nullptr) return 0;
    const auto a = static_cast<unsigned>(first->number);
    const auto b = static_cast<unsigned>(second->number);
    if (_N != nullptr)
        if (const float* cached = _N->find(a, b)) return *cached;
    computeSim++;
    blockWords(first, true);
    blockWords(second, false);

    // A vertex without a term set has no words (the run always builds them).
    static const std::set<std::string> noWords;
    const double t = wordLikeness(first->nTerms ? *first->nTerms : noWords,
                                  second->nTerms ? *second->nTerms : noWords);
    const double p = partLikeness(first->nPaths, second->nPaths, wordLikeness);
    const double s = partLikeness(first->nSpecs, second->nSpecs, dice);
    const double base = t * std::max(p, kMinPartLikeness) * std::max(s, kMinPartLikeness);

    // Merged blocks are pulled from base toward base / 2 as they grow.
    const double k = static_cast<double>(blockSize(first) * blockSize(second));
    return static_cast<float>((std::pow(base, k) + base) / 2);
}

float Match::storedLikeness(int mode, Vertex* first, Vertex* second) {
    const auto a = static_cast<unsigned>(first->number);
    const auto b = static_cast<unsigned>(second->number);
    if (const float* known = _N->find(a, b)) return *known;
    const auto s = static_cast<float>(intSim(mode, first, second));
    (*_N)(a, b) = s;
    return s;
}

void Match::involvedList(const Vertex* const* first, const Vertex* const* last,
                         std::vector<int>& into) {
    into.clear();
    for (const Vertex* const* at = first; at != last; ++at) {
        const Vertex* v = *at;
        if (v == nullptr) continue;
        if (v->nodes != nullptr)
            into.insert(into.end(), v->nodes->begin(), v->nodes->end());
        else
            into.push_back(v->number);
    }
    sortUnique(into);
}

std::set<int>* Match::involvedNodes(std::vector<Vertex*>* vecVertex) {
    if (vecVertex == nullptr) return nullptr;
    std::vector<int> members;
    involvedList(vecVertex->data(), vecVertex->data() + vecVertex->size(), members);
    if (members.empty()) return nullptr;
    return new std::set<int>(members.begin(), members.end());
}

// -------------------------------------------------------------------------------------
// Structural bounds for the assignment start
// -------------------------------------------------------------------------------------

void Match::fillSimMatrixH() {
    if (g1 == nullptr || g2 == nullptr || _M == nullptr) return;
    const double nodeError = costs != nullptr ? costs->node_error : 0;
    auto* mces = new MCES(5, 1, g1, g2, 0, randomSeed, nodeError, false);
    const int n1 = order(true);
    const int n2 = order(false);
    for (int i = 0; i < n1; i++) {
        const double wi = structuralWeight(g1->vertex(i), neighbourCount(g1, i));
        for (int j = 0; j < n2; j++) {
            const double wj = structuralWeight(g2->vertex(j), neighbourCount(g2, j));
            const double bound = mces->HENodes != nullptr ? mces->HENodes[i][j] : 0;
            (*_M)(static_cast<unsigned>(i), static_cast<unsigned>(j)) =
                static_cast<float>(wi + wj - 2.0 * bound);
        }
    }
    // The greedy matcher leaves these tables to its caller.
    deleteTable(mces->simil);
    deleteTable(mces->OEdges);
    deleteTable(mces->ONodes);
    deleteTable(mces->HENodes);
    delete[] mces->M12;
    delete[] mces->M21;
    delete mces;
}

void Match::fillSimMatrixH1() {
    if (g1 == nullptr || g2 == nullptr || _M == nullptr) return;
    for (int i = 0; i < order(true); i++)
        for (int j = 0; j < order(false); j++)
            (*_M)(static_cast<unsigned>(i), static_cast<unsigned>(j)) =
                static_cast<float>(bestNMatches1(i, j));
}

double Match::bestNMatches1(int x, int y) {
    if (costs == nullptr || x < 0 || y < 0 || x >= order(true) || y >= order(false)) return 0;
    Vertex* vx = g1->vertex(x);
    Vertex* vy = g2->vertex(y);
    const double c = costs->raw_cns(cost_mode, vx, vy, 0);
    const int p = neighbourCount(g1, x);
    const int q = neighbourCount(g2, y);
    if (p == 0 && q == 0) return c;
    if (p == 0 || q == 0) {
        const Vertex* connected = p == 0 ? vy : vx;
        return c + 0.5 * static_cast<double>(connected->edges.size());
    }
    const std::vector<std::vector<double>> cells = neighbourhoodMatrix(x, y);
    std::vector<const double*> rows;
    for (const auto& row : cells)
        rows.push_back(row.data());
    Hungarian solver;
    const int size = p + q;
    solver.solve(rows.data(), size, size);
    double optimum = 0;
    for (int r = 0; r < p; r++) {
        const int col = solver.results != nullptr ? solver.results[r] : -1;
        if (col >= 0 && col < size)
            optimum += cells[static_cast<size_t>(r)][static_cast<size_t>(col)];
    }
    return static_cast<float>(optimum + c);
}

std::vector<std::vector<double>> Match::neighbourhoodMatrix(int x, int y) {
    const std::vector<int> left(g1->neighbors[x].begin(), g1->neighbors[x].end());
    const std::vector<int> right(g2->neighbors[y].begin(), g2->neighbors[y].end());
    const size_t p = left.size();
    const size_t q = right.size();
    std::vector<std::vector<double>> cells(p + q, std::vector<double>(p + q, 0));
    for (size_t r = 0; r < p; r++) {
        const int a = left[r];
        Edge* out1 = g1->getEdge(x, a);
        Edge* in1 = g1->getEdge(a, x);
        for (size_t col = 0; col < q; col++) {
            Edge* out2 = g2->getEdge(y, right[col]);
            Edge* in2 = g2->getEdge(right[col], y);
            cells[r][col] =
                costs->raw_ces(cost_mode, out1, out2, getENodes1(out1), getENodes2(out2)) +
                costs->raw_ces(cost_mode, in1, in2, getENodes1(in1), getENodes2(in2));
        }
        // Deleting neighbour a: only on its own dummy column.
        for (size_t col = 0; col < p; col++)
            cells[r][q + col] = kForbiddenCell;
        const int joins = (out1 != nullptr) + (in1 != nullptr);
        cells[r][q + r] = costs->cnd(cost_mode, g1->vertex(a)) + 0.5 * joins;
    }
    for (size_t r = 0; r < q; r++) {
        const int b = right[r];
        const int joins = (g2->getEdge(y, b) != nullptr) + (g2->getEdge(b, y) != nullptr);
        // Inserting neighbour b: only on its own dummy row.
        for (size_t col = 0; col < q; col++)
            cells[p + r][col] = kForbiddenCell;
        cells[p + r][r] = costs->cni(cost_mode, g2->vertex(b)) + 0.5 * joins;
    }
    return cells;
}

// -------------------------------------------------------------------------------------
// Alternative name similarities (not used by the matching run)
// -------------------------------------------------------------------------------------

double Match::intSim2(int mode, Vertex* first, Vertex* second) {
    (void)mode;
    if (first == nullptr || second == nullptr) return 0;
    const std::string name1 = afterLastDot(first->label);
    const std::string name2 = afterLastDot(second->label);
    if (name1.empty() || name2.empty()) return 0;
    const double name = IdSim(name1, name2);
    const std::string owner1 = ownerName(first->label);
    const std::string owner2 = ownerName(second->label);
    if (first->type < kMethodType || second->type < kMethodType || owner1.empty() || owner2.empty())
        return static_cast<float>(name);
    // Members of unrelated owners keep half of their name likeness.
    return static_cast<float>(name * (1 + IdSim(owner1, owner2)) / 2);
}

void Match::setSims() {
    if (g1 == nullptr || g2 == nullptr) return;
    const auto n1 = static_cast<unsigned>(order(true));
    const auto n2 = static_cast<unsigned>(order(false));
    delete sim_name;
    delete _att;
    delete _meth;
    sim_name = new SparseMatrix<float>(n1, n2);
    _att = new SparseMatrix<float>(n1, n2);
    _meth = new SparseMatrix<float>(n1, n2);
    for (unsigned i = 0; i < n1; i++) {
        const Vertex* v = g1->V[i];
        const std::string name1 = afterLastDot(v->label);
        const std::set<std::string> att1 = memberNames(g1, v, 3);
        const std::set<std::string> meth1 = memberNames(g1, v, 2);
        for (unsigned j = 0; j < n2; j++) {
            const Vertex* w = g2->V[j];
            if (w->type != v->type) continue;
            const std::string name2 = afterLastDot(w->label);
            const bool bothEmpty = name1.empty() && name2.empty();
            (*sim_name)(i, j) =
                bothEmpty ? 1.0f : 1.0f - Distance::NLD(name1.c_str(), name2.c_str());
            if (v->type != kClassType) continue;
            // Classes also compare the names of their fields and methods.
            const std::set<std::string> att2 = memberNames(g2, w, 3);
            const std::set<std::string> meth2 = memberNames(g2, w, 2);
            (*_att)(i, j) =
                static_cast<float>(att1.empty() && att2.empty() ? 1 : simSet(&att1, &att2));
            (*_meth)(i, j) =
                static_cast<float>(meth1.empty() && meth2.empty() ? 1 : simSet(&meth1, &meth2));
        }
    }
}

void Match::fillSimMatrix() {
    if (g1 == nullptr || g2 == nullptr || _M == nullptr) return;
    if (sim_name == nullptr) setSims();
    for (auto& [i, row] : sim_name->mat)
        for (auto& [j, name] : row) {
            float score = name;
            if (_att->exists(i, j) && _meth->exists(i, j))
                score = (name + (*_att)(i, j) + (*_meth)(i, j)) / 3;
            (*_M)(i, j) = score;
        }
}
