// qcbook: a click-to-hear companion for a grade-three English textbook.

#include <QApplication>

#include "app/start_window.h"
#include "reader/reader_state.h"
#include "ui/platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qcbook"));
    ui::installRealServices();
    reader::resetReaderState();
    app::StartWindow window;
    window.show();
    return app.exec();
}
