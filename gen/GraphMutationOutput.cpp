// Graph mutation, output: the record of changes as an edit-path file, the node table, and a
// renumbered copy of a graph.
#include "gen/GraphMutation.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "gen/GenFiles.h"
#include "gen/GraphBuild.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Vertex.h"
#include "util/Console.h"
#include "util/Random.h"

void GraphMutation::write(int /*mode*/, std::string filename) {
    std::ofstream out;
    if (!openOutput(out, filename, std::ios::out | std::ios::trunc)) return;
    out << "nd," << deletedNodes << "\n"
        << "esi," << unChangedEdges << "\n"
        << "i," << addedNodes << "\n";
    writeNodeLines(out);
    writeArcLines(out);
}

void GraphMutation::writeNodeLines(std::ostream& out) {
    const int listed = std::min(inputNodes, newNumbersLength);
    const int mutated = _new != nullptr ? static_cast<int>(_new->V.size()) : 0;
    for (int i = 0; i < listed; i++) {
        out << "n," << i << "," << new_numbers[i] << "," << _old->V[i]->label;
        if (new_numbers[i] >= 0 && new_numbers[i] < mutated)
            out << "," << _new->V[new_numbers[i]]->label;
        out << "\n";
    }
    // Every arc of a deleted node is deleted once, even when both its ends were deleted.
    for (int i = 0; i < inputNodes; i++) {
        if (deleted[i] != 1) continue;
        for (Edge* arc : _old->V[i]->edges) {
            int other = arc->from == i ? arc->to : arc->from;
            if (other < i && other >= 0 && deleted[other] == 1) continue;
            out << "d," << arc->label << "," << arc->from << "," << arc->to << "\n";
        }
    }
}

void GraphMutation::writeArcLines(std::ostream& out) {
    for (int i = 0; i < recordSide; i++) {
        for (int j = 0; j < recordSide; j++) {
            if (!addEdges[i][j].empty())
                out << "a," << addEdges[i][j] << "," << i << "," << j << "\n";
            if (modifEdges[i][j].empty()) continue;
            std::string oldLabel;
            if (i < oldNumbersLength && j < oldNumbersLength && old_numbers[i] >= 0 &&
                old_numbers[j] >= 0) {
                Edge* before = _old->getEdge(old_numbers[i], old_numbers[j]);
                if (before != nullptr) oldLabel = before->label;
            }
            out << "m," << oldLabel << "," << modifEdges[i][j] << "," << i << "," << j << "\n";
        }
    }
}

void GraphMutation::printNodeTables() {
    console() << "\nAdded : " << addedNodes << "\nDeleted : " << deletedNodes
              << "\nMerged : " << mergedNodes << "\nSplitted : " << splittedNodes << "\n";
    std::ofstream out;
    if (!openOutput(out, "logs/log_mutation.csv", std::ios::out | std::ios::trunc)) return;
    for (int i = 0; i < inputNodes; i++)
        out << i << ";" << deleted[i] << ";" << merged[i] << ";" << splitted1[i] << ";"
            << splitted2[i] << "\n";
}

Graph* GraphMutation::shuffle(Graph* original) {
    const int nodes = static_cast<int>(original->V.size());
    int* items = new int[nodes];
    for (int k = 0; k < nodes; k++)
        items[k] = k;
    for (int k = 0; k + 1 < nodes; k++)
        std::swap(items[k], items[k + randDraw() % (nodes - k)]);
    delete[] old_numbers;
    delete[] new_numbers;
    old_numbers = new int[nodes];
    new_numbers = new int[nodes];
    oldNumbersLength = newNumbersLength = nodes;
    Graph* g = newGeneratedGraph(original->name + "_shuffled", original->edge_weight);
    for (int p = 0; p < nodes; p++) {
        old_numbers[p] = items[p];
        new_numbers[items[p]] = p;
        Vertex* source = original->V[items[p]];
        appendVertex(g, std::to_string(items[p]), source->weight[0], source->weight[1]);
    }
    readyForArcs(g);
    for (Edge* arc : original->E) {
        if (arc->label.empty()) continue;
        insertRelations(g, new_numbers[arc->from], new_numbers[arc->to], arc->label, arc->weight,
                        arc->number);
    }
    delete[] items;
    return g;
}
