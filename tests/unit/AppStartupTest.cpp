// Start-up failures of the platform services show the program's messages and
// end start-up before the splash or anything else is made.
#include <gtest/gtest.h>

#include "app/CMOrvalenApp.h"
#include "support/RecordingMessages.h"
#include "support/TestRegistry.h"

namespace {

struct FailingPlatform : PlatformStartup {
    bool oleFails = false, imageLibraryFails = false;
    int stops = 0;
    bool InitOle() override { return !oleFails; }
    bool StartImageLibrary() override { return !imageLibraryFails; }
    void StopImageLibrary() override { ++stops; }
};

struct Outcome {
    bool started;
    std::vector<std::string> shown;
    int stops;
    std::string classesHive;
};

Outcome Start(bool oleFails, bool imageLibraryFails) {
    orv::test::TestRegistry registry;
    auto platform = std::make_unique<FailingPlatform>();
    FailingPlatform* p = platform.get();
    p->oleFails = oleFails;
    p->imageLibraryFails = imageLibraryFails;
    int argc = 1;
    char name[] = "orvalen";
    char* argv[] = {name, nullptr};
    orv::test::RecordingMessages messages;
    CMOrvalenApp app(argc, argv, std::move(platform));
    app.SetUserMessages(&messages);
    Outcome o;
    o.started = app.InitInstance();
    app.ExitInstance();
    o.shown = messages.shown;
    o.stops = p->stops;
    o.classesHive = orv::test::ReadFile(registry.Home().ClassesHive());
    return o;
}

}  // namespace

TEST(AppStartup, OleFailureShowsItsMessageAndEnds) {
    const Outcome o = Start(true, false);
    EXPECT_FALSE(o.started);
    ASSERT_EQ(o.shown.size(), 1u);
    EXPECT_EQ(o.shown[0],
              "OLE-Initialisierungsfehler. Stellen Sie sicher, dass die OLE-Bibliotheken in der richtigen Version "
              "vorliegen.");
    EXPECT_EQ(o.stops, 0) << "nothing was started that needs stopping";
    EXPECT_EQ(o.classesHive, "") << "start-up ended before the registration";
}

TEST(AppStartup, ImageLibraryFailureShowsItsMessageAndEnds) {
    const Outcome o = Start(false, true);
    EXPECT_FALSE(o.started);
    ASSERT_EQ(o.shown.size(), 1u);
    EXPECT_EQ(o.shown[0], "Bei der Initialisierung von GDI+ ist ein Fehler aufgetreten!");
    EXPECT_EQ(o.stops, 0);
    EXPECT_EQ(o.classesHive, "");
}
