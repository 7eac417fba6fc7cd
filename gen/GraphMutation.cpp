// Graph mutation: the operation tables, the node operations and the mutated node set with the
// arcs that survive it, plus random arcs for the added nodes.
#include "gen/GraphMutation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gen/GenRandom.h"
#include "gen/GraphBuild.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Vertex.h"
#include "util/Console.h"

GraphMutation::GraphMutation(Graph* old, double _delNodes, double _addNodes, double edgeNoise)
    : _old(old), delNodes(_delNodes), addNodes(_addNodes) {
    const std::string nodeNames[4] = {"addNode", "deleteNode", "mergeNodes", "splitNode"};
    const std::string edgeNames[4] = {"addEdge", "deleteEdge", "modifyEdge", "same"};
    std::copy(nodeNames, nodeNames + 4, nodeOperations);
    std::copy(edgeNames, edgeNames + 4, edgeOperations);
    nodeOperationsWeights[0] = addNodes;
    nodeOperationsWeights[1] = delNodes;
    if (_old == nullptr) _old = newGeneratedGraph("empty", nullptr);
    inputNodes = static_cast<int>(_old->V.size());
    const double squared = static_cast<double>(inputNodes) * inputNodes;
    density = squared > 0 ? _old->edges / squared : 0;
    nodeNoiseLevel = addNodes + delNodes;
    edgeNoiseLevel = edgeNoise;
    nodeTokens = static_cast<int>(std::floor(nodeNoiseLevel * inputNodes));
    edgeTokens = static_cast<int>(std::floor(edgeNoiseLevel * squared));
    deleted = new int[inputNodes];
    merged = new int[inputNodes];
    splitted1 = new int[inputNodes];
    splitted2 = new int[inputNodes];
    new_numbers = new int[inputNodes];
    treated = new int[inputNodes];
    newNumbersLength = inputNodes;
    for (int* table : {deleted, merged, splitted1, splitted2, new_numbers, treated})
        std::fill(table, table + inputNodes, -1);
    readInputStatistics();
    _new = mutateEdges(mutateNodes(1));
}

GraphMutation::~GraphMutation() {
    delete[] deleted;
    delete[] merged;
    delete[] splitted1;
    delete[] splitted2;
    delete[] new_numbers;
    delete[] old_numbers;
    delete[] treated;
    releaseRecords();
}

void GraphMutation::readInputStatistics() {
    // Loops, multi-arcs and the label distribution come from the graph's statistics.
    if (_old->label_distrib == nullptr && inputNodes > 0) _old->collectStats();
    loop_proba = inputNodes > 0 ? static_cast<double>(_old->loops) / inputNodes : 0;
    const int folded = _old->multi_arcs + _old->edges;
    multi_proba = folded > 0 ? static_cast<double>(_old->multi_arcs) / folded : 0;
    nbLabels = std::max(1, std::min(_old->nb_labels, kLabelCodes - 1));
    for (int k = 0; k <= nbLabels && k <= _old->nb_labels; k++)
        edgeLabelsWeights[k] = _old->label_distrib != nullptr ? _old->label_distrib[k] : 0;
}

int GraphMutation::weightedDraw(const double* weights, int count, int excluded) {
    double sum = 0;
    int chosen = -1;
    for (int k = 0; k < count; k++) {
        if (k == excluded) continue;
        sum += weights[k];
        double a = alea();
        // Keeping k with probability weight(k)/sum leaves each k chosen in proportion to its
        // weight; a weight of 0 is never chosen.
        if (weights[k] > 0 && weights[k] / sum >= a) chosen = k;
    }
    return chosen;
}

int GraphMutation::drawLabel(int excluded) {
    // Code 0 stands for absent pairs: only codes 1..nbLabels take part.
    int k = weightedDraw(edgeLabelsWeights + 1, nbLabels, excluded - 1);
    return k < 0 ? -1 : k + 1;
}

int GraphMutation::chooseNodeOperation() {
    return weightedDraw(nodeOperationsWeights, 4, -1);
}

int GraphMutation::applyNodeOperation(int op) {
    switch (op) {
    case 0:
        addNode();
        break;
    case 1:
        deleteNode();
        break;
    case 2:
        mergeNodes();
        break;
    case 3:
        splitNode();
        break;
    default:
        return 0;
    }
    return nodeOperationsTokens[op];
}

int GraphMutation::pickUntreated() {
    if (std::find(treated, treated + inputNodes, -1) == treated + inputNodes) return -1;
    int node = randDraw() % inputNodes;
    while (treated[node] != -1)
        node = randDraw() % inputNodes;
    return node;
}

void GraphMutation::addNode() {
    addedNodes += 1;
}

void GraphMutation::deleteNode() {
    int node = pickUntreated();
    if (node < 0) return;
    deleted[node] = 1;
    treated[node] = 1;
    deletedNodes += 1;
}

void GraphMutation::mergeNodes() {
    int kept = pickUntreated();
    if (kept < 0) return;
    merged[kept] = kept;
    treated[kept] = 1;
    int absorbed = pickUntreated();
    if (absorbed < 0) return;
    merged[absorbed] = kept;
    deleted[absorbed] = 1;
    treated[absorbed] = 1;
    mergedNodes += 1;
    deletedNodes += 1;
}

void GraphMutation::splitNode() {
    int node = pickUntreated();
    if (node < 0) return;
    splitted1[node] = node;
    splitted2[node] = addedNodes;
    addedNodes += 1;
    treated[node] = 1;
    splittedNodes += 1;
}

Graph* GraphMutation::mutateNodes(int mode) {
    if (mode == 1) {
        for (int i = 0; i < inputNodes; i++) {
            if (chance(delNodes)) {
                deleted[i] = 1;
                treated[i] = 1;
                deletedNodes += 1;
            }
            if (chance(addNodes)) addedNodes += 1;
        }
    } else {
        while (nodeTokens > 0) {
            int op = chooseNodeOperation();
            // Without any positive weight no operation can ever be drawn: stop spending.
            if (op < 0) break;
            nodeTokens -= applyNodeOperation(op);
        }
    }
    int survivors = 0;
    Graph* g = numberMutatedNodes(survivors);
    copySurvivingArcs(g);
    allocateRecords(g->vertices);
    addRandomArcs(g);
    return g;
}

Graph* GraphMutation::numberMutatedNodes(int& survivors) {
    Graph* g = newGeneratedGraph(_old->name + "_mutated", _old->edge_weight);
    survivors = 0;
    max_new_number = -1;
    for (int i = 0; i < inputNodes; i++) {
        if (deleted[i] == 1) {
            new_numbers[i] = -1;
            continue;
        }
        new_numbers[i] = survivors;
        Vertex* source = _old->V[i];
        appendVertex(g, source->label, source->weight[0], source->weight[1]);
        max_new_number = survivors;
        survivors++;
        if (splitted1[i] >= 0) console() << "\n Split node " << i << " -> " << splitted2[i];
    }
    // The added nodes follow the survivors; a split node's copy takes the added slot its
    // split reserved, with the node's label and weights.
    std::vector<int> copyOf(static_cast<size_t>(std::max(addedNodes, 0)), -1);
    for (int i = 0; i < inputNodes; i++)
        if (splitted2[i] >= 0 && splitted2[i] < addedNodes) copyOf[splitted2[i]] = i;
    for (int k = 0; k < addedNodes; k++) {
        if (copyOf[k] >= 0) {
            Vertex* source = _old->V[copyOf[k]];
            appendVertex(g, source->label, source->weight[0], source->weight[1]);
        } else {
            appendVertex(g, "add", 0, 0);
        }
    }
    readyForArcs(g);
    delete[] old_numbers;
    oldNumbersLength = g->vertices;
    old_numbers = new int[oldNumbersLength];
    std::fill(old_numbers, old_numbers + oldNumbersLength, -1);
    for (int i = 0; i < inputNodes; i++)
        if (new_numbers[i] >= 0) old_numbers[new_numbers[i]] = i;
    return g;
}

int GraphMutation::mutatedEnd(int inputNode) const {
    if (inputNode < 0 || inputNode >= inputNodes) return -1;
    // A node merged into another is represented by its merge target.
    if (merged[inputNode] >= 0 && merged[inputNode] != inputNode) inputNode = merged[inputNode];
    return new_numbers[inputNode];
}

void GraphMutation::copySurvivingArcs(Graph* g) {
    const int survivors = max_new_number + 1;
    for (Edge* arc : _old->E) {
        if (arc->label.empty()) continue;
        int from = mutatedEnd(arc->from);
        int to = mutatedEnd(arc->to);
        if (from < 0 || to < 0) continue;
        // A split node hands each of its arcs to its copy with probability one half.
        if (splitted2[arc->from] >= 0 && alea() < 0.5) from = survivors + splitted2[arc->from];
        if (splitted2[arc->to] >= 0 && alea() < 0.5) to = survivors + splitted2[arc->to];
        insertRelations(g, from, to, arc->label, arc->weight, arc->number);
    }
}

bool GraphMutation::isSurvivor(int mutatedNumber) const {
    return mutatedNumber >= 0 && mutatedNumber <= max_new_number;
}

void GraphMutation::addRandomArcs(Graph* g) {
    const int nodes = g->vertices;
    int trials = 0;
    if (addedNodes > 0 && inputNodes > 0)
        trials =
            static_cast<int>(std::floor(static_cast<double>(_old->edges) / inputNodes * nodes));
    console() << "trials = " << trials << "\n";
    // One node offers no pair other than a loop to redraw from.
    if (nodes < 2) return;
    for (int t = 0; t < trials; t++) {
        int node1 = static_cast<int>(alea() * (nodes - 1));
        int node2 = static_cast<int>(alea() * (nodes - 1));
        while (node2 == node1) {
            if (chance(loop_proba)) break;
            node2 = std::min(nodes - 1, static_cast<int>(alea() * nodes));
        }
        if (isSurvivor(node1) && isSurvivor(node2)) continue;
        if (g->getEdge(node1, node2) != nullptr && alea() > multi_proba) continue;
        int label = drawLabel(-1);
        if (label < 0) continue;
        std::string text(1, static_cast<char>('0' + label));
        insertRelations(g, node1, node2, text, nullptr, static_cast<int>(g->E.size()));
        addEdges[node1][node2] += text;
        addedEdges += 1;
    }
}

void GraphMutation::allocateRecords(int nodes) {
    releaseRecords();
    recordSide = nodes;
    addEdges = new std::string*[nodes];
    modifEdges = new std::string*[nodes];
    for (int i = 0; i < nodes; i++) {
        addEdges[i] = new std::string[nodes];
        modifEdges[i] = new std::string[nodes];
    }
}

void GraphMutation::releaseRecords() {
    for (int i = 0; i < recordSide; i++) {
        delete[] addEdges[i];
        delete[] modifEdges[i];
    }
    delete[] addEdges;
    delete[] modifEdges;
    addEdges = modifEdges = nullptr;
    recordSide = 0;
}
