#include "tools/vsthost/render/ProgressBar.h"

#include <cstdio>

namespace {

constexpr auto kDelayBeforeShowing = std::chrono::milliseconds(300);
constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(bool on) : enabled(on), started(std::chrono::steady_clock::now()) {}

void ProgressBar::Update(int64_t done, int64_t total) {
    if (!enabled || total <= 0) return;
    if (!shown && std::chrono::steady_clock::now() - started < kDelayBeforeShowing) return;
    int percent = static_cast<int>(done * 100 / total);
    if (percent == lastPercent) return;
    lastPercent = percent;
    shown = true;
    char bar[kWidth + 1];
    int filled = percent * kWidth / 100;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar, percent);
    std::fflush(stderr);
}

void ProgressBar::Finish() {
    if (!shown) return;
    std::fprintf(stderr, "\r%*s\r", kWidth + 20, "");
    std::fflush(stderr);
    shown = false;
}
