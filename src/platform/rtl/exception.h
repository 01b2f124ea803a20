#pragma once
// The root of every exception the system raises on purpose: a class-library style exception with a
// message text. Subsystems derive their own (`EAdkException`, `EPSCompilerException` ...) from it,
// and handlers report `Message` into the event tree or the log.

#include <stdexcept>
#include <string>

namespace tv {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    // The class name as the class library would report it ("EConvertError"), for logs and scripts.
    virtual const char* ClassName() const noexcept { return "Exception"; }

    std::string Message;
};

// Declares an exception class `Name` derived from `Base` that reports its own class name.
#define TV_DECLARE_EXCEPTION(Name, Base)                                        \
    class Name : public Base {                                                  \
    public:                                                                     \
        using Base::Base;                                                       \
        const char* ClassName() const noexcept override { return #Name; }      \
    }

// The run-time library's own failures, with the class names scripts and logs see.
TV_DECLARE_EXCEPTION(EConvertError, Exception);      // a text that is not a number or date
TV_DECLARE_EXCEPTION(EStringListError, Exception);   // list index out of bounds, duplicates
TV_DECLARE_EXCEPTION(EStreamError, Exception);       // a short read or write
TV_DECLARE_EXCEPTION(EFOpenError, EStreamError);     // a file that cannot be opened
TV_DECLARE_EXCEPTION(EFCreateError, EStreamError);   // a file that cannot be created
TV_DECLARE_EXCEPTION(EInOutError, Exception);        // file system operations
TV_DECLARE_EXCEPTION(EAbort, Exception);             // a silent abort of the current operation

}  // namespace tv
