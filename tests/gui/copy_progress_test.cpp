// The progress window on its own, fed as the copy controller feeds it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include "form_copy_progress.h"

namespace {

class CopyProgress : public testing::Test {
protected:
    QString Text(const char* name) const {
        return progress.findChild<QLabel*>(QString::fromUtf8(name))->text();
    }

    QWidget owner;
    TformCopyProgress progress{&owner};
};

TEST_F(CopyProgress, AJobOfSeveralEntriesNamesTheCurrentOneAndItsPlace) {
    progress.Start({"hdd/Filme/", "usb/", 5000});
    progress.Update({100, 2, 50, "", "", 0, 0});
    EXPECT_EQ(Text("labelCopyWhat"), "Daten werden kopiert...");
    EXPECT_EQ(Text("labelSource"), "hdd/Filme/");
    EXPECT_EQ(Text("labelTransfer"), "100");

    // A name may hold what looks like a place holder.
    progress.Update({200, 4, 60, "W\xe4lder %1.ts", "hdd/Filme/W\xe4lder %1.ts", 2, 13});
    EXPECT_EQ(Text("labelCopyWhat"), QStringLiteral("Wälder %1.ts (2 von 13)"));
    EXPECT_EQ(Text("labelSource"), QStringLiteral("hdd/Filme/Wälder %1.ts"));
    EXPECT_EQ(Text("labelDest"), "usb/");
    EXPECT_EQ(Text("labelTransfer"), "200");
    EXPECT_EQ(Text("labelAVG"), "60");

    progress.Update({300, 6, 70, "b.ts", "hdd/Filme/b.ts", 3, 13});
    EXPECT_EQ(Text("labelCopyWhat"), "b.ts (3 von 13)");
    EXPECT_EQ(Text("labelSource"), "hdd/Filme/b.ts");
}

}  // namespace
