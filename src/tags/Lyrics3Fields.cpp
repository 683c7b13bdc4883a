// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "platform/CodePage.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {

std::string Lyrics3FieldText(std::string_view text) {
    return FitText(text.substr(0, CutLength(text, tail::kMaxFieldData)), 0);
}

void SetLyrics3Field(FieldList& fields, std::string_view fieldId, std::string_view text) {
    using namespace tail;
    std::string data = Lyrics3FieldText(text);
    const auto existing = std::find_if(fields.begin(), fields.end(),
                                       [&](const Lyrics3Field& f) { return f.FieldId == fieldId; });
    if (existing == fields.end()) {
        Lyrics3Field field;
        field.FieldId = std::string(fieldId);
        field.FieldData = std::move(data);
        fields.push_back(std::move(field));
        return;
    }
    // Later fields of the same id go, so that a reader finds the value set
    // whichever of the repeats it would take; the first keeps its place.
    fields.erase(std::remove_if(existing + 1, fields.end(),
                                [&](const Lyrics3Field& f) { return f.FieldId == fieldId; }),
                 fields.end());
    // Shorter data keeps the old length, padded with NULs.
    if (existing->FieldData.size() > data.size()) {
        data.resize(existing->FieldData.size(), '\0');
    }
    existing->FieldData = std::move(data);
}

void MoveIndFirst(FieldList& fields) {
    if (fields.empty() || fields.front().FieldId == tail::kFieldInd) {
        return;
    }
    const auto ind = std::find_if(fields.begin() + 1, fields.end(), [](const Lyrics3Field& f) {
        return f.FieldId == tail::kFieldInd;
    });
    if (ind != fields.end()) {
        std::swap(fields.front(), *ind);
    }
}

}  // namespace versemark
