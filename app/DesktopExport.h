// Makes a freedesktop desktop follow the file-type registration: a MIME
// package with one type and a glob per claimed extension, a .desktop entry
// with the open command and a print action, the icons in the hicolor theme,
// and the program as the type's default in mimeapps.list; then the desktop's
// caches are refreshed where their tools exist. Every file is written whole
// and renamed into place; a failure leaves the program working.
#pragma once

#include <string>
#include <vector>

struct DesktopExportInput {
    std::string executablePath;
    std::vector<std::string> extensions;  // claimed, e.g. ".orvp"
    std::string comment;                  // the file type's description
    // The icon images by size in pixels (PNG bytes).
    std::vector<std::pair<int, std::string>> icons;
};

constexpr const char* kMimeType = "application/x-tessalycad-panorama";
constexpr const char* kDesktopId = "tessalycad-orvalen.desktop";
constexpr const char* kIconName = "tessalycad-orvalen";

// False when any file could not be written (the rest is still attempted).
bool ExportToDesktop(const DesktopExportInput& input);

// The executable quoted for an Exec line, as the Desktop Entry format wants
// it: in double quotes, with ", `, $ and \ escaped, then every backslash
// doubled for the string value.
std::string QuoteExecArgument(const std::string& argument);

// Whether the desktop's MIME database gives files with this extension a type
// other than ours.
bool ExtensionOwnedByAnotherType(const std::string& extension);
