#pragma once
// The process's resident memory, for the benchmarks' memory figures.

#include <QFile>
#include <QList>

#include <unistd.h>

// Resident memory in MiB, from /proc/self/statm; 0 when it cannot be read.
inline double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    const double pages = fields.size() > 1 ? fields.at(1).toDouble() : 0;
    return pages * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
