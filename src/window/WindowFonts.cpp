// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowFonts.h"

#include <QStringList>

namespace versemark {
namespace {

constexpr qreal kDesignPointSize = 8.25;

QFont FontOf(const QStringList& families, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(kDesignPointSize);
    return font;
}

}  // namespace

QFont DefaultWindowFont() {
    return FontOf({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Tahoma"), QStringLiteral("Arial"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")},
                  QFont::SansSerif);
}

QFont LyricsCountFont() {
    QFont font =
        FontOf({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")}, QFont::SansSerif);
    font.setItalic(true);
    return font;
}

QFont ViewerFont() {
    QFont font = FontOf({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                         QStringLiteral("Nimbus Mono PS"), QStringLiteral("DejaVu Sans Mono")},
                        QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace versemark
