// The build: writes the loaded project into the output folder as pages and news feeds.

#include "u_factory.h"

#include "buildlog.h"
#include "converter/vkmain.h"
#include "macrotext.h"
#include "sitefile.h"
#include "u_feeds.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta::site {

namespace {

QByteArrayList toBytes(const QStringList &lines)
{
    QByteArrayList result;
    result.reserve(lines.size());
    for (const QString &line : lines)
        result << line.toUtf8();
    return result;
}

}

QString TWebFactory::FormatText(TWebTemplate *, const QString &text)
{
    if (!text.startsWith(u'{'))
        return EncodeNonAscii(text);
    const auto known = m_converted.constFind(text);
    if (known != m_converted.cend())
        return *known;
    TKvVelkaroXHTML *converter = Builder->GetConverter();
    if (!converter)
        throw Error(QStringLiteral("The build has no converter"));
    const QString html = QString::fromUtf8(converter->Convert(text.toUtf8()));
    m_converted.insert(text, html);
    return html;
}

void TWebFactory::Build()
{
    try {
        buildSteps();
    } catch (const std::exception &e) {
        LogError(QStringLiteral("Build failed ") + QString::fromUtf8(e.what()));
        throw;
    }
}

void TWebFactory::buildSteps()
{
    const QString outputFolder = Builder->GetOutputFolder();
    TKvVelkaroXHTML *converter = Builder->GetConverter();
    if (!converter)
        throw Error(QStringLiteral("The build has no converter"));
    checkPageNames();
    LogInfo(QStringLiteral("Add files"));
    Images->ScanFolder(outputFolder + QStringLiteral("images/"));
    LogInfo(QStringLiteral("Get Hyperlinks"));
    converter->HyperlinkList = toBytes(Items->GetHyperlinks());
    reportProgress(11);
    listItemFiles();
    reportProgress(12);
    StyledCollections->RenderAll();
    writeFeeds(outputFolder);
    reportProgress(13);
    renderPages(*converter);
    reportProgress(14);
    savePages(outputFolder);
    LogInfo(QStringLiteral("Build complete"));
}

// Every page must land inside the output folder; this is checked before anything is written.
void TWebFactory::checkPageNames() const
{
    for (const TWebPage *page : *Pages) {
        const QString name = page->FileName;
        if (QDir::isAbsolutePath(name) || name.split(u'/').contains(QStringLiteral("..")))
            throw Error(QStringLiteral("The page file name \"%1\" points outside the output folder").arg(name));
    }
}

void TWebFactory::reportProgress(int step)
{
    LogInfo(QStringLiteral("Progress ") + QString::number(step));
    if (OnBuildProgress)
        OnBuildProgress(this, step);
}

void TWebFactory::listItemFiles()
{
    for (const TWebItem *item : *Items) {
        const QString path = Trimmed(item->Data.FileData.FileName);
        if (path.isEmpty())
            continue;
        LogDebug(path);
        if (!QFileInfo(path).isFile())
            LogDebug(QStringLiteral("The file %1 (for Web Item \"%2\") does not exist").arg(path, item->Data.Name));
        Files->Add(path, QStringLiteral("download/"));
    }
}

void TWebFactory::writeFeeds(const QString &outputFolder)
{
    for (const TStyledCollection *styled : *StyledCollections) {
        if (styled->Template->Name != QLatin1String("ATOM") || styled->Collection->Code != QLatin1String("NEWS"))
            continue;
        const QString content = TStyledCollections::RenderCollection(styled->Collection, styled->Template);
        QString feed = NormaliseLineBreaks(WriteAtomFeed(*styled->Collection, RemoteRoot, ProjectName, content));
        feed = NormaliseLineBreaks(Snippets->ReplaceSnippets(feed));
        feed = NormaliseLineBreaks(Images->ReplaceImages(feed));
        feed.replace(QStringLiteral("<img src=\"images/"), QStringLiteral("<img src=\"") + RemoteRoot + QStringLiteral("images/"));
        const QString path = outputFolder + styled->Collection->Code + QStringLiteral("-atom.xml");
        WriteSiteFile(path, FeedBytes(feed));
        Files->Add(path, QString());
    }
    for (const TWebCollection *collection : *Collections) {
        if (collection->Code != QLatin1String("NEWS"))
            continue;
        const QString path = outputFolder + collection->Code + QStringLiteral(".rdf.xml");
        WriteSiteFile(path, FeedBytes(WriteRssFeed(*collection, RemoteRoot, ProjectName)));
        Files->Add(path, QString());
    }
}

void TWebFactory::renderPages(TKvVelkaroXHTML &converter)
{
    for (TWebPage *page : *Pages) {
        TVkOptionsHead &head = converter.OptionsHead();
        head.DocumentTitle = page->Title.toUtf8();
        head.HeadTags = toBytes(SplitLines(page->HeadTags));
        head.MetaDescription = page->Abstract.toUtf8();
        head.MetaKeywords = page->Keywords.toUtf8();
        page->Head = QString::fromUtf8(converter.BuildHead());
        page->Foot = QString::fromUtf8(converter.BuildFoot());
        page->Output = StyledCollections->ReplaceStyled(page->Body);
        LogDebug(QStringLiteral("Replace Snippets in ") + page->FileName);
        page->Output = Images->ReplaceImages(Snippets->ReplaceSnippets(page->Output));
    }
}

void TWebFactory::savePages(const QString &outputFolder)
{
    for (TWebPage *page : *Pages) {
        page->Output = Templates->RemoveLinkPlaceholders(page->Output);
        page->FileName = outputFolder + page->FileName;
        page->SavePage();
        Files->Add(page->FileName, QString());
        LogDebug(page->FileName + QStringLiteral(" saved."));
    }
}

}
