// Free text utilities shared by every subsystem: splitting, replacing, number/text
// conversion, signature cutting, match-file reading, and identifier similarity.
#pragma once

#include "match/stdafx.h"

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Splitting and replacing
// ---------------------------------------------------------------------------

/// Splits `text` at every occurrence of `delim`. The part before each occurrence is kept even
/// when empty; the rest after the last occurrence only when not empty. An empty delimiter
/// never matches, so the whole text is the single item.
/// Returns a new vector owned by the caller, or null for an empty text.
std::vector<std::string>* splitString(const std::string& text, const std::string& delim);

/// Joins the pieces of `str` split at `str1` with `str2` between consecutive pieces; a trailing
/// `str1` is dropped. Returns `str` unchanged when it is empty or holds no `str1`.
std::string replaceString(const std::string& str, const std::string& str1, const std::string& str2);

/// Replaces every occurrence of `tFind` in `tInput` by `tReplace`, in place. The search resumes
/// after the inserted text, so a replacement holding `tFind` cannot loop. Empty `tFind`: no-op.
void FindAndReplace(std::string& tInput, const std::string& tFind, const std::string& tReplace);

// ---------------------------------------------------------------------------
// Number/text conversion (templates, so the global names never hide or clash with the
// standard library's non-template overloads)
// ---------------------------------------------------------------------------

/// Reads a value of T from the start of `s` in decimal; trailing characters are ignored.
/// Returns whether a value could be read.
template <typename T> bool from_string(const std::string& s, T& dest) {
    std::istringstream iss(s);
    iss >> std::dec >> dest;
    return !iss.fail();
}

/// Writes `t` with the default stream formatting (six significant digits for floating values).
template <typename T> std::string to_string(const T& t) {
    std::ostringstream oss;
    oss << t;
    return oss.str();
}

// ---------------------------------------------------------------------------
// Signatures, sets and match files
// ---------------------------------------------------------------------------

/// Splits a member signature at "@" (node types above 3) or "," (types 0 to 3) and keeps, of
/// each item, the part after its last "." (the simple name of a qualified type).
/// Returns a new vector owned by the caller, or null for an empty text.
std::vector<std::string>* treatSpecif(const std::string& str, int type);

/// The numbers of the set in ascending order joined by ","; empty for null or an empty set.
std::string stringISet(const std::set<int>* istr);

/// Reads a pair file: each line starts with two double-quoted names separated by a comma.
/// Lines without the separator are skipped; a file that cannot be opened gives an empty map.
/// Returns a new multimap (first name -> second name) owned by the caller.
std::multimap<std::string, std::string>* readMatchFile(const std::string& filename);

// ---------------------------------------------------------------------------
// Scored pairs
// ---------------------------------------------------------------------------

/// True when `p` scores higher than `q`.
bool compaire(const paire& p, const paire& q);

/// A copy of `pairs` sorted by descending score (ties in no defined order).
std::vector<paire> sort_paires(std::vector<paire> pairs);

// ---------------------------------------------------------------------------
// Identifier similarity
// ---------------------------------------------------------------------------

/// Cuts an identifier into words at "$", "_", "*" and at letter-case changes ("getXMLParser"
/// gives "get", "XML", "Parser"); words keep their case. A one-character identifier is its own
/// word. Returns a new vector owned by the caller, or null for an empty identifier or no word.
std::vector<std::string>* IdSplitter(const std::string& str);

/// Length of the longest common contiguous substring (case-sensitive); 0 if either is empty.
int LCS(const std::string& s1, const std::string& s2);

/// Similarity in [0, 1] of two identifiers: the total length of their best-paired words,
/// doubled, over the sum of their lengths. 0 when either identifier is empty.
double IdSim(std::string str1, std::string str2);

/// Similarity in [0, 1] of two sets of lower-case words by their common substrings; 0 when
/// either pointer is null or both sets hold no characters.
double simSet(const std::set<std::string>* set1, const std::set<std::string>* set2);
