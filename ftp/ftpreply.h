#pragma once

#include "common/error.h"

#include <QString>
#include <QStringList>

namespace corvanta {

// One server reply: the numeric code and its text lines without the code prefixes.
struct FtpReply
{
    int Code = 0;
    QStringList Text;

    // The text lines joined by blanks and trimmed.
    QString JoinedText() const;
    // Code, a blank and the joined text: the form the log shows.
    QString Formatted() const;
};

// Any failure of the FTP client.
class FtpError : public Error
{
public:
    using Error::Error;
};

// The server closed the control connection.
class FtpClosedError : public FtpError
{
public:
    FtpClosedError();
};

// A wait for the server passed its time limit.
class FtpTimeoutError : public FtpError
{
public:
    using FtpError::FtpError;
};

// The server answered with a code the command does not accept.
class FtpReplyError : public FtpError
{
public:
    explicit FtpReplyError(const FtpReply &reply);
    const FtpReply &reply() const { return m_reply; }

private:
    FtpReply m_reply;
};

// Builds replies from control-connection lines (without their line ends): "ddd text" is a
// whole reply, "ddd-text" opens a multi-line reply that the line "ddd text" with the same
// code closes. A first line without a three-digit code raises FtpError.
class FtpReplyParser
{
public:
    // Adds one line; returns true when it completed a reply, which Take() then hands out.
    bool AddLine(const QString &line);
    FtpReply Take();

private:
    FtpReply m_reply;
    bool m_open = false;
};

}
