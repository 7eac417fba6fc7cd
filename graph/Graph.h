// The labelled directed multigraph shared by the whole program: nodes, folded arcs, derived
// neighbourhood tables, readers, statistics and node ranks.
#pragma once

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "graph/Edge.h"
#include "graph/GraphLimits.h"
#include "graph/SparseMatrix.h"
#include "graph/Vertex.h"

/// Every array or object marked "owned" below is allocated with new (new[] for arrays) and
/// deleted by the destructor; do not point these members at memory owned elsewhere.
class Graph {
public:
    // ---- core store ----
    /// Number of nodes and of Edge objects (a folded multi-arc counts once).
    int vertices = 0;
    int edges = 0;
    /// Node counts per kind read by the class-diagram readers.
    int nbClasses = 0;
    int nbPackages = 0;
    int nbAttributes = 0;
    int nbMethods = 0;
    /// Input file name without directory and extension.
    std::string name;
    /// Path of the file the graph was read from, named in reports of bad input; empty for
    /// graphs built in code or read from text.
    std::string sourcePath;
    /// Nodes indexed by number; owned.
    std::vector<Vertex*> V;
    /// Edge objects in insertion order; owned.
    std::vector<Edge*> E;
    /// Highest label code seen; starts at 1.
    int nb_labels = 1;
    int loops = 0;
    int multi_arcs = 0;
    /// Number of distinct node labels (+1 when set by fillNeighborsAndRelations).
    int nbNodeLabels = 0;
    /// Node name to node number, for readers that name nodes by text.
    std::map<std::string, int> nodeNumbers;
    /// Root of the containment tree; -1 when there is none.
    int root = -1;
    /// Adjacency: (from, to) -> the Edge of that ordered pair; owned; holds non-owning
    /// pointers; null for a graph built with Graph() until reinitEdges().
    SparseMatrix<Edge*>* G = nullptr;
    /// Per node, nb_labels + 1 incoming / outgoing arc counts per label code; length
    /// vertices; owned; null until fillNeighborsAndRelations.
    int** c_in = nullptr;
    int** c_out = nullptr;
    /// Per node neighbourhood signatures; length vertices; owned; null until
    /// fillNeighborsAndRelations.
    std::map<std::string, int>* relations = nullptr;
    std::map<std::string, int>* Nrelations = nullptr;
    std::map<std::string, int>* NLabels = nullptr;
    /// Short name (text after the last ".") to node number; owned; null unless a
    /// class-diagram style reader creates it.
    std::multimap<std::string, int>* classes = nullptr;
    /// Per node, the nodes joined to it by an arc either way (not itself); length vertices;
    /// owned; null until fillNeighbors.
    std::set<int>* neighbors = nullptr;
    /// Weight of each label code (from "config.txt"); codes it does not set weigh 0.
    double edge_weight[kLabelCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

    // ---- degree, label and multi-arc statistics ----
    /// Distributions indexed by value (degree 0..max_*_distrib, label code 0..nb_labels,
    /// label length 0..max_multi); owned; null until collectStats.
    int* in_distrib = nullptr;
    int* out_distrib = nullptr;
    int* all_distrib = nullptr;
    int* label_distrib = nullptr;
    int* multi_distrib = nullptr;
    double mean_in_distrib = 0;
    double mean_out_distrib = 0;
    double mean_all_distrib = 0;
    double mean_label_distrib = 0;
    double mean_multi_distrib = 0;
    double std_in_distrib = 0;
    double std_out_distrib = 0;
    double std_all_distrib = 0;
    double std_label_distrib = 0;
    double std_multi_distrib = 0;
    /// Extreme degrees and label lengths, kept up to date by insertEdge.
    int max_in_distrib = 0;
    int min_in_distrib = 50;
    int max_out_distrib = 0;
    int min_out_distrib = 50;
    int max_all_distrib = 0;
    int min_all_distrib = 50;
    int max_multi = 0;
    int min_multi = 5;

    // ---- node ranking ----
    /// Jump probability of the ranking walk.
    double c = 0;
    /// Rank, hub score, degree norm and local rank per node; length vertices; owned; null
    /// until ranked (norm is allocated by the caller of nodeRank).
    double* u = nullptr;
    double* hub = nullptr;
    double* norm = nullptr;
    double* local_u = nullptr;
    double min_u = 0;
    double max_u = 0;
    double mean_u = 0;
    double std_u = 0;
    /// Capped maximum of u: mean + 2 deviations, never above max_u.
    double maxi_u = 0;
    double min_norm = 0;
    double max_norm = 0;
    double mean_norm = 0;
    double std_norm = 0;
    double maxi_norm = 0;
    /// Number of other nodes with a strictly larger u / norm; length vertices; owned; null
    /// until ranked.
    int* rank = nullptr;
    int* _rank = nullptr;
    /// Percentile class rank * 100 / vertices; length vertices; owned; null until ranked.
    int* level = nullptr;
    /// Number of nodes per percentile class.
    int level_count[kPercentileClasses] = {};
    /// uu[k] = rank vector of label code k (1..nb_labels, entry 0 null); owned; null until
    /// nodeRank2.
    double** uu = nullptr;
    /// uu_stats[k] = {min, mean, std, capped max, max} of uu[k]; owned; null until nodeRank2.
    double** uu_stats = nullptr;

    // ---- construction and core operations ----
    Graph();
    /// Reads "config.txt" and one graph file in the format selected by mode.
    Graph(int mode, std::string path);
    /// Deletes the vertices, the edges (also those folded away or dropped by reinitEdges)
    /// and every per-node table the graph owns.
    virtual ~Graph();
    /// A graph owns raw pointers: copying it would free them twice.
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;

    /// Node n of V (0 <= n < V.size()), for callers that number nodes with int.
    Vertex* vertex(int n) const { return V[static_cast<size_t>(n)]; }
    std::vector<Vertex*> getV() { return V; }
    std::vector<Edge*> getE() { return E; }
    int getOrder() { return vertices; }
    int getSize() { return edges; }

    /// The Edge from -> to, or null; never creates an adjacency cell.
    Edge* getEdge(int from, int to);
    /// 1 when both nodes exist and an arc joins them either way, else 0.
    int areNeighbors(int node1, int node2);
    /// Adds one arc, folding it into an existing Edge of the same ordered pair. Takes
    /// ownership of e: a folded or rejected e is no longer referenced by the graph but stays
    /// valid for the caller until the graph is destroyed.
    void insertEdge(Edge* e);
    /// Does nothing; kept for callers that name it.
    void deleteEdge(Edge* e);
    void fillNeighbors();
    void fillNeighborsAndRelations();
    /// Drops every arc (E, G, per-node lists) keeping the nodes and their counters.
    void reinitEdges();
    /// Sum of |x[i] - y[i]| for i < n.
    double specialNorm(double* x, double* y, int n);

    // ---- readers ----
    void initMode0(std::ifstream* in);
    void initMode1(std::ifstream* in);
    void initMode2(std::ifstream* in, int labels);
    void initMode3(std::ifstream* in);
    void initMode4(std::ifstream* in);
    void initMode5(std::ifstream* in);
    void initMode6(std::ifstream* in);
    void initMode7(std::string gr);
    void initMode8(std::ifstream* in);
    void initMode9(std::ifstream* in);
    void initMode10(std::ifstream* in);
    void initMode11(std::ifstream* in);
    void initMode12(std::ifstream* in);
    /// Reads a 16-bit word, low byte first.
    unsigned read_word(std::ifstream* in);

    // ---- statistics and reports ----
    void collectStats();
    void write(int mode, std::string fileName);
    void toMatrixFile();
    void graphDetails();
    void mozillaDetails();
    void printU();
    void printU2();
    void print();
    double getLocalRank(int node, int cover);

    // ---- node ranking ----
    /// Fills u, hub, norm (allocated here when null), their statistics and the orders.
    /// An empty graph is left unranked.
    void nodeRank(double jump, double epsilon);
    double* computeU(double epsilon, int n);
    double* T(double* x, int n);
    /// Fills rank, _rank, level and level_count from u and norm.
    void sortNodes();
    /// Fills uu and uu_stats (building c_out first when it is missing or stale). Leaves the
    /// five u statistics members holding the values of the highest label code: when both
    /// rankings are wanted, run this one before nodeRank.
    void nodeRank2(double jump, double epsilon);
    double** computeU2(double epsilon, int n);
    double* T2(double* x, int n, int label);

private:
    /// Edges no longer referenced by the graph (folded, rejected, or dropped by
    /// reinitEdges); kept so callers may still read them, deleted with the graph.
    std::vector<Edge*> retired;
    /// Number of rows of c_in, c_out, neighbors and the relation maps when they were built.
    size_t tableRows = 0;
    /// Number of counters per row of c_in and c_out when they were built.
    int tableWidth = 0;
    size_t neighborRows = 0;
    /// Number of entries of uu and uu_stats when they were built.
    int rankedLabels = 0;

    void releaseNeighborTables();
    void releaseRelationTables();
    void releaseRankArrays();
    void releaseLabelRanks();
    /// Keeps the extreme degree and label-length statistics up to date for one arc.
    void updateDegreeExtremes(Edge* e);
    /// Validates an arc's ends and label; prints the reason and returns false when rejected.
    bool acceptArc(Edge* e, int& code);
};
