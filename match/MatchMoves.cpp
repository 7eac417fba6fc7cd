// Moves of the tabu search: validity, cost changes, application, tabu marks.
// PLACEHOLDER except updateMoves and movable (real, kept by the moves engineer): the
// remaining functions are compiling stubs that the engineer who builds moves replaces.
#include "match/Match.h"

// ---- real implementation -------------------------------------------------------------

void Match::updateMoves(int x, int y, bool able) {
    if (move == nullptr || x < 0 || y < 0) return;
    (*move)(static_cast<unsigned>(x), static_cast<unsigned>(y)) = able;
}

bool Match::movable(int x, int y) {
    if (move == nullptr || x < 0 || y < 0) return false;
    const auto ux = static_cast<unsigned>(x);
    const auto uy = static_cast<unsigned>(y);
    return move->exists(ux, uy) && (*move)(ux, uy);
}

// ---- placeholders --------------------------------------------------------------------

bool Match::isValidMove(int i, int j) {
    (void)i; (void)j;
    return false;
}

double Match::computeDelta(int mode, Vertex* v1, Vertex* v2) {
    (void)mode; (void)v1; (void)v2;
    return 0;
}

double Match::compDelta(int mode, Vertex* v1, Vertex* v2) {
    (void)mode; (void)v1; (void)v2;
    return 0;
}

void Match::enactMove() {}

void Match::updateState(Vertex* v1, Vertex* v2, bool add) {
    (void)v1; (void)v2; (void)add;
}

void Match::updateDeltaMatrix() {}

void Match::removeFromFF(int x, int y) {
    (void)x; (void)y;
}
