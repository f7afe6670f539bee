// VST 3 binary interface, the object model: scalar types, result codes, interface IDs and their
// byte order, FUnknown, the module's factory and the host's stream and application objects.
// Declared from the published layout facts (x86-64; records are identical on Linux and Windows,
// only ID bytes and result codes differ). The static_asserts at the end check every size and
// offset on each build.
//
// An interface is a class of pure virtual methods only: no data, no virtual destructor, single
// inheritance, so the object's first word points at a vtable whose slots run in declaration
// order, base first. Every method is noexcept: no C++ exception may unwind into the other side.
// The destructors are protected and not virtual (a virtual one would add vtable slots): objects
// are destroyed by their own release, so implementations are final classes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vst3 {

using tresult = int32_t;
using TBool = uint8_t;
using char16 = char16_t;  // a UTF-16 unit; never wchar_t (4 bytes on Linux)
using String128 = char16[128];
using FIDString = const char*;
using ParamID = uint32_t;  // the plug-in's are 0..0x7FFFFFFF
constexpr ParamID kNoParamId = 0xFFFFFFFF;
using ParamValue = double;
using TUID = char[16];

// ---- result codes: COM's values on Windows, small numbers elsewhere ---------------------------
#ifdef _WIN32
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
// A successful "no"; callers test == kResultOk, never the sign (Linux errors are positive).
constexpr tresult kResultFalse = 1;

// ---- interface and class IDs ----------------------------------------------------------------
// An ID is written as four 32-bit words and stored as 16 bytes. Elsewhere the words follow one
// another, most significant byte first; Windows stores them as a COM GUID: the first word and the
// two halves of the second least significant byte first, the last eight bytes as elsewhere. This
// is the only place that knows it; every interface and class ID is made here, so one ID has the
// same text form (the four words in hex) on both systems.
struct Uid {
    char bytes[16];

    const char* data() const { return bytes; }
    // Whether the 16 bytes at other equal this ID (IDs contain zeros: never compare as text).
    bool Is(const char* other) const {
        if (!other) return false;
        for (int i = 0; i < 16; ++i) {
            if (bytes[i] != other[i]) return false;
        }
        return true;
    }
};

constexpr Uid MakeUid(uint32_t w1, uint32_t w2, uint32_t w3, uint32_t w4) {
    Uid id{};
    auto put = [&id](int at, uint32_t word, bool littleEndian, int count) {
        for (int i = 0; i < count; ++i) {
            int shift = littleEndian ? 8 * i : 8 * (count - 1 - i);
            id.bytes[at + i] = static_cast<char>((word >> shift) & 0xFF);
        }
    };
#ifdef _WIN32
    put(0, w1, true, 4);
    put(4, w2 >> 16, true, 2);
    put(6, w2 & 0xFFFF, true, 2);
#else
    put(0, w1, false, 4);
    put(4, w2, false, 4);
#endif
    put(8, w3, false, 4);
    put(12, w4, false, 4);
    return id;
}

// ---- FUnknown and the plug-in base ----------------------------------------------------------
class FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
    // Success stores the interface (add-referenced) and returns kResultOk; otherwise stores null
    // and returns kNoInterface.
    virtual tresult queryInterface(const TUID iid, void** obj) noexcept = 0;
    virtual uint32_t addRef() noexcept = 0;
    virtual uint32_t release() noexcept = 0;

  protected:
    ~FUnknown() = default;  // never deleted through an interface
};

class IPluginBase : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
    virtual tresult initialize(FUnknown* context) noexcept = 0;
    virtual tresult terminate() noexcept = 0;

  protected:
    ~IPluginBase() = default;  // never deleted through an interface
};

// ---- the factory ----------------------------------------------------------------------------
struct PFactoryInfo {
    char vendor[64];
    char url[256];
    char email[128];
    int32_t flags;
};
constexpr int32_t kFactoryClassesDiscardable = 1;
constexpr int32_t kFactoryComponentNonDiscardable = 8;
constexpr int32_t kFactoryUnicode = 16;

constexpr int32_t kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
};

struct PClassInfo2 {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
    uint32_t classFlags;
    char subCategories[128];
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};

struct PClassInfoW {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char16 name[64];
    uint32_t classFlags;
    char subCategories[128];
    char16 vendor[64];
    char16 version[64];
    char16 sdkVersion[64];
};
// classFlags: processor and controller may run apart (never for a single object).
constexpr uint32_t kClassDistributable = 1;
constexpr const char* kAudioModuleClass = "Audio Module Class";

class IPluginFactory : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
    virtual tresult getFactoryInfo(PFactoryInfo* info) noexcept = 0;
    virtual int32_t countClasses() noexcept = 0;
    virtual tresult getClassInfo(int32_t index, PClassInfo* info) noexcept = 0;
    // Both arguments are 16 raw ID bytes despite their type.
    virtual tresult createInstance(FIDString cid, FIDString iid, void** obj) noexcept = 0;

  protected:
    ~IPluginFactory() = default;  // never deleted through an interface
};

class IPluginFactory2 : public IPluginFactory {
  public:
    static constexpr Uid iid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
    virtual tresult getClassInfo2(int32_t index, PClassInfo2* info) noexcept = 0;

  protected:
    ~IPluginFactory2() = default;  // never deleted through an interface
};

class IPluginFactory3 : public IPluginFactory2 {
  public:
    static constexpr Uid iid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
    virtual tresult getClassInfoUnicode(int32_t index, PClassInfoW* info) noexcept = 0;
    virtual tresult setHostContext(FUnknown* context) noexcept = 0;

  protected:
    ~IPluginFactory3() = default;  // never deleted through an interface
};

// ---- streams and the host application -------------------------------------------------------
constexpr int32_t kIBSeekSet = 0;
constexpr int32_t kIBSeekCur = 1;
constexpr int32_t kIBSeekEnd = 2;

class IBStream : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
    // done may be null; a read may deliver fewer bytes than asked, 0 at the end.
    virtual tresult read(void* buffer, int32_t numBytes, int32_t* numBytesRead) noexcept = 0;
    virtual tresult write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) noexcept = 0;
    virtual tresult seek(int64_t pos, int32_t mode, int64_t* result) noexcept = 0;
    virtual tresult tell(int64_t* pos) noexcept = 0;

  protected:
    ~IBStream() = default;  // never deleted through an interface
};

class IHostApplication : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
    virtual tresult getName(String128 name) noexcept = 0;
    virtual tresult createInstance(TUID cid, TUID iid, void** obj) noexcept = 0;

  protected:
    ~IHostApplication() = default;  // never deleted through an interface
};

// ---- module entry points --------------------------------------------------------------------
extern "C" {
typedef IPluginFactory* (*GetPluginFactoryProc)();
typedef bool (*ModuleEntryProc)(void* libraryHandle);  // Linux, required
typedef bool (*ModuleExitProc)();                      // Linux, required
typedef bool (*InitDllProc)();                         // Windows, optional
typedef bool (*ExitDllProc)();                         // Windows, optional
}

// ---- layout checks (x86-64, both platforms) -------------------------------------------------
static_assert(sizeof(void*) == 8, "the VST 3 layout below is the 64-bit one");
static_assert(sizeof(char16) == 2 && sizeof(bool) == 1);
static_assert(sizeof(Uid) == 16);
// The byte order on a worked example (IComponent's ID, E831FF31 F2D54301 928EBBEE 25697802).
#ifdef _WIN32
static_assert(MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[0] == '\x31' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[4] == '\xD5' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[6] == '\x01' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[8] == '\x92');
#else
static_assert(MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[0] == '\xE8' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[4] == '\xF2' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[7] == '\x01' &&
              MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802).bytes[8] == '\x92');
#endif
static_assert(sizeof(FUnknown) == 8);

static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4);
static_assert(offsetof(PFactoryInfo, url) == 64);
static_assert(offsetof(PFactoryInfo, email) == 320);
static_assert(offsetof(PFactoryInfo, flags) == 448);

static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4);
static_assert(offsetof(PClassInfo, cardinality) == 16);
static_assert(offsetof(PClassInfo, category) == 20);
static_assert(offsetof(PClassInfo, name) == 52);

static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4);
static_assert(offsetof(PClassInfo2, classFlags) == 116);
static_assert(offsetof(PClassInfo2, subCategories) == 120);
static_assert(offsetof(PClassInfo2, vendor) == 248);
static_assert(offsetof(PClassInfo2, version) == 312);
static_assert(offsetof(PClassInfo2, sdkVersion) == 376);

static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4);
static_assert(offsetof(PClassInfoW, name) == 52);
static_assert(offsetof(PClassInfoW, classFlags) == 180);
static_assert(offsetof(PClassInfoW, subCategories) == 184);
static_assert(offsetof(PClassInfoW, vendor) == 312);
static_assert(offsetof(PClassInfoW, version) == 440);
static_assert(offsetof(PClassInfoW, sdkVersion) == 568);

}  // namespace vst3
