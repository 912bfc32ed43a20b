#pragma once

#include "converter/vkbase.h"
#include "converter/vkdom.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace corvanta {

// Everything that differs between the output document types.
class TCustomTranslator
{
public:
    virtual ~TCustomTranslator() = default;

    virtual QByteArray EncodeText(const QString &text) const;
    virtual QByteArray GetHtmlElement() const = 0;
    virtual QByteArray GetEmptyElementEnd() const = 0;
    virtual QByteArray FormatRun(const QByteArray &text, const TCharacterProperties &p) const = 0;
    virtual QByteArray GetDocType() const = 0;
    virtual QByteArray GetDocumentTypeName() const = 0;
    virtual QByteArray GetParagraphStart(const TParagraphProperties &p) const = 0;
    virtual bool IsElementSupported(const QByteArray &element) const;
    virtual bool IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const;
    virtual bool IsTransitional() const = 0;
    virtual bool UsesXmlLang() const = 0;
    virtual bool DocTypeRequired() const { return false; }

    QByteArray GetLangAttribute(const QByteArray &code) const;
    QByteArray GetFontSizeStyle(int size) const;
    QByteArray GetIndent() const { return "      "; }
    QByteArray GetParagraphTag(const QByteArray &style, const QByteArray &alignmentAttribute) const;
    QByteArray GetStyleAttribute(const QByteArray &style) const;
    void SetFontSizeScale(TFontSizeScale scale) { m_fontSizeScale = scale; }
    void SetParagraphDefaults(const QByteArray &startTag, const QByteArray &baseStyle);

    static QByteArray GetParagraphStyle(const TParagraphProperties &p);

protected:
    // Run markup shared by the dialects that write spans.
    QByteArray FormatRunWithSpan(const QByteArray &text, const TCharacterProperties &p) const;

private:
    QByteArray m_paragraphStartTag = "<p";
    QByteArray m_paragraphBaseStyle;
    TFontSizeScale m_fontSizeScale = fsPoint;
};

class THTMLTranslator : public TCustomTranslator
{
public:
    QByteArray GetHtmlElement() const override { return "<html>"; }
    QByteArray GetEmptyElementEnd() const override { return ">"; }
    QByteArray FormatRun(const QByteArray &text, const TCharacterProperties &p) const override
    {
        return FormatRunWithSpan(text, p);
    }
    bool UsesXmlLang() const override { return false; }
};

class THTML401TransitionalTranslator : public THTMLTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "HTML 4.01 Transitional"; }
    QByteArray GetParagraphStart(const TParagraphProperties &p) const override;
    bool IsTransitional() const override { return true; }
};

class THTML401StrictTranslator : public THTMLTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "HTML 4.01 Strict"; }
    QByteArray GetParagraphStart(const TParagraphProperties &p) const override;
    bool IsElementSupported(const QByteArray &element) const override;
    bool IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const override;
    bool IsTransitional() const override { return false; }
};

class TXHTMLTranslator : public TCustomTranslator
{
public:
    QByteArray GetHtmlElement() const override;
    QByteArray GetEmptyElementEnd() const override { return " />"; }
    QByteArray FormatRun(const QByteArray &text, const TCharacterProperties &p) const override
    {
        return FormatRunWithSpan(text, p);
    }
    bool UsesXmlLang() const override { return true; }
};

class TXHTML10TransitionalTranslator : public TXHTMLTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML 1.0 Transitional"; }
    QByteArray GetParagraphStart(const TParagraphProperties &p) const override;
    bool IsTransitional() const override { return true; }
};

class TXHTML10StrictTranslator : public TXHTMLTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML 1.0 Strict"; }
    QByteArray GetParagraphStart(const TParagraphProperties &p) const override;
    bool IsElementSupported(const QByteArray &element) const override;
    bool IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const override;
    bool IsTransitional() const override { return false; }
};

class TXHTML11Translator : public TXHTML10StrictTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML 1.1"; }
    bool IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const override;
    bool DocTypeRequired() const override { return true; }
};

class TXHTML20Translator : public TXHTML11Translator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML 2.0"; }
    QByteArray GetHtmlElement() const override;
};

class TXHTMLBasic10Translator : public TXHTMLTranslator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML Basic 1.0"; }
    QByteArray FormatRun(const QByteArray &text, const TCharacterProperties &p) const override;
    QByteArray GetParagraphStart(const TParagraphProperties &p) const override;
    bool IsElementSupported(const QByteArray &element) const override;
    bool IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const override;
    bool IsTransitional() const override { return false; }
};

class TXHTMLMobileProfile10Translator : public TXHTMLBasic10Translator
{
public:
    QByteArray GetDocType() const override;
    QByteArray GetDocumentTypeName() const override { return "XHTML Mobile 1.0"; }
    bool IsElementSupported(const QByteArray &) const override { return true; }
};

std::unique_ptr<TCustomTranslator> CreateTranslator(TDocumentType type);

}
