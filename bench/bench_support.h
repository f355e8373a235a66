#pragma once

// What the studio's benches share: order statistics of their timings and a copy of a content
// folder to work on, so the sources in the repository are never touched.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// The value `fraction` of the way up the sorted values (nearest rank); 0 for none.
inline double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(fraction * double(values.size() - 1) + 0.5);
    return values[std::min(values.size() - 1, rank)];
}

// The upper of the two middle values when there is an even number of them.
inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) return false;
    }
    return true;
}

}  // namespace bench
