// The hive files: every value keeps its type and exact bytes, keys behave as
// registry keys, writes from several processes never lose a value, and a file
// that does not parse is kept aside before anything replaces it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/registry/FileRegistry.h"
#include "platform/registry/HiveText.h"
#include "support/TempDir.h"

using namespace orv::reg;
using orv::test::ReadFile;
using orv::test::ScopedXdgHome;
using orv::test::WriteFile;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list) v.push_back(static_cast<uint8_t>(b));
    return v;
}

std::vector<uint8_t> Query(Registry& r, const Key& key, std::string_view name, uint32_t* type = nullptr) {
    uint32_t size = 0;
    if (r.QueryValue(key, name, type, nullptr, &size) != Status::Ok) return {};
    std::vector<uint8_t> data(size);
    EXPECT_EQ(r.QueryValue(key, name, type, data.data(), &size), Status::Ok);
    return data;
}

struct ValueCase {
    const char* label;
    uint32_t type;
    std::vector<uint8_t> data;
    const char* line;  // how the file spells it; null: not checked
};

}  // namespace

TEST(HiveText, EveryValueKeepsItsTypeAndBytes) {
    const std::vector<ValueCase> cases = {
        {"dword", kDword, Bytes({0x20, 0x03, 0, 0}), "\"v\"=dword:00000320"},
        {"text", kString, Bytes({'0', 0, '.', 0, '3', 0, 0, 0}), "\"v\"=\"0.3\""},
        {"one as text", kString, Bytes({0x31, 0, 0, 0}), "\"v\"=\"1\""},
        {"quotes and backslash", kString, Bytes({'"', 0, '\\', 0, 0, 0}), "\"v\"=\"\\\"\\\\\""},
        {"umlaut", kString, Bytes({0xD6, 0, 'f', 0, 0, 0}), "\"v\"=\"\xC3\x96" "f\""},
        {"text without NUL", kString, Bytes({'a', 0}), "\"v\"=hex(1):61,00"},
        {"odd text", kString, Bytes({'a', 0, 0}), "\"v\"=hex(1):61,00,00"},
        {"text with newline", kString, Bytes({'a', 0, '\n', 0, 0, 0}), "\"v\"=hex(1):61,00,0a,00,00,00"},
        {"empty text", kString, Bytes({0, 0}), "\"v\"=\"\""},
        {"short dword", kDword, Bytes({1, 2}), "\"v\"=hex(4):01,02"},
        {"binary", kBinary, Bytes({0xde, 0xad}), "\"v\"=hex:de,ad"},
        {"empty binary", kBinary, {}, "\"v\"=hex:"},
        {"odd type", 0x12345, Bytes({7}), "\"v\"=hex(12345):07"},
        {"long value wraps", kBinary, std::vector<uint8_t>(100, 0xab), nullptr},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.label);
        Hive hive;
        Hive::SetValue(hive.CreateKey("Software\\Test"), "v", c.type, c.data);
        const std::string text = SerializeHive(hive, "HKEY_CURRENT_USER");
        if (c.line) {
            EXPECT_NE(text.find(std::string(c.line) + "\n"), std::string::npos) << text;
        }
        Hive back;
        std::string error;
        ASSERT_TRUE(ParseHive(text, "HKEY_CURRENT_USER", &back, &error)) << error << "\n" << text;
        EXPECT_EQ(back, hive);
    }
}

TEST(HiveText, RejectsMalformedText) {
    const char* bad[] = {
        "\"v\"=dword:1\n",                                     // value before any key
        "[HKEY_CURRENT_USER\\A\n",                             // no closing bracket
        "[HKEY_CLASSES_ROOT\\A]\n",                            // the other root
        "[HKEY_CURRENT_USERX]\n",                              // not the root
        "[HKEY_CURRENT_USER\\A\\\\B]\n",                       // empty component
        "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123\n",           // short dword
        "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:1234567g\n",      // bad digit
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:1,2\n",             // odd-length hex
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:zz\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex(1:00\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex(123456789):00\n",   // type too long
        "[HKEY_CURRENT_USER\\A]\n\"v\"=\"unterminated\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=\"bad \\n escape\"\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\" trailing\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"\n",                     // no '='
        "[HKEY_CURRENT_USER\\A]\n\"v\"=qword:1\n",             // unknown form
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n",           // continuation at end
        "[HKEY_CURRENT_USER\\A]\n\"v\"=\"\xff\xfe\"\n",        // not UTF-8
        "garbage\n",
    };
    for (const char* text : bad) {
        Hive hive;
        std::string error;
        EXPECT_FALSE(ParseHive(text, "HKEY_CURRENT_USER", &hive, &error)) << text;
        EXPECT_NE(error.find("line"), std::string::npos);
        EXPECT_TRUE(hive.Keys().empty());
    }
}

TEST(HiveText, AcceptsCommentsBlankLinesAndContinuations) {
    const std::string text =
        "\xEF\xBB\xBF; comment\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n"
        "\"v\"=hex:01,02,\\\r\n  03\r\n@=\"d\"\r\n[hkey_current_user\\a]\n";
    Hive hive;
    std::string error;
    ASSERT_TRUE(ParseHive(text, "HKEY_CURRENT_USER", &hive, &error)) << error;
    const HiveKey* key = hive.FindKey("a\\b");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Hive::FindValue(*key, "V")->data, Bytes({1, 2, 3}));
    EXPECT_EQ(Hive::FindValue(*key, "")->type, kString);
    EXPECT_EQ(hive.Keys().size(), 2u);  // A (the parent) and A\B; [a] names A again
}

TEST(FileRegistry, KeysAndValuesBehaveAsRegistryKeys) {
    ScopedXdgHome home;
    FileRegistry r(home.UserHive(), home.ClassesHive());
    Key missing;
    EXPECT_EQ(r.OpenKey(CurrentUserRoot(), "Software\\TessalyCAD", &missing), Status::NotFound);

    Key key;
    ASSERT_EQ(r.CreateKey(CurrentUserRoot(), "Software\\TessalyCAD\\Orvalen\\Settings", &key), Status::Ok);
    Key parent;
    EXPECT_EQ(r.OpenKey(CurrentUserRoot(), "software\\tessalycad", &parent), Status::Ok)
        << "parents are created, names compare without letter case";
    EXPECT_EQ(parent.path, "Software\\TessalyCAD");

    const auto one = Bytes({0x31, 0, 0, 0});
    ASSERT_EQ(r.SetValue(key, "EnableMipmaps", kString, one.data(), 4), Status::Ok);
    uint32_t type = 0, size = 0;
    EXPECT_EQ(r.QueryValue(key, "enablemipmaps", &type, nullptr, &size), Status::Ok);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, kString);
    uint8_t small[2];
    size = 2;
    EXPECT_EQ(r.QueryValue(key, "EnableMipmaps", nullptr, small, &size), Status::MoreData);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(Query(r, key, "EnableMipmaps"), one);
    EXPECT_EQ(r.QueryValue(key, "Missing", nullptr, nullptr, &size), Status::NotFound);

    // Another process (a second registry object on the same files) sees it.
    FileRegistry other(home.UserHive(), home.ClassesHive());
    EXPECT_EQ(Query(other, key, "EnableMipmaps"), one);

    // The classes root is a file of its own.
    Key cls;
    ASSERT_EQ(r.CreateKey(ClassesRoot(), ".orvp", &cls), Status::Ok);
    ASSERT_EQ(r.SetValue(cls, "", kString, one.data(), 4), Status::Ok);
    EXPECT_NE(ReadFile(home.ClassesHive()).find("[HKEY_CLASSES_ROOT\\.orvp]\n@=\"1\""), std::string::npos);
    EXPECT_EQ(ReadFile(home.UserHive()).find(".orvp"), std::string::npos);
}

TEST(FileRegistry, RefusesMalformedPathsAndNames) {
    ScopedXdgHome home;
    FileRegistry r(home.UserHive(), home.ClassesHive());
    Key key;
    for (const char* path : {"\\Leading", "A\\\\B", "Tab\there", "New\nline"}) {
        EXPECT_EQ(r.CreateKey(CurrentUserRoot(), path, &key), Status::InvalidParameter) << path;
    }
    ASSERT_EQ(r.CreateKey(CurrentUserRoot(), "A\\", &key), Status::Ok);
    EXPECT_EQ(key.path, "A");
    const uint8_t b = 1;
    EXPECT_EQ(r.SetValue(key, "bad\nname", kBinary, &b, 1), Status::InvalidParameter);
}

TEST(FileRegistry, ValueOfADeletedKeyIsNotFound) {
    ScopedXdgHome home;
    FileRegistry r(home.UserHive(), home.ClassesHive());
    Key key;
    ASSERT_EQ(r.CreateKey(CurrentUserRoot(), "A\\B", &key), Status::Ok);
    WriteFile(home.UserHive(), "[HKEY_CURRENT_USER\\A]\n");  // someone removed A\B
    const uint8_t b = 1;
    EXPECT_EQ(r.SetValue(key, "v", kBinary, &b, 1), Status::NotFound);
    uint32_t size = 0;
    EXPECT_EQ(r.QueryValue(key, "v", nullptr, nullptr, &size), Status::NotFound);
}

TEST(FileRegistry, CorruptFileIsKeptAsideBeforeItIsReplaced) {
    ScopedXdgHome home;
    const std::string garbage = "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:oops\n";
    WriteFile(home.UserHive(), garbage);
    FileRegistry r(home.UserHive(), home.ClassesHive());
    Key key;
    EXPECT_EQ(r.OpenKey(CurrentUserRoot(), "A", &key), Status::NotFound) << "reads see an empty hive";
    EXPECT_EQ(ReadFile(home.UserHive()), garbage) << "reading never moves or changes the file";

    ASSERT_EQ(r.CreateKey(CurrentUserRoot(), "B", &key), Status::Ok);
    EXPECT_EQ(ReadFile(home.UserHive() + ".corrupt-1"), garbage);
    EXPECT_NE(ReadFile(home.UserHive()).find("[HKEY_CURRENT_USER\\B]"), std::string::npos);

    // A second broken file does not overwrite the first one kept.
    WriteFile(home.UserHive(), "broken again");
    ASSERT_EQ(r.CreateKey(CurrentUserRoot(), "C", &key), Status::Ok);
    EXPECT_EQ(ReadFile(home.UserHive() + ".corrupt-1"), garbage);
    EXPECT_EQ(ReadFile(home.UserHive() + ".corrupt-2"), "broken again");
}

TEST(FileRegistry, ConcurrentWritersLoseNoValue) {
    ScopedXdgHome home;
    constexpr int kProcesses = 4, kValues = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            FileRegistry r(home.UserHive(), home.ClassesHive());
            Key key;
            int failures = 0;
            for (int i = 0; i < kValues; ++i) {
                failures += r.CreateKey(CurrentUserRoot(), "Shared\\Key", &key) != Status::Ok;
                const uint32_t v = static_cast<uint32_t>(p * 1000 + i);
                const std::string name = "p" + std::to_string(p) + "v" + std::to_string(i);
                failures += r.SetValue(key, name, kDword, reinterpret_cast<const uint8_t*>(&v), 4) != Status::Ok;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    FileRegistry r(home.UserHive(), home.ClassesHive());
    Key key;
    ASSERT_EQ(r.OpenKey(CurrentUserRoot(), "Shared\\Key", &key), Status::Ok);
    for (int p = 0; p < kProcesses; ++p) {
        for (int i = 0; i < kValues; ++i) {
            const auto data = Query(r, key, "p" + std::to_string(p) + "v" + std::to_string(i));
            ASSERT_EQ(data.size(), 4u);
            uint32_t v;
            std::memcpy(&v, data.data(), 4);
            EXPECT_EQ(v, static_cast<uint32_t>(p * 1000 + i));
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(home.ConfigHome() + "/TessalyCAD")) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << "no temporary file left";
    }
}

TEST(FileRegistry, FoldersFollowTheXdgVariables) {
    ScopedXdgHome home;
    EXPECT_EQ(XdgFolder("XDG_CONFIG_HOME", ".config"), home.ConfigHome() + "/TessalyCAD");
    setenv("XDG_CONFIG_HOME", "relative/path", 1);  // ignored, as the base directory rules say
    setenv("HOME", home.Dir().Path().c_str(), 1);
    EXPECT_EQ(XdgFolder("XDG_CONFIG_HOME", ".config"), home.Dir().Path().string() + "/.config/TessalyCAD");
}
