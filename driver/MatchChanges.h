// The change files written at the end of a matching run on class diagrams.
#pragma once

#include "driver/MatchCommandLine.h"

#include <iosfwd>

class Match;

/// Writes "./results/<run tag>.changes.json" and ".changes.csv" for the matching `m` holds
/// after the run (nothing for graphs that are not class diagrams). Returns the exit code:
/// 0, or 3 when a change file could not be written (said in one line on `out`).
int writeMatchChanges(const MatchSettings& s, Match& m, std::ostream& out);
