// The counts and figures of one evaluation of a cost report against a gold matching, and
// the row they make in the evaluation table.
#pragma once

#include <string>

/// File every evaluation appends its row to.
constexpr const char* kEvalResultsFile = "./eval_results.csv";

/// What evalSolution measured. Counts come from the files; figures whose denominator is 0
/// are 0.
struct EvalFigures {
    std::string name1, name2; ///< the two versions, from the result file name
    /// The five weight texts of the result file name: dropWN, dropWE, edgeW, asymm, labelW.
    std::string weights[5];
    int vertices1 = 0, edges1 = 0, vertices2 = 0, edges2 = 0;

    bool graphsRead = false; ///< both version graphs could be opened
    bool goldRead = false;   ///< the gold file could be opened
    bool resultRead = false; ///< the result file could be opened

    int sameNameClasses = 0; ///< version-1 classes with a same-named class in version 2
    int confirmed = 0;       ///< gold pairs marked 'y'
    int rejected = 0;        ///< gold pairs marked 'n' whose two names are equal
    int matches = 0;         ///< "ns" rows of the result file
    int good = 0;            ///< matches that are same-name and not rejected, or confirmed
    int same = 0;            ///< good matches between equal labels
    int badSame = 0;         ///< matches between equal labels that the gold file rejects
    int totalGood = 0;       ///< sameNameClasses + confirmed - rejected

    double allPrecision = 0, allRecall = 0, allF1 = 0;
    double diffPrecision = 0, diffRecall = 0, diffF1 = 0;

    /// Every input was read, so the figures are a result.
    bool complete() const { return graphsRead && goldRead && resultRead; }
};

/// Where evalSolution finds its inputs: the cost report, the gold file of two versions, and
/// a version graph of a dataset.
std::string evalResultPath(const std::string& file);
std::string evalGoldPath(const std::string& name1, const std::string& name2);
std::string evalGraphPath(const std::string& dataset, const std::string& name);

/// Fills the six figures from the counts; a 0 denominator gives 0.
void computeFigures(EvalFigures& f);

/// The row appended to the evaluation table, starting with its "\n".
std::string evalRow(const EvalFigures& f);

/// Prints the row and appends it to the evaluation table; false (reported) when it could
/// not be written.
bool appendEvalRow(const EvalFigures& f);
