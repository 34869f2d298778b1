#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

// The key below the current user that both deliverables keep their settings in.
inline constexpr std::string_view kOrvaneRegistryKey = "Accessibility\\Orvane";

// An open key of the current user's registry. Values are 32-bit numbers
// (REG_DWORD) or zero-terminated single-byte texts (REG_SZ); value names are
// compared without regard to ASCII case, as the registry compares them.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;

    // The number stored under the name; nothing when the value is missing or
    // is not a number.
    virtual std::optional<std::uint32_t> QueryDword(std::string_view name) const = 0;
    // The text stored under the name, read into a buffer of bufferSize bytes:
    // nothing when the value is missing, is not a text, or does not fit the
    // buffer together with its terminating zero.
    virtual std::optional<std::string> QueryString(std::string_view name, std::size_t bufferSize) const = 0;

    // False when the key was opened for reading only or the name is empty.
    virtual bool SetDword(std::string_view name, std::uint32_t value) = 0;
    // Stores the text up to its first zero byte, as a zero-terminated text is stored.
    virtual bool SetString(std::string_view name, std::string_view value) = 0;

    // Hands the values set through this key to the store; closing the key does
    // it too. False when the store could not be written: the values are then
    // kept for the next attempt.
    virtual bool Flush() = 0;
};

enum class RegistryAccess { Read, Full };

// The current user's part of the registry. Key paths are separated by
// backslashes and compared without regard to ASCII case.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    // An existing key; null when it is missing or cannot be opened with that access.
    virtual std::unique_ptr<IRegistryKey> OpenKey(std::string_view path, RegistryAccess access) = 0;
    // The key with full access, created (with the keys above it) when missing;
    // null when it can be neither opened nor created.
    virtual std::unique_ptr<IRegistryKey> CreateKey(std::string_view path) = 0;
};

// The registry the core reaches. Until a host installs one, no key opens:
// settings then load their defaults and cannot be saved.
IRegistry& Registry();
// Installs a registry (the caller keeps ownership); null restores the default.
void SetRegistry(IRegistry* registry);

class ScopedRegistry {
public:
    explicit ScopedRegistry(IRegistry& registry);
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    IRegistry* m_previous;
};

// A registry kept in one file. Every write locks the file, reads it afresh,
// applies its values and replaces the file as a whole, so that two processes
// sharing the file keep each other's values.
std::unique_ptr<IRegistry> CreateFileRegistry(const std::string& path);

// The text the file store gives a store file of these bytes when it rewrites
// it: every key and value it understood, in its own spelling, and every line
// it did not understand as it stood. A rewrite writes exactly this, plus the
// values set. Nothing when the bytes are no store at all (see CreateFileRegistry).
std::optional<std::string> RewrittenStoreText(std::string_view fileBytes);

// The current user's registry: the file "UserRegistry.reg" in
// UserDataDirectory(), for the life of the process.
IRegistry& UserRegistry();

} // namespace orvane::platform
