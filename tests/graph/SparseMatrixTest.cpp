// Sparse matrix: lookups that must not create cells, creation on access, ordering.
#include <gtest/gtest.h>

#include <random>

#include "graph/SparseMatrix.h"

TEST(SparseMatrix, ExistsNeverCreatesCells) {
    SparseMatrix<float> m(4, 4);
    EXPECT_FALSE(m.exists(0, 0));
    EXPECT_FALSE(m.exists(3, 7));
    EXPECT_EQ(m.count(), 0);
    EXPECT_EQ(m.rows(), 0);
    m(1, 2) = 5.0f;
    EXPECT_FALSE(m.exists(1, 3)); // same row, other column
    EXPECT_EQ(m.count(), 1);
}

TEST(SparseMatrix, AccessCreatesValueInitialisedCell) {
    SparseMatrix<float> m;
    EXPECT_EQ(m(3, 7), 0.0f);
    EXPECT_EQ(m.count(), 1);
    EXPECT_EQ(m.rows(), 1);
    EXPECT_TRUE(m.exists(3, 7));

    SparseMatrix<int*> pointers;
    EXPECT_EQ(pointers(0, 0), nullptr);
}

TEST(SparseMatrix, IndicesBeyondNominalSizeAreStored) {
    SparseMatrix<int> m(2, 2);
    m(100, 4000000000u) = 9;
    EXPECT_TRUE(m.exists(100, 4000000000u));
    EXPECT_EQ(m(100, 4000000000u), 9);
}

TEST(SparseMatrix, ReinitEmptiesAndResizes) {
    SparseMatrix<int> m(2, 2);
    m(0, 0) = 1;
    m(1, 5) = 2;
    m.reinit(5, 5);
    EXPECT_EQ(m.count(), 0);
    EXPECT_EQ(m.m, 5u);
    EXPECT_EQ(m.n, 5u);
    EXPECT_FALSE(m.exists(0, 0));
}

TEST(SparseMatrix, GetVectorIsRowMajor) {
    SparseMatrix<int> m;
    m(2, 1) = 21;
    m(0, 4) = 4;
    m(0, 1) = 1;
    std::vector<int>* values = m.getVector();
    EXPECT_EQ(*values, (std::vector<int>{1, 4, 21}));
    delete values;
    EXPECT_EQ(m.count(), 3);
    EXPECT_EQ(m.rows(), 2);
}

// The hashed lookups of an indexed matrix against a plain one, over random creations,
// removals, copies and moves; a small key range makes the removals reshuffle probe runs.
TEST(SparseMatrix, AnIndexedMatrixAnswersAsAPlainOne) {
    SparseMatrix<int> plain;
    SparseMatrix<int> indexed;
    indexed.indexCells();
    std::mt19937 rng(7);
    const unsigned kLast = 0xFFFFFFFFu; // (kLast, kLast) is the one key the index cannot hold
    auto pick = [&rng, kLast]() {
        const unsigned n = static_cast<unsigned>(rng() % 60);
        return n == 59 ? kLast : n;
    };
    for (int step = 0; step < 20000; ++step) {
        const unsigned i = pick();
        const unsigned j = pick();
        switch (rng() % 4) {
        case 0:
            plain(i, j) = step;
            indexed(i, j) = step;
            break;
        case 1:
            plain.erase(i, j);
            indexed.erase(i, j);
            break;
        default: {
            const int* a = plain.find(i, j);
            int* b = indexed.find(i, j);
            ASSERT_EQ(a == nullptr, b == nullptr) << i << "," << j;
            ASSERT_EQ(indexed.exists(i, j), b != nullptr);
            if (a != nullptr) {
                ASSERT_EQ(*a, *b);
                ASSERT_EQ(b, &indexed.mat.at(i).at(j)); // the index points into the rows
            }
        }
        }
        if (step % 5000 == 4999) { // copies and moves keep their own index
            SparseMatrix<int> copy(indexed);
            indexed = std::move(copy);
        }
    }
    EXPECT_EQ(indexed.mat, plain.mat);
    indexed.reinit(3, 3);
    EXPECT_EQ(indexed.find(1, 1), nullptr);
    indexed(1, 1) = 4;
    EXPECT_EQ(*indexed.find(1, 1), 4);
}
