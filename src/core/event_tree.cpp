#include "core/event_tree.h"

#include "core/app_logger.h"
#include "platform/win/main_thread.h"

namespace tv {
namespace {

// `prefix` and the message in one string (written so, GCC 12 does not misread the copy).
std::string Prefixed(std::string_view prefix, std::string_view message) {
    std::string text;
    text.reserve(prefix.size() + message.size());
    text.append(prefix).append(message);
    return text;
}

void LogLine(std::string_view message, int level) {
    TAppLogger& log = AppLogger();
    switch (level) {
        case elInfo:
            log.LogInfo(message);
            break;
        case elError:
            log.LogError(Prefixed(" ", message));
            break;
        case elWarning:
            log.LogWarn(Prefixed(" ", message));
            break;
        case elExcessive:
            log.LogDebug(Prefixed(" ", message));
            break;
        case elDebug:
            log.LogDebug(message);
            break;
        default:  // results and unknown levels are shown only
            break;
    }
}

}  // namespace

TEventTree::TEventTree(std::function<void()> pump) : fPump(std::move(pump)) {}

void TEventTree::Pump() {
    if (fPump)
        fPump();
    else
        ProcessMessages();
}

void TEventTree::Changed(const TEventNode& node) {
    if (fView) fView->NodeChanged(node);
}

void TEventTree::Status() {
    if (fView) fView->StatusChanged();
}

void TEventTree::addEventItem(std::string_view message, bool nested) {
    auto node = std::make_unique<TEventNode>();
    node->Text = std::string(message);
    node->IsItem = true;
    node->Nest = nested;
    node->State = elInfo;
    TEventNode* parent = nullptr;
    if (!fTop.empty() && fCurrent) parent = fCurrent->Nest ? fCurrent : fCurrent->Parent;
    node->Parent = parent;
    auto& siblings = parent ? parent->Children : fTop;
    siblings.push_back(std::move(node));
    fCurrent = siblings.back().get();
    if (fView) fView->NodeAdded(*fCurrent);
    AppLogger().LogInfo(message);
    Pump();
}

void TEventTree::CloseNestedEventItem() {
    if (!fCurrent) return;
    if (!fCurrent->Parent)
        fCurrent = nullptr;
    else if (fCurrent->Nest)
        fCurrent = fCurrent->Parent;
    else
        fCurrent = fCurrent->Parent->Parent;
}

TEventNode& TEventTree::AddLine(std::string_view message, int level) {
    auto node = std::make_unique<TEventNode>();
    node->Text = std::string(message);
    node->State = level;
    node->Parent = fCurrent;
    auto& siblings = fCurrent ? fCurrent->Children : fTop;
    siblings.push_back(std::move(node));
    TEventNode& line = *siblings.back();
    if (fView) fView->NodeAdded(line);
    return line;
}

void TEventTree::Mark(int level, std::string_view message, bool showMarkers) {
    if (level != elError && level != elWarning) return;
    if (showMarkers) {
        bool& marker = level == elError ? fErrorsShown : fWarningsShown;
        if (!marker) {
            marker = true;
            Status();
        }
    }
    // An item that failed keeps showing it: neither a warning under it nor one under a sibling
    // turns the error back into a warning.
    if (!fCurrent || fCurrent->State == elError) {
        if (fCurrent && level == elError)
            for (TEventNode* a = fCurrent->Parent; a; a = a->Parent)
                if (a->State != elError) {
                    a->State = elError;
                    Changed(*a);
                }
        return;
    }
    bool changed = false;
    if (level == elError || fCurrent->Text.size() < kMaxMarkedItemText) {
        fCurrent->Text += " - ";
        fCurrent->Text += message;
        changed = true;
    }
    if (fCurrent->State != level) {
        fCurrent->State = level;
        changed = true;
    }
    if (changed) Changed(*fCurrent);
    for (TEventNode* a = fCurrent->Parent; a; a = a->Parent)
        if (a->State != elError && a->State != level) {
            a->State = level;
            Changed(*a);
        }
}

void TEventTree::reportError(std::string_view message, int level) {
    LogLine(message, level);
    AddLine(message, level);
    Mark(level, message, true);
    Pump();
}

void TEventTree::reportFilename(std::string_view message, int level, std::string_view fileName) {
    AppLogger().LogDebug(Prefixed("  ", message));
    AddLine(message, level).FileName = std::string(fileName);
    Mark(level, message, true);
    Pump();
}

void TEventTree::logOrderMessage(std::string_view message, int level) {
    AddLine(message, level);
    Mark(level, message, false);
    Pump();
}

void TEventTree::setEventCount(int count) {
    fProgressMax = count;
    fProgressPosition = 0;
    Status();
    Pump();
}

void TEventTree::StepProgress() {
    if (fProgressPosition < fProgressMax) {
        ++fProgressPosition;
        Status();
    }
}

void TEventTree::nextEvent(std::string_view title, int picture) {
    fStepPicture = picture;
    fStepCaption = std::string(title);
    Status();
    Pump();
}

void TEventTree::setRootItem(std::string_view text) {
    if (text.empty()) {
        fRoot = nullptr;
        return;
    }
    AppLogger().LogInfo(text);
    auto node = std::make_unique<TEventNode>();
    node->Text = std::string(text);
    node->IsItem = true;
    fTop.push_back(std::move(node));
    fRoot = fTop.back().get();
    if (fView) fView->NodeAdded(*fRoot);
    Pump();
}

void TEventTree::Clear() {
    fCurrent = nullptr;
    fRoot = nullptr;
    fTop.clear();
    fErrorsShown = false;
    fWarningsShown = false;
    fProgressPosition = 0;
    if (fView) {
        fView->TreeCleared();
        fView->StatusChanged();
    }
    Pump();
}

void TEventTree::Complete() {
    fCloseEnabled = true;
    Status();
}

void TEventTree::MarkFinished() {
    if (!fCurrent) return;
    fCurrent->State = elInfo;
    Changed(*fCurrent);
}

void TEventTree::setMessage(std::string_view) {}

}  // namespace tv
