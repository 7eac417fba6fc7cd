// Reads the class-level changes between two versions off the final matching: which classes
// were kept, renamed, moved, split, merged, added or deleted, and what became of their members.
#pragma once

#include "report/ChangeReport.h"
#include "report/NodeMatching.h"

class Graph;

/// A class that the matcher left unmatched is tied to a class of the other version by member
/// flow when at least this many of its members are matched to members of that class...
constexpr int kMinFlowMembers = 2;
/// ...and they are at least this share of its members.
constexpr double kMinFlowShare = 0.5;

/// Classifies every class of g1 and g2 (read in reader mode `mode`) under `matching`.
/// The report's `run` is left default; the entries come sorted.
ChangeReport classifyChanges(const Graph& g1, const Graph& g2, const NodeMatching& matching,
                             int mode);
