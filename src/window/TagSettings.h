// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowlogic/WindowSettings.h"

// The choices the window remembers between runs: whether tagging also writes
// the lyrics as an ID3v2 lyrics frame, whether the search also takes the other
// formats, whether tagging also saves the lyrics beside each song. Kept with
// QSettings in the user's configuration folder (on Linux
// ~/.config/Versemark/Versemark.conf).
namespace versemark {

// The remembered choice; off when none was made yet or this build cannot write
// the frame.
bool RememberedAlsoId3v2();

void RememberAlsoId3v2(bool alsoId3v2);

// The other two; off when none was made yet.
bool RememberedAllFormats();
void RememberAllFormats(bool allFormats);
bool RememberedBesideFile();
void RememberBesideFile(bool besideFile);

// The same, as the window logic asks for it.
class TagSettings final : public WindowSettings {
  public:
    bool AlsoId3v2() const override { return RememberedAlsoId3v2(); }
    void SetAlsoId3v2(bool alsoId3v2) override { RememberAlsoId3v2(alsoId3v2); }
    bool AllFormats() const override { return RememberedAllFormats(); }
    void SetAllFormats(bool allFormats) override { RememberAllFormats(allFormats); }
    bool BesideFile() const override { return RememberedBesideFile(); }
    void SetBesideFile(bool besideFile) override { RememberBesideFile(besideFile); }
};

}  // namespace versemark
