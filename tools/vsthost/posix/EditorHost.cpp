// `vsthost editor` without a native editor window (Linux, until editors get an X11 window).
#include "tools/vsthost/EditorHost.h"

namespace {

class OffscreenEditorHost : public EditorHost {
  public:
    bool Open(HostedEffect&, int, int, std::string& error) override {
        error = "editors cannot be opened in a window on this platform yet";
        return false;
    }
    void Tick(int) override {}
    bool Perform(const EditorStep&, std::string&) override { return false; }
    bool Capture(Screenshot&, std::string&) override { return false; }
    void Close() override {}
    const char* Description() const override { return "offscreen"; }
};

}  // namespace

std::unique_ptr<EditorHost> CreateEditorHost() {
    return std::make_unique<OffscreenEditorHost>();
}
