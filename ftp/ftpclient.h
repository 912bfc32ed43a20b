#pragma once

#include "ftp/ftplisting.h"
#include "ftp/ftpreply.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QDeadlineTimer;
class QIODevice;
class QTcpServer;
class QTcpSocket;

namespace corvanta {

enum class FtpTransferType { ASCII, Binary };
enum class FtpWorkMode { Read, Write };

// How a command line is encoded: the client's current choice (UTF-8 once the server has
// announced UTF8, 7-bit before), always UTF-8, or always 7-bit.
enum class FtpEncoding { Default, Utf8, SevenBit };

// Our FTP client: one control connection, active-mode (PORT) data connections, blocking
// calls with a time limit on every wait. Failures raise FtpError or one of its subclasses.
class FtpClient
{
public:
    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    QString Host;
    quint16 Port = 21;
    QString Username;
    QString Password;
    // Sent with CLNT when the server offers it: "name version platform".
    QString ClientName;
    QString ClientVersion;
    QString ClientPlatform;
    // Limit in milliseconds for connecting and for every wait on the server.
    int Timeout = 30000;

    // Work events of data transfers: begin (with the byte count to send when writing),
    // progress (bytes so far), end.
    std::function<void(FtpWorkMode, qint64)> OnWorkBegin;
    std::function<void(FtpWorkMode, qint64)> OnWork;
    std::function<void(FtpWorkMode)> OnWorkEnd;
    // Notes the client wants the user to see, such as skipped listing entries.
    std::function<void(const QString &)> OnWarning;

    // Connects, reads the greeting, logs in, reads FEAT, sends CLNT and the UTF-8 switch.
    void Connect();
    // Sends QUIT when connected and closes the connection.
    void Disconnect();
    bool Connected() const;

    const FtpReply &Greeting() const { return m_greeting; }
    const FtpReply &LastReply() const { return m_lastReply; }
    const QStringList &Features() const { return m_features; }
    bool HasFeature(const QString &word) const;
    bool Utf8() const { return m_utf8; }

    FtpTransferType TransferType() const { return m_type; }
    // Sends TYPE at once when connected and the type changes.
    void SetTransferType(FtpTransferType type);

    // Sends one command and reads its reply; raises FtpReplyError when the code is not in
    // expected (an empty list accepts every code). A line with CR, LF or NUL is refused
    // before anything is sent.
    FtpReply SendCmd(const QString &line, const QList<int> &expected = {},
                     FtpEncoding encoding = FtpEncoding::Default);

    void ChangeDir(const QString &dir);
    void ChangeDirUp();
    QString CurrentDir();
    void MakeDir(const QString &dir, FtpEncoding encoding = FtpEncoding::Default);
    void RemoveDir(const QString &dir);
    void Delete(const QString &file);
    void Rename(const QString &from, const QString &to, FtpEncoding encoding = FtpEncoding::Default);

    // Uploads a local file (replacing the remote one) and downloads into out.
    void Put(const QString &localFile, const QString &remoteFile);
    void Get(const QString &remoteFile, QIODevice &out);

    // Lists the current directory with MLSD when offered, LIST otherwise.
    void List();
    const QList<FtpListEntry> &ListResult() const { return m_listing; }

private:
    void writeLine(const QString &line, FtpEncoding encoding);
    FtpReply readReply();
    QByteArray readControlLine(const QDeadlineTimer &deadline);
    void login();
    void negotiate();
    std::unique_ptr<QTcpSocket> openData(const QString &command);
    void transfer(const QString &command, FtpWorkMode mode, qint64 size,
                  const std::function<void(QTcpSocket &)> &body);
    void closeAfterFailure();
    void sendFile(QIODevice &in, QTcpSocket &data);
    void waitWritten(QTcpSocket &data);
    void receive(QTcpSocket &data, const std::function<void(const QByteArray &)> &sink);
    QString decode(const QByteArray &bytes) const;

    std::unique_ptr<QTcpSocket> m_control;
    QByteArray m_controlBuffer;
    FtpReply m_greeting;
    FtpReply m_lastReply;
    QStringList m_features;
    bool m_utf8 = false;
    FtpTransferType m_type = FtpTransferType::ASCII;
    QList<FtpListEntry> m_listing;
};

// True when text holds a character that must never reach a command line.
bool HasLineBreakOrNul(const QString &text);

}
