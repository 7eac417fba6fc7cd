// Folders the programs read from and write to, relative to the working folder.
#pragma once

/// Every result file of a run goes under it (created when missing).
constexpr const char* kResultsFolder = "./results/";
/// Reference matchings and diagram sets of the benchmarks.
constexpr const char* kDatasetsFolder = "./datasets/";
