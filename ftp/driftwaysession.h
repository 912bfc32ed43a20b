#pragma once

#include "ftp/ftpbatchprocessing.h"
#include "ftp/ftpclient.h"
#include "ftp/ftpconnection.h"
#include "ftp/ftpsimplelogger.h"
#include "ftp/ftptransferprogress.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace corvanta {

// The dialogs the connect sequence needs; the panel supplies them, tests answer them.
class IDriftwayDialogs
{
public:
    virtual ~IDriftwayDialogs() = default;
    // An input box with an initial value; masked hides what is typed. False: cancelled.
    virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value, bool masked) = 0;
    virtual void ShowErrorBox(const QString &text) = 0;
};

struct TOptionsBehaviour
{
    bool AutoVerifyFile = false;
    bool ShowErrorDialog = false;
    bool ShowPasswordDialog = false;
};

// Everything of the FTP panel below its widgets: the client, the logger, the session, the
// batch engine with its two indicators, the connect and disconnect sequences and the
// per-file progress lines.
class TDriftwaySession : public QObject
{
public:
    // owner is the panel: the sender of every log event.
    explicit TDriftwaySession(QObject *owner = nullptr);
    ~TDriftwaySession() override;

    static QString FtpVersion() { return QStringLiteral("3.0-alpha"); }

    FtpClient &Ftp() { return m_ftp; }
    TLogger &FtpLogger() { return m_logger; }
    const IFtpConnectionPtr &Session() const { return m_session; }
    const IProgressIndicatorPtr &FileProgress() const { return m_fileProgress; }
    const IProgressIndicatorPtr &FilesProgress() const { return m_filesProgress; }
    TFtpFileUploader &Uploader() { return *m_uploader; }
    TFtpFileDownloader &Downloader() { return *m_downloader; }
    TFtpFileDeleter &Deleter() { return *m_deleter; }

    TOptionsBehaviour FtpOptionsBehaviour;
    QString FtpRemoteDir;
    IDriftwayDialogs *Dialogs = nullptr;
    // Filled in by the panel: the listing after a connect, the clearing of its display
    // after a disconnect, and its events.
    std::function<void()> OnRefresh;
    std::function<void()> OnClearDisplay;
    std::function<void(QObject *)> OnConnect;
    std::function<void(QObject *)> OnDisconnect;

    // Missing host, user name or (without the prompt) password raise Error.
    bool Connect();
    bool Connected() const { return m_session->IsConnected(); }
    void Disconnect();
    void ShowError(const QString &text);

private:
    void workBegin(FtpWorkMode mode, qint64 count);
    void work(qint64 count);
    void progressLine(qint64 done);
    void info(const char *pattern, const QStringList &args = {});

    QObject *m_owner;
    bool m_destroying = false;
    FtpClient m_ftp;
    TLogger m_logger;
    IFtpConnectionPtr m_session;
    IProgressIndicatorPtr m_fileProgress;
    IProgressIndicatorPtr m_filesProgress;
    std::shared_ptr<TFtpFileUploader> m_uploader;
    std::shared_ptr<TFtpFileDownloader> m_downloader;
    std::shared_ptr<TFtpFileDeleter> m_deleter;
};

}
