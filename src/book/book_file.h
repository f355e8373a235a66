#pragma once

// A book file: a whole book (its shape and names, tables, pictures and recordings) in one file
// that the program opens at run time. The file is mapped, never read into memory: tables are
// checked and copied into small arrays, while pictures and recordings are read where they lie
// in the mapping. Every offset, length and count is checked before the book is handed out, so
// a damaged file is refused rather than read. The layout is described in content/FORMAT.md.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

#include "book/book_data.h"

class QFile;

namespace book {

inline constexpr char kBookFileMagic[8] = {'Q', 'C', 'B', 'O', 'O', 'K', '\x1a', '\n'};
inline constexpr std::uint32_t kBookFileVersion = 1;

enum class BookFileProblem {
    None,
    CannotRead,    // missing, a folder, unreadable
    NotABookFile,  // no magic number
    NewerVersion,  // made by a newer version of the program
    Incomplete,    // shorter than it says it is (a copy that did not finish)
    Damaged,       // checksum or structure wrong
};

struct BookFileError {
    BookFileProblem problem = BookFileProblem::None;
    QString detail;  // what exactly is wrong, in English, for developers
};

class LoadedBook;

// An opened and checked book file. The book stays valid as long as this object lives.
class BookFile {
  public:
    // Opens and checks the file at `path`; nullptr with `error` filled when it is refused.
    static std::unique_ptr<BookFile> open(const QString& path, BookFileError* error);
    // Checks a book file held in memory (tests, the fuzzer); the bytes are kept.
    static std::unique_ptr<BookFile> fromBytes(const QByteArray& bytes, BookFileError* error);
    ~BookFile();

    const Book& book() const;
    QString path() const { return path_; }

  private:
    BookFile() = default;
    bool load(const unsigned char* data, std::uint64_t size, const QByteArray& checksum,
              BookFileError* error);

    QString path_;
    std::unique_ptr<QFile> file_;
    QByteArray bytes_;
    std::unique_ptr<LoadedBook> loaded_;
};

// The book as a book file. The same book always gives the same bytes.
QByteArray writeBookFile(const Book& book);

// One line a teacher understands, in Chinese: which file, and what is wrong with it.
QString bookFileMessage(const QString& path, const BookFileError& error);

}  // namespace book
