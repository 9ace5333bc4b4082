// Settings in initialisation files (profile functions) and in the registry.
#include "toolkit/settings.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolkit/errors.h"
#include "toolkit/owned_handle.h"

namespace {

constexpr DWORD kProfileValueChars = 256;  // 255 characters and the NUL
constexpr DWORD kRegistryValueBytes = 256;

// Where a registry value lives: the predefined root and whether it is a DWORD.
struct RegistryStore {
    HKEY root;  // nullptr for an unknown root name, so that opening the key fails
    bool dword;
};

bool IsRegistryStore(const Text& store) {
    return UpperCase(LeftOf(store, 5)) == "HKEY_";
}

// "HKEY_0".."HKEY_6" after every "_DW_" marker has been replaced by "_"; only the first six
// characters count.
RegistryStore ParseRegistryStore(const Text& store) {
    static const std::array<HKEY, 7> roots = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                                              HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                                              HKEY_DYN_DATA};
    const Text upper = UpperCase(store);
    const bool dword = Contains(upper, "_DW_");
    const Text name = LeftOf(ReplaceAll(upper, "_DW_", "_"), 6);
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (name == "HKEY_" + std::to_string(i)) return {roots[i], dword};
    }
    return {nullptr, dword};
}

Text Quoted(const Text& text) {
    return "\"" + Text(text.c_str()) + "\"";
}

void RegistryWarning(const Text& detail) {
    RaiseWarning(kErrRegistry, detail);
}

Text ReadProfileSetting(const Text& file, const Text& section, const Text& key) {
    char buffer[kProfileValueChars] = {};
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kProfileValueChars,
                                            file.c_str());
    return Text(buffer, std::min<DWORD>(length, kProfileValueChars - 1));
}

// A string value as text: REG_SZ and REG_EXPAND_SZ as stored, REG_MULTI_SZ its first string.
// The value need not end with a NUL, so the text stops at the end of what was read.
Text RegistryStringText(DWORD type, const char* bytes, DWORD size) {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return Text();
    return Text(bytes, strnlen(bytes, size));
}

Text ReadRegistrySetting(const RegistryStore& where, const Text& section, const Text& key) {
    HKEY received = nullptr;
    if (RegOpenKeyExA(where.root, section.c_str(), 0, KEY_READ, &received) != ERROR_SUCCESS) {
        RegistryWarning("RegOpenKeyEx scheiterte f\xFCr " + Quoted(section) + ".");
        return Text();
    }
    const RegistryKey opened(received);
    char buffer[kRegistryValueBytes] = {};
    DWORD type = REG_NONE;
    DWORD size = where.dword ? sizeof(DWORD) : kRegistryValueBytes;
    if (RegQueryValueExA(opened.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS) {
        RegistryWarning(Quoted(key) + " nicht in " + Quoted(section) + " gefunden.");
        return Text();
    }
    if (where.dword) {
        std::int32_t number = 0;
        std::memcpy(&number, buffer, sizeof number);
        return std::to_string(number);
    }
    return RegistryStringText(type, buffer, std::min(size, kRegistryValueBytes));
}

void WriteRegistrySetting(const RegistryStore& where, const Text& section, const Text& key, const Text& value) {
    HKEY received = nullptr;
    if (RegCreateKeyExA(where.root, section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &received, nullptr) != ERROR_SUCCESS) {
        RegistryWarning("RegCreateKeyEx scheiterte f\xFCr " + Quoted(section) + ".");
        return;
    }
    const RegistryKey created(received);
    if (where.dword) {
        const DWORD number = static_cast<DWORD>(std::strtoll(value.c_str(), nullptr, 10));
        RegSetValueExA(created.get(), key.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
    } else {
        const char* text = value.c_str();
        RegSetValueExA(created.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(std::strlen(text) + 1));
    }
}

}  // namespace

Text ReadSetting(const Text& store, const Text& section, const Text& key) {
    if (!IsRegistryStore(store)) return ReadProfileSetting(store, section, key);
    return ReadRegistrySetting(ParseRegistryStore(store), section, key);
}

void WriteSetting(const Text& store, const Text& section, const Text& key, const Text& value) {
    if (!IsRegistryStore(store)) {
        if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), store.c_str())) {
            RaiseWarning(kErrWriteFailed, store);
        }
        return;
    }
    WriteRegistrySetting(ParseRegistryStore(store), section, key, value);
}
