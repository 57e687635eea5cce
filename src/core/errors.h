// SPDX-License-Identifier: GPL-3.0-or-later
// The program's exception types: a general error carrying a message, conversion errors, and the
// trace exception raised for states that must not occur, which names the raising source line.
#pragma once

#include <stdexcept>
#include <string>

namespace vendle {

// Base of every error the program raises itself; the message is shown to the user as it stands.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that could not be converted to a number, date or time.
class ConvertError : public Error {
public:
    using Error::Error;
};

// Raised for states that must not occur. The message reads
// "QVZ:Exception occured at <file>(<line>)." or, with a code, "...(<line>)<<code>>.".
class TraceException : public Error {
public:
    TraceException(const char* file, int line);
    TraceException(const char* file, int line, long code);

    static std::string message(const char* file, int line);
    static std::string message(const char* file, int line, long code);
};

} // namespace vendle

#define VENDLE_TRACE() throw ::vendle::TraceException(__FILE__, __LINE__)
#define VENDLE_TRACE_CODE(code) throw ::vendle::TraceException(__FILE__, __LINE__, (code))
