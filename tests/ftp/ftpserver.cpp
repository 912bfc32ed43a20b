#include "ftpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QThread>

#include <stdexcept>

namespace corvanta::test {

void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "ftp-test";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

FtpServerProcess::FtpServerProcess()
{
    EnsureCoreApplication();
    QDir(m_dir.path()).mkpath(QStringLiteral("root"));
}

FtpServerProcess::~FtpServerProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void FtpServerProcess::Start(const QString &script, const QStringList &args, bool waitForPort)
{
    // A port picked by the script can be taken by someone else before the server binds
    // it; starting again picks another.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (tryStart(script, args, waitForPort))
            return;
    throw std::runtime_error("FTP test server did not start: " + script.toStdString());
}

bool FtpServerProcess::tryStart(const QString &script, const QStringList &args, bool waitForPort)
{
    const QString path = sourceDir() + QStringLiteral("/tests/ftp/") + script;
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(m_dir.path(QStringLiteral("server-stderr.txt")));
    m_process.start(QStringLiteral("/usr/bin/python3"), QStringList{path} + args);
    if (!m_process.waitForStarted(10000))
        return false;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
    }
    m_port = quint16(m_process.readLine().trimmed().toUInt());
    if (m_port == 0) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    if (!waitForPort)
        return true;
    for (int i = 0; i < 200; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    m_process.kill();
    m_process.waitForFinished(5000);
    return false;
}

PyFtpServer::PyFtpServer(const QStringList &options)
{
    // The greeting is the last thing a probe would take from a one-shot fault server, so
    // the script's own first output line is trusted instead of a probe.
    Start(QStringLiteral("pyftpd_server.py"),
          QStringList{"--root", Root(), "--record", m_dir.path(QStringLiteral("commands.txt"))} + options,
          false);
}

QStringList PyFtpServer::Commands() const
{
    return QString::fromUtf8(ReadFile(m_dir.path(QStringLiteral("commands.txt")))).split(u'\n', Qt::SkipEmptyParts);
}

ProFtpServer::ProFtpServer(const QString &digests)
{
    Start(QStringLiteral("proftpd_server.py"),
          QStringList{"--dir", m_dir.path(), "--root", Root(), "--digests", digests});
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}
