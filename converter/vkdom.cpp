#include "converter/vkdom.h"

#include <QByteArrayView>

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace corvanta {

TSimpleDomNode &TSimpleDomNode::AddChild(std::unique_ptr<TSimpleDomNode> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return *m_children.back();
}

int TSimpleDomNode::IndexOf(const TSimpleDomNode *child) const
{
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == child)
            return int(i);
    return -1;
}

TSimpleDomNode *TSimpleDomNode::PreviousSibling() const
{
    if (!m_parent)
        return nullptr;
    const int i = m_parent->IndexOf(this);
    return i > 0 ? &m_parent->Child(i - 1) : nullptr;
}

TSimpleDomNode *TSimpleDomNode::NextSibling() const
{
    if (!m_parent)
        return nullptr;
    const int i = m_parent->IndexOf(this);
    return i >= 0 && i + 1 < m_parent->ChildCount() ? &m_parent->Child(i + 1) : nullptr;
}

void TSimpleDomNode::RemoveChild(const TSimpleDomNode *child)
{
    // The last child is the usual one to go, so search from the end.
    for (auto it = m_children.end(); it != m_children.begin();) {
        --it;
        if (it->get() == child) {
            m_children.erase(it);
            return;
        }
    }
}

TParagraphNode::TParagraphNode()
{
    AddChild(std::make_unique<TTextNode>());
}

void TParagraphNode::EnsureFreshRun()
{
    if (!LastRun().Text().isEmpty())
        AddChild(std::make_unique<TTextNode>());
}

TSimpleDomDocument::TSimpleDomDocument()
{
    AddParagraph();
}

void TSimpleDomDocument::AppendRaw(const QByteArray &s)
{
    // An empty piece would leave an empty encoded run behind, and the text after it unescaped.
    if (s.isEmpty())
        return;
    TParagraphNode &paragraph = LastParagraph();
    paragraph.EnsureFreshRun();
    paragraph.LastRun().SetEncoded(true);
    paragraph.LastRun().AppendText(QString::fromUtf8(s));
    paragraph.EnsureFreshRun();
}

void TSimpleDomDocument::AddParagraph()
{
    AddChild(std::make_unique<TParagraphNode>());
}

namespace {

QByteArray iconvName(int codePage)
{
    return "CP" + QByteArray::number(codePage == 0 ? 1252 : codePage);
}

// Converts with an open descriptor and flushes it, so that stateful code pages give out
// what they hold back. Bytes that do not convert are left out.
void iconvAppend(iconv_t cd, const QByteArray &bytes, QString &out)
{
    std::vector<char16_t> buffer(size_t(bytes.size()) * 2 + 8);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *outPtr = reinterpret_cast<char *>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1) || errno != EILSEQ)
            break;
        ++in;
        --inLeft;
    }
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.append(QStringView(buffer.data(), reinterpret_cast<char16_t *>(outPtr) - buffer.data()));
}

}

// An open conversion from one code page to UTF-16.
class Iconv
{
public:
    explicit Iconv(int codePage) : m_cd(iconv_open("UTF-16LE", iconvName(codePage).constData())) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    bool valid() const { return m_cd != iconv_t(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

TUnicodeConverter::TUnicodeConverter() = default;
TUnicodeConverter::~TUnicodeConverter() = default;

int TUnicodeConverter::CodePageOfCharset(int charset)
{
    switch (charset) {
    case 2: return 0;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 1252;
    }
}

QString TUnicodeConverter::Decode(const QByteArray &bytes, int codePage)
{
    QString out;
    Iconv cd(codePage);
    if (cd.valid())
        iconvAppend(cd.get(), bytes, out);
    return out.isEmpty() && !bytes.isEmpty() ? QStringLiteral("?") : out;
}

void TUnicodeConverter::SetCharset(int charset)
{
    if (charset == m_charset)
        return;
    m_charset = charset;
    m_codePage = CodePageOfCharset(charset);
    m_doubleByte = charset == 128 || charset == 129 || charset == 134 || charset == 136;
    for (QString &decoded : m_upper)
        decoded = QString();
    if (m_doubleByte) {
        m_pendingCount = 2;
        m_pending.clear();
    }
}

void TUnicodeConverter::Convert(const QByteArray &bytes, QString &out)
{
    if (!m_iconv || m_iconvCodePage != m_codePage) {
        m_iconv = std::make_unique<Iconv>(m_codePage);
        m_iconvCodePage = m_codePage;
    }
    const qsizetype before = out.size();
    if (m_iconv->valid())
        iconvAppend(m_iconv->get(), bytes, out);
    if (out.size() == before)
        out += QLatin1Char('?');
}

void TUnicodeConverter::Feed(uchar b, QString &out)
{
    if (m_doubleByte) {
        if (m_pendingCount != 2 || b >= 128) {
            m_pending.append(char(b));
            if (--m_pendingCount > 0)
                return;
            Convert(m_pending, out);
            m_pendingCount = 2;
            m_pending.clear();
            return;
        }
        out += QChar(b);
        return;
    }
    if (b < 128) {
        out += QChar(b);
        return;
    }
    // Single-byte code pages: each upper byte is decoded once per code page.
    QString &decoded = m_upper[b - 128];
    if (decoded.isNull())
        Convert(QByteArray(1, char(b)), decoded);
    out += decoded;
}

TVkWriter::TVkWriter(const IVkWriterOptions &options)
    : m_options(options), m_document(std::make_unique<TSimpleDomDocument>())
{
    m_converter.SetCharset(m_defaultCharset);
}

void TVkWriter::NewRun()
{
    TParagraphNode &paragraph = m_document->LastParagraph();
    paragraph.EnsureFreshRun();
    paragraph.LastRun().SetCharacterProperties(m_character);
}

void TVkWriter::ApplyParagraph()
{
    m_document->LastParagraph().SetParagraphProperties(m_paragraph);
}

void TVkWriter::SetFontName(const QByteArray &name)
{
    if (Has(opFontName) && name != m_character.FontName) {
        m_character.FontName = name;
        NewRun();
    }
}

void TVkWriter::SetFontSize(int size)
{
    if (Has(opFontSize) && size != m_character.FontSize) {
        m_character.FontSize = size;
        NewRun();
    }
}

void TVkWriter::SetStyle(int style)
{
    if (Has(opFontStyle) && style != m_character.Style) {
        m_character.Style = style;
        NewRun();
    }
}

void TVkWriter::SetColor(const QByteArray &color)
{
    if (Has(opFontColor) && color != m_character.Color) {
        m_character.Color = color;
        NewRun();
    }
}

void TVkWriter::SetBackgroundColor(const QByteArray &color)
{
    if (Has(opFontBGColor) && color != m_character.BackgroundColor) {
        m_character.BackgroundColor = color;
        NewRun();
    }
}

void TVkWriter::SetHighlightColor(const QByteArray &color)
{
    if (Has(opFontHLColor) && color != m_character.HighlightColor) {
        m_character.HighlightColor = color;
        NewRun();
    }
}

void TVkWriter::SetCharacterDirection(quint8 direction)
{
    if (direction != m_character.Direction) {
        m_character.Direction = direction;
        NewRun();
    }
}

void TVkWriter::SetSubscript(bool on)
{
    if (on != (m_character.VerticalAlign == 1)) {
        m_character.VerticalAlign = on ? 1 : 0;
        NewRun();
    }
}

void TVkWriter::SetSuperscript(bool on)
{
    if (on != (m_character.VerticalAlign == 2)) {
        m_character.VerticalAlign = on ? 2 : 0;
        NewRun();
    }
}

void TVkWriter::SetLanguage(const QByteArray &code)
{
    if (!m_options.GetConvertLanguage() || code == m_character.Language)
        return;
    m_character.Language = code == m_options.GetDefaultLanguage() ? QByteArray() : code;
    NewRun();
}

void TVkWriter::SetCharset(int charset)
{
    m_character.Charset = charset;
    m_converter.SetCharset(charset);
}

template<typename T>
void TVkWriter::SetParagraphField(T TParagraphProperties::*field, T value)
{
    if (m_paragraph.*field != value) {
        m_paragraph.*field = value;
        ApplyParagraph();
    }
}

void TVkWriter::SetAlignment(quint8 alignment) { SetParagraphField(&TParagraphProperties::Alignment, alignment); }
void TVkWriter::SetParagraphDirection(quint8 direction) { SetParagraphField(&TParagraphProperties::Direction, direction); }
void TVkWriter::SetNumberingLevel(quint8 level) { SetParagraphField(&TParagraphProperties::NumberingLevel, level); }
void TVkWriter::SetListItem(bool on) { SetParagraphField(&TParagraphProperties::ListItem, on); }
void TVkWriter::SetLeftIndent(int twips) { SetParagraphField(&TParagraphProperties::LeftIndent, twips); }
void TVkWriter::SetRightIndent(int twips) { SetParagraphField(&TParagraphProperties::RightIndent, twips); }
void TVkWriter::SetFirstIndent(int twips) { SetParagraphField(&TParagraphProperties::FirstIndent, twips); }

void TVkWriter::ResetCharacterProperties()
{
    const TVkOptionsOptimize &optimize = m_options.GetOptionsOptimize();
    SetBackgroundColor(QByteArray());
    SetHighlightColor(QByteArray());
    SetCharset(m_defaultCharset);
    SetColor(optimize.DefaultFontColor);
    SetFontName(optimize.DefaultFontName);
    SetFontSize(optimize.DefaultFontSize);
    SetStyle(0);
    SetSubscript(false);
    SetSuperscript(false);
    m_hidden = false;
}

void TVkWriter::ResetParagraphProperties()
{
    SetAlignment(0);
    SetListItem(false);
    SetNumberingLevel(0);
    SetLeftIndent(0);
    SetRightIndent(0);
    SetFirstIndent(0);
    m_numberingFlag = false;
}

void TVkWriter::SetCharacterProperties(const TCharacterProperties &p)
{
    SetCharacterDirection(p.Direction);
    SetBackgroundColor(p.BackgroundColor);
    SetHighlightColor(p.HighlightColor);
    SetColor(p.Color);
    SetFontSize(p.FontSize);
    SetStyle(p.Style);
    SetFontName(p.FontName);
    SetCharset(p.Charset);
    SetLanguage(p.Language);
    if (p.VerticalAlign == 1) {
        SetSubscript(true);
    } else if (p.VerticalAlign == 2) {
        SetSuperscript(true);
    } else {
        SetSubscript(false);
        SetSuperscript(false);
    }
}

void TVkWriter::SetParagraphProperties(const TParagraphProperties &p)
{
    m_paragraph.Alignment = p.Alignment;
    m_paragraph.Direction = p.Direction;
    m_paragraph.ListItem = p.ListItem;
    m_paragraph.LeftIndent = p.LeftIndent;
    m_paragraph.RightIndent = p.RightIndent;
    m_paragraph.FirstIndent = p.FirstIndent;
}

void TVkWriter::WriteChar(uchar b)
{
    if (m_hidden || b == 0 || b == 12)
        return;
    if (b == 9) {
        NewRun();
        m_document->LastParagraph().LastRun().Properties().FontName.clear();
        m_document->AppendRaw(m_options.GetTabString());
        NewRun();
        return;
    }
    if (b == 10) {
        m_document->AddParagraph();
        ApplyParagraph();
        NewRun();
        return;
    }
    m_converter.Feed(b, m_document->LastRunText());
}

}
