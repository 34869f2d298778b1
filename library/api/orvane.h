/*
 * The checker library's interface for hosts: load libORVANE.so (by name, with
 * dlopen, or by linking it) and hand it a page as a file, as one text or line
 * by line. Each check runs one session: the overview window where a person
 * can see it, otherwise unattended (the checks and the automatic repairs the
 * settings switch on, nothing asked). Unattended means: ORVANE_SESSION is
 * "unattended"; or there is no display; or the Qt platform draws nowhere
 * (QT_QPA_PLATFORM=offscreen or minimal) unless ORVANE_SESSION is "windows";
 * or the resource bundle is missing; or the call comes from a thread other
 * than the one of the host's widget application (or, when the host has none,
 * than the process's first thread). Afterwards the repaired page can be saved
 * or read back line by line.
 *
 * The library makes its own QApplication only when a call first needs a
 * window and the host has none. All functions run on the caller's thread, one
 * call at a time. Texts are zero-terminated bytes owned by the caller; the
 * library copies what it keeps. Nothing is thrown to the caller.
 */
#ifndef ORVANE_H
#define ORVANE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Session results, returned by Validate, ValidateDoc and ValidateDocEndCreate. */
#define ORVANE_NO_PROBLEM 0    /* nothing counts at the conformance target */
#define ORVANE_ALL_REPAIRED 1  /* every such problem is repaired */
#define ORVANE_NONE_REPAIRED 2 /* none of them is repaired */
#define ORVANE_SOME_REPAIRED 3 /* some are, some are not */

/* Error results. */
#define ORVANE_NO_RESULT_WORD (-1)  /* Validate: resultWord is null */
#define ORVANE_NO_BUFFER (-2)       /* Validate: buffer is null */
#define ORVANE_BUFFER_TOO_SMALL (-3) /* Validate: size is below 10 */
#define ORVANE_CANNOT_READ (-4)     /* ValidateDoc, ValidateDocEndCreate: the page could not be read */
#define ORVANE_CANNOT_BUILD (-6)    /* Validate: the page could not be taken in */
#define ORVANE_FAILED (-7)          /* any call returning int but ValidateDocCreate, ValidateDocAddLine
                                       and SaveDoc (they return 0): the call could not be completed,
                                       for want of memory or by a fault of the library; the user was
                                       told why */

/* Checks the text as one page and copies the repaired page into buffer when
 * it fits with its terminating zero (else buffer holds ""). name names the
 * page for remembered decisions; flags are reserved (pass 0); *resultWord is
 * set to 0. Returns the session result or -1, -2, -3, -6. */
int Validate(const char* text, char* buffer, int size, uint32_t flags, const char* name, uint32_t* resultWord);

/* Checks the page file at path. Returns the session result, or -4 when it
 * cannot be read (the user was told why). */
int ValidateDoc(const char* path);

/* A page line by line: ValidateDocCreate, ValidateDocAddLine for each line
 * (with its line end), then ValidateDocEndCreate runs the session. */
int ValidateDocCreate(const char* sessionFileName);
int ValidateDocAddLine(const char* line); /* 1, or 0 when the line was not taken in */
int ValidateDocEndCreate(void);          /* the session result, or -4 */

/* Reads the page of the last session back: StartGetDocumentLine, then
 * GetNextDocumentLine until it returns 1. GetNextDocumentLine returns 0 with a
 * line (and its line end) in buffer, -1 when the line does not fit (it is
 * skipped), 1 when there are no more lines (buffer untouched). */
int StartGetDocumentLine(void);
int GetNextDocumentLine(char* buffer, int length);

/* Writes the page of the last session to path: 1, or 0 when it could not be
 * written (the file is then left as it was). */
int SaveDoc(const char* path);

/* The settings window and the About box (both return at once when no window
 * can be shown). */
void DisplaySettings(void);
void DisplayAbout(void);

/* The settings record, owned by the library for its whole lifetime; C++ hosts
 * read it as orvane::COrvaneSettings (common/orvane_settings.h). */
void* GetSettings(void);

/* The library's version, as "MAJOR.MINOR.PATCH". */
const char* OrvaneLibraryVersion(void);

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_H */
