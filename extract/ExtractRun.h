// One extraction: a Java source tree (or a git revision of one) read, its class diagram
// built and written in the mode-12 format and, when asked, the mode-4 format.
#pragma once

#include "util/ExitCodes.h"

#include <iosfwd>
#include <string>

/// What an extraction did; the figures are those of the written diagram.
struct ExtractionSummary {
    int exitCode = kExitDone;
    /// One line saying why nothing was written (empty on success).
    std::string problem;
    int javaFiles = 0;
    int skippedFiles = 0;
    int packages = 0;
    int classes = 0;
    int methods = 0;
    int attributes = 0;
    /// Class relations written (extends, implements, nesting).
    int relations = 0;
};

/// Extracts the tree under `folder` with the ctags program `ctags` and writes the diagram
/// to `diagramPath` and, when `classesPath` is not empty, the classes with their members.
/// Each skipped file gets one line on `out`; missing output folders are created.
ExtractionSummary extractTree(const std::string& folder, const std::string& ctags,
                              const std::string& diagramPath, const std::string& classesPath,
                              std::ostream& out);

/// Writes revision `rev` of the git repository `repo` into the existing folder `folder`
/// (git archive, then tar), leaving the repository's working tree alone. Returns the
/// problem in one line, or an empty text.
std::string exportRevision(const std::string& repo, const std::string& rev,
                           const std::string& folder);

/// A fresh folder under the system's temporary folder, removed with everything in it when
/// it goes out of scope.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    /// Empty when the folder could not be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

/// The one summary line of an extraction.
void printExtractionSummary(const ExtractionSummary& s, const std::string& diagramPath,
                            std::ostream& out);
