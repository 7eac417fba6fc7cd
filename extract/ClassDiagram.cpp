// buildClassDiagram and the two writers. Every list is ordered by names and source lines
// only, so the same tree always gives the same bytes.
#include "extract/ClassDiagram.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "extract/TypeResolver.h"

namespace {

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string joined;
    for (size_t i = 0; i < parts.size(); i++)
        joined += (i > 0 ? separator : "") + parts[i];
    return joined;
}

/// Type indices in diagram order; a name declared twice keeps its first declaration.
std::vector<int> classOrder(const JavaTree& tree, std::vector<std::string>& duplicates) {
    std::vector<int> order(tree.types.size());
    for (size_t i = 0; i < order.size(); i++)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return tree.types[a].binaryName() < tree.types[b].binaryName();
    });
    std::vector<int> kept;
    for (int t : order) {
        if (!kept.empty() && tree.types[kept.back()].binaryName() == tree.types[t].binaryName()) {
            duplicates.push_back(tree.types[t].binaryName() + " in " +
                                 tree.files[tree.types[t].file].path);
            continue;
        }
        kept.push_back(t);
    }
    return kept;
}

std::vector<std::string> packageList(const JavaTree& tree) {
    std::set<std::string> packages;
    for (const JavaType& t : tree.types) {
        for (size_t dot = t.package.find('.'); dot != std::string::npos;
             dot = t.package.find('.', dot + 1))
            packages.insert(t.package.substr(0, dot));
        if (!t.package.empty()) packages.insert(t.package);
    }
    return std::vector<std::string>(packages.begin(), packages.end());
}

/// The member's line text and the classes its signature names.
DiagramMember diagramMember(const JavaMember& m, int owner, const JavaTree& tree,
                            const TypeResolver& types,
                            const std::map<std::string, int>& positions) {
    DiagramMember d;
    const int file = tree.types[owner].file;
    auto use = [&](const std::string& type, int label) {
        auto it = positions.find(type);
        if (it != positions.end()) d.typeUses.push_back({it->second, label});
    };
    if (m.kind == MemberKind::EnumConstant || m.kind == MemberKind::Field) {
        d.letter = 'a';
        std::string type = m.kind == MemberKind::EnumConstant
                               ? tree.types[owner].dottedName()
                               : types.diagramType(m.type, owner, file);
        d.text = m.modifiers + "@" + type + "@" + m.name;
        use(type, kAttributeTypeLabel);
        return d;
    }
    std::string output = types.diagramType(m.type, owner, file);
    std::vector<std::string> inputs;
    for (const std::string& p : m.parameters)
        inputs.push_back(types.diagramType(p, owner, file));
    d.text = m.modifiers + "@" + output + "@" + m.name + "@(" + join(inputs, ",") + ")";
    use(output, kReturnTypeLabel);
    for (const std::string& p : inputs)
        use(p, kParameterTypeLabel);
    return d;
}

} // namespace

int ClassDiagram::methodCount() const {
    int n = 0;
    for (const DiagramClass& c : classes)
        for (const DiagramMember& m : c.members)
            n += m.letter == 'm';
    return n;
}

int ClassDiagram::attributeCount() const {
    int n = 0;
    for (const DiagramClass& c : classes)
        n += static_cast<int>(c.members.size());
    return n - methodCount();
}

int ClassDiagram::relationCount() const {
    int n = 0;
    for (const DiagramClass& c : classes)
        n += static_cast<int>(c.supertypes.size()) + (c.outer >= 0);
    return n;
}

ClassDiagram buildClassDiagram(const JavaTree& tree) {
    ClassDiagram d;
    d.packages = packageList(tree);
    std::vector<int> order = classOrder(tree, d.duplicates);
    std::map<int, int> positionOfType;
    std::map<std::string, int> positionOfName;
    for (size_t i = 0; i < order.size(); i++) {
        positionOfType[order[i]] = static_cast<int>(i);
        positionOfName[tree.types[order[i]].dottedName()] = static_cast<int>(i);
    }
    TypeResolver types(tree);
    for (int t : order) {
        const JavaType& type = tree.types[t];
        DiagramClass c;
        c.label = type.binaryName();
        auto package = std::lower_bound(d.packages.begin(), d.packages.end(), type.package);
        c.package = type.package.empty() ? -1 : static_cast<int>(package - d.packages.begin());
        auto outer = positionOfType.find(type.outer);
        c.outer = outer != positionOfType.end() ? outer->second : -1;
        for (int s : types.supertypes(t)) {
            auto target = positionOfType.find(s);
            if (target == positionOfType.end()) continue;
            const TypeKind kind = tree.types[s].kind;
            bool implemented = kind == TypeKind::Interface || kind == TypeKind::Annotation;
            c.supertypes.push_back(
                {target->second, implemented ? kImplementsLabel : kExtendsLabel});
        }
        std::vector<JavaMember> members = type.members;
        std::stable_sort(members.begin(), members.end(),
                         [](const JavaMember& a, const JavaMember& b) { return a.line < b.line; });
        for (const JavaMember& m : members)
            c.members.push_back(diagramMember(m, t, tree, types, positionOfName));
        d.classes.push_back(c);
    }
    return d;
}

int writeMemberDiagram(const ClassDiagram& d, std::ostream& out) {
    std::ostringstream nodes, arcs;
    int arcCount = 0;
    auto arc = [&](int from, int to, int label) {
        arcs << "r," << from << "," << to << "," << label << "\n";
        arcCount++;
    };
    nodes << "p,0,.\n";
    int next = 1;
    for (size_t i = 0; i < d.packages.size(); i++, next++) {
        const std::string& p = d.packages[i];
        nodes << "p," << next << "," << p << "\n";
        size_t dot = p.rfind('.');
        auto parent =
            dot == std::string::npos
                ? d.packages.end()
                : std::lower_bound(d.packages.begin(), d.packages.end(), p.substr(0, dot));
        bool found = parent != d.packages.end() && *parent == p.substr(0, dot);
        arc(found ? static_cast<int>(parent - d.packages.begin()) + 1 : 0, next, kContainmentLabel);
    }
    std::vector<int> classNode(d.classes.size());
    for (size_t i = 0; i < d.classes.size(); i++) {
        const DiagramClass& c = d.classes[i];
        classNode[i] = next;
        nodes << "c," << next << "," << c.label << "\n";
        arc(c.package >= 0 ? c.package + 1 : 0, next, kContainmentLabel);
        const int owner = next++;
        for (const DiagramMember& m : c.members) {
            nodes << m.letter << "," << next << "," << m.text << "\n";
            arc(owner, next++, kContainmentLabel);
        }
    }
    for (size_t i = 0; i < d.classes.size(); i++) {
        for (const auto& s : d.classes[i].supertypes)
            arc(classNode[i], classNode[s.first], s.second);
        if (d.classes[i].outer >= 0)
            arc(classNode[d.classes[i].outer], classNode[i], kNestingLabel);
    }
    out << next << "," << arcCount << "\n" << nodes.str() << arcs.str();
    return arcCount;
}

int writeClassesWithMembers(const ClassDiagram& d, std::ostream& out) {
    std::ostringstream lines, arcs;
    int arcCount = 0;
    auto arc = [&](size_t from, int to, int label) {
        arcs << "r," << from << "," << to << "," << label << "\n";
        arcCount++;
    };
    for (size_t i = 0; i < d.classes.size(); i++)
        lines << "c," << i << "," << d.classes[i].label << "\n";
    for (size_t i = 0; i < d.classes.size(); i++)
        for (const DiagramMember& m : d.classes[i].members)
            lines << m.letter << "," << i << "," << m.text << "\n";
    for (size_t i = 0; i < d.classes.size(); i++) {
        for (const auto& s : d.classes[i].supertypes)
            arc(i, s.first, s.second);
        if (d.classes[i].outer >= 0)
            arc(static_cast<size_t>(d.classes[i].outer), static_cast<int>(i), kNestingLabel);
    }
    for (int label : {kAttributeTypeLabel, kParameterTypeLabel, kReturnTypeLabel})
        for (size_t i = 0; i < d.classes.size(); i++)
            for (const DiagramMember& m : d.classes[i].members)
                for (const auto& u : m.typeUses)
                    if (u.second == label) arc(i, u.first, label);
    out << d.classes.size() << "," << arcCount << "\n" << lines.str() << arcs.str();
    return arcCount;
}
