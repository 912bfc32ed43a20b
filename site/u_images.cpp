#include "u_images.h"

#include "buildlog.h"
#include "macrotext.h"

#include <QDir>

namespace corvanta::site {

void TImageCollection::ScanFolder(const QString &folder)
{
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &file : files) {
        auto data = std::make_unique<TFileData>();
        data->SetFileName(file.filePath());
        Add(file.fileName(), std::move(data));
    }
}

QString TImageCollection::ReplaceImages(const QString &text) const
{
    QString result = text;
    qsizetype longest = 0;
    for (qsizetype i = 0; i < Count(); ++i)
        longest = qMax(longest, Key(i).size() + 2);
    TPlaceholderIndex index(result, longest);
    for (qsizetype i = 0; i < Count(); ++i) {
        const QString placeholder = u'%' + Key(i) + u'%';
        if (!index.Contains(result, placeholder, Qt::CaseSensitive))
            continue;
        ReplaceText(result, placeholder, (*this)[i]->ImageTag());
        index.Rebuild(result);
        if (index.Contains(result, placeholder, Qt::CaseSensitive)) {
            LogInfo(QStringLiteral("se failed for ") + placeholder);
            LogInfo(placeholder + QStringLiteral(" found at ") + QString::number(result.indexOf(placeholder) + 1));
        }
    }
    return result;
}

}
