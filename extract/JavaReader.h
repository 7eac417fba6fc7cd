// Reading a Java source tree through Universal Ctags: the files found, the tags of each,
// and the types and members they declare (JavaTree), with the files that had to be skipped.
#pragma once

#include <string>
#include <vector>

#include "extract/JavaModel.h"

/// Why a tree could not be read at all.
enum class ReadFailure {
    None,
    FolderMissing, ///< the source folder does not exist or is no folder
    NoJavaFiles,   ///< no ".java" file under it
    ParserMissing, ///< the ctags program cannot be run or is not Universal Ctags with JSON
    ParserFailed,  ///< ctags ran and failed
};

struct ReadResult {
    ReadFailure failure = ReadFailure::None;
    /// One line saying what went wrong (empty when nothing did).
    std::string problem;
};

/// The ".java" files under `folder`, sorted by path so that every run sees them in the
/// same order.
std::vector<std::string> findJavaFiles(const std::string& folder);

/// Reads every Java file under `folder` with the ctags program `ctags`. Files that cannot be
/// read or do not parse are listed in `tree.skipped`; the rest fill `tree`.
ReadResult readJavaTree(const std::string& folder, const std::string& ctags, JavaTree& tree);
