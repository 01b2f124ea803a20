// A plug-in that misbehaves with its widgets: its panel is left in the host window when the instance
// goes. "plugin_test_stray" only forgets its panel; "plugin_test_stray_held" lets the panel hold a
// reference to the instance until the panel goes, so the instance outlives the host's release.

#include <QWidget>

#include "plugin_object.h"

namespace {

using namespace tv::plugin;

class TStrayPanel : public QWidget {
public:
    TStrayPanel(QWidget* parent, IInterface* held) : QWidget(parent), held_(held) {
        setObjectName("StrayPanel");
        if (held_) held_->AddRef();
    }
    ~TStrayPanel() override {
        if (held_) held_->Release();
    }

private:
    IInterface* held_;
};

template <bool kHeld>
class TStray : public TPluginObject<IHYVisualPlugin> {
public:
    void Init() override {}
    void ShowParented(QWidget* parent) override { new TStrayPanel(parent, kHeld ? this : nullptr); }
    void BeforeStep() override {}
};

}  // namespace

TV_PLUGIN_MODULE({"plugin_test_stray", &Create<TStray<false>>},
                 {"plugin_test_stray_held", &Create<TStray<true>>})
