#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "base/GrowBuffer.h"
#include "plugbase/ParameterKind.h"
#include "plugbase/ValueText.h"

// One automatable parameter: a plain value in its own units with range, snapping step, the curve
// that maps it to and from the host's 0..1 scale, and the texts by which it is shown.
//
// Texts are bounded: names, labels and value texts keep at most 31 characters (longer ones are
// truncated). Every value that leaves SetPlain or SetFromNormalized lies within [min, max], also
// for NaN or out-of-range input.
//
// Threads: the initialisers and presentation tweaks run while the effect is built, before any
// host or editor thread can reach the parameter; after that only the value changes. The setters
// are called with the owning core's lock held (the core sets a value and reacts to it in one
// step); every reader works from any thread without the lock, because the value is one atomic
// and everything else stays fixed. The editor's paint reads values and texts that way.
class IParameter {
  public:
    static constexpr int kTextBytes = 32;
    static constexpr int kMaxPrecision = 6;

    IParameter() noexcept = default;
    IParameter(const IParameter&) = delete;
    IParameter& operator=(const IParameter&) = delete;

    // Initialisers. The kind is set only while it is still Unset: the first initialiser decides it.
    // Afterwards max >= min + step and 0 <= precision <= 6. The default is stored unclamped.
    void DefineContinuous(const char* name, double defaultValue, double min, double max, double step,
                          const char* label) noexcept;
    void DefineInteger(const char* name, int defaultValue, int min, int max, const char* label) noexcept;
    void DefineChoice(const char* name, int defaultValue, int count, const char* label) noexcept;
    // Appends a text for an integer value (entries keep their order). False when out of memory.
    bool AddValueText(int value, const char* text) noexcept;

    // Presentation tweaks (not touched by the initialisers). Shapes <= 0 or NaN are ignored.
    void SetShape(double shape) noexcept;
    void SetNegateDisplay(bool negate) noexcept { negateDisplay_ = negate; }

    // ---- Setters [any thread, with the lock held] ----------------------------------------------
    void SetPlain(double v) noexcept;  // clamped to [min, max], snapped unless Continuous; NaN gives min
    void SetFromNormalized(double x) noexcept;  // x clamped to 0..1 (NaN gives 0), then as SetPlain

    // ---- Readers [any thread]: each function below, without the lock ----------------------------
    double PlainValue() const noexcept { return value_.load(std::memory_order_relaxed); }
    double NormalizedValue() const noexcept { return ToNormalized(PlainValue()); }
    double ToNormalized(double v) const noexcept;  // v clamped to [min, max] first
    void Bounds(double& min, double& max) const noexcept;

    ParameterKind Kind() const noexcept { return kind_; }
    double Min() const noexcept { return min_; }
    double Max() const noexcept { return max_; }
    double Step() const noexcept { return step_; }
    double Shape() const noexcept { return shape_; }
    int Precision() const noexcept { return precision_; }
    bool NegateDisplay() const noexcept { return negateDisplay_; }
    const char* Name() const noexcept { return name_; }
    const char* Label() const noexcept { return label_; }

    // FormatForHost writes a zero-terminated display text for v (plain, or normalised when
    // isNormalized) into out, truncated to capacity bytes; nothing is written when capacity is 0.
    void FormatForHost(double v, bool isNormalized, char* out, size_t capacity) const noexcept;
    // Inverse of FormatForHost: a value text gives its integer, otherwise the leading decimal number
    // (0 when none), negated when the display is negated. A null text gives 0.
    double ParseText(const char* text) const noexcept;

    int ValueTextCount() const noexcept;
    const ValueText* ValueTextAt(int i) const noexcept;              // null when out of range
    const char* ValueTextFor(int value) const noexcept;              // "" when none
    bool ValueForText(const char* text, int& value) const noexcept;  // first entry with that text

  private:
    ParameterKind kind_ = ParameterKind::Unset;
    // Written under the plug-in's lock, read also by the editor's paint without it (the knobs print
    // it): one whole 64-bit value, relaxed, so a paint sees either the old or the new value.
    std::atomic<double> value_{0.0};
    double min_ = 0.0;
    double max_ = 1.0;
    double step_ = 1.0;
    double shape_ = 1.0;
    int32_t precision_ = 0;
    char name_[kTextBytes] = {};
    char label_[kTextBytes] = {};
    bool negateDisplay_ = false;
    GrowBuffer valueTexts_;  // ValueText entries
};
