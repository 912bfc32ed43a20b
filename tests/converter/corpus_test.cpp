#include "helpers.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

using namespace corvanta;
using namespace corvanta::test;

namespace {

QDir corpusDir()
{
    return QDir(sourceDir() + "/../shared/corpus/rtf");
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The documents, checked up front so that a missing corpus fails instead of passing empty.
QStringList corpusFiles()
{
    const QStringList files = corpusDir().entryList({"*.rtf"}, QDir::Files, QDir::Name);
    EXPECT_FALSE(files.isEmpty()) << "no RTF corpus in " << corpusDir().absolutePath().toStdString();
    return files;
}

// Whether the expected lines occur in the text's lines in this order (each inside one line).
QString missingLine(const QStringList &lines, const QStringList &expected)
{
    qsizetype at = 0;
    for (const QString &want : expected) {
        while (at < lines.size() && !lines[at].contains(want))
            ++at;
        if (at == lines.size())
            return want;
        ++at;
    }
    return QString();
}

QString xmlError(const QByteArray &page)
{
    QXmlStreamReader xml(page);
    while (!xml.atEnd())
        xml.readNext();
    return xml.hasError() ? xml.errorString() + " at line " + QString::number(xml.lineNumber()) : QString();
}

TEST(converterCorpus, EveryDocumentInEveryDialectWithoutError)
{
    for (const QString &name : corpusFiles()) {
        const QByteArray rtf = readFile(corpusDir().filePath(name));
        for (int type = dtHTML_401_Transitional; type <= dtXHTML_20; ++type) {
            LoggedConverter lc;
            lc.converter.SetDocumentType(TDocumentType(type));
            const QByteArray page = lc.converter.Convert(rtf);
            EXPECT_TRUE(page.contains("      ")) << name.toStdString() << " gives no paragraph";
            for (const auto &[level, text] : lc.log)
                EXPECT_LT(level, logError) << name.toStdString() << ": " << text.constData();
            for (char c : page)
                ASSERT_LT(uchar(c), 128) << name.toStdString() << " gives non-ASCII markup";
        }
    }
}

TEST(converterCorpus, PlainTextHoldsTheExpectedLinesInOrder)
{
    int checked = 0;
    for (const QString &name : corpusFiles()) {
        const QString answers = corpusDir().filePath(QString(name).replace(".rtf", ".ans"));
        if (!QFile::exists(answers))
            continue;
        TKvVelkaroXHTML c;
        c.ConvertToPlainText = true;
        const QStringList lines = QString::fromUtf8(c.Convert(readFile(corpusDir().filePath(name)))).split("\r\n");
        QStringList expected = QString::fromUtf8(readFile(answers)).split('\n', Qt::SkipEmptyParts);
        for (QString &line : expected)
            line = line.trimmed();
        expected.removeAll(QString());
        EXPECT_EQ(missingLine(lines, expected), QString()) << name.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no .ans file in the corpus";
}

TEST(converterCorpus, XhtmlPagesAreWellFormedXml)
{
    for (const QString &name : corpusFiles()) {
        const QByteArray rtf = readFile(corpusDir().filePath(name));
        for (TDocumentType type : {dtXHTML_10_Transitional, dtXHTML_10_Strict, dtXHTML_Basic_10, dtXHTML_MP_10,
                                   dtXHTML_11, dtXHTML_20}) {
            TKvVelkaroXHTML c;
            c.SetDocumentType(type);
            // Lists, indents, languages and links on too, so that their markup is checked as well.
            c.ConvertIndent = c.ConvertLanguage = c.ConvertHyperlinks = c.ConvertSpaces = true;
            c.HyperlinkOptions = {hoReplaceEMailLinks, hoOpenInNewBrowser};
            c.OptionsHead().StyleSheetInclude = {"p { margin:0 }"};
            const QByteArray page = c.Convert(rtf);
            EXPECT_EQ(xmlError(page), QString()) << name.toStdString() << " as dialect " << type;
        }
    }
}

}
