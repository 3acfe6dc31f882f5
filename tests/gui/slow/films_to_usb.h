#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "form_copy_progress.h"
#include "window_under_test.h"

// The window logged in to a box whose cp is slow, hdd/Filme/ listed on the
// left and usb/ on the right; a copy above 100 kB gets a progress window
// that is updated each second.
class FilmsToUsb : public testing::Test {
protected:
    static constexpr char kFilm[] = "Spielfilm 1.ts";

    void SetUp() override {
        ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list";
        test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
        test.DoubleClick("SourceList", "Filme/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", kFilm));
        test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
        ASSERT_TRUE(test.WaitForCaption("DestList", "Konzert.ts"));
    }

    TformCopyProgress* Progress() { return test.Window().ProgressWindow(); }

    std::string media = qEnvironmentVariable("SIMBOX_MEDIA").toStdString();
    WindowUnderTest test{
        WindowUnderTest::BoxIni() +
        "[Transfer]\r\nprogress_min_size=100\r\nupdate_intervall=1000\r\nwith_crid=0\r\n"};
};
