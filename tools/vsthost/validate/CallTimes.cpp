#include "tools/vsthost/validate/CallTimes.h"

#include <algorithm>

double CallTimes::Quantile(double q) {
    if (seconds.empty()) return 0;
    if (sorted != seconds.size()) {
        std::sort(seconds.begin(), seconds.end());
        sorted = seconds.size();
    }
    const double at = std::clamp(q, 0.0, 1.0) * static_cast<double>(seconds.size() - 1);
    return seconds[static_cast<size_t>(at)];
}
