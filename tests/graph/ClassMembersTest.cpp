// Class members: parsing of "@"-separated texts, modifier words, the written form that the
// diagram readers split again, comparison and rejection of texts outside the format.
#include <gtest/gtest.h>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "util/Console.h"

namespace {

template <typename Member>
Member parseQuietly(const std::string& text, std::string* printed = nullptr) {
    ConsoleCapture capture;
    Member m(text);
    std::string out = capture.text();
    if (printed != nullptr) *printed = out;
    return m;
}

} // namespace

TEST(ClassMethodParse, ThreePartsHaveNoProperties) {
    std::string out;
    auto m = parseQuietly<ClassMethod>("void@run@()", &out);
    EXPECT_EQ(out, "");
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(m.output, "void");
    EXPECT_EQ(m.name, "run");
    EXPECT_EQ(m.inputs, "");
    EXPECT_EQ(m.visibility, 2);
    EXPECT_EQ(m.write(), ",void,run,");
}

TEST(ClassMethodParse, ModifierWordsSetFlags) {
    auto m = parseQuietly<ClassMethod>("private static@int@count@(String,int)");
    EXPECT_EQ(m.visibility, 0);
    EXPECT_TRUE(m._static);
    EXPECT_FALSE(m._final);
    EXPECT_EQ(m.inputs, "String,int");
    EXPECT_EQ(m.write(), "private static,int,count,String,int");

    auto p = parseQuietly<ClassMethod>("PROTECTED FINAL@T@get@(K)");
    EXPECT_EQ(p.visibility, 1);
    EXPECT_TRUE(p._final);

    auto a = parseQuietly<ClassMethod>("public abstract  Static@T@get@(K)");
    EXPECT_EQ(a.visibility, 2);
    EXPECT_TRUE(a._abstract);
    EXPECT_FALSE(a._static); // mixed case is not a recognised spelling
    EXPECT_FALSE(a._constant);

    auto later = parseQuietly<ClassMethod>("private protected@T@get@(K)");
    EXPECT_EQ(later.visibility, 1); // the later word wins
}

TEST(ClassMethodParse, EmptyPropertiesAndExtraParts) {
    auto m = parseQuietly<ClassMethod>("@org.x.Node@parent@()@ignored");
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(m.properties, "");
    EXPECT_EQ(m.output, "org.x.Node");
    EXPECT_EQ(m.name, "parent");
    EXPECT_EQ(m.write(), ",org.x.Node,parent,");
}

TEST(ClassMethodParse, TextsOutsideTheFormatAreRejected) {
    for (const char* bad : {"", "run", "void@run", "void@run@", "void@run@int", "void@run@(int",
                            "public@void@run@x"}) {
        std::string out;
        auto m = parseQuietly<ClassMethod>(bad, &out);
        EXPECT_FALSE(m.valid) << bad;
        EXPECT_NE(out.find("Bad method signature"), std::string::npos) << bad;
        EXPECT_EQ(m.name, "") << bad;
        EXPECT_EQ(m.inputs, "") << bad;
        EXPECT_EQ(m.write(), ",,,") << bad;
    }
}

TEST(ClassMethodCompare, IgnoresVisibilityAndFlags) {
    auto a = parseQuietly<ClassMethod>("private static@int@count@(String)");
    auto b = parseQuietly<ClassMethod>("int@count@(String)");
    auto c = parseQuietly<ClassMethod>("int@count@(int)");
    EXPECT_EQ(a.compare(b), 1);
    EXPECT_EQ(a.compare(c), 0);
    ClassMethod copy(a);
    EXPECT_EQ(copy.visibility, 0);
    EXPECT_TRUE(copy._static);
    EXPECT_EQ(copy.write(), a.write());
}

TEST(ClassAttributeParse, TwoAndThreeParts) {
    auto plain = parseQuietly<ClassAttribute>("int@size");
    EXPECT_TRUE(plain.valid);
    EXPECT_EQ(plain.write(), ",int,size");

    auto pub = parseQuietly<ClassAttribute>("public@int@size");
    EXPECT_EQ(pub.visibility, 2);
    EXPECT_EQ(pub.write(), "public,int,size");

    auto fin = parseQuietly<ClassAttribute>("private static final@Pattern@charsetPattern");
    EXPECT_EQ(fin.visibility, 0);
    EXPECT_TRUE(fin._static);
    EXPECT_TRUE(fin._final);
    EXPECT_EQ(fin.type, "Pattern");

    auto empty = parseQuietly<ClassAttribute>("@org.x.Method@GET");
    EXPECT_EQ(empty.properties, "");
    EXPECT_EQ(empty.type, "org.x.Method");
    EXPECT_EQ(empty.name, "GET");
}

TEST(ClassAttributeParse, TextsOutsideTheFormatAreRejected) {
    for (const char* bad : {"", "size", "int@", "a@b@c@d"}) {
        std::string out;
        auto a = parseQuietly<ClassAttribute>(bad, &out);
        EXPECT_FALSE(a.valid) << bad;
        EXPECT_NE(out.find("Bad attribute text"), std::string::npos) << bad;
        EXPECT_EQ(a.write(), ",,") << bad;
    }
}

TEST(ClassAttributeCompare, NameAndTypeOnly) {
    auto a = parseQuietly<ClassAttribute>("private@int@size");
    auto b = parseQuietly<ClassAttribute>("int@size");
    auto c = parseQuietly<ClassAttribute>("long@size");
    EXPECT_EQ(a.compare(b), 1);
    EXPECT_EQ(a.compare(c), 0);
}

TEST(ClassMemberPrint, ConsoleForms) {
    auto m = parseQuietly<ClassMethod>("private@int@count@(String)");
    ConsoleCapture methodLine;
    m.print();
    EXPECT_EQ(methodLine.text(), "0 int count String\n");
    auto a = parseQuietly<ClassAttribute>("int@size");
    ConsoleCapture attributeLine;
    a.print();
    EXPECT_EQ(attributeLine.text(), "\n2,int,size");
}
