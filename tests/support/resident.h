#pragma once
// The resident memory of this process. Header-only, so that the start-up benchmark reads it the
// same way as the tests without linking the test support library (and Qt Test) into what it
// times.

#include <QByteArray>
#include <QFile>

namespace velaro::test {

// VmRSS of /proc/self/status in kilobytes; 0 where it cannot be read.
inline long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

} // namespace velaro::test
