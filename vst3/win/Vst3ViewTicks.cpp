// Windows: the editor window's own timer runs on the host's message loop; nothing to register.
#include "vst3/Vst3View.h"

void Vst3View::StartTicks() {}

void Vst3View::StopTicks() {}
