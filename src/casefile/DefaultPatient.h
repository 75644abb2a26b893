#pragma once

#include "model/CPatient.h"

// The patient data entered or loaded last, carried from one case to the next
// so that a follow-up film of the same patient needs no retyping. One record
// for the whole application, empty until first written.
CPatient& DefaultPatient();
