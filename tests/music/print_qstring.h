#pragma once
// Readable QString values in the failure messages of the music tests.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
