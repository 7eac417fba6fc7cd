// Line forms that several graph readers share: relation and member lines, short names, and
// the report of a node line out of order.
#pragma once

#include <string>

#include "util/LineReader.h"

class Edge;
class Graph;
class Vertex;

/// The arc of an "r,source,target,label[,weights]" line, with the weights from the fifth field
/// on stored into weight[1] onward; null (reported) when the line is malformed.
Edge* relationFromLine(const LineReader& lines);

/// Inserts the arc of an "r," line into g with the number arcNumber, which then advances;
/// false (reported, nothing inserted) when the line is malformed.
bool insertRelationLine(Graph& g, const LineReader& lines, int& arcNumber);

/// Stores the member of an "a," line (attribute text in field 2) or of an "m," line (method
/// signature from field 2 to the end) in `owner`, keyed by type or output, "_" and name;
/// false (reported, nothing stored) when the text is outside its form.
bool storeMemberLine(const LineReader& lines, Vertex& owner);

/// The text after the label's last "." (the whole label when it has none).
std::string shortName(const std::string& label);

/// Prints "\n Order Problem: <number>,<label>[<position>]" for a node line whose number is
/// not its position in the node list (the node is appended at its position anyway).
void reportOrderProblem(int number, const std::string& label, int position);
