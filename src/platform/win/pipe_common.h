#pragma once
// What the local-socket "named pipes" share. A pipe name is a socket file in the user's runtime
// folder; each Write is one message, framed on the byte stream by a 4-byte length, and a received
// message is delivered whole. Only processes of the same user can connect.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/event.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"

namespace tv {

TV_DECLARE_EXCEPTION(EPipeException, Exception);  // a property set to a value it cannot take now

inline constexpr std::string_view kInvalidPipeName = "Invalid pipe name specified!";
inline constexpr std::string_view kServerActiveError = "Cannot change property while server is active!";
inline constexpr std::string_view kClientConnectedError = "Cannot change property when client is connected!";

inline constexpr std::string_view kDefaultPipeName = "PipeServer";
inline constexpr size_t kMaxPipeNameLength = 63;
// Messages a server sends are at most this long; longer ones are refused.
inline constexpr size_t kMaxServerMessage = 65535;
// No message of either side may exceed this; a peer announcing a longer one is cut off.
inline constexpr size_t kMaxPipeMessage = 64u * 1024u * 1024u;
// Above this many connected clients a server stops accepting until one leaves.
inline constexpr int kMaxPipeClients = 100;

enum TPipeContext : uint8_t { pcListener, pcWorker };
TV_ENUM_INFO(TPipeContext, "pcListener", "pcWorker");

// Every event runs on the main thread with the component as sender. Pipe is the connection's
// handle; ErrorCode is the system's error number.
using TOnPipeConnect = TEvent<void(TObject* Sender, uint32_t Pipe)>;
using TOnPipeDisconnect = TEvent<void(TObject* Sender, uint32_t Pipe)>;
using TOnPipeMessage = TEvent<void(TObject* Sender, uint32_t Pipe, TStream* Stream)>;
using TOnPipeSent = TEvent<void(TObject* Sender, uint32_t Pipe, uint32_t Size)>;
using TOnPipeError = TEvent<void(TObject* Sender, uint32_t Pipe, TPipeContext Context, int32_t ErrorCode)>;

// Raises EPipeException kInvalidPipeName for an empty name, one longer than kMaxPipeNameLength or
// one holding "\", "/" or a NUL (a name must never lead out of the socket folder).
void CheckPipeName(std::string_view name);

// The folder that holds the sockets: $XDG_RUNTIME_DIR when it names a folder, else
// "/tmp/tollvane-<uid>", created private to the user. Raises EInOutError when that folder cannot be
// made or belongs to someone else or is open to others.
std::string DefaultPipeFolder();

// The whole bytes of a stream, read from its start.
std::string StreamBytes(TStream& stream);

}  // namespace tv
