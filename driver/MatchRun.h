// One run of the matcher: graphs, cost model, then diff mode or a matching.
#pragma once

#include "driver/MatchCommandLine.h"

#include <iosfwd>

/// Runs with parsed settings; returns the process exit code.
int runMatch(const MatchSettings& settings, std::ostream& out);

/// The whole command line: parse, then run. Returns the process exit code.
int graphmatMain(int argc, char** argv);
