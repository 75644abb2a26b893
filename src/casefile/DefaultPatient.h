#pragma once

#include "model/CPatient.h"

#include <string>

// The patient data entered or loaded last, carried from one case to the next
// so that a follow-up film of the same patient needs no retyping. One record
// for the whole application, empty until first written.
CPatient& DefaultPatient();

// The film whose case DefaultPatient() was taken from (its path), so that a
// dialog can say where carried-over values come from; empty when unknown.
std::string& DefaultPatientFilm();
