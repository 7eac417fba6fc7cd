// readJavaTree: finds the Java files, runs ctags once over all of them, and turns each
// file's tags into types and members; modifiers and written types come from the
// declaration lines the tags point to.
#include "extract/JavaReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "extract/DeclarationText.h"
#include "extract/Subprocess.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

/// Lines of a declaration joined when its type is not on the tagged line (a type or a
/// modifier list broken over lines).
constexpr int kDeclarationLinesBack = 3;

std::string text(const json& tag, const char* key) {
    auto it = tag.find(key);
    return it != tag.end() && it->is_string() ? it->get<std::string>() : std::string();
}

int number(const json& tag, const char* key) {
    auto it = tag.find(key);
    return it != tag.end() && it->is_number_integer() ? it->get<int>() : 0;
}

bool isTypeKind(const std::string& kind) {
    return kind == "class" || kind == "interface" || kind == "enum" || kind == "annotation";
}

TypeKind typeKind(const std::string& kind) {
    if (kind == "interface") return TypeKind::Interface;
    if (kind == "enum") return TypeKind::Enum;
    if (kind == "annotation") return TypeKind::Annotation;
    return TypeKind::Class;
}

/// The file's lines without their line ends; false when it cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return !in.bad();
}

std::vector<std::string> splitCommas(const std::string& list) {
    std::vector<std::string> parts;
    std::stringstream in(list);
    std::string part;
    while (std::getline(in, part, ','))
        if (!part.empty()) parts.push_back(normaliseType(part));
    return parts;
}

/// The first declaration the parser opened and never closed, as a skip reason; empty when
/// every type and method is closed.
std::string unclosedDeclaration(const std::vector<json>& tags) {
    for (const json& tag : tags) {
        std::string kind = text(tag, "kind");
        if ((isTypeKind(kind) || kind == "method") && tag.find("end") == tag.end())
            return "syntax error: the " + kind + " " + text(tag, "name") + " declared at line " +
                   std::to_string(number(tag, "line")) + " is never closed";
    }
    return std::string();
}

/// The first declaration the parser misread, as a skip reason; empty when there is none.
/// Universal Ctags 5.9 takes a record for a method returning "record" and, in a sealed
/// type, the first permitted subclass for the type's name.
std::string misreadDeclaration(const std::vector<json>& tags,
                               const std::vector<std::string>& lines) {
    for (const json& tag : tags) {
        const int line = number(tag, "line");
        if (line < 1 || static_cast<size_t>(line) > lines.size()) continue;
        const std::string& textLine = lines[line - 1];
        std::string kind = text(tag, "kind");
        if (kind == "method" &&
            readDeclarationHead(textLine, text(tag, "name"), true).type == "record")
            return "the record declared at line " + std::to_string(line) + " is beyond this parser";
        if (isTypeKind(kind) && !declaresType(textLine, text(tag, "name")))
            return "the parser misread the type declared at line " + std::to_string(line);
    }
    return std::string();
}

/// Reads the member's modifiers and type from its declaration line, joining earlier lines
/// when the type is not on it.
DeclarationHead memberHead(const std::vector<std::string>& lines, int line, const std::string& name,
                           bool method, bool maybeConstructor) {
    DeclarationHead head;
    std::string joined;
    for (int back = 0; back < kDeclarationLinesBack && line - back >= 1; back++) {
        joined = lines[line - back - 1] + (back == 0 ? "" : " ") + joined;
        head = readDeclarationHead(joined, name, method);
        if (head.found && (!head.type.empty() || maybeConstructor)) break;
    }
    return head;
}

/// One member from its tag, or false when the tag is no member the diagram keeps.
bool readMember(const json& tag, const JavaType& owner, const std::vector<std::string>& lines,
                JavaMember& m) {
    std::string kind = text(tag, "kind");
    m.name = text(tag, "name");
    m.line = number(tag, "line");
    if (kind == "enumConstant") {
        m.kind = MemberKind::EnumConstant;
        if (m.line >= 1 && static_cast<size_t>(m.line) <= lines.size())
            m.name = wholeIdentifier(lines[m.line - 1], m.name, "(,;{");
        return true;
    }
    if (kind != "method" && kind != "field") return false;
    // The parser sometimes takes a statement for a declaration ("out.write(...)").
    if (m.name.find_first_of(". ") != std::string::npos) return false;
    bool method = kind == "method";
    if (m.line >= 1 && static_cast<size_t>(m.line) <= lines.size())
        m.name = wholeIdentifier(lines[m.line - 1], m.name, method ? "(" : "=;,[");
    bool maybeConstructor = method && m.name == owner.simpleName();
    DeclarationHead head;
    if (m.line >= 1 && static_cast<size_t>(m.line) <= lines.size())
        head = memberHead(lines, m.line, m.name, method, maybeConstructor);
    m.modifiers = head.modifiers;
    m.type = head.type;
    m.kind = !method                              ? MemberKind::Field
             : maybeConstructor && m.type.empty() ? MemberKind::Constructor
                                                  : MemberKind::Method;
    if (m.kind == MemberKind::Constructor) m.type = "void";
    if (method) m.parameters = parameterTypes(text(tag, "signature"));
    return true;
}

/// Where the types of one file lie, by line. The parser's scope names are not always
/// complete (after some anonymous classes a type ends early and what follows comes out
/// without scope), so a top-level type is taken to reach the next top-level type, and a
/// member without scope is placed by its line: left out when it lies in a method (a member
/// of an anonymous class) or after an enum constant of its enum (a constant's body).
class FilePlacement {
public:
    explicit FilePlacement(int lineCount) : lineCount_(lineCount) {}

    void place(const std::string& key, int index, int first, int last, bool topLevel, bool isEnum) {
        if (topLevel) {
            for (Placed& p : placed_)
                if (p.topLevel && p.last == lineCount_) p.last = std::max(p.first, first - 1);
            last = std::max(last, lineCount_);
        }
        placed_.push_back({key, index, first, last, topLevel, isEnum, 0});
    }

    /// Innermost type holding `line`, of parser scope name `key` when given; -1 if none.
    int owner(int line, const std::string* key) const {
        const Placed* found = innermost(line, key);
        return found != nullptr ? found->index : -1;
    }

    void addBody(int first, int last) { bodies_.push_back({first, last}); }

    void addConstant(const std::string& enumKey, int line) {
        for (Placed& p : placed_)
            if (p.isEnum && p.key == enumKey && (p.firstConstant == 0 || line < p.firstConstant))
                p.firstConstant = line;
    }

    int ownerOfUnscoped(int line) const {
        for (const auto& body : bodies_)
            if (line > body.first && line <= body.second) return -1;
        const Placed* found = innermost(line, nullptr);
        if (found == nullptr ||
            (found->isEnum && found->firstConstant > 0 && line > found->firstConstant))
            return -1;
        return found->index;
    }

private:
    struct Placed {
        std::string key;
        int index;
        int first;
        int last;
        bool topLevel;
        bool isEnum;
        int firstConstant;
    };

    const Placed* innermost(int line, const std::string* key) const {
        const Placed* found = nullptr;
        for (const Placed& p : placed_) {
            if (line < p.first || line > p.last || (key != nullptr && p.key != *key)) continue;
            if (found == nullptr || p.first >= found->first) found = &p;
        }
        return found;
    }

    int lineCount_;
    std::vector<Placed> placed_;
    std::vector<std::pair<int, int>> bodies_;
};

JavaFile fileHeader(const std::string& path, const std::vector<json>& tags);
void addTypes(const std::vector<json>& tags, const std::vector<std::string>& lines, int fileIndex,
              FilePlacement& placement, JavaTree& tree);
void addMembers(const std::vector<json>& tags, const std::vector<std::string>& lines,
                FilePlacement& placement, JavaTree& tree);

/// Adds one parsed file to the tree: its package, imports, types and members.
void addFile(const std::string& path, const std::vector<json>& tags,
             const std::vector<std::string>& lines, JavaTree& tree) {
    if (tags.empty()) {
        tree.skipped.push_back({path, "no package or type declaration found"});
        return;
    }
    std::string problem = unclosedDeclaration(tags);
    if (problem.empty()) problem = misreadDeclaration(tags, lines);
    if (!problem.empty()) {
        tree.skipped.push_back({path, problem});
        return;
    }
    const int fileIndex = static_cast<int>(tree.files.size());
    tree.files.push_back(fileHeader(path, tags));
    FilePlacement placement(static_cast<int>(lines.size()));
    addTypes(tags, lines, fileIndex, placement, tree);
    addMembers(tags, lines, placement, tree);
}

/// The file's package and imports.
JavaFile fileHeader(const std::string& path, const std::vector<json>& tags) {
    JavaFile file;
    file.path = path;
    for (const json& tag : tags) {
        if (text(tag, "kind") != "package") continue;
        if (text(tag, "roles") == "imported") {
            bool isStatic = text(tag, "pattern").find("import static") != std::string::npos;
            (isStatic ? file.staticImports : file.imports).push_back(text(tag, "name"));
        } else if (file.package.empty()) {
            file.package = text(tag, "name");
        }
    }
    return file;
}

/// The file's types, in source order, each placed in the type around it.
void addTypes(const std::vector<json>& tags, const std::vector<std::string>& lines, int fileIndex,
              FilePlacement& placement, JavaTree& tree) {
    const std::string package = tree.files[fileIndex].package;
    for (const json& tag : tags) {
        std::string kind = text(tag, "kind");
        if (!isTypeKind(kind)) continue;
        std::string scope = text(tag, "scope");
        // Types declared inside methods (local classes) are not members of a type.
        if (!scope.empty() && !isTypeKind(text(tag, "scopeKind"))) continue;
        const int line = number(tag, "line");
        const bool indented = line >= 1 && static_cast<size_t>(line) <= lines.size() &&
                              !lines[line - 1].empty() &&
                              std::isspace(static_cast<unsigned char>(lines[line - 1][0]));
        int outer = -1;
        if (!scope.empty()) outer = placement.owner(line, &scope);
        // A type the parser saw as top-level but that is indented is nested in the type
        // around it (the parser loses scopes after some anonymous classes).
        if (outer < 0 && (indented || !scope.empty())) outer = placement.owner(line, nullptr);
        JavaType t;
        t.kind = typeKind(kind);
        t.package = package;
        std::string name = text(tag, "name");
        if (line >= 1 && static_cast<size_t>(line) <= lines.size())
            name = wholeIdentifier(lines[line - 1], name, "");
        t.nestedName = outer < 0 ? name : tree.types[outer].nestedName + "$" + name;
        t.outer = outer;
        t.file = fileIndex;
        t.line = line;
        t.supertypes = splitCommas(text(tag, "inherits"));
        placement.place(scope.empty() ? text(tag, "name") : scope + "." + text(tag, "name"),
                        static_cast<int>(tree.types.size()), line, number(tag, "end"), outer < 0,
                        t.kind == TypeKind::Enum);
        tree.types.push_back(t);
    }
}

/// The file's members, each given to the type that declares it, in source order.
void addMembers(const std::vector<json>& tags, const std::vector<std::string>& lines,
                FilePlacement& placement, JavaTree& tree) {
    for (const json& tag : tags) {
        std::string kind = text(tag, "kind");
        if (kind == "method") placement.addBody(number(tag, "line"), number(tag, "end"));
        if (kind == "enumConstant") placement.addConstant(text(tag, "scope"), number(tag, "line"));
    }
    for (const json& tag : tags) {
        std::string kind = text(tag, "kind");
        if (kind != "method" && kind != "field" && kind != "enumConstant") continue;
        std::string scope = text(tag, "scope");
        const int line = number(tag, "line");
        const int owner =
            scope.empty() ? placement.ownerOfUnscoped(line) : placement.owner(line, &scope);
        JavaMember m;
        if (owner >= 0 && readMember(tag, tree.types[owner], lines, m))
            tree.types[owner].members.push_back(m);
    }
}

/// Checks that `ctags` runs and is Universal Ctags with JSON output; returns the problem.
std::string checkCtags(const std::string& ctags) {
    ProcessResult version = runProcess({ctags, "--version"});
    if (!version.started)
        return "ctags not found: '" + ctags +
               "' cannot be run (install Universal Ctags, Debian package universal-ctags)";
    if (version.output.find("Universal Ctags") == std::string::npos ||
        version.output.find("+json") == std::string::npos)
        return "'" + ctags +
               "' is not Universal Ctags with JSON output (install the Debian package "
               "universal-ctags)";
    return std::string();
}

/// Runs ctags over the listed files; tags grouped by file path in source order. Every kind
/// but local variables is asked for: locals are most of the tags and none is needed.
bool runCtags(const std::string& ctags, const std::vector<std::string>& files,
              std::map<std::string, std::vector<json>>& tags, std::string& problem) {
    fs::path list =
        fs::temp_directory_path() / ("graphmat-ctags-list-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(list);
        for (const std::string& f : files)
            out << f << "\n";
        if (!out) {
            problem = "cannot write the file list for ctags in " + list.parent_path().string();
            return false;
        }
    }
    ProcessResult run = runProcess(
        {ctags, "--output-format=json", "--sort=no", "--language-force=Java", "--kinds-Java=*-l",
         "--extras=+r", "--fields=+n+S+t+a+i+E+K+s+r+e", "-L", list.string(), "-f", "-"});
    std::error_code ignored;
    fs::remove(list, ignored);
    if (!run.started || run.exitCode != 0) {
        std::string first = run.errors.substr(0, run.errors.find('\n'));
        problem = "ctags failed (exit code " + std::to_string(run.exitCode) + ")" +
                  (first.empty() ? "" : ": " + first);
        return false;
    }
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        json tag = json::parse(line, nullptr, false);
        if (tag.is_discarded() || text(tag, "_type") != "tag") continue;
        tags[text(tag, "path")].push_back(std::move(tag));
    }
    return true;
}

} // namespace

std::vector<std::string> findJavaFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error),
        end;
    for (; !error && it != end; it.increment(error)) {
        // A module declaration declares no type and has no place in a class diagram.
        if (it->path().extension() == ".java" && it->path().filename() != "module-info.java" &&
            !it->is_directory(error))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ReadResult readJavaTree(const std::string& folder, const std::string& ctags, JavaTree& tree) {
    ReadResult result;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        result.failure = ReadFailure::FolderMissing;
        result.problem = "Source folder not found: " + folder;
        return result;
    }
    std::vector<std::string> files = findJavaFiles(folder);
    tree.javaFiles = static_cast<int>(files.size());
    if (files.empty()) {
        result.failure = ReadFailure::NoJavaFiles;
        result.problem = "No Java files (*.java) under " + folder;
        return result;
    }
    result.problem = checkCtags(ctags);
    if (!result.problem.empty()) {
        result.failure = ReadFailure::ParserMissing;
        return result;
    }
    std::map<std::string, std::vector<std::string>> text;
    std::vector<std::string> readable;
    for (const std::string& f : files) {
        if (readLines(f, text[f]))
            readable.push_back(f);
        else
            tree.skipped.push_back({f, "cannot be read"});
    }
    std::map<std::string, std::vector<json>> tags;
    if (!readable.empty() && !runCtags(ctags, readable, tags, result.problem)) {
        result.failure = ReadFailure::ParserFailed;
        return result;
    }
    for (const std::string& f : readable)
        addFile(f, tags[f], text[f], tree);
    std::sort(tree.skipped.begin(), tree.skipped.end(),
              [](const SkippedFile& a, const SkippedFile& b) { return a.path < b.path; });
    return result;
}
