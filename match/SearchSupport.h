// Small steps shared by the tabu search loop and the starts that prepare it.
#pragma once

#include <vector>

class Match;
class MCES;

struct cell;

/// The change of cost that playing the chosen move brings: its recorded delta, or 0 when the
/// move no longer fits the matching (such a move changes nothing, so the running cost must
/// not move either).
double playedDelta(Match& m, const cell& chosen);

/// Replaces chosenCell by a fresh zeroed record with x = y = -1 (not indexed), freeing the
/// previous record when it was not a cell of the move table.
void resetChosenCell(Match& m);

/// First-graph nodes matched to the partner the reference matching kbt gives them; 0 when no
/// reference was read.
int agreeingWithReference(const Match& m);

/// The seed matching of a fractional start: the reference matching kbt thinned at random to
/// about `fraction` of the first graph's order (one draw per first-graph node).
std::vector<int> sampleReference(Match& m, double fraction);

/// Copies the greedy matcher's non-zero similarities into the score table _M (an absent cell
/// reads as 0).
void storeSimilarity(Match& m, const MCES* greedy);

/// Deletes a greedy matcher together with the result tables it leaves to its caller.
void releaseGreedy(MCES* greedy);

/// The evaluation start: a greedy matching by similarity bands scored against the reference,
/// one line appended to "sim_results.csv", then the process ends with exit code 1.
[[noreturn]] void runEvaluationStart(Match& m, int alg, int discrim);
