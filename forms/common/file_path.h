// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// File names keep their bytes between Qt and the file system: Qt's file-name encoding on Unix,
// wide text on Windows (a narrow path there would be read in the ANSI code page).

#include <QFile>
#include <QString>
#include <filesystem>

inline std::filesystem::path FilePath(const QString& text)
{
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

inline QString FilePathText(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}
