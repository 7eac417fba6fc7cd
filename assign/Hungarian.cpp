// Hungarian method on a padded square matrix: row reduction, starring, covering, priming,
// augmenting along alternating paths and moving the smallest uncovered value.
#include "assign/Hungarian.h"
#include "assign/NonFiniteCost.h"
#include "util/Console.h"

#include <cmath>

namespace {

constexpr int kNone = -1;            // no row / column found, or no partner
constexpr int kStar = 1;             // mark of a starred zero
constexpr int kPrime = 2;            // mark of a primed zero
constexpr int kFinished = 7;         // step number that ends the run
constexpr double kUnassigned = -1.0; // result-mask value of a cell not chosen

template <typename T> T** newSquare(int size, T fill) {
    T** rows = new T*[size];
    for (int i = 0; i < size; ++i) {
        rows[i] = new T[size];
        for (int j = 0; j < size; ++j)
            rows[i][j] = fill;
    }
    return rows;
}

template <typename T> void deleteRows(T**& rows, int count) {
    if (rows == nullptr) return;
    for (int i = 0; i < count; ++i)
        delete[] rows[i];
    delete[] rows;
    rows = nullptr;
}

} // namespace

Hungarian::Hungarian()
    : n(0), m(0), l(0), k(0), C(nullptr), M(nullptr), R_cov(nullptr), C_cov(nullptr), stepnum(0),
      done(false), results(nullptr), path(nullptr), Z0_r(0), Z0_c(0) {}

Hungarian::~Hungarian() {
    release();
}

void Hungarian::release() {
    // Every row was allocated for the square size, so all `l` rows are freed, including
    // the dummy rows beyond the given ones.
    deleteRows(C, l);
    deleteRows(M, l);
    deleteRows(path, 2 * l);
    delete[] R_cov;
    delete[] C_cov;
    delete[] results;
    R_cov = C_cov = results = nullptr;
}

void Hungarian::solve(const double* const* input, int rows, int cols) {
    // A solver reused for a second problem first releases the arrays of the first one.
    release();
    stepnum = step0(input, rows, cols);
    path = new int*[2 * l];
    for (int i = 0; i < 2 * l; ++i)
        path[i] = new int[2]{0, 0};
    M = newSquare<int>(l, 0);
    R_cov = new int[l]();
    C_cov = new int[l]();
    results = new int[l];
    done = false;
    while (stepnum != kFinished) {
        switch (stepnum) {
        case 1:
            stepnum = step1();
            break;
        case 2:
            stepnum = step2();
            break;
        case 3:
            stepnum = step3();
            break;
        case 4:
            stepnum = step4();
            break;
        case 5:
            stepnum = step5();
            break;
        case 6:
            stepnum = step6();
            break;
        default:
            stepnum = kFinished;
            break;
        }
    }
    done = true;
    finishResults();
}

int Hungarian::step0(const double* const* input, int rows, int cols) {
    deleteRows(C, l);
    zerosListed = false;
    n = rows < 0 ? 0 : rows;
    m = cols < 0 ? 0 : cols;
    l = n > m ? n : m;
    k = n < m ? n : m;
    double standIn = 0;
    bool standInKnown = false;
    C = newSquare<double>(l, 0.0);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j) {
            double value = input[i][j];
            if (value < 0 || !std::isfinite(value))
                console() << "\n" << rows << "," << cols << "/" << i << "," << j << " : " << value;
            if (!std::isfinite(value)) {
                if (!standInKnown) standIn = nonFiniteStandIn(input, n, m);
                standInKnown = true;
                value = standIn;
            }
            C[i][j] = value;
        }
    }
    return 1;
}

int Hungarian::step1() {
    zerosListed = false;
    for (int r = 0; r < l; ++r) {
        double minval = C[r][0];
        for (int c = 1; c < l; ++c)
            if (C[r][c] < minval) minval = C[r][c];
        for (int c = 0; c < l; ++c)
            C[r][c] -= minval;
    }
    return 2;
}

int Hungarian::step2() {
    for (int r = 0; r < l; ++r) {
        for (int c = 0; c < l; ++c) {
            if (C[r][c] == 0 && R_cov[r] == 0 && C_cov[c] == 0) {
                M[r][c] = kStar;
                R_cov[r] = 1;
                C_cov[c] = 1;
            }
        }
    }
    clear_covers();
    return 3;
}

int Hungarian::step3() {
    int colcount = 0;
    for (int r = 0; r < l; ++r)
        for (int c = 0; c < l; ++c)
            if (M[r][c] == kStar) C_cov[c] = 1;
    for (int c = 0; c < l; ++c)
        if (C_cov[c] == 1) ++colcount;
    return colcount >= l ? kFinished : 4;
}

void Hungarian::listZeros() {
    zeroColumns.assign(l, std::vector<int>());
    for (int r = 0; r < l; ++r)
        for (int c = l - 1; c >= 0; --c)
            if (C[r][c] == 0) zeroColumns[r].push_back(c);
    zerosListed = true;
}

int Hungarian::step4() {
    if (!zerosListed) listZeros();
    for (;;) {
        int row = kNone;
        int col = kNone;
        find_a_zero(row, col);
        if (row == kNone) return 6;
        M[row][col] = kPrime;
        if (!star_in_row(row)) {
            Z0_r = row;
            Z0_c = col;
            return 5;
        }
        find_star_in_row(row, col);
        R_cov[row] = 1;
        C_cov[col] = 0;
    }
}

int Hungarian::step5() {
    int count = 0;
    path[count][0] = Z0_r;
    path[count][1] = Z0_c;
    // Each star and each prime on the path lies in its own row, so the path holds at most
    // 2·l - 1 cells; the bound check only protects against a corrupted state.
    while (count + 2 < 2 * l) {
        int r = kNone;
        find_star_in_col(path[count][1], r);
        if (r == kNone) break;
        ++count;
        path[count][0] = r;
        path[count][1] = path[count - 1][1];
        int c = kNone;
        find_prime_in_row(path[count][0], c);
        if (c == kNone) break;
        ++count;
        path[count][0] = path[count - 1][0];
        path[count][1] = c;
    }
    convert_path(count);
    clear_covers();
    erase_primes();
    return 3;
}

int Hungarian::step6() {
    double minval = 0;
    find_smallest(minval);
    // Each cell gets (value + row share) - column share, with shares minval or 0: the same
    // arithmetic as adding to covered rows and then subtracting from uncovered columns, but
    // without branches in the inner loop. The zero lists are rebuilt in the same pass.
    std::vector<double> columnShare(l);
    for (int c = 0; c < l; ++c)
        columnShare[c] = C_cov[c] == 0 ? minval : 0.0;
    zeroColumns.resize(l);
    for (int r = 0; r < l; ++r) {
        const double rowShare = R_cov[r] == 1 ? minval : 0.0;
        double* row = C[r];
        for (int c = 0; c < l; ++c)
            row[c] = (row[c] + rowShare) - columnShare[c];
        std::vector<int>& zeros = zeroColumns[r];
        zeros.clear();
        for (int c = l - 1; c >= 0; --c)
            if (row[c] == 0) zeros.push_back(c);
    }
    zerosListed = true;
    return 4;
}

void Hungarian::find_a_zero(int& row, int& col) {
    row = kNone;
    col = kNone;
    for (int r = 0; r < l; ++r) {
        if (R_cov[r] != 0) continue;
        // Within the first row holding an uncovered zero, the right-most one is taken.
        if (zerosListed) {
            for (int c : zeroColumns[r]) {
                if (C_cov[c] == 0) {
                    row = r;
                    col = c;
                    return;
                }
            }
            continue;
        }
        for (int c = l - 1; c >= 0; --c) {
            if (C[r][c] == 0 && C_cov[c] == 0) {
                row = r;
                col = c;
                return;
            }
        }
    }
}

bool Hungarian::star_in_row(int row) {
    for (int c = 0; c < l; ++c)
        if (M[row][c] == kStar) return true;
    return false;
}

void Hungarian::find_star_in_row(int& row, int& col) {
    col = kNone;
    for (int c = 0; c < l; ++c)
        if (M[row][c] == kStar) col = c;
}

void Hungarian::find_star_in_col(int c, int& r) {
    r = kNone;
    for (int i = 0; i < l; ++i)
        if (M[i][c] == kStar) r = i;
}

void Hungarian::find_prime_in_row(int r, int& c) {
    c = kNone;
    for (int j = 0; j < l; ++j)
        if (M[r][j] == kPrime) c = j;
}

void Hungarian::convert_path(int count) {
    for (int i = 0; i <= count; ++i) {
        int& mark = M[path[i][0]][path[i][1]];
        mark = (mark == kStar) ? 0 : kStar;
    }
}

void Hungarian::clear_covers() {
    for (int i = 0; i < l; ++i) {
        R_cov[i] = 0;
        C_cov[i] = 0;
    }
}

void Hungarian::erase_primes() {
    for (int r = 0; r < l; ++r)
        for (int c = 0; c < l; ++c)
            if (M[r][c] == kPrime) M[r][c] = 0;
}

void Hungarian::find_smallest(double& minval) {
    bool seeded = false;
    for (int r = 0; r < l; ++r) {
        if (R_cov[r] != 0) continue;
        for (int c = 0; c < l; ++c) {
            if (C_cov[c] != 0) continue;
            if (!seeded || C[r][c] < minval) {
                minval = C[r][c];
                seeded = true;
            }
        }
    }
}

void Hungarian::finishResults() {
    zerosListed = false;
    for (int r = 0; r < l; ++r)
        results[r] = kNone;
    for (int r = 0; r < l; ++r) {
        for (int c = 0; c < l; ++c) {
            if (M[r][c] == kStar && r < n && c < m) {
                C[r][c] = 0;
                results[r] = c;
            } else {
                C[r][c] = kUnassigned;
            }
        }
    }
}

void Hungarian::printState() {
    for (int r = 0; r < l; ++r) {
        for (int c = 0; c < l; ++c) {
            const char* cover = (R_cov[r] != 0 || C_cov[c] != 0) ? "#" : " ";
            console() << cover << C[r][c] << "(" << M[r][c] << ")\t";
        }
        console() << "\n";
    }
}
