// Greedy maximum-common-edge-subgraph matcher: grows a one-to-one node matching pair by pair
// so as to keep as many common labelled edges as possible, and derives node similarities.
#pragma once

#include <set>
#include <utility>
#include <vector>

#include "match/stdafx.h"

class Edge;
class FastFind;
class Graph;

/// Constructive matcher for two labelled directed graphs. The whole run happens in the
/// constructor (tables, similarity, scores, greedy loop); afterwards the object only holds
/// results. Tables are n1 x n2 (or (n1+1) x (n2+1) when row n1 / column n2 hold totals) and
/// are indexed [node of graph 1][node of graph 2].
class MCES {
public:
    /// The similarity code split into its parts: type, discrimination type and extension mode.
    struct SimilarityCode {
        int digits;    ///< 1, 2 or 3 digits; 0 when the code is out of range (4 digits or more)
        int sim;       ///< similarity type, with the sign of the code
        int discrim;   ///< discrimination type (0 when the code has one digit)
        int extension; ///< neighbourhood extension mode (three-digit codes only; else 0)
    };

    /// Value of `paire::x1` returned by `find` when no pair is left (-1 as unsigned).
    static constexpr unsigned int kNoPair = static_cast<unsigned int>(-1);

    Graph* g1; ///< first graph; not owned
    Graph* g2; ///< second graph; not owned
    /// Move index used in the fast mode; owned (deleted by the destructor); created by both
    /// constructors with layers sized for the gains the pairs can reach.
    FastFind* ff;
    int idAlgo;      ///< scoring algorithm 0-9
    int seed;        ///< random seed as given (the caller seeds the generator)
    float r_alpha;   ///< width of the restricted candidate list; 0 = only the best scores
    bool findfast;   ///< take pairs from the move index instead of scanning every pair
    double minDelta; ///< smallest score over unmatched pairs (last scoring)
    double maxDelta; ///< largest score over unmatched pairs (last scoring)
    double minG;     ///< smallest gain over unmatched pairs (algorithms 0, 1, 8)
    double maxG;     ///< largest gain over unmatched pairs (algorithms 0, 1, 8)
    double numG;     ///< number of unmatched pairs with a positive potential
    double allG;     ///< total remaining potential
    double lost;     ///< potential lost by the last match

    /// Statistics (min, max, mean, standard deviation) over the unmatched pairs of each
    /// structural table, gathered by setPromoted; the `_` forms are over the normalised values.
    double minPotential, maxPotential, meanPotential, stdPotential;
    double minOEdges, maxOEdges, meanOEdges, stdOEdges;
    double minONodes, maxONodes, meanONodes, stdONodes;
    double minPEdges, maxPEdges, meanPEdges, stdPEdges;
    double minPEdges2, maxPEdges2, meanPEdges2, stdPEdges2;
    double minPENodes, maxPENodes, meanPENodes, stdPENodes;
    double minPENodes2, maxPENodes2, meanPENodes2, stdPENodes2;
    double minHENodes, maxHENodes, meanHENodes, stdHENodes;
    double _minOEdges, _maxOEdges, _meanOEdges, _stdOEdges;
    double _minONodes, _maxONodes, _meanONodes, _stdONodes;
    double _minPEdges, _maxPEdges, _meanPEdges, _stdPEdges;
    double _minPEdges2, _maxPEdges2, _meanPEdges2, _stdPEdges2;
    double _minPENodes, _maxPENodes, _meanPENodes, _stdPENodes;
    double _minPENodes2, _maxPENodes2, _meanPENodes2, _stdPENodes2;
    double _minHENodes, _maxHENodes, _meanHENodes, _stdHENodes;

    /// Partner in graph 2 of each node of graph 1, -1 when unmatched; length n1. Left
    /// allocated for the caller after destruction (the caller may keep the pointer).
    int* M12;
    /// Partner in graph 1 of each node of graph 2, -1 when unmatched; length n2; as M12.
    int* M21;
    int param_sim;     ///< similarity type decoded from `similarity`
    int param_discrim; ///< discrimination type decoded from `similarity`
    /// Mutually best similar pairs found by the discrimination step (x1 in graph 1, x2 in graph 2).
    std::vector<paire> bestPairs;
    /// One cell per pair, n1 rows of n2, fed to the move index; owned; null unless the greedy
    /// loop may use the fast mode (seeded constructor, algorithms 3 and 7).
    cell** M;
    /// Weight of the similarity in the index key: 1.0 in the greedy constructor, 0.0 in the
    /// seeded one.
    double BIAS;
    int nbMatched; ///< pairs matched so far
    /// Every node number of graph 1 / graph 2 (filled at initialisation); owned.
    std::set<int>* matched1;
    std::set<int>* matched2;
    /// The nodes of graph 1 / graph 2 still unmatched, in ascending order; owned.
    std::set<int>* unmatched1;
    std::set<int>* unmatched2;
    /// Number of remaining candidate pairs: n1*n2 at start, (n1-nbMatched)*(n2-nbMatched) later.
    int alpha;
    /// Score of each pair, n1 x n2; owned.
    double** gamma;
    /// Node similarity, n1 x n2 (every pair, matched or not). Left allocated for the caller
    /// after destruction.
    float** simil;
    /// Discrimination factor of each pair, n1 x n2; owned; filled by the discrimination step.
    float** discrim;
    int similarity;     ///< similarity code given to the constructor
    int nb_labels;      ///< min of the two graphs' edge label counts, plus one
    int nb_node_labels; ///< min of the two graphs' node label counts, plus one
    int won;            ///< sum of the gains of all matched pairs (edges preserved)
    /// Gain of each pair, (n1+1) x (n2+1); row n1 / column n2 hold the column / row totals
    /// over unmatched nodes; owned.
    float** g;
    /// Structural tables, (n1+1) x (n2+1), row n1 / column n2 holding totals. `connexions`,
    /// `potential`, `PEdges`, `PEdges2`, `PENodes`, `PENodes2` are owned; `OEdges`, `ONodes`
    /// and `HENodes` are left allocated for the caller after destruction.
    int** connexions;
    double** potential;
    int** OEdges;   ///< edges a pair can preserve, per label (in and out counts)
    int** ONodes;   ///< neighbour labels in common (+1 for equal node labels)
    int** PEdges;   ///< neighbourhood relation signatures in common
    int** PEdges2;  ///< the same weighted by relation count
    int** PENodes;  ///< signatures with neighbour label in common (+1 for equal labels)
    int** PENodes2; ///< the same weighted by relation count (+1 for equal labels)
    int** HENodes;  ///< neighbourhood assignment bound of the pair
    int node_error; ///< label penalty; negative: the difference of labels read as integers
    bool greedy;    ///< run the greedy loop in the constructor

    /// Greedy constructor: builds the tables and the similarity, then (when `greed`) runs
    /// the greedy loop in scan mode. `_random` is r_alpha, `nod_err` the label penalty.
    MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, double nod_err,
         bool greed = false);
    /// Seeded constructor: starts from the partial matching `kbt` (n1 entries, -1 =
    /// unmatched; pairs outside graph 2 or to a node already taken are skipped) and runs the
    /// greedy loop in fast mode with BIAS 0.
    MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, int* kbt,
         double nod_err);
    /// Deletes the index, the four sets and the working tables; leaves M12, M21, simil,
    /// OEdges, ONodes and HENodes for the caller.
    virtual ~MCES();
    /// Frees the results left for the caller (M12, M21, simil, OEdges, ONodes, HENodes) and
    /// sets them to null; for callers that have finished reading them.
    void releaseResults();
    MCES(const MCES&) = delete;
    MCES& operator=(const MCES&) = delete;

    /// Allocates and seeds every table for the two graphs and resets the matching.
    void initialize(Graph* _g1, Graph* _g2);
    /// Structural potentials and their statistics for every unmatched pair.
    void setPromoted();
    /// Neighbourhood assignment bound of the pair (x, y), in edges and labels kept.
    int bestNMatches(int x, int y);
    /// Fills `simil` for every pair with similarity type `simi_type` (negative: scaled by
    /// the table's maximum); types outside 1-9 give 0.
    void setSim(int simi_type);
    /// Sharpens `simil` toward pairs that stand out (types 0-7; others leave a factor of 1)
    /// and collects `bestPairs`; `lv2` 1/3 extends before, 2/3 after the sharpening.
    void setDiscrim(int discrimi_type, int lv2);
    /// Similarity of the neighbourhoods of x and y under the table `sim`, in [0, 1].
    double extendSim(float** sim, int x, int y);
    /// Scores of algorithms 0, 1 and 8: gain, potential, killed and removed edges mixed
    /// by a = `a` (0 for algorithm 0, 1/alpha otherwise).
    void setGamma1(float a);
    void setGamma2(); ///< gain + potential
    void setGamma3(); ///< gain + truncated decreasing similarity bonus; switches to fast mode
    void setGamma4(); ///< (similarity + 1) * gain
    void setGamma5(); ///< gain + similarity
    void setGamma6(); ///< gain + similarity, weighted 1000 during the first tenth
    void setGamma7(); ///< as setGamma3 without truncation, over a twentieth
    void setGamma9(); ///< gain only, scored once
    /// Gain the other candidates of x and y lose when (x, y) is matched.
    int getNKilled(int x, int y);
    /// Connections the other candidates of x and y lose when (x, y) is matched.
    int getERemoved(int x, int y);
    /// Number of relations two edges have in common; 0 when either is null.
    static int compareEdges(Edge* e1, Edge* e2);
    /// The next pair to match (x1, x2, score); x1 = kNoPair when nothing is left.
    paire find();
    /// Files every unmatched pair of non-zero potential in the move index (threshold test
    /// on); stops after 60 seconds of processor time.
    void feedFastFind();
    /// Matches (x, y) and rescores (algorithms 2-7 and 9).
    void update(int x, int y);
    /// Matches (x, y), removes its edges from the label counts and rescores (0, 1, 8).
    void update1(int x, int y);
    /// Enters (x, y) in the matching and propagates the gains to the neighbour pairs.
    void updateG(int x, int y);
    /// Recomputes the connections of the pairs touching the given neighbours.
    void updatePromoted(std::set<int>* nbor1, std::set<int>* nbor2);

    /// Splits a similarity code by its number of digits.
    static SimilarityCode decodeSimilarity(int s);

private:
    int n1 = 0; ///< order of graph 1
    int n2 = 0; ///< order of graph 2
    /// Private copies of the graphs' per-node label counts (in / out, nb_labels + 1 per node
    /// of each graph): the greedy loop of algorithms 0, 1 and 8 consumes them, and the
    /// graphs' own counts must stay intact for every other reader.
    int** cin1 = nullptr;
    int** cout1 = nullptr;
    int** cin2 = nullptr;
    int** cout2 = nullptr;
    /// The unmatched nodes of each graph in ascending order, as `unmatched1` / `unmatched2`:
    /// the per-pair loops run over these contiguous copies.
    std::vector<int> open1;
    std::vector<int> open2;
    /// Opposite-direction label products of each pair (in of one node times out of the
    /// other), n1 x n2, kept current for the scores of algorithms 1 and 8; owned; null until
    /// first needed.
    int** cross = nullptr;
    int width1 = 0; ///< length of a row of cin1 / cout1
    int width2 = 0; ///< length of a row of cin2 / cout2

    void construct(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed,
                   double nod_err);
    void allocateTables();
    void copyLabelCounts();
    void seedGains();
    void applySimilarity();
    void scoreAll();
    /// Rescores every pair under algorithms 2-7, the ones whose scores follow the matching;
    /// false (nothing done) for the others.
    bool rescore();
    void createIndex();
    void buildCells();
    void runGreedyLoop();
    paire findScan();
    paire findFast();
    bool labelsEqual(int i, int j) const;
    /// True when both edges exist and carry the same label.
    bool sameEdge(Edge* e1, Edge* e2) const;
    void promotePair(int i, int j, int t);
    void extendAll();
    void collectBestPairs();
    template <typename Score> void scoreUnmatched(Score score);
    void setGammaBonus(int divisor, bool truncate);
    void propagateGain(int a, int b, Edge* e1, Edge* e2, std::vector<std::pair<int, int>>& touched);
    void refileCells(int x, int y, const std::vector<std::pair<int, int>>& touched);
    void consumeLabelCounts(bool first, int x, std::set<int>& ngb);
    void dropConnexions(int x, int y);
    void recountConnexions(int i, int j);
    int crossLabels(int x, int y) const;
    void refreshCrossLabels(const std::set<int>& rows, const std::set<int>& cols);
};
