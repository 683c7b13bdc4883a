// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "matching/MatchFolder.h"
#include "matching/ResultRow.h"
#include "matching/RowList.h"

// What scan prints: a table for people, or one JSON document for programs.
namespace versemark::cli {

// The marks of a row as five letters, one position each ("." where a mark is
// absent): the MP3 picture (A several matches, N newer tag, 1 one match), T
// already tagged, I no ID3v1 block, the lyrics picture (F filtered, U
// unfiltered), S lyrics shared with other MP3 files.
std::string RowMarks(const ResultRow& row);

// The legend of the marks, three lines.
std::string MarksLegend();

// Check mark, marks, MP3 file (relative to `folder`), lyrics name; then the
// final label text and the checked count.
std::string FormatRowTable(const RowList& rows, std::string_view folder, const MatchResult& result);

// {"processed": N, "summary": "...", "rows": [{...}, ...]}, rows in list order.
std::string FormatRowJson(const RowList& rows, const MatchResult& result);

}  // namespace versemark::cli
