// The matcher's run: cost model, both graphs, then diff mode or a matching.
#include "driver/MatchRun.h"

#include "cost/Cost.h"
#include "driver/DiffMode.h"
#include "driver/EffortRun.h"
#include "driver/MatchChanges.h"
#include "graph/Graph.h"
#include "match/Match.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/OutputRecord.h"
#include "util/Random.h"
#include "util/Version.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

namespace {

/// Reads one graph and reports its size; graph 1 is reported before graph 2 is opened.
std::unique_ptr<Graph> readGraph(int mode, const std::string& path, const char* banner,
                                 std::ostream& out) {
    auto g = std::make_unique<Graph>(mode, path);
    out << banner << g->vertices << "\t" << g->edges << "\n";
    return g;
}

/// A graph without a node cannot be matched: a missing, empty or unreadable file, or one
/// whose every line was refused. The run stops before anything is written.
bool reportEmptyGraph(const Graph& g, const std::string& path, std::ostream& out) {
    if (g.vertices > 0) return false;
    out << "\n Error: no node read from " << path << "; the run stops, nothing is written\n";
    return true;
}

/// Keeps `object` alive to the end of the process without ever destroying it: the holder is
/// reached through a static pointer, so the object stays reachable and nothing frees it.
template <typename T> void keepToProcessEnd(std::unique_ptr<T>& object) {
    static auto* const kept = new std::vector<const void*>();
    kept->push_back(object.release());
}

} // namespace

int runMatch(const MatchSettings& s, std::ostream& out, RunTarget* target) {
    // Everything the run prints, the search's progress included, goes to `out`.
    ConsoleRedirect toOut(out);
    seedRandom(static_cast<unsigned>(s.seed));
    // The run's objects live until it ends; the matcher is declared last so that it goes
    // before the graphs and the cost model it points into.
    auto cst = std::make_unique<Cost>();
    cst->initMode1(s.dwn, s.dwe, s.ew, s.asy, s.lw);

    std::unique_ptr<Graph> g1 = readGraph(s.graph_type, s.graph1, "\n G1: ", out);
    if (reportEmptyGraph(*g1, s.graph1, out)) return kExitInputUnreadable;
    std::unique_ptr<Graph> g2 = readGraph(s.graph_type, s.graph2, "\n G2: ", out);
    if (reportEmptyGraph(*g2, s.graph2, out)) return kExitInputUnreadable;

    if (target != nullptr && !target->folder.empty()) {
        std::error_code failed;
        std::filesystem::current_path(target->folder, failed);
        if (failed) {
            out << "\n Cannot write results in " << target->folder << ": " << failed.message()
                << "\n";
            return kExitOutputNotWritten;
        }
    }

    if (s.umldiff == 1) return runDiffMode(g1->name, g2->name, *cst, s.seed, out);

    auto m = std::make_unique<Match>(g1.get(), g2.get(), cst.get(), s.seed, kClassDiagramCosts);
    const int noMatchCost = static_cast<int>(m->no_matching_cost);
    out << "\n\n\nNo Matching Cost : " << noMatchCost << "\n";

    const double start = cpuSeconds();
    if (s.sim_graphs.empty()) {
        out << "\n" << s.initMode;
        m->Tabu(s.initMode, s.alg, s.discrim);
    } else {
        m->hungarian(s.sim_graphs, s.direct);
    }
    const double end = cpuSeconds();
    if (target != nullptr) target->bestCost = m->bestCost;

    out << "\n\n\nMatching Cost : " << m->bestCost << "\n";
    out << "\nTime : " << (end - start);
    out << "\n\nIterations : " << m->iterations;
    out << std::endl;
    // The change report comes last, so a run that lost one of its files says so at the end.
    const int changes = writeMatchChanges(s, *m, out);
    const int written = exitAfterWriting(out);
    if (target != nullptr && target->endsProcess) {
        keepToProcessEnd(m);
        keepToProcessEnd(g2);
        keepToProcessEnd(g1);
        keepToProcessEnd(cst);
    }
    return written != 0 ? written : changes;
}

int exitAfterWriting(std::ostream& out) {
    const int lost = unwrittenFiles();
    if (lost == 0) return 0;
    out << "\n Error: " << lost << " result file(s) could not be written (see the lines above)"
        << std::endl;
    return kExitOutputNotWritten;
}

int graphmatMain(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (isVersionRequest(args)) {
        console() << versionLine("graphmat") << "\n";
        return 0;
    }
    ParseResult parsed = parseMatchArguments(args, console(), std::cerr);
    if (parsed.status != ParseStatus::Ok) return 1;
    if (parsed.settings.effort != 1) return runWithEffort(parsed.settings, console(), std::cerr);
    RunTarget target;
    target.endsProcess = true;
    return runMatch(parsed.settings, console(), &target);
}
