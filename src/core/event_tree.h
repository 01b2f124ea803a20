#pragma once
// The event tree behind the progress window, without any widget: items and report lines, the
// failed and warned marking of the current item and its ancestors, the markers, the step display,
// the logging of each level, and the message pump after each report. A view (TProgressForm)
// watches it and mirrors every change.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/event_sink.h"

namespace tv {

inline constexpr std::string_view kEventWindowCaption = "Händelseförlopp";
inline constexpr std::string_view kInitialStepCaption = "Ansluter till Visma Administration";
inline constexpr std::string_view kWarningsText = "Det finns varningar";
inline constexpr std::string_view kErrorsText = "Det finns fel";
inline constexpr std::string_view kCloseCaption = "&Stäng";
inline constexpr std::string_view kCancelCaption = "Avbryt";
// A warning extends its item's text only while the text is shorter than this; later warnings add
// their lines only. One warning per record would otherwise make each report copy an ever longer
// text into the window.
inline constexpr size_t kMaxMarkedItemText = 1024;

// One item or line of the tree.
struct TEventNode {
    std::string Text;
    int State = elInfo;    // the state picture: 1 for items, the level for lines
    bool IsItem = false;   // an event item (else a report line)
    bool Nest = false;     // an item that opens a nesting level
    std::string FileName;  // the file a reportFilename line carries, else empty
    TEventNode* Parent = nullptr;
    std::vector<std::unique_ptr<TEventNode>> Children;
};

// What a view hears of the model. Nodes stay where they are until the tree is cleared.
class IEventTreeView {
public:
    virtual ~IEventTreeView() = default;
    virtual void NodeAdded(const TEventNode& node) = 0;
    // Text or state of a node changed.
    virtual void NodeChanged(const TEventNode& node) = 0;
    virtual void TreeCleared() = 0;
    // Markers, step caption and picture, progress bar or close button changed.
    virtual void StatusChanged() = 0;
};

class TEventTree : public IEventSink {
public:
    // `pump` processes pending messages after most operations; empty: the application's
    // ProcessMessages.
    explicit TEventTree(std::function<void()> pump = {});

    void addEventItem(std::string_view message, bool nested) override;
    void CloseNestedEventItem() override;
    void reportError(std::string_view message, int level) override;
    void reportFilename(std::string_view message, int level, std::string_view fileName) override;
    void logOrderMessage(std::string_view message, int level) override;
    void setEventCount(int count) override;
    void StepProgress() override;
    void nextEvent(std::string_view title, int picture) override;
    void setRootItem(std::string_view text) override;
    void Clear() override;
    void Complete() override;
    void MarkFinished() override;
    void setMessage(std::string_view text) override;

    const std::vector<std::unique_ptr<TEventNode>>& Items() const { return fTop; }
    const TEventNode* CurrentItem() const { return fCurrent; }
    const TEventNode* RootItem() const { return fRoot; }
    bool ErrorsShown() const { return fErrorsShown; }
    bool WarningsShown() const { return fWarningsShown; }
    bool CloseEnabled() const { return fCloseEnabled; }
    // Nothing enables the cancel button.
    bool CancelEnabled() const { return false; }
    const std::string& StepCaption() const { return fStepCaption; }
    int StepPicture() const { return fStepPicture; }
    int ProgressMax() const { return fProgressMax; }
    int ProgressPosition() const { return fProgressPosition; }

    void SetView(IEventTreeView* view) { fView = view; }

private:
    TEventNode& AddLine(std::string_view message, int level);
    void Mark(int level, std::string_view message, bool showMarkers);
    void Changed(const TEventNode& node);
    void Status();
    void Pump();

    std::function<void()> fPump;
    IEventTreeView* fView = nullptr;
    std::vector<std::unique_ptr<TEventNode>> fTop;
    TEventNode* fCurrent = nullptr;
    TEventNode* fRoot = nullptr;
    bool fErrorsShown = false;
    bool fWarningsShown = false;
    bool fCloseEnabled = false;
    std::string fStepCaption{kInitialStepCaption};
    int fStepPicture = 0;
    int fProgressMax = 100;
    int fProgressPosition = 0;
};

}  // namespace tv
