// Texts shared by the matcher's result files and console reports: category words, the names
// under which nodes appear in the files, the run tag of file names, and opening result files.
#pragma once

#include "util/Folders.h"

#include <fstream>
#include <string>
#include <vector>

class Match;
class Graph;
class Vertex;

/// Category word of a node kind ("Package", "Class", "Method", "Field", "Entity",
/// "LifeLine", "Message"); an unknown kind is written as its number.
std::string categoryWord(int type);

/// The label, followed for members (kind above 1) by "_" and the signature with every ","
/// replaced by ";".
std::string displayName(const Vertex* v);

/// The quoted name of a node in the raw files: its label, for a method followed by the
/// parameter items of its signature in parentheses, with every "$" written as ".".
std::string entityName(const Vertex* v);

/// g1 name, g2 name, the five cost weights and the seed, joined by "__".
std::string runTag(const Match& m);

/// Label of the vertex (plain node or block) numbered `number` on one side; empty when the
/// number names no vertex.
std::string vertexLabel(Match& m, int number, bool left);

/// Opens `path` for writing with truncation, creating the results folder first. A file that
/// cannot be opened is reported on standard output (its writes would be lost).
void openResultFile(std::ofstream& out, const std::string& path);

/// The member vertices of a block of `g` in its member order (the vertex itself when it has
/// no member set); numbers outside the graph are passed over.
std::vector<const Vertex*> blockMembers(const Vertex* block, const Graph* g);
