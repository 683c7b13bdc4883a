// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window remembers between runs, kept where each system keeps a
// program's settings (the view supplies it).
namespace versemark {

class WindowSettings {
  public:
    virtual ~WindowSettings() = default;
    // Whether tagging also writes the lyrics as an ID3v2 lyrics frame; false
    // when no choice was made yet.
    virtual bool AlsoId3v2() const = 0;
    virtual void SetAlsoId3v2(bool alsoId3v2) = 0;
    // Whether the search also takes FLAC, Ogg, Opus and M4A files.
    virtual bool AllFormats() const = 0;
    virtual void SetAllFormats(bool allFormats) = 0;
    // Whether tagging also saves the lyrics as a .txt file beside each song.
    virtual bool BesideFile() const = 0;
    virtual void SetBesideFile(bool besideFile) = 0;
};

}  // namespace versemark
