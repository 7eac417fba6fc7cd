// The commands of the evaluation program: scoring a cost report, resolving a signature, and
// comparing a restored matching with a reference difference file.
#include "driver/EvalCommandLine.h"

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "match/EvalFigures.h"
#include "match/Match.h"
#include "match/ResultText.h"
#include "util/Console.h"
#include "util/Folders.h"
#include "util/LineReader.h"
#include "util/OutputRecord.h"
#include "util/Utilities.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

namespace {

/// A cost report name: two graph names, five weights and the seed.
constexpr size_t kReportNameFields = 8;
constexpr const char* kReportNameForm = "<g1>__<g2>__<dwn>__<dwe>__<ew>__<asy>__<lw>__<seed>.csv";

bool readable(const std::string& path) {
    // A folder opens as a stream on some systems; only a regular file is readable input.
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && std::ifstream(path).is_open();
}

/// Names every unreadable file on `err`; true when all can be read.
bool allReadable(const std::vector<std::string>& paths, const std::string& what,
                 std::ostream& err) {
    bool ok = true;
    for (const std::string& p : paths)
        if (!readable(p)) {
            err << "graphmat-eval: cannot read " << p << " (expected " << what << ")\n";
            ok = false;
        }
    return ok;
}

/// The fields of a cost report name (without folder and ".csv"); empty when malformed.
std::vector<std::string> reportNameFields(const std::string& path) {
    std::string name =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const std::string extension = ".csv";
    if (name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return {};
    name.resize(name.size() - extension.size());
    std::unique_ptr<std::vector<std::string>> fields(splitString(name, "__"));
    if (fields == nullptr || fields->size() != kReportNameFields) return {};
    return *fields;
}

int score(const EvalSettings& s, std::ostream& err) {
    const std::vector<std::string> fields = reportNameFields(s.result);
    if (fields.empty()) {
        err << "graphmat-eval: " << s.result << ": expected a cost report named " << kReportNameForm
            << "\n";
        return kExitUsage;
    }
    bool ok = allReadable({evalResultPath(s.result)}, "a cost report of a matching run", err);
    ok = allReadable({evalGoldPath(fields[0], fields[1])},
                     "gold pairs \"number_name,number_name,y|n\"", err) &&
         ok;
    ok = allReadable({evalGraphPath(s.dataset, fields[0]), evalGraphPath(s.dataset, fields[1])},
                     "a class list of the version, mode 4", err) &&
         ok;
    if (!ok) return kExitInputUnreadable;
    Match m;
    const EvalFigures figures = m.evalFigures(s.result, s.dataset);
    if (!figures.complete()) return kExitInputUnreadable;
    if (!appendEvalRow(figures)) {
        err << "graphmat-eval: cannot append to " << kEvalResultsFile << "\n";
        return kExitOutputNotWritten;
    }
    console() << std::endl;
    return kExitDone;
}

int resolve(const EvalSettings& s, std::ostream& err) {
    if (!allReadable({s.graph1}, "a graph file", err)) return kExitInputUnreadable;
    Graph g(s.mode, s.graph1);
    Match m;
    Vertex* v = m.getVertexFromSignature(s.signature, &g);
    // Parameter types may be given by their simple names.
    if (v == nullptr) v = m.getVertexFromSignature2(s.signature, &g);
    if (v == nullptr) {
        err << "graphmat-eval: " << s.signature << " names no node of " << s.graph1 << "\n";
        return kExitUsage;
    }
    console() << "\nnode " << v->number << "," << displayName(v) << std::endl;
    return kExitDone;
}

/// Restores the plain pairs of the "ns" rows of a cost report into an empty matching;
/// returns their number. Rows of merged blocks and malformed rows are reported and skipped.
int restoreMatching(Match& m, const std::string& path) {
    std::ifstream in(path);
    LineReader lines(in, path);
    const int n1 = m.order(true);
    const int n2 = m.order(false);
    int restored = 0;
    while (lines.next()) {
        if (lines.field(0) != "ns" || !lines.require(3, "\"ns,node 1,node 2,...\"")) continue;
        int x = 0, y = 0;
        if (!lines.intField(1, x, "node number of graph 1") ||
            !lines.intField(2, y, "node number of graph 2"))
            continue;
        if (x < 0 || x >= n1 || y < 0 || y >= n2) {
            lines.report(
                "node numbers outside the graphs (pairs of merged blocks are not restored)");
            continue;
        }
        if (m.M12[x] != Match::kNoPartner || m.M21[y] != Match::kNoPartner) {
            lines.report("a node matched twice");
            continue;
        }
        m.M12[x] = y;
        m.M21[y] = x;
        ++restored;
    }
    return restored;
}

int compare(const EvalSettings& s, std::ostream& err) {
    const std::vector<std::string> fields = reportNameFields(s.result);
    if (fields.empty()) {
        err << "graphmat-eval: " << s.result << ": expected a cost report named " << kReportNameForm
            << "\n";
        return kExitUsage;
    }
    if (!allReadable({s.graph1, s.graph2}, "a graph file", err) ||
        !allReadable({s.result}, "a cost report of a matching run", err))
        return kExitInputUnreadable;
    auto g1 = std::make_unique<Graph>(s.mode, s.graph1);
    auto g2 = std::make_unique<Graph>(s.mode, s.graph2);
    if (g1->name != fields[0] || g2->name != fields[1]) {
        err << "graphmat-eval: " << s.result << " matches " << fields[0] << " to " << fields[1]
            << ", not " << g1->name << " to " << g2->name << "\n";
        return kExitUsage;
    }
    const std::string reference =
        std::string(kResultsFolder) + "uml/uml_" + g1->name + "_" + g2->name + ".csv";
    if (!allReadable({reference}, "reference pairs \"name1__name2\"", err))
        return kExitInputUnreadable;

    auto cost = std::make_unique<Cost>();
    cost->initMode1(std::atof(fields[2].c_str()), std::atof(fields[3].c_str()),
                    std::atof(fields[4].c_str()), std::atof(fields[5].c_str()),
                    std::atof(fields[6].c_str()));
    auto m = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), std::atoi(fields[7].c_str()),
                                     kClassDiagramCosts);
    // The pairs seeded at construction are not part of the report's matching.
    std::fill(m->M12, m->M12 + m->order(true), Match::kNoPartner);
    std::fill(m->M21, m->M21 + m->order(false), Match::kNoPartner);
    const int restored = restoreMatching(*m, s.result);
    console() << "\n Pairs restored: " << restored << "\n";
    const std::string comparison =
        std::string(kResultsFolder) + "raw_" + runTag(*m) + ".csv_umldiff.csv";
    std::remove(comparison.c_str());
    const int lostBefore = unwrittenFiles();
    m->rawPrint2();
    if (unwrittenFiles() > lostBefore || !readable(comparison)) {
        err << "graphmat-eval: " << comparison << " was not written\n";
        return kExitOutputNotWritten;
    }
    console() << "\n Comparison written to " << comparison << std::endl;
    return kExitDone;
}

} // namespace

int runEval(const EvalSettings& s, std::ostream& err) {
    if (s.command == "score") return score(s, err);
    if (s.command == "resolve") return resolve(s, err);
    if (s.command == "compare") return compare(s, err);
    evalUsage(err);
    return kExitUsage;
}
