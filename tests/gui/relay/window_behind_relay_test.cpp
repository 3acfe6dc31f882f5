// The window behind a relay that passes the box's output on a byte at a
// time, as over a slow link: every prompt and listing line reaches it cut
// into pieces.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_bytes.h"
#include "window_under_test.h"

namespace {

namespace fs = std::filesystem;

using olmira::test_support::FileBytes;

constexpr int kSlowLinkMs = 30000;
// The first job writes the box's job runner first, some kB each way.
constexpr int kFirstJobMs = 75000;

TEST(WindowBehindRelay, ListsBothPanesAndCopies) {
    WindowUnderTest test(WindowUnderTest::BoxIni() + "[Transfer]\r\nwith_crid=0\r\n");
    ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list";
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    ASSERT_TRUE(WaitUntil([&] { return test.Captions("SourceList").contains("Nachrichten.ts"); },
                          kSlowLinkMs));
    ASSERT_TRUE(
        WaitUntil([&] { return test.Captions("DestList").contains("Konzert.ts"); }, kSlowLinkMs));
    EXPECT_EQ(test.Captions("SourceList"), (QStringList{"./", "Dokus/", "Filme/", "Leer/",
                                                        "Nachrichten.crid", "Nachrichten.ts"}));

    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([&] { return test.Captions("DestList").contains("Nachrichten.ts"); },
                          kFirstJobMs));
    const fs::path media = qEnvironmentVariable("SIMBOX_MEDIA").toStdString();
    EXPECT_TRUE(FileBytes(media / "usb" / "Nachrichten.ts") ==
                FileBytes(media / "hdd" / "Nachrichten.ts"));
    EXPECT_EQ(test.StatusTexts().back(), "Bereit...");
}

}  // namespace
