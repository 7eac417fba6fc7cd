// Greedy edge-subgraph matcher: entering a pair in the matching, passing the edges it
// secures on to the neighbour pairs, and keeping the label counts and connections current.
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "graph/Graph.h"
#include "match/FastFind.h"
#include "mces/MCES.h"
#include "util/Console.h"

namespace {

void eraseSorted(std::vector<int>& nodes, int node) {
    const auto it = std::lower_bound(nodes.begin(), nodes.end(), node);
    if (it != nodes.end() && *it == node) nodes.erase(it);
}

} // namespace

void MCES::updateG(int x, int y) {
    nbMatched += 1;
    M12[x] = y;
    M21[y] = x;
    won = static_cast<int>(won + g[x][y]);
    unmatched1->erase(x);
    unmatched2->erase(y);
    eraseSorted(open1, x);
    eraseSorted(open2, y);

    // x and y leave the candidate lists: their gains leave the other nodes' totals.
    for (int i : open1)
        g[i][n2] -= g[i][y];
    for (int j : open2)
        g[n1][j] -= g[x][j];

    // Every unmatched pair (a, b) joined to (x, y) by edges of the same direction now
    // secures the relations those two edges have in common.
    std::vector<std::pair<int, int>> touched;
    for (Edge* e1 : g1->V[x]->in) {
        const int a = e1->from;
        if (M12[a] != kNoPartner) continue;
        for (Edge* e2 : g2->V[y]->in) {
            const int b = e2->from;
            if (M21[b] != kNoPartner || OEdges[a][b] + ONodes[a][b] == 0) continue;
            propagateGain(a, b, e1, e2, touched);
        }
    }
    for (Edge* e1 : g1->V[x]->out) {
        const int a = e1->to;
        if (M12[a] != kNoPartner) continue;
        for (Edge* e2 : g2->V[y]->out) {
            const int b = e2->to;
            if (M21[b] != kNoPartner || potential[a][b] == 0) continue;
            propagateGain(a, b, e1, e2, touched);
        }
    }
    refileCells(x, y, touched);
}

void MCES::propagateGain(int a, int b, Edge* e1, Edge* e2,
                         std::vector<std::pair<int, int>>& touched) {
    const int inc = compareEdges(e1, e2);
    g[a][b] += inc;
    g[a][n2] += inc;
    g[n1][b] += inc;
    touched.emplace_back(a, b);
}

void MCES::refileCells(int x, int y, const std::vector<std::pair<int, int>>& touched) {
    if (ff == nullptr || M == nullptr) return;
    for (int i = 0; i < n1; ++i)
        ff->remove(&M[i][y]);
    for (int j = 0; j < n2; ++j)
        ff->remove(&M[x][j]);
    for (const auto& pair : touched) {
        cell& c = M[pair.first][pair.second];
        c.delta = g[pair.first][pair.second];
        c.delta_m = c.delta + simil[pair.first][pair.second] * BIAS;
        ff->insert(&c, false);
    }
}

void MCES::update(int x, int y) {
    updateG(x, y);
    rescore(); // algorithm 9 keeps its first scores
}

void MCES::update1(int x, int y) {
    updateG(x, y);
    std::set<int> ngb1;
    std::set<int> ngb2;
    consumeLabelCounts(true, x, ngb1);
    consumeLabelCounts(false, y, ngb2);
    refreshCrossLabels(ngb1, ngb2);
    for (int k = 1; k < nb_labels; ++k) {
        if (cin1[x][k] != 0 && cout1[x][k] != 0 && cin2[y][k] != 0 && cout2[y][k] != 0)
            console() << "\n UH OH \n";
        cin1[x][k] = cout1[x][k] = cin2[y][k] = cout2[y][k] = 0;
    }
    const long long left = static_cast<long long>(n1 - nbMatched) * (n2 - nbMatched);
    alpha = left > INT_MAX ? INT_MAX : static_cast<int>(left);
    dropConnexions(x, y);
    if (idAlgo == 1 || idAlgo == 8) updatePromoted(&ngb1, &ngb2);
    allG -= lost;
    setGamma1(idAlgo == 0 || alpha == 0 ? 0.0f : 1.0f / static_cast<float>(alpha));
}

void MCES::consumeLabelCounts(bool first, int x, std::set<int>& ngb) {
    Graph* gr = first ? g1 : g2;
    int** in = first ? cin1 : cin2;
    int** out = first ? cout1 : cout2;
    const int width = first ? width1 : width2;
    const int* partner = first ? M12 : M21;
    for (Edge* e : gr->V[x]->edges) {
        const bool incoming = e->to == x;
        const int a = incoming ? e->from : e->to;
        if (a == x || partner[a] != kNoPartner) continue;
        ngb.insert(a);
        for (char ch : e->label) {
            const int k = ch - '0';
            if (k < 0 || k >= width) continue;
            if (incoming) {
                --in[x][k];
                --out[a][k];
            } else {
                --out[x][k];
                --in[a][k];
            }
        }
    }
}

void MCES::dropConnexions(int x, int y) {
    auto drop = [&](int i, int j) {
        const int c = connexions[i][j];
        connexions[i][n2] -= c;
        connexions[n1][j] -= c;
        connexions[i][j] = 0;
        return c;
    };
    lost = drop(x, y);
    for (int j : open2)
        lost += drop(x, j);
    for (int i : open1)
        lost += drop(i, y);
}

void MCES::updatePromoted(std::set<int>* nbor1, std::set<int>* nbor2) {
    for (int i : *nbor1)
        for (int j : open2)
            recountConnexions(i, j);
    for (int j : *nbor2)
        for (int i : open1)
            if (nbor1->count(i) == 0) recountConnexions(i, j);
}

void MCES::recountConnexions(int i, int j) {
    int fresh = 0;
    for (int k = 1; k < nb_labels; ++k)
        fresh += cin1[i][k] * cin2[j][k] + cout1[i][k] * cout2[j][k];
    const int d = fresh - connexions[i][j];
    if (d == 0) return;
    connexions[i][j] = fresh;
    lost -= d;
    connexions[i][n2] += d;
    connexions[n1][j] += d;
}
