// The library as hosts load it: a build server or an editor plug-in without
// a display, a C host on a CI machine whose Qt draws offscreen, a Qt program
// with its own application, a host that works on a thread of its own. Each
// test loads a fresh copy of the library, as a new host process would.
#include "tests/support/test_support.h"

#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

const std::string kLibraryDir = ORVANE_LIB_DIR;
const std::string kSample = std::string(ORVANE_EXAMPLES_DIR) + "/sample.html";

void ClearSessionEnvironment()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ORVANE_SESSION"})
        unsetenv(name);
}

// A copy of the library in a folder of its own, with the resource bundle
// beside it or without; loaded there, it starts with none of the state that
// another test's copy has.
void* LoadCopy(const std::string& name, bool withBundle)
{
    const fs::path folder = fs::path(::testing::TempDir()) / ("library-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(kLibraryDir + "/libORVANE.so", folder / "libORVANE.so");
    if (withBundle)
        fs::copy_file(kLibraryDir + "/OrvaneResources.rcc", folder / "OrvaneResources.rcc");
    void* library = dlopen((folder / "libORVANE.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(library, nullptr) << dlerror();
    return library;
}

int ValidateDocIn(void* library, const std::string& path)
{
    using ValidateDocFunction = int (*)(const char*);
    auto validateDoc = reinterpret_cast<ValidateDocFunction>(dlsym(library, "ValidateDoc"));
    EXPECT_NE(validateDoc, nullptr);
    return validateDoc ? validateDoc(path.c_str()) : -100;
}

// The sample page has problems that count and that no automatic repair mends.
MATCHER(FoundProblems, "is the result of a session that found problems (2 or 3)") { return arg == 2 || arg == 3; }

TEST(LibraryLoad, WithoutAnyDisplayReturnsNormallyAndAnswers)
{
    ClearSessionEnvironment();
    void* library = LoadCopy("no-display", true);
    ASSERT_NE(library, nullptr);
    using VersionFunction = const char* (*)();
    auto version = reinterpret_cast<VersionFunction>(dlsym(library, "OrvaneLibraryVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), "0.1.0");
    EXPECT_THAT(ValidateDocIn(library, kSample), FoundProblems());
}

TEST(LibraryLoad, ExportsTheFunctionsOfItsInterfaceAndNothingElse)
{
    const std::string command = "nm -D --defined-only '" + kLibraryDir + "/libORVANE.so'";
    FILE* listing = popen(command.c_str(), "r");
    ASSERT_NE(listing, nullptr);
    std::set<std::string> exported;
    char line[4096];
    while (std::fgets(line, sizeof line, listing)) {
        std::string text(line);
        const auto space = text.find_last_of(' ');
        std::string name = text.substr(space + 1);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
            name.pop_back();
        // The version node of the linker's script is listed as a symbol of its own.
        if (!name.empty() && text.find(" A ") == std::string::npos)
            exported.insert(name);
    }
    ASSERT_EQ(pclose(listing), 0);
    const std::set<std::string> interface = {
        "Validate",           "ValidateDoc",          "ValidateDocCreate", "ValidateDocAddLine",
        "ValidateDocEndCreate", "StartGetDocumentLine", "GetNextDocumentLine", "SaveDoc",
        "DisplaySettings",    "DisplayAbout",         "GetSettings",       "OrvaneLibraryVersion"};
    EXPECT_EQ(exported, interface);
}

// A Qt host that loads the library before it makes its own application must
// end up with that one application, and its offscreen platform means nobody
// would see the overview: the session runs unattended instead of waiting.
TEST(LibraryLoad, AQtHostKeepsItsOwnApplicationAndAnOffscreenSessionDoesNotWait)
{
    ClearSessionEnvironment();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    void* library = LoadCopy("qt-host", true);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(QCoreApplication::instance(), nullptr) << "the library made an application when it was loaded";
    {
        int argc = 1;
        char name[] = "host";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        EXPECT_THAT(ValidateDocIn(library, kSample), FoundProblems());
        EXPECT_EQ(QCoreApplication::instance(), &application);
    }
    ClearSessionEnvironment();
}

// Without its bundle the library has no windows to show, even where the host
// asks for them: the page is checked all the same, never reported clean.
TEST(LibraryLoad, WithoutItsResourceBundleThePageIsStillChecked)
{
    ClearSessionEnvironment();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVANE_SESSION", "windows", 1);
    void* library = LoadCopy("no-bundle", false);
    ASSERT_NE(library, nullptr);
    EXPECT_THAT(ValidateDocIn(library, kSample), FoundProblems());
    ClearSessionEnvironment();
}

// Qt's objects must live on the application's thread: a host that checks
// from a worker thread gets an unattended session, and no application is
// made on the wrong thread.
TEST(LibraryLoad, AHostWorkingOnAThreadOfItsOwnGetsAnUnattendedSession)
{
    ClearSessionEnvironment();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVANE_SESSION", "windows", 1);
    const QCoreApplication* before = QCoreApplication::instance();
    int result = -100;
    std::thread worker([&] {
        if (void* library = LoadCopy("worker", true))
            result = ValidateDocIn(library, kSample);
    });
    worker.join();
    EXPECT_THAT(result, FoundProblems());
    EXPECT_EQ(QCoreApplication::instance(), before);
    ClearSessionEnvironment();
}

} // namespace
