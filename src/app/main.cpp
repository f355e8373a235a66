// qcbook: a click-to-hear companion for a grade-three English textbook.

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/book_argument.h"
#include "app/start_window.h"
#include "book/book.h"
#include "ui/platform.h"

namespace {

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("qcbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QCBOOK_VERSION));
}

// What the command line asks for: a book file to open instead of the built-in book, and a book
// page to open the reader on at once (0: none, the start window as usual).
struct CommandLine {
    QString bookPath;
    int page = 0;
};

// --help, --version, --page N and at most one book file; any other option is refused with a
// message (process() ends the program after answering).
CommandLine answerCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Click-to-hear companion for a grade-three English textbook (青橙点读软件三年级上册)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("book"),
        QStringLiteral("A book file (.qcbook) to open instead of the built-in book."),
        QStringLiteral("[book]"));
    const QCommandLineOption page(
        QStringLiteral("page"),
        QStringLiteral("Open the reader on this page of the book at once (the studio's Try it)."),
        QStringLiteral("N"));
    parser.addOption(page);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "qcbook: one book file at a time\n");
        std::exit(1);
    }
    CommandLine line{files.value(0), 0};
    if (parser.isSet(page)) {
        bool number = false;
        line.page = parser.value(page).toInt(&number);
        if (!number || line.page <= 0) {
            std::fprintf(stderr, "qcbook: --page takes a page number, not \"%s\"\n",
                         qPrintable(parser.value(page)));
            std::exit(1);
        }
    }
    return line;
}

// The screen that shows book page `page`; -1 when the book has no such page.
int screenOfPage(int page) {
    for (int screen = 0; screen < book::bookScreenCount(); ++screen) {
        if (book::pageNumberOfScreen(screen) == page) return screen;
    }
    return -1;
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
    const CommandLine line = answerCommandLine(app);

    ui::installRealServices();
    std::unique_ptr<book::BookFile> bookFile;
    if (!line.bookPath.isEmpty()) {
        bookFile = app::openBookArgument(line.bookPath);
        if (!bookFile) return 1;
    }
    const int startScreen = line.page > 0 ? screenOfPage(line.page) : -1;
    if (line.page > 0 && startScreen < 0) {
        std::fprintf(stderr, "qcbook: the book has no page %d\n", line.page);
        return 1;
    }
    app::StartWindow window;
    window.show();
    if (startScreen >= 0) window.openReaderAt(startScreen);
    return app.exec();
}
