#include "editor/NewEditorWindow.h"

#include "editor/win/IEditorWindow.h"

IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance) {
    auto* window = new IEditorWindow(plug, width, height, frameRate);
    window->instance = instance;
    return window;
}
