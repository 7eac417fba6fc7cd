// Several independent searches of one matching problem in child processes. Processes, not
// threads: the C library's random generator is process-wide, and each search must draw the
// very sequence a plain run with its seed draws.
#include "driver/EffortRun.h"

#include "driver/MatchRun.h"
#include "util/ExitCodes.h"
#include "util/Folders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr const char* kConsoleFile = "console.txt";
constexpr const char* kCostFile = "cost.txt";
/// Folders the search reads from its working folder (reference matchings of benchmarks).
constexpr const char* kReadFolders[] = {"datasets"};

fs::path searchFolder(const fs::path& root, int index) {
    return root / std::to_string(index);
}

/// The child's side: standard output into its folder, a plain run there, its cost in a file.
[[noreturn]] void runChild(const MatchSettings& settings, const fs::path& folder,
                           const fs::path& origin) {
    const int console = ::open((folder / kConsoleFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (console < 0 || ::dup2(console, STDOUT_FILENO) < 0) ::_exit(kExitOutputNotWritten);
    ::close(console);
    // The search may read benchmark references relative to where the run began.
    std::error_code ignored;
    for (const char* name : kReadFolders)
        if (fs::exists(origin / name))
            fs::create_directory_symlink(origin / name, folder / name, ignored);
    RunTarget target;
    target.folder = folder.string();
    target.endsProcess = true;
    // Not the console channel: the process's own standard output, now the folder's file.
    const int rc = runMatch(settings, std::cout, &target);
    std::cout.flush();
    std::fflush(stdout);
    if (rc == 0) {
        std::FILE* costFile = std::fopen((folder / kCostFile).c_str(), "w");
        // Hexadecimal keeps every bit, so ties are decided on the exact costs.
        if (costFile == nullptr || std::fprintf(costFile, "%a\n", target.bestCost) < 0 ||
            std::fclose(costFile) != 0)
            ::_exit(kExitOutputNotWritten);
    }
    ::_exit(rc);
}

/// Reads back a finished child's cost.
bool readCost(const fs::path& folder, double& cost) {
    std::ifstream in(folder / kCostFile);
    std::string text;
    if (!(in >> text)) return false;
    char* end = nullptr;
    cost = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0';
}

/// Number of searches run side by side.
int workers(int searches) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int>(std::min<unsigned>(cores, static_cast<unsigned>(searches)));
}

/// Forks the searches, never more than workers() at once, and collects their outcomes.
std::vector<SeedOutcome> runSearches(const MatchSettings& s, const fs::path& root,
                                     const fs::path& origin, std::ostream& err) {
    std::vector<SeedOutcome> outcomes(static_cast<size_t>(s.effort));
    std::map<pid_t, int> running;
    int next = 0;
    const int width = workers(s.effort);
    std::cout.flush();
    std::fflush(stdout); // nothing buffered may be written twice by the children
    while (next < s.effort || !running.empty()) {
        while (next < s.effort && static_cast<int>(running.size()) < width) {
            SeedOutcome& o = outcomes[static_cast<size_t>(next)];
            o.seed = s.seed + next;
            o.exitCode = kExitOutputNotWritten;
            const fs::path folder = searchFolder(root, next);
            std::error_code made;
            fs::create_directories(folder, made);
            const pid_t pid = made ? -1 : ::fork();
            if (pid == 0) {
                MatchSettings own = s;
                own.seed = o.seed;
                runChild(own, folder, origin);
            }
            if (pid < 0)
                err << "Search with seed " << o.seed << " could not be started\n";
            else
                running[pid] = next;
            next++;
        }
        if (running.empty()) continue;
        int status = 0;
        const pid_t done = ::waitpid(-1, &status, 0);
        if (done < 0) break;
        auto it = running.find(done);
        if (it == running.end()) continue;
        const int index = it->second;
        running.erase(it); // `it` is gone from here on
        SeedOutcome& o = outcomes[static_cast<size_t>(index)];
        if (WIFEXITED(status))
            o.exitCode = WEXITSTATUS(status);
        else
            err << "Search with seed " << o.seed << " ended abnormally (signal " << WTERMSIG(status)
                << ")\n";
        o.finished = o.exitCode == 0 && readCost(searchFolder(root, index), o.cost);
    }
    return outcomes;
}

/// Index of the cheapest finished search, the lowest seed among equals; -1 when none.
int winner(const std::vector<SeedOutcome>& outcomes) {
    int best = -1;
    for (size_t k = 0; k < outcomes.size(); k++)
        if (outcomes[k].finished &&
            (best < 0 || outcomes[k].cost < outcomes[static_cast<size_t>(best)].cost))
            best = static_cast<int>(k);
    return best;
}

/// Copies the winner's result files into ./results/, over files of the same names.
bool keepResults(const fs::path& folder, std::ostream& err) {
    const fs::path from = folder / kResultsFolder;
    std::error_code failed;
    fs::create_directories(kResultsFolder, failed);
    if (!failed && fs::is_directory(from))
        for (const auto& entry : fs::directory_iterator(from, failed)) {
            if (!entry.is_regular_file()) continue;
            fs::copy_file(entry.path(), fs::path(kResultsFolder) / entry.path().filename(),
                          fs::copy_options::overwrite_existing, failed);
            if (failed) break;
        }
    if (failed)
        err << "Results not written to " << kResultsFolder << ": " << failed.message() << "\n";
    return !failed;
}

void printSummary(const EffortOutcome& o, std::ostream& out) {
    out << "\nEffort : " << o.searches.size() << " searches, seeds " << o.searches.front().seed
        << " to " << o.searches.back().seed << ", costs";
    for (const SeedOutcome& s : o.searches) {
        if (s.finished)
            out << " " << s.cost;
        else
            out << " -";
    }
    out << ", best seed " << o.bestSeed << std::endl;
}

} // namespace

bool effortApplies(const MatchSettings& s) {
    const bool seededStart = s.initMode > 0 && s.initMode < 1;
    return s.umldiff != 1 && s.sim_graphs.empty() && s.initMode != 0 && !seededStart;
}

EffortOutcome runEffort(const MatchSettings& s, std::ostream& out, std::ostream& err) {
    EffortOutcome outcome;
    if (s.effort < 1 || s.effort > kMaxEffort ||
        s.seed > std::numeric_limits<int>::max() - (s.effort - 1)) {
        err << "-k takes a number of searches from 1 to " << kMaxEffort
            << " (seeds must stay within range), not " << s.effort << "\n";
        outcome.exitCode = kExitUsage;
        return outcome;
    }
    if (s.effort == 1 || !effortApplies(s)) {
        if (s.effort > 1)
            out << "\n -k applies to the tabu search only: one run with seed " << s.seed << "\n";
        outcome.exitCode = runMatch(s, out);
        return outcome;
    }
    std::error_code failed;
    const fs::path origin = fs::current_path(failed);
    std::string pattern = (fs::temp_directory_path(failed) / "graphmat-effort-XXXXXX").string();
    if (failed || ::mkdtemp(pattern.data()) == nullptr) {
        err << "No scratch folder for the searches: " << pattern << "\n";
        outcome.exitCode = kExitOutputNotWritten;
        return outcome;
    }
    const fs::path root(pattern);
    outcome.searches = runSearches(s, root, origin, err);
    const int best = winner(outcome.searches);
    if (best < 0) {
        err << "None of the " << s.effort << " searches finished\n";
        outcome.exitCode = outcome.searches.front().exitCode != 0
                               ? outcome.searches.front().exitCode
                               : kExitOutputNotWritten;
    } else {
        outcome.bestSeed = outcome.searches[static_cast<size_t>(best)].seed;
        const fs::path folder = searchFolder(root, best);
        std::ostringstream console;
        console << std::ifstream(folder / kConsoleFile).rdbuf();
        out << console.str();
        printSummary(outcome, out);
        outcome.exitCode = keepResults(folder, err) ? 0 : kExitOutputNotWritten;
    }
    fs::remove_all(root, failed);
    return outcome;
}

int runWithEffort(const MatchSettings& s, std::ostream& out, std::ostream& err) {
    return runEffort(s, out, err).exitCode;
}
