#include "converter/vkreader.h"

#include "common/error.h"

#include <algorithm>
#include <array>
#include <climits>
#include <new>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace corvanta {

namespace {

enum TKeywordKind { kwChar, kwDestination, kwProperty, kwSpecial, kwFontFamily };

enum TPropertyAction {
    ipPard, ipBold, ipItalic, ipFont, ipFontSize, ipUnderline, ipColor, ipBackground, ipHighlight,
    ipStrike, ipSuper, ipSub, ipNoSuperSub, ipUnicode, ipUnicodeSkip, ipLang, ipLtrCh, ipRtlCh,
    ipLtrPar, ipRtlPar, ipHidden, ipAlign, ipLeftIndent, ipRightIndent, ipFirstIndent, ipNumberingLevel,
    ipNumberingCont, ipDefaultFont, ipAnsi, ipMac, ipRed, ipGreen, ipBlue, ipFontCharset,
    ipPicWidth, ipPicHeight, ipPicGoalWidth, ipPicGoalHeight, ipEmf, ipPng, ipJpeg, ipMacPict, ipWmf
};

enum TSpecialAction { spPlain, spLineBreak, spBullet, spSkipDestination, spHex, spBinary, spSkipToBackslash };

struct TokenDef
{
    std::string_view keyword;
    int defaultParameter;
    bool forceDefault;
    TKeywordKind kind;
    int target;
};

// Searched from the first entry; the first exact match wins.
constexpr std::array<TokenDef, 119> KEYWORDS = {{
    {"par", 0, false, kwChar, 10},
    {"pard", 0, false, kwProperty, ipPard},
    {"b", 1, false, kwProperty, ipBold},
    {"i", 1, false, kwProperty, ipItalic},
    {"f", 0, false, kwProperty, ipFont},
    {"fs", 0, false, kwProperty, ipFontSize},
    {"plain", 0, false, kwSpecial, spPlain},
    {"ul", 1, false, kwProperty, ipUnderline},
    {"uldb", 1, false, kwProperty, ipUnderline},
    {"ulnone", 0, true, kwProperty, ipUnderline},
    {"cf", 0, false, kwProperty, ipColor},
    {"cb", 0, false, kwProperty, ipBackground},
    {"chcbpat", 0, false, kwProperty, ipBackground},
    {"highlight", 0, false, kwProperty, ipHighlight},
    {"strike", 1, false, kwProperty, ipStrike},
    {"super", 1, false, kwProperty, ipSuper},
    {"sub", 1, false, kwProperty, ipSub},
    {"nosupersub", 0, true, kwProperty, ipNoSuperSub},
    {"up", 1, false, kwProperty, ipSuper},
    {"dn", 1, false, kwProperty, ipSub},
    {"u", 0, false, kwProperty, ipUnicode},
    {"uc", 0, false, kwProperty, ipUnicodeSkip},
    {"lang", 0, false, kwProperty, ipLang},
    {"ltrch", 1, true, kwProperty, ipLtrCh},
    {"rtlch", 1, true, kwProperty, ipRtlCh},
    {"ltrpar", 1, true, kwProperty, ipLtrPar},
    {"rtlpar", 1, true, kwProperty, ipRtlPar},
    {"v", 1, false, kwProperty, ipHidden},
    {"{", 0, false, kwChar, '{'},
    {"}", 0, false, kwChar, '}'},
    {"\\", 0, false, kwChar, '\\'},
    {"tab", 0, false, kwChar, 9},
    {"~", 0, false, kwChar, 160},
    {"\n", 0, false, kwChar, 10},
    {"\r", 0, false, kwChar, 10},
    {"line", 0, false, kwSpecial, spLineBreak},
    {"ldblquote", 0, false, kwChar, '"'},
    {"rdblquote", 0, false, kwChar, '"'},
    {"lquote", 0, false, kwChar, '\''},
    {"rquote", 0, false, kwChar, '\''},
    {"emdash", 0, false, kwChar, '-'},
    {"endash", 0, false, kwChar, '-'},
    {"emspace", 0, false, kwChar, ' '},
    {"enspace", 0, false, kwChar, ' '},
    {"bullet", 0, false, kwSpecial, spBullet},
    {"qc", 2, true, kwProperty, ipAlign},
    {"ql", 0, true, kwProperty, ipAlign},
    {"qr", 1, true, kwProperty, ipAlign},
    {"qj", 3, true, kwProperty, ipAlign},
    {"li", 0, false, kwProperty, ipLeftIndent},
    {"ri", 0, false, kwProperty, ipRightIndent},
    {"fi", 0, false, kwProperty, ipFirstIndent},
    {"pntext", 1, true, kwDestination, rdsSkip},
    {"pn", 1, true, kwDestination, rdsParagraphNumbering},
    {"pnlvl", 10, false, kwProperty, ipNumberingLevel},
    {"pnlvlbody", 10, true, kwProperty, ipNumberingLevel},
    {"pnlvlblt", 11, true, kwProperty, ipNumberingLevel},
    {"pnlvlcont", 0, false, kwProperty, ipNumberingCont},
    {"deff", 0, false, kwProperty, ipDefaultFont},
    {"ansi", 0, false, kwProperty, ipAnsi},
    {"mac", 0, false, kwProperty, ipMac},
    {"colortbl", 0, false, kwDestination, rdsColorTable},
    {"red", 0, false, kwProperty, ipRed},
    {"green", 0, false, kwProperty, ipGreen},
    {"blue", 0, false, kwProperty, ipBlue},
    {"filetbl", 0, false, kwDestination, rdsFileTable},
    {"file", 0, false, kwDestination, rdsSkip},
    {"fonttbl", 0, false, kwDestination, rdsFontTable},
    {"fcharset", 0, false, kwProperty, ipFontCharset},
    {"fnil", 0, false, kwFontFamily, 0},
    {"froman", 0, false, kwFontFamily, 1},
    {"fswiss", 0, false, kwFontFamily, 2},
    {"fmodern", 0, false, kwFontFamily, 3},
    {"fscript", 0, false, kwFontFamily, 4},
    {"fdecor", 0, false, kwFontFamily, 5},
    {"ftech", 0, false, kwFontFamily, 6},
    {"fbidi", 0, false, kwFontFamily, 7},
    {"info", 0, false, kwDestination, rdsInfo},
    {"listtable", 0, false, kwDestination, rdsListTable},
    {"listoverridetable", 0, false, kwDestination, rdsListTable},
    {"revtbl", 0, false, kwDestination, rdsRevisionTable},
    {"stylesheet", 0, false, kwDestination, rdsStyleSheet},
    {"template", 0, false, kwDestination, rdsTemplate},
    {"footer", 0, false, kwDestination, rdsSkip},
    {"footerf", 0, false, kwDestination, rdsSkip},
    {"footerl", 0, false, kwDestination, rdsSkip},
    {"footerr", 0, false, kwDestination, rdsSkip},
    {"header", 0, false, kwDestination, rdsSkip},
    {"headerf", 0, false, kwDestination, rdsSkip},
    {"headerl", 0, false, kwDestination, rdsSkip},
    {"headerr", 0, false, kwDestination, rdsSkip},
    {"footnote", 0, false, kwDestination, rdsSkip},
    {"author", 0, false, kwDestination, rdsSkip},
    {"annotation", 0, false, kwDestination, rdsSkip},
    {"bkmkstart", 0, false, kwDestination, rdsBookmarkStart},
    {"bkmkend", 0, false, kwDestination, rdsSkip},
    {"field", 0, false, kwDestination, rdsSkip},
    {"docvar", 0, false, kwDestination, rdsSkip},
    {"fldrslt", 0, false, kwDestination, rdsSkip},
    {"upr", 0, false, kwDestination, rdsUpr},
    {"*", 0, false, kwSpecial, spSkipDestination},
    {"'", 0, false, kwSpecial, spHex},
    {"bin", 0, false, kwSpecial, spBinary},
    {"clfts", 0, false, kwSpecial, spSkipToBackslash},
    {"clw", 0, false, kwSpecial, spSkipToBackslash},
    {"trfts", 0, false, kwSpecial, spSkipToBackslash},
    {"trw", 0, false, kwSpecial, spSkipToBackslash},
    {"pict", 0, false, kwDestination, rdsPicture},
    {"picw", 0, false, kwProperty, ipPicWidth},
    {"pich", 0, false, kwProperty, ipPicHeight},
    {"picwgoal", 0, false, kwProperty, ipPicGoalWidth},
    {"pichgoal", 0, false, kwProperty, ipPicGoalHeight},
    {"emfblip", 0, false, kwProperty, ipEmf},
    {"pngblip", 0, false, kwProperty, ipPng},
    {"jpegblip", 0, false, kwProperty, ipJpeg},
    {"macpict", 0, false, kwProperty, ipMacPict},
    {"wmetafile", 1, false, kwProperty, ipWmf},
    {"row", 0, false, kwSpecial, spLineBreak},
    {"cell", 0, false, kwChar, 9},
}};

// Index of the first table entry for each keyword: the same answer as the linear search.
const TokenDef *findKeyword(const QByteArray &keyword)
{
    static const auto index = [] {
        std::unordered_map<std::string_view, const TokenDef *> map;
        for (const TokenDef &def : KEYWORDS)
            map.emplace(def.keyword, &def);
        return map;
    }();
    const auto it = index.find(std::string_view(keyword.constData(), size_t(keyword.size())));
    return it == index.end() ? nullptr : it->second;
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLower(uchar c)
{
    return c >= 'a' && c <= 'z';
}

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

QByteArray trimmed(const QByteArray &s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && uchar(s[begin]) <= ' ')
        ++begin;
    while (end > begin && uchar(s[end - 1]) <= ' ')
        --end;
    return s.mid(begin, end - begin);
}

QByteArray colorHex(qint64 component)
{
    return QByteArray::number(quint32(component), 16).rightJustified(2, '0');
}

int toInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

}

QByteArray LanguageCode(qint64 id)
{
    switch (id) {
    case 1025: return "ar";
    case 1028: case 2052: return "zh";
    case 1031: return "de";
    case 1033: case 2057: return "en";
    case 1034: return "es";
    case 1036: return "fr";
    case 1040: return "it";
    case 1041: return "ja";
    case 1049: return "ru";
    case 1053: return "sv";
    case 1054: return "th";
    default: return QByteArray();
    }
}

TVkReader::TVkReader(TVkBase &options, TVkWriter &builder) : m_options(options), m_builder(builder)
{
    m_options.Log(logDebug, "VelkaroXHTMLReader created");
}

void TVkReader::Parse(const QByteArray &rtf)
{
    m_input = rtf;
    m_position = -1;
    m_progressStep = qsizetype(std::nearbyint(rtf.size() / 10.0));
    m_progressCounter = 0;
    m_percent = 0;
    m_options.StopParsing = false;
    if (m_options.OnProgress)
        ReportProgress();
    m_hex.clear();
    ReadChar();
    while (m_position < m_input.size() && !m_options.StopParsing) {
        if (m_state == rsBinary) {
            HandleChar(m_char);
        } else if (m_char == '\r' || m_char == '\n') {
            // line ends carry no text in RTF
        } else if (m_char == '\\') {
            ParseControlWord();
        } else if (m_char == '{') {
            OpenGroup();
        } else if (m_char == '}') {
            CloseGroup();
        } else if (m_state == rsHex) {
            m_hex.append(char(m_char));
            if (m_hex.size() == 2) {
                const int high = hexValue(uchar(m_hex[0])), low = hexValue(uchar(m_hex[1]));
                if (high < 0 || low < 0)
                    throw Error(QStringLiteral("ceUnknownCharacter"));
                m_hex.clear();
                m_state = rsNormal;
                HandleChar(uchar(high * 16 + low));
            }
        } else {
            HandleChar(m_char);
        }
        ReadChar();
    }
}

void TVkReader::ReadChar()
{
    if (m_options.OnProgress && ++m_progressCounter > m_progressStep) {
        m_progressCounter = 0;
        m_percent += 10;
        ReportProgress();
    }
    ++m_position;
    m_char = m_position < m_input.size() ? uchar(m_input[m_position]) : 0;
}

void TVkReader::ReportProgress()
{
    bool allowContinue = true;
    m_options.OnProgress(this, m_percent, allowContinue);
    m_options.Aborted = !allowContinue;
    if (m_options.Aborted)
        m_options.StopParsing = true;
}

void TVkReader::ParseControlWord()
{
    ReadChar();
    if (!isLower(m_char)) {
        Dispatch(QByteArray(1, char(m_char)), false, 0);
        return;
    }
    QByteArray keyword;
    while (isLower(m_char)) {
        keyword.append(char(m_char));
        ReadChar();
    }
    bool negative = false;
    if (m_char == '-') {
        negative = true;
        ReadChar();
    }
    bool hasParameter = false;
    qint64 parameter = 0;
    if (isDigit(m_char)) {
        QByteArray digits;
        while (isDigit(m_char)) {
            digits.append(char(m_char));
            ReadChar();
        }
        hasParameter = true;
        bool ok = false;
        parameter = digits.toLongLong(&ok);
        if (!ok)
            parameter = 0;
        m_lastMagnitude = parameter;
        if (negative)
            parameter = -parameter;
    }
    if (m_char != ' ')
        --m_position;
    Dispatch(keyword, hasParameter, parameter);
}

void TVkReader::Dispatch(const QByteArray &keyword, bool hasParameter, qint64 parameter)
{
    const TokenDef *def = findKeyword(keyword);
    if (!def) {
        if (m_skipUnknownDestination)
            m_destination = rdsSkip;
        m_skipUnknownDestination = false;
        return;
    }
    m_skipUnknownDestination = false;
    switch (def->kind) {
    case kwChar:
        HandleChar(uchar(def->target));
        break;
    case kwDestination:
        ChangeDestination(TDestination(def->target));
        break;
    case kwProperty:
        DoProperty(def->target, def->forceDefault || !hasParameter ? def->defaultParameter : parameter);
        break;
    case kwSpecial:
        DoSpecial(def->target);
        break;
    case kwFontFamily:
        m_fontFamily = def->target;
        break;
    }
}

void TVkReader::HandleChar(uchar c)
{
    if (m_state == rsBinary && --m_binaryCount <= 0)
        m_state = rsNormal;
    switch (m_destination) {
    case rdsFontTable:
        m_fontName.append(char(c));
        break;
    case rdsColorTable:
        if (c == ';')
            CompleteColorEntry();
        break;
    case rdsText:
        if (m_skipRemaining > 0)
            --m_skipRemaining;
        else
            m_builder.WriteChar(c);
        break;
    case rdsPicture:
        if (m_options.ConvertPictures && hexValue(c) >= 0) {
            m_pictureHex.append(char(c));
            if (m_pictureHex.size() == 2) {
                if (m_options.PictureAdapter)
                    m_options.PictureAdapter->AddByte(quint8(hexValue(uchar(m_pictureHex[0])) * 16
                                                             + hexValue(uchar(m_pictureHex[1]))));
                m_pictureHex.clear();
            }
        }
        break;
    default:
        break;
    }
}

IVkPictureAdapter &TVkReader::Adapter()
{
    if (!m_options.PictureAdapter)
        throw Error(QStringLiteral("Property TVkBase.PictureAdapter is not assigned"));
    return *m_options.PictureAdapter;
}

void TVkReader::ChangeDestination(TDestination d)
{
    if (d == rdsParagraphNumbering) {
        m_destination = d;
        m_builder.SetNumberingFlag(true);
    } else if (d == rdsPicture) {
        m_destination = d;
        if (m_options.ConvertPictures) {
            Adapter().BeginPicture();
            m_pictureHex.clear();
        }
    } else {
        m_destination = d;
    }
}

void TVkReader::DoSpecial(int action)
{
    if (m_destination == rdsSkip && action != spBinary)
        return;
    switch (action) {
    case spBinary:
        if (m_lastMagnitude > 0) {
            m_state = rsBinary;
            m_binaryCount = m_lastMagnitude;
        }
        break;
    case spHex:
        m_state = rsHex;
        break;
    case spSkipDestination:
        m_skipUnknownDestination = true;
        break;
    case spPlain:
        m_builder.ResetCharacterProperties();
        break;
    case spSkipToBackslash:
        // Table keywords such as clftsWidth3 have a mixed-case tail the tokenizer stops short of.
        // A backslash right after the keyword has already been stepped back to.
        if (m_char != '\\') {
            while (m_char != '\\' && m_position < m_input.size())
                ReadChar();
            --m_position;
        }
        break;
    case spLineBreak:
        m_builder.Document().AppendRaw(m_options.LineBreakText());
        m_builder.NewRun();
        break;
    case spBullet:
        m_builder.Document().AppendText(QString(QChar(0x00B7)));
        break;
    default:
        throw Error(QStringLiteral("Bad table (1)"));
    }
}

void TVkReader::DoProperty(int action, qint64 v)
{
    switch (m_destination) {
    case rdsFontTable:
        if (action == ipFont && m_options.FontConversionOptions.contains(opFontName))
            m_fontNumber = v;
        else if (action == ipFontCharset)
            m_fontCharset = toInt(v);
        break;
    case rdsColorTable:
        if (action == ipRed)
            m_red = v;
        else if (action == ipGreen)
            m_green = v;
        else if (action == ipBlue)
            m_blue = v;
        break;
    case rdsParagraphNumbering:
        if (action == ipNumberingLevel)
            m_builder.SetNumberingLevel(quint8(v & 0xff));
        else if (action == ipNumberingCont)
            m_builder.SetNumberingFlag(false);
        break;
    case rdsPicture:
        if (m_options.ConvertPictures) {
            TPictureDescription &d = Adapter().Description();
            switch (action) {
            case ipEmf: d.Type = 1; break;
            case ipPng: d.Type = 2; break;
            case ipJpeg: d.Type = 3; break;
            case ipMacPict: d.Type = 4; break;
            case ipWmf: d.Type = 5; d.MappingMode = quint8(v); break;
            case ipPicWidth: d.Width = toInt(v); break;
            case ipPicHeight: d.Height = toInt(v); break;
            case ipPicGoalWidth: d.GoalWidth = toInt(v); break;
            case ipPicGoalHeight: d.GoalHeight = toInt(v); break;
            default: break;
            }
        }
        break;
    case rdsText:
        DoTextProperty(action, v);
        break;
    default:
        break;
    }
}

void TVkReader::StyleBit(int bit, qint64 v)
{
    if (!m_options.FontConversionOptions.contains(opFontStyle))
        return;
    const int style = m_builder.GetStyle();
    m_builder.SetStyle(v == 1 ? style | bit : style & ~bit);
}

QByteArray TVkReader::ColorOf(qint64 v, bool background)
{
    if (m_colors.isEmpty() || (background && v == 0))
        return background ? QByteArray() : m_options.OptionsOptimize().DefaultFontColor;
    if (v >= 0 && v < m_colors.size())
        return m_colors[qsizetype(v)];
    m_options.Log(logWarning, "Color " + QByteArray::number(v) + " not found");
    return background ? QByteArray() : m_options.OptionsOptimize().DefaultFontColor;
}

void TVkReader::DoTextProperty(int action, qint64 v)
{
    const TFontConversionOptions &fonts = m_options.FontConversionOptions;
    switch (action) {
    case ipAnsi: m_builder.SetDefaultCharset(0); break;
    case ipMac: m_builder.SetDefaultCharset(77); break;
    case ipLeftIndent:
    case ipRightIndent:
    case ipFirstIndent:
        if (m_options.ConvertIndent && !m_builder.GetNumberingFlag()) {
            if (action == ipLeftIndent)
                m_builder.SetLeftIndent(toInt(v));
            else if (action == ipRightIndent)
                m_builder.SetRightIndent(toInt(v));
            else
                m_builder.SetFirstIndent(toInt(v));
        }
        break;
    case ipBold: StyleBit(fsBold, v); break;
    case ipItalic: StyleBit(fsItalic, v); break;
    case ipUnderline: StyleBit(fsUnderline, v); break;
    case ipStrike: StyleBit(fsStrikeOut, v); break;
    case ipHidden: m_builder.SetHidden(v == 1); break;
    case ipAlign: m_builder.SetAlignment(quint8(v)); break;
    case ipPard: m_builder.ResetParagraphProperties(); break;
    case ipFontSize:
        if (fonts.contains(opFontSize))
            m_builder.SetFontSize(toInt(v / 2));
        break;
    case ipFont:
        if (fonts.contains(opFontName))
            m_builder.SetFontName(FontNameOf(v));
        m_builder.SetCharset(FontCharsetOf(v));
        break;
    case ipColor:
        if (fonts.contains(opFontColor))
            m_builder.SetColor(ColorOf(v, false));
        break;
    case ipBackground:
        if (fonts.contains(opFontBGColor))
            m_builder.SetBackgroundColor(ColorOf(v, true));
        break;
    case ipHighlight:
        if (fonts.contains(opFontHLColor))
            m_builder.SetHighlightColor(ColorOf(v, true));
        break;
    case ipDefaultFont: m_defaultFont = v; break;
    case ipSuper: m_builder.SetSuperscript(v > 0); break;
    case ipSub: m_builder.SetSubscript(v > 0); break;
    case ipNoSuperSub:
        m_builder.SetSuperscript(false);
        m_builder.SetSubscript(false);
        break;
    case ipLang: m_builder.SetLanguage(LanguageCode(v)); break;
    case ipLtrCh: m_builder.SetCharacterDirection(0); break;
    case ipRtlCh: m_builder.SetCharacterDirection(1); break;
    case ipLtrPar: m_builder.SetParagraphDirection(0); break;
    case ipRtlPar: m_builder.SetParagraphDirection(1); break;
    case ipUnicode:
        m_builder.Document().AppendText(QString(QChar(char16_t(v > 0 ? v : v + 65536))));
        m_skipRemaining = m_unicodeSkipCount;
        break;
    case ipUnicodeSkip: m_unicodeSkipCount = toInt(v); break;
    default: break;
    }
}

void TVkReader::OpenGroup()
{
    try {
        m_stack.push_back({m_builder.GetCharacterProperties(), m_builder.GetParagraphProperties(), m_state,
                           m_destination, m_builder.GetHidden()});
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("Property stack overflow"));
    }
    m_state = rsNormal;
    ++m_depth;
}

void TVkReader::CloseGroup()
{
    const TDestination closed = m_destination;
    --m_depth;
    if (m_depth == 0)
        m_options.StopParsing = true;
    // A table of font groups has nothing pending when it closes.
    if (closed == rdsFontTable && (m_depth == 1 || m_depth == 2) && !m_fontName.isEmpty())
        CompleteFontEntry();
    if (closed == rdsFontTable && m_depth == 1)
        CompleteFontTable();
    if (closed == rdsPicture && m_options.ConvertPictures) {
        IVkPictureAdapter &adapter = Adapter();
        adapter.EndPicture();
        m_builder.Document().AppendRaw(adapter.GetHtml());
    }
    if (m_depth > 0 && !m_stack.empty()) {
        const TReaderProperties saved = std::move(m_stack.back());
        m_stack.pop_back();
        m_builder.SetCharacterProperties(saved.Character);
        m_builder.SetHidden(saved.Hidden);
        m_builder.SetParagraphProperties(saved.Paragraph);
        if (m_builder.GetNumberingFlag())
            m_builder.SetListItem(true);
        m_state = saved.State;
        m_destination = saved.Destination;
        if (m_depth == 1 && closed == rdsFontTable)
            m_builder.SetFontName(m_builder.GetDefaultFontName());
    }
}

void TVkReader::CompleteFontEntry()
{
    QByteArray name = m_fontName;
    const qsizetype semicolon = name.indexOf(';');
    if (semicolon >= 0)
        name.truncate(semicolon);
    name = trimmed(name);
    // Names in other scripts arrive as bytes of the font's own code page.
    for (char c : std::as_const(name)) {
        if (uchar(c) >= 128) {
            name = TUnicodeConverter::Decode(name, TUnicodeConverter::CodePageOfCharset(m_fontCharset)).toUtf8();
            break;
        }
    }
    name = m_options.ReplaceFont(name);
    if (name.contains(' '))
        name = '\'' + name + '\'';
    if (m_fontFamily == 1 || m_fontFamily == 4)
        name += ",serif";
    else if (m_fontFamily == 2)
        name += ",sans-serif";
    if (!m_fontIndex.contains(m_fontNumber))
        m_fontIndex.insert(m_fontNumber, qsizetype(m_fonts.size()));
    m_fonts.push_back({m_fontNumber, {name, m_fontCharset}});
    m_fontName.clear();
    m_fontFamily = 0;
    m_fontCharset = m_builder.GetDefaultCharset();
}

void TVkReader::CompleteFontTable()
{
    if (m_fonts.empty()) {
        m_options.Log(logWarning, "Font table is empty");
        m_fontIndex.insert(0, 0);
        m_fonts.push_back({0, {m_options.OptionsOptimize().DefaultFontName, 0}});
    } else {
        for (auto &entry : m_fonts)
            entry.second.Name = m_options.ReplaceFont(entry.second.Name);
    }
    m_builder.SetDefaultFontName(FontNameOf(m_defaultFont));
}

QByteArray TVkReader::FontNameOf(qint64 n)
{
    const auto it = m_fontIndex.constFind(n);
    if (it != m_fontIndex.constEnd())
        return m_fonts[size_t(*it)].second.Name;
    m_options.Log(logWarning, "Font " + QByteArray::number(n) + " not found");
    return m_options.OptionsOptimize().DefaultFontName;
}

int TVkReader::FontCharsetOf(qint64 n) const
{
    const auto it = m_fontIndex.constFind(n);
    return it != m_fontIndex.constEnd() ? m_fonts[size_t(*it)].second.Charset : m_builder.GetDefaultCharset();
}

void TVkReader::CompleteColorEntry()
{
    m_colors.append('#' + colorHex(m_red) + colorHex(m_green) + colorHex(m_blue));
    m_red = m_green = m_blue = 0;
}

}
