// Graph reports: dataset summary rows with distribution files, per-node metric files, the
// console listing, and the rank of a node inside its neighbourhood.
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "graph/Graph.h"
#include "graph/ReportFile.h"
#include "util/Console.h"

namespace {

const char* const kAllGraphs = "./graphs/all_graphs.csv";
const char* const kAllVersions = "./graphs/all_versions.csv";
const char* const kGraphsDir = "./graphs/";
const char* const kMetricsDir = "logs/";
const char* const kDatasetHeader =
    "Name;|V|;|E|;|LV|;|LE|;Loops;Multi-arcs;Isolated "
    "Nodes;Min_in_degree;Mean_in_degree;Std_in_degree;"
    "Max_in_degree;Min_out_degree;Mean_out_degree;Std_out_degree;Max_out_degree;Min_degree;Mean_"
    "degree;Std_degree;"
    "Max_degree;Mean_label;Std_label;Mean_multi;Std_multi;Max_multi;\n";
/// Rounds of neighbours collected around a node for its local rank in the metric file.
constexpr int kLocalRankCover = 1;

template <typename T> std::string text(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

/// The entries "value <> count" each followed by sep, for every value or only positive counts.
std::string distributionEntries(const int* counts, int size, bool all, const std::string& sep) {
    std::string entries;
    for (int v = 0; v < size; v++)
        if (all || counts[v] > 0) entries += text(v) + " <> " + text(counts[v]) + sep;
    return entries;
}

/// True when the per-node rank arrays exist; reports the missing ranking otherwise.
bool ranked(const Graph& g, const void* array, const char* what) {
    if (array != nullptr) return true;
    console() << "\n Graph " << g.name << " has no " << what << "; metric file not written";
    return false;
}

} // namespace

/// One summary row of 25 values, each followed by sep (the caller has collected the stats).
static std::string summaryRow(const Graph& g, const std::string& sep) {
    std::vector<std::string> values = {g.name,
                                       text(g.vertices),
                                       text(g.edges),
                                       text(g.vertices),
                                       text(g.nb_labels),
                                       text(g.loops),
                                       text(g.multi_arcs),
                                       text(g.all_distrib[0]),
                                       text(g.min_in_distrib),
                                       text(g.mean_in_distrib),
                                       text(g.std_in_distrib),
                                       text(g.max_in_distrib),
                                       text(g.min_out_distrib),
                                       text(g.mean_out_distrib),
                                       text(g.std_out_distrib),
                                       text(g.max_out_distrib),
                                       text(g.min_all_distrib),
                                       text(g.mean_all_distrib),
                                       text(g.std_all_distrib),
                                       text(g.max_all_distrib),
                                       text(g.mean_label_distrib),
                                       text(g.std_label_distrib),
                                       text(g.mean_multi_distrib),
                                       text(g.std_multi_distrib),
                                       text(g.max_multi)};
    std::string row;
    for (const std::string& value : values)
        row += value + sep;
    return row + "\n";
}

/// The five distribution sections of a per-graph dataset file.
static std::string distributionSections(const Graph& g, const std::string& sep) {
    std::string sections =
        "\nIn Distribution\n" + distributionEntries(g.in_distrib, g.max_in_distrib + 1, true, sep);
    sections += "\nOut Distribution\n" +
                distributionEntries(g.out_distrib, g.max_out_distrib + 1, false, sep);
    sections += "\nEdge Distribution\n" +
                distributionEntries(g.all_distrib, g.max_all_distrib + 1, false, sep);
    if (g.nb_labels > 1)
        sections += "\nLabel Distribution\n" +
                    distributionEntries(g.label_distrib, g.nb_labels + 1, false, sep);
    if (g.multi_arcs > 0)
        sections += "\nMulti-Arc Distribution\n" +
                    distributionEntries(g.multi_distrib, g.max_multi + 1, false, sep);
    return sections;
}

void Graph::graphDetails() {
    collectStats();
    std::string row = summaryRow(*this, ",");
    std::ofstream all;
    if (openReport(all, kAllGraphs, std::ios::out | std::ios::app)) all << row;
    std::ofstream own;
    if (openReport(own, kGraphsDir + name + ".csv", std::ios::out | std::ios::trunc))
        own << row << distributionSections(*this, ",");
}

void Graph::mozillaDetails() {
    collectStats();
    std::string row = summaryRow(*this, ";");
    std::ofstream all;
    if (openReport(all, kAllGraphs, std::ios::out | std::ios::app)) all << row;
    std::ofstream versions;
    if (openReport(versions, kAllVersions, std::ios::out | std::ios::app)) versions << row;
    std::ofstream own;
    if (openReport(own, kGraphsDir + name + ".csv", std::ios::out | std::ios::trunc))
        own << kDatasetHeader << row << distributionSections(*this, ";");
}

void Graph::printU() {
    if (!ranked(*this, u, "node ranks") || !ranked(*this, rank, "rank order")) return;
    int n = std::min(vertices, static_cast<int>(V.size()));
    if (local_u == nullptr) {
        // The local rank is filled here, the one report that shows it.
        local_u = new double[n > 0 ? n : 1]();
        for (int i = 0; i < n; i++)
            local_u[i] = getLocalRank(i, kLocalRankCover);
    }
    std::ofstream out;
    if (!openReport(out, kMetricsDir + name + "_metrics.csv", std::ios::out | std::ios::trunc))
        return;
    for (int i = 0; i < n; i++) {
        Vertex* v = V[i];
        out << v->number << "," << v->label << "," << u[i] << "," << local_u[i] << "," << rank[i]
            << "," << v->edges.size() << "," << v->in.size() << "," << v->out.size() << "\n";
    }
}

void Graph::printU2() {
    if (!ranked(*this, u, "node ranks") || !ranked(*this, uu, "per-label ranks")) return;
    int n = std::min(vertices, static_cast<int>(V.size()));
    // Only the label codes that were ranked have a vector.
    int lastLabel = std::min(nb_labels, rankedLabels - 1);
    std::ofstream out;
    if (!openReport(out, kMetricsDir + name + "_metrics.csv", std::ios::out | std::ios::trunc))
        return;
    for (int i = 0; i < n; i++) {
        Vertex* v = V[i];
        out << v->number << "," << v->label << "," << u[i];
        for (int k = 1; k <= lastLabel; k++)
            out << "," << (uu[k] != nullptr ? uu[k][i] : 0.0);
        out << "," << v->edges.size() << "," << v->in.size() << "," << v->out.size() << "\n";
    }
}

void Graph::print() {
    console() << "\n\n PRINT ZE GRAPH \n\n";
    console() << "Nodes: " << vertices << " Edges: " << edges << "\n";
    for (Vertex* v : V)
        v->print();
    for (Edge* e : E)
        e->print();
}

double Graph::getLocalRank(int node, int cover) {
    console() << "\n ***___MiniGraph___*** : " << node << " \n";
    std::set<int> collected;
    int n = static_cast<int>(V.size());
    if (node >= 0 && node < n) collected.insert(node);
    for (int round = 0; round < cover; round++) {
        std::set<int> reached = collected;
        for (int k : collected)
            for (Edge* e : V[k]->edges) {
                reached.insert(e->from);
                reached.insert(e->to);
            }
        collected.swap(reached);
    }
    if (collected.size() < 2) {
        console() << node << "," << 1 << "\n";
        return 1.0;
    }
    std::map<int, int> renumbered;
    for (int k : collected)
        renumbered.emplace(k, static_cast<int>(renumbered.size()));
    std::string arcs;
    int lines = 0;
    for (int k : collected)
        for (Edge* e : V[k]->out) {
            auto target = renumbered.find(e->to);
            if (target == renumbered.end()) continue;
            for (char code : e->label) {
                arcs += "\ne," + text(renumbered[k]) + "," + text(target->second) + "," + code;
                lines++;
            }
        }
    Graph mini(7, text(collected.size()) + "," + text(lines) + arcs);
    int local = renumbered[node];
    double rankValue = mini.u != nullptr ? mini.u[local] : 0.0;
    console() << node << "," << local << "," << rankValue << "\n";
    return rankValue;
}
