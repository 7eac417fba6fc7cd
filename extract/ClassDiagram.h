// The class diagram of an extracted tree in the shape both diagram formats write: sorted
// packages, classes sorted by full name with their members in source order, class
// relations and the type uses the readers will derive from the member signatures.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "extract/JavaModel.h"
#include "graph/Kinds.h"

/// Arc label codes the extraction writes (the readers' table).
constexpr int kExtendsLabel = 1;
constexpr int kImplementsLabel = 2;
constexpr int kNestingLabel = 3;
constexpr int kAttributeTypeLabel = 6;
constexpr int kParameterTypeLabel = 7;
constexpr int kReturnTypeLabel = 8;

/// One method or attribute line.
struct DiagramMember {
    /// 'm' for methods and constructors, 'a' for fields and enum constants.
    char letter = 'm';
    /// "[modifiers]@type@name@(p1,p2)" or "[modifiers]@type@name".
    std::string text;
    /// Classes its type and parameter types name, with labels 6, 7 or 8 (positions in
    /// ClassDiagram::classes), as the readers derive them: return type first.
    std::vector<std::pair<int, int>> typeUses;
};

struct DiagramClass {
    /// Full name with "$" between nested names ("org.a.Outer$Inner").
    std::string label;
    /// Position of its package in ClassDiagram::packages, or -1 for the default package.
    int package = -1;
    /// Position of the enclosing class, or -1.
    int outer = -1;
    /// Extended (label 1) and implemented (label 2) classes of the diagram, in
    /// declaration order.
    std::vector<std::pair<int, int>> supertypes;
    std::vector<DiagramMember> members;
};

struct ClassDiagram {
    /// Dotted package names, sorted, every enclosing package included; the root "." is not
    /// listed.
    std::vector<std::string> packages;
    std::vector<DiagramClass> classes;
    /// Types left out because another file already declares the same full name.
    std::vector<std::string> duplicates;

    int methodCount() const;
    int attributeCount() const;
    int relationCount() const;
};

/// Builds the diagram of a tree: names resolved, classes sorted, relations listed.
ClassDiagram buildClassDiagram(const JavaTree& tree);

/// Writes the class diagram with member nodes (reader mode 12). Returns the number of arcs.
int writeMemberDiagram(const ClassDiagram& d, std::ostream& out);

/// Writes the classes with their members inside (reader mode 4): relations 1-3, then the
/// type uses lifted to their classes (6, then 7, then 8). Returns the number of arcs.
int writeClassesWithMembers(const ClassDiagram& d, std::ostream& out);
