// Graph statistics and reports: degree, label and multi-arc distributions, dataset summary
// rows, per-node metric files, the adjacency matrix file, the mode-0 writer and local ranks.
#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <set>

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/ReportFile.h"
#include "util/Console.h"
#include "util/LineReader.h"

namespace {

const char* const kLogsDir = "./logs/";

/// Count-weighted mean and population standard deviation of a distribution counts[0..size).
void moments(const int* counts, int size, double& mean, double& deviation) {
    double total = 0, sum = 0, squares = 0;
    for (int v = 0; v < size; v++) {
        total += counts[v];
        sum += static_cast<double>(v) * counts[v];
        squares += static_cast<double>(v) * v * counts[v];
    }
    mean = total > 0 ? sum / total : 0;
    double variance = total > 0 ? squares / total - mean * mean : 0;
    deviation = variance > 0 ? std::sqrt(variance) : 0;
}

/// A fresh zeroed array of size entries, replacing (and freeing) the previous one.
void resetDistribution(int*& array, int size) {
    delete[] array;
    array = new int[size]();
}

/// Writes the node's weights after "," each, stopping before the first negative one.
void writeWeights(std::ofstream& out, const float* weight) {
    for (int i = 0; i < kWeightSlots && weight[i] >= 0; i++)
        out << "," << weight[i];
}

/// Exact extreme degrees and label length of the graph as it is now.
void setDegreeExtremes(Graph& g) {
    int minIn = INT_MAX, minOut = INT_MAX, minAll = INT_MAX;
    g.max_in_distrib = g.max_out_distrib = g.max_all_distrib = g.max_multi = 0;
    for (Vertex* v : g.V) {
        int in = static_cast<int>(v->in.size()), out = static_cast<int>(v->out.size());
        int all = static_cast<int>(v->edges.size());
        g.max_in_distrib = std::max(g.max_in_distrib, in);
        g.max_out_distrib = std::max(g.max_out_distrib, out);
        g.max_all_distrib = std::max(g.max_all_distrib, all);
        minIn = std::min(minIn, in);
        minOut = std::min(minOut, out);
        minAll = std::min(minAll, all);
    }
    for (Edge* e : g.E)
        g.max_multi = std::max(g.max_multi, static_cast<int>(e->label.size()));
    g.min_in_distrib = g.V.empty() ? 0 : minIn;
    g.min_out_distrib = g.V.empty() ? 0 : minOut;
    g.min_all_distrib = g.V.empty() ? 0 : minAll;
}

} // namespace

void Graph::collectStats() {
    // Extremes come from the lists as they are now: a graph built or changed by other means
    // must never count a degree outside its distribution array, and a minimum is that of the
    // finished graph, not of some moment during reading.
    setDegreeExtremes(*this);
    resetDistribution(in_distrib, max_in_distrib + 1);
    resetDistribution(out_distrib, max_out_distrib + 1);
    resetDistribution(all_distrib, max_all_distrib + 1);
    resetDistribution(label_distrib, nb_labels + 1);
    resetDistribution(multi_distrib, max_multi + 1);
    console() << "\n"
              << max_in_distrib << "/" << max_out_distrib << "/" << max_all_distrib << "/"
              << nb_labels << "/" << max_multi << "\n";

    std::ofstream isolated;
    openReport(isolated, std::string(kLogsDir) + "isolated_" + name + ".csv",
               std::ios::out | std::ios::trunc);
    std::set<std::string> nodeLabels;
    for (Vertex* v : V) {
        int in = static_cast<int>(v->in.size()), out = static_cast<int>(v->out.size());
        int all = static_cast<int>(v->edges.size());
        console() << v->number << ":" << v->label << "\t" << in << "\t" << out << "\t" << all
                  << "\n";
        in_distrib[in]++;
        out_distrib[out]++;
        all_distrib[all]++;
        if (all == 0 && isolated.is_open()) isolated << v->number << "," << v->label << "\n";
        nodeLabels.insert(v->label);
    }
    nbNodeLabels = static_cast<int>(nodeLabels.size());

    loops = multi_arcs = 0;
    std::vector<std::string> distinct;
    std::set<std::string> seen;
    for (Edge* e : E) {
        if (e->from == e->to) loops++;
        if (e->label.size() > 1) multi_arcs++;
        for (char ch : e->label) {
            int code = ch - '0';
            if (code >= 0 && code <= nb_labels) label_distrib[code]++;
        }
        multi_distrib[e->label.size()]++;
        if (seen.insert(e->label).second) distinct.push_back(e->label);
    }
    console() << "\n [";
    for (const std::string& label : distinct)
        console() << ";" << label << ";";
    console() << "]\n";

    moments(in_distrib, max_in_distrib + 1, mean_in_distrib, std_in_distrib);
    moments(out_distrib, max_out_distrib + 1, mean_out_distrib, std_out_distrib);
    moments(all_distrib, max_all_distrib + 1, mean_all_distrib, std_all_distrib);
    moments(label_distrib, nb_labels + 1, mean_label_distrib, std_label_distrib);
    moments(multi_distrib, max_multi + 1, mean_multi_distrib, std_multi_distrib);

    // Entry 0 becomes the number of ordered node pairs without an arc.
    long long nodes = static_cast<long long>(V.size());
    long long absent = nodes * nodes - static_cast<long long>(E.size());
    label_distrib[0] = static_cast<int>(std::min<long long>(absent, INT_MAX));
}

void Graph::write(int mode, std::string fileName) {
    if (mode != kNodeListMode) return;
    std::ofstream out;
    if (!openReport(out, fileName, std::ios::out | std::ios::trunc)) return;
    // The header counts the node lines that follow, so the file always reads back.
    out << V.size() << "," << E.size() << "\n";
    for (Vertex* v : V) {
        out << v->number << "," << v->label;
        writeWeights(out, v->weight);
        out << "\n";
    }
    // One line per folded arc: a line holds one label code, and reading the lines back in
    // order folds them into the same Edge with the same label.
    for (Edge* e : E) {
        for (char code : e->label) {
            out << e->from << "," << e->to << "," << code;
            writeWeights(out, e->weight);
            out << "\n";
        }
    }
}

void Graph::toMatrixFile() {
    std::ofstream out;
    if (!openReport(out, "m" + name, std::ios::out | std::ios::trunc)) return;
    int n = static_cast<int>(V.size());
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            Edge* e = getEdge(i, j);
            out << (e != nullptr ? e->label : "0") << "  ";
        }
        out << "\n";
    }
}
