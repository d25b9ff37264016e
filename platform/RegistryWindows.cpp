#include "platform/Registry.h"

#include <windows.h>

// HKLM in the 64-bit view: the view Apps & Features, winget and detection rules read.
namespace kv::platform::registry
{
    juce::File standInFileOf (const juce::String&)
    {
        return {};
    }

    bool deleteKey (const juce::String& subKey)
    {
        HKEY key = nullptr;
        auto result = ::RegOpenKeyExW (HKEY_LOCAL_MACHINE, subKey.toWideCharPointer(), 0,
                                       KEY_WOW64_64KEY | DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, &key);

        if (result == ERROR_FILE_NOT_FOUND)
            return true;

        if (result != ERROR_SUCCESS)
            return false;

        // Values and any subkeys first: RegDeleteKeyEx removes only an empty key.
        ::RegDeleteTreeW (key, nullptr);
        ::RegCloseKey (key);
        result = ::RegDeleteKeyExW (HKEY_LOCAL_MACHINE, subKey.toWideCharPointer(), KEY_WOW64_64KEY, 0);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }

    bool writeKey (const juce::String& subKey, const std::vector<Value>& values)
    {
        // The key holds exactly these values: none left over from an earlier version.
        deleteKey (subKey);

        HKEY key = nullptr;

        if (::RegCreateKeyExW (HKEY_LOCAL_MACHINE, subKey.toWideCharPointer(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_WOW64_64KEY | KEY_SET_VALUE, nullptr, &key, nullptr)
            != ERROR_SUCCESS)
            return false;

        bool allWritten = true;

        for (const auto& value : values)
        {
            LONG result;

            if (value.isNumber)
            {
                const DWORD number = value.number;
                result = ::RegSetValueExW (key, value.name.toWideCharPointer(), 0, REG_DWORD, reinterpret_cast<const BYTE*> (&number), sizeof (number));
            }
            else
            {
                const auto* text = value.text.toWideCharPointer();
                const auto bytes = (DWORD) ((wcslen (text) + 1) * sizeof (wchar_t));
                result = ::RegSetValueExW (key, value.name.toWideCharPointer(), 0, REG_SZ, reinterpret_cast<const BYTE*> (text), bytes);
            }

            allWritten = allWritten && result == ERROR_SUCCESS;
        }

        ::RegCloseKey (key);
        return allWritten;
    }

    std::optional<std::vector<Value>> readKey (const juce::String& subKey)
    {
        HKEY key = nullptr;

        if (::RegOpenKeyExW (HKEY_LOCAL_MACHINE, subKey.toWideCharPointer(), 0, KEY_WOW64_64KEY | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::nullopt;

        std::vector<Value> values;

        for (DWORD index = 0;; ++index)
        {
            wchar_t name[256];
            DWORD nameLength = 256, type = 0, size = 0;
            BYTE data[4096];
            size = sizeof (data);

            if (::RegEnumValueW (key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
                break;

            if (type == REG_DWORD && size == sizeof (DWORD))
                values.push_back (Value::dword (juce::String (name, nameLength), *reinterpret_cast<const DWORD*> (data)));
            else if (type == REG_SZ)
            {
                const auto* text = reinterpret_cast<const wchar_t*> (data);
                values.push_back (Value::string (juce::String (name, nameLength), juce::String (text, wcsnlen (text, size / sizeof (wchar_t)))));
            }
        }

        ::RegCloseKey (key);
        return values;
    }
}
