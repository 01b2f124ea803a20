#pragma once
// An event sink that writes down what a job reports, one line per call, indented two blanks per
// open nesting item: "+ text" a nesting item, "- text" a plain item, "[level] text" a line,
// "step text (picture)" and "count n" the step display, and with RecordSteps "advance" for each
// step of the progress bar. Tests compare these lines exactly.

#include <string>
#include <string_view>
#include <vector>

#include "core/event_sink.h"

namespace tv::test {

class TRecordingSink : public IEventSink {
public:
    std::vector<std::string> Lines;
    int Depth = 0;
    bool RecordSteps = false;

    void addEventItem(std::string_view message, bool nested) override {
        Add(std::string(nested ? "+ " : "- ") + std::string(message));
        if (nested) ++Depth;
    }
    void CloseNestedEventItem() override {
        if (Depth > 0) --Depth;
    }
    void reportError(std::string_view message, int level) override {
        Add("[" + std::to_string(level) + "] " + std::string(message));
    }
    void reportFilename(std::string_view message, int level, std::string_view fileName) override {
        Add("[" + std::to_string(level) + "] " + std::string(message) + " <" + std::string(fileName) + ">");
    }
    void logOrderMessage(std::string_view message, int level) override {
        Add("(" + std::to_string(level) + ") " + std::string(message));
    }
    void setEventCount(int count) override { Add("count " + std::to_string(count)); }
    void StepProgress() override {
        if (RecordSteps) Add("advance");
    }
    void nextEvent(std::string_view title, int picture) override {
        Add("step " + std::string(title) + " (" + std::to_string(picture) + ")");
    }
    void setRootItem(std::string_view) override {}
    void Clear() override { Lines.clear(); }
    void Complete() override {}
    void MarkFinished() override {}
    void setMessage(std::string_view) override {}

    // The lines written since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> lines = std::move(Lines);
        Lines.clear();
        return lines;
    }

private:
    void Add(std::string line) { Lines.push_back(std::string(2 * Depth, ' ') + line); }
};

// Line breaks inside reported lines written as "\r" and "\n", as expectations write them.
inline std::vector<std::string> Visible(std::vector<std::string> lines) {
    for (std::string& line : lines) {
        std::string shown;
        for (char ch : line)
            shown += ch == '\r' ? std::string("\\r") : ch == '\n' ? std::string("\\n") : std::string(1, ch);
        line = std::move(shown);
    }
    return lines;
}

}  // namespace tv::test
