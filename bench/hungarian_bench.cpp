// Times the Hungarian solver on seeded random dense matrices of growing size.
#include "assign/Hungarian.h"
#include "util/Clock.h"
#include "util/Random.h"

#include <cstdio>
#include <vector>

namespace {

constexpr unsigned kSeed = 1;
constexpr int kSizes[] = {100, 300, 1000};

// Cost of the assignment the solver reported.
double assignedCost(const Hungarian& h, const std::vector<std::vector<double>>& costs) {
    double sum = 0;
    for (int r = 0; r < h.n; ++r)
        if (h.results[r] >= 0) sum += costs[r][h.results[r]];
    return sum;
}

void timeOne(int size) {
    std::vector<std::vector<double>> costs(size, std::vector<double>(size));
    for (auto& row : costs)
        for (double& v : row) v = randDraw() / static_cast<double>(kRandMax);
    std::vector<const double*> rows;
    for (const auto& row : costs) rows.push_back(row.data());
    Hungarian h;
    double start = cpuSeconds();
    h.solve(rows.data(), size, size);
    double seconds = cpuSeconds() - start;
    std::printf("%5d x %-5d %10.3f s   assignment cost %.6f\n", size, size, seconds,
                assignedCost(h, costs));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** /*argv*/) {
    if (argc > 1) {
        // Nothing is configurable: an argument would be silently ignored.
        std::fprintf(stderr, "usage: graphmat-bench-hungarian (takes no arguments)\n");
        return 1;
    }
    seedRandom(kSeed);
    std::printf("Hungarian solver, random dense matrices of draws in [0, 1], seed %u\n", kSeed);
    for (int size : kSizes) timeOne(size);
    return 0;
}
