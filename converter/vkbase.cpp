#include "converter/vkbase.h"

#include "common/error.h"
#include "converter/vktranslator.h"

#include <QString>

namespace corvanta {

QByteArray stringListName(const QByteArray &line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq);
}

namespace {

qsizetype indexOfName(const QByteArrayList &list, const QByteArray &name)
{
    const QString wanted = QString::fromUtf8(name);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const qsizetype eq = list[i].indexOf('=');
        if (eq >= 0 && QString::fromUtf8(list[i].left(eq)).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

}

QByteArray stringListValue(const QByteArrayList &list, const QByteArray &name)
{
    const qsizetype i = indexOfName(list, name);
    return i < 0 ? QByteArray() : list[i].mid(list[i].indexOf('=') + 1);
}

void setStringListValue(QByteArrayList &list, const QByteArray &name, const QByteArray &value)
{
    const qsizetype i = indexOfName(list, name);
    if (i < 0)
        list.append(name + '=' + value);
    else
        list[i] = name + '=' + value;
}

QByteArray quoteAttributeValue(const QByteArray &value)
{
    if (!value.contains('"'))
        return value;
    QByteArray copy = value;
    return copy.replace("\"", "&quot;");
}

QByteArray TVkFormatter::FormatLine(const QByteArray &text) const
{
    return CurrentIndentation() + text + m_lineEnd;
}

QByteArray TVkFormatter::IndentLine(const QByteArray &text)
{
    ++m_level;
    return FormatLine(text);
}

QByteArray TVkFormatter::OutdentLine(const QByteArray &text)
{
    --m_level;
    return FormatLine(text);
}

TVkOptions::TVkOptions() : Name("TVkOptions") {}

TVkBase::TVkBase()
    : m_translator(CreateTranslator(dtXHTML_10_Strict)),
      m_optionsHead(std::make_unique<TVkOptionsHead>()),
      m_optionsOptimize(std::make_unique<TVkOptionsOptimize>())
{
}

TVkBase::~TVkBase() = default;

void TVkBase::SetDocumentType(TDocumentType type)
{
    if (type == m_documentType)
        return;
    m_translator = CreateTranslator(type);
    m_documentType = type;
}

void TVkBase::SetDebugMode(bool on)
{
    if (on)
        throw Error(QStringLiteral("Please compile with symbol VK_DEBUG first"));
}

void TVkBase::Log(TLogLevel level, const QByteArray &text)
{
    if (OnLog && level >= LogLevel)
        OnLog(this, level, text);
}

QByteArray TVkBase::ReplaceFont(const QByteArray &name)
{
    QByteArray result = name;
    if (OnReplaceFont) {
        OnReplaceFont(this, result);
        return result;
    }
    for (const QByteArray &entry : ReplaceFonts) {
        const QByteArray entryName = stringListName(entry);
        if (!entryName.isEmpty() && result.startsWith(entryName))
            result = entry.mid(entryName.size() + 1);
    }
    return result;
}

QByteArray TVkBase::ClassAttribute(const QByteArray &element) const
{
    const QByteArray value = stringListValue(ElementClasses, element);
    return value.isEmpty() ? QByteArray() : " class=\"" + quoteAttributeValue(value) + '"';
}

QByteArray TVkBase::StyleAttribute(const QByteArray &element) const
{
    const QByteArray value = stringListValue(ElementStyles, element);
    return value.isEmpty() ? QByteArray() : " style=\"" + quoteAttributeValue(value) + '"';
}

QByteArray TVkBase::LineBreakText() const
{
    return "<br" + ClassAttribute("br") + StyleAttribute("br") + m_translator->GetEmptyElementEnd();
}

}
