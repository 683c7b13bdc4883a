// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Captions and messages of the window that its commands set. The commands act on
// the window's state (WindowState), never on a caption.
namespace versemark::texts {

inline constexpr char kWindowCaption[] = "Versemark";

// Folder button and its dialog.
inline constexpr char kFolderButtonStart[] = "...";
inline constexpr char kStopMatching[] = "Stop matching .mp3 files";
inline constexpr char kSelectFolder[] = "Select folder...";

// Tagging button.
inline constexpr char kTagCheckedFiles[] = "Tag checked files";
inline constexpr char kReturnToList[] = "Return to list";
inline constexpr char kStopTagging[] = "Stop tagging";
// The checked-count label during the pass: the files done of those checked.
inline constexpr char kTaggingProgress[] = "Tagging: ";
inline constexpr char kConfirmTagStart[] = "Are you sure you want to tag ";
inline constexpr char kConfirmTagOne[] = " file?";
inline constexpr char kConfirmTagMany[] = " files?";
inline constexpr char kAskRefresh[] = "Do you want to refresh the list using the same folder?";
inline constexpr char kAlsoId3v2[] = "also write the lyrics as an ID3v2 lyrics frame";
inline constexpr char kAllFormats[] = "also FLAC, Ogg, Opus and M4A files";
inline constexpr char kBesideFile[] = "also save the lyrics beside each song (.txt)";
// Why "Tag checked files" is disabled while a pass of another window or of
// versemark-cli runs.
// A folder handed over by a second start of the program: the question (the
// folder and "?" follow) and, while a pass runs, the message (the folder follows).
inline constexpr char kHandedFolderQuestion[] =
    "Versemark was started again with a folder. Match the MP3 files in ";
inline constexpr char kHandedFolderWhilePass[] =
    "Versemark was started again with a folder, but a pass is running; the folder was not "
    "opened:\n";
inline constexpr char kOtherPassRunning[] =
    "Another tagging pass is running. Tag again when it has finished.";

// Viewer buttons.
inline constexpr char kDisplayLyrics[] = "Display lyrics";
inline constexpr char kDisplaySavedLyrics[] = "Display lyrics saved into this file";

// Step two.
inline constexpr char kCheckSelected[] = "Check selected";
inline constexpr char kUncheckSelected[] = "Uncheck selected";
inline constexpr char kCheckedPrefix[] = "Checked: ";
inline constexpr char kSelectAll[] = "Select All";
inline constexpr char kInvertSelection[] = "Invert selection";
inline constexpr char kWithLyrics3Tag[] = "With lyrics3 tag";
inline constexpr char kUnfiltered[] = "Unfiltered";
inline constexpr char kMoreThanOneMatch[] = "More than 1 match";
inline constexpr char kMatchedMoreThanOnce[] = "Matched more than once";

// The message after the window opens when the lyrics cache folder does not
// exist: the folder, where the companion was looked for, what to do.
inline constexpr char kNoCacheStart[] = "No lyrics cache was found: the folder ";
inline constexpr char kNoCacheEnd[] = " does not exist, so no lyrics can be matched.";
inline constexpr char kNoCompanionStart[] = "Songleaf was found neither beside Versemark (";
inline constexpr char kNoCompanionRegistry[] = ") nor in the registry (";
inline constexpr char kRegistryThen[] = ", then ";
inline constexpr char kRegistryIn[] = ", in ";
inline constexpr char kNoCompanionEnd[] =
    "); without it Versemark looks for the cache beside itself.";
inline constexpr char kNoCompanionAdvice[] =
    "Install Songleaf and download lyrics with it, or put lyrics files in that folder; then "
    "start Versemark again.";
inline constexpr char kCompanionFolderStart[] = "Songleaf's folder is ";
inline constexpr char kCacheFromSettingsStart[] = "; the ";
inline constexpr char kCacheFromSettingsMiddle[] = " line of ";
inline constexpr char kCacheFromSettingsEnd[] = " names the cache folder.";
inline constexpr char kCacheFromSettingsAdvice[] =
    "Correct that line, or download lyrics with Songleaf; then start Versemark again.";
inline constexpr char kCacheInCompanionStart[] = "; with no ";
inline constexpr char kCacheInCompanionMiddle[] = " line in ";
inline constexpr char kCacheInCompanionEnd[] = ", the cache is its lyrics folder.";
inline constexpr char kCacheInCompanionAdvice[] =
    "Download lyrics with Songleaf, or name the cache folder in such a line; then start "
    "Versemark again.";

// Information panel.
inline constexpr char kLyricsCaption[] = "Lyrics:";
inline constexpr char kLyricsCountStart[] = "Lyrics(";
inline constexpr char kLyricsCountEnd[] = "):";

}  // namespace versemark::texts
