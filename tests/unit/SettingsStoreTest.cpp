// The settings store: get-or-create reads, the two encodings, "%.10lf" text,
// a decimal comma read as a point, independence from the process locale, and
// the fall-back root when HKEY_CURRENT_USER\Software\TessalyCAD cannot be made.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "platform/registry/Utf16.h"
#include "settings/CMSettingsStore.h"
#include "support/FaultyRegistry.h"
#include "support/TestRegistry.h"

using namespace orv::reg;
using orv::test::FaultyRegistry;
using orv::test::TestRegistry;

namespace {

const char* kSettings = "Software\\TessalyCAD\\Orvalen\\Settings";

std::vector<uint8_t> Text(const char* s) { return Utf8ToUtf16Bytes(s, true); }

std::vector<uint8_t> Stored(Registry& r, const char* keyPath, const char* name, uint32_t* type = nullptr) {
    Key key;
    if (r.OpenKey(CurrentUserRoot(), keyPath, &key) != Status::Ok) return {};
    uint32_t size = 0;
    if (r.QueryValue(key, name, type, nullptr, &size) != Status::Ok) return {};
    std::vector<uint8_t> data(size);
    r.QueryValue(key, name, type, data.data(), &size);
    return data;
}

// Reads the seven preferences as the frame and the view read them.
void ReadAllPreferences() {
    CMSettingsStore frame;
    frame.GetDword("WindowWidth", 800);
    frame.GetDword("WindowHeight", 800);
    CMSettingsStore view;
    view.GetDword("EnableMipmaps", 1);
    view.GetDouble("MouseDrag", 0.3);
    view.GetDouble("MouseInertia", 0.15);
    view.GetDouble("MouseLockDrag", 0.35);
    view.GetDouble("LogoSize", 100);
}

}  // namespace

TEST(SettingsStore, FirstStartWritesTheSevenDefaultsWithTheirEncodings) {
    TestRegistry t;
    ReadAllPreferences();
    const std::string expected =
        "[HKEY_CURRENT_USER\\Software\\TessalyCAD\\Orvalen\\Settings]\n"
        "\"WindowWidth\"=dword:00000320\n"
        "\"WindowHeight\"=dword:00000320\n"
        "\"EnableMipmaps\"=dword:00000001\n"
        "\"MouseDrag\"=\"0.3000000000\"\n"
        "\"MouseInertia\"=\"0.1500000000\"\n"
        "\"MouseLockDrag\"=\"0.3500000000\"\n"
        "\"LogoSize\"=\"100.0000000000\"\n\n";
    const std::string text = t.UserHiveText();
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected) << text;

    uint32_t type = 0;
    const auto drag = Stored(t.Files(), kSettings, "MouseDrag", &type);
    EXPECT_EQ(type, kString);
    EXPECT_EQ(drag.size(), 2u * 12 + 2) << "UTF-16 text with its terminating NUL";
    EXPECT_EQ(drag, Text("0.3000000000"));

    // A second start reads them back unchanged and writes nothing.
    ReadAllPreferences();
    EXPECT_EQ(t.UserHiveText(), text);
}

TEST(SettingsStore, StoredTextsReadAsNumbers) {
    struct Case {
        const char* stored;
        double expected;
    };
    const Case cases[] = {
        {"0,5", 0.5},          {"0.5", 0.5},        {"  -1.5e2xyz", -150.0}, {"+3", 3.0},
        {".25", 0.25},         {"7.", 7.0},         {"1e", 1.0},             {"2e+x", 2.0},
        {"abc", 0.0},          {"", 0.0},           {"-", 0.0},              {"inf", 0.0},
        {"0x10", 0.0},         {"1,000.5", 1.0},    {"\t\n4", 4.0},          {"1e400", HUGE_VAL},
        {"12 34", 12.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TestRegistry t;
        t.SetSetting("MouseDrag", kString, Text(c.stored));
        EXPECT_EQ(CMSettingsStore().GetDouble("MouseDrag", 0.3), c.expected);
        EXPECT_EQ(Stored(t.Files(), kSettings, "MouseDrag"), Text(c.stored)) << "a value that was read stays";
    }
}

TEST(SettingsStore, WholeNumbersIgnoreTheStoredType) {
    TestRegistry t;
    t.SetSetting("EnableMipmaps", kString, {0x31, 0x00, 0x00, 0x00});  // the text "1"
    EXPECT_EQ(CMSettingsStore().GetDword("EnableMipmaps", 1), 49u);
    t.SetDwordSetting("EnableMipmaps", 0);
    EXPECT_EQ(CMSettingsStore().GetDword("EnableMipmaps", 1), 0u);
    t.SetSetting("WindowWidth", kBinary, {0x00, 0x04, 0, 0, 0xff, 0xff});  // longer: first four bytes
    EXPECT_EQ(CMSettingsStore().GetDword("WindowWidth", 800), 1024u);

    // Fewer than four bytes make no whole number: the default replaces them.
    t.SetSetting("WindowHeight", kDword, {0x05, 0x00});
    EXPECT_EQ(CMSettingsStore().GetDword("WindowHeight", 800), 800u);
    uint32_t type = 0;
    EXPECT_EQ(Stored(t.Files(), kSettings, "WindowHeight", &type), std::vector<uint8_t>({0x20, 0x03, 0, 0}));
    EXPECT_EQ(type, kDword);

    // Strings read other types' bytes as UTF-16 up to the first NUL.
    t.SetSetting("Name", kBinary, {'a', 0, 'b', 0, 0, 0, 'c', 0});
    EXPECT_EQ(CMSettingsStore().GetString("Name", u"x"), u"ab");
}

TEST(SettingsStore, ValueDeletedWhileRunningIsRecreated) {
    TestRegistry t;
    CMSettingsStore store;
    EXPECT_EQ(store.GetDword("WindowWidth", 1024), 1024u);
    orv::test::WriteFile(t.Home().UserHive(), "[HKEY_CURRENT_USER\\Software\\TessalyCAD\\Orvalen\\Settings]\n");
    EXPECT_DOUBLE_EQ(store.GetDouble("MouseInertia", 0.15), 0.15);
    EXPECT_EQ(store.GetDword("WindowWidth", 640), 640u);
    EXPECT_EQ(Stored(t.Files(), kSettings, "WindowWidth"), std::vector<uint8_t>({0x80, 0x02, 0, 0}));
}

TEST(SettingsStore, DefaultIsTheParsedTextWhenWrittenBack) {
    TestRegistry t;
    // 1/3 is written as 0.3333333333 and read back from that text.
    EXPECT_EQ(CMSettingsStore().GetDouble("MouseDrag", 1.0 / 3.0), 0.3333333333);
    EXPECT_EQ(FormatSettingsDouble(100), "100.0000000000");
    EXPECT_EQ(FormatSettingsDouble(-0.15), "-0.1500000000");
    EXPECT_EQ(FormatSettingsDouble(1e20), "100000000000000000000.0000000000");
}

TEST(SettingsStore, GermanNumericLocaleChangesNothing) {
    TestRegistry t;
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "the test needs the generated de_DE locale";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5") << "the locale really uses a decimal comma";

    EXPECT_EQ(CMSettingsStore().GetDouble("MouseDrag", 0.3), 0.3);
    EXPECT_EQ(Stored(t.Files(), kSettings, "MouseDrag"), Text("0.3000000000"));
    t.SetSetting("MouseInertia", kString, Text("0.25"));
    EXPECT_EQ(CMSettingsStore().GetDouble("MouseInertia", 0.15), 0.25);
    t.SetSetting("MouseInertia", kString, Text("0,75"));
    EXPECT_EQ(CMSettingsStore().GetDouble("MouseInertia", 0.15), 0.75);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(SettingsStore, WithoutTheCompanyKeyValuesLandBelowTheUserRoot) {
    TestRegistry t;
    FaultyRegistry faulty(t.Files());
    faulty.failCreate = [](const std::string& path) { return path == "Software\\TessalyCAD"; };
    ScopedRegistry scope(faulty);
    EXPECT_EQ(CMSettingsStore().GetDword("WindowWidth", 800), 800u);
    EXPECT_EQ(Stored(t.Files(), "Orvalen\\Settings", "WindowWidth"), std::vector<uint8_t>({0x20, 0x03, 0, 0}));
    EXPECT_TRUE(Stored(t.Files(), kSettings, "WindowWidth").empty());
}

TEST(SettingsStore, FailedWritesStillGiveTheDefault) {
    TestRegistry t;
    FaultyRegistry faulty(t.Files());
    faulty.failSet = [](const std::string&, std::string_view) { return true; };
    ScopedRegistry scope(faulty);
    EXPECT_EQ(CMSettingsStore().GetDword("WindowWidth", 800), 800u);
    EXPECT_EQ(CMSettingsStore().GetDouble("MouseDrag", 0.3), 0.3);
    EXPECT_TRUE(Stored(t.Files(), kSettings, "WindowWidth").empty());

    // Nothing reachable at all: the default, unparsed.
    faulty.failCreate = [](const std::string&) { return true; };
    EXPECT_EQ(CMSettingsStore().GetDouble("MouseLockDrag", 1.0 / 3.0), 1.0 / 3.0);
}

TEST(SettingsStore, EveryKeyOpenedIsClosedButTheRoot) {
    TestRegistry t;
    FaultyRegistry counting(t.Files());
    ScopedRegistry scope(counting);
    {
        CMSettingsStore store;
        store.GetDword("WindowWidth", 800);   // missing: open fails, create and write
        store.GetDword("WindowWidth", 800);   // present: open, two queries
        store.GetDouble("MouseDrag", 0.3);
    }
    CMSettingsStore second;  // replaces the root and closes the old one
    second.GetDword("EnableMipmaps", 1);
    EXPECT_EQ(counting.opened - counting.closed, 1) << "only the settings root stays open";
}
