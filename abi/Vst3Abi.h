// The VST 3 binary interface the module and its test host use, in one include: the object model
// and factory, processing, the controller side and the editor.
#pragma once

#include "abi/Vst3Base.h"
#include "abi/Vst3Processing.h"
#include "abi/Vst3Controller.h"
#include "abi/Vst3View.h"
