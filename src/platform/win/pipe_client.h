#pragma once
// The client side of a local-socket pipe: connects to a server's pipe name on this machine and
// exchanges messages with it. One I/O thread per connection; every event is delivered on the main
// thread in the order it happened.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/component.h"
#include "platform/win/pipe_common.h"

namespace tv {

class TPipeClient : public TComponent {
    TV_CLASS(TPipeClient, TComponent)
public:
    explicit TPipeClient(TComponent* AOwner = nullptr);
    ~TPipeClient() override;

    const std::string& PipeName() const { return fPipeName; }
    void SetPipeName(const std::string& value);
    // Empty, "." or this computer's name (in any letter case) is this machine; a server elsewhere
    // cannot be reached and Connect answers false.
    const std::string& ServerName() const { return fServerName; }
    void SetServerName(const std::string& value);
    // The folder that holds the server's socket; empty means DefaultPipeFolder().
    const std::string& SocketFolder() const { return fSocketFolder; }
    void SetSocketFolder(const std::string& value);

    // When not connected: connects, waiting up to `waitMs` while the server is too busy to accept.
    // No server listening on the name gives false at once. True when already connected.
    bool Connect(int waitMs);
    // Ends the connection; messages still queued are sent first (for at most a second). An
    // OnPipeDisconnect follows unless the client is being destroyed.
    void Disconnect(bool canWait = true);
    bool Connected() const { return fConnected; }
    // The handle of the current connection, 0 when not connected.
    uint32_t Pipe() const { return fPipe; }

    // When connected, queues a copy of the message (of the whole stream, from its start) and
    // answers true; otherwise, or for a message longer than kMaxPipeMessage, false.
    bool Write(const void* buffer, size_t count);
    bool Write(TStream& stream);

    TOnPipeDisconnect OnPipeDisconnect;
    TOnPipeMessage OnPipeMessage;
    TOnPipeSent OnPipeSent;
    TOnPipeError OnPipeError;

    struct State;  // shared with the I/O thread

    // Called on the main thread when the I/O thread of connection `pipe` has ended by itself.
    void WorkerEnded(uint32_t pipe);

private:
    void Stop(bool destroying);

    std::string fPipeName{kDefaultPipeName};
    std::string fServerName;
    std::string fSocketFolder;
    bool fConnected = false;
    uint32_t fPipe = 0;
    std::shared_ptr<State> fState;
};

}  // namespace tv
