// The exported functions: each forwards to the library's one checker.
#include "library/api/orvane.h"
#include "library/api/validator.h"

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

using orvane::TheValidator;

ORVANE_EXPORT int Validate(const char* text, char* buffer, int size, uint32_t flags, const char* name,
                           uint32_t* resultWord)
{
    return TheValidator().Validate(text, buffer, size, flags, name, resultWord);
}

ORVANE_EXPORT int ValidateDoc(const char* path) { return TheValidator().ValidateDoc(path); }
ORVANE_EXPORT int ValidateDocCreate(const char* sessionFileName) { return TheValidator().ValidateDocCreate(sessionFileName); }
ORVANE_EXPORT int ValidateDocAddLine(const char* line) { return TheValidator().ValidateDocAddLine(line); }
ORVANE_EXPORT int ValidateDocEndCreate(void) { return TheValidator().ValidateDocEndCreate(); }
ORVANE_EXPORT int StartGetDocumentLine(void) { return TheValidator().StartGetDocumentLine(); }
ORVANE_EXPORT int GetNextDocumentLine(char* buffer, int length) { return TheValidator().GetNextDocumentLine(buffer, length); }
ORVANE_EXPORT int SaveDoc(const char* path) { return TheValidator().SaveDoc(path); }
ORVANE_EXPORT void DisplaySettings(void) { TheValidator().DisplaySettings(); }
ORVANE_EXPORT void DisplayAbout(void) { TheValidator().DisplayAbout(); }
ORVANE_EXPORT void* GetSettings(void) { return TheValidator().GetSettings(); }
