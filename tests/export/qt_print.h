#pragma once
// Readable failure messages for Qt strings in GoogleTest.
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) { *out << '[' << list.join(", ").toStdString() << ']'; }
