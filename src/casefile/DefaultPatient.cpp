#include "casefile/DefaultPatient.h"

CPatient& DefaultPatient()
{
    static CPatient patient;
    return patient;
}

std::string& DefaultPatientFilm()
{
    static std::string film;
    return film;
}
