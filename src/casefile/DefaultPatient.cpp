#include "casefile/DefaultPatient.h"

CPatient& DefaultPatient()
{
    static CPatient patient;
    return patient;
}
