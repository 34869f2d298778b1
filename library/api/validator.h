#pragma once

#include "common/orvane_settings.h"
#include "library/html/html_document.h"

#include <cstdint>
#include <string>

namespace orvane {

// The one checker behind the exported functions: it holds the page of the
// last session, the settings and the session's file name between calls.
class CValidator {
public:
    CValidator();
    CValidator(const CValidator&) = delete;
    CValidator& operator=(const CValidator&) = delete;

    int Validate(const char* text, char* buffer, int size, std::uint32_t flags, const char* name,
                 std::uint32_t* resultWord);
    int ValidateDoc(const char* path);
    int ValidateDocCreate(const char* sessionFileName);
    int ValidateDocAddLine(const char* line);
    int ValidateDocEndCreate();
    int StartGetDocumentLine();
    int GetNextDocumentLine(char* buffer, int length);
    int SaveDoc(const char* path);
    void DisplaySettings();
    void DisplayAbout();
    COrvaneSettings* GetSettings() { return &m_settings; }

    // Runs a session on the complete page: the settings are read once per
    // library lifetime, the language codes only while the session runs.
    int RunSession();

    const CHtmlDocument& Document() const { return m_document; }
    bool SettingsLoaded() const { return m_settingsLoaded; }
    int SettingsLoadCount() const { return m_settingsLoads; }

private:
    void LoadSettings();

    char* m_outputBuffer = nullptr;
    int m_outputSize = 0;
    CHtmlDocument m_document;
    bool m_settingsLoaded = false;
    int m_settingsLoads = 0;
    std::string m_sessionFileName;
    COrvaneSettings m_settings;
};

// The library's checker.
CValidator& TheValidator();

} // namespace orvane
