// Class-diagram format with explicit packages and member nodes (mode 12): nodes and
// relations as listed, member names qualified by their owner, type-use relations derived
// from the signatures, consistency reports, and package names qualified along containment.
#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/ReaderLines.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {
const char* const kReturnTypeLabel = "8";
const char* const kParameterTypeLabel = "7";
const char* const kAttributeTypeLabel = "6";

/// A member node waiting for the member pass, with the written form of its signature.
struct PendingMember {
    int node;
    std::string specif;
};

/// A relation derived from the diagram, inserted after the relations of the file.
struct DerivedRelation {
    int from;
    int to;
    std::string label;
};

/// The fields of a comma-separated member signature (properties, type, name, ...).
std::vector<std::string> signatureParts(const std::string& specif) {
    std::vector<std::string> parts;
    std::vector<std::string>* split = splitString(specif, ",");
    if (split != nullptr) {
        parts = *split;
        delete split;
    }
    return parts;
}

/// The source of the last containment arc entering v, or -1. Each earlier one is reported
/// with the pair of parents, since a member must have exactly one owner.
int memberParent(Vertex* v, const std::string& kind) {
    int parent = -1;
    for (Edge* e : v->in) {
        if (e->labels == nullptr || e->labels[kContainmentLabel] == 0) continue;
        if (parent >= 0)
            console() << "\n " << kind << " with more than one parent: " << v->number << ","
                      << v->label << " PARENTS [" << parent << "," << e->from << "]"
                      << " !!!!";
        parent = e->from;
    }
    if (parent < 0)
        console() << "\n Isolated " << kind << ": " << v->number << "," << v->label << " !!!!";
    return parent;
}

bool carries(Edge* e, int code) {
    return e->labels != nullptr && e->labels[code] > 0;
}

void reportRelation(const char* problem, const char* verb, Vertex* from, Vertex* to) {
    console() << "\n " << problem << ": " << from->number << "," << from->label << " " << verb
              << " " << to->number << "," << to->label;
}

/// Reads one p, c, m or a line of mode 12 into a new node appended to the list; null when
/// the line is malformed. `member` receives the signature of a member line (empty when the
/// signature is outside its form, in which case the node keeps its provisional label).
Vertex* readNodeLine(const LineReader& lines, std::vector<Vertex*>& nodes, std::string& member) {
    member.clear();
    int number = 0;
    float w[kWeightSlots] = {0, 0, 0, 0, 0};
    if (!lines.require(3, "\"letter,number,label...\"") ||
        !lines.intField(1, number, "node number"))
        return nullptr;
    char tag = lines.line()[0];
    if (tag == 'c' && !lines.weightFields(3, w, kWeightSlots)) return nullptr;
    std::string label =
        tag == 'p' || tag == 'c' ? lines.boundedName(lines.field(2)) : lines.field(2);
    int position = static_cast<int>(nodes.size());
    if (number != position) reportOrderProblem(number, label, position);
    if (tag == 'c') label = replaceString(label, "$", ".");
    Vertex* v = new Vertex(position, label, w);
    v->type = tag == 'p'   ? kPackageType
              : tag == 'c' ? kClassType
              : tag == 'm' ? kMethodType
                           : kAttributeType;
    if (tag == 'm') {
        ClassMethod method(lines.joinFrom(2), false);
        if (method.valid)
            member = method.write();
        else
            lines.report("method signature outside the \"[properties@]output@name@(inputs)\" form");
    } else if (tag == 'a') {
        ClassAttribute attribute(lines.field(2), false);
        if (attribute.valid)
            member = attribute.write();
        else
            lines.report("attribute text outside the \"[properties@]type@name\" form");
    }
    nodes.push_back(v);
    return v;
}

/// The nodes and relations read from a mode-12 file, and what the later steps need.
struct DiagramLines {
    /// Full class label to class node number.
    std::map<std::string, int> tmp_classes;
    std::vector<PendingMember> methods;
    std::vector<PendingMember> attributes;
    /// Number of the next arc inserted.
    int arcNumber = 0;
    /// Relation lines read whole (the header's second count announces them).
    int relationLines = 0;
};

/// Step 1: every node line makes a node, every relation line an arc, in file order.
void readDiagramLines(Graph& g, LineReader& lines, DiagramLines& read) {
    while (lines.next()) {
        if (lines.startsWith("r,")) {
            if (insertRelationLine(g, lines, read.arcNumber)) read.relationLines++;
            continue;
        }
        if (!lines.startsWith("p,") && !lines.startsWith("c,") && !lines.startsWith("m,") &&
            !lines.startsWith("a,")) {
            lines.reportUnknownLine("a line beginning with p, c, m, a or r");
            continue;
        }
        std::string member;
        Vertex* v = readNodeLine(lines, g.V, member);
        if (v == nullptr) continue;
        switch (v->type) {
        case kPackageType:
            g.nbPackages++;
            break;
        case kClassType:
            g.nbClasses++;
            read.tmp_classes.insert({v->label, v->number});
            break;
        case kMethodType:
            g.nbMethods++;
            if (!member.empty()) read.methods.push_back({v->number, member});
            break;
        default:
            g.nbAttributes++;
            if (!member.empty()) read.attributes.push_back({v->number, member});
            break;
        }
    }
}

/// Step 2: a member takes its signature, is named after its owner, and its return,
/// parameter or attribute types that are classes of the diagram become relations.
void qualifyMembers(Graph& g, const std::vector<PendingMember>& members, bool methods,
                    const std::map<std::string, int>& tmp_classes,
                    std::vector<DerivedRelation>& derived) {
    for (const PendingMember& pending : members) {
        Vertex* v = g.V[pending.node];
        v->specif = pending.specif;
        int parent = memberParent(v, methods ? "Method" : "Attribute");
        std::vector<std::string> parts = signatureParts(v->specif);
        if (parent < 0 || parts.size() < 3) continue;
        std::string problem;
        v->label = g.V[parent]->label + "." + boundName(parts[2], problem);
        // Fields: properties, type (return type), name, then the parameter types.
        size_t lastTyped = methods ? parts.size() - 1 : 1;
        for (size_t i = 1; i <= lastTyped; i++) {
            if (i == 2) continue;
            auto cls = tmp_classes.find(parts[i]);
            if (cls == tmp_classes.end()) continue;
            const char* label = !methods ? kAttributeTypeLabel
                                : i == 1 ? kReturnTypeLabel
                                         : kParameterTypeLabel;
            derived.push_back({v->number, cls->second, label});
        }
    }
}

/// Step 3: the derived relations become arcs after those of the file.
void insertDerived(Graph& g, const std::vector<DerivedRelation>& derived, int& arcNumber) {
    for (const DerivedRelation& r : derived) {
        Edge* e = new Edge(r.from, r.to, r.label);
        e->type = g.V[r.from]->type;
        e->setNumber(arcNumber++);
        g.insertEdge(e);
    }
}

/// Step 4: every arc takes its source's kind, and each relation whose kind does not fit
/// the kinds of its ends is reported.
void checkRelationKinds(Graph& g) {
    for (Edge* e : g.E) {
        Vertex* from = g.V[e->from];
        Vertex* to = g.V[e->to];
        e->type = from->type;
        if (carries(e, 4) && !(from->type == kMethodType && to->type == kMethodType))
            reportRelation("Call Graph Problem", "calling", from, to);
        if (carries(e, 5) && !(from->type == kMethodType && to->type == kAttributeType))
            reportRelation("Attribute Use Problem", "using", from, to);
        if (carries(e, kContainmentLabel) && to->type < from->type)
            reportRelation("Container Problem", "contains", from, to);
        if ((carries(e, 1) || carries(e, 2) || carries(e, 3)) &&
            !(from->type == kClassType && to->type == kClassType))
            reportRelation("Class Relation Problem", "linked to", from, to);
    }
}

/// True when `label` stays within the name bounds of the readers.
bool withinNameBounds(const std::string& label) {
    return label.size() <= kMaxNameLength &&
           static_cast<size_t>(std::count(label.begin(), label.end(), '.')) < kMaxNameParts;
}

/// Step 5: package names along the containment tree, breadth first from node 0. A package
/// reached from a node is prefixed with that node's label unless the node is the usual root
/// "." or the name already carries the prefix. Each package is named once, so a containment
/// cycle ends. A name that would pass the name bounds keeps its own label: a deep chain of
/// packages would otherwise hold names whose total length grows with the square of the chain.
void qualifyPackages(Graph& g) {
    if (g.V.empty()) return;
    int unqualified = 0;
    std::set<int> visited{0};
    std::deque<int> queue{0};
    while (!queue.empty()) {
        Vertex* node = g.V[queue.front()];
        queue.pop_front();
        bool usualRoot = node->number == 0 && node->label == ".";
        for (Edge* e : node->out) {
            if (e->to == e->from || !carries(e, kContainmentLabel) ||
                g.V[e->to]->type != kPackageType)
                continue;
            if (!visited.insert(e->to).second) continue;
            Vertex* package = g.V[e->to];
            if (!usualRoot && package->label.compare(0, node->label.size(), node->label) != 0) {
                std::string qualified = node->label + "." + package->label;
                if (withinNameBounds(qualified))
                    package->label = std::move(qualified);
                else
                    unqualified++;
            }
            queue.push_back(e->to);
        }
    }
    if (unqualified > 0)
        LineReader::reportFile(g.sourcePath,
                               std::to_string(unqualified) + " package name(s) would pass " +
                                   std::to_string(kMaxNameLength) + " characters or " +
                                   std::to_string(kMaxNameParts) + " parts; left unqualified");
}

/// The header's counts against what was read: a cut or patched file shows here.
void compareWithHeader(const Graph& g, int n, int m, int nodes, int relations) {
    if (n == nodes && m == relations) return;
    LineReader::reportFile(g.sourcePath, "header announces " + std::to_string(n) + " nodes and " +
                                             std::to_string(m) + " arcs; the file holds " +
                                             std::to_string(nodes) + " nodes and " +
                                             std::to_string(relations) + " arcs");
}

} // namespace

void Graph::initMode12(std::ifstream* in) {
    nbClasses = nbPackages = nbAttributes = nbMethods = 0;
    root = 0;
    if (classes == nullptr) classes = new std::multimap<std::string, int>();
    LineReader lines(*in, sourcePath);
    int n = 0, m = 0;
    const bool counted = lines.next() && lines.header(n, m);

    DiagramLines read;
    readDiagramLines(*this, lines, read);
    if (counted) compareWithHeader(*this, n, m, static_cast<int>(V.size()), read.relationLines);
    std::vector<DerivedRelation> derived;
    qualifyMembers(*this, read.methods, true, read.tmp_classes, derived);
    qualifyMembers(*this, read.attributes, false, read.tmp_classes, derived);
    insertDerived(*this, derived, read.arcNumber);
    checkRelationKinds(*this);
    qualifyPackages(*this);

    // Short names are taken from the final labels, so that members are found under their
    // own names and classes under the "."-separated form of nested names.
    for (Vertex* v : V)
        classes->insert({shortName(v->label), v->number});
    vertices = static_cast<int>(V.size());
}
