#include "casefile/RecordText.h"

namespace RecordText {

bool fits(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F || c == '"')
            return false;
        // U+0080 to U+009F, the C1 codes, are C2 80 to C2 9F in UTF-8.
        if (c == 0xC2 && i + 1 < utf8.size()) {
            auto next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0x80 && next <= 0x9F)
                return false;
        }
    }
    return true;
}

const char* label(DataField field)
{
    switch (field) {
    case DataField::Datum:
        return "X-Ray Date";
    case DataField::Famname:
        return "Name";
    case DataField::Vorname:
        return "First Name";
    case DataField::Code:
        return "Study - ID";
    case DataField::Head:
        return "Head Diameter";
    case DataField::DatFile:
        return "Data File";
    }
    return "";
}

std::string problem(const std::string& label)
{
    return "the " + label + " holds a double quote or a control character";
}

} // namespace RecordText
