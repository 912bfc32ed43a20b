// Conversion throughput of the RTF-to-HTML converter, and the generator of large test documents.
//   converter_throughput [--repeat N] FILE...   converts each file N times in-process, prints MB/s
//   converter_throughput --generate MEGABYTES OUT   writes a Word-like RTF document of that size
#include "converter/vkmain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace corvanta;

namespace {

// One page worth of typical content: fonts, colours, styles, code-page and Unicode escapes,
// a list, a table row, a link and a field.
QByteArray generatedBlock(int n)
{
    const QByteArray i = QByteArray::number(n);
    return "\\pard\\plain\\f0\\fs20 Paragraph " + i + " has \\b bold\\b0 , \\i italic\\i0 and \\ul underlined\\ulnone "
           "words, a caf\\'e9, na\\'efve \\'93quotes\\'94 and \\u8364\\'80 signs.\\par\n"
           "{\\f1\\fs24\\cf2 Some text in another font and colour for run " + i + ".}\\par\n"
           "{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2{\\pntxtb\\'b7}}\\fi-360\\li720 List item " + i + "\\par\n"
           "\\pard\\trowd\\cellx2000\\cellx4000 Cell A" + i + "\\cell Cell B\\cell\\row\n"
           "\\pard\\cf1\\ul http://example.com/" + i + "\\cf0\\ulnone  and {\\field{\\*\\fldinst HYPERLINK x}"
           "{\\fldrslt link}} text \\{braces\\} \\\\ backslash.\\par\n";
}

bool generate(double megabytes, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 target = qint64(megabytes * 1024 * 1024);
    file.write("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
               "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}"
               "{\\colortbl ;\\red0\\green0\\blue255;\\red192\\green0\\blue0;}\\uc1\n");
    for (int n = 0; file.size() < target; ++n)
        file.write(generatedBlock(n));
    file.write("}\n");
    return true;
}

}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 3 && args[0] == "--generate")
        return generate(args[1].toDouble(), args[2]) ? 0 : 1;
    int repeat = 10;
    if (args.size() >= 2 && args[0] == "--repeat") {
        repeat = args[1].toInt();
        args = args.mid(2);
    }
    if (args.isEmpty() || repeat <= 0) {
        std::fprintf(stderr, "usage: converter_throughput [--repeat N] FILE... | --generate MEGABYTES OUT\n");
        return 2;
    }
    qint64 totalBytes = 0;
    double totalSeconds = 0;
    for (const QString &path : args) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray rtf = file.readAll();
        TKvVelkaroXHTML converter;
        QElapsedTimer timer;
        timer.start();
        qsizetype outputSize = 0;
        for (int r = 0; r < repeat; ++r)
            outputSize += converter.Convert(rtf).size();
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double megabytes = double(rtf.size()) * repeat / (1024 * 1024);
        std::printf("%-40s %10lld bytes  %8.4f s for %d  %8.2f MB/s  (output %lld bytes)\n", qPrintable(path),
                    qint64(rtf.size()), seconds, repeat, megabytes / seconds, qint64(outputSize / repeat));
        totalBytes += rtf.size() * repeat;
        totalSeconds += seconds;
    }
    std::printf("TOTAL %.2f MB in %.4f s: %.2f MB/s\n", totalBytes / (1024.0 * 1024), totalSeconds,
                totalBytes / (1024.0 * 1024) / totalSeconds);
    return 0;
}
