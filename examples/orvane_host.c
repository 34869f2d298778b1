/*
 * A host of the checker library, as a third party writes one: the library is
 * loaded by name at run time and its functions are found by name.
 *
 *   orvane_host PAGE OUT   checks PAGE three ways (as a file, as one text and
 *                          line by line), prints each session result and
 *                          writes the repaired page to OUT.
 *
 * Without a display, on a Qt platform that draws nowhere (offscreen), or with
 * ORVANE_SESSION=unattended the sessions run unattended; with a display, the
 * overview window opens for each.
 */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int (*ValidateFn)(const char*, char*, int, uint32_t, const char*, uint32_t*);
typedef int (*ValidateDocFn)(const char*);
typedef int (*ValidateDocCreateFn)(const char*);
typedef int (*ValidateDocAddLineFn)(const char*);
typedef int (*NoArgumentFn)(void);
typedef int (*GetNextDocumentLineFn)(char*, int);
typedef int (*SaveDocFn)(const char*);

static void* Resolve(void* library, const char* name)
{
    void* function = dlsym(library, name);
    if (!function) {
        fprintf(stderr, "orvane_host: the library has no function %s\n", name);
        exit(2);
    }
    return function;
}

static char* ReadWholeFile(const char* path, long* size)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return NULL;
    fseek(file, 0, SEEK_END);
    *size = ftell(file);
    fseek(file, 0, SEEK_SET);
    char* text = malloc((size_t)*size + 1);
    if (text && fread(text, 1, (size_t)*size, file) != (size_t)*size) {
        free(text);
        text = NULL;
    }
    fclose(file);
    if (text)
        text[*size] = '\0';
    return text;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: orvane_host PAGE OUT\n");
        return 2;
    }
    const char* page = argv[1];
    const char* out = argv[2];

    void* library = dlopen("libORVANE.so", RTLD_NOW);
    if (!library) {
        fprintf(stderr, "orvane_host: %s\n", dlerror());
        return 2;
    }
    ValidateFn validate = (ValidateFn)Resolve(library, "Validate");
    ValidateDocFn validateDoc = (ValidateDocFn)Resolve(library, "ValidateDoc");
    ValidateDocCreateFn create = (ValidateDocCreateFn)Resolve(library, "ValidateDocCreate");
    ValidateDocAddLineFn addLine = (ValidateDocAddLineFn)Resolve(library, "ValidateDocAddLine");
    NoArgumentFn endCreate = (NoArgumentFn)Resolve(library, "ValidateDocEndCreate");
    NoArgumentFn startGetLine = (NoArgumentFn)Resolve(library, "StartGetDocumentLine");
    GetNextDocumentLineFn nextLine = (GetNextDocumentLineFn)Resolve(library, "GetNextDocumentLine");
    SaveDocFn saveDoc = (SaveDocFn)Resolve(library, "SaveDoc");

    /* As a file. */
    printf("file: %d\n", validateDoc(page));

    /* As one text; the repaired page comes back in the buffer. */
    long size = 0;
    char* text = ReadWholeFile(page, &size);
    if (!text) {
        fprintf(stderr, "orvane_host: cannot read %s\n", page);
        return 2;
    }
    int bufferSize = (int)size * 2 + 4096;
    char* buffer = malloc((size_t)bufferSize);
    uint32_t word = 0;
    printf("text: %d\n", validate(text, buffer, bufferSize, 0, page, &word));
    printf("text back: %s\n", strcmp(buffer, text) == 0 ? "unchanged" : "repaired");

    /* Line by line, and read back line by line. */
    create(page);
    char* line = text;
    while (*line) {
        char* end = strchr(line, '\n');
        char saved = 0;
        if (end) {
            saved = end[1];
            end[1] = '\0';
        }
        addLine(line);
        if (!end)
            break;
        end[1] = saved;
        line = end + 1;
    }
    printf("lines: %d\n", endCreate());
    startGetLine();
    long readBack = 0;
    while (nextLine(buffer, bufferSize) == 0)
        readBack += (long)strlen(buffer);
    printf("lines back: %ld bytes\n", readBack);

    int saved = saveDoc(out);
    printf("saved: %d\n", saved);
    free(buffer);
    free(text);
    dlclose(library);
    return saved == 1 ? 0 : 1;
}
