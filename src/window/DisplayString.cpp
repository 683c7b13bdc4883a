// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/DisplayString.h"

#include <QFile>

#include "platform/CodePage.h"

namespace versemark {
namespace {

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QString DisplayString(std::string_view bytes) {
    // Valid UTF-8 (the usual case) goes to Qt without a converted copy.
    return IsValidUtf8(bytes) ? FromUtf8(bytes) : FromUtf8(Windows1252ToUtf8(bytes));
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ViewerText(std::string_view bytes) {
    QString text = DisplayString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace versemark
