// Modifier words shared by the method and attribute parsers.
#pragma once

#include <string>
#include <vector>

#include "util/Utilities.h"

/// Visibility codes of class members.
constexpr short kPrivate = 0;
constexpr short kProtected = 1;
constexpr short kPublic = 2;

/// Applies the blank-separated modifier words in order (a later visibility word overrides an
/// earlier one). Only the all-lower and all-upper spellings count; other words are ignored.
inline void applyModifierWords(const std::string& words, short& visibility, bool& isStatic,
                               bool& isFinal, bool& isAbstract) {
    std::vector<std::string>* list = splitString(words, " ");
    if (list == nullptr) return;
    for (const std::string& w : *list) {
        if (w == "private" || w == "PRIVATE")
            visibility = kPrivate;
        else if (w == "protected" || w == "PROTECTED")
            visibility = kProtected;
        else if (w == "static" || w == "STATIC")
            isStatic = true;
        else if (w == "final" || w == "FINAL")
            isFinal = true;
        else if (w == "abstract" || w == "ABSTRACT")
            isAbstract = true;
    }
    delete list;
}
