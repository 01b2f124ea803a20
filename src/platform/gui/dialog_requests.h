#pragma once
// The message boxes behind the dialog service's question and information calls, shared by the
// services of this library.

#include <string_view>

#include "platform/rtl/dialog_service.h"

namespace tv {

inline TMessageBoxRequest YesNoRequest(std::string_view text, std::string_view caption,
                                       bool nonInteractiveAnswer) {
    TMessageBoxRequest request;
    request.Text = std::string(text);
    request.Caption = std::string(caption);
    request.Buttons = TMsgButtons::YesNo;
    request.Icon = TMsgIcon::Question;
    request.NonInteractiveAnswer = nonInteractiveAnswer ? TMsgAnswer::Yes : TMsgAnswer::No;
    return request;
}

inline TMessageBoxRequest InformationRequest(std::string_view text, std::string_view caption) {
    TMessageBoxRequest request;
    request.Text = std::string(text);
    request.Caption = std::string(caption);
    request.Icon = TMsgIcon::Information;
    return request;
}

}  // namespace tv
