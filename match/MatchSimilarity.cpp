// Node similarity, term statistics of both graphs, and obvious matches.
// (Being written: compiling stubs for now.)
#include "match/Match.h"

double Match::intSim(int mode, Vertex* first, Vertex* second) { (void)mode; (void)first; (void)second; return 0; }
void Match::getRelevant() {}
void Match::getTerms(Graph* A, Graph* B, bool* relv1, bool* relv2) { (void)A; (void)B; (void)relv1; (void)relv2; }
void Match::matrixEntityTerm(Graph* A, Graph* B, bool* relv1, bool* relv2) { (void)A; (void)B; (void)relv1; (void)relv2; }
void Match::updateSemarel(SparseMatrix<semarel>* nT, int n, int t, short i, short inc) { (void)nT; (void)n; (void)t; (void)i; (void)inc; }
void Match::semilarity() {}
std::set<int>* Match::involvedNodes(std::vector<Vertex*>* vecVertex) { (void)vecVertex; return nullptr; }
void Match::fillSimMatrixH() {}
void Match::fillSimMatrixH1() {}
double Match::bestNMatches1(int x, int y) { (void)x; (void)y; return 0; }
std::string Match::obviousMatch(Graph* a, Graph* b) { (void)a; (void)b; return "YES"; }
std::string Match::obviousMatch1(Graph* a, Graph* b) { (void)a; (void)b; return "YES"; }
double Match::intSim2(int mode, Vertex* first, Vertex* second) { (void)mode; (void)first; (void)second; return 0; }
void Match::setSims() {}
void Match::fillSimMatrix() {}
