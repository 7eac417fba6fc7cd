// Graphs built in code for the block and move tests: hand-made diagrams, seeded random
// class-diagram-like pairs, and helpers that snapshot and compare a matching.
#pragma once

#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "match/Match.h"
#include "tests/support/QuietOutput.h"
#include "util/Console.h"

/// Node kinds as the class-diagram readers number them.

/// A graph assembled node by node and arc by arc, finished as a reader leaves it: arcs take
/// their source's kind, and the neighbour sets are filled.
class GraphAssembler {
public:
    explicit GraphAssembler(const std::string& name) : g_(std::make_unique<Graph>()) {
        g_->name = name;
        g_->G = new SparseMatrix<Edge*>();
        for (double& w : g_->edge_weight)
            w = 1.0;
    }

    int node(short type, const std::string& label) {
        const int number = static_cast<int>(g_->V.size());
        auto* v = new Vertex(number, label);
        v->type = type;
        g_->V.push_back(v);
        g_->vertices = number + 1;
        return number;
    }

    /// One arc per label digit from -> to.
    GraphAssembler& arc(int from, int to, const std::string& digits) {
        for (char d : digits)
            g_->insertEdge(new Edge(from, to, std::string(1, d)));
        return *this;
    }

    std::unique_ptr<Graph> build() {
        for (Edge* e : g_->E)
            e->type = g_->vertex(e->from)->type;
        g_->edges = static_cast<int>(g_->E.size());
        g_->fillNeighbors();
        return std::move(g_);
    }

private:
    std::unique_ptr<Graph> g_;
};

/// Class-diagram weights with every factor away from 1, so that a misplaced factor shows:
/// node drop 1.3, edge drop 0.7, edge weight 0.9, insertions weigh twice deletions.
inline std::unique_ptr<Cost> unevenCost() {
    auto c = std::make_unique<Cost>();
    c->initMode1(1.3, 0.7, 0.9, 2, 0.6);
    return c;
}

/// A small random diagram: mostly classes, some packages, methods and attributes, named from
/// a short vocabulary so that names on the two sides overlap; arcs of every label class,
/// parallel arcs and loops included.
inline std::unique_ptr<Graph> randomDiagram(std::mt19937& rng, const std::string& name, int nodes,
                                            int arcs) {
    static const std::vector<std::string> words = {"Order", "Item",  "Customer", "Price", "Cart",
                                                   "Line",  "Stock", "Invoice",  "Tax",   "Name"};
    static const std::vector<short> kinds = {kClassType,   kClassType,  kClassType,
                                             kPackageType, kMethodType, kAttributeType};
    GraphAssembler a(name);
    for (int n = 0; n < nodes; n++) {
        const short kind = kinds[rng() % kinds.size()];
        std::string label = words[rng() % words.size()];
        if (rng() % 2) label += words[rng() % words.size()];
        if (kind == kMethodType) label = "Shop." + words[rng() % words.size()] + ".get" + label;
        if (kind == kAttributeType) label = "Shop." + words[rng() % words.size()] + "." + label;
        a.node(kind, label);
    }
    for (int k = 0; k < arcs; k++) {
        const int from = static_cast<int>(rng() % static_cast<unsigned>(nodes));
        // One arc in eight is a loop.
        const int to =
            rng() % 8 == 0 ? from : static_cast<int>(rng() % static_cast<unsigned>(nodes));
        a.arc(from, to, std::string(1, static_cast<char>('1' + rng() % 9)));
    }
    return a.build();
}

/// The matching arrays and block maps of a matcher, for comparison and restoration.
struct MatchingSnapshot {
    std::vector<int> m12, m21;
    std::vector<int> blocks1, blocks2;
    int numberOfMatchs = 0;
    int good = 0;

    explicit MatchingSnapshot(const Match& m)
        : m12(m.M12, m.M12 + m.g1->vertices), m21(m.M21, m.M21 + m.g2->vertices),
          blocks1(m.blocks1), blocks2(m.blocks2), numberOfMatchs(m.numberOfMatchs), good(m.good) {}

    bool operator==(const MatchingSnapshot& o) const {
        return m12 == o.m12 && m21 == o.m21 && blocks1 == o.blocks1 && blocks2 == o.blocks2;
    }

    void restore(Match& m) const {
        std::copy(m12.begin(), m12.end(), m.M12);
        std::copy(m21.begin(), m21.end(), m.M21);
        m.blocks1 = blocks1;
        m.blocks2 = blocks2;
        m.numberOfMatchs = numberOfMatchs;
        m.good = good;
    }
};
