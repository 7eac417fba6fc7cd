// Reading of one match result file into a tunnel's matching record: partners, change costs,
// member changes by classDiff and relation changes by relDiff, in counts and in percent.
#include "tunnel/Tunnel.h"

#include <fstream>

#include "graph/Graph.h"
#include "tunnel/TunnelChains.h"
#include "util/Console.h"
#include "util/DiagramDiff.h"
#include "util/ExitCodes.h"
#include "util/LineReader.h"

namespace {

using List = std::vector<NodeInts> Tunnel::matching::*;

/// Every list of a matching record, in the order in which their tables are appended.
const List kAllLists[] = {
    &Tunnel::matching::matchList,       &Tunnel::matching::costList,
    &Tunnel::matching::bCostList,       &Tunnel::matching::nbAttList,
    &Tunnel::matching::nbMetList,       &Tunnel::matching::nbRelList,
    &Tunnel::matching::nbRelInList,     &Tunnel::matching::nbRelOutList,
    &Tunnel::matching::nbDelAttList,    &Tunnel::matching::nbAddAttList,
    &Tunnel::matching::nbDelMetList,    &Tunnel::matching::nbAddMetList,
    &Tunnel::matching::nbRenMetList,    &Tunnel::matching::nbModMetList,
    &Tunnel::matching::nbDelRelList,    &Tunnel::matching::nbAddRelList,
    &Tunnel::matching::nbModRelList,    &Tunnel::matching::nbDelRelInList,
    &Tunnel::matching::nbAddRelInList,  &Tunnel::matching::nbModRelInList,
    &Tunnel::matching::nbDelRelOutList, &Tunnel::matching::nbAddRelOutList,
    &Tunnel::matching::nbModRelOutList, &Tunnel::matching::p_DelAttList,
    &Tunnel::matching::p_AddAttList,    &Tunnel::matching::p_DelMetList,
    &Tunnel::matching::p_AddMetList,    &Tunnel::matching::p_RenMetList,
    &Tunnel::matching::p_ModMetList,    &Tunnel::matching::p_DelRelList,
    &Tunnel::matching::p_AddRelList,    &Tunnel::matching::p_ModRelList,
    &Tunnel::matching::p_DelRelInList,  &Tunnel::matching::p_AddRelInList,
    &Tunnel::matching::p_ModRelInList,  &Tunnel::matching::p_DelRelOutList,
    &Tunnel::matching::p_AddRelOutList, &Tunnel::matching::p_ModRelOutList,
};

/// Fields of a node line: "ns", the node of g2, the node of g1, ..., the two node costs.
constexpr size_t kNodeLineFields = 11;

/// The newest table of a list.
NodeInts& table(Tunnel::matching* mat, List list) {
    return (mat->*list).back();
}

/// count in percent of base. Without a base, a "Del" share is 0 and the others count 100
/// per change.
int percent(int count, int base, bool deletion) {
    if (base != 0) return count * 100 / base;
    return deletion ? 0 : count * 100;
}

/// Reads one node line; false (reported) when it is malformed or names nodes outside the
/// graphs. An empty third field leaves the node unmatched (n2 = -1).
bool readNodeLine(const LineReader& lines, int nodes2, int nodes1, int& n1, int& n2, int& cost) {
    if (!lines.require(kNodeLineFields, "\"ns,node2,node1,label2,label1,,,,cost,cost2,cost1\""))
        return false;
    if (!lines.intField(1, n1, "node of the later version")) return false;
    if (lines.field(2).empty()) {
        n2 = -1;
        return true;
    }
    int cst1 = 0;
    int cst2 = 0;
    if (!lines.intField(2, n2, "node of the earlier version") || !lines.intField(9, cst1, "cost") ||
        !lines.intField(10, cst2, "cost"))
        return false;
    if (n1 < 0 || n1 >= nodes2 || n2 < 0 || n2 >= nodes1) {
        // Merged blocks of the matcher are numbered past the graph's nodes: not followed.
        lines.report("node number outside the graphs (" + std::to_string(nodes2) + " and " +
                     std::to_string(nodes1) + " nodes; merged blocks are not followed)");
        return false;
    }
    cost = cst1 + cst2;
    return true;
}

/// Member changes of node i of g1 against its partner c2 in g2.
void memberChanges(Tunnel::matching* mat, int i, Vertex* c2, Vertex* c1) {
    const CategoryCounts d = classDiff(c2, c1);
    const int att2 = static_cast<int>(c2->attributes.size());
    const int att1 = static_cast<int>(c1->attributes.size());
    const int met2 = static_cast<int>(c2->methods.size());
    const int met1 = static_cast<int>(c1->methods.size());
    const int kept = d.at("sameMet") + d.at("modMet") + d.at("renMet");
    const int delAtt = att2 - d.at("sameAtt");
    const int addAtt = att1 - d.at("sameAtt");
    const int delMet = met2 - kept;
    const int addMet = met1 - kept;
    if (delAtt < 0 || addAtt < 0 || delMet < 0 || addMet < 0) console() << "\n\nO_o\n\n";
    using M = Tunnel::matching;
    table(mat, &M::nbDelAttList)[i] = delAtt;
    table(mat, &M::nbAddAttList)[i] = addAtt;
    table(mat, &M::nbModMetList)[i] = d.at("modMet");
    table(mat, &M::nbRenMetList)[i] = d.at("renMet");
    table(mat, &M::nbDelMetList)[i] = delMet;
    table(mat, &M::nbAddMetList)[i] = addMet;
    table(mat, &M::bCostList)[i] =
        delAtt + addAtt + d.at("modMet") + d.at("renMet") + delMet + addMet;
    table(mat, &M::p_DelAttList)[i] = percent(delAtt, att2, true);
    table(mat, &M::p_AddAttList)[i] = percent(addAtt, att2, false);
    table(mat, &M::p_DelMetList)[i] = percent(delMet, met2, true);
    table(mat, &M::p_AddMetList)[i] = percent(addMet, met2, false);
    table(mat, &M::p_RenMetList)[i] = percent(d.at("renMet"), met2, true);
    table(mat, &M::p_ModMetList)[i] = percent(d.at("modMet"), met2, true);
}

/// Adds `n` deleted, added and changed relations: all of them, and the out or in ones.
struct RelationTables {
    NodeInts &del, &add, &mod, &delIn, &addIn, &modIn, &delOut, &addOut, &modOut;
};

RelationTables relationTables(Tunnel::matching* mat) {
    using M = Tunnel::matching;
    return {table(mat, &M::nbDelRelList),    table(mat, &M::nbAddRelList),
            table(mat, &M::nbModRelList),    table(mat, &M::nbDelRelInList),
            table(mat, &M::nbAddRelInList),  table(mat, &M::nbModRelInList),
            table(mat, &M::nbDelRelOutList), table(mat, &M::nbAddRelOutList),
            table(mat, &M::nbModRelOutList)};
}

/// Relations of the later version g1 against the earlier g2 (steps 4 and 5).
void relationChanges(Tunnel::matching* mat, const NodeInts& match) {
    RelationTables t = relationTables(mat);
    NodeInts reverse(static_cast<size_t>(mat->g2->vertices), -1);
    for (size_t i = 0; i < match.size(); ++i)
        if (match[i] >= 0) reverse[static_cast<size_t>(match[i])] = static_cast<int>(i);

    console() << "\n\n\n\n ENTER THE RELATION CHANGES";
    for (Edge* e : mat->g1->E) {
        if (e == nullptr) continue;
        const int a = e->from, b = e->to, A = match[a], B = match[b];
        const int L = static_cast<int>(e->label.size());
        if (A >= 0 && B < 0) {
            t.add[a] += L, t.addOut[a] += L;
        } else if (A < 0 && B >= 0) {
            t.add[b] += L, t.addIn[b] += L;
        } else if (A >= 0 && B >= 0) {
            const CategoryCounts d = relDiff(mat->g2->getEdge(A, B), e);
            const int del = d.at("delRel"), add = d.at("addRel");
            t.mod[a] += del + add, t.mod[b] += del + add;
            t.modOut[a] += del + add, t.modIn[b] += del + add;
            t.del[a] += del, t.del[b] += del, t.delOut[a] += del, t.delIn[b] += del;
            t.add[a] += add, t.add[b] += add, t.addOut[a] += add, t.addIn[b] += add;
        }
    }
    for (Edge* e : mat->g2->E) {
        if (e == nullptr) continue;
        const int A = reverse[e->from], B = reverse[e->to];
        const int L = static_cast<int>(e->label.size());
        if (A >= 0 && B < 0) {
            t.del[A] += L, t.delOut[A] += L;
        } else if (A < 0 && B >= 0) {
            t.del[B] += L, t.delIn[B] += L;
        } else if (A >= 0 && B >= 0 && mat->g1->getEdge(A, B) == nullptr) {
            t.mod[A] += L, t.del[A] += L, t.mod[B] += L, t.del[B] += L;
            t.modOut[A] += L, t.delOut[A] += L, t.modIn[B] += L, t.delIn[B] += L;
        }
    }
}

/// Relation change shares of the matched nodes over their partners' relations (step 6).
void relationShares(Tunnel::matching* mat, const NodeInts& match) {
    using M = Tunnel::matching;
    RelationTables t = relationTables(mat);
    for (size_t i = 0; i < match.size(); ++i) {
        if (match[i] < 0) continue;
        Vertex* partner = mat->g2->vertex(match[i]);
        const int rel = labelLength(partner->edges), relIn = labelLength(partner->in),
                  relOut = labelLength(partner->out);
        table(mat, &M::bCostList)[i] += t.delOut[i] + t.addOut[i];
        table(mat, &M::p_DelRelList)[i] = percent(t.del[i], rel, true);
        table(mat, &M::p_AddRelList)[i] = percent(t.add[i], rel, false);
        table(mat, &M::p_ModRelList)[i] = percent(t.mod[i], rel, false);
        table(mat, &M::p_DelRelInList)[i] = percent(t.delIn[i], relIn, true);
        table(mat, &M::p_AddRelInList)[i] = percent(t.addIn[i], relIn, false);
        table(mat, &M::p_ModRelInList)[i] = percent(t.modIn[i], relIn, false);
        table(mat, &M::p_DelRelOutList)[i] = percent(t.delOut[i], relOut, true);
        table(mat, &M::p_AddRelOutList)[i] = percent(t.addOut[i], relOut, false);
        table(mat, &M::p_ModRelOutList)[i] = percent(t.modOut[i], relOut, false);
    }
}

} // namespace

bool Tunnel::getMatches(matching* mat, std::string file_path) {
    std::ifstream in(file_path);
    if (!in.is_open()) {
        LineReader::reportFile(file_path, "cannot be opened (expected a match result file)");
        status = kExitInputUnreadable;
        return false;
    }
    Graph* g1 = mat->g1;
    Graph* g2 = mat->g2;
    const size_t n1 = static_cast<size_t>(g1->vertices);
    for (List list : kAllLists)
        (mat->*list).emplace_back(n1, 0);
    NodeInts& match = table(mat, &matching::matchList);
    for (size_t i = 0; i < n1; ++i) {
        Vertex* v = g1->V[i];
        match[i] = kNoPartner;
        table(mat, &matching::nbAttList)[i] = static_cast<int>(v->attributes.size());
        table(mat, &matching::nbMetList)[i] = static_cast<int>(v->methods.size());
        table(mat, &matching::nbRelList)[i] = labelLength(v->edges);
        table(mat, &matching::nbRelInList)[i] = labelLength(v->in);
        table(mat, &matching::nbRelOutList)[i] = labelLength(v->out);
    }

    LineReader lines(in, file_path);
    while (lines.next()) {
        if (lines.field(0) != "ns") continue;
        int node2 = 0, node1 = 0, cost = 0;
        if (!readNodeLine(lines, g2->vertices, g1->vertices, node2, node1, cost) || node1 < 0)
            continue;
        match[node1] = node2;
        table(mat, &matching::costList)[node1] = cost;
        memberChanges(mat, node1, g2->V[node2], g1->V[node1]);
    }
    relationChanges(mat, match);
    relationShares(mat, match);
    return true;
}
