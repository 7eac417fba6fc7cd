// The effort setting of the matcher (-k K): K independent searches from consecutive seeds,
// run side by side in child processes; the cheapest one's result files and console are kept.
#pragma once

#include "driver/MatchCommandLine.h"

#include <iosfwd>
#include <vector>

/// Largest number of searches one run accepts.
constexpr int kMaxEffort = 1000;

/// One of the independent searches.
struct SeedOutcome {
    int seed = 0;
    bool finished = false; ///< the search ended normally and reported its cost
    int exitCode = 0;      ///< its run's exit code (or 3 when it did not finish)
    double cost = 0;       ///< cost of its matching, when finished
};

/// What an effort run did.
struct EffortOutcome {
    int exitCode = 0;
    std::vector<SeedOutcome> searches; ///< in seed order
    int bestSeed = -1;                 ///< seed whose results were kept; -1 when none
};

/// Whether the settings lead to a tabu search, the only stage that several seeds improve
/// (diff mode, the assignment matching, the evaluation and seeded starts do not search).
bool effortApplies(const MatchSettings& settings);

/// Runs settings.effort searches with seeds seed, seed + 1, ... on up to as many processes
/// at once as the machine has cores, each exactly as a plain run with that seed. The one of
/// lowest cost wins (ties go to the lowest seed): its result files are copied into
/// "./results/", so they are those of a plain run with its seed, and its console is
/// replayed on `out`, followed by one summary line. Effort 1, or settings that do not
/// search, make one plain run.
EffortOutcome runEffort(const MatchSettings& settings, std::ostream& out, std::ostream& err);

/// runEffort's exit code.
int runWithEffort(const MatchSettings& settings, std::ostream& out, std::ostream& err);
