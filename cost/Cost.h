// The graph-edit cost model: deletion, insertion and substitution costs of nodes and arcs
// in four cost families (modes 0 to 3), and the pricing of an edit path read from a file.
#pragma once

#include <map>
#include <string>

class Vertex;
class Edge;

/// Price of a substitution that must never be chosen (different kinds, oversized blocks).
constexpr double kImpossibleCost = 32767;

/// Cost families: every cost query takes one (`mode`); any other value prices everything 0.
enum CostFamily : int {
    kUnitCosts = 0,         ///< unit costs per node and per label
    kMatrixCosts = 1,       ///< per-label cost matrices
    kNumericLabelCosts = 2, ///< numeric labels with error rates
    kClassDiagramCosts = 3, ///< class diagrams: node kinds, multi-labelled edges (the run's)
};

/// Rows and columns of the edge-label cost matrix (one per label code).
constexpr int kEdgeMatrixSize = 10;

/// Rows and columns of the secondary edge matrix of the parameterised constructor.
constexpr int kEdgeMatrix2Size = 8;

class Cost {
public:
    /// Copied in by the matrix constructor; read by nothing.
    double nodeMatrix[3] = {0, 0, 0};
    /// First four entries copied in by the matrix constructor; read by nothing.
    double edgeDeletionMatrix[10] = {};
    double edgeInsertionMatrix[10] = {};
    /// Error parameters of the numeric-label family (mode 2); 0 until initMode2.
    double str_error = 0, lab_error = 0, node_error = 0;
    double edgeToken = 0, nodeToken = 0;
    /// Base unit of class costs (100 once initMode1 ran).
    double renameToken = 0;
    double dropWeight = 0;
    /// Node and edge drop weights: scale deletion and insertion costs.
    double dropWeightN = 0;
    double dropWeightE = 0;
    double delAttr = 0, addAttr = 0, delMeth = 0, addMeth = 0;
    /// Per-kind insertion and deletion costs and kind weights.
    double classInsertion = 0, classDeletion = 0, classMatch = 0;
    double packageInsertion = 0, packageDeletion = 0, packageMatch = 0;
    double methodInsertion = 0, methodDeletion = 0, methodMatch = 0;
    double attributeInsertion = 0, attributeDeletion = 0, attributeMatch = 0;
    /// Weight of arcs against nodes.
    double edgeWeight = 0;
    /// An inserted element costs `asymmetry` times a deleted one; both are divided by
    /// asymmetry + 1.
    double asymmetry = 0;
    /// Empty; kept for callers that look labels up.
    std::map<std::string, int> labelToInt;
    /// Unit costs of the unit-cost family (mode 0) and of the path-cost file.
    double _cni = 0, _cnd = 0, _cns = 0, _cnsi = 0;
    double _cei = 0, _ced = 0, _cesi = 0, _cess = 0, _cesl = 0;
    /// Label, attribute and method weights; _aw + _mw + _lw = 1 after initMode1.
    double _lw = 0, _aw = 0, _mw = 0;
    /// ccesl + ccess + cced + ccei of the parameterised constructor; read by nothing.
    double bonus = 0;
    /// Empty; kept for callers.
    std::string labelSubstitutionOrder[90];
    /// Edge-label cost matrix, kEdgeMatrixSize rows; row 0 holds insertion costs per label,
    /// column 0 deletion costs. Owned; built by initMode3.
    double** edgeMatrix = nullptr;
    /// kEdgeMatrix2Size rows of zeros, built only by the parameterised constructor; owned;
    /// null otherwise.
    double** edgeMatrix2 = nullptr;
    /// The matcher's matching arrays, set by the matcher; not owned, read by nothing here.
    int* M12 = nullptr;
    int* M21 = nullptr;
    /// Empty; kept for callers.
    std::map<std::string, std::string> store_costs;

    /// Default preset (init()).
    Cost();
    /// Unit costs given as integers; the last four are percentages of the class-diagram
    /// weights.
    Cost(int ccns, int ccnd, int ccni, int cced, int ccei, int ccesl, int ccess, int lw, int aw,
         int mw, int dwn, int dwe, int edw, int asy);
    /// Copies the first entries of the given matrices; the edge matrix is rebuilt by
    /// initMode1, so edgeM has no lasting effect (it may be null).
    Cost(double* nodeM, double** edgeM, double* edgeD, double* edgeI);
    Cost(const Cost& other);
    Cost& operator=(const Cost& other);
    ~Cost();

    /// Default unit costs, then initMode1(0, 0, 0, 0, 0).
    void init();
    /// Alternative unit costs only.
    void init1();
    /// Class-diagram weights: drop weights, edge weight, asymmetry and label weight.
    void initMode1(double dwn, double dwe, double ew, double asy, double lab_w);
    /// Error parameters of the numeric-label family.
    void initMode2(double s_err, double l_err, double n_err);
    /// Per-kind weights, drop weights, edge weight and asymmetry; rebuilds edgeMatrix.
    void initMode3(double attrM, double methM, double classM, double packM, double dwn, double dwe,
                   double ew, double asy);

    /// Cost of deleting a node of the first graph (a block costs once per member).
    double cnd(int mode, Vertex* node);
    /// Cost of inserting a node of the second graph; 0 for a null node.
    double cni(int mode, Vertex* node);
    /// Cost of substituting node1 by node2; discount in [0, 1] is their similarity.
    double raw_cns(int mode, Vertex* node1, Vertex* node2, float discount);
    /// raw_cns net of deleting node1 and inserting node2.
    double cns(int mode, Vertex* node1, Vertex* node2, float discount);
    /// Cost of deleting an arc; mfrom/mto: -1 for an unmatched end, else the end's block size.
    double ced(int mode, Edge* edge, int mfrom, int mto);
    /// Cost of inserting an arc; mfrom/mto as for ced.
    double cei(int mode, Edge* edge, int mfrom, int mto);
    /// Cost of matching edge1 with edge2 (either may be null); nods1/nods2 are the node
    /// counts of the two sides.
    double raw_ces(int mode, Edge* edge1, Edge* edge2, int nods1, int nods2);
    /// raw_ces net of deleting edge1 and inserting edge2.
    double ces(int mode, Edge* edge1, Edge* edge2);
    /// Estimate of the arc costs of pairing two nodes from their per-kind, per-label arc counts.
    double estimateO(int mode, Vertex* node1, Vertex* node2);
    /// Cost of the edit path written in a file; prints the total.
    double cost(int mode, std::string filename);

private:
    /// Kind weight of a node or arc type.
    double kindWeight(int type) const;
    /// Drop weight factor of an arc from the state of its two ends.
    double endFactor(int mfrom, int mto) const;
    double cndMode3(Vertex* node);
    double cniMode3(Vertex* node);
    double rawCnsMode3(Vertex* node1, Vertex* node2, float discount);
    /// Sum over label classes 1..9 of an arc dropped (factor 1) or added (factor asymmetry).
    double dropSumMode3(Edge* edge, int mfrom, int mto, double factor);
    double rawCesMode3(Edge* edge1, Edge* edge2, int nods1, int nods2);
    double dropSumMode1(Edge* edge, bool deletion);
    double rawCesMode1(Edge* edge1, Edge* edge2);
    double mode2Error() const;
    double rawCnsMode2(Vertex* node1, Vertex* node2);
    double rawCesMode2(Edge* edge1, Edge* edge2);
    void buildEdgeMatrix();
    void copyFrom(const Cost& other);
    void release();
};
