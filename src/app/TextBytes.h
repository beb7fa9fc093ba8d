// Conversions between the core's 8-bit strings and Qt's texts and paths.
#pragma once

#include <QFile>
#include <QString>

#include <string>

/// Shows 8-bit text from an export: UTF-8 when it is valid, else the bytes as Latin-1.
inline QString FromBytes(const std::string& text) {
    QString utf8 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!utf8.contains(QChar::ReplacementCharacter)) return utf8;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// A path as the file system takes it.
inline std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
/// A file-system path for display.
inline QString PathText(const std::string& path) { return QFile::decodeName(path.c_str()); }
