#include "ftp/ftpconnection.h"

#include "ftp/ftpclient.h"
#include "ftp/ftptext.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zlib.h>

namespace corvanta {

namespace {

const QStringList kHashCommands{QStringLiteral("XSHA1"), QStringLiteral("XMD5"), QStringLiteral("XCRC")};

QString crc32Hex(QFile &file)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray buffer;
    while (!(buffer = file.read(1 << 20)).isEmpty())
        crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer.constData()), uInt(buffer.size()));
    return QStringLiteral("%1").arg(quint32(crc), 8, 16, QLatin1Char('0'));
}

// A feature line equal to text once its left blanks are gone, in any case.
bool hasFeatureLine(const FtpClient &ftp, const QString &text)
{
    for (const QString &line : ftp.Features()) {
        qsizetype i = 0;
        while (i < line.size() && line[i].isSpace())
            ++i;
        if (QStringView(line).mid(i).compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}

QString LocalFileHash(const QString &command, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (command == u"XCRC")
        return crc32Hex(file);
    QCryptographicHash hash(command == u"XSHA1" ? QCryptographicHash::Sha1 : QCryptographicHash::Md5);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

void TFtpConnection::log(TLogLevel level, const QString &text) const
{
    if (m_logger)
        m_logger->Log(level, text);
}

bool TFtpConnection::run(const std::function<void()> &op)
{
    if (!m_ftp)
        return false;
    try {
        op();
        return true;
    } catch (const FtpReplyError &) {
        LogLastResult();
    } catch (const std::exception &e) {
        log(logError, QString::fromUtf8(e.what()));
    }
    return false;
}

bool TFtpConnection::Connect(const QString &initialDir)
{
    if (!m_ftp)
        return false;
    try {
        m_ftp->Connect();
    } catch (const FtpClosedError &) {
        return false;
    } catch (const std::exception &e) {
        log(logError, QString::fromUtf8(e.what()));
        return false;
    }
    log(logInfo, m_ftp->Greeting().Formatted());
    log(logInfo, m_ftp->LastReply().Formatted());
    if (!initialDir.isEmpty())
        ChangeDir(initialDir);
    return true;
}

bool TFtpConnection::IsConnected() const
{
    return m_ftp && m_ftp->Connected();
}

void TFtpConnection::Disconnect()
{
    if (!IsConnected())
        return;
    try {
        m_ftp->Disconnect();
    } catch (const std::exception &e) {
        log(logWarn, QString::fromUtf8(e.what()));
    }
}

bool TFtpConnection::SupportsVerification() const
{
    if (!IsConnected())
        return false;
    for (const QString &command : kHashCommands)
        if (m_ftp->HasFeature(command))
            return true;
    return false;
}

bool TFtpConnection::ChangeDir(const QString &dir)
{
    if (dir == u"..")
        log(logInfo, DriftwayText("Returning to parent directory"));
    else
        log(logInfo, DriftwayFormat("Setting working directory to %0:s", {dir}));
    return run([&] { m_ftp->ChangeDir(dir); });
}

QString TFtpConnection::GetCurrentDir()
{
    QString dir;
    run([&] { dir = m_ftp->CurrentDir(); });
    return dir;
}

void TFtpConnection::Abort()
{
    if (!IsConnected())
        return;
    log(logInfo, QStringLiteral("Trying to abort current transfer..."));
    log(logInfo, QStringLiteral("Ready."));
}

bool TFtpConnection::Put(const QString &localFile, const QString &remoteFile)
{
    if (!run([&] { m_ftp->Put(localFile, remoteFile); }))
        return false;
    verify(remoteFile, localFile);
    return true;
}

bool TFtpConnection::Get(const QString &remoteFile, const QString &localFile)
{
    log(logInfo, DriftwayFormat("Get %s", {remoteFile}));
    log(logInfo, DriftwayFormat("-> %s", {localFile}));
    const QFileInfo target(localFile);
    if (target.exists() || target.isSymLink()) {
        log(logInfo, DriftwayFormat("Skipping \"%s\" (file already exists)", {remoteFile}));
        return true;
    }
    // The download goes to a temporary file beside the target and replaces nothing until
    // it is complete, so a failed transfer leaves no partial file that would later count
    // as already downloaded.
    const bool ok = run([&] {
        QSaveFile file(localFile);
        if (!file.open(QIODevice::WriteOnly))
            throw FtpError(QStringLiteral("Cannot create \"%1\": %2").arg(localFile, file.errorString()));
        m_ftp->Get(remoteFile, file);
        if (!file.commit())
            throw FtpError(QStringLiteral("Cannot save \"%1\": %2").arg(localFile, file.errorString()));
    });
    if (!ok)
        return false;
    verify(remoteFile, localFile);
    return true;
}

bool TFtpConnection::Delete(const QString &remoteFile)
{
    return run([&] { m_ftp->Delete(remoteFile); });
}

bool TFtpConnection::MakeDir(const QString &dir)
{
    return run([&] { m_ftp->MakeDir(dir, m_useUtf8 ? FtpEncoding::Utf8 : FtpEncoding::SevenBit); });
}

bool TFtpConnection::RemoveDir(const QString &dir)
{
    return run([&] { m_ftp->RemoveDir(dir); });
}

bool TFtpConnection::Rename(const QString &oldName, const QString &newName)
{
    return run([&] { m_ftp->Rename(oldName, newName, FtpEncoding::Utf8); });
}

void TFtpConnection::LogLastResult()
{
    if (!m_ftp)
        return;
    const QString text = m_ftp->LastReply().JoinedText();
    if (!text.isEmpty())
        log(logInfo, text);
}

void TFtpConnection::verify(const QString &remoteFile, const QString &localFile)
{
    if (!SupportsVerification())
        return;
    log(logInfo, DriftwayText("Verifying transfer integrity ..."));
    if (hashMatches(remoteFile, localFile))
        log(logInfo, DriftwayText("Transfer integrity verification successful!"));
    else
        log(logWarn, DriftwayText("Transfer integrity verification FAILED!"));
}

bool TFtpConnection::hashMatches(const QString &remoteFile, const QString &localFile)
{
    QString command;
    for (const QString &candidate : kHashCommands) {
        if (m_ftp->HasFeature(candidate)) {
            command = candidate;
            break;
        }
    }
    const QString localHash = LocalFileHash(command, localFile);
    if (localHash.isEmpty())
        return false;
    const QString end = QString::number(QFileInfo(localFile).size() - 1);
    QString line = command + QStringLiteral(" \"") + remoteFile + u'"';
    // Offsets go out only to a server that announces the range form; a lone start offset
    // is refused by servers that take either the name alone or name, start and end.
    if ((command == u"XSHA1" && hasFeatureLine(*m_ftp, QStringLiteral("XSHA1 filename;start;end")))
        || (command == u"XMD5" && hasFeatureLine(*m_ftp, QStringLiteral("XMD5 filename;start;end"))))
        line += QStringLiteral(" 0 ") + end;
    FtpReply reply;
    try {
        reply = m_ftp->SendCmd(line);
    } catch (const FtpError &) {
        return false;
    }
    if (reply.Code != 250)
        return false;
    // The hash is on the last line; servers may put a note on the lines before it.
    const QString text = reply.Text.isEmpty() ? QString() : reply.Text.last().trimmed();
    const QString remoteHash = text.mid(text.indexOf(u' ') + 1);
    return remoteHash.compare(localHash, Qt::CaseInsensitive) == 0;
}

}
