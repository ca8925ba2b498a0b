// SPDX-License-Identifier: GPL-2.0-or-later
// The INI rules on bytes: what reads find and what edits make of a hand-edited file.

#include "library/profile_text.h"

#include <gtest/gtest.h>

using namespace ProfileText;
using Names = std::vector<std::string>;

TEST(SectionNames, FileOrderWithoutEmptyHeadersOrKeysAboveTheFirstHeader)
{
    const std::string text = "orphan=1\r\n[B]\r\nk=v\r\n[]\r\n[ A ]\r\n[c.tia]\r\n";
    EXPECT_EQ(SectionNames(text), (Names{"B", "A", "c.tia"}));
    EXPECT_TRUE(SectionNames("").empty());
}

TEST(SectionNames, HeaderIsBetweenFirstOpenAndLastCloseBracket)
{
    EXPECT_EQ(SectionNames("[a]b]\r\n[unclosed\r\n  [indented]\r\n"), (Names{"a]b", "indented"}));
}

TEST(SectionNames, EveryLineEndStyleReadsTheSame)
{
    const Names expected{"A", "B", "C"};
    EXPECT_EQ(SectionNames("[A]\r\n[B]\r\n[C]\r\n"), expected);
    EXPECT_EQ(SectionNames("[A]\n[B]\n[C]"), expected);
    EXPECT_EQ(SectionNames("[A]\r[B]\r[C]"), expected);
    EXPECT_EQ(SectionNames("\xEF\xBB\xBF[A]\r\n[B]\n[C]"), expected);
}

TEST(SectionNames, BufferCutsOffNamesThatDoNotFit)
{
    // Buffer of 10: one place for the final terminator leaves 9 for "name\0" entries.
    const std::string text = "[abc]\r\n[defgh]\r\n[ij]\r\n";
    EXPECT_EQ(SectionNames(text, 10), (Names{"abc", "defg"}));
    EXPECT_EQ(SectionNames(text, 11), (Names{"abc", "defgh"})); // just fits: the list ends there
    EXPECT_EQ(SectionNames(text, 12), (Names{"abc", "defgh"}));
    EXPECT_EQ(SectionNames(text, 6), (Names{"abc"})); // one place left: nothing of "defgh"
}

TEST(SectionNames, DefaultBufferHoldsAboutSixteenThousandCharacters)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "[section" + std::to_string(10000 + i) + "]\r\n"; // 12 characters + terminator
    const auto names = SectionNames(text);
    constexpr int whole = 16383 / 13;
    ASSERT_EQ(names.size(), whole + 1u);
    EXPECT_EQ(names[whole - 1], "section" + std::to_string(10000 + whole - 1));
    EXPECT_EQ(names.back(), std::string("section").substr(0, 16383 % 13 - 1));
}

TEST(FindValue, SectionAndKeyNamesIgnoreCase)
{
    const std::string text = "[A.TIA]\r\nSTATUS=1\r\n";
    EXPECT_EQ(FindValue(text, "a.tia", "status"), "1");
    EXPECT_EQ(FindValue(text, "A.tia", "Status"), "1");
    EXPECT_EQ(FindValue(text, "b.tia", "Status"), std::nullopt);
    EXPECT_EQ(FindValue(text, "a.tia", "Type"), std::nullopt);
}

TEST(FindValue, TrimsBlanksAndOneMatchingPairOfQuotes)
{
    const std::string text = "[s]\r\n"
                             "d=  text  \r\n"
                             "q=\"quoted\"\r\n"
                             "s= 'single' \r\n"
                             "m=\"mixed'\r\n"
                             "two=\"\"twice\"\"\r\n"
                             "lone=\"\r\n"
                             "tab=\tx\t\r\n";
    EXPECT_EQ(FindValue(text, "s", "d"), "text");
    EXPECT_EQ(FindValue(text, "s", "q"), "quoted");
    EXPECT_EQ(FindValue(text, "s", "s"), "single");
    EXPECT_EQ(FindValue(text, "s", "m"), "\"mixed'");
    EXPECT_EQ(FindValue(text, "s", "two"), "\"twice\"");
    EXPECT_EQ(FindValue(text, "s", "lone"), "\"");
    EXPECT_EQ(FindValue(text, "s", "tab"), "x");
}

TEST(FindValue, LineFormRules)
{
    const std::string text = "top=orphan\r\n"
                             "[s]\r\n"
                             "eq=a=b\r\n"
                             "note=v ; note\r\n"
                             "novalue\r\n"
                             ";commented=1\r\n"
                             "  spaced key  =  1 \r\n"
                             "empty=\r\n"
                             "dup=first\r\n"
                             "DUP=second\r\n"
                             "[S]\r\n"
                             "later=1\r\n";
    EXPECT_EQ(FindValue(text, "", "top"), std::nullopt);
    EXPECT_EQ(FindValue(text, "s", "top"), std::nullopt);
    EXPECT_EQ(FindValue(text, "s", "eq"), "a=b");
    EXPECT_EQ(FindValue(text, "s", "note"), "v ; note");
    EXPECT_EQ(FindValue(text, "s", "novalue"), std::nullopt);
    EXPECT_EQ(FindValue(text, "s", "commented"), std::nullopt);
    EXPECT_EQ(FindValue(text, "s", "spaced key"), "1");
    EXPECT_EQ(FindValue(text, "s", "empty"), "");
    EXPECT_EQ(FindValue(text, "s", "dup"), "first");
    EXPECT_EQ(FindValue(text, "s", "later"), std::nullopt); // the second [S] is never read
}

TEST(FindValue, LastLineWithoutLineEnd)
{
    EXPECT_EQ(FindValue("[s]\nk=v", "s", "k"), "v");
    EXPECT_EQ(FindValue("[s]\rk=v\r", "s", "k"), "v");
}

struct NumberCase {
    const char* text;
    std::optional<std::int32_t> expected;
    friend void PrintTo(const NumberCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class ParseIntegerTest : public testing::TestWithParam<NumberCase>
{
};

TEST_P(ParseIntegerTest, ReadsTheCatalogueNumberForms)
{
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseIntegerTest,
    testing::Values(NumberCase{"0", 0}, NumberCase{"2", 2}, NumberCase{"-1", -1},
                    NumberCase{"+7", 7}, NumberCase{"  3", 3}, NumberCase{"007", 7},
                    NumberCase{"0x1", 1}, NumberCase{"0X1f", 31}, NumberCase{"$1", 1},
                    NumberCase{"x1", 1}, NumberCase{"XfF", 255},
                    NumberCase{"2147483647", 2147483647}, NumberCase{"-2147483648", INT32_MIN},
                    NumberCase{"0x7FFFFFFF", 2147483647}, NumberCase{"", std::nullopt},
                    NumberCase{"x", std::nullopt}, NumberCase{"$", std::nullopt},
                    NumberCase{"0x", std::nullopt}, NumberCase{"-", std::nullopt},
                    NumberCase{"1a", std::nullopt}, NumberCase{"+$1", std::nullopt},
                    NumberCase{"-0x1", std::nullopt}, NumberCase{"abc", std::nullopt},
                    NumberCase{"1 ", std::nullopt}, NumberCase{"2147483648", std::nullopt},
                    NumberCase{"-2147483649", std::nullopt}, NumberCase{"0x80000000", std::nullopt},
                    NumberCase{"1.0", std::nullopt},
                    NumberCase{"99999999999999999999", std::nullopt}));

TEST(WithValue, CreatesFileSectionAndKeyInWrittenOrder)
{
    std::string text = WithValue("", "b.tia", "TYPE", "28F008");
    text = WithValue(text, "b.tia", "STATUS", "0");
    text = WithValue(text, "a.tia", "TYPE", "");
    EXPECT_EQ(text, "[b.tia]\r\nTYPE=28F008\r\nSTATUS=0\r\n[a.tia]\r\nTYPE=\r\n");
    EXPECT_EQ(FindValue(text, "a.tia", "type"), "");
}

TEST(WithValue, ReplacesInPlaceKeepingFirstSpellingOfNames)
{
    const std::string text = "[A.TIA]\r\nType = old \r\nSTATUS=1\r\n[b]\r\nType=x\r\n";
    EXPECT_EQ(WithValue(text, "a.tia", "TYPE", "new"),
              "[A.TIA]\r\nType=new\r\nSTATUS=1\r\n[b]\r\nType=x\r\n");
}

TEST(WithValue, NewKeyGoesAfterTheSectionsLastKey)
{
    const std::string text = "[a]\r\nk=1\r\n\r\n; about b\r\n[b]\r\nk=2";
    EXPECT_EQ(WithValue(text, "a", "n", "x"), "[a]\r\nk=1\r\nn=x\r\n\r\n; about b\r\n[b]\r\nk=2");
    EXPECT_EQ(WithValue(text, "b", "n", "x"),
              "[a]\r\nk=1\r\n\r\n; about b\r\n[b]\r\nk=2\r\nn=x\r\n");
    EXPECT_EQ(WithValue("[e]", "e", "n", "x"), "[e]\r\nn=x\r\n");
}

TEST(WithValue, NewSectionGoesToTheEndAfterACompletedLastLine)
{
    EXPECT_EQ(WithValue("[a]\nk=1", "b", "k", "2"), "[a]\nk=1\r\n[b]\r\nk=2\r\n");
    EXPECT_EQ(WithValue("[a]\nk=1\n", "b", "k", "2"), "[a]\nk=1\n[b]\r\nk=2\r\n");
}

TEST(WithValue, WritesIntoTheFirstOfTwoEqualSections)
{
    const std::string text = "[s]\r\nk=1\r\n[S]\r\nk=2\r\n";
    EXPECT_EQ(WithValue(text, "s", "k", "9"), "[s]\r\nk=9\r\n[S]\r\nk=2\r\n");
    EXPECT_EQ(WithValue(text, "S", "n", "9"), "[s]\r\nk=1\r\nn=9\r\n[S]\r\nk=2\r\n");
}

TEST(WithValue, HandEditedPartsSurviveARewrite)
{
    const std::string text = "\xEF\xBB\xBF; library notes\r\n"
                             "\r\n"
                             "[a]\n"
                             "k=1 ; keep\n"
                             "free text line\n"
                             "\n"
                             "[b]\r"
                             "k=2\r";
    EXPECT_EQ(WithValue(text, "a", "k", "5"), "\xEF\xBB\xBF; library notes\r\n"
                                              "\r\n"
                                              "[a]\n"
                                              "k=5\n"
                                              "free text line\n"
                                              "\n"
                                              "[b]\r"
                                              "k=2\r");
    EXPECT_EQ(WithValue("\xEF\xBB\xBF", "a", "k", "1"), "\xEF\xBB\xBF[a]\r\nk=1\r\n");
}

TEST(WithValue, LineBreaksCannotInjectLines)
{
    const std::string text = WithValue("", "x\r\ny", "k\nz", "a\r\nb=c");
    EXPECT_EQ(text, "[x  y]\r\nk z=a  b=c\r\n");
    EXPECT_EQ(FindValue(text, "x  y", "b"), std::nullopt);
    EXPECT_EQ(FindValue(text, "x  y", "k z"), "a  b=c");
}

TEST(WithoutSection, RemovesEveryEqualSectionWithItsLines)
{
    const std::string text =
        "; top\r\n[a]\r\nk=1\r\n; inside\r\n[B]\r\nk=2\r\n[b]\r\nk=3\r\n[c]\r\nk=4";
    EXPECT_EQ(WithoutSection(text, "b"), "; top\r\n[a]\r\nk=1\r\n; inside\r\n[c]\r\nk=4");
    EXPECT_EQ(WithoutSection(text, "C"),
              "; top\r\n[a]\r\nk=1\r\n; inside\r\n[B]\r\nk=2\r\n[b]\r\nk=3\r\n");
    EXPECT_EQ(WithoutSection("\xEF\xBB\xBF[a]\r\n", "a"), "\xEF\xBB\xBF");
    EXPECT_EQ(WithoutSection(text, "missing"), std::nullopt);
}
