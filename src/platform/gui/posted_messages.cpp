#include "platform/gui/posted_messages.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"

namespace tv {

TPostedMessages::TPostedMessages(std::function<void(uint32_t)> deliver, TObject* sender)
    : fState(std::make_shared<TState>()) {
    fState->deliver = std::move(deliver);
    fState->sender = sender;
}

TPostedMessages::~TPostedMessages() = default;

void TPostedMessages::Post(uint32_t msg) {
    if (fState->waiting.count(msg)) return;
    const uint64_t post = ++fState->posts;
    fState->waiting[msg] = post;
    EnsureQtApplication();
    std::weak_ptr<TState> weak = fState;
    QMetaObject::invokeMethod(
        qApp,
        [weak, msg, post] {
            const std::shared_ptr<TState> state = weak.lock();
            if (!state) return;
            auto it = state->waiting.find(msg);
            // Removed, or removed and posted again (that later post delivers it).
            if (it == state->waiting.end() || it->second != post) return;
            state->waiting.erase(it);
            try {
                state->deliver(msg);
            } catch (...) {
                // The report checks whether the control outlived its handler.
                HandleGuiException(state->sender);
            }
        },
        Qt::QueuedConnection);
}

void TPostedMessages::Remove(uint32_t msg) {
    fState->waiting.erase(msg);
}

bool TPostedMessages::Waiting(uint32_t msg) const {
    return fState->waiting.count(msg) != 0;
}

}  // namespace tv
