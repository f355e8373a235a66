#include "app/book_argument.h"

#include <cstdio>

#include "book/book_data.h"
#include "ui/service_calls.h"

namespace app {

namespace {
QString openedPath;
}  // namespace

QString openedBookPath() {
    return openedPath;
}

std::unique_ptr<book::BookFile> openBookArgument(const QString& path) {
    book::BookFileError error;
    std::unique_ptr<book::BookFile> file = book::BookFile::open(path, &error);
    if (!file) {
        const QString message = book::bookFileMessage(path, error);
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::fflush(stderr);
        ui::showMessage(nullptr, message, QStringLiteral("点读软件"));
        return nullptr;
    }
    book::useBook(&file->book());
    openedPath = file->path();
    return file;
}

}  // namespace app
