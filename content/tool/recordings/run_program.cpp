#include "recordings/run_program.h"

#include <QProcess>

namespace tool {

bool runProgram(const QString& program, const QStringList& arguments, QString& error,
                QByteArray* output) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(20000)) {
        error = QStringLiteral("cannot start %1").arg(program);
        return false;
    }
    process.waitForFinished(300000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 failed: %2")
                    .arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    if (output) *output = process.readAllStandardOutput();
    return true;
}

}  // namespace tool
