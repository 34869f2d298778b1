#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace orvane {

// Tells the user that the library could not finish what the host asked
// (string 494 with the reason the exception gives), by the process's prompt:
// a message box, or standard error where no window is shown. Never throws.
void ReportFailedCall(std::exception_ptr failure) noexcept;

// Runs one exported call for a C host: whatever is thrown inside (running out
// of memory on a huge page, a fault of ours) ends the call with the failure
// value and a message instead of ending the host.
template <class Call, class Result = std::invoke_result_t<Call>>
Result CallForHost(Call&& call, Result failure) noexcept
{
    try {
        return std::forward<Call>(call)();
    } catch (...) {
        ReportFailedCall(std::current_exception());
    }
    return failure;
}

template <class Call>
void CallForHost(Call&& call) noexcept
{
    try {
        std::forward<Call>(call)();
    } catch (...) {
        ReportFailedCall(std::current_exception());
    }
}

} // namespace orvane
