// Graph formats whose lines are tagged by a leading letter: classes with their members
// (mode 4), plain lettered nodes (mode 5), three linked node kinds (mode 10) and state
// machines (mode 11).
#include <cctype>

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/ReaderLines.h"
#include "util/Console.h"

namespace {

/// Node kinds of the three-kind format and of the state machines.
constexpr short kEntityKind = 4;
constexpr short kLifelineKind = 5;
constexpr short kMessageKind = 6;
constexpr short kStateKind = 8;
constexpr short kTransitionKind = 9;
/// Arc kinds set by those formats.
constexpr int kLinkArc = 1;
constexpr int kIntoTransitionArc = 8;
constexpr int kOutOfTransitionArc = 9;

/// Reads the "N,M" first line; the lettered formats use it for nothing else, so a bad
/// header is reported and reading goes on.
void skipHeader(LineReader& lines) {
    int n = 0, m = 0;
    if (lines.next()) lines.header(n, m);
}

/// True when `number` names an existing node; reports the line otherwise.
bool existingNode(const LineReader& lines, int number, size_t nodeCount, const std::string& what) {
    if (number >= 0 && static_cast<size_t>(number) < nodeCount) return true;
    lines.report(what + " " + std::to_string(number) + " is not a node read so far");
    return false;
}

/// Appends the node of a "letter,number,label[,weights]" line at the end of the list and
/// returns it, or null when the line is malformed. A number that is not the node's position
/// is reported; the node keeps its position so that numbers and indices agree.
Vertex* appendNumberedNode(const LineReader& lines, std::vector<Vertex*>& nodes, bool withWeights) {
    int number = 0;
    float w[kWeightSlots] = {0, 0, 0, 0, 0};
    if (!lines.require(3, "\"letter,number,label[,weights]\"") ||
        !lines.intField(1, number, "node number"))
        return nullptr;
    if (withWeights && !lines.weightFields(3, w, kWeightSlots)) return nullptr;
    int position = static_cast<int>(nodes.size());
    const std::string label = lines.boundedName(lines.field(2));
    if (number != position) reportOrderProblem(number, label, position);
    Vertex* v = new Vertex(position, label, w);
    nodes.push_back(v);
    return v;
}

/// Creates the graph's short-name map when a reader needs it.
void ensureClasses(std::multimap<std::string, int>*& classes) {
    if (classes == nullptr) classes = new std::multimap<std::string, int>();
}

std::string lowerCase(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Mode 4: class nodes keeping their attributes and methods inside, and relations.
// ---------------------------------------------------------------------------------------------

void Graph::initMode4(std::ifstream* in) {
    ensureClasses(classes);
    LineReader lines(*in, sourcePath);
    skipHeader(lines);
    int arcNumber = 0;
    while (lines.next()) {
        if (lines.startsWith("c,")) {
            Vertex* v = appendNumberedNode(lines, V, true);
            if (v == nullptr) continue;
            v->type = kClassType;
            classes->insert({shortName(v->label), v->number});
        } else if (lines.startsWith("a,") || lines.startsWith("m,")) {
            int owner = 0;
            if (!lines.require(3, "\"letter,class number,signature\"") ||
                !lines.intField(1, owner, "class number") ||
                !existingNode(lines, owner, V.size(), "class"))
                continue;
            storeMemberLine(lines, *V[owner]);
        } else if (lines.startsWith("r,")) {
            insertRelationLine(*this, lines, arcNumber);
        } else {
            lines.reportUnknownLine("a line beginning with c, a, m or r");
        }
    }
    vertices = static_cast<int>(V.size());
}

// ---------------------------------------------------------------------------------------------
// Mode 5: lettered node and arc lines.
// ---------------------------------------------------------------------------------------------

void Graph::initMode5(std::ifstream* in) {
    LineReader lines(*in, sourcePath);
    skipHeader(lines);
    int arcNumber = 0;
    while (lines.next()) {
        if (lines.startsWith("c,")) {
            appendNumberedNode(lines, V, true);
        } else if (lines.startsWith("r,")) {
            insertRelationLine(*this, lines, arcNumber);
        } else {
            lines.reportUnknownLine("a line beginning with c or r");
        }
    }
    vertices = static_cast<int>(V.size());
}

// ---------------------------------------------------------------------------------------------
// Mode 10: entities ("c,"), lifelines owned by an entity ("l,") and messages between two
// nodes ("m,"), each message being a node between its sender and its receiver.
// ---------------------------------------------------------------------------------------------

void Graph::initMode10(std::ifstream* in) {
    ensureClasses(classes);
    LineReader lines(*in, sourcePath);
    skipHeader(lines);
    int arcNumber = 0;
    auto link = [&](int from, int to, const std::string& label) {
        Edge* e = new Edge(from, to, label);
        e->type = kLinkArc;
        e->setNumber(arcNumber++);
        insertEdge(e);
    };
    while (lines.next()) {
        if (lines.startsWith("c,")) {
            Vertex* v = appendNumberedNode(lines, V, true);
            if (v == nullptr) continue;
            v->type = kEntityKind;
            classes->insert({shortName(v->label), v->number});
        } else if (lines.startsWith("l,")) {
            int number = 0, owner = 0;
            if (!lines.require(4, "\"l,number,owner,label\"") ||
                !lines.intField(1, number, "node number") || !lines.intField(2, owner, "owner") ||
                !existingNode(lines, owner, V.size(), "owner"))
                continue;
            int position = static_cast<int>(V.size());
            if (number != position) reportOrderProblem(number, lines.field(3), position);
            Vertex* v = new Vertex(position, lines.field(3));
            v->type = kLifelineKind;
            V.push_back(v);
            classes->insert({v->label, position});
            link(owner, position, kContainmentText);
        } else if (lines.startsWith("m,")) {
            int sender = 0, receiver = 0;
            if (!lines.require(5, "\"m,sender,receiver,label,specif\"") ||
                !lines.intField(1, sender, "sender") || !lines.intField(2, receiver, "receiver") ||
                !existingNode(lines, sender, V.size(), "sender") ||
                !existingNode(lines, receiver, V.size(), "receiver"))
                continue;
            // The message's arcs carry the second "@" part of its specif as their label.
            std::string specif = lines.joinFrom(4);
            size_t at = specif.find('@');
            std::string label;
            if (at != std::string::npos)
                label = specif.substr(at + 1, specif.find('@', at + 1) - at - 1);
            if (!isLabelCode(label)) {
                lines.report("specif must hold the arc label code as its second \"@\" part");
                continue;
            }
            int position = static_cast<int>(V.size());
            Vertex* v = new Vertex(position, lines.field(3));
            v->type = kMessageKind;
            v->specif = specif;
            V.push_back(v);
            link(sender, position, label);
            link(position, receiver, label);
        } else {
            lines.reportUnknownLine("a line beginning with c, l or m");
        }
    }
    vertices = static_cast<int>(V.size());
}

// ---------------------------------------------------------------------------------------------
// Mode 11: state machines; transitions are nodes between their two states.
// ---------------------------------------------------------------------------------------------

void Graph::initMode11(std::ifstream* in) {
    ensureClasses(classes);
    LineReader lines(*in, sourcePath);
    skipHeader(lines);
    int arcNumber = 0;
    auto link = [&](int from, int to, int kind) {
        Edge* e = new Edge(from, to, "1");
        e->type = kind;
        e->setNumber(arcNumber++);
        insertEdge(e);
    };
    while (lines.next()) {
        if (lines.startsWith("s,")) {
            int number = 0;
            if (!lines.require(2, "\"s,number\"") || !lines.intField(1, number, "state number"))
                continue;
            console() << "\n" << lines.line();
            int position = static_cast<int>(V.size());
            if (number != position) reportOrderProblem(number, "state", position);
            Vertex* v = new Vertex(position, "state");
            v->type = kStateKind;
            v->specif = " ";
            V.push_back(v);
            classes->insert({"state", position});
        } else if (lines.startsWith("t,")) {
            int source = 0, target = 0;
            if (!lines.require(4, "\"t,source,target,name\"") ||
                !lines.intField(1, source, "source state") ||
                !lines.intField(2, target, "target state") ||
                !existingNode(lines, source, V.size(), "source state") ||
                !existingNode(lines, target, V.size(), "target state"))
                continue;
            console() << "\n" << lines.line();
            int position = static_cast<int>(V.size());
            Vertex* v = new Vertex(position, lowerCase(lines.field(3)));
            v->type = kTransitionKind;
            V.push_back(v);
            classes->insert({v->label, position});
            link(source, position, kIntoTransitionArc);
            link(position, target, kOutOfTransitionArc);
        } else {
            lines.reportUnknownLine("a line beginning with s or t");
        }
    }
    // A state is named by the transitions around it. New labels are computed from the old
    // ones first, so the result never depends on the order of the states.
    std::vector<std::string> relabelled(V.size());
    for (size_t i = 0; i < V.size(); i++) {
        if (V[i]->type == kTransitionKind) continue;
        for (Edge* e : V[i]->in)
            relabelled[i] += "_from-" + V[e->from]->label;
        for (Edge* e : V[i]->out)
            relabelled[i] += "_towa-" + V[e->to]->label;
    }
    for (size_t i = 0; i < V.size(); i++)
        if (V[i]->type != kTransitionKind) V[i]->label = relabelled[i];
    vertices = static_cast<int>(V.size());
}
