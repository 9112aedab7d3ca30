// PNG files made by tests, so that texture loading is tried on real images: the tests encode with the
// same library the asset generator writes the game's pictures with.
#pragma once

#include "tools/encoders/png_encoder.h"
