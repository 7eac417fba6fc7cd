// Noisy benchmark pairs: the random original, its renumbering, the noisy copy and the log.
#include "gen/GraphNoise.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "gen/GenFiles.h"
#include "gen/GenRandom.h"
#include "gen/GraphBuild.h"
#include "graph/Edge.h"
#include "graph/Graph.h"
#include "graph/Vertex.h"
#include "util/Console.h"

namespace {

const std::string kBenchmarkFolder = "./benchmark/";

} // namespace

GraphNoise::GraphNoise(int num_graph, int v, int epsi) : n(std::max(v, 0)), epsilon(epsi) {
    new_numbers = new int[n];
    old_numbers = new int[n];
    addEdges = new std::string*[n];
    modifEdges = new std::string*[n];
    for (int i = 0; i < n; i++) {
        addEdges[i] = new std::string[n];
        modifEdges[i] = new std::string[n];
    }
    buildOriginal(num_graph);
    renumber();
    buildNoisy(num_graph);
    write(0, kBenchmarkFolder + "log_" + std::to_string(num_graph) + ".txt");
    // The pair is complete: the run goes on without waiting for the console.
    console() << "\n Benchmark pair " << num_graph << " written\n";
}

GraphNoise::~GraphNoise() {
    for (int i = 0; i < n; i++) {
        delete[] addEdges[i];
        delete[] modifEdges[i];
    }
    delete[] addEdges;
    delete[] modifEdges;
    delete[] new_numbers;
    delete[] old_numbers;
    delete original;
    delete noisy;
}

int GraphNoise::labelValue(const std::string& text) {
    return std::atoi(text.c_str());
}

int GraphNoise::lowered(int value) const {
    // In 64 bits, so that no amplitude can overflow: noise only ever lowers a label.
    const long long span = 2LL * epsilon;
    const long long noise = static_cast<long long>(std::floor(alea() * 2 * epsilon)) - span;
    return static_cast<int>(std::clamp(value + noise, 0LL, static_cast<long long>(kMaxLabel)));
}

void GraphNoise::buildOriginal(int num_graph) {
    original = newGeneratedGraph("original_" + std::to_string(num_graph), nullptr);
    for (int i = 0; i < n; i++)
        appendVertex(original, std::to_string(static_cast<int>(alea() * kMaxLabel)), 0, 0);
    readyForArcs(original);
    int number = 0;
    for (int j = 0; j < n; j++) {
        for (int k = 0; k < n; k++) {
            if (j == k) continue;
            int a = static_cast<int>(alea() * kMaxLabel);
            if (a != 0) attachValuedArc(original, j, k, std::to_string(a), number++);
        }
    }
    original->write(0, kBenchmarkFolder + original->name + ".txt");
}

void GraphNoise::renumber() {
    int* perm = new int[n];
    for (int l = 0; l < n; l++)
        perm[l] = l;
    for (int l = 0; l + 1 < n; l++)
        std::swap(perm[l], perm[l + randDraw() % (n - l)]);
    for (int m = 0; m < n; m++) {
        old_numbers[m] = perm[m];
        new_numbers[perm[m]] = m;
    }
    delete[] perm;
}

void GraphNoise::buildNoisy(int num_graph) {
    noisy = newGeneratedGraph("noisy_" + std::to_string(num_graph), nullptr);
    for (int m = 0; m < n; m++) {
        int label = lowered(labelValue(original->V[old_numbers[m]]->label));
        appendVertex(noisy, std::to_string(label), 0, 0);
    }
    readyForArcs(noisy);
    unChangedEdges = 0;
    int number = 0;
    for (int c = 0; c < n; c++) {
        for (int e = 0; e < n; e++) {
            if (c == e) continue;
            Edge* before = original->getEdge(old_numbers[c], old_numbers[e]);
            int d = before != nullptr ? labelValue(before->label) : 0;
            int h = lowered(d);
            if (h == d) unChangedEdges += 1;
            if (h != 0) attachValuedArc(noisy, c, e, std::to_string(h), number++);
            if (d != 0 && h != d) {
                modifEdges[c][e] = std::to_string(h);
                modifiedEdges += 1;
            }
            if (d == 0 && h != 0) {
                addEdges[c][e] = std::to_string(h);
                addedEdges += 1;
            }
        }
    }
    noisy->write(0, kBenchmarkFolder + noisy->name + ".txt");
}

void GraphNoise::write(int /*mode*/, std::string filename) {
    deletedNodes = 0;
    addedNodes = 0;
    std::ofstream out;
    if (!openOutput(out, filename, std::ios::out | std::ios::trunc)) return;
    out << "nd," << deletedNodes << "\n"
        << "esi," << unChangedEdges << "\n"
        << "i," << addedNodes << "\n";
    for (int i = 0; i < n; i++)
        out << "n," << i << "," << new_numbers[i] << "," << original->V[i]->label << ","
            << noisy->V[new_numbers[i]]->label << "\n";
    console() << "nodes written\n";
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            if (!addEdges[i][j].empty()) {
                Edge* added = noisy->getEdge(i, j);
                out << "a," << (added != nullptr ? added->label : "") << "," << i << "," << j
                    << "\n";
            }
            if (modifEdges[i][j].empty()) continue;
            Edge* before = original->getEdge(old_numbers[i], old_numbers[j]);
            Edge* after = noisy->getEdge(i, j);
            out << "m," << (before != nullptr ? before->label : "") << ","
                << (after != nullptr ? after->label : "") << "," << i << "," << j << "\n";
        }
    }
    console() << "edges written\n";
}
