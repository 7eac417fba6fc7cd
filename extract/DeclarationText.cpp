// Declaration text: annotation and generic-argument removal, parameter lists, and the
// modifiers and type in front of a member's name.
#include "extract/DeclarationText.h"

#include <cctype>

namespace {

/// Letters, digits, "_" and "$", and every byte of a multi-byte UTF-8 character, since Java
/// identifiers may hold any Unicode letter.
bool identifierByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

bool blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        begin++;
    while (end > begin && blank(text[end - 1]))
        end--;
    return text.substr(begin, end - begin);
}

/// Position after the group that opens at `i` ("(" or "<"), or the end of the text when
/// the group is not closed.
size_t skipGroup(const std::string& text, size_t i) {
    const char open = text[i];
    const char close = open == '(' ? ')' : '>';
    int depth = 0;
    for (; i < text.size(); i++) {
        if (text[i] == open)
            depth++;
        else if (text[i] == close && --depth == 0)
            return i + 1;
    }
    return text.size();
}

/// Text without "@Name" and "@Name(arguments)" annotations. The parser sometimes drops the
/// first letter after "@", so whatever identifier follows the "@" is taken.
std::string stripAnnotations(const std::string& text) {
    std::string kept;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '@') {
            kept += text[i++];
            continue;
        }
        i++;
        while (i < text.size() && (identifierByte(text[i]) || text[i] == '.'))
            i++;
        size_t j = i;
        while (j < text.size() && blank(text[j]))
            j++;
        if (j < text.size() && text[j] == '(') i = skipGroup(text, j);
    }
    return kept;
}

std::string stripBlockComments(const std::string& text) {
    std::string kept;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "/*") == 0) {
            size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 2;
            kept += ' ';
        } else {
            kept += text[i++];
        }
    }
    return kept;
}

std::string stripGenerics(const std::string& text) {
    std::string kept;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '<')
            i = skipGroup(text, i);
        else
            kept += text[i++];
    }
    return kept;
}

/// Splits at the commas that are not inside brackets of any kind.
std::vector<std::string> splitTopLevel(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    int depth = 0;
    for (char c : text) {
        if (c == '<' || c == '(' || c == '[') depth++;
        if (c == '>' || c == ')' || c == ']') depth--;
        if (c == ',' && depth == 0) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!trim(current).empty() || !parts.empty()) parts.push_back(current);
    return parts;
}

/// Java's modifier words; the diagram keeps them all as written (its readers act on
/// visibility, static, final and abstract and pass over the others).
bool isModifier(const std::string& word) {
    static const char* const kModifiers[] = {
        "public", "protected", "private",  "static",   "final",   "abstract", "synchronized",
        "native", "transient", "volatile", "strictfp", "default", "sealed",   "non-sealed"};
    for (const char* m : kModifiers)
        if (word == m) return true;
    return false;
}

/// Start of the member's name in `text`, or npos.
size_t findName(const std::string& text, const std::string& name, bool method) {
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        size_t end = at + name.size();
        if (at > 0 && identifierByte(text[at - 1])) continue;
        if (end < text.size() && identifierByte(text[end])) continue;
        while (end < text.size() && blank(text[end]))
            end++;
        if (method) {
            if (end < text.size() && text[end] == '(') return at;
        } else if (end == text.size() || text[end] == '=' || text[end] == ';' || text[end] == ',' ||
                   text[end] == '[') {
            return at;
        }
    }
    return std::string::npos;
}

/// Reads one written type starting at `i`: a dotted name, its generic arguments, and any
/// array brackets or varargs dots.
std::string readType(const std::string& text, size_t i) {
    size_t start = i;
    for (;;) {
        while (i < text.size() && identifierByte(text[i]))
            i++;
        size_t j = i;
        while (j < text.size() && blank(text[j]))
            j++;
        if (j < text.size() && text[j] == '<') j = skipGroup(text, j);
        while (j < text.size() && blank(text[j]))
            j++;
        if (j + 1 < text.size() && text[j] == '.' && text[j + 1] != '.') {
            i = j + 1;
            while (i < text.size() && blank(text[i]))
                i++;
            continue;
        }
        while (j < text.size() &&
               (text[j] == '[' || text[j] == ']' || text[j] == '.' || blank(text[j])))
            j++;
        return normaliseType(text.substr(start, j - start));
    }
}

} // namespace

std::string normaliseType(const std::string& written) {
    std::string text = stripGenerics(stripAnnotations(written));
    std::string normal;
    for (size_t i = 0; i < text.size(); i++) {
        if (blank(text[i])) continue;
        if (text.compare(i, 3, "...") == 0) {
            normal += "[]";
            i += 2;
        } else {
            normal += text[i];
        }
    }
    return normal;
}

std::vector<std::string> parameterTypes(const std::string& signature) {
    std::string inner = trim(signature);
    if (!inner.empty() && inner.front() == '(') inner.erase(0, 1);
    if (!inner.empty() && inner.back() == ')') inner.pop_back();
    std::vector<std::string> types;
    for (const std::string& raw : splitTopLevel(stripAnnotations(inner))) {
        std::string parameter = trim(raw);
        while (parameter.compare(0, 6, "final ") == 0)
            parameter = trim(parameter.substr(6));
        // A C-style array after the name ("byte b[]") is part of the type.
        std::string brackets;
        while (parameter.size() >= 2 && parameter.back() == ']') {
            size_t open = parameter.rfind('[');
            if (open == std::string::npos) break;
            parameter = trim(parameter.substr(0, open));
            brackets += "[]";
        }
        size_t nameStart = parameter.size();
        while (nameStart > 0 && identifierByte(parameter[nameStart - 1]))
            nameStart--;
        std::string type = nameStart > 0 ? parameter.substr(0, nameStart) : parameter;
        types.push_back(normaliseType(type) + brackets);
    }
    return types;
}

DeclarationHead readDeclarationHead(const std::string& text, const std::string& name, bool method) {
    DeclarationHead head;
    std::string clean = stripBlockComments(text);
    size_t at = findName(clean, name, method);
    if (at == std::string::npos) return head;
    head.found = true;
    std::string prefix = clean.substr(0, at);
    // Earlier statements or an opening brace on the same line end before the declaration.
    size_t cut = prefix.find_last_of("{};");
    if (cut != std::string::npos) prefix = prefix.substr(cut + 1);
    prefix = stripAnnotations(prefix);
    for (size_t i = 0; i < prefix.size();) {
        if (blank(prefix[i])) {
            i++;
        } else if (prefix[i] == '<') {
            i = skipGroup(prefix, i); // a method's own type parameters
        } else if (identifierByte(prefix[i]) || prefix[i] == '-') {
            size_t end = i;
            while (end < prefix.size() && (identifierByte(prefix[end]) || prefix[end] == '-'))
                end++;
            std::string word = prefix.substr(i, end - i);
            if (isModifier(word)) {
                head.modifiers += (head.modifiers.empty() ? "" : " ") + word;
            } else {
                head.type = readType(prefix, i);
                break;
            }
            i = end;
        } else {
            i++;
        }
    }
    return head;
}

std::string wholeIdentifier(const std::string& line, const std::string& name,
                            const std::string& follow) {
    if (name.empty()) return name;
    for (size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
        size_t begin = at, end = at + name.size();
        while (begin > 0 && identifierByte(line[begin - 1]))
            begin--;
        while (end < line.size() && identifierByte(line[end]))
            end++;
        std::string token = line.substr(begin, end - begin);
        if (follow.empty()) {
            size_t before = begin;
            while (before > 0 && blank(line[before - 1]))
                before--;
            size_t word = before;
            while (word > 0 && identifierByte(line[word - 1]))
                word--;
            std::string keyword = line.substr(word, before - word);
            if (keyword == "class" || keyword == "interface" || keyword == "enum") return token;
            continue;
        }
        size_t next = end;
        while (next < line.size() && blank(line[next]))
            next++;
        bool fits = follow == "("
                        ? next < line.size() && line[next] == '('
                        : next == line.size() || follow.find(line[next]) != std::string::npos;
        if (fits) return token;
    }
    return name;
}

bool declaresType(const std::string& line, const std::string& name) {
    bool keyword = false;
    for (const std::string k : {"class", "interface", "enum"}) {
        for (size_t at = line.find(k); at != std::string::npos; at = line.find(k, at + 1)) {
            size_t end = at + k.size();
            if ((at > 0 && identifierByte(line[at - 1])) || end >= line.size() || !blank(line[end]))
                continue;
            keyword = true;
            while (end < line.size() && blank(line[end]))
                end++;
            size_t tokenEnd = end;
            while (tokenEnd < line.size() && identifierByte(line[tokenEnd]))
                tokenEnd++;
            std::string token = line.substr(end, tokenEnd - end);
            if (token.size() >= name.size() &&
                token.compare(token.size() - name.size(), name.size(), name) == 0)
                return true;
        }
    }
    return !keyword;
}
