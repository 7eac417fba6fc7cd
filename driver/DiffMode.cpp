// Diff mode: file names from the run tag, then the comparison report of two matchings.
#include "driver/DiffMode.h"

#include <filesystem>
#include <ostream>

#include "cost/Cost.h"
#include "util/DiagramDiff.h"
#include "util/Folders.h"
#include "util/Utilities.h"

namespace {

/// Diff mode ends the process with this code whatever the report says.
constexpr int kDiffModeExit = 1;

} // namespace

DiffFiles diffFileNames(const std::string& directory, const std::string& name1,
                        const std::string& name2, const Cost& cost, int seed) {
    DiffFiles f;
    f.dfile1 = directory + "raw_" + name1 + ".csv";
    f.dfile2 = directory + "raw_" + name2 + ".csv";
    f.ufile1 = directory + "uml_" + name1 + ".csv";
    f.ufile2 = directory + "uml_" + name2 + ".csv";
    f.dfile = directory + "raw_" + name1 + "__" + name2;
    for (double weight :
         {cost.dropWeightN, cost.dropWeightE, cost.edgeWeight, cost.asymmetry, cost._lw})
        f.dfile += "__" + to_string(weight);
    f.dfile += "__" + to_string(seed) + ".csv";
    f.ufile = directory + "uml_" + name1 + "__" + name2 + ".csv";
    return f;
}

int runDiffMode(const std::string& name1, const std::string& name2, const Cost& cost, int seed,
                std::ostream& out) {
    const DiffFiles f = diffFileNames(kResultsFolder, name1, name2, cost, seed);
    out.flush(); // csvDiff reports unreadable files on standard output
    csvDiff(f.dfile1, f.dfile2, f.ufile1, f.ufile2, f.dfile, f.ufile);
    const std::string report = f.dfile + "_diff.csv";
    if (std::filesystem::exists(report)) out << "\n Diff report: " << report << "\n";
    return kDiffModeExit;
}
