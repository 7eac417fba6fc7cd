// Classes, packages and members of one class diagram, read from its graph.
#include "report/DiagramView.h"

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/Vertex.h"

#include <cctype>

namespace {
/// Modes that read members as nodes of their own.
constexpr int kMemberNodeModes[] = {kDerivedTreeMode, kClassDiagramMode};

/// Splits at "," keeping empty items ("a,,b" has three).
std::vector<std::string> commaItems(const std::string& text) {
    std::vector<std::string> items(1);
    for (char c : text) {
        if (c == ',')
            items.emplace_back();
        else
            items.back() += c;
    }
    return items;
}

std::string methodText(const std::string& name, const std::string& params,
                       const std::string& output) {
    return name + "(" + params + ") : " + output;
}

std::string afterLastDot(const std::string& label) {
    const size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

} // namespace

std::string packageByConvention(const std::string& label) {
    std::string package;
    size_t start = 0;
    while (start < label.size()) {
        size_t dot = label.find('.', start);
        if (dot == std::string::npos) break; // the last part is always the class
        if (std::isupper(static_cast<unsigned char>(label[start]))) return package;
        package = label.substr(0, dot);
        start = dot + 1;
    }
    return package;
}

DiagramView::DiagramView(const Graph& g, int mode) {
    readClasses(g, mode);
    readPackages(g, mode);
    membersAreNodes = false;
    for (int m : kMemberNodeModes)
        if (m == mode) membersAreNodes = true;
    if (membersAreNodes)
        readMemberNodes(g);
    else
        readInsideMembers(g);
}

std::string DiagramView::localName(int classIdx) const {
    const std::string& label = labels[static_cast<size_t>(classIdx)];
    const std::string& package = packageOf[static_cast<size_t>(classIdx)];
    if (!package.empty() && label.size() > package.size() + 1 &&
        label.compare(0, package.size() + 1, package + ".") == 0)
        return label.substr(package.size() + 1);
    return afterLastDot(label);
}

void DiagramView::readClasses(const Graph& g, int mode) {
    for (const Vertex* v : g.V) {
        // The lettered mode has one node kind: all of its nodes are classes.
        const bool isClass = mode == kLetteredMode || v->type == kClassType;
        if (!isClass) continue;
        classIndex[v->number] = static_cast<int>(classes.size());
        classes.push_back(v->number);
        labels.push_back(v->label);
    }
    membersOf.resize(classes.size());
}

void DiagramView::readPackages(const Graph& g, int mode) {
    // Packages named in the file: a class belongs to the longest one that prefixes its name.
    std::set<std::string> named;
    // Only this mode's file names its packages; the others derive them from class names.
    if (mode == kClassDiagramMode)
        for (const Vertex* v : g.V)
            if (v->type == kPackageType && v->label != "." && !v->label.empty())
                named.insert(v->label);
    for (const std::string& label : labels) {
        std::string package;
        if (named.empty()) {
            package = packageByConvention(label);
        } else {
            for (size_t dot = label.find('.'); dot != std::string::npos;
                 dot = label.find('.', dot + 1))
                if (named.count(label.substr(0, dot)) != 0) package = label.substr(0, dot);
        }
        packageOf.push_back(package);
        if (!package.empty()) packages.insert(package);
    }
    packages.insert(named.begin(), named.end());
}

void DiagramView::addMember(int owner, int node, const std::string& name, const std::string& text) {
    membersOf[static_cast<size_t>(owner)].push_back(static_cast<int>(members.size()));
    if (node >= 0) memberOfNode[node] = static_cast<int>(members.size());
    members.push_back(Member{owner, node, name, text});
}

void DiagramView::readMemberNodes(const Graph& g) {
    for (size_t ci = 0; ci < classes.size(); ci++) {
        const Vertex* c = g.vertex(classes[ci]);
        for (const Edge* e : c->out) {
            if (e->labels == nullptr || e->labels[kContainmentLabel] == 0) continue;
            if (e->to < 0 || e->to >= static_cast<int>(g.V.size())) continue;
            const Vertex* m = g.vertex(e->to);
            if (m->type != kMethodType && m->type != kAttributeType) continue;
            if (memberOfNode.count(m->number) != 0) continue; // a second parent keeps the first
            // Signature items: modifiers, type, name, then the parameters of a method.
            const std::vector<std::string> items = commaItems(m->specif);
            const std::string name = items.size() > 2 ? items[2] : afterLastDot(m->label);
            const std::string type = items.size() > 1 ? items[1] : std::string();
            std::string text;
            if (m->type == kAttributeType) {
                text = name + " : " + type;
            } else {
                std::string params;
                for (size_t i = 3; i < items.size(); i++)
                    params += (i > 3 ? "," : "") + items[i];
                text = methodText(name, params, type);
            }
            addMember(static_cast<int>(ci), m->number, name, text);
        }
    }
}

void DiagramView::readInsideMembers(const Graph& g) {
    for (size_t ci = 0; ci < classes.size(); ci++) {
        const Vertex* c = g.vertex(classes[ci]);
        for (const auto& entry : c->attributes)
            addMember(static_cast<int>(ci), -1, entry.second->name,
                      entry.second->name + " : " + entry.second->type);
        for (const auto& entry : c->methods)
            addMember(static_cast<int>(ci), -1, entry.second->name,
                      methodText(entry.second->name, entry.second->inputs, entry.second->output));
    }
}
