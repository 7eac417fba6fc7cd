// One run of the matcher: graphs, cost model, then diff mode or a matching.
#pragma once

#include "driver/MatchCommandLine.h"

#include <iosfwd>
#include <string>

/// Where a run writes its results, and what it reports back besides its console lines.
struct RunTarget {
    /// When not empty, the run moves into this folder once both graphs are read, so that
    /// every result file goes under it; graph paths and "config.txt" are still read from
    /// where the run began.
    std::string folder;
    /// Cost of the matching found, set by a matching run.
    double bestCost = 0;
    /// Set when the process ends with the run: the run's graphs, cost model and matcher are
    /// then left to the end of the process instead of being freed one object at a time, which
    /// takes seconds on diagrams of ten thousand nodes.
    bool endsProcess = false;
};

/// Runs with parsed settings; every console line of the run, the search's progress included,
/// goes to `out`. Returns the process exit code. `target` may be null.
int runMatch(const MatchSettings& settings, std::ostream& out, RunTarget* target = nullptr);

/// 0 when every result file of the run could be written; otherwise says how many could not
/// and returns 3. Every path of a run that writes result files ends through it.
int exitAfterWriting(std::ostream& out);

/// The whole command line: parse, then run. Returns the process exit code.
int graphmatMain(int argc, char** argv);
