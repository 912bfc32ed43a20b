#include "helpers.h"

#include "common/error.h"
#include "converter/vktranslator.h"

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::test;

namespace {

TEST(converterComponent, ReplaceFontWithDefaultTable)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"Arial Black", "Arial,Helvetica,sans-serif"},
        {"Times New Roman", "Times,serif"},
        {"Courier New", "Courier,monospace"},
        {"Symbol", "Symbol"},
        {"Verdana", "Verdana"},
        {"arial", "arial"}, // case-sensitive
        {"Times,serif,serif", "Times,serif"},
    };
    TKvVelkaroXHTML c;
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(c.ReplaceFont(name), expected) << name.constData();
}

TEST(converterComponent, ReplaceFontChainsEntriesAndSkipsNamelessOnes)
{
    TKvVelkaroXHTML c;
    c.ReplaceFonts = {"=Never", "NoEquals", "Foo=Bar Baz", "Bar=Qux"};
    EXPECT_EQ(c.ReplaceFont("Foo Light"), "Qux");
    EXPECT_EQ(c.ReplaceFont("NoEquals"), "NoEquals");
    c.OnReplaceFont = [](TVkBase *, QByteArray &name) { name = "X-" + name; };
    EXPECT_EQ(c.ReplaceFont("Foo"), "X-Foo");
}

TEST(converterComponent, DocumentTypeReplacesDialectOnlyOnChange)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(c.DocumentType(), dtXHTML_10_Strict);
    const TCustomTranslator *before = &c.Translator();
    EXPECT_EQ(c.Translator().GetDocumentTypeName(), "XHTML 1.0 Strict");
    c.SetDocumentType(dtXHTML_10_Strict);
    EXPECT_EQ(&c.Translator(), before);
    c.SetDocumentType(dtHTML_401_Transitional);
    EXPECT_EQ(c.Translator().GetDocumentTypeName(), "HTML 4.01 Transitional");
}

TEST(converterComponent, DebugModeAndVersionCannotChange)
{
    TKvVelkaroXHTML c;
    try {
        c.SetDebugMode(true);
        FAIL() << "no exception";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Please compile with symbol VK_DEBUG first");
    }
    EXPECT_FALSE(c.DebugMode());
    EXPECT_NO_THROW(c.SetDebugMode(false));
    c.SetVersion("9.9");
    EXPECT_EQ(c.Version(), "4.6");
}

TEST(converterComponent, LogPassesOnlyLevelsAtOrAboveLogLevel)
{
    LoggedConverter lc;
    lc.converter.LogLevel = logWarning;
    for (TLogLevel level : {logDebug, logInfo, logWarning, logError, logFatal})
        lc.converter.Log(level, "m" + QByteArray::number(int(level)));
    ASSERT_EQ(lc.log.size(), 3u);
    EXPECT_EQ(lc.log[0].second, "m2");
    EXPECT_EQ(lc.log[2].second, "m4");
}

TEST(converterComponent, LineBreakTextWithElementClassAndStyle)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(c.LineBreakText(), "<br />");
    c.ElementClasses = {"p=intro", "BR=brk"};
    c.ElementStyles = {"br=clear:both"};
    EXPECT_EQ(c.LineBreakText(), "<br class=\"brk\" style=\"clear:both\" />");
    c.SetDocumentType(dtHTML_401_Strict);
    EXPECT_EQ(c.LineBreakText(), "<br class=\"brk\" style=\"clear:both\">");
    EXPECT_EQ(c.ClassAttribute("p"), " class=\"intro\"");
    EXPECT_EQ(c.StyleAttribute("p"), QByteArray());
}

TEST(converterComponent, FormatterIndentsByLevel)
{
    TVkFormatter f;
    EXPECT_EQ(f.FormatLine("a"), "a\r\n");
    EXPECT_EQ(f.IndentLine("b"), "  b\r\n");
    EXPECT_EQ(f.IndentLine("c"), "    c\r\n");
    EXPECT_EQ(f.OutdentLine("d"), "  d\r\n");
    f.SetIndentUnit("\t");
    f.SetLineEnd("\n");
    EXPECT_EQ(f.FormatLine("e"), "\te\n");
    EXPECT_EQ(f.Indentation(3), "\t\t\t");
}

TEST(converterComponent, OptionGroupsCarryTheirClassNames)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(c.OptionsHead().Name, "TVkOptionsHead");
    EXPECT_EQ(c.OptionsOptimize().Name, "TVkOptionsOptimize");
}

}
