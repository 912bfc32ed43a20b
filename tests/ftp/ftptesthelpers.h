#pragma once

#include "ftpserver.h"

#include "ftp/driftwaysession.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

namespace corvanta::test {

// Every log line the logger hands out, with its level.
struct LogCapture
{
    QStringList Lines;
    QList<TLogLevel> Levels;

    void Attach(TLogger &logger)
    {
        logger.OnLog = [this](QObject *, TLogLevel level, const QString &text) {
            Lines << text;
            Levels << level;
        };
    }
    bool Has(const QString &line) const { return Lines.contains(line); }
    TLogLevel LevelOf(const QString &line) const { return Levels.value(Lines.indexOf(line), logFatal); }
    // Lines from the first one equal to from on, for order checks.
    QStringList From(const QString &from) const { return Lines.mid(qMax<qsizetype>(0, Lines.indexOf(from))); }
};

// Points the core's client at a test server and captures the core's log.
inline void WireToServer(TDriftwaySession &core, const FtpServerProcess &server, int timeoutMs, LogCapture &log)
{
    FtpClient &ftp = core.Ftp();
    ftp.Host = QStringLiteral("127.0.0.1");
    ftp.Port = server.Port();
    ftp.Username = FtpServerProcess::User();
    ftp.Password = FtpServerProcess::Password();
    ftp.Timeout = timeoutMs;
    log.Attach(core.FtpLogger());
    core.Deleter().PauseMs = 10;
}

// A panel core wired to a fresh pyftpdlib server.
class PyServerTest : public ::testing::Test
{
protected:
    void StartServer(const QStringList &options = {})
    {
        Server = std::make_unique<PyFtpServer>(options);
        WireToServer(Core, *Server, 5000, Log);
    }
    void Connect(const QStringList &options = {})
    {
        StartServer(options);
        ASSERT_TRUE(Core.Connect()) << Log.Lines.join(u'\n').toStdString();
    }
    IFtpConnection &Session() { return *Core.Session(); }
    QString Local(const QString &name) const { return Dir.path(name); }

    // Declared so that the core, which says QUIT when it goes, goes before the server.
    TempDir Dir;
    std::unique_ptr<PyFtpServer> Server;
    LogCapture Log;
    TDriftwaySession Core;
};

}

namespace corvanta::test {

// A collector with fixed lists, for transporter cases a real server cannot produce.
class FixedCollector : public IFtpFileCollector
{
public:
    FixedCollector(QStringList dirs, QStringList files) : m_dirs(std::move(dirs)), m_files(std::move(files)) {}
    FtpClient *GetFtp() const override { return nullptr; }
    void SetFtp(FtpClient *) override {}
    qint64 GetTotalSize() const override { return 0; }
    void SetTotalSize(qint64) override {}
    const QStringList &GetRemoteDirs() const override { return m_dirs; }
    const QStringList &GetRemoteFiles() const override { return m_files; }
    void Collect(const QString &, const QString &) override {}

private:
    QStringList m_dirs;
    QStringList m_files;
};

// The log without the per-file progress lines, whose number depends on timing.
inline QStringList WithoutProgress(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines)
        if (!line.contains(QStringLiteral(" KB/sec. (remaining time: ")))
            out << line;
    return out;
}

}
