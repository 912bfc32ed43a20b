#pragma once

#include <QString>

#include <stdexcept>

namespace corvanta {

// The one base class of the program's exceptions; the message is meant for the user.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

}
