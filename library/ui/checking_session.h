#pragma once

#include "library/ui/validator_sheet.h"

#include <string>

namespace orvane {

class CHtmlDocument;
class COrvaneSettings;
class CProblemList;
class CSrcObjectDatabase;

// Runs one checking session on a complete page and returns its result:
// 0 nothing counts at the target, 1 all of it repaired, 2 none, 3 some.
// Where windows can be shown the user reviews and repairs in the overview;
// otherwise the session runs unattended.
int RunCheckingSession(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName);

// A session without any window or question: the checks run, the automatic
// repairs the settings switch on are made to the problems that count at the
// target, and the session is closed as the overview closes it.
int RunUnattendedSession(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName);

// The automatic repairs the settings switch on, made to the problems of a
// prepared and grouped list that count at the target, as a repair run makes
// them, without showing a page; a problem whose repair needs the user stays
// open. The remembered choices of the settings (a language, a document type)
// are what the repairs put in. Why a repair left its problem open is added to
// notes when given.
void RepairAutomatically(CProblemList& problems, CHtmlDocument& document, COrvaneSettings& settings,
                         CSrcObjectDatabase& registry, const std::string& fileName,
                         std::vector<CValidatorSheet::NotRepairedNote>* notes = nullptr);

// What closing a session keeps: the objects the page describes go into the
// registry, which is saved; the conformance icon is put in when the settings
// ask for it; the settings are saved.
void CloseSession(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase& registry,
                  int achievedLevel);

} // namespace orvane
