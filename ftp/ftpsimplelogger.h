#pragma once

#include <QString>

#include <functional>

class QObject;

namespace corvanta {

enum TLogLevel { logDebug, logInfo, logWarn, logError, logFatal };

using TLogEvent = std::function<void(QObject *sender, TLogLevel level, const QString &message)>;

// The FTP component's logger: hands each message at or above LogLevel, unchanged, to
// OnLog with the owner (the panel) as sender.
class TLogger
{
public:
    explicit TLogger(QObject *owner = nullptr) : m_owner(owner) {}

    TLogLevel LogLevel = logInfo;
    TLogEvent OnLog;

    void Log(TLogLevel level, const QString &text) const;
    void Debug(const QString &text) const { Log(logDebug, text); }
    void Info(const QString &text) const { Log(logInfo, text); }
    void Warn(const QString &text) const { Log(logWarn, text); }
    void Error(const QString &text) const { Log(logError, text); }

private:
    QObject *m_owner;
};

}
