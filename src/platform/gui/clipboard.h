#pragma once
// The desktop's clipboard as the class library offers it: the text it holds. Main thread only.

#include <string>

namespace tv {

class TClipboard {
public:
    // The text on the clipboard; empty when it holds none.
    std::string AsText() const;
    // Puts `value` on the clipboard in place of what it held.
    void SetAsText(const std::string& value);
    // Whether the clipboard holds a text (an empty one counts).
    bool HasText() const;
    void Clear();
};

// The process's clipboard.
TClipboard& Clipboard();

}  // namespace tv
