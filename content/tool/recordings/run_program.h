#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>

namespace tool {

// Runs a program (a speech synthesiser, sox, lame) to its end; false with `error` set when it
// cannot start, fails, or has not finished within `timeout` (then it is stopped). With
// `output`, what it writes to its standard output is kept there.
bool runProgram(const QString& program, const QStringList& arguments, QString& error,
                QByteArray* output = nullptr,
                std::chrono::milliseconds timeout = std::chrono::minutes(5));

}  // namespace tool
