// Random benchmark pairs of labelled graphs with a planted correspondence: two graphs that
// agree on a chosen share of node labels and arcs, their renumberings and the reference file.
#pragma once

#include <string>

/// One generated benchmark pair. Each generating constructor draws the pair, writes it with
/// write(filename) and frees the arc matrices and renumberings; only the counters, the node
/// labels and the sizes remain afterwards.
class GenGraph {
public:
    /// Number of common nodes.
    int n = 0;
    /// Node counts of graph 1 and graph 2 (common + extra).
    int n1 = 0;
    int n2 = 0;
    /// Number of edge labels and of node labels.
    int el = 1;
    int nl = 1;
    /// Decay ratios of the edge-label and node-label distributions (1 = uniform).
    float eld = 1;
    float nld = 1;
    /// Renumbering of the legacy forms (length n); owned; null outside them and after write.
    int* to_shuffle = nullptr;
    /// Renumbering of graph 1 (length n1) and graph 2 (length n2): original number -> number
    /// in the written file; owned; null after write.
    int* to_shuffle1 = nullptr;
    int* to_shuffle2 = nullptr;
    /// Probability of an edge between two nodes.
    float p = 0;
    /// Expected number of edges per node (p = e / n).
    float e = 0;
    /// Probability that the two graphs agree on a node or an arc.
    float q = 0;
    /// Percentages of extra nodes in graph 1 and in graph 2.
    float pd = 0;
    float pi = 0;
    /// Numbers of arcs generated in graph 1 and graph 2 (each ordered pair counts).
    int m1 = 0;
    int m2 = 0;
    /// Common arcs present in both graphs with different labels.
    int label_errors = 0;
    /// Common node pairs with an arc in one graph only.
    int struct_errors = 0;
    /// Common arcs present in both graphs with the same label.
    int score = 0;
    /// Sum of the absolute label differences over the disagreeing common pairs.
    int edge_errors = 0;
    /// Common nodes whose labels differ, and the sum of their absolute label differences.
    int n_node_errors = 0;
    int v_node_errors = 0;
    /// 1 = every arc is generated for both directions at once.
    int undirected = 0;
    /// Arc label of each ordered pair, 0 = no arc; n1 x n1 and n2 x n2; owned; null after
    /// write.
    int** edges1 = nullptr;
    int** edges2 = nullptr;
    /// Node label of each node, from 0; lengths n1 and n2; owned.
    int* nodes1 = nullptr;
    int* nodes2 = nullptr;
    /// Seed of the generator.
    int seed = 0;

    /// Full form: node labels, edge labels, extra nodes on both sides.
    GenGraph(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld, double _pd,
             double _pi, std::string filename, int _seed, bool undir);
    /// Edge labels only: every node has label 0; _d is the edge-label ratio.
    GenGraph(int _n, double _e, double _q, int _el, double _d, double _pd, double _pi,
             std::string filename, int _seed, bool undir);
    /// Legacy labelled form: n common nodes only, graph 2 renumbered while it is drawn.
    GenGraph(int _n, double _p, double _q, int _el, double _d, std::string filename, int _seed);
    /// Legacy plain form: unlabelled arcs, draws continue the generator's current sequence.
    GenGraph(int _n, double _p, double _q, std::string filename, int _seed);
    virtual ~GenGraph();
    GenGraph(const GenGraph&) = delete;
    GenGraph& operator=(const GenGraph&) = delete;

    /// Writes the pair, its reference and the run summaries; frees the arc matrices and the
    /// renumberings.
    void write(std::string filename);
    /// Local date and time as years-since-1900_month-from-0_day_hour_minute_second.
    static std::string getMeDate();

    /// False for label parameters that describe no distribution: a single label with a
    /// ratio other than 1, or fewer than one label.
    static bool validLabels(int labels, double ratio);
    /// False for sizes that cannot be allocated: negative node count or extra percentages.
    static bool validSizes(int nodes, double extra1, double extra2);
    /// Prefix shared by every file of the pair: filename and the parameters joined by "_".
    std::string prefix(const std::string& filename) const;

private:
    /// Cumulative joint table of the labels in graph 1 and graph 2, row-major, and the
    /// cumulative single distribution; rebuilt for node labels, then for edge labels.
    struct LabelTables {
        int k = 0;
        double* single = nullptr;
        double* joint = nullptr;
        LabelTables() = default;
        LabelTables(const LabelTables&) = delete;
        LabelTables& operator=(const LabelTables&) = delete;
        ~LabelTables();
    };

    void storeParameters(int _n, float _q, int _el, float _eld, float _pd, float _pi, int _seed,
                         bool undir);
    void allocate();
    void buildNodeTables(LabelTables& t) const;
    void buildEdgeTables(LabelTables& t) const;
    static void buildJoint(LabelTables& t, const double* proba, float agree);
    static void drawPair(const LabelTables& t, int& a, int& b);
    static int drawSingle(const LabelTables& t);
    void drawNodeLabels(const LabelTables& t);
    void drawCommonPairs(const LabelTables& t);
    void countPair(int a, int b, bool withEdgeErrors);
    void drawExtraPairs(const LabelTables& t, int** edges, int nodes, int& arcs);
    static int* shuffled(int size, int steps);
    void generateFull(bool nodeLabels);
    void writeGraph(const std::string& path, int nodes, int arcs, const int* renumber,
                    const int* labels, int** edges) const;
    void writeMatrix(const std::string& path, int nodes, const int* renumber, int** edges) const;
    void writeReference(const std::string& path) const;
    void writeLabelDistances(const std::string& path) const;
    void appendRunSummaries(const std::string& pre) const;
    void release();
};
