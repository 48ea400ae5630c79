#pragma once

// One-dimensional gradient noise over a global table of 256 gradients.
// The application fills the table once at start-up, after seeding its random
// generator; before that every value reads 0.
void InitNoise();

// About -0.5..0.5, smooth, and 0 at every integer t.
double Noise1D(double t);
