// Word statistics of both graphs, prepared once when the matcher is initialised: which nodes
// take part, seeded pairs along the containment tree, and the term-based candidate pairs
// that open the moves of the search.
#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <queue>
#include <utility>

#include "graph/Kinds.h"
#include "match/Match.h"
#include "util/Console.h"
#include "util/Folders.h"
#include "util/OutputRecord.h"

namespace {

/// Containment relations carry this label code.
/// Terms occurring this often or more in either graph are too common to pair nodes.
constexpr int kCommonTermOccurrences = 300;
/// Ids of the pseudo-terms in both term tables.
constexpr short kAllEntitiesId = 0;
constexpr short kAllTermsId = 1;
constexpr short kFirstTermId = 2;

bool isRelevant(const bool* relevant, int n) {
    return relevant == nullptr || relevant[n];
}

/// Adds inc to a short counter, saturating instead of wrapping around.
short saturatedAdd(short value, int inc) {
    const int sum = std::max(SHRT_MIN, std::min(SHRT_MAX, value + inc));
    return static_cast<short>(sum);
}

/// Containment children of v keyed by label + "__" + specif (the first child of a key wins).
std::map<std::string, int> containedChildren(const Vertex* v, const Graph* g) {
    std::map<std::string, int> children;
    for (const Edge* e : v->out) {
        if (e == nullptr || e->from == e->to || e->labels == nullptr) continue;
        if (e->labels[kContainmentLabel] <= 0) continue;
        if (e->to < 0 || e->to >= g->vertices) continue;
        const Vertex* child = g->vertex(e->to);
        children.emplace(child->label + "__" + child->specif, e->to);
    }
    return children;
}

/// Counter slot of a neighbour kind: (type mod 4) + 1, kept in 1..4 for any type.
int kindSlot(short type) {
    return ((type % 4) + 4) % 4 + 1;
}

/// Id of a term, or -1 when the term is not in the table.
int termId(const std::map<std::string, std::pair<short, short>>& terms, const std::string& w) {
    auto it = terms.find(w);
    return it == terms.end() ? -1 : it->second.first;
}

} // namespace

// -------------------------------------------------------------------------------------
// Relevant nodes and seeded pairs
// -------------------------------------------------------------------------------------

void Match::getRelevant() {
    if (g1 == nullptr || g2 == nullptr || M12 == nullptr || M21 == nullptr || _N == nullptr) return;
    const int n1 = order(true);
    const int n2 = order(false);
    delete[] relevant1;
    delete[] relevant2;
    relevant1 = new bool[n1]();
    relevant2 = new bool[n2]();
    for (int x = 0; x < n1; x++)
        M12[x] = kNoPartner;
    for (int y = 0; y < n2; y++)
        M21[y] = kNoPartner;

    std::vector<std::pair<int, int>> seeded;
    const int r1 = g1->root;
    const int r2 = g2->root;
    if (r1 >= 0 && r1 < n1 && r2 >= 0 && r2 < n2) {
        std::queue<std::pair<int, int>> pending;
        auto seed = [&](int a, int b) {
            M12[a] = b;
            M21[b] = a;
            (*_N)(static_cast<unsigned>(a), static_cast<unsigned>(b)) = 1;
            seeded.emplace_back(a, b);
            pending.emplace(a, b);
        };
        seed(r1, r2);
        while (!pending.empty()) {
            const auto [a, b] = pending.front();
            pending.pop();
            const auto children1 = containedChildren(g1->vertex(a), g1);
            const auto children2 = containedChildren(g2->vertex(b), g2);
            for (const auto& [key, child1] : children1) {
                auto match = children2.find(key);
                // Only free nodes are paired: keeps the matching one-to-one and the walk
                // finite even when containment arcs form a cycle.
                if (match == children2.end()) continue;
                if (M12[child1] != kNoPartner || M21[match->second] != kNoPartner) continue;
                seed(child1, match->second);
            }
        }
    }
    markRelevant(true);
    markRelevant(false);
    for (const auto& [a, b] : seeded)
        relevant1[a] = relevant2[b] = relevant1[a] || relevant2[b];

    const auto count1 = std::count(relevant1, relevant1 + n1, true);
    const auto count2 = std::count(relevant2, relevant2 + n2, true);
    console() << "\n Nb Relevants 1: \t" << count1;
    console() << "\n Nb Relevants 2: \t" << count2;
}

void Match::markRelevant(bool left) {
    const Graph* g = left ? g1 : g2;
    const int* partners = left ? M12 : M21;
    bool* relevant = left ? relevant1 : relevant2;
    for (int n = 0; n < g->vertices; n++) {
        bool flag = partners[n] == kNoPartner;
        if (!flag && g->neighbors != nullptr)
            for (int m : g->neighbors[n])
                if (m >= 0 && m < g->vertices && partners[m] == kNoPartner) {
                    flag = true;
                    break;
                }
        relevant[n] = flag;
    }
}

// -------------------------------------------------------------------------------------
// Term tables
// -------------------------------------------------------------------------------------

void Match::getTerms(Graph* A, Graph* B, bool* relv1, bool* relv2) {
    ALLTRM = "*";
    ALLENT = "_";
    collectTerms(A, relv1, terms1);
    collectTerms(B, relv2, terms2);
    console() << "\n Terms: " << terms1.size() << "\t" << terms2.size();
}

void Match::collectTerms(Graph* g, const bool* relevant,
                         std::map<std::string, std::pair<short, short>>& terms) {
    terms.clear();
    terms[ALLENT] = {kAllEntitiesId, 0};
    terms[ALLTRM] = {kAllTermsId, 0};
    int nextId = kFirstTermId;
    bool tooMany = false;
    for (int n = 0; g != nullptr && n < g->vertices; n++) {
        if (!isRelevant(relevant, n)) continue;
        Vertex* v = g->vertex(n);
        v->settify();
        if (v->nTerms != nullptr)
            for (const std::string& w : *v->nTerms) {
                auto it = terms.find(w);
                if (it != terms.end()) {
                    it->second.second = saturatedAdd(it->second.second, 1);
                } else if (nextId <= SHRT_MAX) {
                    terms[w] = {static_cast<short>(nextId++), 1};
                } else if (!tooMany) {
                    // Term ids are short: further new words cannot be told apart.
                    console() << "\n Terms: more than " << SHRT_MAX << " words in " << g->name
                              << ", further new words are ignored";
                    tooMany = true;
                }
                terms[ALLTRM].second = saturatedAdd(terms[ALLTRM].second, 1);
            }
        terms[ALLENT].second = saturatedAdd(terms[ALLENT].second, 1);
    }
}

void Match::updateSemarel(SparseMatrix<semarel>* nT, int n, int t, short i, short inc) {
    if (nT == nullptr || n < 0 || t < 0 || i < 0 || i >= iterms) return;
    semarel& rel = (*nT)(static_cast<unsigned>(n), static_cast<unsigned>(t));
    if (rel.count == nullptr) {
        rel.count = new short[static_cast<size_t>(iterms)]();
        rel.sum = 0;
    }
    rel.count[i] = saturatedAdd(rel.count[i], inc);
    rel.sum = saturatedAdd(rel.sum, inc);
}

void Match::matrixEntityTerm(Graph* A, Graph* B, bool* relv1, bool* relv2) {
    iterms = kTermCounters;
    freeTermTables();
    nodeTerms1 = entityTerms(A, relv1, terms1);
    nodeTerms2 = entityTerms(B, relv2, terms2);
}

SparseMatrix<semarel>*
Match::entityTerms(Graph* g, const bool* relevant,
                   const std::map<std::string, std::pair<short, short>>& terms) {
    if (g == nullptr) return new SparseMatrix<semarel>();
    auto* table = new SparseMatrix<semarel>(static_cast<unsigned>(g->vertices),
                                            static_cast<unsigned>(terms.size()));
    const int all = termId(terms, ALLTRM);
    const int entity = termId(terms, ALLENT);
    for (int n = 0; n < g->vertices; n++) {
        if (!isRelevant(relevant, n)) continue;
        const Vertex* v = g->vertex(n);
        if (v->nTerms != nullptr)
            for (const std::string& w : *v->nTerms) {
                const int id = termId(terms, w);
                if (id >= 0) updateSemarel(table, n, id, 0, 1);
                updateSemarel(table, n, all, 0, 1);
            }
        updateSemarel(table, n, entity, 0, 1);
    }
    for (const Edge* e : g->E) {
        if (e == nullptr || e->from < 0 || e->to < 0) continue;
        if (e->from >= g->vertices || e->to >= g->vertices) continue;
        if (!isRelevant(relevant, e->from) || !isRelevant(relevant, e->to)) continue;
        const Vertex* source = g->vertex(e->from);
        const Vertex* target = g->vertex(e->to);
        const short weight = saturatedAdd(0, static_cast<int>(e->label.size()));
        const int kf = kindSlot(source->type);
        const int kt = kindSlot(target->type);
        // The target learns the source's words as entering-neighbour terms, and back.
        addNeighbourTerms(table, terms, source, e->to, static_cast<short>(kf + 4),
                          static_cast<short>(kf), weight);
        addNeighbourTerms(table, terms, target, e->from, static_cast<short>(kt),
                          static_cast<short>(kt), weight);
    }
    return table;
}

void Match::addNeighbourTerms(SparseMatrix<semarel>* table,
                              const std::map<std::string, std::pair<short, short>>& terms,
                              const Vertex* neighbour, int node, short slot, short entitySlot,
                              short weight) {
    const int all = termId(terms, ALLTRM);
    if (neighbour->nTerms != nullptr)
        for (const std::string& w : *neighbour->nTerms) {
            const int id = termId(terms, w);
            if (id >= 0) updateSemarel(table, node, id, slot, weight);
            updateSemarel(table, node, all, slot, weight);
        }
    updateSemarel(table, node, termId(terms, ALLENT), entitySlot, weight);
}

void Match::freeTermTables() {
    for (SparseMatrix<semarel>** table : {&nodeTerms1, &nodeTerms2, &semilT}) {
        if (*table == nullptr) continue;
        for (auto& row : (*table)->mat)
            for (auto& entry : row.second)
                delete[] entry.second.count;
        delete *table;
        *table = nullptr;
    }
}

// -------------------------------------------------------------------------------------
// Term-based candidate pairs
// -------------------------------------------------------------------------------------

void Match::semilarity() {
    sim_thres = 0.5f;
    if (g1 == nullptr || g2 == nullptr || nodeTerms1 == nullptr || nodeTerms2 == nullptr) {
        console() << "\n NbValidPairs = 0\n\t ...Done";
        return;
    }
    shareTermCounters();
    const std::string dir = kResultsFolder;
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    const std::string path = dir + "sem_" + g1->name + "__" + g2->name + "_PAIRS.csv";
    std::ofstream out(path, std::ios::trunc);
    if (!out) {
        console() << "\n Cannot write " << path << ": the term pairs are not saved";
        noteUnwrittenFile(path);
    }
    const int count = writeTermPairs(out);
    console() << "\n NbValidPairs = " << count << "\n";
    freeTermTables();
    terms1.clear();
    terms2.clear();
    console() << "\t ...Done";
}

namespace {

/// The shared counters of one first-graph node with every second-graph node, kept in dense
/// arrays that are reset after each node: the term pairs are found and written one node at a
/// time, so the whole node-by-node table never has to be held at once.
class SharedRow {
public:
    SharedRow(int nodes, int counters)
        : counters_(counters), sums_(static_cast<size_t>(nodes), 0),
          counts_(static_cast<size_t>(nodes) * static_cast<size_t>(counters), 0),
          seen_(static_cast<size_t>(nodes), false) {}

    /// Adds the smaller of each pair of counters to the shared counters of node m.
    void add(int m, const semarel& a, const short* b) {
        if (!seen_[m]) {
            seen_[m] = true;
            touched_.push_back(m);
        }
        short* shared = &counts_[static_cast<size_t>(m) * counters_];
        for (int i = 0; i < counters_; i++) {
            const short common = std::min(a.count[i], b[i]);
            shared[i] = saturatedAdd(shared[i], common);
            sums_[m] = saturatedAdd(sums_[m], common);
        }
    }

    /// The nodes with shared counters, ascending.
    const std::vector<int>& nodes() {
        std::sort(touched_.begin(), touched_.end());
        return touched_;
    }
    short sum(int m) const { return sums_[m]; }
    const short* counts(int m) const { return &counts_[static_cast<size_t>(m) * counters_]; }

    void clear() {
        for (int m : touched_) {
            seen_[m] = false;
            sums_[m] = 0;
            std::fill_n(&counts_[static_cast<size_t>(m) * counters_], counters_, short{0});
        }
        touched_.clear();
    }

private:
    int counters_;
    std::vector<short> sums_;
    std::vector<short> counts_;
    std::vector<bool> seen_;
    std::vector<int> touched_;
};

} // namespace

void Match::shareTermCounters() {
    // The shared counters are built and used one first-graph node at a time by
    // writeTermPairs; no whole table is kept.
    delete semilT;
    semilT = nullptr;
}

int Match::writeTermPairs(std::ostream& out) {
    // Same word in both graphs, unless it is too common in either.
    std::vector<int> corresponding(terms1.size(), -1);
    for (const auto& [word, idCount] : terms1) {
        auto it = terms2.find(word);
        if (it == terms2.end()) continue;
        if (idCount.second >= kCommonTermOccurrences || it->second.second >= kCommonTermOccurrences)
            continue;
        if (idCount.first >= 0 && static_cast<size_t>(idCount.first) < corresponding.size())
            corresponding[static_cast<size_t>(idCount.first)] = it->second.first;
    }
    // Posting lists of the second graph: term id -> (node, kind, counters), nodes ascending,
    // only the relevant nodes of the graph. The counters are copied next to each other, so
    // that a list is read in one sweep.
    struct Posting {
        int node;
        short type;
        size_t counters; ///< offset of its iterms counters in postedCounters
    };
    std::vector<std::vector<Posting>> postings(terms2.size());
    std::vector<short> postedCounters;
    for (auto& [m, row] : nodeTerms2->mat) {
        const int node = static_cast<int>(m);
        if (node < 0 || node >= order(false) || !isRelevant(relevant2, node)) continue;
        const short type = g2->vertex(node)->type;
        for (auto& [t, rel] : row) {
            if (t >= postings.size()) continue;
            postings[t].push_back({node, type, postedCounters.size()});
            postedCounters.insert(postedCounters.end(), rel.count, rel.count + iterms);
        }
    }

    auto counters = [this](short sum, const short* count) {
        std::string text = std::to_string(sum) + "_";
        for (int i = 0; i < iterms; i++)
            text += std::to_string(count[i]);
        return text;
    };
    SharedRow shared(order(false), iterms);
    int count = 0;
    // First-graph nodes ascending, then second-graph nodes ascending: the order of the lines
    // and of the moves opened.
    for (auto& [n, row] : nodeTerms1->mat) {
        if (!isRelevant(relevant1, static_cast<int>(n))) continue;
        const short type1 = g1->V[n]->type;
        for (auto& [k1, rel1] : row) {
            if (k1 < static_cast<unsigned>(kFirstTermId) || k1 >= corresponding.size()) continue;
            const int k2 = corresponding[k1];
            if (k2 < 0) continue;
            for (const Posting& p : postings[static_cast<size_t>(k2)])
                if (p.type == type1) shared.add(p.node, rel1, &postedCounters[p.counters]);
        }
        for (int m : shared.nodes()) {
            if (shared.sum(m) == 0) continue;
            const semarel* a = nodeTerms1->find(n, kAllTermsId);
            const semarel* b = nodeTerms2->find(static_cast<unsigned>(m), kAllTermsId);
            if (a == nullptr || b == nullptr) continue;
            const int smaller = std::min(a->sum, b->sum);
            if (smaller <= 0) continue;
            const float sim = static_cast<float>(shared.sum(m)) / static_cast<float>(smaller);
            if (sim < sim_thres) continue;
            out << "\n"
                << n << "," << m << "," << g1->V[n]->label << "," << g2->V[m]->label << ","
                << counters(a->sum, a->count) << "," << counters(b->sum, b->count) << ","
                << counters(shared.sum(m), shared.counts(m));
            updateMoves(static_cast<int>(n), m, true);
            count++;
        }
        shared.clear();
    }
    return count;
}
