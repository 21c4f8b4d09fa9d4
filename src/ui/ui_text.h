// Small helpers the windows share: UTF-8 texts into Qt and the forms' font.
#pragma once

#include <QFont>
#include <QString>

#include <string>

namespace morvel {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString U(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string S(const QString& text) { return text.toStdString(); }

// Tahoma where the system has it; elsewhere the system's sans-serif face of the
// same size, which also has the Cyrillic letters.
QFont FormFont();

}  // namespace morvel
