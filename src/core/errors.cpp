// SPDX-License-Identifier: GPL-3.0-or-later
#include "errors.h"

namespace vendle {

namespace {

std::string located(const char* file, int line) {
    std::string text = "QVZ:Exception occured at ";
    text.append(file).append("(").append(std::to_string(line));
    return text;
}

} // namespace

std::string TraceException::message(const char* file, int line) {
    return located(file, line).append(").");
}

std::string TraceException::message(const char* file, int line, long code) {
    return located(file, line).append(")<").append(std::to_string(code)).append(">.");
}

TraceException::TraceException(const char* file, int line) : Error(message(file, line)) {}

TraceException::TraceException(const char* file, int line, long code) : Error(message(file, line, code)) {}

} // namespace vendle
