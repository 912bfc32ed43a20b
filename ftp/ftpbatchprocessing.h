#pragma once

#include "ftp/ftpconnection.h"
#include "ftp/ftplisting.h"
#include "ftp/ftptransferprogress.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace corvanta {

class FtpClient;

// One listing entry as the collector and the panel's file list keep it.
struct TExtraFileData
{
    int IconIndex = 0;
    QString Name;
    qint64 Size = 0;
    bool IsDirectory = false;
    bool IsLink = false;

    static TExtraFileData FromEntry(const FtpListEntry &entry);
    qint64 SizeKB() const;
    bool IsRealDirectory() const { return IsDirectory && Name != u"." && Name != u".."; }
    bool IsParentEntry() const { return IsDirectory && Name == u".."; }
};

// A name that may become one path component on either side: not empty, not "." or "..",
// without a path separator, line break or NUL.
bool IsSafeEntryName(const QString &name);

// Expands remote folders breadth-first into flat lists of absolute remote paths.
class IFtpFileCollector
{
public:
    virtual ~IFtpFileCollector() = default;
    virtual FtpClient *GetFtp() const = 0;
    virtual void SetFtp(FtpClient *ftp) = 0;
    virtual qint64 GetTotalSize() const = 0;
    virtual void SetTotalSize(qint64 kilobytes) = 0;
    virtual const QStringList &GetRemoteDirs() const = 0;
    virtual const QStringList &GetRemoteFiles() const = 0;
    // Both texts hold names of the current remote directory, one a line.
    virtual void Collect(const QString &dirNames, const QString &fileNames) = 0;
};

using IFtpFileCollectorPtr = std::shared_ptr<IFtpFileCollector>;

class TFtpFileCollector : public IFtpFileCollector
{
public:
    explicit TFtpFileCollector(FtpClient *ftp = nullptr, qint64 totalSize = 0)
        : m_ftp(ftp), m_totalSize(totalSize) {}

    FtpClient *GetFtp() const override { return m_ftp; }
    void SetFtp(FtpClient *ftp) override { m_ftp = ftp; }
    qint64 GetTotalSize() const override { return m_totalSize; }
    void SetTotalSize(qint64 kilobytes) override { m_totalSize = kilobytes; }
    const QStringList &GetRemoteDirs() const override { return m_directories; }
    const QStringList &GetRemoteFiles() const override { return m_files; }
    void Collect(const QString &dirNames, const QString &fileNames) override;

private:
    void walk(const QString &start, QStringList queue);

    FtpClient *m_ftp;
    qint64 m_totalSize;
    QStringList m_directories;
    QStringList m_files;
};

class IFtpFileTransporter
{
public:
    virtual ~IFtpFileTransporter() = default;
    virtual IFtpConnectionPtr GetConnection() const = 0;
    virtual void SetConnection(const IFtpConnectionPtr &connection) = 0;
    virtual IProgressIndicatorPtr GetFileProgress() const = 0;
    virtual void SetFileProgress(const IProgressIndicatorPtr &progress) = 0;
    virtual IProgressIndicatorPtr GetFilesProgress() const = 0;
    virtual void SetFilesProgress(const IProgressIndicatorPtr &progress) = 0;
};

class IFtpFileUploader : public virtual IFtpFileTransporter
{
public:
    // Local files and folders, one path a line.
    virtual void Upload(const QString &names) = 0;
};

class IFtpFileDownloader : public virtual IFtpFileTransporter
{
public:
    virtual void Run(const IFtpFileCollector &collector) = 0;
    virtual QString GetLocalDir() const = 0;
    virtual void SetLocalDir(const QString &dir) = 0;
};

class IFtpFileDeleter : public virtual IFtpFileTransporter
{
public:
    virtual void Run(const IFtpFileCollector &collector) = 0;
};

// The shared part of the three transporters: the session, both indicators, and logging.
class TFtpFileTransporter : public virtual IFtpFileTransporter
{
public:
    IFtpConnectionPtr GetConnection() const override { return m_connection; }
    void SetConnection(const IFtpConnectionPtr &connection) override { m_connection = connection; }
    IProgressIndicatorPtr GetFileProgress() const override { return m_fileProgress; }
    void SetFileProgress(const IProgressIndicatorPtr &progress) override { m_fileProgress = progress; }
    IProgressIndicatorPtr GetFilesProgress() const override { return m_filesProgress; }
    void SetFilesProgress(const IProgressIndicatorPtr &progress) override { m_filesProgress = progress; }

protected:
    void Log(const char *pattern, const QStringList &args = {}, TLogLevel level = logInfo) const;
    void SetFilesPosition(qint64 position) const;

    IFtpConnectionPtr m_connection;
    IProgressIndicatorPtr m_fileProgress;
    IProgressIndicatorPtr m_filesProgress;
};

class TFtpFileUploader : public TFtpFileTransporter, public IFtpFileUploader
{
public:
    void Upload(const QString &names) override;

    const QStringList &LocalFiles() const { return m_localFiles; }
    const QStringList &RemoteDirs() const { return m_remoteDirs; }
    const QStringList &RemoteFiles() const { return m_remoteFiles; }

private:
    void addFolder(const QString &folder, const QString &remote);
    void createFolders();
    void putFiles();

    QStringList m_localFiles;
    QStringList m_remoteDirs;
    QStringList m_remoteFiles;
};

class TFtpFileDownloader : public TFtpFileTransporter, public IFtpFileDownloader
{
public:
    void Run(const IFtpFileCollector &collector) override;
    QString GetLocalDir() const override { return m_localDir; }
    void SetLocalDir(const QString &dir) override { m_localDir = dir; }

private:
    QString localPath(const QString &remotePath, const QString &remoteBase) const;

    QString m_localDir;
};

class TFtpFileDeleter : public TFtpFileTransporter, public IFtpFileDeleter
{
public:
    void Run(const IFtpFileCollector &collector) override;
    // Pause after the file pass and after each removed folder, in milliseconds.
    int PauseMs = 200;
};

}
