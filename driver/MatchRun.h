// One run of the matcher: graphs, cost model, then diff mode or a matching.
#pragma once

#include "driver/MatchCommandLine.h"

#include <iosfwd>

/// Runs with parsed settings; returns the process exit code.
int runMatch(const MatchSettings& settings, std::ostream& out);

/// 0 when every result file of the run could be written; otherwise says how many could not
/// and returns 3. Every path of a run that writes result files ends through it.
int exitAfterWriting(std::ostream& out);

/// The whole command line: parse, then run. Returns the process exit code.
int graphmatMain(int argc, char** argv);
