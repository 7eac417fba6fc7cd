// Line forms that several graph readers share: relation and member lines, short names, and
// the report of a node line out of order.
#include "graph/ReaderLines.h"

#include <iostream>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Vertex.h"
#include "util/Console.h"

std::string shortName(const std::string& label) {
    size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

void reportOrderProblem(int number, const std::string& label, int position) {
    console() << "\n Order Problem: " << number << "," << label << "[" << position << "]";
}

Edge* relationFromLine(const LineReader& lines) {
    int from = 0, to = 0;
    std::string label;
    // Relation weights fill weight[1] onward; weight[0] stays 0.
    float w[kWeightSlots - 1];
    if (!lines.require(4, "\"r,source,target,label[,weights]\"") ||
        !lines.intField(1, from, "source") || !lines.intField(2, to, "target") ||
        !lines.labelField(3, label) || !lines.weightFields(4, w, kWeightSlots - 1))
        return nullptr;
    Edge* e = new Edge(from, to, label);
    for (int k = 0; k < kWeightSlots - 1; k++)
        e->addWeight(w[k], k + 1);
    return e;
}

bool insertRelationLine(Graph& g, const LineReader& lines, int& arcNumber) {
    Edge* e = relationFromLine(lines);
    if (e == nullptr) return false;
    e->setNumber(arcNumber++);
    g.insertEdge(e);
    return true;
}

bool storeMemberLine(const LineReader& lines, Vertex& owner) {
    if (lines.startsWith("a,")) {
        auto* member = new ClassAttribute(lines.field(2), false);
        if (!member->valid) {
            lines.report("attribute text outside the \"[properties@]type@name\" form");
            delete member;
            return false;
        }
        owner.attributes.insert({member->type + "_" + member->name, member});
        return true;
    }
    auto* member = new ClassMethod(lines.joinFrom(2), false);
    if (!member->valid) {
        lines.report("method text outside the \"[properties@]output@name@(inputs)\" form");
        delete member;
        return false;
    }
    owner.methods.insert({member->output + "_" + member->name, member});
    return true;
}
