// libFuzzer target: any bytes through Convert, in two configurations, must neither raise,
// crash, hang nor leak, and HTML output must stay ASCII.
#include "converter/vkmain.h"
#include "converter/vkreader.h"

#include <cstdint>
#include <cstdlib>

using namespace corvanta;

namespace {

class StubPictures : public IVkPictureAdapter
{
public:
    void BeginPicture() override { m_bytes = 0; }
    TPictureDescription &Description() override { return m_description; }
    void AddByte(quint8) override { ++m_bytes; }
    void EndPicture() override {}
    QByteArray GetHtml() override { return "<img alt=\"" + QByteArray::number(m_bytes) + "\" />"; }

private:
    TPictureDescription m_description;
    int m_bytes = 0;
};

void requireAscii(const QByteArray &html)
{
    for (char c : html)
        if (uchar(c) >= 128)
            std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray rtf(reinterpret_cast<const char *>(data), qsizetype(size));
    // Most mutations would otherwise stop at the header check.
    if (!rtf.startsWith("{\\rtf"))
        rtf.prepend("{\\rtf1 ");

    TKvVelkaroXHTML build;
    build.SetDocumentType(TDocumentType(size % 8));
    build.ConvertHyperlinks = build.ConvertIndent = build.ConvertLanguage = build.ConvertSpaces = true;
    build.ConvertEmptyParagraphs = true;
    build.HyperlinkOptions = {hoUseHyperlinkList, hoReplaceEMailLinks, hoOpenInNewBrowser};
    build.HyperlinkList = {"Home=index.html"};
    build.FontConversionOptions.include(opFontHLColor);
    build.OptionsOptimize().IncludeDefaultFontStyle = true;
    build.DefaultLanguage = "de";
    build.OptionsHead().MetaOptions = {moMetaDate, moMetaGenerator};
    requireAscii(build.Convert(rtf));

    TKvVelkaroXHTML other;
    StubPictures pictures;
    other.ConvertPictures = true;
    other.PictureAdapter = &pictures;
    other.OptionsHead().AddOuterHTML = false;
    other.FontSizeScale = TFontSizeScale(size % 4);
    other.OnProgress = [](TVkReader *, int position, bool &allowContinue) { allowContinue = position < 90; };
    requireAscii(other.Convert(rtf));
    other.ConvertToPlainText = true;
    other.Convert(rtf);
    return 0;
}
