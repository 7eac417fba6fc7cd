// The matcher's run: seeds the random helper, then hands over to the matching stages.
#include "driver/MatchRun.h"

#include "util/Random.h"

#include <iostream>

int runMatch(const MatchSettings& settings, std::ostream& out) {
    seedRandom(static_cast<unsigned>(settings.seed));
    out << "\n Matching is not built yet: the run stops after reading the switches.\n";
    return 1;
}

int graphmatMain(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParseResult parsed = parseMatchArguments(args, std::cout, std::cerr);
    if (parsed.status != ParseStatus::Ok) return 1;
    return runMatch(parsed.settings, std::cout);
}
