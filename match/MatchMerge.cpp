// Block vertices: the merged vertex that stands for a set of nodes of one graph, found again by
// its member-set key, and the block edges registered so that cost evaluations see a block as
// an ordinary vertex.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "match/Match.h"
#include "match/MoveContext.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {

/// Appends the label text and adds the relation counts of `from` to `into`.
void combineEdge(Edge* into, const Edge* from) {
    into->label += from->label;
    if (from->labels == nullptr) return;
    if (into->labels == nullptr) into->labels = new short[kLabelCodes]();
    for (int k = 0; k < kLabelCodes; k++)
        into->labels[k] = static_cast<short>(into->labels[k] + from->labels[k]);
}

/// Adds the words of `from` to `into`, creating `into` when needed.
void uniteTerms(std::set<std::string>*& into, const std::set<std::string>* from) {
    if (from == nullptr) return;
    if (into == nullptr) into = new std::set<std::string>();
    into->insert(from->begin(), from->end());
}

/// "_" + each member + "_", then "_", "-", each term + "-", and a closing "-":
/// members 3 and 7 with the terms a and b give _3_7__-a-b--.
std::string blockLabel(const Vertex& block) {
    std::string label = "_";
    for (int member : *block.nodes)
        label += std::to_string(member) + "_";
    label += "_-";
    if (block.nTerms != nullptr)
        for (const std::string& term : *block.nTerms)
            label += term + "-";
    label += "-";
    return label;
}

} // namespace

Vertex* Match::mergeNodes(std::vector<Vertex*>* nodes, int nnumber) {
    if (nodes == nullptr || nodes->empty()) return nullptr;
    if (nodes->size() == 1) return nodes->front();

    auto* merged = new Vertex();
    merged->number = nnumber;
    merged->nodes = new std::set<int>();
    bool typed = false;
    for (const Vertex* v : *nodes) {
        if (v == nullptr) continue;
        if (!typed) {
            merged->type = v->type;
            typed = true;
        } else if (v->type != merged->type) {
            console() << "\n MERGING DIFFERENT TYPES OF NODES";
        }
        merged->nodes->insert(v->number);
    }
    uniteMemberTerms(*merged, *nodes);
    mergeMemberEdges(*merged, *nodes);
    merged->label = blockLabel(*merged);
    return merged;
}

void Match::uniteMemberTerms(Vertex& merged, const std::vector<Vertex*>& nodes) {
    for (const Vertex* v : nodes) {
        if (v == nullptr) continue;
        uniteTerms(merged.nTerms, v->nTerms);
        uniteTerms(merged.nPaths, v->nPaths);
        uniteTerms(merged.nSpecs, v->nSpecs);
    }
}

void Match::mergeMemberEdges(Vertex& merged, const std::vector<Vertex*>& nodes) {
    // Every member edge in the order met (members in list order, each one's edges in
    // order), with its ends and its ends rewritten to the block.
    struct Met {
        std::pair<int, int> ends;
        std::pair<int, int> merged;
        size_t order;
        Edge* edge;
    };
    // Blocks are rebuilt for every grow and shrink move priced, so the working lists are
    // kept from one call to the next.
    static thread_local std::vector<int> given;
    static thread_local std::vector<Met> met;
    given.clear();
    met.clear();
    for (const Vertex* v : nodes)
        if (v != nullptr) given.push_back(v->number);
    std::sort(given.begin(), given.end());
    const auto isMember = [](int n) { return std::binary_search(given.begin(), given.end(), n); };
    for (const Vertex* v : nodes) {
        if (v == nullptr) continue;
        for (Edge* e : v->edges)
            if (e != nullptr) met.push_back({{e->from, e->to}, {}, met.size(), e});
    }
    const auto byEndsThenOrder = [](const Met& a, const Met& b) {
        return a.ends != b.ends ? a.ends < b.ends : a.order < b.order;
    };
    const auto byMergedThenOrder = [](const Met& a, const Met& b) {
        return a.merged != b.merged ? a.merged < b.merged : a.order < b.order;
    };
    // An edge between two members is met from both; only its first meeting counts.
    std::sort(met.begin(), met.end(), byEndsThenOrder);
    met.erase(std::unique(met.begin(), met.end(),
                          [](const Met& a, const Met& b) { return a.ends == b.ends; }),
              met.end());
    for (Met& m : met)
        m.merged = {isMember(m.ends.first) ? merged.number : m.ends.first,
                    isMember(m.ends.second) ? merged.number : m.ends.second};
    std::sort(met.begin(), met.end(), byMergedThenOrder);

    // One edge per pair of rewritten ends, ascending, its counts summed in the order met.
    // An edge between two members becomes a loop on the block; its counts are summed like
    // any other, since every cost reads the merged counts as plain totals.
    size_t distinct = 0;
    for (size_t i = 0; i < met.size(); i++)
        if (i == 0 || met[i].merged != met[i - 1].merged) distinct++;
    merged.edges.reserve(merged.edges.size() + distinct);
    Edge* current = nullptr;
    for (size_t i = 0; i < met.size(); i++) {
        if (i > 0 && met[i].merged == met[i - 1].merged) {
            combineEdge(current, met[i].edge);
            continue;
        }
        current = met[i].edge->duplicate();
        current->from = met[i].merged.first;
        current->to = met[i].merged.second;
        merged.edges.push_back(current);
    }
}

namespace {

/// Stores a new block's edges in the side's block-edge table, and the same edges seen from the
/// blocks that currently hold their other ends (edges landing in one block pair combined).
void registerBlockEdges(Match& m, Vertex* block, bool left) {
    if ((left ? m.E1 : m.E2) == nullptr) return;
    const int number = block->number;
    std::map<std::pair<int, int>, Edge*> toCurrentBlocks;
    for (Edge* e : block->edges) {
        m.setBlockEdge(left, e->from, e->to, e);
        // The same edge seen from the blocks that currently hold its other end.
        const int from = e->from < number ? m.getBlock(e->from, left) : e->from;
        const int to = e->to < number ? m.getBlock(e->to, left) : e->to;
        if (from == e->from && to == e->to) continue;
        if (m.findBlockEdge(left, from, to) != nullptr) continue;
        auto it = toCurrentBlocks.find({from, to});
        if (it != toCurrentBlocks.end()) {
            combineEdge(it->second, e);
            continue;
        }
        Edge* copy = e->duplicate();
        copy->from = from;
        copy->to = to;
        toCurrentBlocks[{from, to}] = copy;
    }
    for (auto& entry : toCurrentBlocks)
        m.setBlockEdge(left, entry.first.first, entry.first.second, entry.second);
}

} // namespace

Vertex* Match::updateBlock(Vertex* B, int x, bool left, bool add) {
    if (B == nullptr) return getVertex(x, left);
    if (x == kNoPartner) return B;
    const int n = order(left);
    // Only a plain node of this side can join or leave a block.
    if (x < 0 || x >= n) return B;
    if (B->number < 0) return blockFor(B, x, left, add);
    const unsigned long long question =
        (static_cast<unsigned long long>(B->number) << 32 | static_cast<unsigned>(x)) << 1 |
        (add ? 1u : 0u);
    FlatMap<Vertex*>& answers = grownBlocks_[left ? 0 : 1];
    if (Vertex** answered = answers.find(question)) return wholeBlock(*answered, left);
    Vertex* block = blockFor(B, x, left, add);
    answers.insert(question, block);
    return block;
}

Vertex* Match::blockFor(Vertex* B, int x, bool left, bool add) {
    const int n = order(left);

    std::set<int> members;
    std::vector<Vertex*> list;
    for (int member : MoveContext::membersOf(B)) {
        if (member == x) continue;
        members.insert(member);
        list.push_back(getVertex(member, left));
    }
    if (add) {
        members.insert(x);
        list.push_back(getVertex(x, left));
    }
    if (members.empty()) return nullptr;
    if (members.size() == 1) return getVertex(*members.begin(), left);

    std::map<std::string, int>& byKey = left ? nBlocks1 : nBlocks2;
    const std::string key = stringISet(&members);
    auto known = byKey.find(key);
    if (known != byKey.end()) return getVertex(known->second, left);

    std::map<int, Vertex*>& blockVertices = left ? V1 : V2;
    const int number = n + static_cast<int>(blockVertices.size());
    Vertex* block = mergeNodes(&list, number);
    blockVertices[number] = block;
    byKey[key] = number;
    heldBlocks_[left ? 0 : 1].push_back({add ? x : kNoPartner, block});
    registerBlockEdges(*this, block, left);
    return block;
}

// -------------------------------------------------------------------------------------
// Releasing idle blocks
// -------------------------------------------------------------------------------------
//
// Pricing builds a block for every grow and shrink move it looks at, and most of them are
// never played. Such a block is kept (its number, members, kind and label stay, and so do
// the edges registered between it and other blocks), but its own edges and word sets are
// released once it has been priced while no node is held by it. They are rebuilt from its
// members, in the order it was first built from, when they are needed again: the edges as
// soon as the block is asked for, the words when a likeness not yet known is computed.
// Its own edges are the entries of E1/E2 with the block at one end and a plain node (or the
// block itself) at the other; nothing looks them up while no node is held by the block,
// except through the block itself.

Match::HeldBlock* Match::heldBlock(const Vertex* v, bool left) {
    const int index = v->number - order(left);
    std::vector<HeldBlock>& held = heldBlocks_[left ? 0 : 1];
    if (index < 0 || index >= static_cast<int>(held.size())) return nullptr;
    return &held[static_cast<size_t>(index)];
}

const std::vector<Vertex*>& Match::buildOrder(const Vertex& block, const HeldBlock& held,
                                              bool left) {
    // The list is only read before the next call.
    static thread_local std::vector<Vertex*> list;
    list.clear();
    for (int member : *block.nodes)
        if (member != held.appended) list.push_back(getVertex(member, left));
    if (held.appended != kNoPartner) list.push_back(getVertex(held.appended, left));
    return list;
}

Vertex* Match::wholeBlock(Vertex* v, bool left) {
    if (v == nullptr) return v;
    HeldBlock* held = heldBlock(v, left);
    if (held == nullptr || (!held->edgesOut && held->edgesFiled)) return v;
    if (held->edgesOut) {
        mergeMemberEdges(*v, buildOrder(*v, *held, left));
        held->edgesOut = false;
        held->edgesFiled = false;
    }
    if (pricing_) return v;
    for (Edge* e : v->edges)
        setBlockEdge(left, e->from, e->to, e);
    held->edgesFiled = true;
    return v;
}

void Match::blockWords(Vertex* v, bool left) {
    HeldBlock* held = heldBlock(v, left);
    if (held == nullptr || !held->wordsOut) return;
    uniteMemberTerms(*v, buildOrder(*v, *held, left));
    held->wordsOut = false;
}

void Match::releaseIdleBlock(Vertex* v, bool left) {
    if (v == nullptr || v->nodes == nullptr || v->nodes->empty()) return;
    HeldBlock* held = heldBlock(v, left);
    if (held == nullptr) return;
    if (getBlock(*v->nodes->begin(), left) == v->number) return; // nodes are held by it
    if (!held->edgesOut) {
        if (held->edgesFiled) {
            for (Edge* e : v->edges)
                if (findBlockEdge(left, e->from, e->to) != e) return; // an own edge was replaced
            SparseMatrix<Edge*>* table = left ? E1 : E2;
            for (Edge* e : v->edges)
                table->erase(static_cast<unsigned>(e->from), static_cast<unsigned>(e->to));
        }
        for (Edge* e : v->edges)
            delete e;
        std::vector<Edge*>().swap(v->edges);
        held->edgesOut = true;
    }
    if (!wordsReleasable_ || held->wordsOut) return;
    delete v->nTerms;
    delete v->nPaths;
    delete v->nSpecs;
    v->nTerms = v->nPaths = v->nSpecs = nullptr;
    held->wordsOut = true;
}

void Match::keepBlockWords() {
    if (!wordsReleasable_) return;
    wordsReleasable_ = false;
    for (bool left : {true, false})
        for (auto& entry : left ? V1 : V2)
            if (entry.second != nullptr) blockWords(entry.second, left);
}
