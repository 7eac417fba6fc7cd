// The run's settings handed to the change report, which classifies and writes the files.
#include "driver/MatchChanges.h"

#include "match/Match.h"
#include "report/ChangeFiles.h"
#include "util/ExitCodes.h"

int writeMatchChanges(const MatchSettings& s, Match& m, std::ostream& out) {
    RunInfo info;
    info.mode = s.graph_type;
    info.seed = s.seed;
    info.dwn = s.dwn;
    info.dwe = s.dwe;
    info.ew = s.ew;
    info.asy = s.asy;
    info.lw = s.lw;
    info.start = s.sim_graphs.empty() ? "tabu" : "assignment";
    info.initMode = s.initMode;
    info.alg = s.alg;
    info.discrim = s.discrim;
    info.simGraphs = s.sim_graphs;
    info.noMatchingCost = m.no_matching_cost;
    info.matchingCost = m.bestCost;
    return writeRunChanges(m, info, out) ? 0 : kExitOutputNotWritten;
}
