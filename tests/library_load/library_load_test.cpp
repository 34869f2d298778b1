#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace {

// A build server or an editor plug-in loads the library where no window can
// be shown: loading must neither abort the host nor wait for a display.
TEST(LibraryLoad, WithoutAnyDisplayReturnsNormallyAndAnswers)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ORVANE_SESSION"})
        unsetenv(name);
    const std::string path = std::string(ORVANE_LIB_DIR) + "/libORVANE.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using VersionFunction = const char* (*)();
    auto version = reinterpret_cast<VersionFunction>(dlsym(library, "OrvaneLibraryVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), "0.1.0");
}

} // namespace
