// Conversions between the core's 8-bit strings and Qt's texts and paths.
#pragma once

#include "dvh/TextEncoding.h"

#include <QFile>
#include <QString>

#include <string>

/// Shows 8-bit text from a file: UTF-8 when it is valid, else Windows-1252.
inline QString FromBytes(const std::string& text) {
    const std::u32string characters = DecodeText(text);
    return QString::fromUcs4(characters.data(), static_cast<qsizetype>(characters.size()));
}

/// The bytes of a text shown from `original` (see `EncodeText`): the very bytes when the
/// user left it as shown, else in the same encoding. New text without an original is UTF-8.
inline std::string ToBytes(const QString& text, const std::string& original = {}) {
    return EncodeText(text.toStdU32String(), original);
}

/// A path as the file system takes it.
inline std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
/// A file-system path for display.
inline QString PathText(const std::string& path) { return QFile::decodeName(path.c_str()); }
