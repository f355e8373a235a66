#pragma once

#include <QString>
#include <QStringList>

namespace tool {

// Runs a program (a speech synthesiser, sox, lame) to its end; false with `error` set when it
// cannot start or fails.
bool runProgram(const QString& program, const QStringList& arguments, QString& error);

}  // namespace tool
