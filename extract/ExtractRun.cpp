// extractTree: read, build, write, with one console line per skipped file; exportRevision
// and the scratch folder it extracts into.
#include "extract/ExtractRun.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "extract/ClassDiagram.h"
#include "extract/JavaReader.h"
#include "extract/Subprocess.h"

namespace fs = std::filesystem;

namespace {

/// Writes `text` to `path`, creating its folder; false when the file could not be written.
bool writeFile(const std::string& path, const std::string& text) {
    std::error_code ignored;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

ExtractionSummary extractTree(const std::string& folder, const std::string& ctags,
                              const std::string& diagramPath, const std::string& classesPath,
                              std::ostream& out) {
    ExtractionSummary s;
    JavaTree tree;
    ReadResult read = readJavaTree(folder, ctags, tree);
    s.javaFiles = tree.javaFiles;
    s.skippedFiles = static_cast<int>(tree.skipped.size());
    for (const SkippedFile& skipped : tree.skipped)
        out << "Skipped " << skipped.path << ": " << skipped.reason << "\n";
    if (read.failure != ReadFailure::None) {
        s.exitCode = kExitInputUnreadable;
        s.problem = read.problem;
        return s;
    }
    if (tree.types.empty()) {
        s.exitCode = kExitInputUnreadable;
        s.problem = "No class could be extracted from " + folder + " (" +
                    std::to_string(s.skippedFiles) + " of " + std::to_string(s.javaFiles) +
                    " Java files skipped)";
        return s;
    }
    ClassDiagram diagram = buildClassDiagram(tree);
    for (const std::string& d : diagram.duplicates)
        out << "Left out the second declaration of " << d << "\n";
    std::ostringstream members, classes;
    writeMemberDiagram(diagram, members);
    if (!writeFile(diagramPath, members.str())) {
        s.exitCode = kExitOutputNotWritten;
        s.problem = "Cannot write the diagram " + diagramPath;
        return s;
    }
    if (!classesPath.empty()) {
        writeClassesWithMembers(diagram, classes);
        if (!writeFile(classesPath, classes.str())) {
            s.exitCode = kExitOutputNotWritten;
            s.problem = "Cannot write the classes file " + classesPath;
            return s;
        }
    }
    s.packages = static_cast<int>(diagram.packages.size());
    s.classes = static_cast<int>(diagram.classes.size());
    s.methods = diagram.methodCount();
    s.attributes = diagram.attributeCount();
    s.relations = diagram.relationCount();
    return s;
}

void printExtractionSummary(const ExtractionSummary& s, const std::string& diagramPath,
                            std::ostream& out) {
    out << diagramPath << ": " << s.packages << " packages, " << s.classes << " classes, "
        << s.methods << " methods, " << s.attributes << " attributes, " << s.relations
        << " class relations from " << s.javaFiles << " Java files (" << s.skippedFiles
        << " skipped)\n";
}

std::string exportRevision(const std::string& repo, const std::string& rev,
                           const std::string& folder) {
    std::error_code error;
    if (!fs::is_directory(repo, error)) return "Git repository not found: " + repo;
    const std::string archive = (fs::path(folder) / "revision.tar").string();
    ProcessResult git = runProcess({"git", "-C", repo, "archive", "--format=tar", rev}, archive);
    if (!git.started) return "git not found: cannot extract revision " + rev + " of " + repo;
    if (git.exitCode != 0)
        return "git archive " + rev + " failed in " + repo + ": " + firstLine(git.errors);
    ProcessResult tar = runProcess({"tar", "-xf", archive, "-C", folder});
    fs::remove(archive, error);
    if (!tar.started || tar.exitCode != 0)
        return "tar could not unpack revision " + rev + ": " + firstLine(tar.errors);
    return std::string();
}

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "graphmat-tree-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
}
