// Noisy benchmark pairs of weighted graphs: a random nearly complete graph with integer node
// and arc labels 0..100, and a renumbered copy whose labels are lowered by bounded noise.
#pragma once

#include <string>

class Graph;

class GraphNoise {
public:
    /// The original graph and its noisy copy; created here and owned by this object.
    Graph* original = nullptr;
    Graph* noisy = nullptr;
    /// Number of nodes of both graphs.
    int n = 0;
    /// Noise amplitude: every label is lowered by at most 2 * epsilon.
    int epsilon = 0;
    /// Marks of the noisy graph's arcs, indexed by noisy numbers: non-empty for an added or
    /// a modified arc; n x n; owned.
    std::string** addEdges = nullptr;
    std::string** modifEdges = nullptr;
    int addedNodes = 0;
    int deletedNodes = 0;
    int mergedNodes = 0;
    int splittedNodes = 0;
    int modifiedNodes = 0;
    int addedEdges = 0;
    int deletedEdges = 0;
    int modifiedEdges = 0;
    int unChangedEdges = 0;
    /// Original number -> noisy number and back; length n; owned.
    int* new_numbers = nullptr;
    int* old_numbers = nullptr;

    /// Generates pair `num_graph` with v nodes and noise amplitude epsi, and writes
    /// "./benchmark/original_<num>.txt", "./benchmark/noisy_<num>.txt" and
    /// "./benchmark/log_<num>.txt".
    GraphNoise(int num_graph, int v, int epsi);
    virtual ~GraphNoise();
    GraphNoise(const GraphNoise&) = delete;
    GraphNoise& operator=(const GraphNoise&) = delete;

    /// Writes the log of differences as an edit-path file (`mode` is not used).
    void write(int mode, std::string filename);

    /// Largest label of a node or an arc.
    static constexpr int kMaxLabel = 100;

private:
    void buildOriginal(int num_graph);
    void renumber();
    void buildNoisy(int num_graph);
    /// value + floor(alea * 2 epsilon) - 2 epsilon, kept within 0..kMaxLabel.
    int lowered(int value) const;
    static int labelValue(const std::string& text);
};
