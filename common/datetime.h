#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace corvanta {

// The date-time that stands for "no date": a null date column, a missing file. Formatted, it
// shows as 30 December 1899, 00:00, which is how stored dates of zero have always printed.
inline QDateTime zeroDateTime()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

inline bool isZeroDateTime(const QDateTime &value)
{
    return value == zeroDateTime();
}

}
