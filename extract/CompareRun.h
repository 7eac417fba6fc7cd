// graphmat-compare: two versions of a Java system (source folders, git revisions or
// diagram files) extracted, matched with the recommended weights, and summarised.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

struct CompareSettings {
    std::string oldSide; ///< old version: source folder, diagram file, or revision with --git
    std::string newSide; ///< new version, likewise
    std::string gitRepo; ///< --git: both sides are revisions of this repository
    std::string outDir = "comparison"; ///< -o: folder of the diagrams and result files
    bool html = false;                 ///< --html: render the change report as a page
    std::string ctags = "ctags";       ///< --ctags: the Universal Ctags program
};

/// Weights of the matching run (see README, "Comparing two versions"): every kind of edit
/// costs the same, so a renamed or moved class that keeps its members and relations is
/// cheaper to substitute than to delete and insert; names count half.
struct RecommendedWeights {
    static constexpr double dwn = 1;
    static constexpr double dwe = 1;
    static constexpr double ew = 1;
    static constexpr double asy = 1;
    static constexpr double lw = 0.5;
    static constexpr int seed = 1;
};

/// What a comparison found, read back from the result files of the matching run.
struct CompareSummary {
    std::string runTag;
    /// Classes matched under another full name (renamed or moved), old and new names.
    std::vector<std::pair<std::string, std::string>> renamedClasses;
    /// Classes of the old version left unmatched (deleted) and of the new one (inserted).
    std::vector<std::string> removedClasses;
    std::vector<std::string> addedClasses;
    int oldClasses = 0;
    int newClasses = 0;
    double matchingCost = 0;
    /// Path of the change report written by the run, empty when there is none.
    std::string changesJson;
    /// Path of the page, empty when none was made.
    std::string page;
};

enum class CompareParse { Ok, Help, Error };

CompareParse parseCompareArguments(const std::vector<std::string>& args, CompareSettings& s,
                                   std::ostream& err);

void usageCompare(std::ostream& err);

/// Runs a comparison, printing one line per stage; fills `summary`. Returns the exit code:
/// 0 done, 2 an input was not found or could not be extracted or read, 3 a result could
/// not be written.
int runCompare(const CompareSettings& s, CompareSummary& summary, std::ostream& out,
               std::ostream& err);

/// Renamed and moved classes listed in a raw pair file ("class1","class2","category").
std::vector<std::pair<std::string, std::string>> readRenamedClasses(const std::string& rawPairFile);

/// Classes deleted ("nd" rows) and inserted ("ni" rows) in a run's cost report, told from
/// members by the class names of the two diagrams (nested names dotted).
void readUnmatchedClasses(const std::string& costReport, const std::string& oldDiagram,
                          const std::string& newDiagram, std::vector<std::string>& removed,
                          std::vector<std::string>& added);

/// The whole command line: parse, run. Returns the exit code.
int compareMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
