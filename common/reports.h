// The two reports after which a program ends, with the reported number as its
// exit code.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

// "Error Code: <number><closing sentence>" titled "Problem!" with the critical
// icon; then the program ends. Files are closed by then: each routine holds its
// file only in the scope that opened it, and the error has left that scope.
[[noreturn]] void ReportFatalError(Platform& platform, const std::wstring& closing_sentence,
                                   int32_t number);

// The run-time's report of an error that no handler caught: the error number
// and its description, titled with the program's name; then the program ends.
[[noreturn]] void ReportUnhandledError(Platform& platform, const std::wstring& program_name,
                                       int32_t number);
