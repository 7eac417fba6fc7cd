// The Java declarations an extraction works on: source files, their types and the members
// of each type, as written in the sources and before any type name is resolved.
#pragma once

#include <string>
#include <vector>

/// What a type declaration declares.
enum class TypeKind { Class, Interface, Enum, Annotation };

/// What a member declaration declares.
enum class MemberKind { Method, Constructor, Field, EnumConstant };

/// One method, constructor, field or enum constant of a type.
struct JavaMember {
    MemberKind kind = MemberKind::Method;
    std::string name;
    /// Modifier words as written (public, static, final, synchronized, default, ...), in
    /// source order, blank-separated; empty when none is written.
    std::string modifiers;
    /// Written type in normal form (no generic arguments, no annotations, arrays and
    /// varargs as "[]"): the return type of a method, "void" for a constructor, the type of
    /// a field, empty for an enum constant (its type is the enum).
    std::string type;
    /// Written parameter types of a method or constructor, in the same normal form.
    std::vector<std::string> parameters;
    /// 1-based line of the declaration; members are listed in source order.
    int line = 0;
};

/// One class, interface, enum or annotation type.
struct JavaType {
    TypeKind kind = TypeKind::Class;
    /// Dotted package name; empty for the default package.
    std::string package;
    /// Simple names from the outermost type down to this one, joined by "$".
    std::string nestedName;
    /// Index of the enclosing type in JavaTree::types, or -1 for a top-level type.
    int outer = -1;
    /// Index of the declaring file in JavaTree::files.
    int file = -1;
    int line = 0;
    /// Extended and implemented types as written, in declaration order, normal form.
    std::vector<std::string> supertypes;
    std::vector<JavaMember> members;

    /// "pkg.Outer$Inner" (binary-style name; the default package has no prefix).
    std::string binaryName() const;
    /// "pkg.Outer.Inner", the form member signatures and the diagram readers use.
    std::string dottedName() const;
    /// Name of the type itself, without its outer types.
    std::string simpleName() const;
};

/// One source file that was extracted.
struct JavaFile {
    std::string path;
    std::string package;
    /// Single-type imports ("a.b.C") and on-demand imports ("a.b.*").
    std::vector<std::string> imports;
    /// Single static imports ("a.b.C.member"); they bring member types into scope too.
    std::vector<std::string> staticImports;
};

/// A file that could not be extracted, and why.
struct SkippedFile {
    std::string path;
    std::string reason;
};

/// Everything read from one source tree.
struct JavaTree {
    std::vector<JavaFile> files;
    std::vector<JavaType> types;
    std::vector<SkippedFile> skipped;
    /// Number of ".java" files found, extracted or not.
    int javaFiles = 0;
};
