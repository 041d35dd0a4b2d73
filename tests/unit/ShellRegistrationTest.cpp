// The file-type registration in the classes hive: the nine entries in order,
// the claiming rule for extensions, and what a failed write leaves.
#include <gtest/gtest.h>

#include "app/ShellRegistration.h"
#include "platform/registry/Utf16.h"
#include "support/FaultyRegistry.h"
#include "support/TestRegistry.h"

using namespace orv::reg;
using orv::test::FaultyRegistry;
using orv::test::TestRegistry;

namespace {

ShellRegistrationInput ProgramInput() {
    ShellRegistrationInput in;
    in.executablePath = "/opt/orvalen dir/bin/orvalen";
    in.executableHasIcon = false;
    in.windowTitle = "Tessaly CAD Panorama";
    in.extensionList = ".orvp;.orvp2";
    in.fileTypeId = "TessalyCAD.Orvalen.Document";
    in.fileTypeName = "TessalyCAD.Orvalen.Document";
    return in;
}

std::string DefaultValue(Registry& r, const std::string& keyPath, const char* name = "") {
    Key key;
    if (r.OpenKey(ClassesRoot(), keyPath, &key) != Status::Ok) return "<no key>";
    uint32_t size = 0;
    if (r.QueryValue(key, name, nullptr, nullptr, &size) != Status::Ok) return "<no value>";
    std::vector<uint8_t> data(size);
    r.QueryValue(key, name, nullptr, data.data(), &size);
    return Utf16ToUtf8(StringValueText(data.data(), size));
}

void SetDefault(Registry& r, const std::string& keyPath, const std::string& text) {
    Key key;
    r.CreateKey(ClassesRoot(), keyPath, &key);
    const auto bytes = Utf8ToUtf16Bytes(text, true);
    r.SetValue(key, "", kString, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

}  // namespace

TEST(ShellRegistration, FirstStartWritesTheNineEntriesInOrder) {
    TestRegistry t;
    const auto result = RegisterShellFileTypes(t.Files(), ProgramInput());
    EXPECT_TRUE(result.fileTypeWritten);
    EXPECT_EQ(result.claimedExtensions, std::vector<std::string>({".orvp", ".orvp2"}));
    const std::string exe = "/opt/orvalen dir/bin/orvalen";
    const std::string expected =
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document]\n@=\"TessalyCAD.Orvalen.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\DefaultIcon]\n@=\"" + exe + ",0\"\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell]\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\open]\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\open\\command]\n@=\"" + exe + " \\\"%1\\\"\"\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\print]\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\print\\command]\n@=\"" + exe +
        " /p \\\"%1\\\"\"\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\printto]\n\n"
        "[HKEY_CLASSES_ROOT\\TessalyCAD.Orvalen.Document\\shell\\printto\\command]\n@=\"" + exe +
        " /pt \\\"%1\\\" \\\"%2\\\" \\\"%3\\\" \\\"%4\\\"\"\n\n"
        "[HKEY_CLASSES_ROOT\\.orvp]\n@=\"TessalyCAD.Orvalen.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\.orvp\\ShellNew]\n\"NullFile\"=\"\"\n\n"
        "[HKEY_CLASSES_ROOT\\.orvp2]\n@=\"TessalyCAD.Orvalen.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\.orvp2\\ShellNew]\n\"NullFile\"=\"\"\n\n";
    EXPECT_EQ(orv::test::ReadFile(t.Home().ClassesHive()), "; Orvalen registry hive\n\n" + expected);

    // A second start from another folder rewrites the commands.
    auto moved = ProgramInput();
    moved.executablePath = "/usr/bin/orvalen";
    RegisterShellFileTypes(t.Files(), moved);
    EXPECT_EQ(DefaultValue(t.Files(), "TessalyCAD.Orvalen.Document\\shell\\open\\command"), "/usr/bin/orvalen \"%1\"");
    EXPECT_EQ(DefaultValue(t.Files(), "TessalyCAD.Orvalen.Document\\DefaultIcon"), "/usr/bin/orvalen,0");
}

TEST(ShellRegistration, ExtensionsOfOtherFileTypesAreLeftAlone) {
    struct Case {
        const char* label;
        std::string existing;  // "" key with empty default; "<none>" no key
        bool claimed;
    };
    const Case cases[] = {
        {"free", "<none>", true},
        {"empty default", "", true},
        {"ours", "TessalyCAD.Orvalen.Document", true},
        {"another type", "SomeOther.Viewer", false},
        {"ours in other letter case", "tessalycad.orvalen.document", false},
        {"too long for the buffer", std::string(260, 'x'), true},
        {"just fits the buffer", std::string(259, 'x'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestRegistry t;
        if (c.existing != "<none>") SetDefault(t.Files(), ".orvp", c.existing);
        const auto result = RegisterShellFileTypes(t.Files(), ProgramInput());
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp") == "TessalyCAD.Orvalen.Document", c.claimed);
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp\\ShellNew", "NullFile") == "", c.claimed);
        EXPECT_EQ(result.claimedExtensions.size(), c.claimed ? 2u : 1u);
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp2"), "TessalyCAD.Orvalen.Document") << "the other one is still claimed";
        EXPECT_EQ(DefaultValue(t.Files(), "TessalyCAD.Orvalen.Document\\shell\\open\\command"),
                  "/opt/orvalen dir/bin/orvalen \"%1\"");
    }
}

TEST(ShellRegistration, AnExtensionTheDesktopGivesToAnotherTypeIsLeftAlone) {
    TestRegistry t;
    auto in = ProgramInput();
    in.ownedElsewhere = [](const std::string& ext) { return ext == ".orvp2"; };
    const auto result = RegisterShellFileTypes(t.Files(), in);
    EXPECT_EQ(result.claimedExtensions, std::vector<std::string>({".orvp"}));
    EXPECT_EQ(DefaultValue(t.Files(), ".orvp2"), "<no key>");
}

TEST(ShellRegistration, FailedWrites) {
    {
        SCOPED_TRACE("file type key cannot be written: nothing at all");
        TestRegistry t;
        FaultyRegistry faulty(t.Files());
        faulty.failCreate = [](const std::string&) { return true; };
        const auto result = RegisterShellFileTypes(faulty, ProgramInput());
        EXPECT_FALSE(result.fileTypeWritten);
        EXPECT_EQ(orv::test::ReadFile(t.Home().ClassesHive()), "");
    }
    {
        SCOPED_TRACE("a command fails: the rest of the template is abandoned");
        TestRegistry t;
        FaultyRegistry faulty(t.Files());
        faulty.failCreate = [](const std::string& p) { return p.ends_with("print\\command"); };
        RegisterShellFileTypes(faulty, ProgramInput());
        EXPECT_EQ(DefaultValue(t.Files(), "TessalyCAD.Orvalen.Document\\shell\\open\\command"),
                  "/opt/orvalen dir/bin/orvalen \"%1\"");
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp"), "<no key>");
    }
    {
        SCOPED_TRACE(".orvp cannot be written: .orvp2 still is");
        TestRegistry t;
        FaultyRegistry faulty(t.Files());
        faulty.failSet = [](const std::string& path, std::string_view) { return path == ".orvp"; };
        const auto result = RegisterShellFileTypes(faulty, ProgramInput());
        EXPECT_EQ(result.claimedExtensions, std::vector<std::string>({".orvp2"}));
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp\\ShellNew", "NullFile"), "<no key>");
        EXPECT_EQ(DefaultValue(t.Files(), ".orvp2\\ShellNew", "NullFile"), "");
    }
    {
        SCOPED_TRACE("NullFile fails: ignored");
        TestRegistry t;
        FaultyRegistry faulty(t.Files());
        faulty.failSet = [](const std::string&, std::string_view name) { return name == "NullFile"; };
        const auto result = RegisterShellFileTypes(faulty, ProgramInput());
        EXPECT_EQ(result.claimedExtensions.size(), 2u);
    }
}

TEST(ShellRegistration, ExtensionListSplitting) {
    EXPECT_EQ(SplitExtensionList(";.orvp;;.orvp2"), std::vector<std::string>({".orvp", ".orvp2"}));
    EXPECT_EQ(SplitExtensionList(".a b;"), std::vector<std::string>({".a b"}));
    EXPECT_TRUE(SplitExtensionList(";;;").empty());
    EXPECT_TRUE(SplitExtensionList("").empty());
    TestRegistry t;
    auto in = ProgramInput();
    in.extensionList = ";.orvp;;.orvp2";
    EXPECT_EQ(RegisterShellFileTypes(t.Files(), in).claimedExtensions.size(), 2u);
    in.fileTypeId.clear();
    TestRegistry empty;
    EXPECT_FALSE(RegisterShellFileTypes(empty.Files(), in).fileTypeWritten) << "no id: the template is skipped";
    EXPECT_EQ(orv::test::ReadFile(empty.Home().ClassesHive()), "");
}
