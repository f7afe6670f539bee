#pragma once

class IEditorGraphics;
class IPluginCore;

// The platform's editor window (IEditorWindow), closed, for plug and of the given size and frame
// rate (0 or less: 24), loading its images from the module instance. The caller attaches its
// background and controls and hands it to the plug-in with AttachEditor. Each platform folder
// defines it, so shared code needs no platform header.
IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance);
