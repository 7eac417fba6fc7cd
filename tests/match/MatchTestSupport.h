// Small class diagrams built in code for the matcher tests, the cost model they use, and a
// fixture holding two such diagrams and a matcher over them.
#pragma once

#include <memory>
#include <string>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "match/Match.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "util/Folders.h"

/// A graph built node by node: kinds, labels and signatures as a class-diagram reader would
/// leave them, arcs by label digits, and the neighbour sets the matcher reads.
class DiagramBuilder {
public:
    explicit DiagramBuilder(const std::string& name) : g_(std::make_unique<Graph>()) {
        g_->name = name;
        g_->G = new SparseMatrix<Edge*>();
        for (double& w : g_->edge_weight)
            w = 1.0;
    }

    /// Appends a node of kind `type`; returns its number.
    int node(short type, const std::string& label, const std::string& specif = "") {
        const int number = static_cast<int>(g_->V.size());
        auto* v = new Vertex(number, label);
        v->type = type;
        v->specif = specif;
        g_->V.push_back(v);
        g_->vertices = number + 1;
        return number;
    }

    /// Adds one arc per label digit from -> to.
    DiagramBuilder& arc(int from, int to, const std::string& digits) {
        for (char d : digits)
            g_->insertEdge(new Edge(from, to, std::string(1, d)));
        return *this;
    }

    DiagramBuilder& root(int r) {
        g_->root = r;
        return *this;
    }

    /// The finished graph, with its edge count and neighbour sets.
    std::unique_ptr<Graph> build() {
        g_->edges = static_cast<int>(g_->E.size());
        g_->fillNeighbors();
        return std::move(g_);
    }

private:
    std::unique_ptr<Graph> g_;
};

/// Node and edge drop weights 1, edge weight 1, symmetric: every kind deletes and inserts
/// for 50 (kind weight 100 / 2), and one relation of an edge costs 50 as well.
inline std::unique_ptr<Cost> symmetricCost() {
    auto c = std::make_unique<Cost>();
    c->initMode1(1, 1, 1, 1, 0);
    return c;
}

/// Kind weight of every node and edge kind in symmetricCost().
constexpr double kKindWeight = 100;
/// Deletion or insertion of one plain node, or of one relation between unmatched ends.
constexpr double kDropCost = 50;

/// The term candidate pairs a matcher wrote for g1 and g2.
inline std::string termPairsOf(const Graph& g1, const Graph& g2) {
    return readText(std::string(kResultsFolder) + "sem_" + g1.name + "__" + g2.name + "_PAIRS.csv");
}

/// Two diagrams built from their builders, the symmetric cost model and a matcher over them
/// (seed 1, cost mode 3), for tests that need a pair of their own.
struct BuiltPair {
    std::unique_ptr<Graph> g1;
    std::unique_ptr<Graph> g2;
    std::unique_ptr<Cost> cost = symmetricCost();
    std::unique_ptr<Match> match;

    BuiltPair(DiagramBuilder& b1, DiagramBuilder& b2)
        : g1(b1.build()), g2(b2.build()),
          match(std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, kClassDiagramCosts)) {}
    std::string termPairs() const { return termPairsOf(*g1, *g2); }
};

/// Two diagrams built in code (`b1`, `b2`), the symmetric cost model and a matcher over them,
/// in a scratch folder: the matcher writes its term pairs under "./results/".
class TwoDiagrams : public ScratchTest {
protected:
    DiagramBuilder b1{"old"};
    DiagramBuilder b2{"new"};
    std::unique_ptr<Graph> g1;
    std::unique_ptr<Graph> g2;
    std::unique_ptr<Cost> cost = symmetricCost();
    std::unique_ptr<Match> matcher;

    /// Builds the two graphs from the builders (once).
    void buildGraphs() {
        if (!g1) g1 = b1.build();
        if (!g2) g2 = b2.build();
    }

    /// Builds the graphs and a matcher over them (cost mode 3) with the given seed.
    Match& start(int seed = 1) {
        buildGraphs();
        matcher = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), seed, kClassDiagramCosts);
        return *matcher;
    }

    /// The term candidate pairs the matcher wrote for the two graphs.
    std::string termPairs() const { return termPairsOf(*g1, *g2); }
};
