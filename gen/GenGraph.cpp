// Random benchmark pairs: the label distributions, the joint draws of both graphs, the extra
// nodes and the renumberings of the four generating forms.
#include "gen/GenGraph.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "util/Console.h"
#include "util/Random.h"

namespace {

/// The generators of random pairs divide draws by one more than the largest draw, so a
/// draw never reaches 1.
double unitDraw() {
    return randDraw() / static_cast<double>(kRandMax + 1);
}

/// Probability of label v among k labels whose probabilities decay by ratio r (uniform when
/// r is 1).
double decayingProba(int v, int k, double r) {
    if (r != 1) return std::pow(r, v) * (1 - r) / (1 - std::pow(r, k));
    return 1.0 / k;
}

} // namespace

GenGraph::LabelTables::~LabelTables() {
    delete[] single;
    delete[] joint;
}

GenGraph::GenGraph(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld,
                   double _pd, double _pi, std::string filename, int _seed, bool undir) {
    storeParameters(_n, static_cast<float>(_q), _el, static_cast<float>(_eld),
                    static_cast<float>(_pd), static_cast<float>(_pi), _seed, undir);
    nl = _nl;
    nld = static_cast<float>(_nld);
    e = static_cast<float>(_e);
    p = n > 0 ? e / n : 0;
    seedRandom(static_cast<unsigned>(seed));
    if (!validLabels(nl, nld) || !validLabels(el, eld) || !validSizes(n, pd, pi)) {
        console() << "\n Invalid generator parameters: nothing generated\n";
        return;
    }
    console() << n << "," << p << "," << q << "," << nl << "," << nld << "," << el << "," << eld
              << "," << pd << "," << pi << "," << seed << "\n";
    generateFull(true);
    write(filename);
}

GenGraph::GenGraph(int _n, double _e, double _q, int _el, double _d, double _pd, double _pi,
                   std::string filename, int _seed, bool undir) {
    storeParameters(_n, static_cast<float>(_q), _el, static_cast<float>(_d),
                    static_cast<float>(_pd), static_cast<float>(_pi), _seed, undir);
    e = static_cast<float>(_e);
    p = n > 0 ? e / n : 0;
    seedRandom(static_cast<unsigned>(seed));
    if (!validLabels(el, eld) || !validSizes(n, pd, pi)) {
        console() << "\n Invalid generator parameters: nothing generated\n";
        return;
    }
    console() << n << "," << p << "," << q << "," << el << "," << eld << "," << pd << "," << pi
              << "," << seed << "\n";
    generateFull(false);
    write(filename);
}

GenGraph::GenGraph(int _n, double _p, double _q, int _el, double _d, std::string filename,
                   int _seed) {
    storeParameters(_n, static_cast<float>(_q), _el, static_cast<float>(_d), 0, 0, _seed, false);
    p = static_cast<float>(_p);
    e = p * n;
    seedRandom(static_cast<unsigned>(seed));
    if (!validLabels(el, eld) || !validSizes(n, 0, 0)) {
        console() << "\n Invalid generator parameters: nothing generated\n";
        return;
    }
    console() << n << "," << p << "," << q << "," << el << "," << eld << "," << seed << "\n";
    allocate();
    // Graph 2 is drawn directly in its own numbering: pair (i, j) of graph 1 lands on
    // (to_shuffle[i], to_shuffle[j]).
    to_shuffle = shuffled(n, n - 1);
    LabelTables edgeTables;
    buildEdgeTables(edgeTables);
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            if (j == i) continue;
            int a = 0;
            int b = 0;
            drawPair(edgeTables, a, b);
            edges1[i][j] = a;
            edges2[to_shuffle[i]][to_shuffle[j]] = b;
            if (a != 0) m1++;
            if (b != 0) m2++;
            countPair(a, b, false);
        }
    }
    to_shuffle1 = shuffled(n, 0);
    to_shuffle2 = shuffled(n, 0);
    write(filename);
}

GenGraph::GenGraph(int _n, double _p, double _q, std::string filename, int _seed) {
    storeParameters(_n, static_cast<float>(_q), 1, 1, 0, 0, _seed, false);
    p = static_cast<float>(_p);
    e = p * n;
    if (!validSizes(n, 0, 0)) {
        console() << "\n Invalid generator parameters: nothing generated\n";
        return;
    }
    allocate();
    to_shuffle = shuffled(n, n - 1);
    // Outcomes in draw order: no arc, arc in graph 2 only, arc in graph 1 only, arc in both.
    const double pp = p;
    const double qq = q;
    const double outcome[4] = {(1 - pp) * qq + (1 - pp) * (1 - pp) * (1 - qq),
                               (1 - pp) * (1 - qq) * pp, (1 - pp) * (1 - qq) * pp,
                               pp * qq + pp * pp * (1 - qq)};
    const int inGraph1[4] = {0, 0, 1, 1};
    const int inGraph2[4] = {0, 1, 0, 1};
    double cumulative[4];
    double sum = 0;
    for (int k = 0; k < 4; k++)
        cumulative[k] = (sum += outcome[k]);
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            if (j == i) continue;
            double r = unitDraw();
            int k = 0;
            while (k < 3 && r > cumulative[k])
                k++;
            edges1[i][j] = inGraph1[k];
            edges2[to_shuffle[i]][to_shuffle[j]] = inGraph2[k];
            m1 += inGraph1[k];
            m2 += inGraph2[k];
            countPair(inGraph1[k], inGraph2[k], false);
        }
    }
    to_shuffle1 = shuffled(n, 0);
    to_shuffle2 = shuffled(n, 0);
    write(filename);
}

GenGraph::~GenGraph() {
    release();
    delete[] nodes1;
    delete[] nodes2;
}

bool GenGraph::validLabels(int labels, double ratio) {
    if (labels < 1) return false;
    return !(labels == 1 && ratio != 1);
}

bool GenGraph::validSizes(int nodes, double extra1, double extra2) {
    return nodes >= 0 && extra1 >= 0 && extra2 >= 0;
}

void GenGraph::storeParameters(int _n, float _q, int _el, float _eld, float _pd, float _pi,
                               int _seed, bool undir) {
    n = _n;
    q = _q;
    el = _el;
    eld = _eld;
    pd = _pd;
    pi = _pi;
    seed = _seed;
    undirected = undir ? 1 : 0;
    n1 = n + static_cast<int>(n * pd / 100);
    n2 = n + static_cast<int>(n * pi / 100);
}

void GenGraph::allocate() {
    nodes1 = new int[n1]();
    nodes2 = new int[n2]();
    edges1 = new int*[n1];
    for (int i = 0; i < n1; i++)
        edges1[i] = new int[n1]();
    edges2 = new int*[n2];
    for (int i = 0; i < n2; i++)
        edges2[i] = new int[n2]();
}

void GenGraph::buildJoint(LabelTables& t, const double* proba, float agree) {
    const int k = t.k;
    t.joint = new double[static_cast<size_t>(k) * k];
    double cumulative = 0;
    for (int a = 0; a < k; a++) {
        for (int b = 0; b < k; b++) {
            double cell = proba[a] * (1 - agree) * proba[b];
            if (a == b) cell += proba[a] * agree;
            cumulative += cell;
            t.joint[a * k + b] = cumulative;
            console() << "\n" << a << "," << b << "," << cell << "," << cumulative;
        }
    }
    t.single = new double[k];
    double total = 0;
    for (int v = 0; v < k; v++)
        t.single[v] = (total += proba[v]);
}

void GenGraph::buildNodeTables(LabelTables& t) const {
    t.k = nl;
    double* proba = new double[nl];
    for (int v = 0; v < nl; v++) {
        proba[v] = decayingProba(v, nl, nld);
        console() << "\n PROBA " << v << " : " << proba[v];
    }
    buildJoint(t, proba, q);
    delete[] proba;
    // Node pairs are renormalised so that the table ends exactly at 1.
    const int cells = nl * nl;
    const double last = t.joint[cells - 1];
    if (last > 0)
        for (int c = 0; c < cells; c++)
            t.joint[c] /= last;
    console() << "\n NSUMPROBA = " << t.single[nl - 1];
}

void GenGraph::buildEdgeTables(LabelTables& t) const {
    t.k = el + 1;
    double* proba = new double[el + 1];
    proba[0] = 1 - p;
    console() << "\n ProbaE 0 : " << proba[0];
    for (int l = 1; l <= el; l++) {
        proba[l] = p * decayingProba(l - 1, el, eld);
        console() << "\n ProbaE " << l << " : " << proba[l];
    }
    buildJoint(t, proba, q);
    delete[] proba;
}

void GenGraph::drawPair(const LabelTables& t, int& a, int& b) {
    const double r = unitDraw();
    const int last = t.k * t.k - 1;
    // Rounding may leave the table's end just below the draw: the last cell takes it.
    int cell = 0;
    while (cell < last && r > t.joint[cell])
        cell++;
    a = cell / t.k;
    b = cell % t.k;
}

int GenGraph::drawSingle(const LabelTables& t) {
    const double r = unitDraw();
    int v = 0;
    while (v < t.k - 1 && r > t.single[v])
        v++;
    return v;
}

void GenGraph::drawNodeLabels(const LabelTables& t) {
    for (int w = 0; w < n; w++) {
        int a = 0;
        int b = 0;
        drawPair(t, a, b);
        nodes1[w] = a;
        nodes2[w] = b;
        if (a != b) {
            n_node_errors += 1;
            v_node_errors += std::abs(a - b);
        }
    }
    for (int w = n; w < n1; w++)
        nodes1[w] = drawSingle(t);
    for (int w = n; w < n2; w++)
        nodes2[w] = drawSingle(t);
}

void GenGraph::countPair(int a, int b, bool withEdgeErrors) {
    if (a != b) {
        if (a != 0 && b != 0)
            label_errors += 1;
        else
            struct_errors += 1;
        if (withEdgeErrors) edge_errors += std::abs(a - b);
    } else if (a != 0) {
        score += 1;
    }
}

void GenGraph::drawCommonPairs(const LabelTables& t) {
    for (int i = 0; i < n; i++) {
        for (int j = undirected ? i + 1 : 0; j < n; j++) {
            if (j == i) continue;
            int a = 0;
            int b = 0;
            drawPair(t, a, b);
            edges1[i][j] = a;
            edges2[i][j] = b;
            int copies = 1;
            if (undirected) {
                edges1[j][i] = a;
                edges2[j][i] = b;
                copies = 2;
            }
            if (a != 0) m1 += copies;
            if (b != 0) m2 += copies;
            countPair(a, b, true);
        }
    }
    // Each undirected pair stands for both of its ordered pairs.
    if (undirected) {
        struct_errors *= 2;
        label_errors *= 2;
        score *= 2;
        edge_errors *= 2;
    }
}

void GenGraph::drawExtraPairs(const LabelTables& t, int** edges, int nodes, int& arcs) {
    for (int i = 0; i < nodes; i++) {
        for (int j = undirected ? i + 1 : 0; j < nodes; j++) {
            if (j == i || (i < n && j < n)) continue;
            int l = drawSingle(t);
            edges[i][j] = l;
            if (l != 0) arcs++;
            if (undirected) {
                edges[j][i] = l;
                if (l != 0) arcs++;
            }
        }
    }
}

int* GenGraph::shuffled(int size, int steps) {
    int* order = new int[size > 0 ? size : 0];
    for (int k = 0; k < size; k++)
        order[k] = k;
    for (int k = 0; k < steps && k < size; k++)
        std::swap(order[k], order[k + randDraw() % (size - k)]);
    return order;
}

void GenGraph::generateFull(bool nodeLabels) {
    allocate();
    if (nodeLabels) {
        LabelTables nodeTables;
        buildNodeTables(nodeTables);
        drawNodeLabels(nodeTables);
    }
    LabelTables edgeTables;
    buildEdgeTables(edgeTables);
    drawCommonPairs(edgeTables);
    drawExtraPairs(edgeTables, edges1, n1, m1);
    drawExtraPairs(edgeTables, edges2, n2, m2);
    to_shuffle1 = shuffled(n1, n1 - 1);
    // Graph 2 stops one swap short; stored benchmarks and their references were made so.
    to_shuffle2 = shuffled(n2, n2 - 2);
}
