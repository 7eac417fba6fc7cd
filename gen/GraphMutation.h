// Mutation of a labelled graph for benchmarks: node and arc operations drawn at random, the
// mutated graph, and the record of every change as an edit-path file.
#pragma once

#include <iosfwd>
#include <string>

class Edge;
class Graph;

class GraphMutation {
public:
    /// The input graph (not owned) and the mutated graph (created here; owned by the caller
    /// once built, never deleted by this object).
    Graph* _old = nullptr;
    Graph* _new = nullptr;
    /// Node operations: "addNode", "deleteNode", "mergeNodes", "splitNode".
    std::string nodeOperations[4];
    /// Cost in tokens of each node operation.
    int nodeOperationsTokens[4] = {1, 1, 3, 3};
    /// Weights of the node operations: addNodes, delNodes, 0.03, 0.03.
    double nodeOperationsWeights[4] = {0, 0, 0.03, 0.03};
    /// Arc operations: "addEdge", "deleteEdge", "modifyEdge", "same".
    std::string edgeOperations[4];
    /// Number of arc label codes of the input graph (at most 9).
    int nbLabels = 1;
    /// Weight of each label code 0..nbLabels: the input graph's label distribution.
    double edgeLabelsWeights[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    /// Per input node (length: input vertices; owned): -1 = untouched. deleted: 1 = removed;
    /// merged: the node it was merged into (its own number for the survivor); splitted1: its
    /// own number and splitted2: the index of its copy among the added nodes, for a split.
    int* deleted = nullptr;
    int* merged = nullptr;
    int* splitted1 = nullptr;
    int* splitted2 = nullptr;
    /// Input number -> mutated number (-1 if deleted); length: input vertices; owned.
    int* new_numbers = nullptr;
    /// Mutated number -> input number (-1 for an added node); length: mutated vertices;
    /// owned; null until the mutated nodes are numbered.
    int* old_numbers = nullptr;
    /// Highest mutated number held by a surviving input node (-1 when none survives).
    int max_new_number = -1;
    /// -1 until a node operation has used the node; length: input vertices; owned.
    int* treated = nullptr;
    /// Label of each added arc and new label of each modified arc of the mutated graph,
    /// indexed by mutated numbers; empty = none; mutated vertices squared; owned; null until
    /// the mutated nodes are numbered.
    std::string** addEdges = nullptr;
    std::string** modifEdges = nullptr;
    /// Share of loops in the input graph (loops / vertices).
    double loop_proba = 0;
    /// multi_arcs / (multi_arcs + edges) of the input graph.
    double multi_proba = 0;
    int addedNodes = 0;
    int deletedNodes = 0;
    int mergedNodes = 0;
    int splittedNodes = 0;
    int modifiedNodes = 0;
    int addedEdges = 0;
    int deletedEdges = 0;
    int modifiedEdges = 0;
    int unChangedEdges = 0;
    /// Budgets: floor(nodeNoiseLevel * vertices) and floor(edgeNoiseLevel * vertices^2).
    int nodeTokens = 0;
    int edgeTokens = 0;
    /// addNodes + delNodes; the arc noise; arcs / vertices^2.
    double nodeNoiseLevel = 0;
    double edgeNoiseLevel = 0;
    double density = 0;

    /// Mutates `old`: each node is deleted with probability delNodes, a node is added with
    /// probability addNodes per input node, and each ordered pair is disturbed with
    /// probability edgeNoise. The input graph's statistics are collected when missing.
    GraphMutation(Graph* old, double delNodes, double addNodes, double edgeNoise);
    virtual ~GraphMutation();
    GraphMutation(const GraphMutation&) = delete;
    GraphMutation& operator=(const GraphMutation&) = delete;

    /// Mode 1: independent deletions and additions per node; mode 0: node operations drawn
    /// until the token budget is spent. Returns the new graph with the surviving arcs.
    Graph* mutateNodes(int mode);
    /// Disturbs the arcs of g in place and returns g.
    Graph* mutateEdges(Graph* g);
    /// A node operation index 0..3 drawn by weight, or -1 when none can be drawn.
    int chooseNodeOperation();
    /// Applies a node operation and returns its cost in tokens.
    int applyNodeOperation(int op);
    void addNode();
    void deleteNode();
    void mergeNodes();
    void splitNode();

    /// Writes the record of changes as an edit-path file (`mode` is not used).
    void write(int mode, std::string filename);
    /// Prints the node counters and writes "logs/log_mutation.csv".
    void printNodeTables();
    /// A copy of `original` with its nodes renumbered at random; the mapping is recorded in
    /// old_numbers and new_numbers (resized to the original's node count).
    Graph* shuffle(Graph* original);

private:
    /// Lengths of the per-input-node arrays, of new_numbers and old_numbers (shuffle resizes
    /// the last two) and the side of addEdges and modifEdges.
    int inputNodes = 0;
    int newNumbersLength = 0;
    int oldNumbersLength = 0;
    int recordSide = 0;
    /// Probabilities given to the constructor.
    double delNodes = 0;
    double addNodes = 0;

    void readInputStatistics();
    /// Weighted draw among label codes 1..nbLabels other than `excluded`; -1 when none.
    int drawLabel(int excluded);
    /// Weighted draw over `count` weights from index 0; -1 when none.
    static int weightedDraw(const double* weights, int count, int excluded);
    /// An untreated input node chosen at random, or -1 when every node has been treated.
    int pickUntreated();
    Graph* numberMutatedNodes(int& survivors);
    int mutatedEnd(int inputNode) const;
    void copySurvivingArcs(Graph* g);
    void writeNodeLines(std::ostream& out);
    void writeArcLines(std::ostream& out);
    void addRandomArcs(Graph* g);
    void mutateExistingArc(Edge* arc, int i, int j, int& arcs);
    void allocateRecords(int nodes);
    void releaseRecords();
    bool isSurvivor(int mutatedNumber) const;
};
