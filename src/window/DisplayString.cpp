#include "window/DisplayString.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>
#include <array>

namespace versemark {
namespace {

constexpr unsigned char kFirstHighControl = 0x80;
constexpr unsigned char kLastHighControl = 0x9F;

// Windows-1252 at 0x80-0x9F; the five bytes it leaves undefined keep their C1 code.
constexpr std::array<char16_t, kLastHighControl - kFirstHighControl + 1> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString Cp1252String(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool high = byte >= kFirstHighControl && byte <= kLastHighControl;
        text += QChar(high ? kCp1252High[byte - kFirstHighControl] : static_cast<char16_t>(byte));
    }
    return text;
}

}  // namespace

QString DisplayString(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    return Cp1252String(bytes);
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
