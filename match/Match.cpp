// Construction and state of the matcher, accessors that see through blocks, and the
// whole-solution cost. (Being written: compiling stubs for now.)
#include "match/Match.h"

double normDiff(float a, float b) {
    (void)a; (void)b;
    return 0;
}

Match::Match(Graph* A, Graph* B, Cost* costModel, int seed, int mode) {
    (void)A; (void)B; (void)costModel; (void)seed; (void)mode;
}
Match::Match(Graph* A, Graph* B, int seed) { (void)A; (void)B; (void)seed; }
Match::Match() { init(); }
Match::~Match() {}
void Match::init() { numberOfMatchs = 0; }
void Match::init(Graph* A, Graph* B) { (void)A; (void)B; }
Vertex* Match::getVertex1(int num) { (void)num; return nullptr; }
Vertex* Match::getVertex2(int num) { (void)num; return nullptr; }
Edge* Match::getEdge1(int from, int to) { (void)from; (void)to; return nullptr; }
Edge* Match::getEdge2(int from, int to) { (void)from; (void)to; return nullptr; }
int Match::getM12(int x) { (void)x; return kNoPartner; }
int Match::getM21(int y) { (void)y; return kNoPartner; }
int Match::getNodes1(int x) { (void)x; return -1; }
int Match::getNodes2(int y) { (void)y; return -1; }
int Match::getENodes1(Edge* e1) { (void)e1; return 0; }
int Match::getENodes2(Edge* e2) { (void)e2; return 0; }
std::vector<Edge*>* Match::getVEdges(Vertex* v, bool left) { (void)v; (void)left; return nullptr; }
double Match::cost(int mode) { (void)mode; return -1; }
double Match::ocost(int mode) { (void)mode; return -1; }
double Match::noMatchCost(int mode) { (void)mode; return 0; }
void Match::changeCosts(Cost* model) { costs = model; }
double Match::checkMatching() { return 0; }
int Match::checkPresence() { return g1 ? g1->vertices : 0; }
