#pragma once
// What every job reports into: the event tree of the progress window. Engines, the job commands
// and the archiving hold an IEventSink; the window's model implements it, tests use it directly or
// record through their own implementation. Levels are passed as plain integers.

#include <string>
#include <string_view>

namespace tv {

// The report levels; a line's level is also its state picture. Event items carry state 1.
enum TEventLevel : int {
    elInfo = 1,       // logged at info, unchanged
    elError = 2,      // logged at error, a blank before the message; marks the item as failed
    elWarning = 3,    // logged at warning, a blank before; marks the item as warned
    elResult = 4,     // shown only
    elExcessive = 8,  // logged at debug, a blank before
    elDebug = 9,      // logged at debug, unchanged
};

class IEventSink {
public:
    virtual ~IEventSink() = default;

    // Opens an item; a nesting item becomes the parent of what follows until it is closed.
    virtual void addEventItem(std::string_view message, bool nested) = 0;
    // Returns to the item that encloses the current one.
    virtual void CloseNestedEventItem() = 0;
    // A line under the current item (at the top level when there is none).
    virtual void reportError(std::string_view message, int level) = 0;
    // A line that carries a file; the message is logged at debug whatever the level.
    virtual void reportFilename(std::string_view message, int level, std::string_view fileName) = 0;
    // A line that is not logged; levels 2 and 3 mark the items without showing the markers.
    virtual void logOrderMessage(std::string_view message, int level) = 0;
    // The step display: the progress bar's maximum (position back to 0), one step further, and the
    // step caption with its picture.
    virtual void setEventCount(int count) = 0;
    virtual void StepProgress() = 0;
    virtual void nextEvent(std::string_view title, int picture) = 0;
    // A top-level item kept as the root item; an empty text forgets it.
    virtual void setRootItem(std::string_view text) = 0;
    virtual void Clear() = 0;
    // The job is over: the window may be closed.
    virtual void Complete() = 0;
    // The current item's state back to 1.
    virtual void MarkFinished() = 0;
    virtual void setMessage(std::string_view text) = 0;
};

}  // namespace tv
