#include "core/app_startup.h"

#include <chrono>
#include <thread>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/exception.h"
#include "platform/win/pipe_common.h"
#include "platform/win/std_input.h"

namespace tv {
namespace {

std::unique_ptr<TAppStartup> gStartup;

// Runs `body`; a failure is raised again with `prefix` before its message.
template <class F>
auto Prefixed(std::string_view prefix, F body) -> decltype(body()) {
    try {
        return body();
    } catch (const std::exception& e) {
        throw Exception(std::string(prefix) + e.what());
    }
}

}  // namespace

TAppStartup::TAppStartup(const std::vector<std::string>& params) {
    for (const auto& p : params) fParams.Add(p);
    fClient = Prefixed(kErrCreatePipeClient, [] {
        auto client = std::make_unique<TPipeClient>();
        client->SetPipeName(std::string(kHandOffPipeName));
        return client;
    });
    ReadStdIn = [](std::string& text) { tv::ReadStdIn(text); };
}

std::string TAppStartup::HandOffMessage(std::string_view stdInText) const {
    std::string text = std::string(kHandOffMarker) + "\r\n" + fParams.Text();
    if (!stdInText.empty()) text += std::string(kHandOffStdIn) + std::string(stdInText);
    return text;
}

bool TAppStartup::SendParamsToPrevInst() {
    return Prefixed(kErrSendParams, [this] {
        std::string stdInText;
        if (ReadStdIn) ReadStdIn(stdInText);
        std::string message = HandOffMessage(stdInText);
        bool queued = fClient->Write(message.data(), message.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(SendWaitMs));
        return queued;
    });
}

bool TAppStartup::SwitchToPrevInst() {
    if (!fClient) return false;
    return Prefixed(kErrSwitchToPrevInst, [this] { return SendParamsToPrevInst(); });
}

bool TAppStartup::HandleIncommingParams(TStream& stream) {
    return Prefixed(kErrHandleIncomming, [&] {
        TStringList lines;
        lines.SetText(DecodeTextBytes(StreamBytes(stream)));
        stream.SetPosition(0);
        bool marked = false;
        for (int i = 0; i < lines.Count() && !marked; ++i)
            marked = SameTextAscii(lines.Strings(i), kHandOffMarker);
        if (!marked) return false;
        for (int i = 0; i < lines.Count(); ++i)
            if (lines.Strings(i) != kHandOffMarker) fParams.Add(lines.Strings(i));
        EnsureApplicationRestore();
        return true;
    });
}

void TAppStartup::EnsureApplicationRestore() {
    Prefixed(kErrEnsureRestore, [this] {
        if (RestoreApplication) RestoreApplication();
    });
}

void InitAppStartup(const std::vector<std::string>& params) {
    gStartup = std::make_unique<TAppStartup>(params);
}

TAppStartup& AppStartup() {
    if (!gStartup) gStartup = std::make_unique<TAppStartup>();
    return *gStartup;
}

}  // namespace tv
