// The exported functions: each forwards to the library's one checker. Nothing
// thrown inside reaches the host, and the windows are set up only when a call
// may show one, so a host that makes its own widget application after loading
// the library has just that one.
#include "library/api/export_guard.h"
#include "library/api/orvane.h"
#include "library/api/validator.h"
#include "platform/qt/qt_session.h"

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

using orvane::CallForHost;
using orvane::TheValidator;

namespace {

auto& Checker()
{
    orvane::platform::qt::StartWindows();
    return TheValidator();
}

} // namespace

ORVANE_EXPORT int Validate(const char* text, char* buffer, int size, uint32_t flags, const char* name,
                           uint32_t* resultWord)
{
    return CallForHost([&] { return Checker().Validate(text, buffer, size, flags, name, resultWord); },
                       ORVANE_FAILED);
}

ORVANE_EXPORT int ValidateDoc(const char* path)
{
    return CallForHost([&] { return Checker().ValidateDoc(path); }, ORVANE_FAILED);
}

ORVANE_EXPORT int ValidateDocCreate(const char* sessionFileName)
{
    return CallForHost([&] { return TheValidator().ValidateDocCreate(sessionFileName); }, 0);
}

ORVANE_EXPORT int ValidateDocAddLine(const char* line)
{
    return CallForHost([&] { return TheValidator().ValidateDocAddLine(line); }, 0);
}

ORVANE_EXPORT int ValidateDocEndCreate(void)
{
    return CallForHost([&] { return Checker().ValidateDocEndCreate(); }, ORVANE_FAILED);
}

ORVANE_EXPORT int StartGetDocumentLine(void)
{
    return CallForHost([&] { return TheValidator().StartGetDocumentLine(); }, ORVANE_FAILED);
}

ORVANE_EXPORT int GetNextDocumentLine(char* buffer, int length)
{
    return CallForHost([&] { return TheValidator().GetNextDocumentLine(buffer, length); }, ORVANE_FAILED);
}

ORVANE_EXPORT int SaveDoc(const char* path)
{
    return CallForHost([&] { return Checker().SaveDoc(path); }, 0);
}

ORVANE_EXPORT void DisplaySettings(void)
{
    CallForHost([] { Checker().DisplaySettings(); });
}

ORVANE_EXPORT void DisplayAbout(void)
{
    CallForHost([] { Checker().DisplayAbout(); });
}

ORVANE_EXPORT void* GetSettings(void)
{
    return TheValidator().GetSettings();
}
