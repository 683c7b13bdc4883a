#pragma once

// The one choice the window remembers between runs: whether tagging also writes
// the lyrics as an ID3v2 lyrics frame. Kept with QSettings in the user's
// configuration folder (on Linux ~/.config/Versemark/Versemark.conf).
namespace versemark {

// The remembered choice; off when none was made yet or this build cannot write
// the frame.
bool RememberedAlsoId3v2();

void RememberAlsoId3v2(bool alsoId3v2);

}  // namespace versemark
