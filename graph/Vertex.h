// A node of the graph: kind, label, weights, incident arcs and, for class diagrams, its
// member signatures and identifier-term sets.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "graph/GraphLimits.h"

class Edge;
class ClassAttribute;
class ClassMethod;

class Vertex {
public:
    /// Node kind: 0 package, 1 class, 2 method, 3 attribute, further codes in some formats.
    short type = 0;
    /// Node number, equal to the index in the graph's vertex list.
    int number = 0;
    std::string label;
    /// Member signature (written form) for method and attribute nodes; empty otherwise.
    std::string specif;
    /// Depth in the containment tree; 0 until a class-diagram reader sets it.
    short level = 0;
    /// Node weights from the file's extra fields; absent entries are 0.
    float weight[kWeightSlots] = {0, 0, 0, 0, 0};
    /// Arcs ending here, starting here, and all incident arcs (a loop listed once).
    /// Non-owning: the edges belong to the graph.
    std::vector<Edge*> in;
    std::vector<Edge*> out;
    std::vector<Edge*> edges;
    /// Numbers of the input nodes this node stands for; owned; null until setNumber.
    std::set<int>* nodes = nullptr;
    /// Identifier-term sets built by settify(); owned; null until then.
    std::set<std::string>* nTerms = nullptr;
    std::set<std::string>* nPaths = nullptr;
    std::set<std::string>* nSpecs = nullptr;
    /// Members kept inside a class node, keyed by type + "_" + name; owned.
    std::multimap<std::string, ClassAttribute*> attributes;
    std::multimap<std::string, ClassMethod*> methods;
    /// Sum of the per-label weights of all outgoing arcs (parallel arcs each count).
    float sum_out = 0;
    /// Incoming and outgoing arc counts, parallel arcs each counted.
    int nb_in = 0;
    int nb_out = 0;

    Vertex();
    explicit Vertex(int nb);
    Vertex(int nb, std::string lb);
    Vertex(int nb, std::string lb, float* wt);
    /// Copies every field, with new copies of the sets and of the members.
    Vertex(const Vertex& other);
    Vertex& operator=(const Vertex& other);
    /// Deletes the sets and the member objects the vertex owns (not its arcs).
    virtual ~Vertex();

    /// Resets counters, kind, level and the set pointers.
    void init();

    /// Sets number and gives nodes a new set holding it.
    void setNumber(int nb);
    int getNumber() { return number; }
    std::string getLabel() { return label; }
    void setLabel(std::string lb) { label = lb; }
    float* getWeight() { return weight; }
    std::vector<Edge*> getIn() { return in; }
    std::vector<Edge*> getOut() { return out; }
    std::vector<Edge*> getEdges() { return edges; }
    int getNEdges() { return static_cast<int>(edges.size()); }

    /// Copies wt[0], wt[1], ... into weight, stopping at the first 0 or after kWeightSlots.
    void setWeight(float* wt);
    /// Replaces weight[i] by f.
    void addWeight(float f, int i);
    /// Smallest number in nodes, or number when nodes is null.
    int getFirstNode();

    /// Builds the term sets nTerms, nPaths and nSpecs from label and specif.
    void settify();

    /// Debug listing on standard output.
    void print();
};
