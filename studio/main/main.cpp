// qcbook-studio: the book studio, where a teacher places the hotspots and answer boxes of her
// book on its scans and types its lines.

#include <QApplication>
#include <QCommandLineParser>
#include <memory>
#include <string_view>

#include "editor/studio_window.h"
#include "sound/sdl_sound.h"
#include "voice/capture_device.h"

namespace {

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
    // --help and --version are answered without a display.
    std::unique_ptr<QCoreApplication> app;
    if (asksForInformation(argc, argv))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qcbook-studio"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QCBOOK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The book studio: make a qcbook book by hand and eye (书本工作室)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("A book's content folder to open."),
                                 QStringLiteral("[folder]"));
    parser.process(*app);

    QGuiApplication::setApplicationDisplayName(QStringLiteral("qcbook 书本工作室"));
    // Lets the desktop match the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qcbook.studio"));
    // The sound device opens in the background; the microphone when a line is first chosen.
    sound::SdlSound sound;
    studio::voice::SdlCaptureDevice microphone;
    studio::StudioOptions options;
    options.sound = &sound;
    options.microphone = &microphone;
    studio::StudioWindow window(nullptr, std::move(options));
    window.show();
    const QStringList folders = parser.positionalArguments();
    if (!folders.isEmpty()) window.openFolder(folders.first());
    return app->exec();
}
