// The exact one-to-one optimum of one graph pair under the matcher's cost model, for the
// quality benchmark: prints the optimum, whether it is proven, and the effort it took.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "match/Match.h"
#include "quality/ExactMatch.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/Random.h"

namespace {

void usage() {
    std::cerr << "usage: graphmat-bench-exact MODE GRAPH1 GRAPH2 DWN DWE EW ASY LW [NODE_LIMIT]\n"
                 "  prints: optimum=<cost> proven=<0|1> visited=<nodes> seconds=<cpu>\n";
}

/// Drops everything written to the console while it lives (readers and matcher talk).
class Silence {
    struct Sink : std::streambuf {
        int overflow(int c) override { return c; }
    };
    Sink sink_;
    std::ostream stream_{&sink_};
    ConsoleRedirect redirect_{stream_};
};

bool readable(const std::string& path) {
    return std::ifstream(path).good();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 9 && argc != 10) {
        usage();
        return kExitUsage;
    }
    const int mode = std::atoi(argv[1]);
    for (int k = 2; k <= 3; k++)
        if (!readable(argv[k])) {
            std::cerr << "graphmat-bench-exact: cannot read " << argv[k] << "\n";
            return kExitInputUnreadable;
        }
    const long long limit = argc == 10 ? std::atoll(argv[9]) : 0;

    seedRandom(1);
    auto cost = std::make_unique<Cost>();
    cost->initMode1(std::atof(argv[4]), std::atof(argv[5]), std::atof(argv[6]), std::atof(argv[7]),
                    std::atof(argv[8]));
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> match;
    {
        Silence quiet;
        g1 = std::make_unique<Graph>(mode, argv[2]);
        g2 = std::make_unique<Graph>(mode, argv[3]);
        match = std::make_unique<Match>(g1.get(), g2.get(), cost.get(), 1, 3);
    }
    const double start = cpuSeconds();
    const ExactResult best = ExactMatch(*match).solve(limit);
    std::printf("optimum=%.6f proven=%d visited=%lld seconds=%.3f\n", best.cost,
                best.proven ? 1 : 0, best.visited, cpuSeconds() - start);
    return 0;
}
