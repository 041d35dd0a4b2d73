// A temporary folder that is removed with everything in it at the end of the
// test, and helpers to read and write whole files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orv::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvalen-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    const std::string s = ReadFile(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Points XDG_CONFIG_HOME and XDG_DATA_HOME at folders of a temporary
// directory for the lifetime of the object.
class ScopedXdgHome {
public:
    ScopedXdgHome() {
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
    }
    std::string ConfigHome() const { return m_dir / "config"; }
    std::string DataHome() const { return m_dir / "data"; }
    std::string UserHive() const { return ConfigHome() + "/TessalyCAD/user.reg"; }
    std::string ClassesHive() const { return DataHome() + "/TessalyCAD/classes.reg"; }
    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
};

}  // namespace orv::test
