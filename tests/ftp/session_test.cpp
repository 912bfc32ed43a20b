// The session and the panel's connect and disconnect sequences against pyftpdlib.
#include "ftptesthelpers.h"

#include "ftp/ftpclient.h"

#include <QFile>
#include <QRegularExpression>

using namespace corvanta;
using namespace corvanta::test;

namespace {

class Dialogs : public IDriftwayDialogs
{
public:
    bool InputQuery(const QString &caption, const QString &prompt, QString &value, bool masked) override
    {
        Calls << QStringList{caption, prompt, value};
        Masked = masked;
        value = Answer;
        return !Cancel;
    }
    void ShowErrorBox(const QString &text) override { Errors << text; }

    QList<QStringList> Calls;
    bool Masked = false;
    bool Cancel = false;
    QString Answer;
    QStringList Errors;
};

using SessionTest = PyServerTest;

TEST_F(SessionTest, ConnectSequenceIdentifiesNegotiatesAndReports)
{
    int refreshed = 0;
    QObject *connectedSender = nullptr;
    Core.OnRefresh = [&] { ++refreshed; };
    Core.OnConnect = [&](QObject *sender) { connectedSender = sender; };
    Core.FtpOptionsBehaviour.AutoVerifyFile = true;
    Connect({"--hash", "XCRC"});

    EXPECT_EQ(Log.Lines.mid(0, 2), (QStringList{"Connecting to 127.0.0.1 as tester", "220 Test server ready."}));
    EXPECT_EQ(Log.From("User tester connected to 127.0.0.1").mid(0, 2),
              (QStringList{"User tester connected to 127.0.0.1", "Transfer type set to ASCII"}));
    EXPECT_TRUE(Log.Has("UTF-8 is supported by server and client"));
    EXPECT_TRUE(Log.Has("Server supports transfer integrity verification."));
    EXPECT_TRUE(Session().GetUseUTF8());
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(connectedSender, &Core);
    const QStringList sent = Server->Commands();
    EXPECT_TRUE(sent.contains("CLNT TKvDriftway 3.0-alpha Linux"));
    EXPECT_TRUE(sent.contains("OPTS UTF8 ON"));
    EXPECT_TRUE(sent.contains("OPTS UTF-8 ON"));
}

TEST_F(SessionTest, ServerWithoutUtf8OrHashesIsReportedSo)
{
    Core.FtpOptionsBehaviour.AutoVerifyFile = true;
    Connect({"--no-utf8"});
    EXPECT_TRUE(Log.Has("UTF-8 is not supported by server and client"));
    EXPECT_TRUE(Log.Has("Server does not support transfer integrity verification!"));
    EXPECT_FALSE(Session().GetUseUTF8());
}

TEST_F(SessionTest, MissingSettingsRaiseBeforeAnythingIsSent)
{
    StartServer();
    const struct
    {
        QString host, user, password, message;
    } cases[] = {
        {"", "tester", "secret", "IdFTP.Host must be specified"},
        {"127.0.0.1", "", "secret", "IdFTP.Username must be specified"},
        {"127.0.0.1", "tester", "", "IdFTP.Password must be specified"},
    };
    for (const auto &c : cases) {
        Core.Ftp().Host = c.host;
        Core.Ftp().Username = c.user;
        Core.Ftp().Password = c.password;
        try {
            Core.Connect();
            ADD_FAILURE() << "no error for " << c.message.toStdString();
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
    EXPECT_TRUE(Server->Commands().isEmpty());
}

TEST_F(SessionTest, WrongPasswordFailsWithTheServersWordsAndTheErrorBox)
{
    Dialogs dialogs;
    Core.Dialogs = &dialogs;
    Core.FtpOptionsBehaviour.ShowErrorDialog = true;
    StartServer();
    Core.Ftp().Password = "wrong";
    EXPECT_FALSE(Core.Connect());
    EXPECT_EQ(Log.LevelOf("Could not connect to 127.0.0.1"), logError);
    EXPECT_EQ(dialogs.Errors, QStringList{"Could not connect to 127.0.0.1"});
    // the server's refusal is in the log at Error level before the panel's line
    const qsizetype refusal = Log.Levels.indexOf(logError);
    EXPECT_LT(refusal, Log.Lines.indexOf("Could not connect to 127.0.0.1"));
    EXPECT_FALSE(Core.Connected());
}

TEST_F(SessionTest, PasswordPromptIsMaskedAndItsAnswerIsKept)
{
    Dialogs dialogs;
    dialogs.Answer = FtpServerProcess::Password();
    Core.Dialogs = &dialogs;
    Core.FtpOptionsBehaviour.ShowPasswordDialog = true;
    StartServer();
    Core.Ftp().Password.clear();
    ASSERT_TRUE(Core.Connect());
    ASSERT_EQ(dialogs.Calls.size(), 1);
    EXPECT_EQ(dialogs.Calls[0], (QStringList{"Login to 127.0.0.1", "Password for tester", ""}));
    EXPECT_TRUE(dialogs.Masked);
    Core.Disconnect();
    ASSERT_TRUE(Core.Connect());
    EXPECT_EQ(dialogs.Calls.size(), 1);
}

TEST_F(SessionTest, CancelledPromptEndsSilently)
{
    Dialogs dialogs;
    dialogs.Cancel = true;
    Core.Dialogs = &dialogs;
    Core.FtpOptionsBehaviour.ShowPasswordDialog = true;
    StartServer();
    Core.Ftp().Password.clear();
    EXPECT_FALSE(Core.Connect());
    EXPECT_TRUE(Log.Lines.isEmpty());
    EXPECT_TRUE(Server->Commands().isEmpty());
}

TEST_F(SessionTest, ReconnectDisconnectsFirstAndDisconnectClearsTheDisplay)
{
    int cleared = 0;
    Core.OnClearDisplay = [&] { ++cleared; };
    Connect();
    Core.FileProgress()->SetMaximum(10);
    Core.FileProgress()->SetPosition(5);
    Log.Lines.clear();
    ASSERT_TRUE(Core.Connect());
    EXPECT_EQ(Log.Lines.mid(0, 3), (QStringList{"Disconnecting from 127.0.0.1", "User tester disconnected from 127.0.0.1",
                                                "Connecting to 127.0.0.1 as tester"}));
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(static_cast<TProgressIndicator &>(*Core.FileProgress()).Position(), 0);
    EXPECT_TRUE(Server->Commands().contains("QUIT"));
}

TEST_F(SessionTest, InitialDirectoryIsEnteredAndAFailedOneStillConnects)
{
    StartServer();
    QDir(Server->Root()).mkpath("pub");
    Core.FtpRemoteDir = "pub";
    ASSERT_TRUE(Core.Connect());
    EXPECT_EQ(Session().GetCurrentDir(), "/pub");
    Core.FtpRemoteDir = "missing";
    Log.Lines.clear();
    ASSERT_TRUE(Core.Connect());
    EXPECT_TRUE(Log.Has("Setting working directory to missing"));
    EXPECT_TRUE(Log.Has("No such file or directory.")) << Log.Lines.join('\n').toStdString();
}

TEST_F(SessionTest, SingleOperationsDoWhatTheySayAndReportFailures)
{
    Connect();
    WriteFile(Server->RootPath("old.txt"), "x");
    EXPECT_TRUE(Session().MakeDir("made"));
    EXPECT_TRUE(QFileInfo(Server->RootPath("made")).isDir());
    EXPECT_TRUE(Session().ChangeDir("made"));
    EXPECT_EQ(Session().GetCurrentDir(), "/made");
    EXPECT_TRUE(Session().ChangeDir(".."));
    EXPECT_TRUE(Log.Has("Returning to parent directory"));
    EXPECT_TRUE(Server->Commands().contains("CWD .."));
    EXPECT_EQ(Session().GetCurrentDir(), "/");
    EXPECT_TRUE(Session().Rename("old.txt", "new.txt"));
    EXPECT_TRUE(QFile::exists(Server->RootPath("new.txt")));
    EXPECT_TRUE(Session().Delete("new.txt"));
    EXPECT_FALSE(QFile::exists(Server->RootPath("new.txt")));
    EXPECT_TRUE(Session().RemoveDir("made"));
    EXPECT_FALSE(QFileInfo::exists(Server->RootPath("made")));

    Log.Lines.clear();
    EXPECT_FALSE(Session().ChangeDir("nowhere"));
    EXPECT_FALSE(Session().Delete("nothing.txt"));
    EXPECT_FALSE(Session().RemoveDir("nothing"));
    EXPECT_FALSE(Session().Rename("nothing.txt", "other.txt"));
    EXPECT_FALSE(Session().Get("nothing.txt", Local("nothing.txt")));
    EXPECT_FALSE(Session().Put(Local("no-such-local-file"), "x.txt"));
    // each failure left the server's reply (or the local reason) in the log; RNTO never went out
    EXPECT_GE(Log.Lines.filter("No such file or directory").size(), 4) << Log.Lines.join('\n').toStdString();
    EXPECT_FALSE(Server->Commands().contains("RNTO other.txt"));
    EXPECT_TRUE(Session().IsConnected());

    const qsizetype sent = Server->Commands().size();
    Session().Abort();
    EXPECT_EQ(Log.Lines.mid(Log.Lines.size() - 2), (QStringList{"Trying to abort current transfer...", "Ready."}));
    EXPECT_EQ(Server->Commands().size(), sent);
}

TEST_F(SessionTest, TransfersRoundTripInBothTypes)
{
    Connect();
    const QByteArray text = "line one\nline two\n";
    const QByteArray binary("\x00\r\n\x01\xff\r", 6);
    WriteFile(Local("text.txt"), text);
    WriteFile(Local("data.bin"), binary);
    ASSERT_TRUE(Session().Put(Local("text.txt"), "text.txt"));
    EXPECT_EQ(ReadFile(Server->RootPath("text.txt")), text);
    ASSERT_TRUE(Session().Get("text.txt", Local("text-back.txt")));
    EXPECT_EQ(ReadFile(Local("text-back.txt")), text);

    Core.Ftp().SetTransferType(FtpTransferType::Binary);
    EXPECT_EQ(Server->Commands().last(), "TYPE I");
    ASSERT_TRUE(Session().Put(Local("data.bin"), "data.bin"));
    EXPECT_EQ(ReadFile(Server->RootPath("data.bin")), binary);
    ASSERT_TRUE(Session().Get("data.bin", Local("data-back.bin")));
    EXPECT_EQ(ReadFile(Local("data-back.bin")), binary);
    // an upload replaces what is there
    WriteFile(Local("data.bin"), "short");
    ASSERT_TRUE(Session().Put(Local("data.bin"), "data.bin"));
    EXPECT_EQ(ReadFile(Server->RootPath("data.bin")), "short");
}

TEST_F(SessionTest, GetSkipsAnExistingLocalFile)
{
    Connect();
    WriteFile(Server->RootPath("a.txt"), "remote");
    WriteFile(Local("a.txt"), "local");
    EXPECT_TRUE(Session().Get("a.txt", Local("a.txt")));
    EXPECT_EQ(ReadFile(Local("a.txt")), "local");
    EXPECT_EQ(Log.Lines.mid(Log.Lines.size() - 3),
              (QStringList{"Get a.txt", "-> " + Local("a.txt"), "Skipping \"a.txt\" (file already exists)"}));
    EXPECT_FALSE(Server->Commands().join('\n').contains("RETR"));
}

TEST_F(SessionTest, MakeDirFollowsUseUtf8WhileRenameIsAlwaysUtf8)
{
    const struct
    {
        QStringList options;
        QString mkd;
    } cases[] = {
        {{"--no-utf8"}, "MKD caf?"},
        {{}, "MKD café"},
    };
    for (const auto &c : cases) {
        Connect(c.options);
        Session().MakeDir("café");
        WriteFile(Server->RootPath("é.txt"), "x");
        EXPECT_TRUE(Session().Rename("é.txt", "ü.txt"));
        const QStringList sent = Server->Commands();
        EXPECT_TRUE(sent.contains(c.mkd)) << sent.join('\n').toStdString();
        EXPECT_TRUE(sent.contains("RNFR é.txt"));
        EXPECT_TRUE(sent.contains("RNTO ü.txt"));
        Core.Disconnect();
    }
}

TEST_F(SessionTest, VerificationUsesTheFirstOfferedHashAndNeverFailsTheTransfer)
{
    const struct
    {
        QString features;
        bool wrong;
        QString command; // as the server received it for a 5-byte file
        QString outcome;
    } cases[] = {
        {"XCRC", false, "XCRC \"v.txt\"", "Transfer integrity verification successful!"},
        {"XMD5,XCRC", false, "XMD5 \"v.txt\"", "Transfer integrity verification successful!"},
        {"XMD5+", false, "XMD5 \"v.txt\" 0 4", "Transfer integrity verification successful!"},
        {"XSHA1,XMD5", false, "XSHA1 \"v.txt\"", "Transfer integrity verification successful!"},
        {"XSHA1+", false, "XSHA1 \"v.txt\" 0 4", "Transfer integrity verification successful!"},
        {"XSHA1", true, "XSHA1 \"v.txt\"", "Transfer integrity verification FAILED!"},
        {"XCRC", true, "XCRC \"v.txt\"", "Transfer integrity verification FAILED!"},
    };
    WriteFile(Local("v.txt"), "hello");
    for (const auto &c : cases) {
        QStringList options{"--hash", c.features};
        if (c.wrong)
            options << "--wrong-hash";
        Connect(options);
        Log.Lines.clear();
        Log.Levels.clear();
        EXPECT_TRUE(Session().Put(Local("v.txt"), "v.txt"));
        QFile::remove(Local("back.txt"));
        EXPECT_TRUE(Session().Get("v.txt", Local("back.txt")));
        const QString label = c.features + (c.wrong ? " wrong" : "");
        EXPECT_EQ(Server->Commands().filter(c.command).size(), 2) << label.toStdString();
        EXPECT_EQ(Log.Lines.filter(c.outcome).size(), 2) << label.toStdString();
        EXPECT_EQ(Log.LevelOf(c.outcome), c.wrong ? logWarn : logInfo);
        Core.Disconnect();
    }
}

TEST_F(SessionTest, NoHashFeatureMeansNoVerification)
{
    Connect();
    WriteFile(Local("v.txt"), "hello");
    EXPECT_TRUE(Session().Put(Local("v.txt"), "v.txt"));
    EXPECT_FALSE(Log.Has("Verifying transfer integrity ..."));
    EXPECT_FALSE(Session().SupportsVerification());
}

TEST_F(SessionTest, ListingWithMlsdAndWithListAgree)
{
    for (const QStringList &options : {QStringList{}, QStringList{"--no-mlsd"}}) {
        StartServer(options);
        QDir(Server->Root()).mkpath("folder");
        WriteFile(Server->RootPath("my file.txt"), QByteArray(1500, 'x'));
        ASSERT_TRUE(Core.Connect());
        Core.Ftp().SetTransferType(FtpTransferType::Binary);
        Core.Ftp().List();
        QStringList seen;
        for (const FtpListEntry &e : Core.Ftp().ListResult())
            seen << QStringLiteral("%1|%2|%3|%4").arg(e.Name).arg(e.IsDirectory()).arg(e.IsDirectory() ? 0 : e.Size)
                        .arg(e.Modified.isValid());
        seen.sort();
        EXPECT_EQ(seen, (QStringList{"folder|1|0|1", "my file.txt|0|1500|1"})) << options.join(' ').toStdString();
        const QStringList sent = Server->Commands();
        if (options.isEmpty()) {
            EXPECT_TRUE(sent.contains("MLSD"));
        } else {
            // LIST goes in ASCII and the binary type comes back afterwards
            EXPECT_EQ(sent.mid(sent.indexOf("LIST") - 2, 4), (QStringList{"TYPE A", sent[sent.indexOf("LIST") - 1], "LIST", "TYPE I"}));
        }
        Core.Disconnect();
    }
}

TEST_F(SessionTest, UploadProgressLinesFollowWholePercentSteps)
{
    Connect();
    quint32 tick = 0;
    static_cast<TProgressIndicator &>(*Core.FileProgress()).Ticks = [&] { return tick += 10; };
    Core.Ftp().SetTransferType(FtpTransferType::Binary);
    WriteFile(Local("big.bin"), QByteArray(1024 * 1024, 'b'));
    int events = 0;
    Core.FileProgress()->SetOnProgress([&](IProgressIndicator *, qint64, qint64 max) {
        ++events;
        EXPECT_EQ(max, 1024 * 1024);
    });
    ASSERT_TRUE(Session().Put(Local("big.bin"), "big.bin"));
    const QStringList lines = Log.Lines.filter(QRegularExpression(R"(^\d+% at [\d.]+ KB/sec\. \(remaining time: .+\)$)"));
    QStringList percents;
    for (const QString &line : lines)
        percents << line.section(u'%', 0, 0);
    EXPECT_EQ(percents, (QStringList{"25", "50", "75", "100"})) << Log.Lines.join('\n').toStdString();
    EXPECT_EQ(events, 4);
}

}
