#pragma once

#include "casefile/DataDialogRules.h"

#include <string>
#include <string_view>

// The patient's texts go into the result report between double quotes, in a
// record of CR LF lines. A text that could end its item or its line there
// would break the record, or forge another one, so such texts are refused
// wherever they enter: the patient dialog, "&Write Data", zor-cli analyse.
namespace RecordText {

// False when the UTF-8 text holds a double quote or a control character
// (CR, LF, tab and the other C0 codes, DEL, or a C1 code).
bool fits(std::string_view utf8);

// The caption of a box as the messages name it: "X-Ray Date", "Name", ...
const char* label(DataField field);

// "the <label> holds a double quote or a control character".
std::string problem(const std::string& label);

} // namespace RecordText
