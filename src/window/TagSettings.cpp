// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/TagSettings.h"

#include <QSettings>

#include "tags/Id3v2Lyrics.h"

namespace versemark {
namespace {

constexpr char kOrganisation[] = "Versemark";
constexpr char kApplication[] = "Versemark";
constexpr char kAlsoId3v2Key[] = "Tagging/AlsoId3v2";
constexpr char kAllFormatsKey[] = "Tagging/AllFormats";
constexpr char kBesideFileKey[] = "Tagging/BesideFile";

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
}

}  // namespace

bool RememberedAlsoId3v2() {
    return Id3v2LyricsAvailable() &&
           UserSettings().value(QString::fromLatin1(kAlsoId3v2Key), false).toBool();
}

void RememberAlsoId3v2(bool alsoId3v2) {
    UserSettings().setValue(QString::fromLatin1(kAlsoId3v2Key), alsoId3v2);
}

bool RememberedAllFormats() {
    return UserSettings().value(QString::fromLatin1(kAllFormatsKey), false).toBool();
}

void RememberAllFormats(bool allFormats) {
    UserSettings().setValue(QString::fromLatin1(kAllFormatsKey), allFormats);
}

bool RememberedBesideFile() {
    return UserSettings().value(QString::fromLatin1(kBesideFileKey), false).toBool();
}

void RememberBesideFile(bool besideFile) {
    UserSettings().setValue(QString::fromLatin1(kBesideFileKey), besideFile);
}

}  // namespace versemark
