#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace {

struct CliRun
{
    int exitCode;
    QByteArray out, err;
};

CliRun convert(const QStringList &args, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(QStringLiteral(CORVANTA_CLI), QStringList{"convert"} + args);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(converterCli, ConvertsStandardInputOrFile)
{
    const QByteArray rtf = "{\\rtf1{\\fonttbl\\f0 X;}\\f3 Hello\\par}";
    CliRun r = convert({"--fragment", "--doctype", "XHTML10-Transitional"}, rtf);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "    <p>\r\n      <span style=\r\n      \"font-family:Times,serif;\">Hello</span>\r\n    </p>\r\n");
    EXPECT_EQ(r.err, "warning: Font 3 not found\n");

    corvanta::test::TempDir dir;
    QFile file(dir.path("doc.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 A\\par B}");
    file.close();
    r = convert({"--plain", file.fileName()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "A\r\nB\r\n");
    r = convert({file.fileName()});
    EXPECT_TRUE(r.out.startsWith("<?xml version=\"1.0\"?>\r\n"));
    EXPECT_TRUE(r.out.endsWith("</html>"));
}

TEST(converterCli, FailuresAreReported)
{
    const struct
    {
        QStringList args;
        QByteArray input;
        int exitCode;
        QByteArray err;
    } cases[] = {
        {{}, "plain text", 1, "error: No RTF header found\n"},
        {{"/no/such/file.rtf"}, "", 1, "corvanta-cli convert: cannot read /no/such/file.rtf: No such file or directory\n"},
        {{"--doctype", "html5"}, "", 2, "corvanta-cli convert: unknown document type \"html5\""},
        {{"--bogus"}, "", 2, "corvanta-cli convert: Unknown option 'bogus'.\nusage: corvanta-cli convert"},
    };
    for (const auto &tc : cases) {
        const CliRun r = convert(tc.args, tc.input);
        EXPECT_EQ(r.exitCode, tc.exitCode) << tc.err.constData();
        EXPECT_TRUE(r.err.startsWith(tc.err)) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

}
