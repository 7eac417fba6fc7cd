// Writing a generated pair: both graphs in the node-list format, their adjacency and label
// distance matrices, the reference correspondence and the appended run summaries.
#include "gen/GenGraph.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "gen/GenFiles.h"
#include "util/Console.h"

namespace {

/// Inverse of a renumbering: position in the file -> original node.
int* inverse(const int* renumber, int nodes) {
    int* original = new int[nodes > 0 ? nodes : 0];
    for (int i = 0; i < nodes; i++)
        original[renumber[i]] = i;
    return original;
}

} // namespace

std::string GenGraph::prefix(const std::string& filename) const {
    std::ostringstream pre;
    pre << filename << "_" << n << "_" << e << "_" << q << "_" << nl << "_" << nld << "_" << el
        << "_" << eld << "_" << pd << "_" << pi << "_" << undirected << "_" << seed;
    return pre.str();
}

std::string GenGraph::getMeDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream date;
    date << local.tm_year << "_" << local.tm_mon << "_" << local.tm_mday << "_" << local.tm_hour
         << "_" << local.tm_min << "_" << local.tm_sec;
    return date.str();
}

void GenGraph::write(std::string filename) {
    // Nothing to write when generation was refused or the pair was already written.
    if (edges1 == nullptr || edges2 == nullptr || to_shuffle1 == nullptr || to_shuffle2 == nullptr)
        return;
    const std::string pre = prefix(filename);
    const bool matrices = nl == 1 && el == 1 && undirected == 1;
    writeGraph(pre + "A.csv", n1, m1, to_shuffle1, nodes1, edges1);
    if (matrices) writeMatrix(pre + "mA.csv", n1, to_shuffle1, edges1);
    writeGraph(pre + "B.csv", n2, m2, to_shuffle2, nodes2, edges2);
    if (matrices) writeMatrix(pre + "mB.csv", n2, to_shuffle2, edges2);
    writeReference(pre + ".csv");
    if (matrices) {
        writeLabelDistances(pre + "C.csv");
        console() << "\n CCC \n";
    }
    appendRunSummaries(pre);
    release();
}

void GenGraph::writeGraph(const std::string& path, int nodes, int arcs, const int* renumber,
                          const int* labels, int** edges) const {
    std::ofstream out;
    if (!openOutput(out, path, std::ios::out | std::ios::trunc)) return;
    out << nodes << "," << arcs << "\n";
    // Node labels are written from 1.
    for (int i = 0; i < nodes; i++)
        out << renumber[i] << "," << labels[i] + 1 << "\n";
    for (int i = 0; i < nodes; i++)
        for (int j = 0; j < nodes; j++)
            if (i != j && edges[i][j] != 0)
                out << renumber[i] << "," << renumber[j] << "," << edges[i][j] << "\n";
}

void GenGraph::writeMatrix(const std::string& path, int nodes, const int* renumber,
                           int** edges) const {
    std::ofstream out;
    if (!openOutput(out, path, std::ios::out | std::ios::trunc)) return;
    int* original = inverse(renumber, nodes);
    for (int r = 0; r < nodes; r++) {
        for (int c = 0; c < nodes; c++)
            out << edges[original[r]][original[c]] << "  ";
        out << "\n";
    }
    delete[] original;
}

void GenGraph::writeReference(const std::string& path) const {
    std::ofstream out;
    if (!openOutput(out, path, std::ios::out | std::ios::trunc)) return;
    out << "s," << struct_errors << "\n"
        << "l," << label_errors << "\n"
        << "f," << score << "\n"
        << "e," << edge_errors << "\n"
        << "n," << n_node_errors << "\n"
        << "v," << v_node_errors << "\n";
    // The legacy forms drew graph 2 already renumbered: common node i is to_shuffle[i] there.
    for (int i = 0; i < n; i++) {
        int partner = to_shuffle != nullptr ? to_shuffle[i] : i;
        out << to_shuffle1[i] << "," << to_shuffle2[partner] << "\n";
    }
}

void GenGraph::writeLabelDistances(const std::string& path) const {
    std::ofstream out;
    if (!openOutput(out, path, std::ios::out | std::ios::trunc)) return;
    int* original1 = inverse(to_shuffle1, n1);
    int* original2 = inverse(to_shuffle2, n2);
    for (int r = 0; r < n1; r++) {
        for (int c = 0; c < n2; c++)
            out << std::abs(nodes1[original1[r]] - nodes2[original2[c]]) << " ";
        out << "\n";
    }
    delete[] original1;
    delete[] original2;
}

void GenGraph::appendRunSummaries(const std::string& pre) const {
    std::ofstream bat;
    if (openOutput(bat, "bat.txt", std::ios::out | std::ios::app))
        bat << "\nexe -o " << pre << "A.csv"
            << " -n " << pre << "B.csv"
            << " -s 1";
    std::ofstream scores;
    if (openOutput(scores, "score.txt", std::ios::out | std::ios::app))
        scores << "\n" << pre << "," << score;
}

void GenGraph::release() {
    if (edges1 != nullptr)
        for (int i = 0; i < n1; i++)
            delete[] edges1[i];
    if (edges2 != nullptr)
        for (int i = 0; i < n2; i++)
            delete[] edges2[i];
    delete[] edges1;
    delete[] edges2;
    delete[] to_shuffle;
    delete[] to_shuffle1;
    delete[] to_shuffle2;
    edges1 = edges2 = nullptr;
    to_shuffle = to_shuffle1 = to_shuffle2 = nullptr;
}
