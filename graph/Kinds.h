// Node kinds and the containment arc label shared by the readers, the matcher and the reports.
#pragma once

/// Node kinds (`Vertex::type`) of the class-diagram formats; other formats use further codes.
constexpr short kPackageType = 0;
constexpr short kClassType = 1;
constexpr short kMethodType = 2;
constexpr short kAttributeType = 3;

/// Arc label of containment (package → package or class, class → member).
constexpr int kContainmentLabel = 9;
