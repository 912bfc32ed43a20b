// The batch engine against pyftpdlib: collector, uploader, downloader and deleter.
#include "ftptesthelpers.h"

#include <QDir>
#include <QFile>

using namespace corvanta;
using namespace corvanta::test;

namespace {

class BatchTest : public PyServerTest
{
protected:
    void SetUp() override
    {
        Connect();
        Core.Ftp().SetTransferType(FtpTransferType::Binary);
    }
    // /pub/docs/x.txt (1500 bytes), /pub/docs/deep/y.txt, /pub/top.txt, /pub/empty/
    void MakeRemoteTree()
    {
        WriteFile(Server->RootPath("pub/docs/x.txt"), QByteArray(1500, 'x'));
        WriteFile(Server->RootPath("pub/docs/deep/y.txt"), "y");
        WriteFile(Server->RootPath("pub/top.txt"), "top");
        QDir(Server->Root()).mkpath("pub/empty");
    }
    TFtpFileCollector Collect(const QString &dirs, const QString &files, qint64 presetKB = 0)
    {
        TFtpFileCollector collector(&Core.Ftp(), presetKB);
        collector.Collect(dirs, files);
        return collector;
    }
    qint64 FilesPosition() { return static_cast<TProgressIndicator &>(*Core.FilesProgress()).Position(); }
};

TEST_F(BatchTest, UploadOfAFolderCreatesItsFoldersThenPutsItsFiles)
{
    WriteFile(Local("site/a.html"), "<p>a</p>");
    WriteFile(Local("site/img/b.png"), "png");
    Log.Lines.clear();
    Core.Uploader().Upload(Local("site") + "\n");
    EXPECT_EQ(WithoutProgress(Log.Lines), (QStringList{"Create 2 directories", "Start upload of 2 files", "Put site/a.html",
                                                       "Put site/img/b.png", "Ready"}));
    EXPECT_EQ(Server->Commands().filter("MKD "), (QStringList{"MKD site/", "MKD site/img/"}));
    EXPECT_EQ(ReadFile(Server->RootPath("site/a.html")), "<p>a</p>");
    EXPECT_EQ(ReadFile(Server->RootPath("site/img/b.png")), "png");
    EXPECT_EQ(FilesPosition(), 2);
}

TEST_F(BatchTest, UploadOfFilesOnlyCreatesNoFolders)
{
    WriteFile(Local("one.txt"), "1");
    WriteFile(Local("two.txt"), "2");
    Log.Lines.clear();
    Core.Uploader().Upload(Local("one.txt") + "\n" + Local("two.txt") + "\n");
    EXPECT_EQ(WithoutProgress(Log.Lines),
              (QStringList{"Start upload of 2 files", "Put one.txt", "Put two.txt", "Ready"}));
    EXPECT_EQ(ReadFile(Server->RootPath("two.txt")), "2");
}

TEST_F(BatchTest, ExistingTopFolderStillGetsItsNewSubfolders)
{
    QDir(Server->Root()).mkpath("site");
    WriteFile(Local("site/a.html"), "a");
    WriteFile(Local("site/img/b.png"), "b");
    Core.Uploader().Upload(Local("site"));
    EXPECT_TRUE(Log.Has("Failed to create directory \"site/\""));
    EXPECT_FALSE(Log.Has("Failed to create directory \"site/img/\""));
    EXPECT_EQ(ReadFile(Server->RootPath("site/img/b.png")), "b");
    EXPECT_EQ(ReadFile(Server->RootPath("site/a.html")), "a");
}

TEST_F(BatchTest, UploadStopsAtTheFirstFailedFile)
{
    WriteFile(Local("later.txt"), "l");
    Log.Lines.clear();
    Core.Uploader().Upload(Local("gone.txt") + "\n" + Local("later.txt"));
    const QStringList lines = WithoutProgress(Log.Lines);
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"Failed to put gone.txt", "Ready"}));
    EXPECT_FALSE(QFile::exists(Server->RootPath("later.txt")));
    EXPECT_EQ(FilesPosition(), 0);
}

TEST_F(BatchTest, CollectorExpandsFoldersBreadthFirstAndReturnsToItsStart)
{
    MakeRemoteTree();
    ASSERT_TRUE(Session().ChangeDir("/pub"));
    const TFtpFileCollector c = Collect("docs\nempty\n", "top.txt\n", 7);
    EXPECT_EQ(c.GetRemoteDirs(), (QStringList{"/pub/docs", "/pub/docs/deep", "/pub/empty"}));
    EXPECT_EQ(c.GetRemoteFiles(), (QStringList{"/pub/top.txt", "/pub/docs/x.txt", "/pub/docs/deep/y.txt"}));
    EXPECT_EQ(c.GetTotalSize(), 7 + 2 + 1); // preset, 1500 bytes, 1 byte
    EXPECT_EQ(Session().GetCurrentDir(), "/pub");
}

TEST_F(BatchTest, CollectorDoesNotFollowLinkCycles)
{
    WriteFile(Server->RootPath("tree/sub/f.txt"), "f");
    QFile::link("..", Server->RootPath("tree/sub/up"));
    QFile::link(Server->RootPath("tree"), Server->RootPath("tree/self"));
    const TFtpFileCollector c = Collect("tree", "");
    EXPECT_EQ(c.GetRemoteFiles(), QStringList{"/tree/sub/f.txt"});
    EXPECT_EQ(c.GetRemoteDirs(), (QStringList{"/tree", "/tree/sub"}));
}

TEST_F(BatchTest, DownloadMapsRemotePathsBelowTheWorkingDirectory)
{
    MakeRemoteTree();
    for (const QString &cwd : {QString("/"), QString("/pub")}) {
        const QString target = Local("into" + QString(cwd).replace('/', '_'));
        QDir().mkpath(target);
        ASSERT_TRUE(Session().ChangeDir(cwd));
        const QString prefix = cwd == "/" ? "/pub/" : "";
        if (cwd == "/")
            QDir().mkpath(target + "/pub");
        const TFtpFileCollector c = Collect(cwd == "/" ? "pub" : "docs", "");
        Core.Downloader().SetLocalDir(target);
        Log.Lines.clear();
        Core.Downloader().Run(c);
        const QString docs = target + (cwd == "/" ? "/pub/docs" : "/docs");
        EXPECT_EQ(ReadFile(docs + "/x.txt"), QByteArray(1500, 'x')) << cwd.toStdString();
        EXPECT_EQ(ReadFile(docs + "/deep/y.txt"), "y");
        EXPECT_TRUE(Log.Has("Create directory \"" + docs + "/deep\""));
        EXPECT_TRUE(Log.Has(docs + "/deep"));
        EXPECT_EQ(WithoutProgress(Log.Lines).last(), "Ready");
    }
}

TEST_F(BatchTest, DownloadSkipsExistingFilesAndStillCountsThem)
{
    MakeRemoteTree();
    WriteFile(Local("docs/x.txt"), "mine");
    ASSERT_TRUE(Session().ChangeDir("/pub"));
    const TFtpFileCollector c = Collect("docs", "");
    Core.Downloader().SetLocalDir(Dir.path());
    Core.Downloader().Run(c);
    EXPECT_EQ(ReadFile(Local("docs/x.txt")), "mine");
    EXPECT_EQ(ReadFile(Local("docs/deep/y.txt")), "y");
    EXPECT_TRUE(Log.Has("Skipping \"/pub/docs/x.txt\" (file already exists)"));
    EXPECT_TRUE(Log.Has("Failed to create directory \"" + Local("docs") + "\""));
    EXPECT_EQ(FilesPosition(), 2);
}

TEST_F(BatchTest, DownloadStopsAtTheFirstFailedFileWithoutReady)
{
    WriteFile(Server->RootPath("a.txt"), "a");
    FixedCollector c({}, {"/missing.txt", "/a.txt"});
    Core.Downloader().SetLocalDir(Dir.path());
    Core.Downloader().Run(c);
    EXPECT_EQ(WithoutProgress(Log.Lines).last(), "Failed to get /missing.txt");
    EXPECT_FALSE(QFile::exists(Local("a.txt")));
    EXPECT_FALSE(QFile::exists(Local("missing.txt")));
}

TEST_F(BatchTest, DeleteRemovesFilesThenFoldersDeepestFirst)
{
    MakeRemoteTree();
    ASSERT_TRUE(Session().ChangeDir("/pub"));
    const TFtpFileCollector c = Collect("docs\nempty", "top.txt");
    Core.FtpLogger().LogLevel = logDebug;
    Log.Lines.clear();
    Core.Deleter().Run(c);
    EXPECT_EQ(Log.Lines, (QStringList{"Delete /pub/top.txt", "Delete /pub/docs/x.txt", "Delete /pub/docs/deep/y.txt",
                                      "Delete /pub/empty", "Delete /pub/docs/deep", "Delete /pub/docs"}));
    EXPECT_EQ(QDir(Server->RootPath("pub")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

TEST_F(BatchTest, DeleteGoesPastFailedFilesButStopsAtAFolderThatStays)
{
    WriteFile(Server->RootPath("t/a/keep.txt"), "k");
    QDir(Server->Root()).mkpath("t/b");
    FixedCollector c({"/t", "/t/b", "/t/a"}, {"/t/none.txt"});
    Core.Deleter().Run(c);
    EXPECT_TRUE(Log.Has("\"/t/none.txt\" not deleted"));
    EXPECT_TRUE(Log.Lines.filter("Delete ").isEmpty()); // Debug lines stay below the default level
    EXPECT_TRUE(Log.Has("\"/t/a\" not deleted, aborted"));
    EXPECT_FALSE(QFileInfo::exists(Server->RootPath("t/b")));
    EXPECT_TRUE(QFileInfo::exists(Server->RootPath("t/a/keep.txt")));
    EXPECT_TRUE(QFileInfo::exists(Server->RootPath("t")));
}

}
