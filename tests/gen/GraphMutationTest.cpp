// Graph mutation: the unchanged copy, deletions with their arcs, added nodes, the arc noise
// record checked against the mutated graph, token-budget operations and the renumbering.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>

#include "gen/GraphBuild.h"
#include "gen/GraphMutation.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/Vertex.h"
#include "tests/gen/GenTestSupport.h"
#include "util/Random.h"

namespace {

const std::string kSmallGraph = testData("gen_small_graph.txt");

/// A random graph with arc labels 1..3, a few of them folded pairs, drawn independently of
/// the program's generator.
std::unique_ptr<Graph> randomGraph(int nodes, double p, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    std::unique_ptr<Graph> g(newGeneratedGraph("rnd", nullptr));
    for (int i = 0; i < nodes; i++)
        appendVertex(g.get(), "v" + std::to_string(i), 0, 0);
    readyForArcs(g.get());
    int number = 0;
    for (int i = 0; i < nodes; i++)
        for (int j = 0; j < nodes; j++)
            if (i != j && unit(rng) < p) {
                std::string label(1, static_cast<char>('1' + rng() % 3));
                if (unit(rng) < 0.2) label += static_cast<char>('1' + rng() % 3);
                insertRelations(g.get(), i, j, label, nullptr, number++);
            }
    return g;
}

/// Record lines grouped by their operation.
std::multimap<std::string, std::vector<std::string>> readRecord(const std::string& path) {
    std::multimap<std::string, std::vector<std::string>> record;
    for (const std::string& line : readLines(path)) {
        std::vector<std::string> f = fields(line);
        record.emplace(f[0], f);
    }
    return record;
}

class GraphMutationTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

TEST_F(GraphMutationTest, NoOperationReproducesTheInput) {
    Graph input(kNodeListMode, kSmallGraph);
    seedRandom(3);
    GraphMutation m(&input, 0, 0, 0);
    std::unique_ptr<Graph> result(m._new);
    ASSERT_EQ(result->vertices, 6);
    EXPECT_EQ(result->edges, input.edges);
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(result->V[i]->label, input.V[i]->label);
        for (int j = 0; j < 6; j++)
            EXPECT_EQ(arcLabel(*result, i, j), arcLabel(input, i, j));
    }
    m.write(0, "record.csv");
    std::vector<std::string> lines = readLines("record.csv");
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "nd,0");
    EXPECT_EQ(lines[1], "esi,0");
    EXPECT_EQ(lines[2], "i,0");
    for (int i = 0; i < 6; i++) {
        const std::string& label = input.V[i]->label;
        EXPECT_EQ(lines[3 + i],
                  "n," + std::to_string(i) + "," + std::to_string(i) + "," + label + "," + label);
    }
}

TEST_F(GraphMutationTest, ZeroProbabilitiesNeverFireWhateverTheSeed) {
    std::unique_ptr<Graph> input = randomGraph(40, 0.1, 5);
    for (unsigned seed = 1; seed <= 15; seed++) {
        seedRandom(seed);
        GraphMutation m(input.get(), 0, 0, 0);
        std::unique_ptr<Graph> result(m._new);
        EXPECT_EQ(m.deletedNodes + m.addedNodes + m.modifiedEdges + m.addedEdges, 0);
        EXPECT_EQ(result->vertices, 40);
        EXPECT_EQ(result->edges, input->edges);
    }
}

TEST_F(GraphMutationTest, DeletedNodesLoseTheirNumberAndListEachArcOnce) {
    Graph input(kNodeListMode, kSmallGraph);
    seedRandom(1);
    GraphMutation all(&input, 1, 0, 0);
    std::unique_ptr<Graph> empty(all._new);
    EXPECT_EQ(empty->vertices, 0);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(all.new_numbers[i], -1);
    all.write(0, "all.csv");
    std::multiset<std::string> expected;
    for (Edge* e : input.E)
        expected.insert(e->label + "," + std::to_string(e->from) + "," + std::to_string(e->to));
    std::multiset<std::string> listed;
    for (auto& [op, f] : readRecord("all.csv"))
        if (op == "d") listed.insert(f[1] + "," + f[2] + "," + f[3]);
    EXPECT_EQ(listed, expected);
}

TEST_F(GraphMutationTest, PartialDeletionRenumbersSurvivorsInOrder) {
    std::unique_ptr<Graph> input = randomGraph(30, 0.15, 8);
    seedRandom(4);
    GraphMutation m(input.get(), 0.4, 0, 0);
    std::unique_ptr<Graph> result(m._new);
    ASSERT_GT(m.deletedNodes, 0);
    int next = 0;
    size_t touchingDeleted = 0;
    for (int i = 0; i < 30; i++) {
        int expected = m.deleted[i] == 1 ? -1 : next++;
        EXPECT_EQ(m.new_numbers[i], expected);
    }
    for (Edge* e : input->E) {
        if (m.deleted[e->from] == 1 || m.deleted[e->to] == 1) {
            touchingDeleted++;
        } else {
            EXPECT_EQ(arcLabel(*result, m.new_numbers[e->from], m.new_numbers[e->to]), e->label);
        }
    }
    m.write(0, "partial.csv");
    auto record = readRecord("partial.csv");
    EXPECT_EQ(record.count("d"), touchingDeleted);
    EXPECT_EQ(result->vertices, 30 - m.deletedNodes);
}

TEST_F(GraphMutationTest, AddedNodesAreLabelledAddAndTheirArcsRecorded) {
    std::unique_ptr<Graph> input = randomGraph(20, 0.2, 2);
    seedRandom(6);
    GraphMutation m(input.get(), 0, 1, 0);
    std::unique_ptr<Graph> result(m._new);
    EXPECT_EQ(m.addedNodes, 20);
    ASSERT_EQ(result->vertices, 40);
    for (int i = 20; i < 40; i++)
        EXPECT_EQ(result->V[i]->label, "add");
    m.write(0, "added.csv");
    std::map<std::pair<int, int>, std::string> added;
    for (auto& [op, f] : readRecord("added.csv"))
        if (op == "a") added[{std::stoi(f[2]), std::stoi(f[3])}] = f[1];
    int arcsOfAddedNodes = 0;
    for (Edge* e : result->E) {
        if (e->from < 20 && e->to < 20) {
            EXPECT_EQ(e->label, arcLabel(*input, e->from, e->to));
            continue;
        }
        arcsOfAddedNodes++;
        EXPECT_EQ(added[std::make_pair(e->from, e->to)], e->label);
    }
    EXPECT_GT(arcsOfAddedNodes, 0);
    EXPECT_EQ(added.size(), static_cast<size_t>(arcsOfAddedNodes));
}

TEST_F(GraphMutationTest, ArcNoiseRecordDescribesTheMutatedGraph) {
    std::unique_ptr<Graph> input = randomGraph(25, 0.2, 13);
    seedRandom(9);
    GraphMutation m(input.get(), 0, 0, 0.5);
    std::unique_ptr<Graph> result(m._new);
    m.write(0, "noise.csv");
    std::map<std::pair<int, int>, std::vector<std::string>> lines;
    for (auto& [op, f] : readRecord("noise.csv"))
        if (op == "a" || op == "m") lines[{std::stoi(f[f.size() - 2]), std::stoi(f.back())}] = f;
    ASSERT_GT(m.modifiedEdges, 0);
    for (int i = 0; i < 25; i++) {
        for (int j = 0; j < 25; j++) {
            std::string before = arcLabel(*input, i, j);
            std::string after = arcLabel(*result, i, j);
            auto line = lines.find({i, j});
            if (line == lines.end()) {
                EXPECT_EQ(after, before) << i << "," << j;
            } else if (line->second[0] == "m") {
                EXPECT_EQ(line->second[1], before);
                EXPECT_EQ(line->second[2], after.empty() ? "0" : after);
            } else {
                EXPECT_EQ(before, "");
                EXPECT_EQ(line->second[1], after);
            }
        }
    }
    // Arcs left without relations no longer count.
    int labelled = 0;
    for (Edge* e : result->E)
        labelled += e->label.empty() ? 0 : 1;
    EXPECT_EQ(result->edges, labelled);
    EXPECT_GT(m.deletedEdges, 0);
}

TEST_F(GraphMutationTest, BudgetedSplitGivesTheCopyItsOwnVertexAndArcs) {
    Graph input(kNodeListMode, kSmallGraph);
    seedRandom(2);
    GraphMutation m(&input, 0, 0, 0);
    std::unique_ptr<Graph> unchanged(m._new);
    const double splitOnly[4] = {0, 0, 0, 1};
    std::copy(splitOnly, splitOnly + 4, m.nodeOperationsWeights);
    m.nodeTokens = 3;
    std::unique_ptr<Graph> split(m.mutateNodes(0));
    ASSERT_EQ(m.splittedNodes, 1);
    int s = 0;
    while (m.splitted1[s] != s)
        s++;
    EXPECT_EQ(m.splitted2[s], 0);
    ASSERT_EQ(split->vertices, 7);
    EXPECT_EQ(split->V[6]->label, input.V[s]->label);
    // Each arc of the split node now starts or ends at the node or at its copy.
    for (Edge* e : input.E) {
        std::vector<int> froms = {e->from};
        std::vector<int> tos = {e->to};
        if (e->from == s) froms.push_back(6);
        if (e->to == s) tos.push_back(6);
        bool found = false;
        for (int f : froms)
            for (int t : tos)
                found = found || arcLabel(*split, f, t).find(e->label) != std::string::npos;
        EXPECT_TRUE(found) << e->from << ">" << e->to;
    }
}

TEST_F(GraphMutationTest, BudgetedMergeRedirectsTheAbsorbedArcs) {
    Graph input(kNodeListMode, kSmallGraph);
    seedRandom(5);
    GraphMutation m(&input, 0, 0, 0);
    std::unique_ptr<Graph> unchanged(m._new);
    const double mergeOnly[4] = {0, 0, 1, 0};
    std::copy(mergeOnly, mergeOnly + 4, m.nodeOperationsWeights);
    m.nodeTokens = 3;
    std::unique_ptr<Graph> merged(m.mutateNodes(0));
    ASSERT_EQ(m.mergedNodes, 1);
    ASSERT_EQ(merged->vertices, 5);
    auto end = [&](int node) { return m.new_numbers[m.merged[node] >= 0 ? m.merged[node] : node]; };
    for (Edge* e : input.E)
        EXPECT_NE(arcLabel(*merged, end(e->from), end(e->to)).find(e->label), std::string::npos);
}

TEST_F(GraphMutationTest, NoDrawableOperationEndsTheBudget) {
    Graph input(kNodeListMode, kSmallGraph);
    GraphMutation m(&input, 0, 0, 0);
    std::unique_ptr<Graph> unchanged(m._new);
    std::fill(m.nodeOperationsWeights, m.nodeOperationsWeights + 4, 0.0);
    EXPECT_EQ(m.chooseNodeOperation(), -1);
    m.nodeTokens = 5;
    std::unique_ptr<Graph> same(m.mutateNodes(0));
    EXPECT_EQ(same->vertices, 6);
}

TEST_F(GraphMutationTest, NodeTableListsEveryInputNode) {
    Graph input(kNodeListMode, kSmallGraph);
    seedRandom(1);
    GraphMutation m(&input, 1, 0, 0);
    std::unique_ptr<Graph> result(m._new);
    m.printNodeTables();
    std::vector<std::string> lines = readLines("logs/log_mutation.csv");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "4;1;-1;-1;-1");
}

TEST_F(GraphMutationTest, ShuffleKeepsEveryArcUnderTheNewNumbers) {
    std::unique_ptr<Graph> input = randomGraph(15, 0.3, 21);
    seedRandom(7);
    GraphMutation m(input.get(), 0, 0, 0);
    std::unique_ptr<Graph> unchanged(m._new);
    std::unique_ptr<Graph> shuffled(m.shuffle(input.get()));
    ASSERT_EQ(shuffled->vertices, 15);
    std::set<int> seen;
    for (int p = 0; p < 15; p++) {
        EXPECT_EQ(m.new_numbers[m.old_numbers[p]], p);
        EXPECT_EQ(shuffled->V[p]->label, std::to_string(m.old_numbers[p]));
        seen.insert(m.old_numbers[p]);
    }
    EXPECT_EQ(seen.size(), 15u);
    EXPECT_EQ(shuffled->edges, input->edges);
    for (Edge* e : input->E)
        EXPECT_EQ(arcLabel(*shuffled, m.new_numbers[e->from], m.new_numbers[e->to]), e->label);
}

} // namespace
