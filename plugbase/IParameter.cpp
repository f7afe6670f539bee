#include "plugbase/IParameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "plugbase/TextCopy.h"

// The audio path reads parameter values: their atomic must never fall back to a lock.
static_assert(std::atomic<double>::is_always_lock_free);

namespace {

int PrecisionFromStep(double step) {
    int count = 0;
    double s = step;
    while (s != std::floor(s) && count < IParameter::kMaxPrecision) {
        ++count;
        s *= 10.0;
    }
    return count;
}

}  // namespace

void IParameter::DefineContinuous(const char* name, double defaultValue, double min, double max, double step,
                                  const char* label) noexcept {
    if (kind_ == ParameterKind::Unset) kind_ = ParameterKind::Continuous;
    CopyText(name_, sizeof name_, name);
    CopyText(label_, sizeof label_, label);
    min_ = min;
    value_.store(defaultValue, std::memory_order_relaxed);
    max_ = std::max(max, min + step);
    step_ = step;
    precision_ = PrecisionFromStep(step);
}

void IParameter::DefineInteger(const char* name, int defaultValue, int min, int max,
                               const char* label) noexcept {
    if (kind_ == ParameterKind::Unset) kind_ = ParameterKind::Integer;
    DefineContinuous(name, defaultValue, min, max, 1.0, label);
}

void IParameter::DefineChoice(const char* name, int defaultValue, int count, const char* label) noexcept {
    if (kind_ == ParameterKind::Unset) kind_ = ParameterKind::Choice;
    DefineContinuous(name, defaultValue, 0.0, static_cast<double>(count) - 1.0, 1.0, label);
}

bool IParameter::AddValueText(int value, const char* text) noexcept {
    ValueText entry;
    entry.value = value;
    CopyText(entry.text, sizeof entry.text, text);
    return valueTexts_.Append(&entry, sizeof entry);
}

void IParameter::SetShape(double shape) noexcept {
    if (shape > 0.0 && std::isfinite(shape)) shape_ = shape;
}

void IParameter::SetPlain(double v) noexcept {
    // A stepped value between its steps (from a typed text or a foreign state) would show one
    // step and sound as another: it takes the nearest step, as the engine reads it.
    if (kind_ != ParameterKind::Continuous && step_ > 0.0) v = std::floor(v / step_ + 0.5) * step_;
    if (std::isnan(v) || v < min_) v = min_;
    value_.store(v > max_ ? max_ : v, std::memory_order_relaxed);
}

void IParameter::SetFromNormalized(double x) noexcept {
    // Hosts send anything: NaN, negative or above 1. Keep the result inside the range.
    if (!(x >= 0.0)) x = 0.0;
    if (x > 1.0) x = 1.0;
    SetPlain(min_ + std::pow(x, shape_) * (max_ - min_));
}

double IParameter::ToNormalized(double v) const noexcept {
    if (std::isnan(v) || v < min_) v = min_;
    if (v > max_) v = max_;
    const double span = max_ - min_;
    if (!(span > 0.0)) return 0.0;
    return std::pow((v - min_) / span, 1.0 / shape_);
}

void IParameter::Bounds(double& min, double& max) const noexcept {
    min = min_;
    max = max_;
}

void IParameter::FormatForHost(double v, bool isNormalized, char* out, size_t capacity) const noexcept {
    if (out == nullptr || capacity == 0) return;
    if (isNormalized) v = min_ + std::pow(v, shape_) * (max_ - min_);
    if (ValueTextCount() > 0 && std::isfinite(v)) {
        const double whole = std::trunc(v);
        for (int i = 0; i < ValueTextCount(); ++i) {
            const ValueText* entry = ValueTextAt(i);
            if (static_cast<double>(entry->value) == whole) {
                if (entry->text[0] != '\0') {
                    CopyText(out, capacity, entry->text);
                    return;
                }
                break;
            }
        }
    }
    if (negateDisplay_) v = -v;
    if (v == 0.0 || std::isnan(v)) {
        CopyText(out, capacity, "0");
    } else if (precision_ == 0) {
        // Truncated towards zero; printing the truncated double avoids an out-of-range int conversion
        // and + 0.0 turns a truncated -0.x into a plain 0.
        std::snprintf(out, capacity, "%.0f", std::trunc(v) + 0.0);
    } else {
        std::snprintf(out, capacity, "%.*f", static_cast<int>(precision_), v);
    }
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number at the start of text (after white space): sign, digits, fraction, exponent;
// 0 when there is none. strtod alone would also take "nan", "inf" and hexadecimal text.
double ReadDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0;  // the decimal part is a lone 0
    if (!IsDigit(p[0]) && !(p[0] == '.' && IsDigit(p[1]))) return 0.0;
    return std::strtod(start, nullptr);
}

}  // namespace

double IParameter::ParseText(const char* text) const noexcept {
    if (text == nullptr) return 0.0;
    int value = 0;
    if (ValueForText(text, value)) return value;
    const double v = ReadDecimal(text);
    return negateDisplay_ ? -v : v;
}

int IParameter::ValueTextCount() const noexcept {
    return static_cast<int>(valueTexts_.Size() / static_cast<intptr_t>(sizeof(ValueText)));
}

const ValueText* IParameter::ValueTextAt(int i) const noexcept {
    if (i < 0 || i >= ValueTextCount()) return nullptr;
    return static_cast<const ValueText*>(valueTexts_.Data()) + i;
}

const char* IParameter::ValueTextFor(int value) const noexcept {
    for (int i = 0; i < ValueTextCount(); ++i) {
        if (ValueTextAt(i)->value == value) return ValueTextAt(i)->text;
    }
    return "";
}

bool IParameter::ValueForText(const char* text, int& value) const noexcept {
    if (text == nullptr) return false;
    for (int i = 0; i < ValueTextCount(); ++i) {
        if (std::strcmp(ValueTextAt(i)->text, text) == 0) {
            value = ValueTextAt(i)->value;
            return true;
        }
    }
    return false;
}
