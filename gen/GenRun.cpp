// Running the generator subcommands: each builds one benchmark, then checks that its files
// exist so that a refused or lost output ends with a failure code.
#include "gen/GenCommandLine.h"

#include <filesystem>
#include <memory>
#include <ostream>

#include "gen/GenGraph.h"
#include "gen/GraphMutation.h"
#include "gen/GraphNoise.h"
#include "graph/Graph.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/Random.h"
#include "util/Version.h"

namespace {

/// 0 when every file exists; otherwise names the missing ones and returns 3.
int reportFiles(const std::vector<std::string>& files, std::ostream& out) {
    int status = 0;
    for (const std::string& file : files) {
        std::error_code ignored;
        if (std::filesystem::exists(file, ignored)) {
            out << "\nWritten " << file;
        } else {
            out << "\nNot written: " << file;
            status = kExitOutputNotWritten;
        }
    }
    out << "\n";
    return status;
}

/// Removes earlier output so that a file left by another run never passes for this run's.
void removeStale(const std::vector<std::string>& files) {
    std::error_code ignored;
    for (const std::string& file : files)
        std::filesystem::remove(file, ignored);
}

void makeFolderFor(const std::string& file) {
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
}

} // namespace

int runRandom(const RandomSettings& s, std::ostream& out) {
    // The plain form continues the current sequence: seeding here keeps it repeatable.
    seedRandom(static_cast<unsigned>(s.seed));
    const bool undirected = s.undirected == 1;
    std::unique_ptr<GenGraph> pair;
    if (s.form == "full")
        pair = std::make_unique<GenGraph>(s.n, s.e, s.q, s.nl, s.nld, s.el, s.eld, s.pd, s.pi,
                                          s.out, s.seed, undirected);
    else if (s.form == "edges")
        pair = std::make_unique<GenGraph>(s.n, s.e, s.q, s.el, s.eld, s.pd, s.pi, s.out, s.seed,
                                          undirected);
    else if (s.form == "legacy")
        pair = std::make_unique<GenGraph>(s.n, s.p, s.q, s.el, s.eld, s.out, s.seed);
    else
        pair = std::make_unique<GenGraph>(s.n, s.p, s.q, s.out, s.seed);
    const std::string pre = pair->prefix(s.out);
    out << "\nscore " << pair->score << "\n";
    pair.reset();
    return reportFiles({pre + "A.csv", pre + "B.csv", pre + ".csv"}, out);
}

int runMutate(const MutateSettings& s, std::ostream& out) {
    const std::string graphFile = s.out + "_mutated.txt";
    const std::string recordFile = s.out + "_edits.csv";
    const std::string tableFile = "logs/log_mutation.csv";
    removeStale({graphFile, recordFile, tableFile});
    seedRandom(static_cast<unsigned>(s.seed));
    auto input = std::make_unique<Graph>(s.mode, s.graph);
    if (input->V.empty()) {
        out << "\n" << s.graph << ": no node read, nothing to mutate\n";
        return kExitInputUnreadable;
    }
    if (!mutationFits(input->vertices, s.addNodes, out)) return kExitUsage;
    GraphMutation mutation(input.get(), s.delNodes, s.addNodes, s.edgeNoise);
    mutation.printNodeTables();
    makeFolderFor(graphFile);
    mutation._new->write(0, graphFile);
    mutation.write(0, recordFile);
    delete mutation._new; // the mutation hands its new graph to the caller
    input.reset();
    return reportFiles({graphFile, recordFile, tableFile}, out);
}

int runNoise(const NoiseSettings& s, std::ostream& out) {
    const std::string num = std::to_string(s.id);
    const std::vector<std::string> files = {"./benchmark/original_" + num + ".txt",
                                            "./benchmark/noisy_" + num + ".txt",
                                            "./benchmark/log_" + num + ".txt"};
    removeStale(files);
    seedRandom(static_cast<unsigned>(s.seed));
    { GraphNoise pair(s.id, s.nodes, s.epsilon); }
    return reportFiles(files, out);
}

namespace {

template <typename S>
int runParsed(GenParse (*parse)(const std::vector<std::string>&, S&, std::ostream&),
              void (*usage)(std::ostream&), int (*run)(const S&, std::ostream&),
              const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    S settings;
    switch (parse(args, settings, err)) {
    case GenParse::Help:
        usage(err);
        return 0;
    case GenParse::Error:
        usage(err);
        return 1;
    case GenParse::Ok:
        break;
    }
    return run(settings, out);
}

} // namespace

int genMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The generators' progress lines go where the command's own lines go.
    ConsoleRedirect toOut(out);
    if (args.empty()) {
        usageGen(err);
        return 1;
    }
    const std::string& command = args[0];
    if (command == "--version") {
        out << versionLine("graphmat-gen") << "\n";
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "random") return runParsed(parseRandom, usageRandom, runRandom, rest, out, err);
    if (command == "mutate") return runParsed(parseMutate, usageMutate, runMutate, rest, out, err);
    if (command == "noise") return runParsed(parseNoise, usageNoise, runNoise, rest, out, err);
    usageGen(err);
    return command == "--help" || command == "-h" || command == "help" ? 0 : 1;
}
