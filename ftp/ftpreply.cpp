#include "ftp/ftpreply.h"

#include <utility>

namespace corvanta {

namespace {

// The code of a line that starts with three digits followed by a blank, '-' or its end;
// -1 otherwise. The separator goes into sep (a blank for a bare code).
int lineCode(const QString &line, QChar &sep)
{
    if (line.size() < 3)
        return -1;
    for (int i = 0; i < 3; ++i)
        if (line[i] < u'0' || line[i] > u'9')
            return -1;
    sep = line.size() > 3 ? line[3] : QChar(u' ');
    if (sep != u' ' && sep != u'-')
        return -1;
    return line.left(3).toInt();
}

}

QString FtpReply::JoinedText() const
{
    return Text.join(u' ').trimmed();
}

QString FtpReply::Formatted() const
{
    return (QString::number(Code) + u' ' + JoinedText()).trimmed();
}

FtpClosedError::FtpClosedError() : FtpError(QStringLiteral("Connection closed gracefully.")) {}

FtpReplyError::FtpReplyError(const FtpReply &reply)
    : FtpError(reply.JoinedText().isEmpty() ? QStringLiteral("Unexpected reply %1").arg(reply.Code)
                                            : reply.JoinedText()),
      m_reply(reply)
{
}

bool FtpReplyParser::AddLine(const QString &line)
{
    QChar sep;
    const int code = lineCode(line, sep);
    if (!m_open) {
        if (code < 100)
            throw FtpError(QStringLiteral("Invalid reply from the server: \"%1\"").arg(line.left(80)));
        m_reply = FtpReply{code, {line.mid(4)}};
        m_open = sep == u'-';
        return !m_open;
    }
    if (code == m_reply.Code) {
        m_reply.Text << line.mid(4);
        m_open = sep == u'-';
        return !m_open;
    }
    m_reply.Text << line;
    return false;
}

FtpReply FtpReplyParser::Take()
{
    return std::exchange(m_reply, FtpReply{});
}

}
