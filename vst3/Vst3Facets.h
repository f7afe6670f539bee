// IComponent and IEditController both declare setState and getState with one signature, so one
// object that is both cannot tell the component's state from the controller's by overriding them.
// These two thin bases give the four calls their own names; they add no slot to either interface.
#pragma once

#include "abi/Vst3Abi.h"

class Vst3ComponentFacet : public vst3::IComponent {
  public:
    vst3::tresult setState(vst3::IBStream* state) noexcept final { return SetComponentState(state); }
    vst3::tresult getState(vst3::IBStream* state) noexcept final { return GetComponentState(state); }

  protected:
    ~Vst3ComponentFacet() = default;
    virtual vst3::tresult SetComponentState(vst3::IBStream* state) noexcept = 0;
    virtual vst3::tresult GetComponentState(vst3::IBStream* state) noexcept = 0;
};

class Vst3ControllerFacet : public vst3::IEditController {
  public:
    vst3::tresult setState(vst3::IBStream* state) noexcept final { return SetControllerState(state); }
    vst3::tresult getState(vst3::IBStream* state) noexcept final { return GetControllerState(state); }

  protected:
    ~Vst3ControllerFacet() = default;
    virtual vst3::tresult SetControllerState(vst3::IBStream* state) noexcept = 0;
    virtual vst3::tresult GetControllerState(vst3::IBStream* state) noexcept = 0;
};
