// Cost model construction: constructors, parameter presets, the edge-label matrix, and the
// pricing of an edit path read from a file.
#include "cost/Cost.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "cost/CostText.h"
#include "util/Console.h"
#include "util/LineReader.h"
#include "util/Utilities.h"

namespace {

/// Nearest integer, halves away from zero.
double R(double x) {
    return std::round(x);
}

/// A new square matrix of zeros.
double** newMatrix(int size) {
    double** rows = new double*[size];
    for (int i = 0; i < size; ++i)
        rows[i] = new double[size]();
    return rows;
}

double** copyMatrix(double** source, int size) {
    if (source == nullptr) return nullptr;
    double** rows = newMatrix(size);
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            rows[i][j] = source[i][j];
    return rows;
}

void freeMatrix(double** rows, int size) {
    if (rows == nullptr) return;
    for (int i = 0; i < size; ++i)
        delete[] rows[i];
    delete[] rows;
}

/// The deleted-node count that the generators' edit paths open with: the deletions themselves
/// are priced through their "n" lines, so the count adds nothing.
const std::string kDeletedNodeCount = "nd";

} // namespace

Cost::Cost() {
    init();
}

Cost::Cost(int ccns, int ccnd, int ccni, int cced, int ccei, int ccesl, int ccess, int lw, int aw,
           int mw, int dwn, int dwe, int edw, int asy) {
    _cnd = ccnd;
    _cni = ccni;
    _cns = ccns;
    _ced = cced;
    _cei = ccei;
    _cess = ccess;
    _cesl = ccesl - cced - ccei;
    _cesi = -cced - ccei;
    _lw = lw;
    _aw = aw;
    _mw = mw;
    char line[512];
    std::snprintf(line, sizeof line,
                  "COST PARAMETERISED : cnd=%f cni=%f cns=%f ced=%f cei=%f cess=%f cesl=%f lw=%f "
                  "aw=%f mw=%f\n",
                  _cnd, _cni, _cns, _ced, _cei, _cess, _cesl, _lw, _aw, _mw);
    console() << line;
    console().flush();
    edgeMatrix2 = newMatrix(kEdgeMatrix2Size);
    initMode1(dwn / 100.0, dwe / 100.0, edw / 100.0, asy / 100.0, _lw);
    bonus = ccesl + ccess + cced + ccei;
}

Cost::Cost(double* nodeM, double** edgeM, double* edgeD, double* edgeI) {
    (void)edgeM; // rebuilt below by initMode1
    for (int i = 0; i < 3 && nodeM != nullptr; ++i)
        nodeMatrix[i] = nodeM[i];
    for (int i = 0; i < 4 && edgeD != nullptr; ++i)
        edgeDeletionMatrix[i] = edgeD[i];
    for (int i = 0; i < 4 && edgeI != nullptr; ++i)
        edgeInsertionMatrix[i] = edgeI[i];
    initMode1(0, 0, 0, 0, 0);
}

Cost::Cost(const Cost& other) {
    copyFrom(other);
}

Cost& Cost::operator=(const Cost& other) {
    if (this != &other) {
        release();
        copyFrom(other);
    }
    return *this;
}

Cost::~Cost() {
    release();
}

void Cost::copyFrom(const Cost& other) {
    for (int i = 0; i < 3; ++i)
        nodeMatrix[i] = other.nodeMatrix[i];
    for (int i = 0; i < 10; ++i) {
        edgeDeletionMatrix[i] = other.edgeDeletionMatrix[i];
        edgeInsertionMatrix[i] = other.edgeInsertionMatrix[i];
    }
    str_error = other.str_error;
    lab_error = other.lab_error;
    node_error = other.node_error;
    edgeToken = other.edgeToken;
    nodeToken = other.nodeToken;
    renameToken = other.renameToken;
    dropWeight = other.dropWeight;
    dropWeightN = other.dropWeightN;
    dropWeightE = other.dropWeightE;
    delAttr = other.delAttr;
    addAttr = other.addAttr;
    delMeth = other.delMeth;
    addMeth = other.addMeth;
    classInsertion = other.classInsertion;
    classDeletion = other.classDeletion;
    classMatch = other.classMatch;
    packageInsertion = other.packageInsertion;
    packageDeletion = other.packageDeletion;
    packageMatch = other.packageMatch;
    methodInsertion = other.methodInsertion;
    methodDeletion = other.methodDeletion;
    methodMatch = other.methodMatch;
    attributeInsertion = other.attributeInsertion;
    attributeDeletion = other.attributeDeletion;
    attributeMatch = other.attributeMatch;
    edgeWeight = other.edgeWeight;
    asymmetry = other.asymmetry;
    labelToInt = other.labelToInt;
    _cni = other._cni;
    _cnd = other._cnd;
    _cns = other._cns;
    _cnsi = other._cnsi;
    _cei = other._cei;
    _ced = other._ced;
    _cesi = other._cesi;
    _cess = other._cess;
    _cesl = other._cesl;
    _lw = other._lw;
    _aw = other._aw;
    _mw = other._mw;
    bonus = other.bonus;
    for (int i = 0; i < 90; ++i)
        labelSubstitutionOrder[i] = other.labelSubstitutionOrder[i];
    // The matrices are owned: each copy gets its own.
    edgeMatrix = copyMatrix(other.edgeMatrix, kEdgeMatrixSize);
    edgeMatrix2 = copyMatrix(other.edgeMatrix2, kEdgeMatrix2Size);
    M12 = other.M12;
    M21 = other.M21;
    store_costs = other.store_costs;
}

void Cost::release() {
    freeMatrix(edgeMatrix, kEdgeMatrixSize);
    freeMatrix(edgeMatrix2, kEdgeMatrix2Size);
    edgeMatrix = nullptr;
    edgeMatrix2 = nullptr;
}

void Cost::init() {
    _cnd = 2;
    _cni = 2;
    _cnsi = -4;
    _cns = 0;
    _ced = 1;
    _cei = 1;
    _cesi = -2;
    _cess = 10;
    _cesl = 5;
    _lw = 60;
    _aw = 5;
    _mw = 35;
    initMode1(0, 0, 0, 0, 0);
}

void Cost::init1() {
    _cni = 2;
    _cnd = 2;
    _cns = -4;
    _cnsi = -4;
    _cei = 1;
    _ced = 1;
    _cesi = -12;
    _cess = 0;
    _cesl = -5;
}

void Cost::initMode1(double dwn, double dwe, double ew, double asy, double lab_w) {
    _lw = lab_w;
    _aw = (1 - _lw) / 3;
    _mw = (1 - _lw) - _aw;

    renameToken = 100;
    dropWeightN = dwn;
    dropWeightE = dwe;
    edgeWeight = ew;
    asymmetry = asy;

    // Every kind weighs the same unit; initMode3 derives the insertion and deletion costs.
    initMode3(100, 100, 100, 100, dwn, dwe, ew, asy);
}

void Cost::initMode2(double s_err, double l_err, double n_err) {
    str_error = s_err;
    lab_error = l_err;
    node_error = n_err;
}

void Cost::initMode3(double attrM, double methM, double classM, double packM, double dwn,
                     double dwe, double ew, double asy) {
    attributeMatch = attrM;
    methodMatch = methM;
    classMatch = classM;
    packageMatch = packM;
    dropWeightN = dwn;
    dropWeightE = dwe;
    edgeWeight = ew;
    asymmetry = asy;

    // Multiplied out before the single division: a value near a half rounds the same way
    // for every caller only when the operations always come in this order.
    packageInsertion = R(asymmetry * packageMatch * dropWeightN / (asymmetry + 1));
    packageDeletion = R(packageMatch * dropWeightN / (asymmetry + 1));
    classInsertion = R(asymmetry * classMatch * dropWeightN / (asymmetry + 1));
    classDeletion = R(classMatch * dropWeightN / (asymmetry + 1));
    methodInsertion = R(asymmetry * methodMatch * dropWeightN / (asymmetry + 1));
    methodDeletion = R(methodMatch * dropWeightN / (asymmetry + 1));
    attributeInsertion = R(asymmetry * attributeMatch * dropWeightN / (asymmetry + 1));
    attributeDeletion = R(attributeMatch * dropWeightN / (asymmetry + 1));

    buildEdgeMatrix();
}

void Cost::buildEdgeMatrix() {
    freeMatrix(edgeMatrix, kEdgeMatrixSize);
    edgeMatrix = newMatrix(kEdgeMatrixSize);
    // Label classes above 5 cannot be dropped or added in the matrix family: their
    // entries are prohibitive. Row 0 prices insertions, which carry the asymmetry.
    for (int i = 0; i < kEdgeMatrixSize; ++i) {
        for (int j = 0; j < kEdgeMatrixSize; ++j) {
            if (i == j)
                edgeMatrix[i][j] = 0;
            else if (i > 5 || j > 5)
                edgeMatrix[i][j] = kImpossibleCost;
            else if (i == 0)
                edgeMatrix[i][j] = std::ceil(asymmetry * classMatch * edgeWeight);
            else
                edgeMatrix[i][j] = std::ceil(classMatch * edgeWeight);
        }
    }
}

double Cost::cost(int mode, std::string filename) {
    (void)mode; // the path file always uses the unit costs
    double total = 0;
    std::ifstream in(filename);
    if (!in) console() << "\n Cannot open path-cost file " << filename << ": cost is 0\n";
    LineReader lines(in, filename);
    while (in && lines.next()) {
        const std::string op = lines.field(0);
        const std::string first = lines.field(1);
        const std::string second = lines.field(2);
        if (op == "n")
            total += second == "-1" ? _cnd : _cns + _cnd + _cni;
        else if (op == "d")
            total += _ced;
        else if (op == "a")
            total += _cei;
        else if (op == "m")
            total += (first.empty() || second.empty()) ? _cess + _ced + _cei : _cesl + _ced + _cei;
        else if (op == "i" || op == "esi") {
            int count = 0;
            if (!from_string(first, count)) lines.report("count is not a number; it counts 0");
            total += leadingInt(first) * (op == "i" ? _cni : _cesi + _ced + _cei);
        } else if (op != kDeletedNodeCount && !lines.blank())
            lines.report("operation \"" + op + "\" is none of n, d, a, m, i, esi, " +
                         kDeletedNodeCount + "; it adds nothing");
    }
    if (lines.reports() > 0) console() << "\n";
    console() << filename << " / Path Cost = " << total << "\n";
    return total;
}
