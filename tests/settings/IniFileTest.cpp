// Reading and writing INI text by the profile-string rules, other lines kept byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "settings/IniFile.h"

namespace tidemar {
namespace {

TEST(IniDocumentRead, NamesIgnoreCaseAndBlanks) {
    const IniDocument ini("[ settings ]\r\n  GAIN =  12 \r\nUserText=a b\r\n");
    EXPECT_EQ(ini.Find("Settings", "Gain"), "12");
    EXPECT_EQ(ini.Find("SETTINGS", "gain"), "12");
    EXPECT_EQ(ini.Find("Settings", "usertext"), "a b");
}

TEST(IniDocumentRead, MissingSectionOrKeyGivesTheFallback) {
    const IniDocument ini("[Settings]\nGain=3\n[Other]\nRange=1\n");
    EXPECT_FALSE(ini.Find("Settings", "Range").has_value()) << "a key of another section";
    EXPECT_FALSE(ini.Find("Missing", "Gain").has_value());
    EXPECT_EQ(ini.Get("Settings", "Speed", "2"), "2");
    EXPECT_EQ(ini.Get("Settings", "Gain", "9"), "3");
    EXPECT_EQ(IniDocument("").Get("Settings", "Gain", "6"), "6");
}

TEST(IniDocumentRead, FirstSectionAndFirstKeyWin) {
    const IniDocument ini("[Settings]\nGain=1\nGain=2\n[Settings]\nGain=3\nRange=4\n");
    EXPECT_EQ(ini.Find("Settings", "Gain"), "1");
    EXPECT_FALSE(ini.Find("Settings", "Range").has_value()) << "only the first section is read";
}

TEST(IniDocumentRead, EdgesOfTheLineSyntax) {
    struct Case {
        const char* text;
        const char* key;
        std::optional<std::string> value;
        const char* legend;
    };
    const Case cases[] = {
        {"[Settings]\nGain=\n", "Gain", "", "empty value is not missing"},
        {"[Settings]\nGain\n", "Gain", std::nullopt, "no '=' is no key"},
        {"[Settings]\n;Gain=4\n", "Gain", std::nullopt, "comment"},
        {"[Settings]\n  ; Gain=4\n", "Gain", std::nullopt, "indented comment"},
        {"Gain=4\n[Settings]\n", "Gain", std::nullopt, "key before any section"},
        {"[Settings] ; main\nGain=4\n", "Gain", "4", "text after the bracket"},
        {"[Settings\nGain=4\n", "Gain", "4", "header without ']'"},
        {"[Settings]\nUserText=a=b\n", "UserText", "a=b", "'=' inside the value"},
        {"[Settings]\nGain=4", "Gain", "4", "last line without a line end"},
        {"[Settings]\r\nGain=4\r\n", "Gain", "4", "CRLF"},
        {"[Settings]\r\nGain=4\r\r\n", "Gain", "4", "stray CR before CRLF"},
        {"[Settings]\nGain=4\r\n", "Gain", "4", "mixed line ends"},
        {"\xEF\xBB\xBF[Settings]\nGain=4\n", "Gain", "4", "byte-order mark"},
        {"[Settings]\nUserText=a\rb\n", "UserText", "a\rb", "CR inside a value"},
    };
    for (const Case& c : cases) EXPECT_EQ(IniDocument(c.text).Find("Settings", c.key), c.value) << c.legend;
}

TEST(IniDocumentRead, OnePairOfMatchingQuotesIsDropped) {
    struct Case {
        const char* value;  // as it stands after "Key="
        const char* reads;
        const char* legend;
    };
    const Case cases[] = {
        {"\"12\"", "12", "double quotes"},
        {"'Survey 1'", "Survey 1", "single quotes"},
        {"  \"Survey 1\"  ", "Survey 1", "blanks outside the quotes"},
        {"\" a b \"", " a b ", "blanks inside are kept"},
        {"\"\"", "", "quotes around nothing"},
        {"\"", "\"", "a lone quote"},
        {"\"a'", "\"a'", "quotes that do not match"},
        {"\"a", "\"a", "opening quote only"},
        {"\"\"a\"\"", "\"a\"", "only the outer pair"},
        {"'a\"b'", "a\"b", "other quotes inside"},
        {"x\"a\"", "x\"a\"", "quotes not at the start"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniDocument(std::string("[Settings]\nKey=") + c.value + "\n").Find("Settings", "Key"), c.reads)
            << c.legend;
    EXPECT_EQ(IniDocument("").Get("Settings", "Key", "\"x\""), "\"x\"") << "the fallback is taken as it is";
}

TEST(IniDocumentRead, NulBytesAndInvalidTextAreJustBytes) {
    const std::string text("[Settings]\nUserText=a\0b\nGain=\xff\xfe\n\0\0\0", 32);
    const IniDocument ini(text);
    EXPECT_EQ(ini.Find("Settings", "UserText"), std::string("a\0b", 3));
    EXPECT_EQ(ini.Find("Settings", "Gain"), "\xff\xfe");
    EXPECT_EQ(ini.Text(), text);
}

TEST(IniDocumentText, UnchangedDocumentGivesBackEveryByte) {
    for (const std::string& text : {std::string(""), std::string("\n"), std::string("a"), std::string("\r\n\r\n"),
                                    std::string("[S]\nk=v"), std::string("x\r\ny\nz\r"), std::string("\r")})
        EXPECT_EQ(IniDocument(text).Text(), text);
}

TEST(IniDocumentWrite, ReplacesTheValueInPlace) {
    IniDocument ini("; top\r\n[Settings]\r\nGain=3\r\n  gain  = 9\r\nRange=4\r\n[Other]\r\nGain=1\r\n");
    ini.Set("SETTINGS", "GAIN", "12");
    EXPECT_EQ(ini.Text(), "; top\r\n[Settings]\r\nGain=12\r\n  gain  = 9\r\nRange=4\r\n[Other]\r\nGain=1\r\n");
}

TEST(IniDocumentWrite, KeepsTheKeySpellingAndTheBlanksAfterTheEqualsSign) {
    IniDocument ini("[Settings]\nSoundVelocityMeters =  1482.5   ; measured\nGain=1");
    ini.Set("Settings", "soundvelocitymeters", "1500.0");
    ini.Set("Settings", "Gain", "2");
    EXPECT_EQ(ini.Text(), "[Settings]\nSoundVelocityMeters =  1500.0\nGain=2");
}

TEST(IniDocumentWrite, SameValueLeavesTheLineAlone) {
    const std::string text = "[Settings]\nProfileMinimumRange =  0.0   \nGain=\"12\"\n";
    IniDocument ini(text);
    ini.Set("Settings", "ProfileMinimumRange", " 0.0");
    ini.Set("Settings", "Gain", "12");
    EXPECT_EQ(ini.Text(), text);
}

TEST(IniDocumentWrite, QuotedValuesKeepTheirQuotes) {
    IniDocument ini("[Settings]\nUserText=old\n");
    ini.Set("Settings", "UserText", "\"Survey 1\"");
    ini.Set("Settings", "Other", "'x'");
    ini.Set("Settings", "Plain", "Survey \"1\"");
    EXPECT_EQ(ini.Text(), "[Settings]\nUserText=\"\"Survey 1\"\"\nOther=''x''\nPlain=Survey \"1\"\n");
}

TEST(IniDocumentWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
    IniDocument ini("[Settings]\nGain=3\n; note\n\n[Other]\nx=1\n");
    ini.Set("Settings", "Range", "9");
    EXPECT_EQ(ini.Text(), "[Settings]\nGain=3\nRange=9\n; note\n\n[Other]\nx=1\n");

    IniDocument empty("[Other]\nx=1\n[Settings]");
    empty.Set("Settings", "Gain", "6");
    EXPECT_EQ(empty.Text(), "[Other]\nx=1\n[Settings]\nGain=6\n") << "section header without a line end";
}

TEST(IniDocumentWrite, NewSectionGoesAtTheEnd) {
    IniDocument fresh;
    fresh.Set("Settings", "Gain", "6");
    fresh.Set("Settings", "Range", "9");
    EXPECT_EQ(fresh.Text(), "[Settings]\r\nGain=6\r\nRange=9\r\n") << "new files use CRLF";

    IniDocument lf("[GPS]\nPort=1");
    lf.Set("Settings", "Gain", "6");
    EXPECT_EQ(lf.Text(), "[GPS]\nPort=1\n\n[Settings]\nGain=6\n") << "LF file stays LF";

    IniDocument blankEnd("[GPS]\r\n\r\n");
    blankEnd.Set("Settings", "Gain", "6");
    EXPECT_EQ(blankEnd.Text(), "[GPS]\r\n\r\n[Settings]\r\nGain=6\r\n");
}

TEST(IniDocumentWrite, ValuesCannotBreakTheLineStructure) {
    IniDocument ini("[Settings]\n");
    ini.Set("Settings", "UserText", "first\nsecond");
    ini.Set("Settings", "IPAddress_Sonar1", std::string("127.0.0.1\0junk", 14));
    ini.Set("Settings", "ConfigFile", "name.cfg \t\r");
    EXPECT_EQ(ini.Text(), "[Settings]\nUserText=first\nIPAddress_Sonar1=127.0.0.1\nConfigFile=name.cfg\n");
    EXPECT_EQ(ini.Find("Settings", "ConfigFile"), "name.cfg");
}

TEST(IniDocumentWrite, WrittenValuesReadBack) {
    IniDocument ini("[settings]\r\nA=1\r\n");
    const std::string values[] = {"",   "x",  " lead", "a=b", "\xC3\xA9t\xC3\xA9", "a\rb", ";not a comment", "\"q\"",
                                  "''", "\"", " 'x'",  "\"a'"};
    for (const std::string& v : values) {
        ini.Set("Settings", "A", v);
        ini.Set("Settings", "B", v);
        const std::string expected(
            v.substr(v.find_first_not_of(' ') == std::string::npos ? v.size() : v.find_first_not_of(' ')));
        EXPECT_EQ(IniDocument(ini.Text()).Find("Settings", "A"), expected) << v;
        EXPECT_EQ(IniDocument(ini.Text()).Find("Settings", "B"), expected) << v;
    }
}

}  // namespace
}  // namespace tidemar
