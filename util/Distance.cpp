// Levenshtein distance over a (|t| + 1) x (|s| + 1) table: columns follow `s`, rows follow `t`.
#include "util/Distance.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

int lengthOf(char const* s) {
    return s == nullptr ? 0 : static_cast<int>(std::strlen(s));
}

} // namespace

int Distance::LD(char const* s, char const* t) {
    const int n = lengthOf(s);
    const int m = lengthOf(t);
    if (n == 0) return m;
    if (m == 0) return n;
    std::vector<int> table(static_cast<std::size_t>(n + 1) * (m + 1));
    int* d = table.data();
    for (int i = 0; i <= n; ++i)
        PutAt(d, i, 0, n, i);
    for (int j = 0; j <= m; ++j)
        PutAt(d, 0, j, n, j);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            const int substitution = s[i - 1] == t[j - 1] ? 0 : 1;
            PutAt(d, i, j, n,
                  Minimum(GetAt(d, i - 1, j, n) + 1, GetAt(d, i, j - 1, n) + 1,
                          GetAt(d, i - 1, j - 1, n) + substitution));
        }
    }
    return GetAt(d, n, m, n);
}

float Distance::NLD(char const* s, char const* t) {
    const int longer = std::max(lengthOf(s), lengthOf(t));
    if (longer == 0) return 0; // two empty strings are identical
    return static_cast<float>(static_cast<double>(LD(s, t)) / longer);
}

float Distance::WNLD(char const* s, char const* t) {
    return NLD(s, t);
}

int Distance::Minimum(int a, int b, int c) {
    return std::min(a, std::min(b, c));
}

int* Distance::GetCellPointer(int* pOrigin, int col, int row, int nCols) {
    return pOrigin + col + row * (nCols + 1);
}

int Distance::GetAt(int* pOrigin, int col, int row, int nCols) {
    return *GetCellPointer(pOrigin, col, row, nCols);
}

void Distance::PutAt(int* pOrigin, int col, int row, int nCols, int x) {
    *GetCellPointer(pOrigin, col, row, nCols) = x;
}
