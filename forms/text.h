#pragma once
// Text crosses between the widgets (QString) and library/ (bytes in the system's 8-bit
// encoding) only through these two.

#include <QString>
#include <string>

inline std::string toBytes(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

inline QString fromBytes(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
