#include "ftp/ftpclient.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QIODevice>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>

namespace corvanta {

namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr qsizetype kMaxLine = 1 << 20;

FtpTimeoutError timeoutError(int ms, const char *what)
{
    return FtpTimeoutError(QStringLiteral("The server did not %1 within %2 seconds")
                               .arg(QString::fromLatin1(what))
                               .arg(ms / 1000.0));
}

QByteArray sevenBit(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(c.unicode() < 128 ? char(c.unicode()) : '?');
    return out;
}

// PWD answers with the directory in double quotes; a doubled quote stands for one.
QString quotedPart(const QString &text)
{
    const qsizetype start = text.indexOf(u'"');
    if (start < 0)
        throw FtpError(QStringLiteral("Unexpected reply to PWD: %1").arg(text));
    QString dir;
    for (qsizetype i = start + 1; i < text.size(); ++i) {
        if (text[i] != u'"') {
            dir += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'"') {
            dir += u'"';
            ++i;
        } else {
            return dir;
        }
    }
    throw FtpError(QStringLiteral("Unexpected reply to PWD: %1").arg(text));
}

}

bool HasLineBreakOrNul(const QString &text)
{
    for (const QChar c : text)
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            return true;
    return false;
}

FtpClient::FtpClient() = default;
FtpClient::~FtpClient() = default;

void FtpClient::Connect()
{
    m_control = std::make_unique<QTcpSocket>();
    m_controlBuffer.clear();
    m_greeting = m_lastReply = FtpReply{};
    m_features.clear();
    m_utf8 = false;
    m_control->connectToHost(Host, Port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    if (!m_control->waitForConnected(Timeout)) {
        const bool timedOut = m_control->error() == QAbstractSocket::SocketTimeoutError;
        const QString reason = m_control->errorString();
        m_control->abort();
        if (timedOut)
            throw timeoutError(Timeout, "accept the connection");
        throw FtpError(QStringLiteral("Could not connect to %1: %2").arg(Host, reason));
    }
    m_control->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    try {
        do
            m_greeting = m_lastReply = readReply();
        while (m_greeting.Code == 120);
        if (m_greeting.Code != 220)
            throw FtpReplyError(m_greeting);
        login();
        negotiate();
    } catch (...) {
        m_control->abort();
        throw;
    }
}

void FtpClient::login()
{
    const FtpReply user = SendCmd(QStringLiteral("USER ") + Username, {230, 331});
    if (user.Code == 331)
        SendCmd(QStringLiteral("PASS ") + Password, {230, 202});
}

void FtpClient::negotiate()
{
    const FtpReply feat = SendCmd(QStringLiteral("FEAT"));
    if (feat.Code == 211 && feat.Text.size() > 2)
        m_features = feat.Text.mid(1, feat.Text.size() - 2);
    if (HasFeature(QStringLiteral("CLNT")) && !ClientName.isEmpty())
        SendCmd(QStringList{ClientName, ClientVersion, ClientPlatform}.join(u' ').trimmed().prepend("CLNT "));
    // A server that announces UTF8 takes UTF-8 paths; the switch is only a courtesy to
    // servers that want to be told.
    if (HasFeature(QStringLiteral("UTF8"))) {
        m_utf8 = true;
        if (SendCmd(QStringLiteral("OPTS UTF8 ON")).Code != 200)
            SendCmd(QStringLiteral("OPTS UTF-8 NLST"));
    }
    if (m_type == FtpTransferType::Binary)
        SendCmd(QStringLiteral("TYPE I"), {200});
}

void FtpClient::Disconnect()
{
    if (!m_control)
        return;
    auto close = qScopeGuard([this] { closeAfterFailure(); });
    if (Connected())
        SendCmd(QStringLiteral("QUIT"));
}

bool FtpClient::Connected() const
{
    return m_control && m_control->state() == QAbstractSocket::ConnectedState;
}

bool FtpClient::HasFeature(const QString &word) const
{
    for (const QString &line : m_features) {
        const QString text = line.trimmed();
        if (text.startsWith(word, Qt::CaseInsensitive)
            && (text.size() == word.size() || text[word.size()] == u' '))
            return true;
    }
    return false;
}

void FtpClient::SetTransferType(FtpTransferType type)
{
    if (type == m_type)
        return;
    if (Connected())
        SendCmd(type == FtpTransferType::Binary ? QStringLiteral("TYPE I") : QStringLiteral("TYPE A"), {200});
    m_type = type;
}

FtpReply FtpClient::SendCmd(const QString &line, const QList<int> &expected, FtpEncoding encoding)
{
    if (HasLineBreakOrNul(line))
        throw FtpError(QStringLiteral("A command may not contain a line break or NUL character"));
    if (!Connected())
        throw FtpError(QStringLiteral("Not connected."));
    writeLine(line, encoding);
    m_lastReply = readReply();
    if (!expected.isEmpty() && !expected.contains(m_lastReply.Code))
        throw FtpReplyError(m_lastReply);
    return m_lastReply;
}

void FtpClient::writeLine(const QString &line, FtpEncoding encoding)
{
    const bool utf8 = encoding == FtpEncoding::Utf8 || (encoding == FtpEncoding::Default && m_utf8);
    QByteArray bytes = utf8 ? line.toUtf8() : sevenBit(line);
    bytes += "\r\n";
    m_control->write(bytes);
    while (m_control->bytesToWrite() > 0) {
        if (!m_control->waitForBytesWritten(Timeout)) {
            if (m_control->state() != QAbstractSocket::ConnectedState)
                throw FtpClosedError();
            closeAfterFailure();
            throw timeoutError(Timeout, "take the command");
        }
    }
}

QByteArray FtpClient::readControlLine(const QDeadlineTimer &deadline)
{
    for (;;) {
        const qsizetype end = m_controlBuffer.indexOf('\n');
        if (end >= 0) {
            QByteArray line = m_controlBuffer.left(end);
            m_controlBuffer.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            return line;
        }
        if (m_controlBuffer.size() > kMaxLine) {
            closeAfterFailure();
            throw FtpError(QStringLiteral("The server sent an overlong reply line"));
        }
        if (m_control->bytesAvailable() > 0) {
            m_controlBuffer += m_control->readAll();
            continue;
        }
        if (m_control->state() != QAbstractSocket::ConnectedState)
            throw FtpClosedError();
        if (!m_control->waitForReadyRead(int(deadline.remainingTime()))
            && m_control->state() == QAbstractSocket::ConnectedState && m_control->bytesAvailable() == 0) {
            closeAfterFailure();
            throw timeoutError(Timeout, "answer");
        }
    }
}

FtpReply FtpClient::readReply()
{
    const QDeadlineTimer deadline(Timeout);
    FtpReplyParser parser;
    try {
        while (!parser.AddLine(decode(readControlLine(deadline)))) {
        }
    } catch (const FtpClosedError &) {
        throw;
    } catch (const FtpTimeoutError &) {
        throw;
    } catch (const FtpError &) {
        // A reply we cannot read leaves the conversation out of step: start over.
        closeAfterFailure();
        throw;
    }
    return parser.Take();
}

QString FtpClient::decode(const QByteArray &bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

void FtpClient::closeAfterFailure()
{
    if (m_control)
        m_control->abort();
    m_controlBuffer.clear();
}

void FtpClient::ChangeDir(const QString &dir)
{
    SendCmd(QStringLiteral("CWD ") + dir, {200, 250});
}

void FtpClient::ChangeDirUp()
{
    SendCmd(QStringLiteral("CDUP"), {200, 250});
}

QString FtpClient::CurrentDir()
{
    return quotedPart(SendCmd(QStringLiteral("PWD"), {257}).Text.join(u' '));
}

void FtpClient::MakeDir(const QString &dir, FtpEncoding encoding)
{
    SendCmd(QStringLiteral("MKD ") + dir, {257}, encoding);
}

void FtpClient::RemoveDir(const QString &dir)
{
    SendCmd(QStringLiteral("RMD ") + dir, {250});
}

void FtpClient::Delete(const QString &file)
{
    SendCmd(QStringLiteral("DELE ") + file, {250});
}

void FtpClient::Rename(const QString &from, const QString &to, FtpEncoding encoding)
{
    SendCmd(QStringLiteral("RNFR ") + from, {350}, encoding);
    SendCmd(QStringLiteral("RNTO ") + to, {250}, encoding);
}

std::unique_ptr<QTcpSocket> FtpClient::openData(const QString &command)
{
    if (HasLineBreakOrNul(command))
        throw FtpError(QStringLiteral("A command may not contain a line break or NUL character"));
    QTcpServer server;
    const QHostAddress local = m_control ? m_control->localAddress() : QHostAddress();
    if (!Connected() || !server.listen(local, 0))
        throw FtpError(QStringLiteral("Cannot open a data port: %1").arg(server.errorString()));
    const quint32 ip = local.toIPv4Address();
    const quint16 port = server.serverPort();
    SendCmd(QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
                .arg(ip >> 24).arg((ip >> 16) & 255).arg((ip >> 8) & 255).arg(ip & 255)
                .arg(port >> 8).arg(port & 255),
            {200});
    SendCmd(command, {125, 150});
    if (!server.hasPendingConnections() && !server.waitForNewConnection(Timeout)) {
        closeAfterFailure();
        throw timeoutError(Timeout, "open the data connection");
    }
    std::unique_ptr<QTcpSocket> data(server.nextPendingConnection());
    data->setParent(nullptr);
    if (!data->peerAddress().isEqual(m_control->peerAddress(), QHostAddress::ConvertV4MappedToIPv4)) {
        data->abort();
        closeAfterFailure();
        throw FtpError(QStringLiteral("Data connection from an unexpected address %1").arg(data->peerAddress().toString()));
    }
    return data;
}

void FtpClient::transfer(const QString &command, FtpWorkMode mode, qint64 size,
                         const std::function<void(QTcpSocket &)> &body)
{
    std::unique_ptr<QTcpSocket> data = openData(command);
    if (OnWorkBegin)
        OnWorkBegin(mode, size);
    auto end = qScopeGuard([&] {
        if (OnWorkEnd)
            OnWorkEnd(mode);
    });
    try {
        body(*data);
    } catch (const FtpTimeoutError &) {
        data->abort();
        closeAfterFailure();
        throw;
    } catch (const FtpError &) {
        data->abort();
        // The server tells why the data connection ended early; its reply wins.
        m_lastReply = readReply();
        if (m_lastReply.Code >= 400)
            throw FtpReplyError(m_lastReply);
        throw;
    }
    m_lastReply = readReply();
    if (m_lastReply.Code != 226 && m_lastReply.Code != 250)
        throw FtpReplyError(m_lastReply);
}

void FtpClient::sendFile(QIODevice &in, QTcpSocket &data)
{
    const bool ascii = m_type == FtpTransferType::ASCII;
    qint64 done = 0;
    for (;;) {
        QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty()) {
            if (!in.atEnd())
                throw FtpError(QStringLiteral("Cannot read the local file: %1").arg(in.errorString()));
            break;
        }
        done += chunk.size();
        if (ascii)
            chunk.replace("\n", "\r\n");
        data.write(chunk);
        while (data.bytesToWrite() > kChunk)
            waitWritten(data);
        if (OnWork)
            OnWork(FtpWorkMode::Write, done);
    }
    while (data.bytesToWrite() > 0)
        waitWritten(data);
    data.disconnectFromHost();
    if (data.state() != QAbstractSocket::UnconnectedState && !data.waitForDisconnected(Timeout))
        throw timeoutError(Timeout, "close the data connection");
}

void FtpClient::waitWritten(QTcpSocket &data)
{
    if (data.waitForBytesWritten(Timeout))
        return;
    if (data.state() != QAbstractSocket::ConnectedState)
        throw FtpError(QStringLiteral("The server closed the data connection"));
    throw timeoutError(Timeout, "take the data");
}

void FtpClient::receive(QTcpSocket &data, const std::function<void(const QByteArray &)> &sink)
{
    qint64 done = 0;
    for (;;) {
        if (data.bytesAvailable() > 0) {
            const QByteArray bytes = data.readAll();
            done += bytes.size();
            sink(bytes);
            if (OnWork)
                OnWork(FtpWorkMode::Read, done);
            continue;
        }
        if (data.state() != QAbstractSocket::ConnectedState)
            return;
        if (!data.waitForReadyRead(Timeout) && data.state() == QAbstractSocket::ConnectedState
            && data.bytesAvailable() == 0)
            throw timeoutError(Timeout, "send data");
    }
}

void FtpClient::Put(const QString &localFile, const QString &remoteFile)
{
    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly))
        throw FtpError(QStringLiteral("Cannot open \"%1\": %2").arg(localFile, file.errorString()));
    transfer(QStringLiteral("STOR ") + remoteFile, FtpWorkMode::Write, file.size(),
             [&](QTcpSocket &data) { sendFile(file, data); });
}

void FtpClient::Get(const QString &remoteFile, QIODevice &out)
{
    const bool ascii = m_type == FtpTransferType::ASCII;
    bool pendingCr = false;
    auto put = [&](const QByteArray &bytes) {
        if (out.write(bytes) != bytes.size())
            throw FtpError(QStringLiteral("Cannot write the local file: %1").arg(out.errorString()));
    };
    auto write = [&](QByteArray bytes) {
        if (ascii) {
            // CR LF becomes LF, also when the pair is split between two reads.
            if (pendingCr)
                bytes.prepend('\r');
            pendingCr = bytes.endsWith('\r');
            if (pendingCr)
                bytes.chop(1);
            bytes.replace("\r\n", "\n");
        }
        put(bytes);
    };
    transfer(QStringLiteral("RETR ") + remoteFile, FtpWorkMode::Read, 0, [&](QTcpSocket &data) {
        receive(data, write);
        if (pendingCr)
            put(QByteArray("\r"));
    });
}

void FtpClient::List()
{
    const bool mlsd = HasFeature(QStringLiteral("MLSD")) || HasFeature(QStringLiteral("MLST"));
    const bool switchType = !mlsd && m_type == FtpTransferType::Binary;
    if (switchType)
        SendCmd(QStringLiteral("TYPE A"), {200});
    QByteArray raw;
    try {
        transfer(mlsd ? QStringLiteral("MLSD") : QStringLiteral("LIST"), FtpWorkMode::Read, 0,
                 [&](QTcpSocket &data) { receive(data, [&](const QByteArray &b) { raw += b; }); });
    } catch (const FtpError &) {
        if (switchType && Connected()) {
            try {
                SendCmd(QStringLiteral("TYPE I"), {200});
            } catch (const FtpError &) {
                closeAfterFailure(); // a wrong type would corrupt the next upload
            }
        }
        throw;
    }
    if (switchType)
        SendCmd(QStringLiteral("TYPE I"), {200});
    m_listing.clear();
    for (QByteArray line : raw.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = decode(line);
        const auto entry = mlsd ? ParseMlsdLine(text) : ParseListLine(text);
        if (!entry)
            continue;
        if (HasLineBreakOrNul(entry->Name)) {
            // Such a name could split into other names or carry a command.
            if (OnWarning)
                OnWarning(QStringLiteral("Skipping a listing entry whose name holds a line break or NUL: \"%1\"")
                              .arg(QString(entry->Name).replace(u'\r', u' ').replace(QChar(0), u' ')));
            continue;
        }
        m_listing << *entry;
    }
}

}
