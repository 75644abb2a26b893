#pragma once

#include "series/Phantom.h"

#include <QImage>

#include <cstdint>

// Draws a phantom film as the demo radiograph is drawn: soft tissue, the
// pelvis round the cup, femur with its canal, the stem in its cement mantle,
// the head, the cement marker, film blur and seeded grain. 8-bit grey,
// Phantom::kWidth x Phantom::kHeight.
QImage drawPhantomFilm(const Phantom::Patient& p, const Phantom::Film& f, uint32_t grainSeed);
