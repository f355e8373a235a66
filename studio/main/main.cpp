// qcbook-studio: the book studio, where a teacher places the hotspots and answer boxes of her
// book on its scans and types its lines.

#include <QApplication>
#include <QCommandLineParser>

#include "editor/studio_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qcbook-studio"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QCBOOK_VERSION));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("qcbook 书本工作室"));
    // Lets the desktop match the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qcbook.studio"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The book studio: make a qcbook book by hand and eye (书本工作室)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("A book's content folder to open."),
                                 QStringLiteral("[folder]"));
    parser.process(app);

    studio::StudioWindow window;
    window.show();
    const QStringList folders = parser.positionalArguments();
    if (!folders.isEmpty()) window.openFolder(folders.first());
    return app.exec();
}
