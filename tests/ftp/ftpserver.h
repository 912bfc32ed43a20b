#pragma once

#include "common/tempdir.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace corvanta::test {

// The FTP tests run the client's blocking calls outside an event loop; Qt's sockets and
// processes still want an application object.
void EnsureCoreApplication();

// An FTP server that the test starts as its own child process on a free 127.0.0.1 port
// and kills when the fixture goes. Root() is the user's home on the server.
class FtpServerProcess
{
public:
    virtual ~FtpServerProcess();
    quint16 Port() const { return m_port; }
    QString Root() const { return m_dir.path(QStringLiteral("root")); }
    QString RootPath(const QString &relative) const { return Root() + u'/' + relative; }
    static QString User() { return QStringLiteral("tester"); }
    static QString Password() { return QStringLiteral("secret"); }

protected:
    FtpServerProcess();
    // Runs one of the scripts beside this file and waits until its port accepts.
    void Start(const QString &script, const QStringList &args, bool waitForPort = true);
    TempDir m_dir;

private:
    bool tryStart(const QString &script, const QStringList &args, bool waitForPort);
    QProcess m_process;
    quint16 m_port = 0;
};

// pyftpdlib with our script: options as its command line takes them ("--no-utf8",
// "--hash", "XSHA1,XMD5", ...). Commands() gives every command line it received.
class PyFtpServer : public FtpServerProcess
{
public:
    explicit PyFtpServer(const QStringList &options = {});
    QStringList Commands() const;
};

// ProFTPD in the foreground with a generated configuration and mod_digest, offering the
// given digest algorithms ("md5 crc32"; all when empty).
class ProFtpServer : public FtpServerProcess
{
public:
    explicit ProFtpServer(const QString &digests = {});
};

// Writes bytes to a file, creating its folders.
void WriteFile(const QString &path, const QByteArray &bytes);
QByteArray ReadFile(const QString &path);

}
