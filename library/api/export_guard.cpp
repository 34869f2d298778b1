#include "export_guard.h"

#include "platform/services.h"

#include <new>
#include <string>

namespace orvane {
namespace {

constexpr int kCaption = 111;
constexpr int kCallFailed = 494;

std::string ReasonOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "there was not enough memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an unexpected fault";
    }
}

} // namespace

void ReportFailedCall(std::exception_ptr failure) noexcept
{
    try {
        const std::string reason = ReasonOf(failure);
        const platform::IStringTable& strings = platform::Strings();
        std::string text = strings.Format(kCallFailed, {reason});
        if (text.empty())
            text = "The check could not be completed: " + reason;
        platform::Prompt().Show(strings.Get(kCaption), text, platform::PromptIcon::Stop, platform::PromptButtons::Ok);
    } catch (...) {
        // Nothing is left to tell the user with; the result says the call failed.
    }
}

} // namespace orvane
