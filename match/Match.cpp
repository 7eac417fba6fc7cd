// Construction and state of the matcher, the accessors that see through merged blocks, and
// the whole-solution cost (of the current matching and of the empty one).
#include "match/Match.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "match/FastFind.h"
#include "util/Console.h"

double normDiff(float a, float b) {
    const float largest = std::max({a, b, 0.0f});
    if (largest == 0) return 0;
    return std::fabs(a - b) / largest;
}

// -------------------------------------------------------------------------------------
// Construction
// -------------------------------------------------------------------------------------

Match::Match(Graph* A, Graph* B, Cost* costModel, int seed, int mode) {
    numberOfMatchs = 0;
    cost_mode = mode;
    init(A, B);
    randomSeed = seed;
    if (costModel != nullptr) {
        costModel->M12 = M12;
        costModel->M21 = M21;
    }
    changeCosts(costModel);
    currentCost = no_matching_cost;
}

Match::Match(Graph* A, Graph* B, int seed) {
    numberOfMatchs = 0;
    init(A, B);
    randomSeed = seed;
    ownCost_ = new Cost();
    ownCost_->M12 = M12;
    ownCost_->M21 = M21;
    changeCosts(ownCost_);
    currentCost = no_matching_cost;
}

Match::Match() {
    init();
}

Match::~Match() {
    // The index keeps pointers to M12/M21 and the tabu lists but frees none of them.
    delete ff;
    delete[] M12;
    delete[] M21;
    delete[] log_matching;
    delete[] kbt;
    delete[] bestMatch;
    delete[] bestMatch2;
    delete[] bestBlock;
    delete[] bestBlock2;
    delete[] relevant1;
    delete[] relevant2;
    delete[] sim_distrib;
    if (sim_eval != nullptr) {
        delete[] sim_eval[0];
        delete[] sim_eval[1];
        delete[] sim_eval;
    }
    for (auto& slot : tabu_i)
        delete[] slot;
    releaseChosenCell();
    delete M;
    delete _M;
    delete _N;
    delete move;
    freeTermTables();
    delete _att;
    delete _meth;
    delete sim_name;
    releaseBlocks();
    delete concerned1;
    delete concerned2;
    delete ownCost_;
}

void Match::releaseChosenCell() {
    if (chosenCell == nullptr) return;
    // chosenCell either points into M or is a scratch record of its own.
    const auto x = static_cast<unsigned>(chosenCell->x);
    const auto y = static_cast<unsigned>(chosenCell->y);
    const bool inM = M != nullptr && M->exists(x, y) && &(*M)(x, y) == chosenCell;
    if (!inM) delete chosenCell;
    chosenCell = nullptr;
}

void Match::releaseBlocks() {
    // Block vertices and every edge registered in E1/E2 or carried by a block vertex were
    // made by this matcher (graph edges are never stored there).
    std::set<Edge*> madeEdges;
    for (SparseMatrix<Edge*>* table : {E1, E2}) {
        if (table == nullptr) continue;
        for (auto& row : table->mat)
            for (auto& entry : row.second)
                if (entry.second != nullptr) madeEdges.insert(entry.second);
    }
    for (std::map<int, Vertex*>* blockVertices : {&V1, &V2}) {
        for (auto& entry : *blockVertices) {
            if (entry.second == nullptr) continue;
            madeEdges.insert(entry.second->edges.begin(), entry.second->edges.end());
            delete entry.second;
        }
        blockVertices->clear();
    }
    heldBlocks_[0].clear();
    heldBlocks_[1].clear();
    for (Edge* e : madeEdges)
        delete e;
    delete E1;
    delete E2;
    E1 = E2 = nullptr;
}

void Match::init() {
    numberOfMatchs = 0;
}

void Match::init(Graph* A, Graph* B) {
    BIAS = 0;
    numberOfMatchs = 0;
    g1 = A;
    g2 = B;
    if (A == nullptr || B == nullptr) {
        console() << "\n Match: a graph is missing, nothing to match\n";
        return;
    }
    console() << "\n\t __1__";
    for (Graph* g : {A, B})
        for (Vertex* v : g->V) {
            if (v == nullptr) continue;
            delete v->nodes;
            v->nodes = new std::set<int>{v->number};
        }
    console() << "\t __2__";
    const int n1 = A->vertices;
    const int n2 = B->vertices;
    max_vertices = std::max(n1, n2);
    min_vertices = std::min(n1, n2);
    find_occ = update_occ = 0;
    console() << "\t __3__";
    allocateTables(n1, n2);
    console() << "\t __8__";
    console() << "\n Before FF \n";
    ff = new FastFind(100, 100, 1, 1, max_vertices, M12, M21, tabu_i, _M);
    console() << "\n After FF \n";
    console() << "\t __9__";
    V1.clear();
    V2.clear();
    E1 = new SparseMatrix<Edge*>();
    E2 = new SparseMatrix<Edge*>();
    E1->indexCells();
    E2->indexCells();
    console() << "\t __10__";
    getRelevant();
    getTerms(g1, g2, relevant1, relevant2);
    matrixEntityTerm(g1, g2, relevant1, relevant2);
    semilarity();
    console() << "\t __11__";
}

void Match::allocateTables(int n1, int n2) {
    const auto u1 = static_cast<unsigned>(n1);
    const auto u2 = static_cast<unsigned>(n2);
    M = new SparseMatrix<cell>(u1, u2);
    for (auto& slot : tabu_i)
        slot = new std::vector<cell*>[kTabuListsPerSlot];
    i_parser = 0;
    console() << "\t __4__";
    _N = new SparseMatrix<float>(u1, u2);
    // The search looks these up in its inner loops.
    M->indexCells();
    _N->indexCells();
    _M = new SparseMatrix<float>(u1, u2);
    move = new SparseMatrix<bool>();
    movableByColumn_.clear();
    movableByRow_.clear();
    console() << "\t __5__";
    tabu_out = 5;
    tabu_in = 20;
    console() << "\t __6__";
    M12 = new int[n1];
    M21 = new int[n2];
    bestMatch = new int[n1];
    bestMatch2 = new int[n2];
    bestBlock = new int[n1];
    bestBlock2 = new int[n2];
    blocks1.assign(static_cast<size_t>(n1), 0);
    blocks2.assign(static_cast<size_t>(n2), 0);
    for (int x = 0; x < n1; x++) {
        M12[x] = bestMatch[x] = kNoPartner;
        blocks1[x] = bestBlock[x] = x;
    }
    for (int y = 0; y < n2; y++) {
        M21[y] = bestMatch2[y] = kNoPartner;
        blocks2[y] = bestBlock2[y] = y;
    }
    nBlocks1.clear();
    nBlocks2.clear();
    grownBlocks_[0].clear();
    grownBlocks_[1].clear();
    heldBlocks_[0].clear();
    heldBlocks_[1].clear();
    wordsReleasable_ = true;
    console() << "\t __7__";
}

void Match::changeCosts(Cost* model) {
    costs = model;
    no_matching_cost = f = noMatchCost(cost_mode);
    if (model != nullptr) sim_thres = static_cast<float>(model->_lw / 100);
}

// -------------------------------------------------------------------------------------
// Accessors that see through blocks
// -------------------------------------------------------------------------------------

Vertex* Match::blockVertex(int num, bool left) {
    const std::vector<HeldBlock>& held = heldBlocks_[left ? 0 : 1];
    const auto index = static_cast<size_t>(num - order(left));
    if (index < held.size() && held[index].vertex != nullptr)
        return wholeBlock(held[index].vertex, left);
    // Blocks filed in the maps by other means than updateBlock.
    std::map<int, Vertex*>& blocks = left ? V1 : V2;
    auto it = blocks.find(num);
    return it != blocks.end() ? wholeBlock(it->second, left) : nullptr;
}

Edge* Match::getEdgeSide(int from, int to, bool left) {
    if (from < 0 || to < 0) return nullptr;
    const int n = order(left);
    if (from < n && to < n) return (left ? g1 : g2)->getEdge(from, to);
    return findBlockEdge(left, from, to);
}

Edge* Match::findBlockEdge(bool left, int from, int to) const {
    SparseMatrix<Edge*>* table = left ? E1 : E2;
    if (table == nullptr || from < 0 || to < 0) return nullptr;
    Edge** stored = table->find(static_cast<unsigned>(from), static_cast<unsigned>(to));
    return stored != nullptr ? *stored : nullptr;
}

void Match::setBlockEdge(bool left, int from, int to, Edge* e) {
    SparseMatrix<Edge*>* table = left ? E1 : E2;
    if (table == nullptr) return;
    ++blockEdgesFiled_;
    (*table)(static_cast<unsigned>(from), static_cast<unsigned>(to)) = e;
}

Edge* Match::getEdge1(int from, int to) {
    return getEdgeSide(from, to, true);
}

Edge* Match::getEdge2(int from, int to) {
    return getEdgeSide(from, to, false);
}

namespace {

/// Adds the relation counts and the label text of `from` into `into`.
void foldEdge(Edge* into, const Edge* from) {
    into->label += from->label;
    if (into->labels == nullptr || from->labels == nullptr) return;
    for (int k = 0; k < kLabelCodes; k++)
        into->labels[k] = static_cast<short>(into->labels[k] + from->labels[k]);
}

} // namespace

std::vector<Edge*>* Match::getVEdges(Vertex* v, bool left) {
    if (v == nullptr) return nullptr;
    auto* result = new std::vector<Edge*>();
    collectVEdges(v, left, *result);
    if (result->empty()) {
        delete result;
        return nullptr;
    }
    return result;
}

void Match::collectVEdges(Vertex* v, bool left, std::vector<Edge*>& into) {
    into.clear();
    if (v == nullptr) return;
    const int n = order(left);
    std::set<std::pair<int, int>> taken;         // registered block edges already listed
    std::map<std::pair<int, int>, Edge*> folded; // new block edges, one per block pair
    for (Edge* e : v->edges) {
        if (e == nullptr) continue;
        const int from = e->from < n ? getBlock(e->from, left) : e->from;
        const int to = e->to < n ? getBlock(e->to, left) : e->to;
        if (from == e->from && to == e->to) {
            into.push_back(e);
            continue;
        }
        const std::pair<int, int> ends(from, to);
        Edge* registered = getEdgeSide(from, to, left);
        if (registered != nullptr) {
            if (taken.insert(ends).second) into.push_back(registered);
            continue;
        }
        auto it = folded.find(ends);
        if (it != folded.end()) {
            foldEdge(it->second, e);
            continue;
        }
        Edge* copy = e->duplicate();
        copy->from = from;
        copy->to = to;
        folded[ends] = copy;
    }
    for (auto& entry : folded) {
        setBlockEdge(left, entry.first.first, entry.first.second, entry.second);
        into.push_back(entry.second);
    }
}

// -------------------------------------------------------------------------------------
// Diagnostics
// -------------------------------------------------------------------------------------

double Match::checkMatching() {
    if (log_matching == nullptr || M12 == nullptr) return 0;
    int logged = 0;
    int agree = 0;
    for (int x = 0; x < order(true); x++) {
        if (log_matching[x] == kNoPartner) continue;
        logged++;
        if (M12[x] == log_matching[x]) agree++;
    }
    return logged == 0 ? 0 : 100.0 * agree / logged;
}

int Match::checkPresence() {
    return order(true);
}

// -------------------------------------------------------------------------------------
// Whole-solution cost
// -------------------------------------------------------------------------------------

std::vector<Vertex*> Match::distinctBlocks(bool left) {
    std::set<int> numbers;
    for (int n = 0; n < order(left); n++)
        numbers.insert(getBlock(n, left));
    std::vector<Vertex*> result;
    for (int b : numbers) {
        Vertex* v = left ? getVertex1(b) : getVertex2(b);
        if (v != nullptr) result.push_back(v);
    }
    return result;
}

std::map<std::pair<int, int>, Edge*> Match::blockEdges(bool left) {
    std::map<std::pair<int, int>, Edge*> result;
    std::map<std::pair<int, int>, Edge*> folded; // block pairs no edge was registered for
    const Graph* g = left ? g1 : g2;
    for (Edge* e : g->E) {
        if (e == nullptr) continue;
        const std::pair<int, int> ends(getBlock(e->from, left), getBlock(e->to, left));
        if (result.count(ends) != 0) continue;
        auto it = folded.find(ends);
        if (it != folded.end()) {
            foldEdge(it->second, e);
            continue;
        }
        Edge* blockEdge = getEdgeSide(ends.first, ends.second, left);
        if (blockEdge != nullptr) {
            result[ends] = blockEdge;
            continue;
        }
        // A block pair whose edge was never registered: fold its relations now and
        // register the edge, as getVEdges would, so that no relation goes unpriced.
        Edge* copy = e->duplicate();
        copy->from = ends.first;
        copy->to = ends.second;
        folded[ends] = copy;
    }
    for (auto& [ends, edge] : folded) {
        setBlockEdge(left, ends.first, ends.second, edge);
        result[ends] = edge;
    }
    return result;
}

double Match::nodePartCost(int mode) {
    double total = 0;
    for (Vertex* v : distinctBlocks(true)) {
        const int partner = getM12(v->number);
        Vertex* w = getVertex2(partner);
        if (w == nullptr) {
            total += costs->cnd(mode, v);
            continue;
        }
        const float s = storedLikeness(mode, v, w);
        total += static_cast<float>(costs->raw_cns(mode, v, w, s));
    }
    return total;
}

void printCostFigures(const CostFigures& f) {
    console() << "\t" << f.nodePart << "\t" << f.afterInsertions << "\t(" << f.bothMatched << ")"
              << f.total << "\t" << f.total << "___" << f.edges1 << "_" << f.edges2 << "\n";
}

double Match::cost(int mode) {
    const CostFigures figures = costFigures(mode);
    if (figures.priced) printCostFigures(figures);
    return figures.total;
}

CostFigures Match::costFigures(int mode) {
    CostFigures figures;
    if (g1 == nullptr || g2 == nullptr || costs == nullptr || M12 == nullptr) return figures;
    if (E1 == nullptr || E2 == nullptr) return figures;
    double total = nodePartCost(mode);
    figures.nodePart = total;
    for (Vertex* w : distinctBlocks(false))
        if (getM21(w->number) == kNoPartner) total += costs->cni(mode, w);
    figures.afterInsertions = total;

    const auto edges1 = blockEdges(true);
    const auto edges2 = blockEdges(false);
    total = edgePartCost(mode, true, edges1, total, figures.bothMatched);
    total = edgePartCost(mode, false, edges2, total, figures.bothMatched);
    figures.edges1 = edges1.size();
    figures.edges2 = edges2.size();
    figures.total = total;
    figures.priced = true;
    return figures;
}

double Match::edgePartCost(int mode, bool left, const std::map<std::pair<int, int>, Edge*>& edges,
                           double total, int& bothMatched) {
    for (const auto& [ends, e] : edges) {
        const int p = partnerOf(ends.first, left);
        const int q = partnerOf(ends.second, left);
        if (p == kNoPartner || q == kNoPartner) {
            const int fromNodes = nodesOf(ends.first, left);
            const int toNodes = nodesOf(ends.second, left);
            total += left ? costs->ced(mode, e, fromNodes, toNodes)
                          : costs->cei(mode, e, fromNodes, toNodes);
            continue;
        }
        Edge* counterpart = getEdgeSide(p, q, !left);
        if (left) {
            bothMatched++;
            total += costs->raw_ces(mode, e, counterpart, edgeNodes(e, true),
                                    edgeNodes(counterpart, false));
        } else if (counterpart == nullptr) {
            total += costs->raw_ces(mode, nullptr, e, 0, edgeNodes(e, false));
        }
    }
    return total;
}

namespace {

/// Node count of an unmatched relation end, as getNodes1 / getNodes2 give it.
constexpr int kUnmatchedEnd = -1;

} // namespace

double Match::noMatchCost(int mode) {
    cost_mode = mode;
    console() << "\n\n NOMATCHCOST: " << mode << "\n\n";
    if (g1 == nullptr || g2 == nullptr || costs == nullptr) return no_matching_cost = 0;
    double total = 0;
    for (Vertex* v : g1->V)
        if (v != nullptr) total += costs->cnd(mode, v);
    for (Vertex* v : g2->V)
        if (v != nullptr) total += costs->cni(mode, v);
    // The empty matching leaves both ends of every relation unmatched, whatever M12/M21
    // hold now: the constructor prices it after the containment seeds are already paired.
    for (Edge* e : g1->E)
        if (e != nullptr) total += costs->ced(mode, e, kUnmatchedEnd, kUnmatchedEnd);
    for (Edge* e : g2->E)
        if (e != nullptr) total += costs->cei(mode, e, kUnmatchedEnd, kUnmatchedEnd);
    no_matching_cost = total;
    if (bestMatch != nullptr)
        for (int x = 0; x < order(true); x++)
            bestMatch[x] = kNoPartner;
    return total;
}

double Match::ocost(int mode) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr || M12 == nullptr) return -1;
    // Plain nodes only: a partner that is a block counts as no partner.
    auto partner = [this](int x, bool left) {
        const int p = (left ? M12 : M21)[x];
        return p >= 0 && p < order(!left) ? p : kNoPartner;
    };
    auto ends = [](int p) { return p == kNoPartner ? -1 : 1; };
    double total = 0;
    for (int x = 0; x < order(true); x++) {
        Vertex* v = g1->vertex(x);
        Vertex* w = getVertex2(partner(x, true));
        const double c = w == nullptr
                             ? costs->cnd(mode, v)
                             : costs->raw_cns(mode, v, w, static_cast<float>(intSim(mode, v, w)));
        console() << "\n node " << x << " -> " << partner(x, true) << " : " << c;
        total += c;
    }
    for (int y = 0; y < order(false); y++)
        if (partner(y, false) == kNoPartner) total += costs->cni(mode, g2->vertex(y));
    for (Edge* e1 : g1->E) {
        const int p = partner(e1->from, true);
        const int q = partner(e1->to, true);
        const bool matched = p != kNoPartner && q != kNoPartner;
        const double c = matched ? costs->raw_ces(mode, e1, g2->getEdge(p, q), 1, 1)
                                 : costs->ced(mode, e1, ends(p), ends(q));
        console() << "\n edge " << e1->from << ">" << e1->to << " : " << c;
        total += c;
    }
    for (Edge* e2 : g2->E) {
        const int p = partner(e2->from, false);
        const int q = partner(e2->to, false);
        if (p == kNoPartner || q == kNoPartner)
            total += costs->cei(mode, e2, ends(p), ends(q));
        else if (g1->getEdge(p, q) == nullptr)
            total += costs->raw_ces(mode, nullptr, e2, 0, 1);
    }
    console() << "\n OCOST = " << total << "\n";
    return total;
}
