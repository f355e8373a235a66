#include "recordings/run_program.h"

#include <QProcess>

namespace tool {

bool runProgram(const QString& program, const QStringList& arguments, QString& error,
                QByteArray* output, std::chrono::milliseconds timeout) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(20000)) {
        error = QStringLiteral("cannot start %1").arg(program);
        return false;
    }
    // A program still running has not failed yet, but its output is not whole either.
    if (!process.waitForFinished(int(timeout.count()))) {
        process.kill();
        process.waitForFinished(5000);
        error = QStringLiteral("%1 did not finish within %2 s")
                    .arg(program)
                    .arg(double(timeout.count()) / 1000, 0, 'f', 1);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 failed: %2")
                    .arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    if (output) *output = process.readAllStandardOutput();
    return true;
}

}  // namespace tool
