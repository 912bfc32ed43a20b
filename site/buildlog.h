#pragma once

#include <QString>

namespace corvanta::site {

// The build engine's diagnostic log. Lines go to standard output only while ConsoleLog is on;
// with SlowLog on, LogInfo waits 100 ms before writing. Both are off unless a caller turns them on.
extern bool ConsoleLog;
extern bool SlowLog;

void LogDebug(const QString &text);
void LogInfo(const QString &text);
void LogError(const QString &text);

}
