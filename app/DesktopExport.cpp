#include "DesktopExport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMimeDatabase>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry/FileRegistry.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Writes content to path through a temporary file and a rename.
bool WriteFileAtomically(const fs::path& path, const std::string& content) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    const fs::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << content;
        out.flush();
        if (!out) return false;
    }
    fs::rename(temp, path, ec);
    if (ec) fs::remove(temp, ec);
    return !ec;
}

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// Runs a tool by name from PATH with arguments, without a shell; false when
// it is missing or fails.
bool RunTool(const std::string& tool, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

fs::path DataHome() { return fs::path(orv::reg::XdgFolder("XDG_DATA_HOME", ".local/share")).parent_path(); }
fs::path ConfigHome() { return fs::path(orv::reg::XdgFolder("XDG_CONFIG_HOME", ".config")).parent_path(); }

std::string MimePackage(const DesktopExportInput& in) {
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        << "  <mime-type type=\"" << kMimeType << "\">\n"
        << "    <comment>" << XmlEscape(in.comment) << "</comment>\n"
        << "    <icon name=\"" << kIconName << "\"/>\n";
    for (const std::string& ext : in.extensions) {
        xml << "    <glob pattern=\"*" << XmlEscape(ext) << "\" case-sensitive=\"true\"/>\n";
    }
    xml << "  </mime-type>\n</mime-info>\n";
    return xml.str();
}

std::string DesktopEntry(const DesktopExportInput& in) {
    const std::string exe = QuoteExecArgument(in.executablePath);
    std::ostringstream d;
    d << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Name=Tessaly CAD Panorama\n"
      << "Comment=" << in.comment << "\n"
      << "Exec=" << exe << " %f\n"
      << "Icon=" << kIconName << "\n"
      << "MimeType=" << kMimeType << ";\n"
      << "Categories=Graphics;Viewer;\n"
      << "Terminal=false\n"
      << "Actions=print;\n\n"
      << "[Desktop Action print]\n"
      << "Name=Drucken\n"
      << "Exec=" << exe << " /p %f\n";
    return d.str();
}

// mimeapps.list with our type's default set, every other line kept.
std::string WithDefault(const std::string& existing) {
    const std::string entry = std::string(kMimeType) + "=" + kDesktopId;
    std::istringstream in(existing);
    std::ostringstream out;
    std::string line;
    bool inDefaults = false, written = false, sawDefaults = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            if (inDefaults && !written) {
                out << entry << "\n";
                written = true;
            }
            inDefaults = line == "[Default Applications]";
            sawDefaults |= inDefaults;
        } else if (inDefaults && line.rfind(std::string(kMimeType) + "=", 0) == 0) {
            if (!written) out << entry << "\n";
            written = true;
            continue;
        }
        out << line << "\n";
    }
    if (inDefaults && !written) {
        out << entry << "\n";
        written = true;
    }
    if (!sawDefaults) out << "[Default Applications]\n" << entry << "\n";
    return out.str();
}

}  // namespace

std::string QuoteExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // The Exec key is a string value, whose own escapes double backslashes;
    // a newline in a path cannot stand in a value line and is escaped too.
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += "\\\\";
        else if (c == '\n') value += "\\n";
        else value += c;
    }
    return value;
}

bool ExtensionOwnedByAnotherType(const std::string& extension) {
    const QMimeDatabase db;
    const auto types = db.mimeTypesForFileName(QString::fromStdString("file" + extension));
    for (const QMimeType& type : types) {
        if (type.name() != QLatin1String(kMimeType)) return true;
    }
    return false;
}

bool ExportToDesktop(const DesktopExportInput& in) {
    const fs::path data = DataHome();
    bool ok = true;
    ok &= WriteFileAtomically(data / "mime/packages/tessalycad-orvalen.xml", MimePackage(in));
    ok &= WriteFileAtomically(data / "applications" / kDesktopId, DesktopEntry(in));
    for (const auto& [size, png] : in.icons) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        ok &= WriteFileAtomically(data / "icons/hicolor" / folder / "apps" / (std::string(kIconName) + ".png"), png);
        ok &= WriteFileAtomically(data / "icons/hicolor" / folder / "mimetypes" /
                                      "application-x-tessalycad-panorama.png",
                                  png);
    }
    const fs::path mimeapps = ConfigHome() / "mimeapps.list";
    std::string existing;
    {
        std::ifstream f(mimeapps, std::ios::binary);
        existing.assign(std::istreambuf_iterator<char>(f), {});
    }
    ok &= WriteFileAtomically(mimeapps, WithDefault(existing));
    RunTool("update-mime-database", {(data / "mime").string()});
    RunTool("update-desktop-database", {(data / "applications").string()});
    return ok;
}
