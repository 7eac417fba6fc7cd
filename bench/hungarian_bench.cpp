// Times both assignment solvers side by side on the same seeded random dense matrices and
// prints the optimum each one reports.
// Usage: graphmat-bench-hungarian [--fast-only] [size ...]   (default sizes 1000 2000 4000)
#include "assign/Hungarian.h"
#include "assign/ShortestPathSolver.h"
#include "util/Clock.h"
#include "util/Random.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr unsigned kSeed = 1;
const std::vector<int> kDefaultSizes = {1000, 2000, 4000};

struct Timing {
    double seconds = 0;
    double optimum = 0;
};

// Cost of the assignment a solver reported.
template <typename Solver>
double assignedCost(const Solver& s, const std::vector<std::vector<double>>& costs) {
    double sum = 0;
    for (int r = 0; r < s.n; ++r)
        if (s.results[r] >= 0) sum += costs[r][s.results[r]];
    return sum;
}

template <typename Solver>
Timing timeSolver(const std::vector<std::vector<double>>& costs,
                  const std::vector<const double*>& rows) {
    const int size = static_cast<int>(costs.size());
    Solver s;
    const double start = cpuSeconds();
    s.solve(rows.data(), size, size);
    Timing t;
    t.seconds = cpuSeconds() - start;
    t.optimum = assignedCost(s, costs);
    return t;
}

void timeOne(int size, bool fastOnly) {
    std::vector<std::vector<double>> costs(size, std::vector<double>(size));
    for (auto& row : costs)
        for (double& v : row)
            v = randDraw() / static_cast<double>(kRandMax);
    std::vector<const double*> rows;
    for (const auto& row : costs)
        rows.push_back(row.data());

    const Timing fast = timeSolver<ShortestPathSolver>(costs, rows);
    if (fastOnly) {
        std::printf("%6d | %12s | %12.3f | %14s | %14.6f | %s\n", size, "-", fast.seconds, "-",
                    fast.optimum, "-");
    } else {
        const Timing step = timeSolver<Hungarian>(costs, rows);
        const bool same =
            std::fabs(step.optimum - fast.optimum) <= 1e-9 * (1 + std::fabs(step.optimum));
        std::printf("%6d | %12.3f | %12.3f | %14.6f | %14.6f | %s\n", size, step.seconds,
                    fast.seconds, step.optimum, fast.optimum, same ? "yes" : "NO");
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    bool fastOnly = false;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fast-only") {
            fastOnly = true;
            continue;
        }
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "usage: graphmat-bench-hungarian [--fast-only] [size ...]\n");
            return 1;
        }
        sizes.push_back(size);
    }
    if (sizes.empty()) sizes = kDefaultSizes;
    seedRandom(kSeed);
    std::printf("Assignment solvers, random dense n x n matrices of draws in [0, 1], seed %u\n",
                kSeed);
    std::printf("%6s | %12s | %12s | %14s | %14s | %s\n", "n", "step s", "fast s", "step optimum",
                "fast optimum", "same");
    for (int size : sizes)
        timeOne(size, fastOnly);
    return 0;
}
