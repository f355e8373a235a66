#include "pack/book_file_out.h"

#include <QSaveFile>

#include "book/book_file.h"
#include "pack/book_tables.h"

namespace tool {

QByteArray bookFileBytes(const BuiltBook& built) {
    const BookTables tables(built);
    return book::writeBookFile(tables.book());
}

bool writeBookFileTo(const BuiltBook& built, const QString& path, QString* error) {
    QSaveFile file(path);
    const QByteArray bytes = bookFileBytes(built);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace tool
