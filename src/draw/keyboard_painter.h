// Painting the on-screen keyboard: what the keyboard model computed, drawn
// into a drawing surface.
#pragma once

#include "draw/draw_surface.h"
#include "draw/virtual_keyboard.h"

namespace kanaflow {

// The colour of marked keys: one value for the whole program, set by the
// basic practice screen from its question set before it draws.
void SetNextKeyColour(Colour colour);
Colour NextKeyColour();

}  // namespace kanaflow
