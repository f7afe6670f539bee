// The window-less editor host: the plug-in's editor is driven through our plug-ins'
// vendor-specific extension, with the same input a Windows window would receive, its timer ticked
// by the host, and the picture is its back buffer. For machines without a display, for
// `vsthost editor --offscreen`, and where a plug-in cannot open its editor in a window.
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/editor/EditorHost.h"

// why: the reason the editor runs offscreen, shown in the report ("--offscreen").
// [UI thread] like every EditorHost call.
std::unique_ptr<EditorHost> CreateOffscreenEditorHost(const std::string& why);
