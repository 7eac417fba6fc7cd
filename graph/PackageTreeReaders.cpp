// Class-diagram formats whose package tree is derived from the qualified class names: mode 9
// (member nodes, containment arcs from container to contained) and mode 8 (members kept
// inside their classes, classes and packages tied to their package by label-3 arcs).
#include <deque>
#include <map>
#include <string_view>
#include <unordered_map>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/ReaderLines.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {
const char* const kRootPackage = ".";

/// Packages in order of first appearance, the root "." first. Each path is stored once: the
/// index views the texts of `paths`, which a deque never moves.
struct PackageList {
    std::deque<std::string> paths{kRootPackage};
    std::unordered_map<std::string_view, int> index{{paths.front(), 0}};

    PackageList() = default;
    PackageList(const PackageList&) = delete;
    PackageList& operator=(const PackageList&) = delete;

    /// Adds every prefix of a dotted path ("a", "a.b", ...) not seen before.
    void addPrefixes(const std::string& path) {
        for (size_t end = path.find('.');; end = path.find('.', end + 1)) {
            std::string_view prefix(path.data(), end == std::string::npos ? path.size() : end);
            if (index.find(prefix) == index.end()) {
                paths.emplace_back(prefix);
                index.emplace(paths.back(), static_cast<int>(paths.size()) - 1);
            }
            if (end == std::string::npos) break;
        }
    }

    /// Number of the package with that path, or -1.
    int find(const std::string& path) const {
        auto found = index.find(path);
        return found == index.end() ? -1 : found->second;
    }
};

/// Depth of a package or class from its name: one more than its number of ".".
short dottedLevel(const std::string& label) {
    short dots = 0;
    for (char ch : label)
        if (ch == '.') dots++;
    return static_cast<short>(dots + 1);
}

/// The label before its last "." (the root "." when there is none).
std::string enclosingPackage(const std::string& label) {
    size_t dot = label.rfind('.');
    return dot == std::string::npos ? std::string(kRootPackage) : label.substr(0, dot);
}

/// Appends one package node per path, numbered on from the current list; returns the node
/// number of the first (the root "." package).
int appendPackages(std::vector<Vertex*>& nodes, const PackageList& packages) {
    int first = static_cast<int>(nodes.size());
    for (const std::string& path : packages.paths) {
        Vertex* v = new Vertex(static_cast<int>(nodes.size()), path);
        v->type = kPackageType;
        v->level = path == kRootPackage ? 0 : dottedLevel(path);
        nodes.push_back(v);
    }
    return first;
}

/// Finds the package of every class and package below `limit` (classes get their level
/// first) and returns the pairs (node, package). A level that does not follow the package's
/// is reported; the package is found by its name, so names agree by construction.
std::vector<std::pair<int, int>> attachToPackages(std::vector<Vertex*>& nodes, int limit,
                                                  const PackageList& packages, int firstPackage) {
    std::vector<std::pair<int, int>> links;
    for (int i = 0; i < limit; i++) {
        Vertex* v = nodes[i];
        if (v->type == kClassType) v->level = dottedLevel(v->label);
        if (v->label == kRootPackage) continue;
        int found = packages.find(enclosingPackage(v->label));
        if (found < 0) continue;
        Vertex* package = nodes[firstPackage + found];
        if (v->level != package->level + 1)
            console() << "\n!!!!!!!!!!!!!!!!!!!!!! \t" << v->label << "(" << v->level << ") --> "
                      << package->label << "(" << package->level << ")\n";
        links.push_back({i, package->number});
    }
    return links;
}

/// A kept line of a mode-9 file, with its position for later reports.
struct KeptLine {
    std::vector<std::string> fields;
    std::string text;
    int lineNo;
};

void reportKept(const std::string& source, const KeptLine& kept, const std::string& what) {
    LineReader::reportFile(source, "line " + std::to_string(kept.lineNo) + ": " + what + " [" +
                                       kept.text + "]");
}

/// The relation text derived in mode 9: source, target, label.
struct Relation {
    int from;
    int to;
    std::string label;
};

/// Type-use relations of a member signature: return type (8) and parameter types (7) for a
/// method, the type (6) for an attribute, when they name a class of the diagram.
void typeUses(int node, bool method, const std::vector<std::string>& parts,
              const std::map<std::string, int>& classLabels, std::vector<Relation>& out) {
    for (size_t i = 1; i < parts.size(); i++) {
        if (i == 2 || (!method && i > 1)) continue;
        auto cls = classLabels.find(parts[i]);
        if (cls == classLabels.end()) continue;
        out.push_back({node, cls->second, !method ? "6" : i == 1 ? "8" : "7"});
    }
}

/// The lines of a mode-9 file kept for the later steps, with the packages they name.
struct NineLines {
    std::vector<KeptLine> classes;
    std::vector<KeptLine> methods;
    std::vector<KeptLine> attributes;
    std::vector<Relation> relations;
    PackageList packages;
};

/// Pass over the file: checked class, member and relation lines are kept; every class
/// name adds the packages of its dotted prefix. Other lines are ignored.
void keepNineLines(LineReader& lines, NineLines& kept) {
    while (lines.next()) {
        if (lines.lineNumber() == 1 && !lines.startsWith("c,") && !lines.startsWith("m,") &&
            !lines.startsWith("a,") && !lines.startsWith("r,")) {
            // The format has no header; a first line of no form is a title and ignored, but
            // one that reads as a count header is checked like the headers of other modes.
            int n = 0, m = 0;
            if (lines.size() == 2 && from_string(lines.field(0), n) &&
                from_string(lines.field(1), m))
                lines.header(n, m);
            continue;
        }
        KeptLine line{lines.fields(), lines.line(), lines.lineNumber()};
        int number = 0, target = 0;
        float w[kWeightSlots];
        std::string label;
        if (lines.startsWith("c,")) {
            if (!lines.require(3, "\"c,number,label[,weights]\"") ||
                !lines.intField(1, number, "class number") ||
                !lines.weightFields(3, w, kWeightSlots))
                continue;
            line.fields[2] = lines.boundedName(lines.field(2));
            kept.classes.push_back(line);
            std::string path = line.fields[2];
            if (path.find('.') != std::string::npos)
                kept.packages.addPrefixes(enclosingPackage(path));
        } else if (lines.startsWith("m,") || lines.startsWith("a,")) {
            if (!lines.require(3, "\"letter,owner class,signature\"") ||
                !lines.intField(1, number, "owner class"))
                continue;
            (lines.startsWith("m,") ? kept.methods : kept.attributes).push_back(line);
        } else if (lines.startsWith("r,")) {
            if (!lines.require(4, "\"r,source,target,label\"") ||
                !lines.intField(1, number, "source") || !lines.intField(2, target, "target") ||
                !lines.labelField(3, label))
                continue;
            kept.relations.push_back({number, target, label});
        } else {
            lines.reportUnknownLine("a line beginning with c, m, a or r");
        }
    }
}

/// Class nodes in line order; a misnumbered class is reported and keeps its position so
/// that numbers and indices agree. Fills the full-label map of the classes.
void addClassNodes(std::vector<Vertex*>& nodes, const std::vector<KeptLine>& classLines,
                   std::map<std::string, int>& classLabels) {
    for (const KeptLine& kept : classLines) {
        int number = 0;
        float w[kWeightSlots] = {0, 0, 0, 0, 0};
        from_string(kept.fields[1], number);
        for (size_t i = 3; i < kept.fields.size() && i < 3 + kWeightSlots; i++)
            from_string(kept.fields[i], w[i - 3]);
        int position = static_cast<int>(nodes.size());
        if (number != position) reportOrderProblem(number, kept.fields[2], position);
        Vertex* v = new Vertex(position, kept.fields[2], w);
        v->type = kClassType;
        nodes.push_back(v);
        classLabels.insert({v->label, position});
    }
}

/// Member nodes in line order, named after their class, each with its containment and
/// type-use relations. Returns the number of members added.
int addMemberNodes(Graph& g, const std::vector<KeptLine>& memberLines, bool methods,
                   const std::map<std::string, int>& classLabels, std::vector<Relation>& derived) {
    int added = 0;
    for (const KeptLine& kept : memberLines) {
        int owner = -1;
        from_string(kept.fields[1], owner);
        if (owner < 0 || owner >= g.nbClasses) {
            reportKept(g.sourcePath, kept, "owner " + std::to_string(owner) + " is not a class");
            continue;
        }
        std::string specif;
        if (methods) {
            std::string text;
            for (size_t i = 2; i < kept.fields.size(); i++)
                text += (i > 2 ? "," : "") + kept.fields[i];
            ClassMethod member(text, false);
            if (member.valid) specif = member.write();
        } else {
            ClassAttribute member(kept.fields[2], false);
            if (member.valid) specif = member.write();
        }
        std::vector<std::string>* split = splitString(specif, ",");
        std::vector<std::string> parts = split != nullptr ? *split : std::vector<std::string>();
        delete split;
        if (parts.size() < 3) {
            reportKept(g.sourcePath, kept,
                       methods ? "method signature outside its form"
                               : "attribute text outside its form");
            continue;
        }
        int position = static_cast<int>(g.V.size());
        Vertex* v = new Vertex(position, g.V[owner]->label + "." + parts[2]);
        v->type = methods ? kMethodType : kAttributeType;
        v->specif = specif;
        g.V.push_back(v);
        added++;
        derived.push_back({position, owner, kContainmentText});
        typeUses(position, methods, parts, classLabels, derived);
    }
    return added;
}

/// Inserts the relations in order. Containment is given from the contained node: a member
/// takes the level below its container, and the arc is turned around to run from container
/// to contained (the file's own containment lines too).
void insertNineRelations(Graph& g, const std::vector<Relation>& relations) {
    int nodeCount = static_cast<int>(g.V.size());
    int arcNumber = 0;
    for (Relation r : relations) {
        bool known = r.from >= 0 && r.to >= 0 && r.from < nodeCount && r.to < nodeCount;
        int type = known ? g.V[r.from]->type : 0;
        if (r.label == kContainmentText) {
            if (known && (type == kMethodType || type == kAttributeType))
                g.V[r.from]->level = static_cast<short>(g.V[r.to]->level + 1);
            std::swap(r.from, r.to);
        }
        Edge* e = new Edge(r.from, r.to, r.label);
        e->type = type;
        e->setNumber(arcNumber++);
        g.insertEdge(e);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Mode 9
// ---------------------------------------------------------------------------------------------

void Graph::initMode9(std::ifstream* in) {
    nbClasses = nbPackages = nbAttributes = nbMethods = 0;
    if (classes == nullptr) classes = new std::multimap<std::string, int>();
    LineReader lines(*in, sourcePath);
    NineLines kept;
    keepNineLines(lines, kept);

    if (kept.classes.empty()) {
        // Without a class there is no diagram: the root package alone would pass for one.
        LineReader::reportFile(sourcePath, "no class line read; the graph is empty");
        return;
    }
    std::map<std::string, int> classLabels;
    addClassNodes(V, kept.classes, classLabels);
    nbClasses = static_cast<int>(V.size());
    // Packages follow the classes; the root "." is the root of the tree.
    int firstPackage = appendPackages(V, kept.packages);
    root = firstPackage;
    nbPackages = static_cast<int>(kept.packages.paths.size());

    std::vector<Relation> derived;
    nbMethods = addMemberNodes(*this, kept.methods, true, classLabels, derived);
    nbAttributes = addMemberNodes(*this, kept.attributes, false, classLabels, derived);
    // Classes and packages are contained in the package named by their label.
    for (const auto& link :
         attachToPackages(V, nbClasses + nbPackages, kept.packages, firstPackage))
        derived.push_back({link.first, link.second, kContainmentText});

    // The file's relations first, then the derived ones in the order produced.
    std::vector<Relation> ordered = kept.relations;
    ordered.insert(ordered.end(), derived.begin(), derived.end());
    insertNineRelations(*this, ordered);

    for (Vertex* v : V)
        classes->insert({shortName(v->label), v->number});
    vertices = static_cast<int>(V.size());
}

// ---------------------------------------------------------------------------------------------
// Mode 8
// ---------------------------------------------------------------------------------------------

namespace {

/// Round 1: the packages named by the classes; a class name without "." is a package of
/// its own. Lines that round 2 will reject are left out silently (round 2 reports them).
void classPackages(LineReader& lines, PackageList& packages) {
    while (lines.next()) {
        int number = 0;
        if (!lines.startsWith("c,") || lines.size() < 3 || !from_string(lines.field(1), number))
            continue;
        std::string problem; // reported by round 2
        std::string label = boundName(lines.field(2), problem);
        size_t dot = label.rfind('.');
        packages.addPrefixes(dot == std::string::npos ? label : label.substr(0, dot));
    }
}

/// Stores the attribute or method of an "a," or "m," line inside its class.
void keepMember(Graph& g, const LineReader& lines) {
    int owner = 0;
    if (!lines.require(3, "\"letter,owner class,signature\"") ||
        !lines.intField(1, owner, "owner class"))
        return;
    if (owner < 0 || owner >= static_cast<int>(g.V.size())) {
        lines.report("owner " + std::to_string(owner) + " is not a class read so far");
        return;
    }
    if (!storeMemberLine(lines, *g.V[owner])) return;
    if (lines.startsWith("a,"))
        g.nbAttributes++;
    else
        g.nbMethods++;
}

/// Round 2 reading: class nodes (appended), their members, and the file's relations.
/// Returns the class count announced by the header.
int readClassesAndMembers(Graph& g, LineReader& lines, int& arcNumber) {
    int n = 0, m = 0;
    if (lines.next()) lines.header(n, m);
    while (lines.next()) {
        if (lines.startsWith("c,")) {
            int number = 0;
            float w[kWeightSlots];
            if (!lines.require(3, "\"c,number,label[,weights]\"") ||
                !lines.intField(1, number, "class number") ||
                !lines.weightFields(3, w, kWeightSlots))
                continue;
            int position = static_cast<int>(g.V.size());
            const std::string label = lines.boundedName(lines.field(2));
            if (number != position) reportOrderProblem(number, label, position);
            Vertex* v = new Vertex(position, label, w);
            v->type = kClassType;
            g.V.push_back(v);
            g.classes->insert({shortName(v->label), position});
        } else if (lines.startsWith("a,") || lines.startsWith("m,")) {
            keepMember(g, lines);
        } else if (lines.startsWith("r,")) {
            Edge* e = relationFromLine(lines);
            if (e == nullptr) continue;
            if (e->from >= 0 && e->from < static_cast<int>(g.V.size()))
                e->type = g.V[e->from]->type;
            e->setNumber(arcNumber++);
            g.insertEdge(e);
        } else {
            lines.reportUnknownLine("a line beginning with c, a, m or r");
        }
    }
    return n;
}

} // namespace

void Graph::initMode8(std::ifstream* in) {
    nbClasses = nbPackages = nbAttributes = nbMethods = 0;
    if (classes == nullptr) classes = new std::multimap<std::string, int>();
    LineReader lines(*in, sourcePath);

    console() << "\n ROUND 1: START \n";
    PackageList packages;
    classPackages(lines, packages);
    lines.rewind();
    console() << "\n ROUND 1: END \n";

    int arcNumber = 0;
    int announced = readClassesAndMembers(*this, lines, arcNumber);
    nbClasses = static_cast<int>(V.size());
    if (nbClasses == 0) {
        // Without a class there is no diagram: the root package alone would pass for one.
        LineReader::reportFile(sourcePath, "no class line read; the graph is empty");
        return;
    }
    // Packages are numbered after the classes actually read, so a wrong header cannot put
    // them on top of classes or leave gaps.
    if (announced != nbClasses)
        LineReader::reportFile(sourcePath, "header announces " + std::to_string(announced) +
                                               " classes, file holds " + std::to_string(nbClasses) +
                                               "; packages numbered after the classes read");

    console() << "\n ROUND 2: START \n";
    int firstPackage = appendPackages(V, packages);
    nbPackages = static_cast<int>(packages.paths.size());
    console() << "\n ROUND 2: END \n";

    // Round 3: every class and package is tied to its package by a label-3 arc.
    console() << "\n ROUND 3: START \n";
    for (const auto& link :
         attachToPackages(V, static_cast<int>(V.size()), packages, firstPackage)) {
        Edge* e = new Edge(link.first, link.second, "3");
        e->type = V[link.first]->type;
        e->setNumber(arcNumber++);
        insertEdge(e);
    }
    console() << "\n ROUND 3: END \n";
    vertices = static_cast<int>(V.size());
}
