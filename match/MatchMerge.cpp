// PLACEHOLDER — block vertices and block edges of the matcher.
// Compiling stubs only: the engineer who builds this concern replaces this file whole.
#include "match/Match.h"

Vertex* Match::updateBlock(Vertex* B, int x, bool left, bool add) {
    (void)B; (void)x; (void)left; (void)add;
    return nullptr;
}

Vertex* Match::mergeNodes(std::vector<Vertex*>* nodes, int nnumber) {
    (void)nodes; (void)nnumber;
    return nullptr;
}
