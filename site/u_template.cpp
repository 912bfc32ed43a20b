#include "u_template.h"

#include "macrotext.h"
#include "u_webitem.h"
#include "u_webpage.h"

namespace corvanta::site {

namespace {

QString formatDate(const QDateTime &value, const QString &pattern)
{
    return isZeroDateTime(value) ? QString() : value.toString(pattern);
}

}

QString TWebTemplate::Format(const QString &text)
{
    return OnFormat ? OnFormat(this, text) : text;
}

// The macros are replaced in a fixed order on the growing text, so a macro that an earlier
// value brings in is expanded by a later step. A value is only computed when its macro is
// there, since formatting a rich text is the expensive part.
void TWebTemplate::ExpandItem(const TWebData &data, const TWebData *home, const QString &title)
{
    Output = Body;
    auto replace = [this](const QString &macro, const auto &value) {
        if (Output.contains(macro, Qt::CaseInsensitive))
            ReplaceText(Output, macro, value());
    };
    replace(QStringLiteral("%ANCHOR%"), [&] { return QStringLiteral("<a name=\"item_%1\"></a>").arg(data.Id); });
    replace(QStringLiteral("%NAME%"), [&] { return Format(data.Name); });
    replace(QStringLiteral("%URL%"), [&] { return data.Url; });
    replace(QStringLiteral("%LINK%"), [&] {
        return data.Url.isEmpty() ? QString()
                                  : QStringLiteral("<a href=\"%1\" target=\"new\">%2</a>").arg(data.Url, data.Name);
    });
    replace(QStringLiteral("%ABSTRACT%"), [&] { return Format(data.Abstract); });
    replace(QStringLiteral("%DATE%"), [&] { return formatDate(data.DateTime, QStringLiteral("yyyy-MM-dd")); });
    replace(QStringLiteral("%TIMESTAMP%"), [&] { return formatDate(data.DateTime, QStringLiteral("yyyy-MM-dd hh:mm")); });
    replace(QStringLiteral("%TIME%"), [&] { return formatDate(data.DateTime, QStringLiteral("hh:mm")); });
    const TFileData &file = data.FileData;
    if (!file.FileName.isEmpty()) {
        replace(QStringLiteral("%FILE_URL%"), [&] { return QStringLiteral("download/") + FileNamePart(file.FileName); });
        replace(QStringLiteral("%FILE_NAME%"), [&] { return FileNamePart(file.FileName); });
        replace(QStringLiteral("%FILE_DATE%"), [&] { return file.FileDate.toString(QStringLiteral("yyyy-MM-dd")); });
        replace(QStringLiteral("%FILE_TIMESTAMP%"), [&] { return file.FileDate.toString(QStringLiteral("yyyy-MM-dd hh:mm")); });
        replace(QStringLiteral("%FILE_TIME%"), [&] { return file.FileDate.toString(QStringLiteral("hh:mm")); });
        replace(QStringLiteral("%FILE_SIZE%"), [&] { return QString::number(file.SizeKB); });
    }
    replace(QStringLiteral("%TEXT%"), [&] { return Format(data.Text); });
    replace(QStringLiteral("%HOME%"), [&] {
        return home && home->HomePage ? home->HomePage->FileName + QStringLiteral("#item_") + QString::number(data.Id)
                                      : QString();
    });
    replace(QStringLiteral("%LINKTITLE%"), [&] { return Format(title); });
}

TWebTemplate *TWebTemplateCollection::FindByName(const QString &name) const
{
    for (TWebTemplate *t : *this) {
        if (t->Name == name)
            return t;
    }
    return nullptr;
}

QString TWebTemplateCollection::RemoveLinkPlaceholders(const QString &text) const
{
    QString result = text;
    qsizetype longest = 0;
    for (const TWebTemplate *t : *this)
        longest = qMax(longest, t->Name.size());
    TPlaceholderIndex index(result, longest);
    for (TWebTemplate *t : *this) {
        if (!t->Name.startsWith(u'%') || !index.Contains(result, t->Name, Qt::CaseInsensitive))
            continue;
        ReplaceText(result, t->Name, QString());
        index.Rebuild(result);
    }
    return result;
}

}
