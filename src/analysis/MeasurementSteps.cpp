#include "analysis/MeasurementSteps.h"

#include "analysis/WriteDataCommand.h"
#include "model/CZor.h"

namespace MeasurementSteps {

std::vector<Step> of(const CZor& zor)
{
    return {
        {"Head: at least 3 points on the head, right button to end",
         zor.head.Valid && zor.head.R > 0.0},
        {"Stem Axis: both contour lines of the stem", zor.AxisLine.Valid},
        {"Shoulder Point", zor.ShoulderValid},
        {"drag the Minor Trochanter Lines and the Tip Line onto the femur",
         zor.TipLine1.Valid && zor.TipLine2.Valid && zor.TipLine3.Valid},
        {"8 Points on the femur's cortices", zor.PointsValid},
        {"Cement Marker", zor.CMarkerValid, true},
        {"Patient's Data: Head Diameter", zor.Patient.HeadTR > 0.0},
        {"Patient's Data: date, names and data file",
         WriteDataCommand::missingPatientFields(zor) == 0},
    };
}

int next(const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i)
        if (!steps[i].done && !steps[i].optional)
            return int(i);
    return -1;
}

} // namespace MeasurementSteps
