// Differences between two class diagrams or two matchings of one pair of diagrams: the
// matching comparison report of diff mode, and member and relation change counts.
#pragma once

#include <map>
#include <set>
#include <string>

class Edge;
class Vertex;

/// Category name -> count, as returned by classDiff and relDiff.
using CategoryCounts = std::map<std::string, int>;

/// Class names found in both class-list files (the first field of each line: a double-quoted
/// name followed by a comma). Empty lines are skipped; a file that cannot be opened or a line
/// that does not start with a double quote is reported. Returns a new set owned by the caller.
std::set<std::string>* getDiagramsIntersection(const std::string& filename,
                                               const std::string& _filename);

/// The pair keys of one matching restricted to the classes of both diagrams: "A__B" for a
/// pair, "A__" for a class of diagram 1 left unmatched, "__B" for one of diagram 2.
std::set<std::string> matchingKeys(const std::set<std::string>& diagram1,
                                   const std::set<std::string>& diagram2,
                                   const std::multimap<std::string, std::string>& m12);

/// The three sections of the comparison of two matchings.
struct MatchingComparison {
    std::set<std::string> both;       ///< keys of both matchings
    std::set<std::string> onlyFirst;  ///< keys of the first matching only (M1 - M2)
    std::set<std::string> onlySecond; ///< keys of the second matching only (M2 - M1)
};

/// Compares two matchings given as key sets.
MatchingComparison compareMatchings(const std::set<std::string>& diagM,
                                    const std::set<std::string>& _diagM);

/// Diff mode: compares the matching `filename12` (M1) with `_filename12` (M2) over the classes
/// that both class lists of each diagram hold, and writes the three-section report to
/// `filename12` + "_diff.csv". Files that cannot be read are reported by name and read as
/// empty; a report that cannot be written is reported.
void csvDiff(const std::string& filename1, const std::string& filename2,
             const std::string& _filename1, const std::string& _filename2,
             const std::string& filename12, const std::string& _filename12);

/// Member changes between two class nodes: "sameAtt", "sameMet", "renMet" (same return type
/// and parameters, other name) and "modMet" (same name, other signature).
CategoryCounts classDiff(Vertex* v1, Vertex* v2);

/// Relation changes of codes 1 to 3 between two edges, either of which may be null:
/// "addRel" (what `_e` holds beyond `e`) and "delRel" (what `e` holds beyond `_e`).
CategoryCounts relDiff(Edge* e, Edge* _e);
