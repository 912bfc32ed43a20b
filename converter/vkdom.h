#pragma once

#include "converter/vkbase.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace corvanta {

enum TFontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TCharacterProperties
{
    QByteArray Language;
    quint8 Direction = 0;
    QByteArray FontName;
    QByteArray Color;
    QByteArray BackgroundColor;
    QByteArray HighlightColor;
    int Style = 0;
    int FontSize = 0;
    int Charset = 0;
    quint8 VerticalAlign = 0;
};

struct TParagraphProperties
{
    quint8 Alignment = 0;
    quint8 Direction = 0;
    bool ListItem = false;
    quint8 NumberingLevel = 0;
    int LeftIndent = 0;
    int RightIndent = 0;
    int FirstIndent = 0;
};

// A node of the document tree; owns its children.
class TSimpleDomNode
{
public:
    virtual ~TSimpleDomNode() = default;

    void AppendText(const QString &s) { m_text += s; }
    TSimpleDomNode &AddChild(std::unique_ptr<TSimpleDomNode> child);
    QString &Text() { return m_text; }
    const QString &Text() const { return m_text; }
    void SetText(const QString &text) { m_text = text; }
    int ChildCount() const { return int(m_children.size()); }
    TSimpleDomNode &Child(int index) const { return *m_children[size_t(index)]; }
    TSimpleDomNode *LastChild() const { return m_children.empty() ? nullptr : m_children.back().get(); }
    int IndexOf(const TSimpleDomNode *child) const;
    TSimpleDomNode *PreviousSibling() const;
    TSimpleDomNode *NextSibling() const;
    void RemoveChild(const TSimpleDomNode *child);
    TSimpleDomNode *Parent() const { return m_parent; }

private:
    QString m_text;
    std::vector<std::unique_ptr<TSimpleDomNode>> m_children;
    TSimpleDomNode *m_parent = nullptr;
};

// A run: text with one set of character properties.
class TTextNode : public TSimpleDomNode
{
public:
    TCharacterProperties &Properties() { return m_properties; }
    const TCharacterProperties &Properties() const { return m_properties; }
    void SetCharacterProperties(const TCharacterProperties &p) { m_properties = p; }
    // An encoded run holds markup that must not be escaped again.
    bool Encoded() const { return m_encoded; }
    void SetEncoded(bool encoded) { m_encoded = encoded; }

private:
    TCharacterProperties m_properties;
    bool m_encoded = false;
};

class TParagraphNode : public TSimpleDomNode
{
public:
    TParagraphNode();
    TParagraphProperties &Properties() { return m_properties; }
    const TParagraphProperties &Properties() const { return m_properties; }
    void SetParagraphProperties(const TParagraphProperties &p) { m_properties = p; }
    void EnsureFreshRun();
    TTextNode &Run(int index) const { return static_cast<TTextNode &>(Child(index)); }
    TTextNode &LastRun() const { return static_cast<TTextNode &>(*LastChild()); }

private:
    TParagraphProperties m_properties;
};

class TSimpleDomDocument : public TSimpleDomNode
{
public:
    TSimpleDomDocument();
    void AppendText(const QString &s) { LastRunText() += s; }
    void AppendRaw(const QByteArray &s);
    void AddParagraph();
    TParagraphNode &Paragraph(int index) const { return static_cast<TParagraphNode &>(Child(index)); }
    TParagraphNode &LastParagraph() const { return static_cast<TParagraphNode &>(*LastChild()); }
    QString &LastRunText() { return LastParagraph().LastRun().Text(); }
};

// Turns text bytes of one RTF charset into UTF-16, holding a lead byte of double-byte charsets.
class TUnicodeConverter
{
public:
    TUnicodeConverter();
    ~TUnicodeConverter();
    TUnicodeConverter(const TUnicodeConverter &) = delete;
    TUnicodeConverter &operator=(const TUnicodeConverter &) = delete;

    int GetCharset() const { return m_charset; }
    void SetCharset(int charset);
    bool GetDoubleByte() const { return m_doubleByte; }
    void SetDoubleByte(bool on) { m_doubleByte = on; }
    int CodePage() const { return m_codePage; }
    // Appends to out the text that byte b completes (nothing while a character is incomplete).
    void Feed(uchar b, QString &out);

    static int CodePageOfCharset(int charset);
    // Decodes bytes in a code page (0: Windows-1252); "?" when nothing comes out.
    static QString Decode(const QByteArray &bytes, int codePage);

private:
    void Convert(const QByteArray &bytes, QString &out);

    int m_charset = 0;
    int m_codePage = 0;
    bool m_doubleByte = false;
    int m_pendingCount = 2;
    QByteArray m_pending;
    QString m_upper[128];
    std::unique_ptr<class Iconv> m_iconv;
    int m_iconvCodePage = -1;
};

// The document builder: current properties, the run-splitting rule and the document.
class TVkWriter
{
public:
    explicit TVkWriter(const IVkWriterOptions &options);

    TCharacterProperties GetCharacterProperties() const { return m_character; }
    void SetCharacterProperties(const TCharacterProperties &p);
    TParagraphProperties GetParagraphProperties() const { return m_paragraph; }
    void SetParagraphProperties(const TParagraphProperties &p);
    void ResetCharacterProperties();
    void NewRun();
    void SetAlignment(quint8 alignment);
    int GetDefaultCharset() const { return m_defaultCharset; }
    void SetDefaultCharset(int charset) { m_defaultCharset = charset; }
    bool GetNumberingFlag() const { return m_numberingFlag; }
    void SetNumberingFlag(bool on) { m_numberingFlag = on; }
    void SetNumberingLevel(quint8 level);
    quint8 GetNumberingLevel() const { return m_paragraph.NumberingLevel; }
    void SetListItem(bool on);
    bool GetListItem() const { return m_paragraph.ListItem; }
    void SetDefaultFontName(const QByteArray &name) { m_defaultFontName = name; }
    QByteArray GetDefaultFontName() const { return m_defaultFontName; }
    void SetColor(const QByteArray &color);
    void SetBackgroundColor(const QByteArray &color);
    void SetHighlightColor(const QByteArray &color);
    void SetCharset(int charset);
    void SetStyle(int style);
    int GetStyle() const { return m_character.Style; }
    void SetFontSize(int size);
    bool GetHidden() const { return m_hidden; }
    void SetHidden(bool on) { m_hidden = on; }
    void SetSuperscript(bool on);
    bool GetSubscript() const { return m_character.VerticalAlign == 1; }
    void SetSubscript(bool on);
    bool GetSuperscript() const { return m_character.VerticalAlign == 2; }
    void SetLanguage(const QByteArray &code);
    void SetLeftIndent(int twips);
    void SetRightIndent(int twips);
    void SetFirstIndent(int twips);
    TSimpleDomDocument &Document() { return *m_document; }
    void SetFontName(const QByteArray &name);
    void SetCharacterDirection(quint8 direction);
    void SetParagraphDirection(quint8 direction);
    void WriteChar(uchar b);
    void ResetParagraphProperties();

private:
    void ApplyParagraph();
    bool Has(TFontOption option) const { return m_options.GetFontConversionOptions().contains(option); }
    template<typename T>
    void SetParagraphField(T TParagraphProperties::*field, T value);

    const IVkWriterOptions &m_options;
    TCharacterProperties m_character;
    TParagraphProperties m_paragraph;
    QByteArray m_defaultFontName;
    TUnicodeConverter m_converter;
    int m_defaultCharset = 0;
    std::unique_ptr<TSimpleDomDocument> m_document;
    bool m_numberingFlag = false;
    bool m_hidden = false;
};

}
