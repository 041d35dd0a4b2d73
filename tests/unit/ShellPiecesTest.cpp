// Pieces of the shell without a window: the command line, the recent-file
// list in the registry, and the quoting of the desktop entry's Exec line.
#include <gtest/gtest.h>

#include "app/DesktopExport.h"
#include "framework/CommandLine.h"
#include "framework/RecentFileList.h"
#include "support/TestRegistry.h"

using framework::CommandLineInfo;
using framework::ParseCommandLine;

TEST(CommandLine, Forms) {
    struct Case {
        std::vector<std::string> args;
        CommandLineInfo::Action action;
        std::string file;
    };
    const Case cases[] = {
        {{}, CommandLineInfo::Action::FileNew, ""},
        {{"/home/anna/Bilder/a b.orvp"}, CommandLineInfo::Action::FileOpen, "/home/anna/Bilder/a b.orvp"},
        {{"/p", "/tmp/x.orvp"}, CommandLineInfo::Action::FilePrint, "/tmp/x.orvp"},
        {{"/P", "/tmp/x.orvp"}, CommandLineInfo::Action::FilePrint, "/tmp/x.orvp"},
        {{"/pt", "/tmp/x.orvp", "printer", "driver", "port"}, CommandLineInfo::Action::FilePrintTo, "/tmp/x.orvp"},
        {{"/p"}, CommandLineInfo::Action::FileNew, ""},
        {{"/pfad/mit$dollar\"und'quote"}, CommandLineInfo::Action::FileOpen, "/pfad/mit$dollar\"und'quote"},
        {{"a.orvp", "b.orvp"}, CommandLineInfo::Action::FileOpen, "a.orvp"},
    };
    for (const Case& c : cases) {
        const CommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.action, c.action) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(info.fileName, c.file);
    }
    const auto printTo = ParseCommandLine({"/pt", "/x.orvp", "P", "D", "O"});
    EXPECT_EQ(printTo.printerName, "P");
    EXPECT_EQ(printTo.portName, "O");
}

TEST(RecentFileList, KeepsFourMostRecentFirstAcrossRuns) {
    orv::test::TestRegistry t;
    const std::string key = "Software\\TessalyCAD\\orvalen\\Recent File List";
    {
        framework::RecentFileList list(key, 4);
        list.Load();
        for (const char* p : {"/a.orvp", "/b.orvp", "/c.orvp", "/d.orvp", "/e.orvp", "/c.orvp"}) list.Add(p);
        list.Save();
    }
    framework::RecentFileList next(key, 4);
    next.Load();
    EXPECT_EQ(next.Entries(), std::vector<std::string>({"/c.orvp", "/e.orvp", "/d.orvp", "/b.orvp"}));
    next.Remove(1);
    next.Add("/mit\nneuer Zeile und ümlaut.orvp");
    next.Save();
    framework::RecentFileList third(key, 4);
    third.Load();
    EXPECT_EQ(third.Entries(),
              std::vector<std::string>({"/mit\nneuer Zeile und ümlaut.orvp", "/c.orvp", "/d.orvp", "/b.orvp"}));
    const std::string hive = t.UserHiveText();
    EXPECT_NE(hive.find("[HKEY_CURRENT_USER\\Software\\TessalyCAD\\orvalen\\Recent File List]"), std::string::npos);
    EXPECT_NE(hive.find("\"File1\"=hex(1):"), std::string::npos) << "a newline keeps its bytes";
}

TEST(DesktopExport, ExecArgumentsAreQuotedForTheDesktopEntry) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/orvalen", "\"/usr/bin/orvalen\""},
        {"/opt/mit leer/orvalen", "\"/opt/mit leer/orvalen\""},
        {"/opt/$HOME/x", "\"/opt/\\\\$HOME/x\""},
        {"/opt/a\"b", "\"/opt/a\\\\\"b\""},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/`cmd`", "\"/opt/\\\\`cmd\\\\`\""},
    };
    for (const auto& [path, quoted] : cases) EXPECT_EQ(QuoteExecArgument(path), quoted) << path;
}
