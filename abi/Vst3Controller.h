// VST 3 binary interface, the controller side: parameters and their texts, the host's component
// handler that receives edits, programs as a unit's program list, and MIDI controller mapping.
// Layouts identical on Linux and Windows.
#pragma once

#include "abi/Vst3Base.h"
#include "abi/Vst3View.h"

namespace vst3 {

// ---- parameters -----------------------------------------------------------------------------
struct ParameterInfo {
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32_t stepCount;  // 0 continuous, 1 toggle, n: n + 1 states
    ParamValue defaultNormalizedValue;
    int32_t unitId;
    int32_t flags;
};
constexpr int32_t kCanAutomate = 0x1;  // ParameterInfo flags
constexpr int32_t kIsReadOnly = 0x2;
constexpr int32_t kIsWrapAround = 0x4;
constexpr int32_t kIsList = 0x8;
constexpr int32_t kIsHidden = 0x10;
constexpr int32_t kIsProgramChange = 0x8000;
constexpr int32_t kIsBypass = 0x10000;

constexpr int32_t kReloadComponent = 0x1;  // restartComponent flags
constexpr int32_t kIoChanged = 0x2;
constexpr int32_t kParamValuesChanged = 0x4;
constexpr int32_t kLatencyChanged = 0x8;
constexpr int32_t kParamTitlesChanged = 0x10;
constexpr int32_t kMidiCCAssignmentChanged = 0x20;

class IComponentHandler : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
    virtual tresult beginEdit(ParamID id) noexcept = 0;
    virtual tresult performEdit(ParamID id, ParamValue normalized) noexcept = 0;
    virtual tresult endEdit(ParamID id) noexcept = 0;
    virtual tresult restartComponent(int32_t flags) noexcept = 0;

  protected:
    ~IComponentHandler() = default;  // never deleted through an interface
};

class IEditController : public IPluginBase {
  public:
    static constexpr Uid iid = MakeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
    virtual tresult setComponentState(IBStream* state) noexcept = 0;
    virtual tresult setState(IBStream* state) noexcept = 0;
    virtual tresult getState(IBStream* state) noexcept = 0;
    virtual int32_t getParameterCount() noexcept = 0;
    virtual tresult getParameterInfo(int32_t index, ParameterInfo& info) noexcept = 0;
    virtual tresult getParamStringByValue(ParamID id, ParamValue normalized, String128 out) noexcept = 0;
    virtual tresult getParamValueByString(ParamID id, char16* text, ParamValue& normalized) noexcept = 0;
    virtual ParamValue normalizedParamToPlain(ParamID id, ParamValue normalized) noexcept = 0;
    virtual ParamValue plainParamToNormalized(ParamID id, ParamValue plain) noexcept = 0;
    virtual ParamValue getParamNormalized(ParamID id) noexcept = 0;
    virtual tresult setParamNormalized(ParamID id, ParamValue value) noexcept = 0;
    virtual tresult setComponentHandler(IComponentHandler* handler) noexcept = 0;
    // Returns a new view the caller owns, or null.
    virtual IPlugView* createView(FIDString name) noexcept = 0;

  protected:
    ~IEditController() = default;  // never deleted through an interface
};

// ---- MIDI controller mapping ----------------------------------------------------------------
using CtrlNumber = int16_t;
constexpr CtrlNumber kAfterTouch = 128;  // channel pressure
constexpr CtrlNumber kPitchBend = 129;
constexpr CtrlNumber kCountCtrlNumber = 130;
constexpr uint8_t kCtrlProgramChange = 130;  // output only (LegacyMIDICCOutEvent)
constexpr uint8_t kCtrlPolyPressure = 131;

class IMidiMapping : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
    virtual tresult getMidiControllerAssignment(int32_t busIndex, int16_t channel, CtrlNumber controller,
                                                ParamID& id) noexcept = 0;

  protected:
    ~IMidiMapping() = default;  // never deleted through an interface
};

// ---- units and program lists ----------------------------------------------------------------
constexpr int32_t kRootUnitId = 0;
constexpr int32_t kNoParentUnitId = -1;
constexpr int32_t kNoProgramListId = -1;

struct UnitInfo {
    int32_t id;
    int32_t parentUnitId;
    String128 name;
    int32_t programListId;
};

struct ProgramListInfo {
    int32_t id;
    String128 name;
    int32_t programCount;
};

class IUnitInfo : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
    virtual int32_t getUnitCount() noexcept = 0;
    virtual tresult getUnitInfo(int32_t index, UnitInfo& info) noexcept = 0;
    virtual int32_t getProgramListCount() noexcept = 0;
    virtual tresult getProgramListInfo(int32_t index, ProgramListInfo& info) noexcept = 0;
    virtual tresult getProgramName(int32_t listId, int32_t program, String128 name) noexcept = 0;
    virtual tresult getProgramInfo(int32_t listId, int32_t program, const char* attributeId,
                                   String128 value) noexcept = 0;
    virtual tresult hasProgramPitchNames(int32_t listId, int32_t program) noexcept = 0;
    virtual tresult getProgramPitchName(int32_t listId, int32_t program, int16_t pitch,
                                        String128 name) noexcept = 0;
    virtual int32_t getSelectedUnit() noexcept = 0;
    virtual tresult selectUnit(int32_t unitId) noexcept = 0;
    virtual tresult getUnitByBus(int32_t type, int32_t dir, int32_t busIndex, int32_t channel,
                                 int32_t& unitId) noexcept = 0;
    virtual tresult setUnitProgramData(int32_t listOrUnitId, int32_t program, IBStream* data) noexcept = 0;

  protected:
    ~IUnitInfo() = default;  // never deleted through an interface
};

class IUnitHandler : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);
    virtual tresult notifyUnitSelection(int32_t unitId) noexcept = 0;
    virtual tresult notifyProgramListChange(int32_t listId, int32_t program) noexcept = 0;

  protected:
    ~IUnitHandler() = default;  // never deleted through an interface
};

// Only a processor and controller in two objects talk through connection points; a single object
// answers kNoInterface for it.
constexpr Uid kConnectionPointIid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8);
static_assert(offsetof(ParameterInfo, title) == 4);
static_assert(offsetof(ParameterInfo, shortTitle) == 260);
static_assert(offsetof(ParameterInfo, units) == 516);
static_assert(offsetof(ParameterInfo, stepCount) == 772);
static_assert(offsetof(ParameterInfo, defaultNormalizedValue) == 776);
static_assert(offsetof(ParameterInfo, unitId) == 784);
static_assert(offsetof(ParameterInfo, flags) == 788);

static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4);
static_assert(offsetof(UnitInfo, name) == 8);
static_assert(offsetof(UnitInfo, programListId) == 264);
static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4);
static_assert(offsetof(ProgramListInfo, programCount) == 260);

}  // namespace vst3
