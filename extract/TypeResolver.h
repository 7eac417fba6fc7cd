// Resolution of written type names to the types of the extracted tree, by Java's scoping
// rules as far as declarations show them: member types of the enclosing types and of their
// supertypes, single-type imports, the own package, on-demand imports, full names.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "extract/JavaModel.h"

class TypeResolver {
public:
    explicit TypeResolver(const JavaTree& tree);

    /// Index of the type that `written` (normal form, arrays allowed) names when written in
    /// the body of type `scope` (or, with `scope` -1, at the top of file `file`); -1 when
    /// it names no type of the tree (a library type, a type parameter).
    int resolve(const std::string& written, int scope, int file) const;

    /// The type as the diagram writes it: the dotted full name of a type of the tree, with
    /// its array brackets, or the written text unchanged.
    std::string diagramType(const std::string& written, int scope, int file) const;

    /// Types of the tree that type `t` extends or implements, in declaration order.
    const std::vector<int>& supertypes(int t) const;

private:
    int resolveSimple(const std::string& simple, int scope, int file) const;
    int memberType(int owner, const std::string& simple) const;
    int memberType(int owner, const std::string& simple, std::vector<int>& seen) const;

    const JavaTree& tree_;
    /// Dotted full name to type; the first declaration wins when two files declare one name.
    std::map<std::string, int> byDottedName_;
    /// (enclosing type, simple name) to member type.
    std::map<std::pair<int, std::string>, int> memberTypes_;
    /// (package, simple name) to top-level type.
    std::map<std::pair<std::string, std::string>, int> topLevel_;
    /// Supertypes resolved on first use: 0 not yet, 1 in progress (a cycle), 2 done.
    mutable std::vector<std::vector<int>> supertypes_;
    mutable std::vector<char> supertypeState_;
};
