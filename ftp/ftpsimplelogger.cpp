#include "ftp/ftpsimplelogger.h"

namespace corvanta {

void TLogger::Log(TLogLevel level, const QString &text) const
{
    if (level < LogLevel || !OnLog || !m_owner)
        return;
    OnLog(m_owner, level, text);
}

}
