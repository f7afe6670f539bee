#pragma once

// Sine and cosine of an angle in radians, the same bits on every platform: the C libraries of our
// two targets (glibc, mingw-w64) round sinf/cosf, and even sin/cos, differently in the last bit
// for a few percent of angles, and a rotated blit turns that bit into a different sample position
// and so a different pixel. Built from exactly rounded operations only (+, -, *, /, floor, fmod),
// accurate to a few units in the last place of a double. NaN and infinities give NaN.
void PortableSinCos(double angle, double& sine, double& cosine);
