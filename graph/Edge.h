// An arc of the graph: all parallel arcs between one ordered pair of nodes folded into one
// object that keeps their label digits in order and a counter per label code.
#pragma once

#include <string>

#include "graph/GraphLimits.h"

class Edge {
public:
    /// Sequence number given by the reader.
    int number = 0;
    /// Node numbers of source and target.
    int from = 0;
    int to = 0;
    /// Kind set by the readers (source node kind in class diagrams); 0 when no reader sets it.
    int type = 0;
    /// Label digits of all folded arcs, in insertion order.
    std::string label;
    /// labels[k] = number of folded arcs with code k; length kLabelCodes (allocate with
    /// new short[kLabelCodes]); owned and deleted by ~Edge, so never delete[] it yourself;
    /// null until the graph inserts the edge (or duplicate() copies it).
    short* labels = nullptr;
    /// Arc weights from the file's extra fields; absent entries are 0.
    float weight[kWeightSlots] = {0, 0, 0, 0, 0};
    /// Sum of the per-label weight of every folded arc.
    float label_weight = 0;

    Edge();
    Edge(int fr, int t);
    Edge(int fr, int t, std::string lb);
    Edge(int fr, int t, std::string lb, float* wt);
    /// Copies every field, with a copy of the counters.
    Edge(const Edge& other);
    Edge& operator=(const Edge& other);
    ~Edge();

    int getNumber() { return number; }
    void setNumber(int nb) { number = nb; }
    int getFrom() { return from; }
    void setFrom(int fr) { from = fr; }
    int getTo() { return to; }
    void setTo(int t) { to = t; }
    std::string getLabel() { return label; }
    void setLabel(std::string lb) { label = lb; }
    float* getWeight() { return weight; }

    /// Copies wt[0], wt[1], ... into weight, stopping at the first 0 or after kWeightSlots.
    void setWeight(float* wt);
    /// Replaces weight[i] by f.
    void addWeight(float f, int i);

    /// -1 when e is null; 1 when some counter 1..nl differs; otherwise 2 (code 0 ignored).
    int compare(Edge* e, int nl);
    /// The counts labels[1..nl] written one after another ("102" for 1, 0, 2).
    std::string getLabel2(int nl);
    /// A new edge with the same number, ends, type, label and a copy of the counters.
    Edge* duplicate();
    /// Debug line on standard output.
    void print();
};
