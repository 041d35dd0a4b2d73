#include "ShellRegistration.h"

#include "platform/registry/Registry.h"
#include "platform/registry/Utf16.h"

using orv::reg::Registry;
using orv::reg::Status;

namespace {

// Writes text as REG_SZ under HKEY_CLASSES_ROOT\keyPath: the key's default
// value without a name, else the named value.
bool SetClassesRootValue(Registry& r, const std::string& keyPath, const std::string& text,
                         const char* valueName = nullptr) {
    orv::reg::Key key;
    if (r.CreateKey(orv::reg::ClassesRoot(), keyPath, &key) != Status::Ok) return false;
    const auto bytes = orv::reg::Utf8ToUtf16Bytes(text, true);
    const bool written = r.SetValue(key, valueName ? valueName : "", orv::reg::kString, bytes.data(),
                                    static_cast<uint32_t>(bytes.size())) == Status::Ok;
    const bool closed = r.CloseKey(key) == Status::Ok;
    return written && (valueName ? closed : true);
}

// The default value of an extension key, as read into a buffer of 520
// bytes; false when it cannot be read or does not fit.
bool QueryDefaultValue(Registry& r, const std::string& keyPath, std::string* text) {
    orv::reg::Key key;
    if (r.OpenKey(orv::reg::ClassesRoot(), keyPath, &key) != Status::Ok) return false;
    uint8_t buffer[520];
    uint32_t size = sizeof buffer;
    const Status s = r.QueryValue(key, "", nullptr, buffer, &size);
    r.CloseKey(key);
    if (s != Status::Ok) return false;
    *text = orv::reg::Utf16ToUtf8(orv::reg::StringValueText(buffer, size));
    return true;
}

}  // namespace

std::vector<std::string> SplitExtensionList(const std::string& list) {
    std::vector<std::string> extensions;
    size_t pos = 0;
    for (;;) {
        while (pos < list.size() && list[pos] == ';') ++pos;
        if (pos >= list.size()) break;
        size_t end = list.find(';', pos);
        if (end == std::string::npos) end = list.size();
        extensions.push_back(list.substr(pos, end - pos));
        pos = end;
    }
    return extensions;
}

ShellRegistrationResult RegisterShellFileTypes(Registry& r, const ShellRegistrationInput& in) {
    ShellRegistrationResult result;
    std::string open = in.executablePath, print = in.executablePath, printTo = in.executablePath;
    std::string icon = in.executablePath;
    icon += in.executableHasIcon ? "," + std::to_string(in.templateIndex) : ",0";
    if (in.fileTypeId.empty()) return result;
    const std::string name = in.fileTypeNameReadable ? in.fileTypeName : in.fileTypeId;

    if (!SetClassesRootValue(r, in.fileTypeId, name)) return result;
    if (!SetClassesRootValue(r, in.fileTypeId + "\\DefaultIcon", icon)) return result;
    if (!in.windowTitle.empty()) {
        open += " \"%1\"";
        print += " /p \"%1\"";
        printTo += " /pt \"%1\" \"%2\" \"%3\" \"%4\"";
    }
    if (!SetClassesRootValue(r, in.fileTypeId + "\\shell\\open\\command", open) ||
        !SetClassesRootValue(r, in.fileTypeId + "\\shell\\print\\command", print) ||
        !SetClassesRootValue(r, in.fileTypeId + "\\shell\\printto\\command", printTo)) {
        return result;
    }
    result.fileTypeWritten = true;
    result.openCommand = open;
    result.printCommand = print;
    result.printToCommand = printTo;
    result.iconLocation = icon;

    for (const std::string& ext : SplitExtensionList(in.extensionList)) {
        std::string current;
        const bool read = QueryDefaultValue(r, ext, &current);
        const bool free = !read || current.empty() || current == in.fileTypeId;
        if (!free || (in.ownedElsewhere && in.ownedElsewhere(ext))) continue;  // another file type's
        if (!SetClassesRootValue(r, ext, in.fileTypeId)) continue;
        SetClassesRootValue(r, ext + "\\ShellNew", "", "NullFile");
        result.claimedExtensions.push_back(ext);
    }
    return result;
}
