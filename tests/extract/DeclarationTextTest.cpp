// Declaration text read around the parser's tags: modifiers and types before a name,
// parameter lists, and identifiers the parser cuts at non-ASCII letters.
#include "extract/DeclarationText.h"

#include <gtest/gtest.h>

namespace {

struct HeadCase {
    const char* text;
    const char* name;
    bool method;
    const char* modifiers;
    const char* type;
};

// Each line is a declaration shape met in real sources; the expected fields are what the
// diagram's member text carries.
TEST(DeclarationText, ModifiersAndTypeBeforeTheName) {
    const HeadCase cases[] = {
        {"    public static Connection connect(String url) {", "connect", true, "public static",
         "Connection"},
        {"    private final static int[] widths = {1};", "widths", false, "private final static",
         "int[]"},
        {"    @Override public <T extends Node> List<T> find(Class<T> c) {", "find", true, "public",
         "List"},
        {"    public @Nullable Map.Entry<String, List<String>> scan(String name) {", "scan", true,
         "public", "Map.Entry"},
        {"    protected Element(Tag tag) {", "Element", true, "protected", ""},
        {"    int size = 0, capacity = 4;", "capacity", false, "", "int"},
        {"class A { private String name; }", "name", false, "private", "String"},
        {"    /* kept */ public synchronized void run() {", "run", true, "public synchronized",
         "void"},
        {"    default boolean free() {", "free", true, "default", "boolean"},
        {"    transient volatile Object lock;", "lock", false, "transient volatile", "Object"},
    };
    for (const HeadCase& c : cases) {
        DeclarationHead head = readDeclarationHead(c.text, c.name, c.method);
        EXPECT_TRUE(head.found) << c.text;
        EXPECT_EQ(head.modifiers, c.modifiers) << c.text;
        EXPECT_EQ(head.type, c.type) << c.text;
    }
    // A name that only occurs inside another identifier or without its bracket is not found.
    EXPECT_FALSE(readDeclarationHead("    int sizes;", "size", false).found);
    EXPECT_FALSE(readDeclarationHead("    return size();", "size", false).found);
}

TEST(DeclarationText, ParameterTypesInNormalForm) {
    // "@ullable" is how the parser hands over "@Nullable" in signatures.
    EXPECT_EQ(parameterTypes("(Map<String, List<Integer>> m, final int n, String... rest)"),
              (std::vector<std::string>{"Map", "int", "String[]"}));
    EXPECT_EQ(parameterTypes("(@ullable Object o, @Named(\"x, y\") byte b[], Token.StartTag t)"),
              (std::vector<std::string>{"Object", "byte[]", "Token.StartTag"}));
    EXPECT_TRUE(parameterTypes("()").empty());
    EXPECT_EQ(normaliseType(" java.util . Map < K , V > [ ] "), "java.util.Map[]");
}

TEST(DeclarationText, IdentifiersCutAtNonAsciiLettersAreMadeWhole) {
    EXPECT_EQ(wholeIdentifier("    private String straße;", "e", "=;,["), "straße");
    EXPECT_EQ(wholeIdentifier("    public double preisÄnderung(double x) {", "nderung", "("),
              "preisÄnderung");
    EXPECT_EQ(wholeIdentifier("final class Zähler {", "hler", ""), "Zähler");
    // The parser's name is kept when the line shows it whole.
    EXPECT_EQ(wholeIdentifier("    int size, sizes;", "size", "=;,["), "size");
    // A type's tag is checked against its declaration line, cut names included.
    EXPECT_TRUE(declaresType("final class Zähler {", "hler"));
    EXPECT_TRUE(declaresType("public @interface Marker {", "Marker"));
    EXPECT_TRUE(declaresType("        extends Base {", "Anything"))
        << "no keyword on the line: unchecked";
    EXPECT_FALSE(declaresType("public sealed interface Shape permits Circle {}", "Circle"));
}

} // namespace
