// qcbook: a click-to-hear companion for a grade-three English textbook.

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/book_argument.h"
#include "app/start_window.h"
#include "ui/platform.h"

namespace {

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("qcbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QCBOOK_VERSION));
}

// --help, --version and at most one book file; any other option is refused with a message
// (process() ends the program after answering). Returns the book file's path, if any.
QString answerCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Click-to-hear companion for a grade-three English textbook (青橙点读软件三年级上册)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("book"),
        QStringLiteral("A book file (.qcbook) to open instead of the built-in book."),
        QStringLiteral("[book]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "qcbook: one book file at a time\n");
        std::exit(1);
    }
    return files.value(0);
}

bool asksForInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window is possible, so that they work without a display too.
    if (asksForInformation(argc, argv)) {
        QCoreApplication core(argc, argv);
        nameTheProgram();
        answerCommandLine(core);
        return 0;
    }
    QApplication app(argc, argv);
    nameTheProgram();
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qcbook.qcbook"));
    const QString bookPath = answerCommandLine(app);

    ui::installRealServices();
    std::unique_ptr<book::BookFile> bookFile;
    if (!bookPath.isEmpty()) {
        bookFile = app::openBookArgument(bookPath);
        if (!bookFile) return 1;
    }
    app::StartWindow window;
    window.show();
    return app.exec();
}
