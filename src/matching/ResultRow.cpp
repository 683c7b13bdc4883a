#include "matching/ResultRow.h"

namespace versemark {

void ResultRow::SetChecked(bool checked) {
    Checked = checked;
    Text = checked ? std::string(kCheckedRowText) : std::string();
}

}  // namespace versemark
