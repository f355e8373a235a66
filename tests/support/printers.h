#pragma once

// How GoogleTest prints the Qt values the tests compare, so that a failure shows the text
// rather than the object's bytes.

#include <QString>
#include <ostream>

void PrintTo(const QString& text, std::ostream* os);
