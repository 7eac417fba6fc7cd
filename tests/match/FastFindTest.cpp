// The move index: layer bands, filing and re-filing, threshold-tested insertion, removal,
// the choice of the best cell with uniform tie-breaking, and purging.
#include "match/FastFind.h"

#include <gtest/gtest.h>

#include <deque>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "util/Console.h"
#include "util/Random.h"

namespace {

/// Cells owned by the test, as a matcher owns its move table.
class FastFindTest : public testing::Test {
protected:
    /// The matcher's index: thresholds 100, 0, -100, -500000.
    FastFind ff{100, 100, 1, 1, 10, nullptr, nullptr, nullptr, nullptr};
    std::deque<cell> cells;

    cell* make(double key, int x = 0, int y = 0) {
        cells.push_back(cell{});
        cell* c = &cells.back();
        c->x = x;
        c->y = y;
        c->delta_m = key;
        c->layer = -1;
        return c;
    }

    std::vector<cell*> layer(int i) { return {ff.layers[i].begin(), ff.layers[i].end()}; }
};

} // namespace

TEST_F(FastFindTest, LayersOfTheMatcherIndex) {
    EXPECT_EQ(ff.nbLayers, 4);
    EXPECT_EQ(ff.h_gap, 100);
    EXPECT_EQ(ff.l_gap, 100);
    const int thresholds[] = {100, 0, -100, -500000};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ff.thres_layers[i], thresholds[i]);

    const double keys[] = {100, 250.5, 99.9, 0, -0.5, -100, -101, -500000, -500001, -1e12};
    const int expected[] = {0, 0, 1, 1, 1, 2, 3, 3, -1, -1};
    for (int i = 0; i < 10; ++i) {
        cell* c = make(keys[i]);
        EXPECT_EQ(ff.findLayer(c), expected[i]) << keys[i];
        ff.insert(c, false);
        EXPECT_EQ(c->layer, expected[i]) << keys[i];
    }
    EXPECT_EQ(ff.nbCandidates, 8);
    EXPECT_EQ(ff.bestLayer, 0);
    EXPECT_EQ(ff.secondBest, 1);
}

TEST_F(FastFindTest, MoreBandsSplitTheRanges) {
    FastFind wide(300, 100, 2, 3, 10, nullptr, nullptr, nullptr, nullptr);
    const int thresholds[] = {100, 50, 0, -100, -200, -300};
    ASSERT_EQ(wide.nbLayers, 7);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(wide.thres_layers[i], thresholds[i]);
    EXPECT_EQ(wide.thres_layers[6], -500000);
    const double keys[] = {99, 50, 49, 0, -1, -100, -101, -300, -301};
    const int expected[] = {1, 1, 2, 2, 3, 3, 4, 5, 6};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(wide.findLayer(make(keys[i])), expected[i]) << keys[i];
}

TEST_F(FastFindTest, RefilingKeepsPlaceOrMovesTheCell) {
    cell* a = make(50, 1);
    cell* b = make(40, 2);
    cell* c = make(30, 3);
    for (cell* p : {a, b, c})
        ff.insert(p, false);
    a->delta_m = 60; // same layer: stays first
    ff.insert(a, false);
    EXPECT_EQ(layer(1), (std::vector<cell*>{a, b, c}));
    EXPECT_EQ(ff.nbCandidates, 3);

    a->delta_m = 150; // better band: moves
    ff.insert(a, false);
    EXPECT_EQ(layer(0), std::vector<cell*>{a});
    EXPECT_EQ(layer(1), (std::vector<cell*>{b, c}));
    EXPECT_EQ(ff.nbCandidates, 3);
    EXPECT_EQ(ff.insert_threshold, 0);

    a->delta_m = -600000; // below every layer: taken out
    ff.insert(a, false);
    EXPECT_EQ(a->layer, -1);
    EXPECT_EQ(ff.nbCandidates, 2);
    EXPECT_EQ(ff.bestLayer, 1);
    EXPECT_EQ(ff.secondBest, 3);
}

TEST_F(FastFindTest, ThresholdTestedInsertionAdmitsOnlyGoodMoves) {
    FastFind two(100, 100, 2, 1, 10, nullptr, nullptr, nullptr, nullptr); // 100, 50, 0, -100, ...
    cell* best = make(120);
    cell* second = make(70);
    cell* weak = make(30);
    two.insert(best, true);
    two.insert(second, true);
    two.insert(weak, false); // filed without the test
    EXPECT_EQ(two.insert_threshold, 50);
    EXPECT_EQ(two.nbCandidates, 3);

    two.insert(weak, true); // below the second-best band: dropped
    EXPECT_EQ(weak->layer, -1);
    EXPECT_EQ(two.nbCandidates, 2);
    cell* good = make(60);
    two.insert(good, true);
    EXPECT_EQ(good->layer, 1);
    EXPECT_EQ(two.nbCandidates, 3);

    // No worsening move while an improving band is filled, even above the threshold.
    cell* up = make(50);
    cell* down = make(-50);
    ff.insert(up, false);
    ff.insert(down, false);
    EXPECT_EQ(ff.insert_threshold, -100);
    cell* worse = make(-20);
    ff.insert(worse, true);
    EXPECT_EQ(worse->layer, -1);
    ff.insert(worse, false);
    EXPECT_EQ(worse->layer, 2);
}

TEST_F(FastFindTest, RemoveKeepsCountsAndBestLayersInStep) {
    cell* a = make(150);
    cell* b = make(10);
    ff.insert(a, false);
    ff.insert(b, false);

    cell* stranger = make(50); // never filed
    ff.remove(stranger);
    ff.remove(nullptr);
    EXPECT_EQ(ff.nbCandidates, 2);

    // A cell whose layer field says 0 but that was never filed changes nothing.
    cell* zeroed = make(50);
    zeroed->layer = 0;
    ff.remove(zeroed);
    EXPECT_EQ(ff.nbCandidates, 2);
    EXPECT_EQ(zeroed->layer, -1);

    ff.remove(a);
    EXPECT_EQ(a->layer, -1);
    EXPECT_EQ(ff.nbCandidates, 1);
    EXPECT_EQ(ff.bestLayer, 1);
    EXPECT_EQ(ff.secondBest, 3);
    ff.remove(b);
    EXPECT_EQ(ff.nbCandidates, 0);
    EXPECT_EQ(ff.bestLayer, 3);
    EXPECT_EQ(ff.secondBest, 3);
}

TEST_F(FastFindTest, FindTakesTheBestKeyOfTheBestLayer) {
    cell* low = make(10);
    cell* high = make(90);
    cell* mid = make(50);
    cell* worse = make(-5);
    for (cell* c : {low, high, mid, worse})
        ff.insert(c, false);
    EXPECT_EQ(ff.find(), high);
    EXPECT_EQ(ff.nbFinds, 1);
    ff.remove(high);
    EXPECT_EQ(ff.find(), mid);
}

TEST_F(FastFindTest, FindOnEmptyIndexPrintsItAndReturnsNull) {
    ConsoleCapture capture;
    EXPECT_EQ(ff.find(), nullptr);
    const std::string out = capture.text();
    EXPECT_EQ(out.rfind("\n[100,100] \t Layers : 4(2,1) Content : 0 -----  bestLayer : 1", 0), 0u);
}

TEST_F(FastFindTest, DisplayListsLayersAndCells) {
    ff.insert(make(50, 1, 2), false);
    std::ostringstream out;
    ff.display(out);
    EXPECT_EQ(out.str(), "\n[100,100] \t Layers : 4(2,1) Content : 1 -----  bestLayer : 1 "
                         "secondBest : 3 Seuil : -500000"
                         "\nLayer 0(100) : 0\n\nLayer 1(0) : 1\n\t (1,2) : 50"
                         "\nLayer 2(-100) : 0\n\nLayer 3(-500000) : 0\n");
}

TEST_F(FastFindTest, TiesAreBrokenUniformly) {
    cell* tied[] = {make(50, 1), make(20, 9), make(50, 2), make(50, 3)};
    for (cell* c : tied)
        ff.insert(c, false);
    seedRandom(20240611);
    const int draws = 30000;
    int counts[4] = {0, 0, 0, 0};
    for (int i = 0; i < draws; ++i) {
        cell* c = ff.find();
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->delta_m, 50);
        ++counts[c->x];
    }
    // Expected 10000 each (standard deviation about 82): a loose bound of 800.
    for (int x = 1; x <= 3; ++x)
        EXPECT_NEAR(counts[x], draws / 3, 800) << "cell " << x;
}

TEST_F(FastFindTest, PurgeDropsTheFarLayers) {
    cell* c0 = make(150);
    cell* c1 = make(50);
    cell* c2 = make(-50);
    cell* c3 = make(-5000);
    for (cell* c : {c0, c1, c2, c3})
        ff.insert(c, false);
    ff.purge();
    EXPECT_EQ(ff.nbCandidates, 2);
    EXPECT_EQ(c2->layer, -1);
    EXPECT_EQ(c3->layer, -1);
    EXPECT_TRUE(ff.layers[2].empty());
    EXPECT_TRUE(ff.layers[3].empty());
    EXPECT_EQ(c1->layer, 1);
    EXPECT_EQ(ff.secondBest, 1);
}

TEST(FastFindOwnership, DestructorLeavesTheOwnersArraysAlone) {
    int* m12 = new int[3]{-1, -1, -1};
    int* m21 = new int[3]{-1, -1, -1};
    auto* index = new FastFind(100, 100, 1, 1, 3, m12, m21, nullptr, nullptr);
    delete index;
    m12[0] = 2; // still ours: a double free or use after free would show here
    m21[2] = 0;
    EXPECT_EQ(m12[0] + m21[2], 2);
    delete[] m12;
    delete[] m21;
}

TEST(FastFindOwnership, DefaultIndexRefusesEverything) {
    FastFind empty;
    cell c{};
    c.delta_m = 50;
    c.layer = -1;
    empty.insert(&c, false);
    EXPECT_EQ(c.layer, -1);
    EXPECT_EQ(empty.nbCandidates, 0);
    ConsoleCapture quiet;
    EXPECT_EQ(empty.find(), nullptr);
}

TEST(FastFindOwnership, ALayerFieldChangedByItsOwnerDoesNotMisfileTheCell) {
    FastFind ff(100, 100, 1, 1, 10, nullptr, nullptr, nullptr, nullptr);
    cell a{};
    a.layer = -1;
    a.delta_m = 50;
    ff.insert(&a, false);
    ASSERT_EQ(a.layer, 1);
    a.layer = 3; // the owner overwrites the field
    ff.remove(&a);
    EXPECT_EQ(ff.nbCandidates, 0);
    EXPECT_TRUE(ff.layers[1].empty());
    a.delta_m = 120;
    a.layer = -1;
    ff.insert(&a, false);
    a.layer = -1; // forgotten by the owner while filed
    a.delta_m = 130;
    ff.insert(&a, false);
    EXPECT_EQ(ff.nbCandidates, 1);
    EXPECT_EQ(ff.layers[0].size(), 1u);
    a.layer = -1;
    ff.remove(&a);
    EXPECT_EQ(ff.nbCandidates, 0);
    EXPECT_TRUE(ff.layers[0].empty());
}

// Against a plain model (per layer, the cells in filing order): thousands of random filings,
// re-filings and removals keep every layer's order, the counts, and the cells listed by row
// and by column, also once layers have been closed up after many removals.
TEST_F(FastFindTest, RandomOperationsAgreeWithAPlainModel) {
    constexpr int kCells = 300;
    constexpr int kSide = 7;
    for (int i = 0; i < kCells; ++i)
        make(0, i % kSide, (i / kSide) % kSide);
    std::vector<std::vector<cell*>> model(4);
    auto modelLayer = [&](cell* c) {
        for (int l = 0; l < 4; ++l)
            for (cell* filed : model[l])
                if (filed == c) return l;
        return -1;
    };
    auto modelErase = [&](cell* c) {
        for (auto& cellsOfLayer : model)
            for (auto it = cellsOfLayer.begin(); it != cellsOfLayer.end(); ++it)
                if (*it == c) {
                    cellsOfLayer.erase(it);
                    return;
                }
    };
    unsigned state = 12345;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    const double keys[] = {150, 50, -50, -200, -600000};
    for (int step = 0; step < 20000; ++step) {
        cell* c = &cells[next(kCells)];
        if (next(3) == 0) {
            ff.remove(c);
            modelErase(c);
        } else {
            c->delta_m = keys[next(5)];
            const int wanted = ff.findLayer(c);
            const int was = modelLayer(c);
            ff.insert(c, false);
            if (wanted != was) {
                modelErase(c);
                if (wanted >= 0) model[wanted].push_back(c);
            }
        }
    }
    long total = 0;
    for (int l = 0; l < 4; ++l) {
        ASSERT_EQ(layer(l), model[l]) << "layer " << l;
        EXPECT_EQ(ff.layers[l].size(), model[l].size());
        total += static_cast<long>(model[l].size());
    }
    EXPECT_EQ(ff.nbCandidates, total);
    for (int n = 0; n < kSide; ++n) {
        std::multiset<cell*> inRow, inColumn, rowModel, columnModel;
        inRow.insert(ff.cellsInRow(n).begin(), ff.cellsInRow(n).end());
        inColumn.insert(ff.cellsInColumn(n).begin(), ff.cellsInColumn(n).end());
        for (const auto& cellsOfLayer : model)
            for (cell* filed : cellsOfLayer) {
                if (filed->x == n) rowModel.insert(filed);
                if (filed->y == n) columnModel.insert(filed);
            }
        EXPECT_EQ(inRow, rowModel) << "row " << n;
        EXPECT_EQ(inColumn, columnModel) << "column " << n;
    }
}
