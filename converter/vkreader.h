#pragma once

#include "converter/vkbase.h"
#include "converter/vkdom.h"

#include <QByteArray>
#include <QHash>

#include <vector>

namespace corvanta {

struct TPictureDescription
{
    int GoalWidth = 0;
    int GoalHeight = 0;
    quint8 Type = 0; // 1 EMF, 2 PNG, 3 JPEG, 4 Mac PICT, 5 WMF
    quint8 MappingMode = 0;
    int Width = 0;
    int Height = 0;
};

// Optional receiver of the pictures in a document; gives the HTML that stands for each.
class IVkPictureAdapter
{
public:
    virtual ~IVkPictureAdapter() = default;
    virtual void BeginPicture() = 0;
    virtual TPictureDescription &Description() = 0;
    virtual void AddByte(quint8 b) = 0;
    virtual void EndPicture() = 0;
    virtual QByteArray GetHtml() = 0;
};

enum TDestination {
    rdsSkip, rdsFontTable, rdsFileTable, rdsColorTable, rdsStyleSheet, rdsRevisionTable, rdsListTable,
    rdsTemplate, rdsText, rdsBookmarkStart, rdsInfo, rdsUpr, rdsParagraphNumbering, rdsPicture
};

enum TReaderState { rsNormal, rsBinary, rsHex };

struct TFontDescriptor
{
    QByteArray Name;
    int Charset = 0;
};

struct TReaderProperties
{
    TCharacterProperties Character;
    TParagraphProperties Paragraph;
    TReaderState State = rsNormal;
    TDestination Destination = rdsText;
    // Hidden text ends with its group like every other character property.
    bool Hidden = false;
};

// Language code of a Windows language identifier, empty when unknown.
QByteArray LanguageCode(qint64 id);

// Reads RTF and drives the document builder.
class TVkReader
{
public:
    TVkReader(TVkBase &options, TVkWriter &builder);
    void Parse(const QByteArray &rtf);

private:
    void ReadChar();
    void ReportProgress();
    void ParseControlWord();
    void Dispatch(const QByteArray &keyword, bool hasParameter, qint64 parameter);
    void HandleChar(uchar c);
    void ChangeDestination(TDestination d);
    void DoSpecial(int action);
    void DoProperty(int action, qint64 v);
    void DoTextProperty(int action, qint64 v);
    void OpenGroup();
    void CloseGroup();
    void CompleteFontEntry();
    void CompleteFontTable();
    void CompleteColorEntry();
    QByteArray FontNameOf(qint64 n);
    int FontCharsetOf(qint64 n) const;
    QByteArray ColorOf(qint64 v, bool background);
    void StyleBit(int bit, qint64 v);
    IVkPictureAdapter &Adapter();

    TVkBase &m_options;
    TVkWriter &m_builder;
    QByteArray m_input;
    qsizetype m_position = -1;
    uchar m_char = 0;
    qsizetype m_progressStep = 0;
    qsizetype m_progressCounter = 0;
    int m_percent = 0;

    int m_depth = 0;
    bool m_skipUnknownDestination = false;
    TReaderState m_state = rsNormal;
    qint64 m_binaryCount = 0;
    qint64 m_lastMagnitude = 0;
    TDestination m_destination = rdsText;
    std::vector<TReaderProperties> m_stack;
    std::vector<std::pair<qint64, TFontDescriptor>> m_fonts;
    QHash<qint64, qsizetype> m_fontIndex;
    QByteArrayList m_colors;
    qint64 m_fontNumber = 0;
    QByteArray m_fontName;
    int m_fontFamily = 0;
    int m_fontCharset = 0;
    qint64 m_red = 0, m_green = 0, m_blue = 0;
    qint64 m_defaultFont = 0;
    int m_unicodeSkipCount = 1;
    int m_skipRemaining = 0;
    QByteArray m_hex;
    QByteArray m_pictureHex;
};

}
