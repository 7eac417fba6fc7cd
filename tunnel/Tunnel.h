// The version tunnel: a series of class diagrams and the matchings between consecutive
// versions, chained so that every class of the first version is followed through the series.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "match/stdafx.h"

class Cost;
class Graph;

/// Per-node integers of one graph: one entry per node number.
using NodeInts = std::vector<int>;

/// Metrics of one class of the first graph, in the order of the columns of the metrics file.
/// An "EC" family holds the change costs along the class's history, a "CR" family its ranks.
struct TunnelFamily {
    double first = 0; ///< LastEC (EC families) or the first version's value (CR, Hub)
    double total = 0; ///< EC: the sum of the chain's costs and the last insertion cost
    double mean = 0;  ///< divided by the number of versions, V + 1
    double std = 0;   ///< standard deviation around mean over V + 1 versions
};

/// Number of change families (DelAtt … ModRelOut) of the metrics file.
constexpr int kChangeFamilies = 15;

struct TunnelClassRow {
    int q = 0;         ///< class number in the first graph
    std::string label; ///< class name in the first graph
    TunnelFamily ec, bec, cr, hub;
    int nbAtt = 0, lastNbAtt = 0, nbMet = 0, lastNbMet = 0;
    int nbRel = 0, lastNbRel = 0, nbRelIn = 0, lastNbRelIn = 0, nbRelOut = 0, lastNbRelOut = 0;
    /// Per change family: the sum along the chain, and the first matching's value.
    int nb[kChangeFamilies] = {}, lastNb[kChangeFamilies] = {};
    int p[kChangeFamilies] = {}, lastP[kChangeFamilies] = {};
    int newClass = 0;    ///< 1 when the class has no counterpart in the second graph
    int lastVersion = 0; ///< last graph in which the class exists
    int steps = 1;       ///< matching steps of its chain: 0 always, then while it goes on
    double X = 0;        ///< insertion cost in its last version: class and outgoing relations
    double Xb = 0;       ///< members and outgoing relation weight in its last version
};

class Tunnel {
public:
    /// The matchings between one pair of consecutive versions: g1 = gseries[position] and
    /// g2 = gseries[position + 1]. Each read match file appends one table of n1 entries
    /// (n1 = nodes of g1, indexed by a node of g1) to every list below.
    struct matching {
        std::vector<Graph*>* gseries = nullptr; ///< the tunnel's versions; not owned
        int position = 0;
        Graph* g1 = nullptr; ///< not owned
        Graph* g2 = nullptr; ///< not owned
        /// Partner in g2 (-1 when none), change cost, member-and-relation change count.
        std::vector<NodeInts> matchList, costList, bCostList;
        /// Member and relation sizes of the node in g1.
        std::vector<NodeInts> nbAttList, nbMetList, nbRelInList, nbRelOutList, nbRelList;
        /// Member changes against the partner (Del: the partner's members not kept).
        std::vector<NodeInts> nbDelAttList, nbAddAttList, nbDelMetList, nbAddMetList, nbRenMetList,
            nbModMetList;
        /// Relation changes, all, incoming and outgoing.
        std::vector<NodeInts> nbDelRelList, nbAddRelList, nbModRelList, nbDelRelInList,
            nbAddRelInList, nbModRelInList, nbDelRelOutList, nbAddRelOutList, nbModRelOutList;
        /// The changes in percent of the partner's members or relations.
        std::vector<NodeInts> p_DelAttList, p_AddAttList, p_DelMetList, p_AddMetList, p_RenMetList,
            p_ModMetList, p_DelRelList, p_AddRelList, p_ModRelList, p_DelRelInList, p_AddRelInList,
            p_ModRelInList, p_DelRelOutList, p_AddRelOutList, p_ModRelOutList;

        /// Whether match file `entry` was read into the lists.
        bool holds(int entry) const {
            return entry >= 0 && static_cast<size_t>(entry) < matchList.size();
        }
    };

    /// The versions in list order; owned.
    std::vector<Graph*> gseries;
    /// One record per consecutive pair; owned.
    std::vector<matching*> matchings;
    /// Per matching, the index of the match file used among those read into it.
    std::vector<int> mseries;
    /// m[q][k]: node of graph k that class q of the first graph leads to, -1 once the chain
    /// breaks; V + 1 entries per class.
    std::vector<NodeInts> m;
    /// _m[k][o]: the class of the first graph that node o of graph k descends from, or -1.
    std::vector<NodeInts> _m;
    /// Cost model built from the weights in the last match file name; owned.
    Cost* costs = nullptr;
    Graph* firstG = nullptr;
    Graph* lastG = nullptr;
    /// Scale of the ranks written as integers.
    int CR_multiplier = 1000;
    /// Classes of the first graph whose edges are written to their own file.
    std::vector<int> check;
    /// The classes that reach the last graph, in class order; _tunnelled[q] is q's index
    /// among them or -1.
    NodeInts tunnelled, _tunnelled;
    /// Per class of the first graph, the sums of its change costs along its chain.
    NodeInts _cost, b_cost;
    /// Per node of the last graph: insertion cost (class and incoming relations), and the
    /// member-and-relation size.
    NodeInts original_cost, b_original_cost;
    /// Per class of the first graph, the number of versions it lives through.
    NodeInts threads;
    int tunnelSize = 0;
    /// tunnelEdges[a][b]: values seen on the edge between tunnelled classes a and b.
    std::vector<std::map<int, std::vector<occurrence>>> tunnelEdges;
    /// Path of the series list.
    std::string build_path;

    /// Exit code of the run: 0 done, 1 bad series list, 2 an input unreadable, 3 a report
    /// not written. Set when the constructor stops early or a report is lost.
    int status = 0;
    /// The rows of the metrics file, one per class of the first graph.
    std::vector<TunnelClassRow> rows;

    /// Loads the series list, its graphs and match files, then writes the tunnel's reports.
    explicit Tunnel(std::string load_paths);
    ~Tunnel();
    Tunnel(const Tunnel&) = delete;
    Tunnel& operator=(const Tunnel&) = delete;

    /// Reads the node lines of one match result file into a new table of every list of `mat`.
    /// Lines with too few fields or node numbers outside the graphs are reported and skipped;
    /// false when the file cannot be opened.
    bool getMatches(matching* mat, std::string file_path);
    /// Follows every class of the first graph through the matchings chosen by `ms` (one index
    /// per matching) and writes the reports under "./results/".
    void createTunnel(const std::vector<int>& ms);

private:
    /// Text of the parameters of the last "m" entry ("dwn__dwe__ew__asy__lw__seed.csv").
    std::string lastParameters;
    bool sawMatchEntry = false;

    bool readSeriesList();
    bool addGraph(const std::string& path);
    bool addMatch(const std::string& path, int lineNumber);
    bool buildCostModel();
    void computeOriginalCosts();

    // The series read by int index, as the chains count versions.
    /// Version k.
    Graph* version(int k) const { return gseries[static_cast<size_t>(k)]; }
    /// The matchings between versions k and k + 1.
    const matching* step(int k) const { return matchings[static_cast<size_t>(k)]; }
    /// The match file chosen among those of step k (an index into its lists).
    int chosenFile(int k) const { return mseries[static_cast<size_t>(k)]; }

    // Steps of createTunnel (TunnelChains.cpp, TunnelHistory.cpp).
    struct Chains;
    void followChains(Chains& c);
    TunnelClassRow classRow(const Chains& c, int q);
    void writeChainFile(const Chains& c);
    void writeMetricsFile();
    void writeClassEdgeFiles(const Chains& c);
    void buildReverseChains();
    void writeRawTunnel();
    void writeThreads(std::ostream& out);
    void collectTunnelEdges();
    void writeTunnelEdges(std::ostream& out);
    void changeColumns(TunnelClassRow& row, int steps);
    void writeHistories();
    /// Opens a report under "./results/"; on failure sets status 3.
    bool openResult(std::ofstream& out, const std::string& name);
};
