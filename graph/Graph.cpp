// Graph core: construction, ownership, arc insertion with folding, adjacency queries and the
// derived neighbourhood tables.
#include "graph/Graph.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "graph/Edge.h"
#include "graph/Vertex.h"
#include "util/Console.h"

namespace {

/// Out-lists up to this length are scanned rather than looked up in G.
constexpr size_t kShortArcList = 16;

} // namespace

Graph::Graph() = default;

Graph::~Graph() {
    // Delete each edge once, whether it is live, folded away or dropped by reinitEdges.
    std::set<Edge*> ownedEdges(E.begin(), E.end());
    ownedEdges.insert(retired.begin(), retired.end());
    for (Edge* e : ownedEdges)
        delete e;
    std::set<Vertex*> ownedVertices(V.begin(), V.end());
    for (Vertex* v : ownedVertices)
        delete v;
    delete G;
    delete classes;
    releaseNeighborTables();
    releaseRelationTables();
    releaseRankArrays();
    delete[] in_distrib;
    delete[] out_distrib;
    delete[] all_distrib;
    delete[] label_distrib;
    delete[] multi_distrib;
}

void Graph::releaseNeighborTables() {
    delete[] neighbors;
    neighbors = nullptr;
    neighborRows = 0;
}

void Graph::releaseRelationTables() {
    for (size_t i = 0; i < tableRows; i++) {
        if (c_in != nullptr) delete[] c_in[i];
        if (c_out != nullptr) delete[] c_out[i];
    }
    delete[] c_in;
    delete[] c_out;
    delete[] relations;
    delete[] Nrelations;
    delete[] NLabels;
    c_in = c_out = nullptr;
    relations = Nrelations = NLabels = nullptr;
    tableRows = 0;
    tableWidth = 0;
}

void Graph::releaseRankArrays() {
    delete[] u;
    delete[] hub;
    delete[] norm;
    delete[] local_u;
    delete[] rank;
    delete[] _rank;
    delete[] level;
    u = hub = norm = local_u = nullptr;
    rank = _rank = level = nullptr;
    releaseLabelRanks();
}

void Graph::releaseLabelRanks() {
    for (int k = 0; k < rankedLabels; k++) {
        if (uu != nullptr) delete[] uu[k];
        if (uu_stats != nullptr) delete[] uu_stats[k];
    }
    delete[] uu;
    delete[] uu_stats;
    uu = uu_stats = nullptr;
    rankedLabels = 0;
}

Edge* Graph::getEdge(int from, int to) {
    if (G != nullptr) {
        if (from < 0 || to < 0) return nullptr;
        // The arc lists and G are filled together (addEdge, reinitEdges), so a short out-list
        // answers as G would, without the two tree searches.
        if (from < static_cast<int>(V.size()) && V[from] != nullptr &&
            V[from]->out.size() <= kShortArcList) {
            for (Edge* e : V[from]->out)
                if (e->to == to) return e;
            return nullptr;
        }
        auto row = static_cast<unsigned>(from);
        auto col = static_cast<unsigned>(to);
        Edge** stored = G->find(row, col);
        return stored != nullptr ? *stored : nullptr;
    }
    if (from < 0 || from >= static_cast<int>(V.size())) return nullptr;
    for (Edge* e : V[from]->out)
        if (e->to == to) return e;
    return nullptr;
}

int Graph::areNeighbors(int node1, int node2) {
    int limit = std::min(vertices, static_cast<int>(V.size()));
    if (node1 < 0 || node2 < 0 || node1 >= limit || node2 >= limit) return 0;
    return (getEdge(node1, node2) != nullptr || getEdge(node2, node1) != nullptr) ? 1 : 0;
}

bool Graph::acceptArc(Edge* e, int& code) {
    int nodeCount = static_cast<int>(V.size());
    if (e->from < 0 || e->to < 0 || e->from >= nodeCount || e->to >= nodeCount) {
        console() << "\n Node does not exist: " << e->from << "," << e->to << "(" << e->label
                  << ") !!!!";
        return false;
    }
    // The code is the label's leading decimal number; it selects one of the ten counters.
    const std::string& lb = e->label;
    size_t digits = 0;
    long value = 0;
    while (digits < lb.size() && lb[digits] >= '0' && lb[digits] <= '9' && value < kLabelCodes) {
        value = value * 10 + (lb[digits] - '0');
        digits++;
    }
    if (digits == 0 || value >= kLabelCodes) {
        console() << "\n Bad arc label (expected a code 0-9): " << e->from << "," << e->to << "("
                  << lb << ") !!!!";
        return false;
    }
    code = static_cast<int>(value);
    return true;
}

void Graph::insertEdge(Edge* e) {
    if (e == nullptr) return;
    std::string& lb = e->label;
    if (lb.size() > 1 && lb.back() == '\r') lb.pop_back();
    int code = 0;
    if (!acceptArc(e, code)) {
        retired.push_back(e);
        return;
    }
    if (lb.size() > 1)
        console() << "\n ****************"
                  << "\n ***" << lb << "***"
                  << "\n ****************";

    Edge* target = getEdge(e->from, e->to);
    if (target != nullptr) {
        target->label += lb;
        // Sums are taken in double and stored as float, so a run of equal weights adds up
        // to the same value whatever the precision of the stored total.
        target->label_weight = static_cast<float>(target->label_weight + edge_weight[code]);
        if (target->labels == nullptr) target->labels = new short[kLabelCodes]();
        target->labels[code] += 1;
        if (target != e) retired.push_back(e);
    } else {
        target = e;
        if (target->labels == nullptr) target->labels = new short[kLabelCodes];
        std::fill(target->labels, target->labels + kLabelCodes, 0);
        target->labels[code] = 1;
        target->label_weight = static_cast<float>(edge_weight[code]);
        if (G != nullptr)
            (*G)(static_cast<unsigned>(target->from), static_cast<unsigned>(target->to)) = target;
        E.push_back(target);
        V[target->from]->out.push_back(target);
        V[target->to]->in.push_back(target);
        V[target->to]->edges.push_back(target);
        if (target->from != target->to) V[target->from]->edges.push_back(target);
    }

    Vertex* source = V[target->from];
    source->sum_out = static_cast<float>(source->sum_out + edge_weight[code]);
    source->nb_out += 1;
    V[target->to]->nb_in += 1;
    if (code > nb_labels) nb_labels = code;
    updateDegreeExtremes(target);
}

void Graph::updateDegreeExtremes(Edge* e) {
    for (int node : {e->from, e->to}) {
        Vertex* v = V[node];
        int inDegree = static_cast<int>(v->in.size());
        int outDegree = static_cast<int>(v->out.size());
        int degree = static_cast<int>(v->edges.size());
        max_in_distrib = std::max(max_in_distrib, inDegree);
        min_in_distrib = std::min(min_in_distrib, inDegree);
        max_out_distrib = std::max(max_out_distrib, outDegree);
        min_out_distrib = std::min(min_out_distrib, outDegree);
        max_all_distrib = std::max(max_all_distrib, degree);
        min_all_distrib = std::min(min_all_distrib, degree);
    }
    int length = static_cast<int>(e->label.size());
    max_multi = std::max(max_multi, length);
    min_multi = std::min(min_multi, length);
}

void Graph::deleteEdge(Edge* /*e*/) {}

void Graph::fillNeighbors() {
    console() << "\n Fill Neighbors";
    releaseNeighborTables();
    neighborRows = V.size();
    neighbors = new std::set<int>[neighborRows];
    int nodeCount = static_cast<int>(neighborRows);
    for (Edge* e : E) {
        if (e->from == e->to) continue;
        if (e->from < 0 || e->to < 0 || e->from >= nodeCount || e->to >= nodeCount) continue;
        neighbors[e->from].insert(e->to);
        neighbors[e->to].insert(e->from);
    }
}

void Graph::fillNeighborsAndRelations() {
    releaseRelationTables();
    tableRows = V.size();
    int width = nb_labels + 1;
    tableWidth = width;
    c_in = new int*[tableRows];
    c_out = new int*[tableRows];
    for (size_t i = 0; i < tableRows; i++) {
        c_in[i] = new int[width]();
        c_out[i] = new int[width]();
    }
    fillNeighbors();
    int nodeCount = static_cast<int>(tableRows);
    for (Edge* e : E) {
        if (e->from < 0 || e->to < 0 || e->from >= nodeCount || e->to >= nodeCount) continue;
        for (char ch : e->label) {
            // Only digits within the table width count; stray characters have no counter.
            int k = ch - '0';
            if (k < 0 || k >= width) continue;
            c_in[e->to][k] += 1;
            c_out[e->from][k] += 1;
        }
    }

    std::set<std::string> nodeLabels;
    for (Vertex* v : V)
        nodeLabels.insert(v->label);
    nbNodeLabels = 1 + static_cast<int>(nodeLabels.size());
    console() << "\n\n\n" << nbNodeLabels << "\n\n\n";

    relations = new std::map<std::string, int>[tableRows];
    Nrelations = new std::map<std::string, int>[tableRows];
    NLabels = new std::map<std::string, int>[tableRows];
    for (int i = 0; i < nodeCount; i++) {
        for (int n : neighbors[i]) {
            Edge* incoming = getEdge(n, i);
            Edge* outgoing = getEdge(i, n);
            std::string s = (incoming != nullptr ? incoming->label : std::string()) + "/" +
                            (outgoing != nullptr ? outgoing->label : std::string());
            relations[i][s] += 1;
            NLabels[i][V[n]->label] += 1;
            Nrelations[i][s + "/" + V[n]->label] += 1;
        }
    }
}

void Graph::reinitEdges() {
    retired.insert(retired.end(), E.begin(), E.end());
    E.clear();
    auto size = static_cast<unsigned>(std::max(vertices, 0));
    if (G == nullptr)
        G = new SparseMatrix<Edge*>(size, size);
    else
        G->reinit(size, size);
    for (Vertex* v : V) {
        v->in.clear();
        v->out.clear();
        v->edges.clear();
    }
}

double Graph::specialNorm(double* x, double* y, int n) {
    double sum = 0;
    for (int i = 0; i < n; i++)
        sum += std::fabs(x[i] - y[i]);
    return sum;
}
