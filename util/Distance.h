// Levenshtein edit distance between two character strings, plain and normalised.
#pragma once

/// Stateless edit-distance operations; every operation is static, so callers may use the
/// class name or an instance alike.
class Distance {
public:
    /// Levenshtein distance between `s` and `t` (a null pointer counts as the empty string).
    static int LD(char const* s, char const* t);
    /// LD(s, t) divided by the longer length; 0 when both strings are empty.
    static float NLD(char const* s, char const* t);
    /// Same value as NLD.
    static float WNLD(char const* s, char const* t);
    /// The smallest of three values.
    static int Minimum(int a, int b, int c);
    /// Address of cell (col, row) of a table whose rows hold `nCols` + 1 cells.
    static int* GetCellPointer(int* pOrigin, int col, int row, int nCols);
    /// Value of cell (col, row).
    static int GetAt(int* pOrigin, int col, int row, int nCols);
    /// Stores `x` in cell (col, row).
    static void PutAt(int* pOrigin, int col, int row, int nCols, int x);
};
