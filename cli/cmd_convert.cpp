#include "converter/vkmain.h"
#include "options.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace corvanta::cli {

namespace {

struct DocTypeName
{
    const char *name;
    TDocumentType type;
};

const DocTypeName DOC_TYPES[] = {
    {"html401-transitional", dtHTML_401_Transitional},
    {"html401-strict", dtHTML_401_Strict},
    {"xhtml10-transitional", dtXHTML_10_Transitional},
    {"xhtml10-strict", dtXHTML_10_Strict},
    {"xhtml-basic10", dtXHTML_Basic_10},
    {"xhtml-mp10", dtXHTML_MP_10},
    {"xhtml11", dtXHTML_11},
    {"xhtml20", dtXHTML_20},
};

TDocumentType docType(const QString &name)
{
    QStringList names;
    for (const DocTypeName &d : DOC_TYPES) {
        if (name.compare(QLatin1String(d.name), Qt::CaseInsensitive) == 0)
            return d.type;
        names << QString::fromLatin1(d.name);
    }
    throw UsageError(QStringLiteral("unknown document type \"%1\"; use one of %2").arg(name, names.join(QStringLiteral(", "))));
}

const char *levelName(TLogLevel level)
{
    switch (level) {
    case logWarning: return "warning";
    case logError: return "error";
    case logFatal: return "fatal";
    default: return "info";
    }
}

QByteArray readInput(const QString &path)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        throw Error(QStringLiteral("cannot read %1: %2")
                        .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString()));
    return file.readAll();
}

}

// Converts one RTF document to HTML on standard output; warnings and errors go to standard error.
int convertRtf(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringLiteral("doctype"), QStringLiteral("The document type."), QStringLiteral("NAME")));
    parser.addOption(QCommandLineOption(QStringLiteral("fragment"), QStringLiteral("Only the paragraph lines.")));
    parser.addOption(QCommandLineOption(QStringLiteral("plain"), QStringLiteral("Plain text.")));
    parseArguments(parser, QStringLiteral("convert"), args, 1);

    TKvVelkaroXHTML converter;
    converter.OptionsHead().AddOuterHTML = !parser.isSet(QStringLiteral("fragment"));
    converter.ConvertToPlainText = parser.isSet(QStringLiteral("plain"));
    if (parser.isSet(QStringLiteral("doctype")))
        converter.SetDocumentType(docType(parser.value(QStringLiteral("doctype"))));
    const QString path = parser.positionalArguments().value(0);

    const QByteArray rtf = readInput(path);
    QTextStream err(stderr);
    bool failed = false;
    converter.LogLevel = logWarning;
    converter.OnLog = [&err, &failed](TVkBase *, TLogLevel level, const QByteArray &text) {
        err << levelName(level) << ": " << QString::fromUtf8(text) << "\n";
        err.flush();
        failed = failed || level >= logError;
    };
    const QByteArray html = converter.Convert(rtf);
    std::fwrite(html.constData(), 1, size_t(html.size()), stdout);
    std::fflush(stdout);
    return failed ? 1 : 0;
}

}
