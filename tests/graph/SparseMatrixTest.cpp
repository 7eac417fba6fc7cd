// Sparse matrix: lookups that must not create cells, creation on access, ordering.
#include <gtest/gtest.h>

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
