#include "buildlog.h"

#include <QThread>

#include <cstdio>

namespace corvanta::site {

bool ConsoleLog = false;
bool SlowLog = false;

namespace {

void writeLine(const QString &text)
{
    if (!ConsoleLog)
        return;
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

}

void LogDebug(const QString &text)
{
    writeLine(text);
}

void LogInfo(const QString &text)
{
    if (ConsoleLog && SlowLog)
        QThread::msleep(100);
    writeLine(text);
}

void LogError(const QString &text)
{
    writeLine(text);
}

}
