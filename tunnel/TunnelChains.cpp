// The tunnel's chains: every class of the first graph followed through the chosen matchings,
// its per-class metrics, and the chain and metrics files.
#include "tunnel/Tunnel.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "graph/ReportFile.h"
#include "tunnel/TunnelChains.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/Folders.h"

namespace {

using List = std::vector<NodeInts> Tunnel::matching::*;
using M = Tunnel::matching;

/// A change family of the metrics file: its column name, count list and percent list.
struct ChangeFamily {
    const char* name;
    List nb;
    List p;
};

const ChangeFamily kFamilies[kChangeFamilies] = {
    {"DelAtt", &M::nbDelAttList, &M::p_DelAttList},
    {"AddAtt", &M::nbAddAttList, &M::p_AddAttList},
    {"DelMet", &M::nbDelMetList, &M::p_DelMetList},
    {"AddMet", &M::nbAddMetList, &M::p_AddMetList},
    {"RenMet", &M::nbRenMetList, &M::p_RenMetList},
    {"ModMet", &M::nbModMetList, &M::p_ModMetList},
    {"DelRel", &M::nbDelRelList, &M::p_DelRelList},
    {"AddRel", &M::nbAddRelList, &M::p_AddRelList},
    {"ModRel", &M::nbModRelList, &M::p_ModRelList},
    {"DelRelIn", &M::nbDelRelInList, &M::p_DelRelInList},
    {"AddRelIn", &M::nbAddRelInList, &M::p_AddRelInList},
    {"ModRelIn", &M::nbModRelInList, &M::p_ModRelInList},
    {"DelRelOut", &M::nbDelRelOutList, &M::p_DelRelOutList},
    {"AddRelOut", &M::nbAddRelOutList, &M::p_AddRelOutList},
    {"ModRelOut", &M::nbModRelOutList, &M::p_ModRelOutList},
};

const char* const kMetricsHeader =
    "class,LastEC,EC,MeanEC,StdEC,logLastEC,logEC,logMeanEC,logStdEC,bLastEC,bEC,bMeanEC,"
    "bStdEC,blogLastEC,blogEC,blogMeanEC,blogStdEC,CR,MeanCR,StdCR,logCR,logMeanCR,logStdCR,"
    "Hub,MeanHub,StdHub,logHub,logMeanHub,logStdHub,nbBugs"
    ",nbAtt,lastNbAtt,nbMet,lastNbMet,nbRel,lastNbRel,nbRelIn,lastNbRelIn,nbRelOut,lastNbRelOut,"
    "nbDelAtt,lastNbDelAtt,nbAddAtt,lastNbAddAtt,nbDelMet,lastNbDelMet,nbAddMet,lastNbAddMet,"
    "nbRenMet,lastNbRenMet,nbModMet,lastNbModMet,nbDelRel,lastNbDelRel,nbAddRel,lastNbAddRel,"
    "nbModRel,lastNbModRel,"
    "nbDelRelIn,lastNbDelRelIn,nbAddRelIn,lastNbAddRelIn,nbModRelIn,lastNbModRelIn,"
    "nbDelRelOut,lastNbDelRelOut,nbAddRelOut,lastNbAddRelOut,nbModRelOut,lastNbModRelOut,"
    "p_DelAtt,lastP_DelAtt,p_AddAtt,lastP_AddAtt,p_DelMet,lastP_DelMet,p_AddMet,lastP_AddMet,"
    "p_RenMet,lastP_RenMet,p_ModMet,lastP_ModMet,p_DelRel,lastP_DelRel,p_AddRel,lastP_AddRel,"
    "p_ModRel,lastP_ModRel,"
    "p_DelRelIn,lastP_DelRelIn,p_AddRelIn,lastP_AddRelIn,p_ModRelIn,lastP_ModRelIn,"
    "p_DelRelOut,lastP_DelRelOut,p_AddRelOut,lastP_AddRelOut,p_ModRelOut,lastP_ModRelOut"
    ",newClass\n";

int scaled(const double* values, int node, int multiplier) {
    return values == nullptr ? 0 : static_cast<int>(std::floor(values[node] * multiplier));
}

/// Mean and deviation of `terms` over `D` versions (versions without a term count as 0).
TunnelFamily spread(double first, const std::vector<double>& terms, int D) {
    TunnelFamily f;
    f.first = first;
    double squares = 0;
    for (double t : terms) {
        f.total += t;
        squares += t * t;
    }
    f.mean = f.total / D;
    // Rounding can leave the variance a hair below zero.
    f.std = std::sqrt(std::max(0.0, squares / D - f.mean * f.mean));
    return f;
}

double log1(double v) {
    return std::log10(v + 1);
}

void writeCostFamily(std::ostream& out, const TunnelFamily& f) {
    out << "," << f.first << "," << f.total << "," << f.mean << "," << f.std << "," << log1(f.first)
        << "," << log1(f.total) << "," << log1(f.mean) << "," << log1(f.std);
}

void writeRankFamily(std::ostream& out, const TunnelFamily& f) {
    out << "," << f.first << "," << f.mean << "," << f.std << "," << log1(f.first) << ","
        << log1(f.mean) << "," << log1(f.std);
}

} // namespace

bool Tunnel::openResult(std::ofstream& out, const std::string& name) {
    if (openReport(out, kResultsFolder + name, std::ios::out | std::ios::trunc)) return true;
    status = kExitOutputNotWritten;
    return false;
}

void Tunnel::createTunnel(const std::vector<int>& ms) {
    mseries = ms;
    Chains c;
    followChains(c);
    rows.clear();
    for (size_t q = 0; q < m.size(); ++q)
        rows.push_back(classRow(c, static_cast<int>(q)));
    writeChainFile(c);
    writeMetricsFile();
    writeClassEdgeFiles(c);
    buildReverseChains();
    writeRawTunnel();
    writeHistories();
}

void Tunnel::followChains(Chains& c) {
    console() << "\n Setted Series \n";
    c.V = static_cast<int>(matchings.size());
    const size_t classes = m.size();
    const size_t versions = static_cast<size_t>(c.V) + 1;
    c.CR.assign(classes, NodeInts(versions, 0));
    c.Hub.assign(classes, NodeInts(versions, 0));
    c.EC.assign(classes, NodeInts(versions, 0));
    c.bEC.assign(classes, NodeInts(versions, 0));
    _cost.assign(classes, 0);
    b_cost.assign(classes, 0);
    for (size_t q = 0; q < classes; ++q) {
        c.CR[q][0] = scaled(firstG->u, static_cast<int>(q), CR_multiplier);
        c.Hub[q][0] = scaled(firstG->hub, static_cast<int>(q), CR_multiplier);
    }
    for (int k = 0; k < c.V; ++k) {
        const matching* mat = step(k);
        const int entry = chosenFile(k);
        console() << "\n Match " << k << " : " << entry;
        // A pair without a match file read leaves every class of its earlier graph unmatched.
        const bool read = mat->holds(entry);
        Graph* next = version(k + 1);
        for (size_t q = 0; q < classes; ++q) {
            const int o = m[q][k];
            if (o < 0 || !read) continue;
            m[q][k + 1] = valueAt(mat->matchList, entry, o);
            c.EC[q][k] = valueAt(mat->costList, entry, o);
            c.bEC[q][k] = valueAt(mat->bCostList, entry, o);
            _cost[q] += c.EC[q][k];
            b_cost[q] += c.bEC[q][k];
            if (m[q][k + 1] >= 0) {
                c.CR[q][k + 1] = scaled(next->u, m[q][k + 1], CR_multiplier);
                c.Hub[q][k + 1] = scaled(next->hub, m[q][k + 1], CR_multiplier);
            }
        }
    }
}

TunnelClassRow Tunnel::classRow(const Chains& c, int q) {
    const NodeInts& chain = m[static_cast<size_t>(q)];
    const int D = c.V + 1;
    TunnelClassRow row;
    row.q = q;
    row.label = firstG->vertex(q)->label;

    while (row.lastVersion < c.V && chain[row.lastVersion + 1] >= 0)
        ++row.lastVersion;
    // Chain steps: 0 always, then every step whose later end still exists.
    row.steps = std::max(1, row.lastVersion);
    const int steps = row.steps;
    const int last = row.lastVersion;

    Vertex* w = version(last)->vertex(chain[last]);
    row.X = costs->classInsertion;
    for (Edge* e : w->out)
        row.X += costs->cei(kCostMode, e, -1, -1);
    row.Xb = static_cast<double>(w->attributes.size() + w->methods.size()) + w->sum_out;
    const double X = row.X;
    const double Xb = row.Xb;

    row.newClass = (c.V == 0 || chain[1] < 0) ? 1 : 0;
    std::vector<double> ec, bec, cr, hub;
    for (int k = 0; k < steps && k < c.V; ++k) {
        ec.push_back(valueAt(c.EC, q, k));
        bec.push_back(valueAt(c.bEC, q, k));
    }
    ec.push_back(X);
    bec.push_back(Xb);
    for (int k = 0; k <= last; ++k) {
        cr.push_back(valueAt(c.CR, q, k));
        hub.push_back(valueAt(c.Hub, q, k));
    }
    row.ec = spread(row.newClass ? X : valueAt(c.EC, q, 0), ec, D);
    row.bec = spread(row.newClass ? Xb : valueAt(c.bEC, q, 0), bec, D);
    row.cr = spread(valueAt(c.CR, q, 0), cr, D);
    row.hub = spread(valueAt(c.Hub, q, 0), hub, D);

    Vertex* v = firstG->vertex(q);
    row.nbAtt = static_cast<int>(v->attributes.size());
    row.nbMet = static_cast<int>(v->methods.size());
    if (c.V > 0 && chain[1] >= 0) {
        Vertex* partner = version(1)->vertex(chain[1]);
        row.lastNbAtt = static_cast<int>(partner->attributes.size());
        row.lastNbMet = static_cast<int>(partner->methods.size());
        row.lastNbRel = labelLength(partner->edges);
        row.lastNbRelIn = labelLength(partner->in);
        row.lastNbRelOut = labelLength(partner->out);
    }
    changeColumns(row, c.V > 0 ? steps : 0);
    return row;
}

void Tunnel::changeColumns(TunnelClassRow& row, int steps) {
    if (matchings.empty() || !step(0)->holds(chosenFile(0))) return;
    const int q = row.q;
    const matching* first = step(0);
    const int e0 = chosenFile(0);
    row.nbRel = valueAt(first->nbRelList, e0, q);
    row.nbRelIn = valueAt(first->nbRelInList, e0, q);
    row.nbRelOut = valueAt(first->nbRelOutList, e0, q);
    for (int f = 0; f < kChangeFamilies; ++f) {
        row.lastNb[f] = valueAt(first->*kFamilies[f].nb, e0, q);
        row.lastP[f] = valueAt(first->*kFamilies[f].p, e0, q);
        for (int k = 0; k < steps; ++k) {
            const matching* mat = step(k);
            const int entry = chosenFile(k);
            if (!mat->holds(entry)) break;
            const int node = valueAt(m, q, k);
            row.nb[f] += valueAt(mat->*kFamilies[f].nb, entry, node);
            row.p[f] += valueAt(mat->*kFamilies[f].p, entry, node);
        }
    }
}

void Tunnel::writeChainFile(const Chains& c) {
    std::ofstream out;
    if (!openResult(out, "_tunnel_" + firstG->name + ".csv")) return;
    for (const TunnelClassRow& row : rows) {
        const int q = row.q;
        out << "p," << q << "," << row.label << "," << valueAt(c.CR, q, 0) << ",";
        for (int k = 1; k <= c.V && valueAt(m, q, k) >= 0; ++k)
            out << valueAt(c.CR, q, k) << ",";
        out << "\n";
        out << "c," << q << "," << row.label << ",";
        for (int k = 0; k < row.steps && k < c.V; ++k)
            out << valueAt(c.EC, q, k) << ",";
        out << row.X << ",\n";
    }
}

void Tunnel::writeMetricsFile() {
    std::ofstream out;
    if (!openResult(out, "tunnel_" + firstG->name + ".csv")) return;
    out << kMetricsHeader;
    for (const TunnelClassRow& r : rows) {
        out << r.label;
        writeCostFamily(out, r.ec);
        writeCostFamily(out, r.bec);
        writeRankFamily(out, r.cr);
        writeRankFamily(out, r.hub);
        out << ",0"; // nbBugs: no per-class bug data is loaded
        out << "," << r.nbAtt << "," << r.lastNbAtt << "," << r.nbMet << "," << r.lastNbMet << ","
            << r.nbRel << "," << r.lastNbRel << "," << r.nbRelIn << "," << r.lastNbRelIn << ","
            << r.nbRelOut << "," << r.lastNbRelOut;
        for (int f = 0; f < kChangeFamilies; ++f)
            out << "," << r.nb[f] << "," << r.lastNb[f];
        for (int f = 0; f < kChangeFamilies; ++f)
            out << "," << r.p[f] << "," << r.lastP[f];
        out << "," << r.newClass << "\n";
    }
    console() << "\n Created Tunnel \n";
}
