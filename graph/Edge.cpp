// Edge: construction, weights, comparison of folded label counters and debug output.
#include "graph/Edge.h"

#include "util/Console.h"

#include <algorithm>

Edge::Edge() = default;

Edge::Edge(int fr, int t) : from(fr), to(t) {}

Edge::Edge(int fr, int t, std::string lb) : from(fr), to(t), label(std::move(lb)) {}

Edge::Edge(int fr, int t, std::string lb, float* wt) : from(fr), to(t), label(std::move(lb)) {
    setWeight(wt);
}

Edge::Edge(const Edge& other)
    : number(other.number), from(other.from), to(other.to), type(other.type), label(other.label),
      label_weight(other.label_weight) {
    std::copy(other.weight, other.weight + kWeightSlots, weight);
    if (other.labels != nullptr) {
        labels = new short[kLabelCodes];
        std::copy(other.labels, other.labels + kLabelCodes, labels);
    }
}

Edge& Edge::operator=(const Edge& other) {
    if (this == &other) return *this;
    Edge copy(other);
    std::swap(number, copy.number);
    std::swap(from, copy.from);
    std::swap(to, copy.to);
    std::swap(type, copy.type);
    std::swap(label, copy.label);
    std::swap(labels, copy.labels);
    std::swap(weight, copy.weight);
    std::swap(label_weight, copy.label_weight);
    return *this;
}

Edge::~Edge() {
    delete[] labels;
}

void Edge::setWeight(float* wt) {
    if (wt == nullptr) return;
    for (int i = 0; i < kWeightSlots; i++) {
        if (wt[i] == 0) break;
        weight[i] = wt[i];
    }
}

void Edge::addWeight(float f, int i) {
    if (i >= 0 && i < kWeightSlots) weight[i] = f;
}

int Edge::compare(Edge* e, int nl) {
    if (e == nullptr) return -1;
    // Counters that were never allocated count as all zero.
    int last = std::min(nl, kLabelCodes - 1);
    for (int i = 1; i <= last; i++) {
        short mine = labels != nullptr ? labels[i] : 0;
        short theirs = e->labels != nullptr ? e->labels[i] : 0;
        if (mine != theirs) return 1;
    }
    return 2;
}

std::string Edge::getLabel2(int nl) {
    std::string text;
    int last = std::min(nl, kLabelCodes - 1);
    for (int i = 1; i <= last; i++)
        text += std::to_string(labels != nullptr ? labels[i] : 0);
    return text;
}

Edge* Edge::duplicate() {
    Edge* copy = new Edge(from, to, label);
    copy->number = number;
    copy->type = type;
    copy->labels = new short[kLabelCodes]();
    if (labels != nullptr) std::copy(labels, labels + kLabelCodes, copy->labels);
    return copy;
}

void Edge::print() {
    console() << "\n " << from << ">" << to << "( " << label << " ); \n";
}
