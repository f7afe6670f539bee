#pragma once

#include <cstdint>

// X reports presses, not double clicks: a second left press within kMaxMilliseconds and
// kMaxDistance pixels (each axis) of the first is one, the values Windows uses by default. A
// double click is not the first press of another one, so a triple press is a double click and a
// press. Times are the server's millisecond timestamps, which wrap after 49 days; the unsigned
// difference stays right across the wrap. Pure logic: used by one thread at a time.
class DoubleClickDetector {
  public:
    static constexpr uint32_t kMaxMilliseconds = 400;
    static constexpr int kMaxDistance = 4;

    // A left press at time (ms) and (x, y): true when it completes a double click.
    bool Press(uint32_t time, int x, int y) {
        const bool isDouble =
            armed && time - lastTime <= kMaxMilliseconds && Near(x - lastX) && Near(y - lastY);
        armed = !isDouble;
        lastTime = time;
        lastX = x;
        lastY = y;
        return isDouble;
    }
    // Another button or the pointer leaving breaks a pending double click.
    void Reset() { armed = false; }

  private:
    static bool Near(int d) { return d >= -kMaxDistance && d <= kMaxDistance; }
    bool armed = false;
    uint32_t lastTime = 0;
    int lastX = 0;
    int lastY = 0;
};
