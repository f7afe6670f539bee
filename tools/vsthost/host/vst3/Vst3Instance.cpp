#include "tools/vsthost/host/vst3/Vst3Instance.h"

#include "tools/vsthost/host/vst3/MemoryStream.h"

bool Vst3Instance::Create(vst3::IPluginFactory* factory, const char* classId, std::string& error) {
    Close();
    void* obj = nullptr;
    if (!factory || factory->createInstance(classId, vst3::IComponent::iid.data(), &obj) != vst3::kResultOk ||
        !obj) {
        error = "the factory made no component";
        return false;
    }
    component = static_cast<vst3::IComponent*>(obj);
    if (component->initialize(&application) != vst3::kResultOk) {
        error = "the component refused initialize";
        component->release();
        component = nullptr;
        return false;
    }
    processor = Query<vst3::IAudioProcessor>(component);
    if (!processor) {
        error = "the component has no audio processor";
        Close();
        return false;
    }
    if (!MakeController(factory, error)) {
        Close();
        return false;
    }
    units = Query<vst3::IUnitInfo>(controller);
    controller->setComponentHandler(&handler);
    SyncController();
    return true;
}

bool Vst3Instance::MakeController(vst3::IPluginFactory* factory, std::string& error) {
    controller = Query<vst3::IEditController>(component);
    single = controller != nullptr;
    if (single) return true;
    vst3::TUID cid{};
    void* obj = nullptr;
    if (component->getControllerClassId(cid) != vst3::kResultOk ||
        factory->createInstance(cid, vst3::IEditController::iid.data(), &obj) != vst3::kResultOk || !obj) {
        error = "the component has no controller";
        return false;
    }
    controller = static_cast<vst3::IEditController*>(obj);
    controllerInitialized = controller->initialize(&application) == vst3::kResultOk;
    if (!controllerInitialized) error = "the controller refused initialize";
    return controllerInitialized;
}

void Vst3Instance::SyncController() {
    MemoryStream state;
    if (component->getState(&state) != vst3::kResultOk) return;
    state.Rewind();
    controller->setComponentState(&state);
}

bool Vst3Instance::Start(double sampleRate, int32_t maxBlock, int32_t sampleSize) {
    Stop();
    vst3::ProcessSetup setup{vst3::kRealtime, sampleSize, maxBlock, sampleRate};
    if (processor->setupProcessing(setup) != vst3::kResultOk) return false;
    if (component->setActive(1) != vst3::kResultOk) return false;
    started = true;
    processor->setProcessing(1);
    return true;
}

void Vst3Instance::Stop() {
    if (!started) return;
    processor->setProcessing(0);
    component->setActive(0);
    started = false;
}

void Vst3Instance::Close() {
    if (!component) return;
    Stop();
    if (units) units->release();
    if (controller) {
        controller->setComponentHandler(nullptr);
        if (controllerInitialized) controller->terminate();
        controller->release();
    }
    if (processor) processor->release();
    component->terminate();
    component->release();
    units = nullptr;
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
    single = controllerInitialized = false;
}
