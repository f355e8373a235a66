// qcbook: a click-to-hear companion for a grade-three English textbook.

#include <QApplication>
#include <QCommandLineParser>
#include <string_view>

#include "app/start_window.h"
#include "ui/platform.h"

namespace {

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("qcbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QCBOOK_VERSION));
}

// Only --help and --version: the program is started from the menu and takes nothing else.
// Anything else is refused with a message; process() ends the program after answering.
void answerCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Click-to-hear companion for a grade-three English textbook (青橙点读软件三年级上册)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
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
    answerCommandLine(app);

    ui::installRealServices();
    app::StartWindow window;
    window.show();
    return app.exec();
}
