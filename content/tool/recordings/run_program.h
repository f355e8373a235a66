#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tool {

// Runs a program (a speech synthesiser, sox, lame) to its end; false with `error` set when it
// cannot start or fails. With `output`, what it writes to its standard output is kept there.
bool runProgram(const QString& program, const QStringList& arguments, QString& error,
                QByteArray* output = nullptr);

}  // namespace tool
