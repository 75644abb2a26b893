#pragma once

#include <string>

// The patient data of one case.
class CPatient {
public:
    std::string Famname;
    std::string Vorname;
    std::string Code;
    // True radius of the prosthesis head in mm; 0.0 while unknown.
    double HeadTR = 0.0;
    // Base name of the result report file, without ".zor".
    std::string DatFile;

    bool operator==(const CPatient&) const = default;

    void copy(const CPatient& src)
    {
        Famname = src.Famname;
        Vorname = src.Vorname;
        Code = src.Code;
        HeadTR = src.HeadTR;
        DatFile = src.DatFile;
    }
};
