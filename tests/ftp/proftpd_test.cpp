// Interoperability with ProFTPD: login, listing, transfers with hash verification by
// mod_digest, and a whole tree up, down and away.
#include "ftptesthelpers.h"

#include "ftp/ftpclient.h"

#include <QDir>
#include <QFile>

using namespace corvanta;
using namespace corvanta::test;

namespace {

class ProFtpdTest : public ::testing::Test
{
protected:
    void Connect(const QString &digests = {})
    {
        Server = std::make_unique<ProFtpServer>(digests);
        WireToServer(Core, *Server, 10000, Log);
        Core.FtpOptionsBehaviour.AutoVerifyFile = true;
        ASSERT_TRUE(Core.Connect()) << Log.Lines.join('\n').toStdString();
    }
    IFtpConnection &Session() { return *Core.Session(); }

    TempDir Dir;
    std::unique_ptr<ProFtpServer> Server;
    LogCapture Log;
    TDriftwaySession Core;
};

TEST_F(ProFtpdTest, LoginNegotiatesUtf8AndVerification)
{
    Connect();
    EXPECT_TRUE(Log.Has("UTF-8 is supported by server and client"));
    EXPECT_TRUE(Log.Has("Server supports transfer integrity verification."));
    EXPECT_EQ(Session().GetCurrentDir(), "/");
    Core.Disconnect();
    EXPECT_FALSE(Core.Connected());
}

TEST_F(ProFtpdTest, EveryDigestVerifiesBothWays)
{
    const QByteArray data = QByteArray("\x00\x01 binary\r\n", 11).repeated(3000);
    WriteFile(Dir.path("data.bin"), data);
    for (const QString &digests : {QString("sha1 md5 crc32"), QString("md5 crc32"), QString("crc32")}) {
        Connect(digests);
        Core.Ftp().SetTransferType(FtpTransferType::Binary);
        Log.Lines.clear();
        Log.Levels.clear();
        EXPECT_TRUE(Session().Put(Dir.path("data.bin"), "data.bin"));
        EXPECT_EQ(ReadFile(Server->RootPath("data.bin")), data);
        QFile::remove(Dir.path("back.bin"));
        EXPECT_TRUE(Session().Get("data.bin", Dir.path("back.bin")));
        EXPECT_EQ(ReadFile(Dir.path("back.bin")), data);
        EXPECT_EQ(Log.Lines.filter("Transfer integrity verification successful!").size(), 2)
            << digests.toStdString() << "\n" << Log.Lines.join('\n').toStdString();
        EXPECT_FALSE(Log.Levels.contains(logWarn));
        Core.Disconnect();
    }
}

TEST_F(ProFtpdTest, DifferingBytesAreReportedButTheTransferStands)
{
    Connect();
    WriteFile(Server->RootPath("dos.txt"), "one\r\ntwo\r\n");
    // ASCII mode turns the server's CR LF into local LF: the bytes differ on purpose
    ASSERT_EQ(Core.Ftp().TransferType(), FtpTransferType::ASCII);
    EXPECT_TRUE(Session().Get("dos.txt", Dir.path("dos.txt")));
    EXPECT_EQ(ReadFile(Dir.path("dos.txt")), "one\ntwo\n");
    EXPECT_EQ(Log.LevelOf("Transfer integrity verification FAILED!"), logWarn);
}

TEST_F(ProFtpdTest, TreeGoesUpComesDownAndIsDeleted)
{
    Connect();
    Core.Ftp().SetTransferType(FtpTransferType::Binary);
    WriteFile(Dir.path("up/site/index.html"), "<p>hi</p>");
    WriteFile(Dir.path("up/site/img/ä b.png"), QByteArray(70000, 'p'));
    WriteFile(Dir.path("up/site/img/deep/z.css"), "z");
    Core.Uploader().Upload(Dir.path("up/site"));
    EXPECT_EQ(ReadFile(Server->RootPath("site/img/ä b.png")), QByteArray(70000, 'p'));
    EXPECT_EQ(Log.Lines.filter("Transfer integrity verification successful!").size(), 3);

    TFtpFileCollector collector(&Core.Ftp());
    collector.Collect("site", "");
    EXPECT_EQ(collector.GetRemoteDirs(), (QStringList{"/site", "/site/img", "/site/img/deep"}));
    EXPECT_EQ(collector.GetRemoteFiles().size(), 3);
    EXPECT_EQ(collector.GetTotalSize(), 1 + 69 + 1);
    QDir().mkpath(Dir.path("down"));
    Core.Downloader().SetLocalDir(Dir.path("down"));
    Core.Downloader().Run(collector);
    EXPECT_EQ(ReadFile(Dir.path("down/site/img/deep/z.css")), "z");
    EXPECT_EQ(ReadFile(Dir.path("down/site/img/ä b.png")), QByteArray(70000, 'p'));

    Core.Deleter().Run(collector);
    EXPECT_FALSE(QFileInfo::exists(Server->RootPath("site")));
    EXPECT_EQ(Session().GetCurrentDir(), "/");
}

}
