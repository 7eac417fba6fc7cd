// Block vertices: the merged vertex that stands for a set of nodes of one graph, found again by
// its member-set key, and the block edges registered so that cost evaluations see a block as
// an ordinary vertex.
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

    std::set<int> given;
    for (const Vertex* v : *nodes)
        if (v != nullptr) given.insert(v->number);

    std::set<std::pair<int, int>> handled;     // (from, to) of the member edges already taken
    std::map<std::pair<int, int>, Edge*> kept; // merged edges by their rewritten ends
    bool typed = false;
    for (Vertex* v : *nodes) {
        if (v == nullptr) continue;
        if (!typed) {
            merged->type = v->type;
            typed = true;
        } else if (v->type != merged->type) {
            console() << "\n MERGING DIFFERENT TYPES OF NODES";
        }
        uniteTerms(merged->nTerms, v->nTerms);
        uniteTerms(merged->nPaths, v->nPaths);
        uniteTerms(merged->nSpecs, v->nSpecs);
        merged->nodes->insert(v->number);

        for (Edge* e : v->edges) {
            if (e == nullptr || !handled.insert({e->from, e->to}).second) continue;
            // An edge between two members becomes a loop on the block; its counts are summed
            // like any other, since every cost reads the merged counts as plain totals.
            const int from = given.count(e->from) ? nnumber : e->from;
            const int to = given.count(e->to) ? nnumber : e->to;
            auto it = kept.find({from, to});
            if (it != kept.end()) {
                combineEdge(it->second, e);
                continue;
            }
            Edge* copy = e->duplicate();
            copy->from = from;
            copy->to = to;
            kept[{from, to}] = copy;
        }
    }
    for (auto& entry : kept)
        merged->edges.push_back(entry.second);
    merged->label = blockLabel(*merged);
    return merged;
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
    std::unordered_map<unsigned long long, Vertex*>& answers = grownBlocks_[left ? 0 : 1];
    auto answered = answers.find(question);
    if (answered != answers.end()) return answered->second;
    Vertex* block = blockFor(B, x, left, add);
    answers.emplace(question, block);
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
    registerBlockEdges(*this, block, left);
    return block;
}
