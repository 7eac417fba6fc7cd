// One entry per reader family for the fuzz targets and for the replay of their corpus: each
// takes raw bytes, hands them to the readers of that family and must never fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The reader families, each with a fuzz target and a corpus folder of the same name.
enum class FuzzFamily { TextGraph, BinaryGraph, ClassDiagram, Config, MemberText, MatchFile };

/// Every family, in the order of the enumeration.
const std::vector<FuzzFamily>& fuzzFamilies();

/// The family's name: its corpus folder under tests/fuzz/corpus/ and its target "fuzz-<name>".
std::string fuzzFamilyName(FuzzFamily family);

/// Feeds one input to the family's readers. For the graph families the first byte picks the
/// reader mode and the rest is the file. What the readers print is discarded. Runs in a
/// scratch folder of its own (created on first use), since the readers take paths and look
/// for "config.txt" in the working folder; the working folder is restored afterwards.
void fuzzOneInput(FuzzFamily family, const uint8_t* data, size_t size);
