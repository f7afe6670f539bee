// One VST 3 plug-in instance seen from the host, made as a host makes it: the component from the
// factory, initialized with the host's application object; the controller found on the component
// (one object) or created from its controller class (two), initialized and given the component
// handler, then synced from the component's state. The destructor stops, terminates and releases
// everything in the order hosts use; destroy it before the module.
#pragma once

#include <string>

#include "abi/Vst3Abi.h"
#include "tools/vsthost/host/vst3/HostComponentHandler.h"

class Vst3Instance {
  public:
    Vst3Instance(HostApplication& application, HostComponentHandler& handler)
        : application(application), handler(handler) {}
    ~Vst3Instance() { Close(); }
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    bool Create(vst3::IPluginFactory* factory, const char* classId, std::string& error);
    void Close();

    vst3::IComponent* Component() const { return component; }
    vst3::IAudioProcessor* Processor() const { return processor; }
    vst3::IEditController* Controller() const { return controller; }
    vst3::IUnitInfo* Units() const { return units; }
    // Whether the component is its own controller.
    bool SingleObject() const { return single; }

    // setupProcessing, then setActive and setProcessing true; false when the plug-in refuses.
    bool Start(double sampleRate, int32_t maxBlock, int32_t sampleSize);
    // setProcessing and setActive false, when started.
    void Stop();

  private:
    template <class Interface>
    Interface* Query(vst3::FUnknown* object) {
        void* obj = nullptr;
        if (!object || object->queryInterface(Interface::iid.data(), &obj) != vst3::kResultOk) return nullptr;
        return static_cast<Interface*>(obj);
    }
    bool MakeController(vst3::IPluginFactory* factory, std::string& error);
    void SyncController();

    HostApplication& application;
    HostComponentHandler& handler;
    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    vst3::IUnitInfo* units = nullptr;
    bool single = false;
    bool controllerInitialized = false;
    bool started = false;
};
