// Reading of the declaration text that the parser's tags point to: the modifiers and the
// written type before a member's name, and the types of a parameter list, in normal form.
#pragma once

#include <string>
#include <vector>

/// Normal form of a written type: annotations, generic arguments and blanks removed,
/// varargs "..." written "[]" ("Map<String, List<T>>" gives "Map", "String..." gives
/// "String[]").
std::string normaliseType(const std::string& written);

/// Types of the parameters of a signature "(A a, final B<C> b, D... d)", in normal form;
/// a C-style array after the name ("byte b[]") belongs to the type.
std::vector<std::string> parameterTypes(const std::string& signature);

/// The part of a member declaration that precedes the member's name.
struct DeclarationHead {
    /// The name was found in the text.
    bool found = false;
    /// Modifier words as written, in source order, blank-separated.
    std::string modifiers;
    /// Written type in normal form; empty when the text has none before the name (a
    /// constructor, or a declaration whose type is on an earlier line).
    std::string type;
};

/// Reads the modifiers and the type written before `name` in `text`. For a method the name
/// is the one followed by "("; for a field the one followed by "=", ";", ",", "[" or the
/// end of the text. Text of earlier statements on the same line is ignored.
DeclarationHead readDeclarationHead(const std::string& text, const std::string& name, bool method);

/// The whole identifier of a declared name. The parser cuts identifiers at non-ASCII
/// letters ("straße" comes out as "e"), so the name is looked up on its declaration line:
/// a member's name where `follow` is "(" (methods) or "=;,[" or the line end (fields), a
/// type's name after "class", "interface" or "enum" (`follow` empty). Returns `name`
/// unchanged when the line shows nothing longer.
std::string wholeIdentifier(const std::string& line, const std::string& name,
                            const std::string& follow);

/// True when `line` declares a type named `name` ("class Name", "@interface Name", ...;
/// a name the parser cut at a non-ASCII letter counts), or shows none of the keywords
/// class, interface and enum (a declaration broken over lines cannot be checked).
bool declaresType(const std::string& line, const std::string& name);
