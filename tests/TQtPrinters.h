#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// GoogleTest shows Qt's strings as text in its failure reports, not as dumps of their bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toStdString() << '"';
}
