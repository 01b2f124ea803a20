#pragma once
// The kit's process-wide state: the handle registry, the open company and the call log. Every
// export takes the lock, so calls from several threads are carried out one at a time.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "company.h"
#include "structures.h"

namespace tv::kit {

struct KitState {
    std::mutex lock;
    Handles handles;
    std::unique_ptr<Company> company;
    std::FILE* log = nullptr;  // the call log "adk.log" in the company folder, when asked for
    std::string lastMessage;   // what the last failure was about, for the log
    ~KitState();
};

KitState& State();

// The exception a fault-injection rule with a message throws out of the export it names.
class InjectedFault : public std::exception {
public:
    explicit InjectedFault(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace tv::kit
