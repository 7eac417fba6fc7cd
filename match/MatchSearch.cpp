// PLACEHOLDER — the search loop of the matcher.
// Compiling stubs only: the engineer who builds this concern replaces this file whole.
#include "match/Match.h"

void Match::Tabu(double _init, int alg, int discrim) {
    (void)_init; (void)alg; (void)discrim;
}

void Match::findMatch() {}
