// graphmat-compare: the four stages (extract, read, match, report), each timed and
// reported on one line, then the summary drawn from the run's result files.
#include "extract/CompareRun.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "driver/MatchRun.h"
#include "extract/ExtractRun.h"
#include "extract/Subprocess.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "util/Console.h"
#include "util/LineReader.h"

namespace fs = std::filesystem;

namespace {

struct CompareSwitch {
    const char* name;
    const char* value; ///< null for a flag
    const char* meaning;
    std::string CompareSettings::*text; ///< set by a switch with a value
    bool CompareSettings::*flag;        ///< set by a flag
};

const CompareSwitch kCompareSwitches[] = {
    {"-o", "OUTDIR", "folder of the diagrams, result files and report (default comparison)",
     &CompareSettings::outDir, nullptr},
    {"--git", "REPO", "OLD and NEW are revisions of this git repository", &CompareSettings::gitRepo,
     nullptr},
    {"--html", nullptr, "render the change report as a page with graphmat-report", nullptr,
     &CompareSettings::html},
    {"--ctags", "PROGRAM", "Universal Ctags program (default ctags)", &CompareSettings::ctags,
     nullptr},
};

CompareParse fail(const std::string& message, std::ostream& err) {
    err << "graphmat-compare: " << message << "\n";
    usageCompare(err);
    return CompareParse::Error;
}

/// Seconds of wall-clock time since `start`: extraction runs in another process, so
/// processor time would hide it.
double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void stageLine(std::ostream& out, const char* stage, double seconds, const std::string& what) {
    std::ostringstream time;
    time.setf(std::ios::fixed);
    time.precision(2);
    time << seconds;
    out << "[" << stage << "] " << time.str() << " s  " << what << "\n";
}

/// A file name made of a folder's or a revision's name.
std::string sideName(const std::string& side) {
    std::string name = fs::path(side).lexically_normal().filename().string();
    if (name.empty() || name == ".")
        name = fs::absolute(side).lexically_normal().parent_path().filename().string();
    for (char& c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_'))
            c = '_';
    return name.empty() ? "version" : name;
}

/// Makes the diagram of one side under the output folder (or takes a diagram file as it is)
/// and returns its path; empty after writing the problem to `err`.
std::string prepareSide(const CompareSettings& s, const std::string& side,
                        const std::string& fileName, std::string& note, int& exitCode,
                        std::ostream& out, std::ostream& err) {
    std::string folder = side;
    TemporaryFolder scratch;
    std::error_code error;
    if (!s.gitRepo.empty()) {
        std::string problem = scratch.path().empty()
                                  ? "cannot make a temporary folder"
                                  : exportRevision(s.gitRepo, side, scratch.path());
        if (!problem.empty()) {
            err << "graphmat-compare: " << problem << "\n";
            exitCode = kExitInputUnreadable;
            return std::string();
        }
        folder = scratch.path();
    } else if (fs::is_regular_file(side, error)) {
        note = side + " (diagram)";
        return side;
    } else if (!fs::is_directory(side, error)) {
        err << "graphmat-compare: not found: " << side
            << " (give a source folder or a diagram file)\n";
        exitCode = kExitInputUnreadable;
        return std::string();
    }
    const std::string diagram = (fs::path(s.outDir) / (fileName + ".txt")).string();
    ExtractionSummary e = extractTree(folder, s.ctags, diagram, std::string(), out);
    if (e.exitCode != kExitDone) {
        err << "graphmat-compare: " << e.problem << "\n";
        exitCode = e.exitCode;
        return std::string();
    }
    note = side + " " + std::to_string(e.classes) + " classes, " +
           std::to_string(e.methods + e.attributes) + " members (" +
           std::to_string(e.skippedFiles) + " of " + std::to_string(e.javaFiles) +
           " files skipped)";
    return diagram;
}

/// Reads a diagram as the matcher will, with the reader's progress text kept off the
/// console; the graph's figures for the read line.
struct ReadFigures {
    int nodes = 0;
    int arcs = 0;
    int classes = 0;
};

ReadFigures readDiagram(const std::string& path) {
    ConsoleCapture quiet;
    auto g = std::make_unique<Graph>(kClassDiagramMode, path);
    return {g->vertices, g->edges, g->nbClasses};
}

/// The matcher's run inside the output folder, its console text sent to match.log.
bool runMatcher(const std::string& oldDiagram, const std::string& newDiagram,
                const std::string& outDir, double& cost) {
    MatchSettings m;
    m.graph1 = fs::absolute(oldDiagram).string();
    m.graph2 = fs::absolute(newDiagram).string();
    m.dwn = RecommendedWeights::dwn;
    m.dwe = RecommendedWeights::dwe;
    m.ew = RecommendedWeights::ew;
    m.asy = RecommendedWeights::asy;
    m.lw = RecommendedWeights::lw;
    m.seed = RecommendedWeights::seed;
    const fs::path previous = fs::current_path();
    std::error_code error;
    fs::current_path(outDir, error);
    if (error) return false;
    std::ofstream log("match.log", std::ios::trunc);
    int rc = runMatch(m, log);
    log.close();
    fs::current_path(previous, error);
    const fs::path logPath = fs::path(outDir) / "match.log";
    std::ifstream in(logPath);
    LineReader lines(in, logPath.string());
    while (lines.next())
        if (lines.startsWith("Matching Cost : ")) cost = std::atof(lines.line().c_str() + 16);
    return rc == 0;
}

/// Run tag of the pair file the matcher wrote for graphs `name1` and `name2`.
std::string findRunTag(const std::string& results, const std::string& name1,
                       const std::string& name2) {
    const std::string prefix = "raw_" + name1 + "__" + name2 + "__";
    std::error_code error;
    std::string found;
    for (fs::directory_iterator it(results, error), end; !error && it != end; it.increment(error)) {
        std::string file = it->path().filename().string();
        if (file.rfind(prefix, 0) != 0 || file.size() < 4 ||
            file.compare(file.size() - 4, 4, ".csv") != 0)
            continue;
        if (file.find(".csv_") != std::string::npos) continue;
        std::string tag = file.substr(4, file.size() - 8);
        if (found.empty() || tag < found) found = tag;
    }
    return found;
}

/// The quoted fields of one line of a raw pair file.
std::vector<std::string> quotedFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else if (c != '\r')
            field += c;
    }
    fields.push_back(field);
    return fields;
}

/// Renders the change report as a page with the sibling graphmat-report; the line to print.
std::string renderPage(const std::string& json, const std::string& page, bool& written) {
    written = false;
    const fs::path report = fs::path(executableFolder()) / "graphmat-report";
    std::error_code error;
    if (json.empty())
        return "no page: this build's matcher writes no change report (.changes.json)";
    if (!fs::exists(report, error))
        return "no page: graphmat-report is not installed next to graphmat-compare";
    ProcessResult run = runProcess({report.string(), json, "-o", page});
    if (!run.started || run.exitCode != 0)
        return "no page: graphmat-report failed: " + run.errors.substr(0, run.errors.find('\n'));
    written = true;
    return "page " + page;
}

/// The class names of a mode-12 diagram, nested names dotted as the readers show them.
std::set<std::string> classNames(const std::string& diagram) {
    std::set<std::string> names;
    std::ifstream in(diagram);
    LineReader lines(in, diagram);
    while (lines.next()) {
        if (!lines.startsWith("c,")) continue;
        std::vector<std::string> f = quotedFields(lines.line());
        if (f.size() < 3) continue;
        std::replace(f[2].begin(), f[2].end(), '$', '.');
        names.insert(f[2]);
    }
    return names;
}

} // namespace

void readUnmatchedClasses(const std::string& costReport, const std::string& oldDiagram,
                          const std::string& newDiagram, std::vector<std::string>& removed,
                          std::vector<std::string>& added) {
    const std::set<std::string> oldNames = classNames(oldDiagram),
                                newNames = classNames(newDiagram);
    std::ifstream in(costReport);
    LineReader lines(in, costReport);
    while (lines.next()) {
        std::vector<std::string> f = quotedFields(lines.line());
        // Deleted rows name the node of graph 1 in field 2; inserted rows give the number of
        // the node of graph 2, then its name.
        if (f.size() > 2 && f[0] == "nd" && oldNames.count(f[1]) > 0) removed.push_back(f[1]);
        if (f.size() > 3 && f[0] == "ni" && newNames.count(f[2]) > 0) added.push_back(f[2]);
    }
}

void usageCompare(std::ostream& err) {
    err << "Usage: graphmat-compare OLD NEW [-o OUTDIR] [--html] [--ctags PROGRAM]\n"
           "       graphmat-compare --git REPO OLD_REV NEW_REV [-o OUTDIR] [--html] [--ctags "
           "PROGRAM]\n"
           "OLD and NEW are Java source folders or class-diagram files (reader mode 12).\n";
    for (const CompareSwitch& s : kCompareSwitches) {
        std::string head =
            std::string(s.name) + (s.value != nullptr ? std::string(" ") + s.value : "");
        err << "  " << head << std::string(head.size() < 18 ? 18 - head.size() : 1, ' ')
            << s.meaning << "\n";
    }
}

CompareParse parseCompareArguments(const std::vector<std::string>& args, CompareSettings& s,
                                   std::ostream& err) {
    std::vector<std::string> sides;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            usageCompare(err);
            return CompareParse::Help;
        }
        const CompareSwitch* known = nullptr;
        for (const CompareSwitch& sw : kCompareSwitches)
            if (a == sw.name) known = &sw;
        if (known != nullptr && known->flag != nullptr) {
            s.*(known->flag) = true;
        } else if (known != nullptr) {
            if (i + 1 >= args.size()) return fail(a + " needs a value", err);
            s.*(known->text) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return fail("unknown switch " + a, err);
        } else {
            sides.push_back(a);
        }
    }
    if (sides.size() != 2) return fail("two versions are needed, OLD and NEW", err);
    s.oldSide = sides[0];
    s.newSide = sides[1];
    return CompareParse::Ok;
}

std::vector<std::pair<std::string, std::string>>
readRenamedClasses(const std::string& rawPairFile) {
    std::vector<std::pair<std::string, std::string>> renamed;
    std::ifstream in(rawPairFile);
    LineReader lines(in, rawPairFile);
    lines.next(); // header
    while (lines.next()) {
        std::vector<std::string> f = quotedFields(lines.line());
        if (f.size() >= 3 && f[2] == "Class") renamed.push_back({f[0], f[1]});
    }
    return renamed;
}

namespace {

using Clock = std::chrono::steady_clock;

/// Stage 1: both versions as diagram files under the output folder (diagram files given
/// on the command line are taken as they are).
int extractStage(const CompareSettings& s, std::string& oldDiagram, std::string& newDiagram,
                 std::ostream& out, std::ostream& err) {
    const auto start = Clock::now();
    std::string oldName = sideName(s.oldSide), newName = sideName(s.newSide);
    if (oldName == newName) {
        oldName = "old-" + oldName;
        newName = "new-" + newName;
    }
    int exitCode = kExitDone;
    std::string oldNote, newNote;
    oldDiagram = prepareSide(s, s.oldSide, oldName, oldNote, exitCode, out, err);
    if (oldDiagram.empty()) return exitCode;
    newDiagram = prepareSide(s, s.newSide, newName, newNote, exitCode, out, err);
    if (newDiagram.empty()) return exitCode;
    stageLine(out, "extract", secondsSince(start), "old " + oldNote + "; new " + newNote);
    return kExitDone;
}

/// Stage 2: both diagrams read as the matcher will read them; an empty one stops the run.
int readStage(const std::string& oldDiagram, const std::string& newDiagram, CompareSummary& summary,
              std::ostream& out, std::ostream& err) {
    const auto start = Clock::now();
    ReadFigures oldGraph = readDiagram(oldDiagram), newGraph = readDiagram(newDiagram);
    stageLine(out, "read", secondsSince(start),
              "old " + std::to_string(oldGraph.nodes) + " nodes, " + std::to_string(oldGraph.arcs) +
                  " arcs; new " + std::to_string(newGraph.nodes) + " nodes, " +
                  std::to_string(newGraph.arcs) + " arcs");
    for (const auto& side :
         {std::make_pair(&oldGraph, &oldDiagram), std::make_pair(&newGraph, &newDiagram)}) {
        if (side.first->nodes == 0) {
            err << "graphmat-compare: " << *side.second << " holds no class diagram\n";
            return kExitInputUnreadable;
        }
    }
    summary.oldClasses = oldGraph.classes;
    summary.newClasses = newGraph.classes;
    return kExitDone;
}

/// Stage 3: the matching run with the recommended weights, in the output folder.
int matchStage(const CompareSettings& s, const std::string& oldDiagram,
               const std::string& newDiagram, CompareSummary& summary, std::ostream& out,
               std::ostream& err) {
    const auto start = Clock::now();
    const std::string log = (fs::path(s.outDir) / "match.log").string();
    if (!runMatcher(oldDiagram, newDiagram, s.outDir, summary.matchingCost)) {
        err << "graphmat-compare: the matching run failed; see " << log << "\n";
        return kExitOutputNotWritten;
    }
    std::ostringstream cost;
    cost << summary.matchingCost;
    stageLine(out, "match", secondsSince(start), "cost " + cost.str() + ", log " + log);
    return kExitDone;
}

/// Stage 4: the renamed classes from the run's pair file, its change report, the page.
int reportStage(const CompareSettings& s, const std::string& oldDiagram,
                const std::string& newDiagram, CompareSummary& summary, std::ostream& out,
                std::ostream& err) {
    const auto start = Clock::now();
    const fs::path results = fs::path(s.outDir) / "results";
    summary.runTag = findRunTag(results.string(), fs::path(oldDiagram).stem().string(),
                                fs::path(newDiagram).stem().string());
    if (summary.runTag.empty()) {
        err << "graphmat-compare: the matching run left no pair file in " << results.string()
            << "\n";
        return kExitOutputNotWritten;
    }
    summary.renamedClasses =
        readRenamedClasses((results / ("raw_" + summary.runTag + ".csv")).string());
    readUnmatchedClasses((results / (summary.runTag + ".csv")).string(), oldDiagram, newDiagram,
                         summary.removedClasses, summary.addedClasses);
    std::error_code error;
    const fs::path json = results / (summary.runTag + ".changes.json");
    if (fs::exists(json, error)) summary.changesJson = json.string();
    std::string note = summary.changesJson.empty()
                           ? "no change report (.changes.json) in this build"
                           : "change report " + summary.changesJson;
    if (s.html) {
        bool written = false;
        const std::string page = (results / (summary.runTag + ".changes.html")).string();
        note += "; " + renderPage(summary.changesJson, page, written);
        if (written) summary.page = page;
    }
    stageLine(out, "report", secondsSince(start), note);
    return kExitDone;
}

/// Lines of one list of the summary, at most kListedClasses of them: the result files hold
/// the rest.
constexpr size_t kListedClasses = 20;

void printClassList(const std::vector<std::string>& names, std::ostream& out) {
    for (size_t i = 0; i < names.size() && i < kListedClasses; i++)
        out << "  " << names[i] << "\n";
    if (names.size() > kListedClasses)
        out << "  ... and " << names.size() - kListedClasses << " more\n";
}

void printSummary(const CompareSettings& s, const CompareSummary& summary, std::ostream& out) {
    out << summary.oldClasses << " classes in the old version, " << summary.newClasses
        << " in the new one; " << summary.renamedClasses.size() << " matched under another name:\n";
    std::vector<std::string> renamed;
    for (const auto& r : summary.renamedClasses)
        renamed.push_back(r.first + " -> " + r.second);
    printClassList(renamed, out);
    out << summary.removedClasses.size() << " removed:\n";
    printClassList(summary.removedClasses, out);
    out << summary.addedClasses.size() << " added:\n";
    printClassList(summary.addedClasses, out);
    out << "Result files: " << (fs::path(s.outDir) / "results").string() << " (run tag "
        << summary.runTag << ")\n";
}

} // namespace

int runCompare(const CompareSettings& s, CompareSummary& summary, std::ostream& out,
               std::ostream& err) {
    std::error_code error;
    fs::create_directories(s.outDir, error);
    if (!fs::is_directory(s.outDir, error)) {
        err << "graphmat-compare: cannot create the output folder " << s.outDir << "\n";
        return kExitOutputNotWritten;
    }
    std::string oldDiagram, newDiagram;
    int rc = extractStage(s, oldDiagram, newDiagram, out, err);
    if (rc == kExitDone) rc = readStage(oldDiagram, newDiagram, summary, out, err);
    if (rc == kExitDone) rc = matchStage(s, oldDiagram, newDiagram, summary, out, err);
    if (rc == kExitDone) rc = reportStage(s, oldDiagram, newDiagram, summary, out, err);
    if (rc == kExitDone) printSummary(s, summary, out);
    return rc;
}

int compareMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CompareSettings s;
    CompareParse parsed = parseCompareArguments(args, s, err);
    if (parsed == CompareParse::Help) return kExitDone;
    if (parsed == CompareParse::Error) return kExitUsage;
    CompareSummary summary;
    return runCompare(s, summary, out, err);
}
