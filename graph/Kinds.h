// Node kinds, the containment arc label and the reader modes shared by the readers, the
// matcher and the reports.
#pragma once

/// Node kinds (`Vertex::type`) of the class-diagram formats; other formats use further codes.
constexpr short kPackageType = 0;
constexpr short kClassType = 1;
constexpr short kMethodType = 2;
constexpr short kAttributeType = 3;

/// Arc label of containment (package → package or class, class → member).
constexpr int kContainmentLabel = 9;
/// The containment label as a label text carries it.
constexpr char kContainmentCode = '9';
constexpr const char* kContainmentText = "9";
static_assert(kContainmentCode - '0' == kContainmentLabel, "one containment code");

/// Reader modes of `Graph(mode, path)`, one per input format.
enum ReaderMode : int {
    kNodeListMode = 0,         ///< "N,M" header, node lines, then arc lines
    kBinaryMode = 1,           ///< 16-bit words, unlabelled arcs
    kBinaryLabelledMode = 2,   ///< 16-bit words, labelled arcs
    kNamedEdgesMode = 3,       ///< undirected edge list between named nodes
    kMembersInClassesMode = 4, ///< class diagram with the members inside their classes
    kLetteredMode = 5,         ///< lettered node and arc lines
    kArcListMode = 6,          ///< arc list over numbered nodes
    kGraphTextMode = 7,        ///< the path argument holds the graph text itself
    kHeaderedTreeMode = 8,     ///< class diagram, package tree from qualified names, header
    kDerivedTreeMode = 9,   ///< class diagram, package tree from qualified names, members by owner
    kThreeKindsMode = 10,   ///< three linked node kinds
    kStateMachineMode = 11, ///< state machines
    kClassDiagramMode = 12, ///< class diagram with explicit packages and containment (default)
};
