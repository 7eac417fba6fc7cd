// The matching engine: a matching between the nodes (or merged blocks) of two graphs, its
// graph-edit cost, the tabu search that improves it, and the reports written from it.
#pragma once

#include <cstdlib>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cost/Cost.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/SparseMatrix.h"
#include "graph/Vertex.h"
#include "match/CostFigures.h"
#include "match/stdafx.h"
#include "util/FlatMap.h"

class FastFind;
class MoveContext;
struct EvalFigures;

/// |a - b| / max(a, b, 0), and 0 when that maximum is 0. A diagnostic; no caller in the run.
double normDiff(float a, float b);

/// The class is split over several sources by concern:
///   Match.cpp            construction, state, accessors through blocks, whole-solution cost
///   MatchSimilarity.cpp  node similarity
///   MatchTerms.cpp       term statistics, containment seeds, the term-based candidate pairs
///   MatchObvious.cpp     obvious matches and the export of what is left (experiments)
///   MatchMerge.cpp       block vertices and block edges
///   MatchMoves.cpp       move validity, the move index's refresh, tabu marks
///   MoveContext.cpp      a candidate move read against the current matching
///   MatchDelta.cpp       cost changes of the moves (computeDelta, compDelta)
///   MatchApply.cpp       applying a move (enactMove, updateState)
///   MatchSearch.cpp      the tabu search loop
///   MatchStart.cpp       the starting matchings of the search
///   MatchEvalStart.cpp   the evaluation start (similarity bands against a reference)
///   MatchAssign.cpp      the assignment-based matching
///   MatchOutput.cpp      result files: raw entity lists, pairs, merges
///   MatchReports.cpp     cost and difference reports
///   MatchEval.cpp        evaluation against a reference matching
///   MatchEvalRaw.cpp     raw files compared with a reference difference file
/// The move index is its own class (FastFind.cpp).
class Match {
public:
    /// Partner value of an unmatched node (in M12, M21, bestMatch, kbt, ...).
    static constexpr int kNoPartner = ::kNoPartner;
    /// Assignment price of a cell that must not be chosen.
    static constexpr double kForbiddenCell = 32767;
    /// Tabu mark of a pair matched by the start that lowers the cost: never expires in a run.
    static constexpr int kLockedTabu = 32767;
    /// Slots of the tabu expiry ring (iterations modulo this number).
    static constexpr int kTabuSlots = 100;
    /// Lists allocated per ring slot; only the first one is used.
    static constexpr int kTabuListsPerSlot = 100;
    /// Counters per term-statistics record: own terms, 4 leaving and 4 entering neighbour kinds.
    static constexpr int kTermCounters = 9;

    // =====================================================================================
    // Data members, in declaration order
    // =====================================================================================

    /// The two graphs; not owned.
    Graph* g1 = nullptr;
    Graph* g2 = nullptr;
    /// Partner of each first-graph node: a second-graph vertex number (plain node or block),
    /// or kNoPartner. Length g1->vertices; owned; null until init(A, B).
    int* M12 = nullptr;
    /// A matching read back from a log by getLog; length g1->vertices; owned; null until then.
    int* log_matching = nullptr;
    /// Partner of each second-graph node, or kNoPartner. Length g2->vertices; owned.
    int* M21 = nullptr;
    /// Similarity evaluations (cache misses of intSim, and a second counter), printed at the end.
    long computeSim = 0;
    long _computeSim = 0;
    /// Pairs (x, y) of plain nodes allowed as moves; an absent entry is "not movable"; owned.
    /// Changed through updateMoves only, which keeps the column view of it in step.
    SparseMatrix<bool>* move = nullptr;
    /// Reference matching of benchmark graphs; length g1->vertices; owned; null until read.
    int* kbt = nullptr;
    /// M12 and M21 of the best solution found; lengths N1 and N2; owned.
    int* bestMatch = nullptr;
    int* bestMatch2 = nullptr;
    /// blocks1 and blocks2 of the best solution found; lengths N1 and N2; owned.
    int* bestBlock = nullptr;
    int* bestBlock2 = nullptr;
    double bestCost = 0;
    double tolerance = 0; ///< never set or read
    /// Cost of the current solution (running sum of the played cost changes).
    double currentCost = 0;
    double stockedBestCost = 0; ///< never set or read
    /// Iteration number at which the best solution was last improved.
    double lastBestCost = 0;
    /// Never set or read.
    int nb0Meth1 = 0, nb0Meth2 = 0, nb0Att1 = 0, nb0Att2 = 0, nb0MAtt1 = 0, nb0MAtt2 = 0;
    /// Tabu expiry ring: kTabuSlots pointers, each to kTabuListsPerSlot lists (only list 0 of a
    /// slot is used). Cell pointers point into M and are not owned; the lists are owned.
    std::vector<cell*>* tabu_i[kTabuSlots] = {};
    /// Current ring slot: iterations modulo kTabuSlots.
    int i_parser = 0;
    /// Similarity histogram of the evaluation start; owned; null until that start runs.
    int* sim_distrib = nullptr;
    double granul_distrib = 0;
    /// One more than the smaller of the two graphs' label counts.
    int nb_labels = 0;
    /// Move index over the cells of M; owned. It keeps pointers to M12, M21, the tabu ring
    /// and _M but frees none of them.
    FastFind* ff = nullptr;
    /// Counters per term-statistics record (kTermCounters once the term tables are built).
    int iterms = 0;
    /// Term statistics: node x term id, and first-graph node x second-graph node. Owned;
    /// built and freed again by the term pipeline of init (null outside it).
    SparseMatrix<semarel>* nodeTerms1 = nullptr;
    SparseMatrix<semarel>* nodeTerms2 = nullptr;
    SparseMatrix<semarel>* semilT = nullptr;
    /// One candidate-move record per evaluated pair (x, y); the index points into it; owned.
    SparseMatrix<cell>* M = nullptr;
    /// Score table supplied by the chosen start (e.g. the greedy matcher's similarity); owned.
    SparseMatrix<float>* _M = nullptr;
    /// Node similarity of each evaluated block pair, the substitution discount; owned.
    SparseMatrix<float>* _N = nullptr;
    /// Search-loop counters and parameters.
    int stagnation = 0;
    int stagnation_length = 0;
    int intensify = 0;
    int intensify_length = 0;
    int diversify = 0;
    double diversify_length = 0;
    /// Larger and smaller of the two graph orders.
    int max_vertices = 0;
    int min_vertices = 0;
    /// Threshold of the term similarity: 0.5 while init runs; changeCosts then stores
    /// _lw / 100 of the cost model, a value nothing reads.
    float sim_thres = 0;
    double minAll = 0; ///< set at search start; read by nothing
    int _minAll = 0;   ///< never set or read
    /// The run's seed, passed on to the greedy matcher.
    int randomSeed = 0;
    /// Matched node pairs (a block pair counts min(block sizes)).
    int numberOfMatchs = 0;
    /// Matched first-graph nodes that agree with kbt (final, and after the start).
    int numberOfGoodMatchs = 0;
    int init_numberOfGoodMatchs = 0;
    /// Edge counters filled by the output.
    int matchedEdges = 0;
    int perfectMatchedEdges = 0;
    /// The cost model; not owned.
    Cost* costs = nullptr;
    /// Cost of the empty matching (both hold the same value).
    double f = 0;
    double no_matching_cost = 0;
    /// Processor milliseconds spent in the start, the initialisation, move updates, move
    /// choice and comparison (the last stays 0).
    double greedy_time = 0;
    double init_time = 0;
    double update_time = 0;
    double find_time = 0;
    double comp_time = 0;
    /// Pair evaluations (compDelta calls); find_occ stays 0.
    int update_occ = 0;
    int find_occ = 0;
    /// The move chosen last; before the first choice a scratch record with x = y = -1.
    /// Points into M, or to a scratch record made with new, which the matcher owns: the
    /// destructor deletes chosenCell when it is not a cell of M.
    cell* chosenCell = nullptr;
    /// Former partners of the chosen y and x, for the progress line.
    int oldMatch1 = kNoPartner;
    int oldMatch2 = kNoPartner;
    /// Block vertices by number (first graph: numbers >= N1; second: >= N2); owned.
    std::map<int, Vertex*> V1;
    std::map<int, Vertex*> V2;
    /// Block edges by end numbers (at least one end a block number); owned matrices, the
    /// edges are owned by the matcher too.
    SparseMatrix<Edge*>* E1 = nullptr;
    SparseMatrix<Edge*>* E2 = nullptr;
    /// Stores e as the block edge (from, to) of one side in E1/E2. Every write to E1/E2 goes
    /// through here.
    void setBlockEdge(bool left, int from, int to, Edge* e);
    /// The block edge stored for (from, to) on one side, or null.
    Edge* findBlockEdge(bool left, int from, int to) const;
    /// Cost family passed to every Cost call (3 in the matching run).
    int cost_mode = kClassDiagramCosts;
    /// Initialisation switch; false.
    bool recomputeAll = false;
    double BIAS = 0; ///< set to 0; read by nothing
    /// Matched pairs whose two labels are equal (block pairs count min(block sizes)).
    int good = 0;
    /// Search iteration counter.
    int iterations = 0;
    /// Current tabu tenures: of a pair just separated, of a pair just matched.
    int tabu_in = 0;
    int tabu_out = 0;
    /// Start statistics: matches with equal labels, those whose first-graph node has no edge,
    /// unmatched first-graph nodes without edges.
    int nb_matched = 0;
    int nb_matched_isolated = 0;
    int nb_unmatched_isolated = 0;
    /// Evaluation-start figures: two arrays of 24 doubles; owned; null until that start runs.
    double** sim_eval = nullptr;
    /// Iteration of the best solution, -1 if none.
    int bestIterations = -1;
    /// The search's start argument.
    double initType = 0;
    /// Cost of the starting solution.
    double initScore = 0;
    /// Cost of the reference matching kbt.
    double upperBound = 0;
    /// Plain nodes touched by the last applied move; owned; null before the first move.
    std::set<int>* concerned1 = nullptr;
    std::set<int>* concerned2 = nullptr;
    /// Per graph: term -> (term id, number of occurrences); filled and cleared by init.
    std::map<std::string, std::pair<short, short>> terms1;
    std::map<std::string, std::pair<short, short>> terms2;
    /// Per node: takes part in the term statistics and the search. Lengths N1, N2; owned;
    /// null means every node is relevant.
    bool* relevant1 = nullptr;
    bool* relevant2 = nullptr;
    /// Pseudo-terms "*" (all terms) and "_" (all entities) of the term tables.
    std::string ALLTRM;
    std::string ALLENT;
    /// Alternative name similarities of setSims (first-graph node x second-graph node):
    /// attribute-set, method-set and label similarity. Owned; null until setSims.
    SparseMatrix<float>* _att = nullptr;
    SparseMatrix<float>* _meth = nullptr;
    SparseMatrix<float>* sim_name = nullptr;
    /// Block holding each node, indexed by node number (the node itself when in no block);
    /// lengths N1 and N2 once the matching is set up.
    std::vector<int> blocks1;
    std::vector<int> blocks2;
    /// Block number by member-set key ("3,5,7").
    std::map<std::string, int> nBlocks1;
    std::map<std::string, int> nBlocks2;
    /// Scratch strings of the similarity code.
    std::string _label1, _label2, _path1, _path2;

    // =====================================================================================
    // Construction and state (Match.cpp)
    // =====================================================================================

    /// The run's constructor: prices the empty matching with `costModel` in cost family `mode`.
    Match(Graph* A, Graph* B, Cost* costModel, int seed, int mode);
    /// Builds its own default Cost; cost_mode keeps its default.
    Match(Graph* A, Graph* B, int seed);
    /// An empty matcher: only numberOfMatchs is set.
    Match();
    virtual ~Match();

    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    /// Sets numberOfMatchs to 0 (the empty matcher's initialisation).
    void init();
    /// Allocates and initialises all state for graphs A and B, then prepares the term
    /// similarity (which seeds obvious pairs and opens the movable pairs).
    void init(Graph* A, Graph* B);

    /// Plain vertex for num below the graph order, else the block vertex, or null.
    Vertex* getVertex1(int num);
    Vertex* getVertex2(int num);
    Vertex* getVertex(int x, bool left) { return left ? getVertex1(x) : getVertex2(x); }
    /// Graph edge for two plain ends, else the block edge; null when none.
    Edge* getEdge1(int from, int to);
    Edge* getEdge2(int from, int to);
    Edge* getEdge(int from, int to, bool left) {
        return left ? getEdge1(from, to) : getEdge2(from, to);
    }
    /// Partner of a plain node or block (through its smallest member); -1 when none.
    int getM12(int x);
    int getM21(int y);
    /// -1 when unmatched, else the number of plain nodes the vertex stands for.
    int getNodes1(int x);
    int getNodes2(int y);
    /// 0 for null; -1 when both ends are unmatched; else |product of the end counts|.
    int getENodes1(Edge* e1);
    int getENodes2(Edge* e2);
    /// Block-level edges incident to v (new vector, caller frees it; the edges stay owned by
    /// the graph or E1/E2), or null when none.
    std::vector<Edge*>* getVEdges(Vertex* v, bool left);
    std::vector<Edge*>* getVEdges1(Vertex* v) { return getVEdges(v, true); }
    std::vector<Edge*>* getVEdges2(Vertex* v) { return getVEdges(v, false); }

    /// Full cost of the current matching, its figures printed on one line; -1 (and no line)
    /// when a graph or the cost model is missing.
    double cost(int mode);
    /// The same pricing without the line. Like cost(), it records the node similarities in
    /// _N and registers block edges not registered yet.
    CostFigures costFigures(int mode);
    /// Cost over plain nodes only, with a verbose trace. A diagnostic; no caller in the run.
    double ocost(int mode);
    /// Cost of matching nothing (every relation priced with both ends unmatched, whatever
    /// the current matching holds); stores it in no_matching_cost and clears bestMatch.
    double noMatchCost(int mode);
    /// Installs a cost model and prices the empty matching with it.
    void changeCosts(Cost* model);
    /// Percentage of logged first-graph pairs that M12 reproduces (0 when none logged).
    double checkMatching();
    /// Number of first-graph nodes.
    int checkPresence();

    // =====================================================================================
    // Node similarity, term statistics, obvious matches (MatchSimilarity.cpp, MatchTerms.cpp,
    // MatchObvious.cpp)
    // =====================================================================================

    /// Likeness of two blocks in [0, 1] (a float value); `mode` is not consulted. Served from
    /// the _N cache when present; the result is not stored.
    double intSim(int mode, Vertex* first, Vertex* second);
    /// intSim, stored in _N when it was not there yet.
    float storedLikeness(int mode, Vertex* first, Vertex* second);
    /// Seeds pairs along the containment tree and marks the relevant nodes.
    void getRelevant();
    /// Builds terms1 / terms2 from the relevant nodes (null arrays: every node).
    void getTerms(Graph* A, Graph* B, bool* relv1, bool* relv2);
    /// Builds nodeTerms1 / nodeTerms2 from the relevant nodes (null arrays: every node).
    void matrixEntityTerm(Graph* A, Graph* B, bool* relv1, bool* relv2);
    /// Adds `inc` to counter i (and to the sum) of cell (n, t), creating it when absent.
    void updateSemarel(SparseMatrix<semarel>* nT, int n, int t, short i, short inc);
    /// Term-based candidate pairs: opens them as moves and writes them to
    /// "./results/sem_<g1>__<g2>_PAIRS.csv"; frees the term tables.
    void semilarity();
    /// Union of the member numbers of the given blocks (new set, caller frees it), or null.
    std::set<int>* involvedNodes(std::vector<Vertex*>* vecVertex);
    /// The same union into `into`, ascending and without repeats (empty for none): reading a
    /// move asks for it at every pricing, and the list allocates nothing once it has grown.
    static void involvedList(const Vertex* const* first, const Vertex* const* last,
                             std::vector<int>& into);
    /// Structural bounds of every pair into _M (greedy matcher's neighbourhood bound).
    void fillSimMatrixH();
    /// Neighbourhood assignment bounds of every pair into _M.
    void fillSimMatrixH1();
    /// Neighbourhood assignment bound of the pair (x, y) (a float value).
    double bestNMatches1(int x, int y);
    /// Pairs nodes that can only correspond to each other and exports the leftovers.
    std::string obviousMatch(Graph* a, Graph* b);
    std::string obviousMatch1(Graph* a, Graph* b);
    /// Alternative likeness from the identifier similarity of the short names and owners.
    double intSim2(int mode, Vertex* first, Vertex* second);
    /// Fills sim_name, _att and _meth from normalised edit distances of names.
    void setSims();
    /// Fills _M with the alternative name similarity of every pair.
    void fillSimMatrix();

    // =====================================================================================
    // Block vertices and block edges (MatchMerge.cpp)
    // =====================================================================================

    /// Block vertex for B's members plus (add) or minus x on one side, built and registered
    /// when new; B itself when x is -1; getVertex(x, left) when B is null.
    Vertex* updateBlock(Vertex* B, int x, bool left, bool add);
    /// A new vertex numbered nnumber standing for the given plain vertices (the vertex
    /// itself for a one-element list, null for null).
    Vertex* mergeNodes(std::vector<Vertex*>* nodes, int nnumber);
    /// Releases the own edges (with their E1/E2 entries) and the word sets of block v of one
    /// side when no node is held by it; getVertex and the likeness rebuild them, the same as
    /// they were first built, when they are needed again. Pricing a move calls it for the
    /// block the move would build. Does nothing to a plain vertex.
    void releaseIdleBlock(Vertex* v, bool left);

    // =====================================================================================
    // Moves: validity and index refresh (MatchMoves.cpp), cost changes (MatchDelta.cpp),
    // application (MatchApply.cpp), reading a move (MoveContext.cpp)
    // =====================================================================================

    bool isValidMove(int i, int j);
    /// Cost change of the move (v1's number, v2's number); the matching is left unchanged.
    double computeDelta(int mode, Vertex* v1, Vertex* v2);
    /// The same by vertex numbers.
    double computeDelta(int mode, int x, int y) {
        return computeDelta(mode, getVertex1(x), getVertex2(y));
    }
    /// Cost change of matching two unmatched blocks with each other.
    double compDelta(int mode, Vertex* v1, Vertex* v2);
    /// Applies the move in chosenCell with its tabu marks.
    void enactMove();
    /// Matches (add) or separates two vertices and maintains the index.
    void updateState(Vertex* v1, Vertex* v2, bool add);
    /// Re-evaluates the moves around the last move and the expiring tabu marks.
    void updateDeltaMatrix();
    /// Takes the cell (x, y) out of the index when it exists.
    void removeFromFF(int x, int y);
    /// Sets whether the plain pair (x, y) may be moved.
    void updateMoves(int x, int y, bool able);
    /// The first-graph nodes movable with second-graph node y, ascending.
    const std::vector<int>& movableWith(int y) const;
    /// The second-graph nodes movable with first-graph node x, ascending.
    const std::vector<int>& movableFrom(int x) const;
    /// True only for a stored true entry of `move`.
    bool movable(int x, int y);

    // =====================================================================================
    // Tabu search and its starts (MatchSearch.cpp, MatchStart.cpp, MatchEvalStart.cpp)
    // =====================================================================================

    /// Searches from the start chosen by _init, restores the best solution and writes it.
    void Tabu(double _init, int alg, int discrim);
    /// Builds the start chosen by initType and fills the move index.
    void initGammaMatrix_v2(int alg, int discrim);
    /// chosenCell = the index's best move (unchanged when the index is empty).
    void findMatch();

    // =====================================================================================
    // Assignment-based matching (MatchAssign.cpp)
    // =====================================================================================

    /// Matches by one assignment over structural scores, prices and writes it; returns 0.
    int hungarian(std::string sim_path, int sense);

    // =====================================================================================
    // Result output (MatchOutput.cpp, MatchReports.cpp)
    // =====================================================================================

    /// Writes the raw files and the four reports under "./results/".
    void output(int mode);
    /// Writes the raw entity lists, the pair file and the merge file.
    void rawPrint();
    /// "n_label_specif___" for every member of the block.
    std::string writeVertex1(int x);
    std::string writeVertex2(int y);
    /// Reads a logged matching into log_matching and returns its cost (0 without a file).
    double getLog(std::string log);
    /// Prints the move table to standard output.
    void printGammaMatrix();

    // =====================================================================================
    // Evaluation against a reference matching (MatchEval.cpp, MatchEvalRaw.cpp)
    // =====================================================================================

    /// Scores a cost report against a gold file; appends a row to "./eval_results.csv" when
    /// every input could be read.
    void evalSolution(std::string file, std::string dataset);
    /// The counts and figures of evalSolution, without writing the row. `file` is relative
    /// to "./results/", `dataset` a folder under "./datasets/".
    EvalFigures evalFigures(std::string file, std::string dataset);
    /// The reference pairs whose resolved nodes have different display names (new set).
    std::set<std::string>* checkAlternatives(std::set<std::string>* altmatch, std::string source);
    /// The node named by a qualified signature, or null.
    Vertex* getVertexFromSignature(std::string sign, Graph* g);
    Vertex* getVertexFromSignature2(std::string sign, Graph* g);
    /// Raw files in a second form compared with a reference difference file.
    void rawPrint2();

    // =====================================================================================
    // Small shared helpers (Match.cpp)
    // =====================================================================================

    /// Order of the first (left) or second graph; 0 when the graph is missing.
    int order(bool left) const;
    /// Block currently holding plain node n on one side (n itself when in no block).
    int getBlock(int n, bool left);
    /// getEdge1 / getEdge2 by side.
    Edge* getEdgeSide(int from, int to, bool left);
    /// getM12 / getM21 by side.
    int partnerOf(int x, bool left);
    /// getNodes1 / getNodes2 by side.
    int nodesOf(int x, bool left);
    /// getENodes1 / getENodes2 by side.
    int edgeNodes(Edge* e, bool left);
    /// The block numbered `num` of one side, made whole (getVertex1 / getVertex2 past the
    /// plain nodes); null when there is none.
    Vertex* blockVertex(int num, bool left);
    /// The distinct blocks of one side, ascending by block number.
    std::vector<Vertex*> distinctBlocks(bool left);
    /// The block-level edges of one side by (from block, to block), ascending.
    std::map<std::pair<int, int>, Edge*> blockEdges(bool left);

private:
    /// Cost model made by the two-graph constructor without a model; owned.
    Cost* ownCost_ = nullptr;
    /// The movable pairs by second-graph node (the rows x with move(x, y) true, per y) and by
    /// first-graph node (the columns y with move(x, y) true, per x), ascending: the search
    /// walks them once per move played.
    std::vector<std::vector<int>> movableByColumn_;
    std::vector<std::vector<int>> movableByRow_;
    /// Answers of updateBlock by (block number, node, add) per side: a member set, once its
    /// block exists, keeps that block for the whole run, so the search need not build the
    /// set and its key again each time it prices the same grow or shrink move.
    FlatMap<Vertex*> grownBlocks_[2];
    /// Working lists of compDelta, kept between calls so that pricing a pair allocates
    /// nothing once they have grown: the edges of each side, and the edges priced.
    std::vector<Edge*> pricedEdges_[2];
    std::vector<Edge*> formerDeletions_;
    std::vector<Edge*> formerInsertions_;
    std::vector<Edge*> counterparts_;
    /// The priced edges of each side by their ends, sorted, built when a long list is searched.
    std::vector<std::pair<unsigned long long, Edge*>> pricedByEnds_[2];
    bool pricedByEndsReady_[2] = {false, false};

    /// Prices of pairs met during one round of re-pricing (updateDeltaMatrix). The matching
    /// stands still for the whole round, and a pair is priced from it with the nodes the move
    /// sets free, so the same pair with the same held nodes set free always costs the same:
    /// every grow move on one block asks again the price of the pair it breaks up. Keyed by
    /// mode, the pair's numbers and those held nodes. A pricing that filed a block edge is
    /// not kept: the edges it filed are listed in another order by the pricings after it.
    /// Emptied as a round starts and read only while roundPricesOn_ holds.
    struct RoundKeyHash {
        size_t operator()(const std::vector<int>& key) const;
    };
    std::unordered_map<std::vector<int>, double, RoundKeyHash> roundPrices_;
    bool roundPricesOn_ = false;
    /// Sets a flag for the life of the object, then puts back what it held.
    class FlagOn {
    public:
        explicit FlagOn(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
        ~FlagOn() { flag_ = was_; }
        FlagOn(const FlagOn&) = delete;
        FlagOn& operator=(const FlagOn&) = delete;

    private:
        bool& flag_;
        const bool was_;
    };
    std::vector<int> roundKey_;
    /// Block edges filed so far (setBlockEdge calls).
    long blockEdgesFiled_ = 0;
    /// compDelta(mode, v1, v2) for the move read in `mv`, answered from roundPrices_ when
    /// a round is running and the same question was answered before.
    double roundPrice(int mode, Vertex* v1, Vertex* v2, const MoveContext& mv);

    /// The edge of the priced list of one side from `from` to `to`, or null. While a pair is
    /// priced every block-level edge of its vertex is in that list, so this answers as
    /// getEdge would, from a short list instead of the whole tables.
    Edge* pricedEdge(bool left, int from, int to);

    /// getVEdges into `into` (cleared first).
    void collectVEdges(Vertex* v, bool left, std::vector<Edge*>& into);
    /// Gives the plain members of `block` (one side) `partner` as their partner and `block`
    /// as their block, or, with `partner` kNoPartner, makes them free plain nodes again.
    /// Applying a move and pricing one both set a pair this way (MatchDelta.cpp).
    void setMembers(const Vertex* block, bool left, int partner);

    // The steps of compDelta (MatchDelta.cpp). Each adds to the running `delta` it is given
    // and returns it, so the sum is taken in one fixed order.
    /// The node term of matching v1 with v2, caching their likeness in _N.
    double nodeTermDelta(int mode, Vertex* v1, Vertex* v2);
    /// Prices the edges of v1 (pricedEdges_[0]) with v1 and v2 matched.
    double firstSideEdgeDelta(int mode, double delta);
    /// Reduces counterparts_ and formerInsertions_ to one entry per edge.
    void keepCounterpartsOnce();
    /// Prices the edges of v2 (pricedEdges_[1]) that the first side did not price.
    double secondSideEdgeDelta(int mode, double delta);
    /// Takes off what the edges priced cost while v1 and v2 were free.
    double formerEdgeDelta(int mode, const Vertex* v1, const Vertex* v2, double delta);

    /// Adds to `total` the price of one side's block relations in map order: a relation with
    /// an unmatched end is deleted (first side) or inserted (second side); one between
    /// matched ends is priced from the first side with its counterpart, so the second side
    /// prices only those without one. Counts the first side's matched ones in `bothMatched`.
    double edgePartCost(int mode, bool left, const std::map<std::pair<int, int>, Edge*>& edges,
                        double total, int& bothMatched);

    void allocateTables(int n1, int n2);
    /// updateBlock without its memory of earlier answers.
    Vertex* blockFor(Vertex* B, int x, bool left, bool add);
    /// The parts of mergeNodes: the union of the members' word sets into `merged`, and the
    /// members' edges, rewritten to `merged.number` at member ends and combined by ends.
    static void uniteMemberTerms(Vertex& merged, const std::vector<Vertex*>& nodes);
    static void mergeMemberEdges(Vertex& merged, const std::vector<Vertex*>& nodes);

    /// What a block vertex has released while no node is held by it (MatchMerge.cpp).
    struct HeldBlock {
        /// The member the building move added (listed last when it was built), or kNoPartner.
        int appended = kNoPartner;
        /// The block's vertex, as filed in V1/V2 (a lookup by number without the map).
        Vertex* vertex = nullptr;
        /// Its own edges, with their entries in E1/E2, are released.
        bool edgesOut = false;
        /// Its own edges are filed in E1/E2: false after a rebuild while moves were priced.
        bool edgesFiled = true;
        /// Its word sets are released.
        bool wordsOut = false;
    };
    /// Per side, by block number minus the side's order.
    std::vector<HeldBlock> heldBlocks_[2];
    /// False once a plain node's word sets may have been built after the blocks were: a
    /// union rebuilt then could hold more words than the first, so words are kept.
    bool wordsReleasable_ = true;
    /// True while computeDelta runs: a block rebuilt then is asked for only by its own
    /// pricing, which reads its edges from the block itself, so they are filed in E1/E2 only
    /// when the block is next asked for otherwise.
    bool pricing_ = false;
    HeldBlock* heldBlock(const Vertex* v, bool left);
    /// The block's members in the order it was first built from: ascending, the member its
    /// building move added last.
    const std::vector<Vertex*>& buildOrder(const Vertex& block, const HeldBlock& held, bool left);
    /// v itself, with its own edges rebuilt first when it is a block that released them.
    Vertex* wholeBlock(Vertex* v, bool left);
    /// Rebuilds v's word sets when it is a block that released them.
    void blockWords(Vertex* v, bool left);
    /// Rebuilds every released word set and stops releasing them.
    void keepBlockWords();
    /// Node part of cost(): deletions of unmatched first-graph blocks and substitutions.
    double nodePartCost(int mode);
    void releaseChosenCell();
    void releaseBlocks();
    /// Frees nodeTerms1, nodeTerms2 and semilT with their counter arrays.
    void freeTermTables();

    // Term statistics steps (MatchTerms.cpp).
    /// relevant1 / relevant2 from the current partners and the neighbour sets.
    void markRelevant(bool left);
    void collectTerms(Graph* g, const bool* relevant,
                      std::map<std::string, std::pair<short, short>>& terms);
    SparseMatrix<semarel>* entityTerms(Graph* g, const bool* relevant,
                                       const std::map<std::string, std::pair<short, short>>& terms);
    /// Adds the words of `neighbour` to node's counters `slot`, and its entity to `entitySlot`.
    void addNeighbourTerms(SparseMatrix<semarel>* table,
                           const std::map<std::string, std::pair<short, short>>& terms,
                           const Vertex* neighbour, int node, short slot, short entitySlot,
                           short weight);
    /// Builds semilT from the term tables.
    void shareTermCounters();
    /// Writes the pairs that reach sim_thres, opens them as moves; returns their number.
    int writeTermPairs(std::ostream& out);

    // Structural bound helpers (MatchSimilarity.cpp).
    /// Cost matrix of bestNMatches1 for two nodes with neighbours; P + Q rows of P + Q.
    std::vector<std::vector<double>> neighbourhoodMatrix(int x, int y);
};

// The accessors below sit in the search's inner loops, so they are inlined.

inline int Match::order(bool left) const {
    const Graph* g = left ? g1 : g2;
    return g != nullptr ? g->vertices : 0;
}

inline int Match::getBlock(int n, bool left) {
    const std::vector<int>& blocks = left ? blocks1 : blocks2;
    return n >= 0 && static_cast<size_t>(n) < blocks.size() ? blocks[static_cast<size_t>(n)] : n;
}

inline Vertex* Match::getVertex1(int num) {
    if (num < 0) return nullptr;
    if (num < order(true)) return g1->vertex(num);
    return blockVertex(num, true);
}

inline Vertex* Match::getVertex2(int num) {
    if (num < 0) return nullptr;
    if (num < order(false)) return g2->vertex(num);
    return blockVertex(num, false);
}

inline int Match::partnerOf(int x, bool left) {
    if (x < 0) return kNoPartner;
    const int* partners = left ? M12 : M21;
    if (partners == nullptr) return kNoPartner;
    if (x < order(left)) return partners[x];
    // A block answers through its smallest member.
    const Vertex* block = left ? getVertex1(x) : getVertex2(x);
    if (block == nullptr || block->nodes == nullptr || block->nodes->empty()) return kNoPartner;
    const int first = *block->nodes->begin();
    if (first < 0 || first >= order(left)) return kNoPartner;
    return partners[first];
}

inline int Match::getM12(int x) {
    return partnerOf(x, true);
}

inline int Match::getM21(int y) {
    return partnerOf(y, false);
}

inline int Match::nodesOf(int x, bool left) {
    if (partnerOf(x, left) == kNoPartner) return -1;
    if (x < order(left)) return 1;
    const Vertex* block = left ? getVertex1(x) : getVertex2(x);
    if (block == nullptr || block->nodes == nullptr) return 1;
    return static_cast<int>(block->nodes->size());
}

inline int Match::getNodes1(int x) {
    return nodesOf(x, true);
}

inline int Match::getNodes2(int y) {
    return nodesOf(y, false);
}

inline int Match::edgeNodes(Edge* e, bool left) {
    if (e == nullptr) return 0;
    const int a = nodesOf(e->from, left);
    const int b = nodesOf(e->to, left);
    if (a == -1 && b == -1) return -1;
    return std::abs(a * b);
}

inline int Match::getENodes1(Edge* e1) {
    return edgeNodes(e1, true);
}

inline int Match::getENodes2(Edge* e2) {
    return edgeNodes(e2, false);
}
