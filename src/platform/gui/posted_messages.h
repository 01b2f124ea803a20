#pragma once
// The private messages of a control, posted once: a message waits on the toolkit's queue until the
// loop delivers it, and posting a number that is already waiting posts nothing more. Controls defer
// work this way (a layout after a burst of changes) instead of processing pending events.
//
//     TPostedMessages fMessages{[this](uint32_t msg) { GridMessage(msg); }, this};
//     fMessages.Post(kLayoutMessage);   // twice before the loop runs: delivered once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace tv {

class TObject;

class TPostedMessages {
public:
    // `deliver` receives each message; what it raises is reported with `sender` (the control).
    TPostedMessages(std::function<void(uint32_t)> deliver, TObject* sender);
    // Waiting messages are dropped.
    ~TPostedMessages();
    TPostedMessages(const TPostedMessages&) = delete;
    TPostedMessages& operator=(const TPostedMessages&) = delete;

    // Posts `msg` unless one of that number is waiting.
    void Post(uint32_t msg);
    // Drops the waiting message of that number, if any.
    void Remove(uint32_t msg);
    bool Waiting(uint32_t msg) const;

private:
    struct TState {
        std::function<void(uint32_t)> deliver;
        TObject* sender;
        std::map<uint32_t, uint64_t> waiting;  // number -> the post that delivers it
        uint64_t posts = 0;
    };
    std::shared_ptr<TState> fState;
};

}  // namespace tv
