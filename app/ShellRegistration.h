// The file-type registration in the classes registry: the file type with its
// icon and its open, print and print-to commands, and each extension of the
// template tied to it with its "ShellNew" entry, unless the extension already
// belongs to another file type. Rewritten at every start, so the commands
// always name the executable that ran last.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orv::reg {
class Registry;
}

struct ShellRegistrationInput {
    std::string executablePath;   // used unquoted, as the commands have it
    bool executableHasIcon = true;
    int templateIndex = 1;
    std::string windowTitle;      // document string field 0
    std::string extensionList;    // field 4, e.g. ".orvp;.orvp2"
    std::string fileTypeId;       // field 5
    std::string fileTypeName;     // field 6; the id when empty or unreadable
    bool fileTypeNameReadable = true;
    // True for an extension that some other place (the desktop's MIME
    // database) already gives to another file type.
    std::function<bool(const std::string& extension)> ownedElsewhere;
};

// What the registration did with each extension, for the desktop export.
struct ShellRegistrationResult {
    bool fileTypeWritten = false;
    std::string openCommand, printCommand, printToCommand, iconLocation;
    std::vector<std::string> claimedExtensions;
};

ShellRegistrationResult RegisterShellFileTypes(orv::reg::Registry& registry, const ShellRegistrationInput& input);

// The extensions of a list, split at semicolons; runs of semicolons count
// as one, and each extension is used exactly as it is spelled.
std::vector<std::string> SplitExtensionList(const std::string& list);
