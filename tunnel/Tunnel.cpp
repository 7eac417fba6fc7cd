// Loading of a tunnel: the series list, its versions, the match files named in it, the
// cost model taken from the last match file name, and the insertion costs of the last version.
#include "tunnel/Tunnel.h"

#include <fstream>
#include <memory>

#include "cost/Cost.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "tunnel/TunnelChains.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/LineReader.h"
#include "util/Utilities.h"

namespace {

/// Reader mode of the versions: classes with their members inside.
constexpr int kVersionMode = kMembersInClassesMode;
/// Weights carried by a match file name: dwn, dwe, ew, asy, lw.
constexpr int kNameWeights = 5;

/// The parts of a match file name "<g2>__<g1>__<weights>": the matcher's first graph is the
/// tunnel's later one, g2.
struct MatchName {
    std::string g2;
    std::string g1;
    std::string parameters;
    bool complete = false;
};

MatchName cutMatchName(const std::string& path) {
    MatchName n;
    const std::string::size_type slash = path.rfind('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string::size_type first = file.find("__");
    if (first == std::string::npos) return n;
    n.g2 = file.substr(0, first);
    // The second separator is looked for one character on, so that g1 has a name.
    const std::string::size_type second = file.find("__", first + 3);
    if (second == std::string::npos) return n;
    n.g1 = file.substr(first + 2, second - first - 2);
    n.parameters = file.substr(second + 2);
    n.complete = true;
    return n;
}

/// The five weights at the start of a parameter text; false when fewer can be read.
bool readWeights(const std::string& parameters, double* weights) {
    std::unique_ptr<std::vector<std::string>> parts(splitString(parameters, "__"));
    if (parts == nullptr || parts->size() < static_cast<size_t>(kNameWeights)) return false;
    for (int i = 0; i < kNameWeights; ++i)
        if (!from_string((*parts)[i], weights[i])) return false;
    return true;
}

} // namespace

Tunnel::Tunnel(std::string load_paths) : build_path(std::move(load_paths)) {
    console() << "\n TUNNEL To Be Loaded";
    if (!readSeriesList()) return;
    if (gseries.empty()) {
        LineReader::reportFile(build_path, "lists no \"g\" entry (expected g,<class diagram>)");
        status = kExitUsage;
        return;
    }
    firstG = gseries.front();
    console() << "\n TUNNEL Loaded";
    if (!buildCostModel()) return;
    lastG = gseries.back();
    computeOriginalCosts();

    console() << "\nMatchings : " << matchings.size();
    const size_t V = matchings.size();
    m.assign(static_cast<size_t>(firstG->vertices), NodeInts(V + 1, -1));
    for (size_t q = 0; q < m.size(); ++q)
        m[q][0] = static_cast<int>(q);
    console() << "\n Creating Tunnel \n";
    createTunnel(std::vector<int>(V, 0));
}

Tunnel::~Tunnel() {
    for (matching* mat : matchings)
        delete mat;
    for (Graph* g : gseries)
        delete g;
    delete costs;
}

bool Tunnel::readSeriesList() {
    std::ifstream in(build_path);
    if (!in.is_open()) {
        LineReader::reportFile(build_path, "cannot be opened (expected a series list)");
        status = kExitInputUnreadable;
        return false;
    }
    LineReader lines(in, build_path);
    while (lines.next()) {
        const std::string kind = lines.field(0);
        if (kind != "g" && kind != "m") continue;
        if (!lines.require(2, "\"" + kind + ",<path>\"")) continue;
        const bool ok =
            kind == "g" ? addGraph(lines.field(1)) : addMatch(lines.field(1), lines.lineNumber());
        if (!ok) return false;
    }
    return true;
}

bool Tunnel::addGraph(const std::string& path) {
    // A version that reads as empty would shift every chain after it: stop instead.
    if (!std::ifstream(path).is_open()) {
        LineReader::reportFile(path, "cannot be opened (expected a class diagram listed in " +
                                         build_path + ")");
        status = kExitInputUnreadable;
        return false;
    }
    // The arcs stay as read: every relation count, edge value and relation history of the
    // tunnel is drawn from them.
    auto* g = new Graph(kVersionMode, path);
    gseries.push_back(g);
    if (gseries.size() > 1) {
        auto* mat = new matching();
        mat->gseries = &gseries;
        mat->position = static_cast<int>(gseries.size()) - 2;
        mat->g1 = gseries[gseries.size() - 2];
        mat->g2 = g;
        matchings.push_back(mat);
        console() << mat->position << "\t";
    }
    return true;
}

bool Tunnel::addMatch(const std::string& path, int lineNumber) {
    console() << "\nTreat Match\n";
    const MatchName name = cutMatchName(path);
    double weights[kNameWeights];
    if (!name.complete || !readWeights(name.parameters, weights)) {
        LineReader::reportFile(build_path + ", line " + std::to_string(lineNumber),
                               "the match file name " + path +
                                   " does not hold <g2>__<g1>__dwn__dwe__ew__asy__lw");
        status = kExitUsage;
        return false;
    }
    sawMatchEntry = true;
    lastParameters = name.parameters;

    for (size_t n = 0; n < gseries.size(); ++n) {
        console() << "g1 : " << gseries[n]->name << " nameg1 : " << name.g1;
        if (gseries[n]->name != name.g1) continue;
        // The record of the pair that starts at this graph; its later graph must be g2.
        if (n >= matchings.size() || gseries[n + 1]->name != name.g2) return true;
        matching* mat = matchings[n];
        console() << "\nFOUND TWICE\n";
        if (!getMatches(mat, path)) return false;
        console() << "G1 : " << mat->g1->name << " G2 : " << mat->g2->name
                  << " seed : " << name.parameters;
        return true;
    }
    return true;
}

bool Tunnel::buildCostModel() {
    double weights[kNameWeights];
    if (!sawMatchEntry || !readWeights(lastParameters, weights)) {
        LineReader::reportFile(build_path, "lists no \"m\" entry: the cost weights are read "
                                           "from the last match file name");
        status = kExitUsage;
        return false;
    }
    console() << "\n";
    for (double w : weights)
        console() << w << " ";
    costs = new Cost();
    costs->initMode1(weights[0], weights[1], weights[2], weights[3], weights[4]);
    return true;
}

void Tunnel::computeOriginalCosts() {
    const size_t n = static_cast<size_t>(lastG->vertices);
    original_cost.assign(n, 0);
    b_original_cost.assign(n, 0);
    for (size_t p = 0; p < n; ++p) {
        Vertex* v = lastG->V[p];
        int cost = static_cast<int>(costs->classInsertion);
        // Both ends of a relation are inserted with the class: priced as unmatched ends.
        for (Edge* e : v->in)
            cost = static_cast<int>(cost + costs->cei(kCostMode, e, -1, -1));
        original_cost[p] = cost;
        b_original_cost[p] =
            static_cast<int>(v->attributes.size() + v->methods.size() + v->sum_out);
    }
}
