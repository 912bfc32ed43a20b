#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <functional>
#include <memory>

namespace corvanta {

enum TDocumentType {
    dtHTML_401_Transitional,
    dtHTML_401_Strict,
    dtXHTML_10_Transitional,
    dtXHTML_10_Strict,
    dtXHTML_Basic_10,
    dtXHTML_MP_10,
    dtXHTML_11,
    dtXHTML_20
};

enum TFontOption { opFontName, opFontSize, opFontStyle, opFontColor, opFontBGColor, opFontHLColor };
enum TFontSizeScale { fsPoint, fsEM, fsEX, fsPercent };
enum THyperlinkOption { hoOpenInNewBrowser, hoReplaceEMailLinks, hoUseHyperlinkList, hoRequireHTTP };
enum TLogLevel { logDebug, logInfo, logWarning, logError, logFatal };
enum TMetaOption { moMetaDate, moMetaGenerator };

// A small set of enumeration values, one bit per ordinal.
template<typename E>
class TEnumSet
{
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            m_bits |= 1u << v;
    }
    constexpr bool contains(E v) const { return m_bits & (1u << v); }
    constexpr void include(E v) { m_bits |= 1u << v; }
    constexpr void exclude(E v) { m_bits &= ~(1u << v); }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const TEnumSet &) const = default;

private:
    unsigned m_bits = 0;
};

using TFontConversionOptions = TEnumSet<TFontOption>;
using THyperlinkOptions = TEnumSet<THyperlinkOption>;
using TMetaOptions = TEnumSet<TMetaOption>;

// name=value lists: the value of the first line whose name matches without regard to case.
QByteArray stringListValue(const QByteArrayList &list, const QByteArray &name);
QByteArray stringListName(const QByteArray &line);
// Replace or add the line for name.
void setStringListValue(QByteArrayList &list, const QByteArray &name, const QByteArray &value);

// A double quote inside an attribute value would end the value early.
QByteArray quoteAttributeValue(const QByteArray &value);

// Line indenter used by the head builder.
class TVkFormatter
{
public:
    void SetLevel(int level) { m_level = level; }
    void SetIndentUnit(const QByteArray &unit) { m_unit = unit; }
    void SetLineEnd(const QByteArray &end) { m_lineEnd = end; }
    int GetLevel() const { return m_level; }
    QByteArray GetLineEnd() const { return m_lineEnd; }
    QByteArray GetIndentUnit() const { return m_unit; }
    QByteArray FormatLine(const QByteArray &text) const;
    QByteArray IndentLine(const QByteArray &text);
    QByteArray OutdentLine(const QByteArray &text);
    QByteArray Indentation(int levels) const { return m_unit.repeated(qMax(levels, 0)); }
    QByteArray CurrentIndentation() const { return Indentation(m_level); }

private:
    int m_level = 0;
    QByteArray m_unit = "  ";
    QByteArray m_lineEnd = "\r\n";
};

class TVkOptions
{
public:
    TVkOptions();
    virtual ~TVkOptions() = default;
    QByteArray Name;

protected:
    explicit TVkOptions(const QByteArray &className) : Name(className) {}
};

class TVkOptionsHead : public TVkOptions
{
public:
    TVkOptionsHead() : TVkOptions("TVkOptionsHead") {}
    bool AddOuterHTML = true;
    QByteArray DocumentTitle = "Untitled document";
    QByteArrayList HeadTags;
    QByteArray MetaAuthor;
    QByteArray MetaContentType = "text/html; charset=UTF-8";
    QByteArray MetaDescription;
    QByteArray MetaKeywords;
    TMetaOptions MetaOptions{moMetaGenerator};
    QByteArrayList MetaTags;
    QByteArrayList StyleSheetInclude;
    QByteArray StyleSheetLink;
};

class TVkOptionsOptimize : public TVkOptions
{
public:
    TVkOptionsOptimize() : TVkOptions("TVkOptionsOptimize") {}
    bool IncludeDefaultFontStyle = false;
    QByteArray DefaultFontColor = "#000000";
    QByteArray DefaultFontName = "Times,serif";
    int DefaultFontSize = 12;
};

// What the reader and the document builder read of the component.
class IVkWriterOptions
{
public:
    virtual ~IVkWriterOptions() = default;
    virtual bool GetConvertLanguage() const = 0;
    virtual QByteArray GetDefaultLanguage() const = 0;
    virtual TFontConversionOptions GetFontConversionOptions() const = 0;
    virtual const TVkOptionsOptimize &GetOptionsOptimize() const = 0;
    virtual QByteArray GetTabString() const = 0;
};

class TCustomTranslator;
class TTextNode;
class TVkReader;
class IVkPictureAdapter;

// Holds every option, the dialect and the formatter; runs the per-run pipeline and the logging.
class TVkBase : public IVkWriterOptions
{
public:
    TVkBase();
    ~TVkBase() override;
    TVkBase(const TVkBase &) = delete;
    TVkBase &operator=(const TVkBase &) = delete;

    bool ConvertEmptyParagraphs = false;
    bool ConvertHyperlinks = false;
    bool ConvertIndent = false;
    bool ConvertLanguage = false;
    bool ConvertPictures = false;
    bool ConvertSpaces = false;
    bool ConvertToPlainText = false;
    bool ConvertUsingPrettyIndents = true;
    QByteArray DefaultLanguage;
    QByteArrayList ElementClasses;
    QByteArrayList ElementStyles;
    TFontConversionOptions FontConversionOptions{opFontName, opFontSize, opFontStyle, opFontColor,
                                                 opFontBGColor};
    TFontSizeScale FontSizeScale = fsPoint;
    QByteArrayList HyperlinkList;
    THyperlinkOptions HyperlinkOptions;
    bool IncludeDocType = true;
    bool IncludeXMLDeclaration = true;
    TLogLevel LogLevel = logInfo;
    QByteArrayList ReplaceFonts{"Arial=Arial,Helvetica,sans-serif", "Courier=Courier,monospace",
                                "Symbol=Symbol", "Times=Times,serif"};
    QByteArray TabString = QByteArray("&nbsp;").repeated(8);

    TDocumentType DocumentType() const { return m_documentType; }
    void SetDocumentType(TDocumentType type);
    bool DebugMode() const { return false; }
    void SetDebugMode(bool on);
    QByteArray Version() const { return "4.6"; }
    void SetVersion(const QByteArray &) {}

    TVkOptionsHead &OptionsHead() { return *m_optionsHead; }
    const TVkOptionsHead &OptionsHead() const { return *m_optionsHead; }
    TVkOptionsOptimize &OptionsOptimize() { return *m_optionsOptimize; }
    const TVkOptionsOptimize &OptionsOptimize() const { return *m_optionsOptimize; }
    TCustomTranslator &Translator() { return *m_translator; }
    const TCustomTranslator &Translator() const { return *m_translator; }
    TVkFormatter &Formatter() { return m_formatter; }

    IVkPictureAdapter *PictureAdapter = nullptr;
    bool Aborted = false;
    bool StopParsing = false;

    std::function<void(TVkBase *Sender)> OnBeforeConvert;
    std::function<void(TVkBase *Sender)> OnAfterConvert;
    std::function<void(TVkBase *Sender, TTextNode &TextElement)> OnBeforeEncode;
    std::function<void(TVkBase *Sender, TTextNode &TextElement)> OnAfterEncode;
    std::function<void(TVkBase *Sender, QString &linkText)> OnHyperlink;
    std::function<void(TVkBase *Sender, TLogLevel logLevel, const QByteArray &logText)> OnLog;
    std::function<void(TVkReader *Sender, int Position, bool &allowContinue)> OnProgress;
    std::function<void(TVkBase *Sender, QByteArray &FontName)> OnReplaceFont;

    void Log(TLogLevel level, const QByteArray &text);
    QByteArray ReplaceFont(const QByteArray &name);
    QByteArray LineBreakText() const;
    QByteArray EncodeRun(TTextNode &run);
    // " class=\"VALUE\"" and " style=\"VALUE\"" of an element, or empty.
    QByteArray ClassAttribute(const QByteArray &element) const;
    QByteArray StyleAttribute(const QByteArray &element) const;

    bool GetConvertLanguage() const override { return ConvertLanguage; }
    QByteArray GetDefaultLanguage() const override { return DefaultLanguage; }
    TFontConversionOptions GetFontConversionOptions() const override { return FontConversionOptions; }
    const TVkOptionsOptimize &GetOptionsOptimize() const override { return *m_optionsOptimize; }
    QByteArray GetTabString() const override { return TabString; }

    // The name written into the generator meta tag.
    virtual QByteArray ClassName() const { return "TVkBase"; }

private:
    void ConvertLink(TTextNode &run);

    TDocumentType m_documentType = dtXHTML_10_Strict;
    std::unique_ptr<TCustomTranslator> m_translator;
    std::unique_ptr<TVkOptionsHead> m_optionsHead;
    std::unique_ptr<TVkOptionsOptimize> m_optionsOptimize;
    TVkFormatter m_formatter;
};

}
