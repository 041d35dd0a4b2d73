// The headless renderer as a user runs it: exit codes, messages on standard
// error, and the PNG it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "platform/image/Image.h"
#include "support/TempDir.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string stderrText;
};

// Runs the renderer with arguments, each single-quoted for the shell.
ToolRun Render(const std::vector<std::string>& args, const orv::test::TempDir& dir) {
    std::string command = "XDG_CONFIG_HOME='" + dir.Path().string() + "/config' '" ORV_RENDER "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " 2>'" + dir.Path().string() + "/stderr.txt'";
    ToolRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.stderrText = orv::test::ReadFile(dir / "stderr.txt");
    return run;
}

std::string Sample(const std::string& name) { return std::string(ORV_SOURCE_DIR) + "/sample/" + name; }

}  // namespace

TEST(RenderTool, RendersTheSampleAtTheGivenSizeTopRowFirst) {
    orv::test::TempDir dir;
    const std::string out = dir / "frame.png";
    const ToolRun run = Render({"--size", "320x200", "--pitch", "-60", Sample("sample.orvp2"), "-o", out}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    auto image = orv::image::Image::FromFile(out);
    ASSERT_EQ(image->LastStatus(), orv::image::Status::Ok);
    EXPECT_EQ(image->Width(), 320u);
    EXPECT_EQ(image->Height(), 200u);
    // Looking up, the top rows show the sky-blue top face (150, 200, 235).
    orv::image::LockedBits bits;
    ASSERT_EQ(image->LockBits({10, 5, 1, 1}, &bits), orv::image::Status::Ok);
    EXPECT_NEAR(bits.scan0[2], 150, 12);
    EXPECT_NEAR(bits.scan0[1], 200, 12);
    EXPECT_NEAR(bits.scan0[0], 235, 12);
    EXPECT_EQ(bits.scan0[3], 255) << "an RGB file, opaque";
}

TEST(RenderTool, ExitCodesAndMessages) {
    orv::test::TempDir dir;
    const std::string out = dir / "x.png";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* stderrHas;
    };
    const std::string missing = dir / "missing.orvp";
    const std::string other = dir / "picture.png";
    orv::test::WriteFile(other, "x");
    const Case cases[] = {
        {{Sample("sample.orvp"), "-o", out}, 0, ""},
        {{missing, "-o", out}, 1, "Das Panorama\n"},
        {{other, "-o", out}, 1, "konnte nicht geladen werden!"},
        {{}, 2, "usage:"},
        {{Sample("sample.orvp")}, 2, "no output file"},
        {{"--size", "0x10", Sample("sample.orvp"), "-o", out}, 2, "bad size"},
        {{"--size", "100", Sample("sample.orvp"), "-o", out}, 2, "bad size"},
        {{"--yaw", "abc", Sample("sample.orvp"), "-o", out}, 2, "bad number"},
        {{"--yaw"}, 2, "needs a value"},
        {{"--frobnicate", Sample("sample.orvp"), "-o", out}, 2, "unknown option"},
        {{Sample("sample.orvp"), Sample("sample.orvp2"), "-o", out}, 2, "more than one file"},
        {{Sample("sample.orvp"), "-o", dir / "no/such/folder/x.png"}, 1, "cannot"},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const auto& a : c.args) label += a + " ";
        SCOPED_TRACE(label);
        const ToolRun run = Render(c.args, dir);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.stderrText;
        EXPECT_NE(run.stderrText.find(c.stderrHas), std::string::npos) << run.stderrText;
    }
    const ToolRun failed = Render({missing, "-o", out}, dir);
    EXPECT_EQ(failed.stderrText, "Das Panorama\n" + missing + "\nkonnte nicht geladen werden!\n");
}
