// Servers that stop answering or hang up, hostile listings and hostile names.
#include "ftptesthelpers.h"

#include "ftp/ftpclient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace corvanta;
using namespace corvanta::test;

namespace {

class FaultTest : public PyServerTest
{
protected:
    QStringList LocalEntries(const QString &dir) const
    {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(FaultTest, SilentServerFailsTheConnectAfterTheTimeLimit)
{
    StartServer({"--silent"});
    Core.Ftp().Timeout = 300;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Core.Connect());
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(Log.Lines.filter("did not answer").size(), 1) << Log.Lines.join('\n').toStdString();
    EXPECT_EQ(Log.LevelOf("Could not connect to 127.0.0.1"), logError);
}

TEST_F(FaultTest, ServerHangingUpDuringLoginFailsWithoutAnErrorOfItsOwn)
{
    StartServer({"--die-at-login"});
    EXPECT_FALSE(Core.Connect());
    // only the panel's line: a gracefully closed connection is no session error
    EXPECT_EQ(Log.Levels.count(logError), 1);
    EXPECT_EQ(Log.LevelOf("Could not connect to 127.0.0.1"), logError);
}

TEST_F(FaultTest, TransferCutOffInTheMiddleFailsAndLeavesNoPartialFile)
{
    const struct
    {
        QString option;
        bool upload;
    } cases[] = {
        {"--stall-after", false},
        {"--die-after", false},
        {"--stall-after", true},
        {"--die-after", true},
    };
    const QByteArray big(4 * 1024 * 1024, 'z');
    for (const auto &c : cases) {
        const QString label = c.option + (c.upload ? " upload" : " download");
        Connect({c.option, "big.bin"});
        Core.Ftp().Timeout = 500;
        Core.Ftp().SetTransferType(FtpTransferType::Binary);
        const QString target = Local("target");
        QDir().mkpath(target);
        bool ok;
        if (c.upload) {
            WriteFile(Local("big.bin"), big);
            ok = Session().Put(Local("big.bin"), "big.bin");
        } else {
            WriteFile(Server->RootPath("big.bin"), big);
            ok = Session().Get("big.bin", target + "/big.bin");
            EXPECT_EQ(LocalEntries(target), QStringList{}) << label.toStdString();
        }
        EXPECT_FALSE(ok) << label.toStdString();
        EXPECT_FALSE(Session().IsConnected()) << label.toStdString();
        // the next operation fails at once instead of waiting on a dead connection
        EXPECT_FALSE(Session().MakeDir("after"));
        Core.Disconnect();
    }
}

TEST_F(FaultTest, LineBreaksAndNulInArgumentsAreNeverSent)
{
    Connect();
    WriteFile(Server->RootPath("victim"), "v");
    WriteFile(Local("up.txt"), "u");
    const QString evil = QStringLiteral("x\r\nDELE victim");
    const QString nul = QStringLiteral("x") + QChar(0) + QStringLiteral("DELE victim");
    const std::function<bool()> ops[] = {
        [&] { return Session().ChangeDir(evil); },
        [&] { return Session().MakeDir(evil); },
        [&] { return Session().RemoveDir(nul); },
        [&] { return Session().Delete(QStringLiteral("x\nDELE victim")); },
        [&] { return Session().Rename("victim", evil); },
        [&] { return Session().Put(Local("up.txt"), evil); },
        [&] { return Session().Get(nul, Local("down.txt")); },
    };
    for (const auto &op : ops)
        EXPECT_FALSE(op());
    EXPECT_TRUE(QFile::exists(Server->RootPath("victim")));
    EXPECT_TRUE(Server->Commands().filter("victim").size() == 1) << Server->Commands().join('\n').toStdString();
    EXPECT_EQ(Server->Commands().filter("PORT").size(), 0);
    EXPECT_EQ(Log.Lines.filter("may not contain a line break").size(), 7);
    EXPECT_TRUE(Session().IsConnected());
}

TEST_F(FaultTest, HostileListingNamesNeverLeaveTheLocalFolder)
{
    const QString listing = Dir.path("listing.txt");
    WriteFile(listing, "type=file;size=1; ../escape\r\n"
                       "type=dir; ..\r\n"
                       "type=dir; .\r\n"
                       "type=file;size=1; a\\b\r\n"
                       "type=dir; sub/x\r\n"
                       "type=file;size=1; cr\rname\r\n"
                       "type=file;size=1; ok.txt\r\n"
                       "type=file;size=1; \r\n");
    Connect({"--fake-listing", "/evil", listing});
    WriteFile(Server->RootPath("evil/ok.txt"), "k");
    TFtpFileCollector collector(&Core.Ftp());
    collector.Collect("evil", "");
    EXPECT_EQ(collector.GetRemoteFiles(), QStringList{"/evil/ok.txt"});
    EXPECT_EQ(collector.GetRemoteDirs(), QStringList{"/evil"});
    EXPECT_EQ(Log.Lines.filter("Skipping a listing entry").size(), 1);

    const QString inner = Local("inner");
    QDir().mkpath(inner);
    Core.Downloader().SetLocalDir(inner);
    Core.Downloader().Run(collector);
    EXPECT_EQ(ReadFile(inner + "/evil/ok.txt"), "k");
    EXPECT_EQ(LocalEntries(Dir.path()), (QStringList{"inner", "listing.txt"}));
}

TEST_F(FaultTest, DownloaderRefusesPathsOutsideItsFolder)
{
    Connect();
    WriteFile(Server->RootPath("pub/ok.txt"), "ok");
    WriteFile(Server->RootPath("other/y.txt"), "y");
    ASSERT_TRUE(Session().ChangeDir("/pub"));
    FixedCollector c({"/pub/../../out", "/pubx"}, {"/pub/../../out/x", "/other/y.txt", "/pub/ok.txt"});
    const QString inner = Local("inner");
    QDir().mkpath(inner);
    Core.Downloader().SetLocalDir(inner);
    Core.Downloader().Run(c);
    EXPECT_EQ(LocalEntries(inner), QStringList{"ok.txt"});
    EXPECT_EQ(LocalEntries(Dir.path()), QStringList{"inner"});
    EXPECT_EQ(Log.Lines.filter("(not a safe local path)").size(), 4);
    EXPECT_EQ(Log.LevelOf("Skipping \"/other/y.txt\" (not a safe local path)"), logWarn);
}

TEST_F(FaultTest, CollectorSkipsListedLinksBackUpTheTree)
{
    const QString listing = Dir.path("listing.txt");
    WriteFile(listing, "lrwxrwxrwx 1 u g 2 Mar  1 10:00 loop -> ./\r\n"
                       "lrwxrwxrwx 1 u g 2 Mar  1 10:00 top -> /\r\n"
                       "lrwxrwxrwx 1 u g 2 Mar  1 10:00 back -> ../tree/\r\n"
                       "-rw-r--r-- 1 u g 2 Mar  1 10:00 f.txt\r\n");
    // none of the links exists on the server: entering one would fail the collection
    Connect({"--no-mlsd", "--fake-listing", "/tree", listing});
    QDir(Server->Root()).mkpath("tree");
    TFtpFileCollector collector(&Core.Ftp());
    collector.Collect("tree", "");
    EXPECT_EQ(collector.GetRemoteFiles(), QStringList{"/tree/f.txt"});
    EXPECT_EQ(collector.GetRemoteDirs(), QStringList{"/tree"});
}

TEST_F(FaultTest, CollectorReturnsToItsStartWhenAFolderCannotBeEntered)
{
    const QString listing = Dir.path("listing.txt");
    WriteFile(listing, "type=dir; ghost\r\n");
    Connect({"--fake-listing", "/start/tree", listing});
    QDir(Server->Root()).mkpath("start/tree");
    ASSERT_TRUE(Session().ChangeDir("/start"));
    TFtpFileCollector collector(&Core.Ftp());
    EXPECT_THROW(collector.Collect("tree", ""), FtpError);
    EXPECT_EQ(Session().GetCurrentDir(), "/start");
}

}
