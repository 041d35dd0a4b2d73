// The user's preferences: named values under
// HKEY_CURRENT_USER\Software\TessalyCAD\Orvalen\Settings. Every read is a
// get-or-create: a value that is missing or unreadable yields its default,
// which is written back under its name. Nothing else is ever written.
// Whole numbers are stored as four-byte dwords, floating-point values as
// "%.10lf" text; both are formatted and parsed with a decimal point whatever
// the process's locale says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

class CMSettingsStore {
public:
    // Opens or creates HKEY_CURRENT_USER\Software\TessalyCAD and makes it the
    // settings root; when that fails the previous root stays (at first
    // HKEY_CURRENT_USER itself).
    CMSettingsStore();

    uint32_t GetDword(std::string_view name, uint32_t defaultValue);
    double GetDouble(std::string_view name, double defaultValue);
    std::u16string GetString(std::string_view name, const std::u16string& defaultValue);

    // The root of the settings as the last store opened it.
    static const orv::reg::Key& SettingsRoot();
    // Puts the root back to HKEY_CURRENT_USER, as at process start (for tests
    // that replace the registry).
    static void ResetSettingsRoot();

private:
    bool ReadValue(std::string_view name, std::string* bytes);
    bool WriteDefault(std::string_view name, uint32_t type, const std::string& bytes);
    std::u16string GetStringReached(std::string_view name, const std::u16string& defaultValue,
                                    bool* reached);

    orv::reg::Registry& m_registry;
};

// "%.10lf" of value, always with a decimal point.
std::string FormatSettingsDouble(double value);
// The leading decimal number of text (optional sign, digits, fraction,
// exponent) after white space, with a point as decimal separator; 0.0 when
// there is none.
double ParseSettingsDouble(std::string_view text);
