// Diff mode of the matcher's command line: the six result-file names of an earlier run and
// the report comparing its matching with a second producer's.
#pragma once

#include <iosfwd>
#include <string>

class Cost;

/// Result files that diff mode reads; the names follow the matcher's result files.
struct DiffFiles {
    std::string dfile1; ///< our class list of graph 1: "raw_" + G1 name + ".csv"
    std::string dfile2; ///< our class list of graph 2
    std::string ufile1; ///< the other producer's class list of graph 1: "uml_" + G1 name + ".csv"
    std::string ufile2; ///< the other producer's class list of graph 2
    std::string dfile;  ///< our pair file: "raw_" + run tag + ".csv"
    std::string ufile;  ///< the other producer's pairs: "uml_" + G1 name + "__" + G2 name + ".csv"
};

/// The six names under `directory` for graphs named `name1`, `name2`, the cost weights of
/// `cost` and `seed` (the run tag of the earlier matching run with the same settings).
DiffFiles diffFileNames(const std::string& directory, const std::string& name1,
                        const std::string& name2, const Cost& cost, int seed);

/// Writes the difference report under "./results/" and returns the exit code of diff mode,
/// which always ends the run with 1.
int runDiffMode(const std::string& name1, const std::string& name2, const Cost& cost, int seed,
                std::ostream& out);
