// TypeResolver: name tables built once, supertypes resolved lazily because looking up a
// member type may climb into the supertypes of any enclosing type.
#include "extract/TypeResolver.h"

#include <algorithm>

namespace {

/// "Type[][]" split into "Type" and "[][]".
std::pair<std::string, std::string> splitArray(const std::string& written) {
    size_t bracket = written.find('[');
    if (bracket == std::string::npos) return {written, std::string()};
    return {written.substr(0, bracket), written.substr(bracket)};
}

std::vector<std::string> dottedParts(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', start)) {
        parts.push_back(name.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(name.substr(start));
    return parts;
}

} // namespace

TypeResolver::TypeResolver(const JavaTree& tree)
    : tree_(tree), supertypes_(tree.types.size()), supertypeState_(tree.types.size(), 0) {
    for (size_t i = 0; i < tree.types.size(); i++) {
        const JavaType& t = tree.types[i];
        const int index = static_cast<int>(i);
        byDottedName_.insert({t.dottedName(), index});
        if (t.outer >= 0)
            memberTypes_.insert({{t.outer, t.simpleName()}, index});
        else
            topLevel_.insert({{t.package, t.simpleName()}, index});
    }
}

const std::vector<int>& TypeResolver::supertypes(int t) const {
    if (supertypeState_[t] != 0) return supertypes_[t];
    supertypeState_[t] = 1;
    // The extends and implements clauses are read outside the type's own body.
    const JavaType& type = tree_.types[t];
    std::vector<int> found;
    for (const std::string& written : type.supertypes) {
        int s = resolve(written, type.outer, type.file);
        if (s >= 0 && s != t) found.push_back(s);
    }
    supertypes_[t] = found;
    supertypeState_[t] = 2;
    return supertypes_[t];
}

int TypeResolver::memberType(int owner, const std::string& simple) const {
    std::vector<int> seen;
    return memberType(owner, simple, seen);
}

int TypeResolver::memberType(int owner, const std::string& simple, std::vector<int>& seen) const {
    // The types climbed through are few (a class, its supertypes and theirs), so a short
    // list guards against inheritance cycles.
    if (std::find(seen.begin(), seen.end(), owner) != seen.end()) return -1;
    seen.push_back(owner);
    auto own = memberTypes_.find({owner, simple});
    if (own != memberTypes_.end()) return own->second;
    for (int s : supertypes(owner)) {
        int inherited = memberType(s, simple, seen);
        if (inherited >= 0) return inherited;
    }
    return -1;
}

int TypeResolver::resolveSimple(const std::string& simple, int scope, int file) const {
    for (int t = scope; t >= 0; t = tree_.types[t].outer) {
        int member = memberType(t, simple);
        if (member >= 0) return member;
    }
    if (file < 0) return -1;
    const JavaFile& f = tree_.files[file];
    for (const std::string& import : f.imports) {
        size_t dot = import.rfind('.');
        if (import.compare(dot + 1, std::string::npos, simple) != 0) continue;
        // An import of a library type hides a same-named type of the package.
        auto imported = byDottedName_.find(import);
        return imported != byDottedName_.end() ? imported->second : -1;
    }
    // A static import may name a member type; one that names no type of the tree names a
    // field or a method and does not hide anything.
    for (const std::string& import : f.staticImports) {
        size_t dot = import.rfind('.');
        if (import.compare(dot + 1, std::string::npos, simple) != 0) continue;
        auto imported = byDottedName_.find(import);
        if (imported != byDottedName_.end()) return imported->second;
    }
    auto local = topLevel_.find({f.package, simple});
    if (local != topLevel_.end()) return local->second;
    for (const std::string& import : f.imports) {
        if (import.size() < 2 || import.compare(import.size() - 2, 2, ".*") != 0) continue;
        auto onDemand = byDottedName_.find(import.substr(0, import.size() - 1) + simple);
        if (onDemand != byDottedName_.end()) return onDemand->second;
    }
    return -1;
}

int TypeResolver::resolve(const std::string& written, int scope, int file) const {
    const std::string base = splitArray(written).first;
    if (base.empty()) return -1;
    std::vector<std::string> parts = dottedParts(base);
    int t = resolveSimple(parts[0], scope, file);
    if (t < 0) {
        auto full = byDottedName_.find(base);
        return full != byDottedName_.end() ? full->second : -1;
    }
    for (size_t i = 1; i < parts.size() && t >= 0; i++)
        t = memberType(t, parts[i]);
    return t;
}

std::string TypeResolver::diagramType(const std::string& written, int scope, int file) const {
    int t = resolve(written, scope, file);
    if (t < 0) return written;
    return tree_.types[t].dottedName() + splitArray(written).second;
}
