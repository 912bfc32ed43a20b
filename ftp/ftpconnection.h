#pragma once

#include "ftp/ftpsimplelogger.h"

#include <QString>

#include <functional>
#include <memory>

namespace corvanta {

class FtpClient;

// The session: single FTP operations that report success as a Boolean and write what
// happened to the log; no error escapes to the caller.
class IFtpConnection
{
public:
    virtual ~IFtpConnection() = default;
    virtual void SetFtp(FtpClient *ftp) = 0;
    virtual FtpClient *GetFtp() const = 0;
    virtual TLogger *GetLogger() const = 0;
    virtual void SetLogger(TLogger *logger) = 0;
    virtual void SetUseUTF8(bool value) = 0;
    virtual bool GetUseUTF8() const = 0;
    virtual bool Connect(const QString &initialDir) = 0;
    virtual bool IsConnected() const = 0;
    virtual void Disconnect() = 0;
    virtual bool SupportsVerification() const = 0;
    virtual bool ChangeDir(const QString &dir) = 0;
    virtual QString GetCurrentDir() = 0;
    virtual void Abort() = 0;
    virtual bool Put(const QString &localFile, const QString &remoteFile) = 0;
    virtual bool Get(const QString &remoteFile, const QString &localFile) = 0;
    virtual bool Delete(const QString &remoteFile) = 0;
    virtual bool MakeDir(const QString &dir) = 0;
    virtual bool RemoveDir(const QString &dir) = 0;
    virtual bool Rename(const QString &oldName, const QString &newName) = 0;
    virtual void LogLastResult() = 0;
};

using IFtpConnectionPtr = std::shared_ptr<IFtpConnection>;

class TFtpConnection : public IFtpConnection
{
public:
    TFtpConnection(FtpClient *ftp = nullptr, TLogger *logger = nullptr) : m_ftp(ftp), m_logger(logger) {}

    void SetFtp(FtpClient *ftp) override { m_ftp = ftp; }
    FtpClient *GetFtp() const override { return m_ftp; }
    TLogger *GetLogger() const override { return m_logger; }
    void SetLogger(TLogger *logger) override { m_logger = logger; }
    void SetUseUTF8(bool value) override { m_useUtf8 = value; }
    bool GetUseUTF8() const override { return m_useUtf8; }
    bool Connect(const QString &initialDir) override;
    bool IsConnected() const override;
    void Disconnect() override;
    bool SupportsVerification() const override;
    bool ChangeDir(const QString &dir) override;
    QString GetCurrentDir() override;
    void Abort() override;
    bool Put(const QString &localFile, const QString &remoteFile) override;
    bool Get(const QString &remoteFile, const QString &localFile) override;
    bool Delete(const QString &remoteFile) override;
    bool MakeDir(const QString &dir) override;
    bool RemoveDir(const QString &dir) override;
    bool Rename(const QString &oldName, const QString &newName) override;
    void LogLastResult() override;

private:
    void log(TLogLevel level, const QString &text) const;
    bool run(const std::function<void()> &op);
    void verify(const QString &remoteFile, const QString &localFile);
    bool hashMatches(const QString &remoteFile, const QString &localFile);

    FtpClient *m_ftp;
    TLogger *m_logger;
    bool m_useUtf8 = false;
};

// The hash of a local file in lower-case hexadecimal: "XSHA1" (SHA-1), "XMD5" (MD5) or
// "XCRC" (CRC-32, eight digits). Empty when the file cannot be read.
QString LocalFileHash(const QString &command, const QString &path);

}
