// Vertex: construction, ownership of its sets and members, weights and debug output.
#include "graph/Vertex.h"

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Edge.h"
#include "util/Console.h"

Vertex::Vertex() {
    init();
}

Vertex::Vertex(int nb) {
    init();
    setNumber(nb);
}

Vertex::Vertex(int nb, std::string lb) {
    init();
    setNumber(nb);
    setLabel(std::move(lb));
}

Vertex::Vertex(int nb, std::string lb, float* wt) {
    init();
    setNumber(nb);
    setLabel(std::move(lb));
    setWeight(wt);
}

namespace {

template <typename S> S* copyOf(const S* set) {
    return set != nullptr ? new S(*set) : nullptr;
}

} // namespace

Vertex::Vertex(const Vertex& other)
    : type(other.type), number(other.number), label(other.label), specif(other.specif),
      level(other.level), in(other.in), out(other.out), edges(other.edges),
      nodes(copyOf(other.nodes)), nTerms(copyOf(other.nTerms)), nPaths(copyOf(other.nPaths)),
      nSpecs(copyOf(other.nSpecs)), sum_out(other.sum_out), nb_in(other.nb_in),
      nb_out(other.nb_out) {
    for (int i = 0; i < kWeightSlots; i++)
        weight[i] = other.weight[i];
    for (const auto& entry : other.attributes)
        attributes.emplace(entry.first, entry.second ? new ClassAttribute(*entry.second) : nullptr);
    for (const auto& entry : other.methods)
        methods.emplace(entry.first, entry.second ? new ClassMethod(*entry.second) : nullptr);
}

Vertex& Vertex::operator=(const Vertex& other) {
    if (this == &other) return *this;
    Vertex copy(other);
    std::swap(type, copy.type);
    std::swap(number, copy.number);
    std::swap(label, copy.label);
    std::swap(specif, copy.specif);
    std::swap(level, copy.level);
    std::swap(weight, copy.weight);
    std::swap(in, copy.in);
    std::swap(out, copy.out);
    std::swap(edges, copy.edges);
    std::swap(nodes, copy.nodes);
    std::swap(nTerms, copy.nTerms);
    std::swap(nPaths, copy.nPaths);
    std::swap(nSpecs, copy.nSpecs);
    std::swap(attributes, copy.attributes);
    std::swap(methods, copy.methods);
    std::swap(sum_out, copy.sum_out);
    std::swap(nb_in, copy.nb_in);
    std::swap(nb_out, copy.nb_out);
    return *this;
}

Vertex::~Vertex() {
    delete nodes;
    delete nTerms;
    delete nPaths;
    delete nSpecs;
    for (auto& entry : attributes)
        delete entry.second;
    for (auto& entry : methods)
        delete entry.second;
}

void Vertex::init() {
    sum_out = 0;
    nb_in = 0;
    nb_out = 0;
    type = 0;
    level = 0;
    nodes = nullptr;
    nTerms = nullptr;
    nPaths = nullptr;
    nSpecs = nullptr;
}

void Vertex::setNumber(int nb) {
    number = nb;
    delete nodes;
    nodes = new std::set<int>{nb};
}

void Vertex::setWeight(float* wt) {
    if (wt == nullptr) return;
    for (int i = 0; i < kWeightSlots; i++) {
        if (wt[i] == 0) break;
        weight[i] = wt[i];
    }
}

void Vertex::addWeight(float f, int i) {
    if (i >= 0 && i < kWeightSlots) weight[i] = f;
}

int Vertex::getFirstNode() {
    if (nodes == nullptr || nodes->empty()) return number;
    return *nodes->begin();
}

void Vertex::print() {
    console() << "\n" << number << ", " << label << ", " << weight[0] << ", " << weight[1] << "\n";
    console() << "\tIN : " << in.size() << "\n\t\t";
    for (size_t i = 0; i < in.size(); i++)
        console() << i << "/ " << in[i]->from << "( " << in[i]->label << " ); ";
    console() << "\n\tOUT : " << out.size() << "\n\t\t";
    for (size_t i = 0; i < out.size(); i++)
        console() << i << "/ " << out[i]->to << "( " << out[i]->label << " ); ";
    console() << "\n\tALL : " << edges.size() << "\n\t\t";
    for (size_t i = 0; i < edges.size(); i++)
        console() << i << "/" << edges[i]->from << ">" << edges[i]->to << "( " << edges[i]->label
                  << " ); ";
}
