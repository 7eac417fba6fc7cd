// Graph reading constructor, the per-label weights of "config.txt", and the numbered and
// binary graph formats (modes 0, 1, 2, 3, 6, 7) with the 16-bit word reader.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "util/Console.h"
#include "util/LineReader.h"
#include "util/Utilities.h"

namespace {

const char* const kConfigFile = "config.txt";
/// Jump probability and stopping tolerance of the rankings run after reading.
constexpr double kRankJump = 0.15;
constexpr double kRankEpsilon = 1e-8;
/// Label classes of the labelled binary format: arc attributes fold onto labels 1..4.
constexpr int kBinaryLabelClasses = 4;
/// Nodes a count header may announce beyond the bytes that follow it, in the formats whose
/// nodes need no line of their own (an isolated node of an arc list takes no byte).
constexpr int kImplicitNodeAllowance = 4096;
/// Bytes a node line of the node-list format takes at least: one character and a line end.
constexpr int kNodeLineBytes = 2;
/// Arcs of the binary formats to missing nodes reported one by one; the rest are counted.
constexpr int kReportedBadArcs = 5;

/// The file name without directory (only "/" separates) and without its last extension.
std::string graphName(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = file.rfind('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

/// Derives the neighbour tables of a graph just read and ranks its nodes. Every format gets
/// the per-label counts and both rankings, so the matchers that read u, norm or uu find them
/// whatever the input; an empty graph only gets its (empty) neighbour sets.
void rankReadGraph(Graph& g) {
    g.vertices = static_cast<int>(g.V.size());
    if (g.vertices == 0) {
        g.fillNeighbors();
        return;
    }
    g.fillNeighborsAndRelations();
    if (g.norm == nullptr) g.norm = new double[g.vertices]();
    // The per-label ranking reuses the u statistics members as scratch, so it runs first:
    // afterwards min_u … maxi_u describe u itself, as the assignment matching expects.
    g.nodeRank2(kRankJump, kRankEpsilon);
    g.nodeRank(kRankJump, kRankEpsilon);
}

/// The per-label arc weights of "config.txt" ("ew,code,weight" lines); codes it does not
/// set weigh 0, and a missing file leaves them all 0.
void readEdgeWeights(double* weights) {
    std::fill(weights, weights + kLabelCodes, 0.0);
    std::ifstream config(kConfigFile);
    if (!config.is_open()) return;
    LineReader lines(config, kConfigFile);
    while (lines.next()) {
        if (!lines.startsWith("ew,")) continue;
        int code = 0;
        double w = 0;
        if (!lines.require(3, "\"ew,label code,weight\"") ||
            !lines.intField(1, code, "label code") || !lines.doubleField(2, w, "weight"))
            continue;
        // The rankings sum these weights in float: a weight beyond the float range would
        // make every rank NaN.
        if (!std::isfinite(w) || std::fabs(w) > std::numeric_limits<float>::max()) {
            lines.report("weight outside the range of a float");
            continue;
        }
        if (code < 0 || code >= kLabelCodes) {
            lines.report("label code must be 0-9");
            continue;
        }
        weights[code] = w;
    }
}

/// A node labelled with its own number and no weights (unnamed formats).
Vertex* numberedVertex(int number) {
    return new Vertex(number, std::to_string(number));
}

/// Reads the node count n from the "N,M" first line (the arc count is not used); reports
/// that nothing is read and returns false when the line is missing or unusable, or when it
/// announces more nodes than the rest of the input can describe (see nodeCountFits).
bool readCountHeader(LineReader& lines, int& n, const std::string& source, int bytesPerNode,
                     int allowance) {
    int m = 0;
    if (lines.next() && lines.header(n, m) && lines.nodeCountFits(n, bytesPerNode, allowance))
        return true;
    LineReader::reportFile(source, "no usable \"nodes,arcs\" header; nothing read");
    return false;
}

/// Reads "source,target,label[,weights]" lines to the end of the input into arcs of g,
/// numbered in file order; malformed lines are reported and skipped.
void readWeightedArcs(LineReader& lines, Graph& g) {
    int arcNumber = 0;
    while (lines.next()) {
        int from = 0, to = 0;
        std::string label;
        float w[kWeightSlots];
        if (!lines.require(3, "\"source,target,label[,weights]\"") ||
            !lines.intField(0, from, "source") || !lines.intField(1, to, "target") ||
            !lines.labelField(2, label) || !lines.weightFields(3, w, kWeightSlots))
            continue;
        Edge* e = new Edge(from, to, label, w);
        e->setNumber(arcNumber++);
        g.insertEdge(e);
    }
}

} // namespace

Graph::Graph(int mode, std::string path) {
    root = -1;
    readEdgeWeights(edge_weight);
    max_in_distrib = max_out_distrib = max_all_distrib = max_multi = 0;
    min_in_distrib = min_out_distrib = min_all_distrib = 50;
    min_multi = 5;
    nb_labels = 1;
    loops = multi_arcs = 0;
    G = new SparseMatrix<Edge*>();

    if (mode == kGraphTextMode) {
        initMode7(path);
        name = "sample";
        edges = static_cast<int>(E.size());
        rankReadGraph(*this);
        return;
    }

    std::ios::openmode openMode = std::ios::in;
    if (mode == kBinaryMode || mode == kBinaryLabelledMode) openMode |= std::ios::binary;
    std::ifstream file(path, openMode);
    console() << "File " << path << " ...";
    if (!file.is_open()) {
        console() << "Not Found \n";
        return;
    }
    console() << "Found \n"
              << "Mode " << mode << "\n";
    name = graphName(path);
    sourcePath = path;

    switch (mode) {
    case kNodeListMode:
        initMode0(&file);
        break;
    case kBinaryMode:
        initMode1(&file);
        break;
    case kBinaryLabelledMode:
        initMode2(&file, kBinaryLabelClasses);
        break;
    case kNamedEdgesMode:
        initMode3(&file);
        break;
    case kMembersInClassesMode:
        initMode4(&file);
        break;
    case kLetteredMode:
        initMode5(&file);
        break;
    case kArcListMode:
        initMode6(&file);
        break;
    case kHeaderedTreeMode:
        initMode8(&file);
        break;
    case kDerivedTreeMode:
        initMode9(&file);
        break;
    case kThreeKindsMode:
        initMode10(&file);
        break;
    case kStateMachineMode:
        initMode11(&file);
        break;
    case kClassDiagramMode:
        initMode12(&file);
        break;
    default:
        LineReader::reportFile(sourcePath,
                               "unknown reader mode " + std::to_string(mode) + "; nothing read");
        break;
    }

    console() << "\n Acquisition Input Done";
    edges = static_cast<int>(E.size());
    rankReadGraph(*this);
    file.close();
}

unsigned Graph::read_word(std::ifstream* in) {
    int low = in->get();
    int high = in->get();
    if (low == EOF || high == EOF) return 0; // the caller sees the failed stream
    return static_cast<unsigned>(high) * 256u + static_cast<unsigned>(low);
}

// ---------------------------------------------------------------------------------------------
// Mode 0: "N,M", N node lines in any order of their numbers, then arc lines.
// ---------------------------------------------------------------------------------------------

namespace {

/// The N node lines of a mode-0 file, each placed at the slot its number gives. Slots that
/// no valid line fills get a node labelled by its number: arcs and per-node tables index the
/// list by number, so no slot may stay empty.
void readNodeLines(LineReader& lines, std::vector<Vertex*>& nodes, int n,
                   const std::string& source) {
    nodes.assign(static_cast<size_t>(n), nullptr);
    int nodeLines = 0;
    while (nodeLines < n && lines.next()) {
        nodeLines++;
        int number = 0;
        float w[kWeightSlots];
        if (!lines.require(2, "\"number,label[,weights]\"") ||
            !lines.intField(0, number, "node number") || !lines.weightFields(2, w, kWeightSlots))
            continue;
        if (number < 0 || number >= n) {
            lines.report("node number outside 0.." + std::to_string(n - 1));
            continue;
        }
        if (nodes[number] != nullptr) {
            lines.report("node " + std::to_string(number) + " given twice; first line kept");
            continue;
        }
        nodes[number] = new Vertex(number, lines.boundedName(lines.field(1)), w);
    }
    if (nodeLines < n)
        LineReader::reportFile(source, "file ends after " + std::to_string(nodeLines) + " of " +
                                           std::to_string(n) + " node lines");
    int missing = 0;
    for (int i = 0; i < n; i++)
        if (nodes[i] == nullptr) {
            nodes[i] = numberedVertex(i);
            missing++;
        }
    if (missing > 0)
        LineReader::reportFile(
            source, std::to_string(missing) +
                        " node(s) had no valid line; created with their number as label");
}

} // namespace

void Graph::initMode0(std::ifstream* in) {
    LineReader lines(*in, sourcePath);
    int n = 0;
    if (!readCountHeader(lines, n, sourcePath, kNodeLineBytes, 0)) return;
    readNodeLines(lines, V, n, sourcePath);
    vertices = n;

    readWeightedArcs(lines, *this);
}

// ---------------------------------------------------------------------------------------------
// Modes 1 and 2: binary adjacency lists of 16-bit words, low byte first.
// ---------------------------------------------------------------------------------------------

namespace {

/// Creates nodes 0..count-1 labelled by their number.
void addNumberedNodes(std::vector<Vertex*>& nodes, int count) {
    for (int i = 0; i < count; i++)
        nodes.push_back(numberedVertex(i));
}

/// Walks the records of a binary file without reading them: after the node count, `leading`
/// words per node, then per node an arc count k and k arcs of `arcWords` words. Returns -1
/// when the file holds them all, otherwise the node whose records it ends in. The stream is
/// left just after the node count.
long firstMissingRecord(std::ifstream* in, long nodes, long leading, long arcWords) {
    const std::streampos start = in->tellg();
    in->seekg(0, std::ios::end);
    const long long size = static_cast<long long>(in->tellg());
    long long at = static_cast<long long>(start) + 2LL * leading * nodes;
    long missing = at > size ? 0 : -1;
    for (long i = 0; i < nodes && missing < 0; i++) {
        if (at + 2 > size) {
            missing = i;
            break;
        }
        in->clear();
        in->seekg(at);
        int low = in->get();
        int high = in->get();
        const long long arcs = static_cast<long long>(high) * 256 + low;
        at += 2 + 2 * arcs * arcWords;
        if (at > size) missing = i;
    }
    in->clear();
    in->seekg(start);
    return missing;
}

/// Reads the node count that opens a binary file and creates the nodes 0..count-1 of g.
/// False (reported, nothing created) when the file holds no count, or ends before the
/// records the count announces: a cut or foreign file gives no sound graph.
bool readBinaryNodes(std::ifstream* in, Graph& g, long leading, long arcWords) {
    int n = static_cast<int>(g.read_word(in));
    if (!*in) {
        LineReader::reportFile(g.sourcePath, "binary file holds no node count");
        return false;
    }
    const long missing = firstMissingRecord(in, n, leading, arcWords);
    if (missing >= 0) {
        LineReader::reportFile(g.sourcePath,
                               "binary file ends before the records its header announces (" +
                                   std::to_string(n) + " nodes; cut in the records of node " +
                                   std::to_string(missing) + "); nothing read");
        return false;
    }
    addNumberedNodes(g.V, n);
    g.vertices = n;
    return true;
}

/// Inserts the arc from -> target of a binary file, unless the target is no node: the first
/// few of those are reported one by one, the others only counted.
void insertBinaryArc(Graph& g, int from, int target, const std::string& label, int& arcNumber,
                     int& badArcs) {
    if (target >= g.vertices) {
        if (++badArcs <= kReportedBadArcs)
            LineReader::reportFile(
                g.sourcePath, "arc " + std::to_string(from) + " -> " + std::to_string(target) +
                                  ": node " + std::to_string(target) + " does not exist; skipped");
        return;
    }
    Edge* e = new Edge(from, target, label);
    e->setNumber(arcNumber++);
    g.insertEdge(e);
}

void reportBadArcCount(const Graph& g, int badArcs) {
    if (badArcs > kReportedBadArcs)
        LineReader::reportFile(g.sourcePath,
                               std::to_string(badArcs) + " arcs to missing nodes skipped in all");
}

} // namespace

void Graph::initMode1(std::ifstream* in) {
    if (!readBinaryNodes(in, *this, 0, 1)) return;
    const int n = vertices;
    int arcNumber = 0, badArcs = 0;
    for (int i = 0; i < n; i++) {
        int k = static_cast<int>(read_word(in));
        for (int j = 0; j < k; j++)
            insertBinaryArc(*this, i, static_cast<int>(read_word(in)), "1", arcNumber, badArcs);
    }
    reportBadArcCount(*this, badArcs);
}

void Graph::initMode2(std::ifstream* in, int labels) {
    if (!readBinaryNodes(in, *this, 1, 2)) return;
    const int n = vertices;
    for (int i = 0; i < n; i++)
        read_word(in); // node attributes are not used
    if (labels < 1) labels = 1;
    int arcNumber = 0, badArcs = 0;
    for (int i = 0; i < n; i++) {
        int k = static_cast<int>(read_word(in));
        for (int j = 0; j < k; j++) {
            int target = static_cast<int>(read_word(in));
            unsigned attribute = read_word(in);
            insertBinaryArc(*this, i, target,
                            std::to_string(attribute % static_cast<unsigned>(labels) + 1),
                            arcNumber, badArcs);
        }
    }
    reportBadArcCount(*this, badArcs);
}

// ---------------------------------------------------------------------------------------------
// Mode 3: undirected edge list over node names, no header.
// ---------------------------------------------------------------------------------------------

namespace {

/// The node named `label`, created with the next number when not seen before.
int namedNode(std::vector<Vertex*>& nodes, std::map<std::string, int>& numbers,
              const std::string& label) {
    auto found = numbers.find(label);
    if (found != numbers.end()) return found->second;
    int number = static_cast<int>(nodes.size());
    nodes.push_back(new Vertex(number, label));
    numbers[label] = number;
    return number;
}

} // namespace

void Graph::initMode3(std::ifstream* in) {
    LineReader lines(*in, sourcePath);
    int arcNumber = 0;
    while (lines.next()) {
        // Lines with an empty name are placeholders of the format and carry no edge.
        if (lines.line().find(",,") != std::string::npos ||
            lines.line().find(", ,") != std::string::npos)
            continue;
        std::string label;
        if (!lines.require(3, "\"name1,name2,label\"") || !lines.labelField(2, label)) continue;
        int a = namedNode(V, nodeNumbers, lines.field(0));
        int b = namedNode(V, nodeNumbers, lines.field(1));
        Edge* forward = new Edge(a, b, label);
        forward->setNumber(arcNumber++);
        insertEdge(forward);
        Edge* backward = new Edge(b, a, label);
        backward->setNumber(arcNumber++);
        insertEdge(backward);
    }
    vertices = static_cast<int>(V.size());
}

// ---------------------------------------------------------------------------------------------
// Mode 6: "N,M" then arc lines over the nodes 0..N-1.
// ---------------------------------------------------------------------------------------------

void Graph::initMode6(std::ifstream* in) {
    LineReader lines(*in, sourcePath);
    int n = 0;
    if (!readCountHeader(lines, n, sourcePath, 1, kImplicitNodeAllowance)) return;
    addNumberedNodes(V, n);
    vertices = n;
    readWeightedArcs(lines, *this);
}

// ---------------------------------------------------------------------------------------------
// Mode 7: the graph given as text ("N,M", node label lines, arc lines).
// ---------------------------------------------------------------------------------------------

void Graph::initMode7(std::string gr) {
    std::istringstream text(gr);
    LineReader lines(text, "graph text");
    int n = 0;
    if (!readCountHeader(lines, n, "graph text", 1, kImplicitNodeAllowance)) {
        vertices = 0;
        return;
    }
    addNumberedNodes(V, n);
    vertices = n;
    int arcNumber = 0;
    while (lines.next()) {
        std::string kind = lines.field(0);
        if (kind == "c" || kind == "n" || kind == "s") {
            int number = 0;
            if (!lines.require(2, "\"letter,number[,label]\"") ||
                !lines.intField(1, number, "node number"))
                continue;
            if (number < 0 || number >= n) {
                lines.report("node number outside 0.." + std::to_string(n - 1));
                continue;
            }
            if (lines.size() >= 3) V[number]->setLabel(lines.field(2));
        } else if (kind == "e" || kind == "r") {
            int from = 0, to = 0;
            std::string label;
            if (!lines.require(4, "\"letter,source,target,label\"") ||
                !lines.intField(1, from, "source") || !lines.intField(2, to, "target") ||
                !lines.labelField(3, label))
                continue;
            Edge* e = new Edge(from, to, label);
            e->setNumber(arcNumber++);
            insertEdge(e);
        } else {
            lines.reportUnknownLine("a line beginning with c, n, s, e or r");
        }
    }
}
