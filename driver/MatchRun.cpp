// The matcher's run: cost model, both graphs, then diff mode or a matching.
#include "driver/MatchRun.h"

#include "cost/Cost.h"
#include "driver/EffortRun.h"
#include "graph/Graph.h"
#include "match/Match.h"
#include "util/Clock.h"
#include "util/Random.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

/// Reads one graph and reports its size; graph 1 is reported before graph 2 is opened.
std::unique_ptr<Graph> readGraph(int mode, const std::string& path, const char* banner,
                                 std::ostream& out) {
    auto g = std::make_unique<Graph>(mode, path);
    out << banner << g->vertices << "\t" << g->edges << "\n";
    return g;
}

/// Stops a run whose stage is not available in this build, saying so plainly.
int notBuilt(const char* what, std::ostream& out) {
    out << "\n " << what << " is not built yet: the run stops here without a matching.\n";
    return 1;
}

} // namespace

int runMatch(const MatchSettings& s, std::ostream& out, RunTarget* target) {
    seedRandom(static_cast<unsigned>(s.seed));
    // The run's objects live until it ends; the matcher is declared last so that it goes
    // before the graphs and the cost model it points into.
    auto cst = std::make_unique<Cost>();
    cst->initMode1(s.dwn, s.dwe, s.ew, s.asy, s.lw);

    std::unique_ptr<Graph> g1 = readGraph(s.graph_type, s.graph1, "\n G1: ", out);
    std::unique_ptr<Graph> g2 = readGraph(s.graph_type, s.graph2, "\n G2: ", out);
    if (target != nullptr && !target->folder.empty()) {
        std::error_code failed;
        std::filesystem::current_path(target->folder, failed);
        if (failed) {
            out << "\n Cannot write results in " << target->folder << ": " << failed.message() << "\n";
            return 3;
        }
    }

    if (s.umldiff == 1) return notBuilt("Diff mode", out);

    auto m = std::make_unique<Match>(g1.get(), g2.get(), cst.get(), s.seed, 3);
    const int noMatchCost = static_cast<int>(m->no_matching_cost);
    out << "\n\n\nNo Matching Cost : " << noMatchCost << "\n";

    if (!s.sim_graphs.empty()) return notBuilt("The assignment-based matching (-m)", out);

    const double start = cpuSeconds();
    out << "\n" << s.initMode;
    out.flush(); // the search writes its progress straight to standard output
    m->Tabu(s.initMode, s.alg, s.discrim);
    const double end = cpuSeconds();
    if (target != nullptr) target->bestCost = m->bestCost;

    out << "\n\n\nMatching Cost : " << m->bestCost << "\n";
    out << "\nTime : " << (end - start);
    out << "\n\nIterations : " << m->iterations;
    out << std::endl;
    return 0;
}

int graphmatMain(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParseResult parsed = parseMatchArguments(args, std::cout, std::cerr);
    if (parsed.status != ParseStatus::Ok) return 1;
    if (parsed.settings.effort != 1) return runWithEffort(parsed.settings, std::cout, std::cerr);
    return runMatch(parsed.settings, std::cout);
}
