// One version's class diagram as the change report sees it: its classes, the package of
// each, and the members of each with a comparable text.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class Graph;

class DiagramView {
public:
    struct Member {
        int owner = -1;   ///< index of the owning class in `classes`
        int node = -1;    ///< node number, -1 for a member kept inside its class node
        std::string name; ///< simple name
        std::string text; ///< "name(T1,T2) : R" for a method, "name : T" for an attribute
    };

    /// Reads the classes of `g` as read in reader mode `mode`: nodes of kind class, and in
    /// mode 5 (which has one node kind) every node.
    DiagramView(const Graph& g, int mode);

    std::vector<int> classes;                ///< class node numbers, ascending
    std::map<int, int> classIndex;           ///< class node number -> index in `classes`
    std::vector<std::string> labels;         ///< qualified name per class index
    std::vector<std::string> packageOf;      ///< package per class index ("" for none)
    std::vector<std::vector<int>> membersOf; ///< member indices per class index
    std::vector<Member> members;
    std::map<int, int> memberOfNode; ///< member node number -> member index
    std::set<std::string> packages;  ///< every package name of this version
    /// Members are nodes of the graph (matched by the matcher), not kept inside classes.
    bool membersAreNodes = false;

    /// The tables above read by a class or member index held as int (never negative).
    const std::string& label(int classIdx) const { return labels[static_cast<size_t>(classIdx)]; }
    const std::string& package(int classIdx) const {
        return packageOf[static_cast<size_t>(classIdx)];
    }
    const std::vector<int>& membersOfClass(int classIdx) const {
        return membersOf[static_cast<size_t>(classIdx)];
    }
    const Member& member(int memberIdx) const { return members[static_cast<size_t>(memberIdx)]; }

    /// The class name relative to its package ("Outer.Inner" for a nested class).
    std::string localName(int classIdx) const;

private:
    void readClasses(const Graph& g, int mode);
    void readPackages(const Graph& g, int mode);
    void readMemberNodes(const Graph& g);
    void readInsideMembers(const Graph& g);
    void addMember(int owner, int node, const std::string& name, const std::string& text);
};

/// The package of a class named `label` when the diagram names no packages: the parts
/// before the first part that begins with an upper-case letter (the usual naming of
/// packages and classes), or, when no part does, everything before the last ".".
std::string packageByConvention(const std::string& label);
