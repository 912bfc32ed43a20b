#include "ftp/driftwaysession.h"

#include "ftp/ftptext.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTime>

namespace corvanta {

namespace {

QString speedText(double speed)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(speed, 'f', 1);
    const QString zero = locale.decimalPoint() + u'0';
    if (text.endsWith(zero))
        text.chop(zero.size());
    return text;
}

QString remainingText(double days)
{
    const QLocale locale;
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return locale.toString(QTime(0, 0).addSecs(qRound64(days * 86400)), format.trimmed());
}

}

TDriftwaySession::TDriftwaySession(QObject *owner)
    : m_owner(owner ? owner : this),
      m_logger(m_owner),
      m_session(std::make_shared<TFtpConnection>(&m_ftp, &m_logger)),
      m_fileProgress(std::make_shared<TProgressIndicator>()),
      m_filesProgress(std::make_shared<TProgressIndicator>()),
      m_uploader(std::make_shared<TFtpFileUploader>()),
      m_downloader(std::make_shared<TFtpFileDownloader>()),
      m_deleter(std::make_shared<TFtpFileDeleter>())
{
    for (TFtpFileTransporter *t : {static_cast<TFtpFileTransporter *>(m_uploader.get()),
                                   static_cast<TFtpFileTransporter *>(m_downloader.get()),
                                   static_cast<TFtpFileTransporter *>(m_deleter.get())}) {
        t->SetConnection(m_session);
        t->SetFileProgress(m_fileProgress);
        t->SetFilesProgress(m_filesProgress);
    }
    m_ftp.OnWorkBegin = [this](FtpWorkMode mode, qint64 count) { workBegin(mode, count); };
    m_ftp.OnWork = [this](FtpWorkMode, qint64 count) { work(count); };
    m_ftp.OnWorkEnd = [this](FtpWorkMode) {
        m_fileProgress->SetPosition(m_fileProgress->GetMaximum());
        QCoreApplication::processEvents();
    };
    m_ftp.OnWarning = [this](const QString &text) { m_logger.Warn(text); };
}

TDriftwaySession::~TDriftwaySession()
{
    m_destroying = true;
    if (Connected())
        Disconnect();
}

void TDriftwaySession::info(const char *pattern, const QStringList &args)
{
    m_logger.Info(DriftwayFormat(pattern, args));
}

bool TDriftwaySession::Connect()
{
    if (Connected())
        Disconnect();
    if (m_ftp.Host.isEmpty())
        throw Error(QStringLiteral("IdFTP.Host must be specified"));
    if (m_ftp.Username.isEmpty())
        throw Error(QStringLiteral("IdFTP.Username must be specified"));
    if (m_ftp.Password.isEmpty()) {
        if (!FtpOptionsBehaviour.ShowPasswordDialog)
            throw Error(QStringLiteral("IdFTP.Password must be specified"));
        QString password;
        if (!Dialogs || !Dialogs->InputQuery(DriftwayFormat("Login to %s", {m_ftp.Host}),
                                             DriftwayFormat("Password for %s", {m_ftp.Username}),
                                             password, true))
            return false;
        m_ftp.Password = password;
    }
    if (m_ftp.ClientName.isEmpty()) {
        m_ftp.ClientName = QStringLiteral("TKvDriftway");
        m_ftp.ClientVersion = FtpVersion();
        m_ftp.ClientPlatform = QStringLiteral("Linux");
    }
    info("Connecting to %0:s as %1:s", {m_ftp.Host, m_ftp.Username});
    if (!m_session->Connect(FtpRemoteDir)) {
        ShowError(DriftwayFormat("Could not connect to %0:s", {m_ftp.Host}));
        return false;
    }
    info("User %0:s connected to %1:s", {m_ftp.Username, m_ftp.Host});
    info("Transfer type set to %0:s",
         {m_ftp.TransferType() == FtpTransferType::Binary ? QStringLiteral("Binary") : QStringLiteral("ASCII")});
    m_logger.Info(m_ftp.LastReply().Formatted());
    m_session->SetUseUTF8(false);
    if (m_ftp.HasFeature(QStringLiteral("UTF8"))) {
        info("UTF-8 is supported by server and client");
        m_session->SetUseUTF8(true);
        try {
            m_ftp.SendCmd(QStringLiteral("OPTS UTF-8 ON"), {200});
        } catch (const FtpError &) {
        }
    } else {
        info("UTF-8 is not supported by server and client");
    }
    if (FtpOptionsBehaviour.AutoVerifyFile)
        info(m_session->SupportsVerification() ? "Server supports transfer integrity verification."
                                               : "Server does not support transfer integrity verification!");
    if (OnRefresh)
        OnRefresh();
    if (OnConnect)
        OnConnect(m_owner);
    return true;
}

void TDriftwaySession::Disconnect()
{
    info("Disconnecting from %0:s", {m_ftp.Host});
    m_session->Disconnect();
    if (m_destroying)
        return;
    if (OnClearDisplay)
        OnClearDisplay();
    m_fileProgress->Reset();
    m_filesProgress->Reset();
    info("User %0:s disconnected from %1:s", {m_ftp.Username, m_ftp.Host});
    if (OnDisconnect)
        OnDisconnect(m_owner);
}

void TDriftwaySession::ShowError(const QString &text)
{
    m_logger.Error(text);
    if (FtpOptionsBehaviour.ShowErrorDialog && Dialogs)
        Dialogs->ShowErrorBox(text);
}

void TDriftwaySession::workBegin(FtpWorkMode mode, qint64 count)
{
    if (mode == FtpWorkMode::Write)
        m_fileProgress->SetMaximum(count);
    m_fileProgress->Start();
    progressLine(0);
}

void TDriftwaySession::work(qint64 count)
{
    m_fileProgress->SetPosition(count);
    progressLine(count);
}

void TDriftwaySession::progressLine(qint64 done)
{
    TProgressStats stats;
    m_fileProgress->GetStats(done, stats);
    if (stats.Changed)
        info("%0:s%1:s at %2:s KB/sec. (remaining time: %3:s)",
             {QString::number(stats.Percent), QStringLiteral("%"), speedText(stats.Speed),
              remainingText(stats.Remaining)});
}

}
