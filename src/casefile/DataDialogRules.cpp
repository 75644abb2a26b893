#include "casefile/DataDialogRules.h"

#include "casefile/DefaultPatient.h"
#include "casefile/RecordText.h"
#include "model/CZor.h"
#include "model/Math.h"

#include <climits>
#include <cmath>

namespace {

// Number of code points of a UTF-8 text: the date's length is counted in
// characters, as the user typed them.
size_t characterCount(const std::string& s)
{
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// Two ASCII digits at pos as a number, or -1.
int twoDigits(const std::string& s, size_t pos)
{
    char a = s[pos];
    char b = s[pos + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

// The head diameter for its box: a whole number of mm, halves to even, and
// blank for 0 or for a value no box could show.
std::string diameterText(double headTR)
{
    double d = std::nearbyint(2.0 * headTR);
    if (!std::isfinite(d) || d < INT32_MIN || d > INT32_MAX)
        return "";
    return Math::LongToStr(static_cast<int32_t>(d));
}

} // namespace

int DataDialogRules::bitOf(DataField field)
{
    switch (field) {
    case DataField::Datum:
        return 1;
    case DataField::Famname:
        return 2;
    case DataField::Vorname:
        return 4;
    case DataField::Code:
        return 8;
    case DataField::Head:
        return 32;
    case DataField::DatFile:
        return 256;
    }
    return 0;
}

DataDialogRules::DataDialogRules(CZor& zor, int redFlag, std::string film)
    : zor_(zor), redFlag_(redFlag), film_(std::move(film))
{
    // Tested bottom to top, so the highest highlighted box is set last.
    for (DataField f : {DataField::DatFile, DataField::Head, DataField::Code, DataField::Vorname,
                        DataField::Famname, DataField::Datum})
        if (highlighted(f))
            focusTarget_ = f;

    const CPatient& source = zor_.DatFlag ? zor_.Patient : DefaultPatient();
    setText(DataField::Datum, zor_.Datum);
    setText(DataField::Famname, source.Famname);
    setText(DataField::Vorname, source.Vorname);
    setText(DataField::Code, source.Code);
    setText(DataField::Head, diameterText(source.HeadTR));
    setText(DataField::DatFile, source.DatFile);
    if (!zor_.DatFlag) {
        for (DataField f : {DataField::Famname, DataField::Vorname, DataField::Code,
                            DataField::Head, DataField::DatFile})
            carried_[index(f)] = !text(f).empty();
        carriedFrom_ = DefaultPatientFilm();
    }
    zor_.DatFlag = true;
}

std::optional<DataField> DataDialogRules::takeFocusTarget()
{
    std::optional<DataField> target = focusTarget_;
    focusTarget_.reset();
    return target;
}

bool DataDialogRules::isValidDatum(const std::string& s)
{
    if (s.empty())
        return true;
    // Characters 5 to 8 must be digits, so they are the last four bytes.
    if (characterCount(s) != 8 || s.size() < 8)
        return false;
    int month = twoDigits(s, s.size() - 4);
    int day = twoDigits(s, s.size() - 2);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool DataDialogRules::close(UserMessages& messages)
{
    std::string s = text(DataField::Datum);
    if (!isValidDatum(s)) {
        zor_.Datum.clear();
        messages.showMessage("Date Format Error", "invalid Date Format!\nuse 'yyyymmdd'",
                             MessageIcon::Critical);
        setText(DataField::Datum, "");
        focusTarget_ = DataField::Datum;
        return false;
    }
    // Texts the report cannot hold are refused here, where they are typed.
    for (DataField f : {DataField::Datum, DataField::Famname, DataField::Vorname, DataField::Code,
                        DataField::DatFile}) {
        if (!RecordText::fits(text(f))) {
            messages.showMessage("Patient's Data",
                                 RecordText::problem(RecordText::label(f)) +
                                     "\nremove it: the report cannot hold it",
                                 MessageIcon::Critical);
            focusTarget_ = f;
            return false;
        }
    }
    zor_.Datum = s;

    CPatient entered;
    entered.Famname = text(DataField::Famname);
    entered.Vorname = text(DataField::Vorname);
    entered.Code = text(DataField::Code);
    entered.HeadTR = Math::StrToLong(text(DataField::Head)) / 2.0;
    entered.DatFile = text(DataField::DatFile);
    zor_.Patient.copy(entered);
    DefaultPatient().copy(entered);
    DefaultPatientFilm() = film_;
    return true;
}
