#include "converter/vkmain.h"

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

QString docTypeNames()
{
    QStringList names;
    for (const DocTypeName &d : DOC_TYPES)
        names << QString::fromLatin1(d.name);
    return names.join(", ");
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

bool readInput(const QString &path, QByteArray &rtf, QTextStream &err)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path),
                                                                                  file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "convert: cannot read " << (path.isEmpty() ? QStringLiteral("standard input") : path) << ": "
            << file.errorString() << "\n";
        return false;
    }
    rtf = file.readAll();
    return true;
}

}

// Converts one RTF document to HTML on standard output; warnings and errors go to standard error.
int convertRtf(const QStringList &args)
{
    QTextStream err(stderr);
    TKvVelkaroXHTML converter;
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == "--fragment") {
            converter.OptionsHead().AddOuterHTML = false;
        } else if (arg == "--plain") {
            converter.ConvertToPlainText = true;
        } else if (arg == "--doctype" && i + 1 < args.size()) {
            const QString name = args[++i];
            bool found = false;
            for (const DocTypeName &d : DOC_TYPES) {
                if (name.compare(QLatin1String(d.name), Qt::CaseInsensitive) == 0) {
                    converter.SetDocumentType(d.type);
                    found = true;
                }
            }
            if (!found) {
                err << "convert: unknown document type \"" << name << "\"; use one of " << docTypeNames() << "\n";
                return 2;
            }
        } else if (arg.startsWith("--") || !path.isEmpty()) {
            err << "usage: corvanta-cli convert [--doctype NAME] [--fragment] [--plain] [FILE]\n"
                << "document types: " << docTypeNames() << "\n";
            return 2;
        } else {
            path = arg;
        }
    }
    QByteArray rtf;
    if (!readInput(path, rtf, err))
        return 1;
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
