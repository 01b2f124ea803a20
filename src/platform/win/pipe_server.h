#pragma once
// The server side of a local-socket pipe: listens on its pipe name while Active and serves any
// number of clients. One I/O thread per active server does all the socket work; every event is
// delivered on the main thread (through the main-thread queue) in the order it happened.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/win/pipe_common.h"

namespace tv {

class TPipeServer : public TComponent {
    TV_CLASS(TPipeServer, TComponent)
public:
    explicit TPipeServer(TComponent* AOwner = nullptr);
    ~TPipeServer() override;

    bool Active() const { return fActive; }
    // Activating creates the socket and starts listening; when that fails the server stays inactive
    // and OnPipeError reports the error with pcListener. Deactivating closes every connection
    // (without disconnect events) and removes the socket.
    void SetActive(bool value);
    const std::string& PipeName() const { return fPipeName; }
    void SetPipeName(const std::string& value);
    // The folder that holds the socket; empty means DefaultPipeFolder().
    const std::string& SocketFolder() const { return fSocketFolder; }
    void SetSocketFolder(const std::string& value);

    int ClientCount() const;
    // The handle of the client at `index` (0 for an index out of range).
    uint32_t Clients(int index) const;

    // Queues a copy of the message for one client. False when `pipe` is not a connected client or
    // the message is longer than kMaxServerMessage.
    bool Write(uint32_t pipe, const void* buffer, size_t count);
    bool Write(uint32_t pipe, TStream& stream);
    // Write to every client, from the last to the first, stopping at the first failure. True when
    // there is no client.
    bool Broadcast(const void* buffer, size_t count);

    TOnPipeSent OnPipeSent;
    TOnPipeConnect OnPipeConnect;
    TOnPipeDisconnect OnPipeDisconnect;
    TOnPipeMessage OnPipeMessage;
    TOnPipeError OnPipeError;

    struct State;  // shared with the I/O thread

private:
    void Activate();
    void Deactivate();

    bool fActive = false;
    std::string fPipeName{kDefaultPipeName};
    std::string fSocketFolder;
    std::shared_ptr<State> fState;
};

}  // namespace tv
