#include "tidy/box_path.h"

#include <gtest/gtest.h>

namespace olmira {
namespace {

TEST(BoxPathTest, OnlyPlainPathsBelowADriveAreTouched) {
    const struct {
        std::string_view path;
        std::optional<std::string_view> read, change;
    } cases[] = {
        {"hdd/Filme/", std::nullopt, std::nullopt},
        {"hdd/Filme/Der Film.ts", std::nullopt, std::nullopt},
        {"hdd/K?se \"1\" $x `y`.ts", std::nullopt, std::nullopt},
        {"hdd/.versteckt", std::nullopt, std::nullopt},
        {"hdd/...", std::nullopt, std::nullopt},
        {"usb/", std::nullopt,
         "Ein Laufwerk selbst wird nicht gelöscht, umbenannt oder verschoben: usb/"},
        {"usb", std::nullopt,
         "Ein Laufwerk selbst wird nicht gelöscht, umbenannt oder verschoben: usb"},
        {"", "Kein Pfad angegeben.", "Kein Pfad angegeben."},
        {"/etc", "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: /etc",
         "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: /etc"},
        {"../etc", "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: ../etc",
         "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: ../etc"},
        {"./", "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: ./",
         "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: ./"},
        {"hdd/../", "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/../",
         "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/../"},
        {"hdd/./x", "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/./x",
         "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/./x"},
        {"hdd/Filme/..", "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/Filme/..",
         "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/Filme/.."},
        {"hdd//x", "Pfade mit leerem Teil („//“) werden nicht angefasst: hdd//x",
         "Pfade mit leerem Teil („//“) werden nicht angefasst: hdd//x"},
        {"hdd/x//", "Pfade mit leerem Teil („//“) werden nicht angefasst: hdd/x//",
         "Pfade mit leerem Teil („//“) werden nicht angefasst: hdd/x//"},
        // The line break would end the command line; the message keeps to one line.
        {"hdd/a\nrm -rf x", "Pfade mit Steuerzeichen werden nicht angefasst: hdd/a?rm -rf x",
         "Pfade mit Steuerzeichen werden nicht angefasst: hdd/a?rm -rf x"},
        {"hdd/a\rb\x7f", "Pfade mit Steuerzeichen werden nicht angefasst: hdd/a?b?",
         "Pfade mit Steuerzeichen werden nicht angefasst: hdd/a?b?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathRefusal(c.path, PathUse::Read), c.read) << c.path;
        EXPECT_EQ(PathRefusal(c.path, PathUse::Change), c.change) << c.path;
    }
}

TEST(BoxPathTest, ANewNameIsOneNewWordOfTheFolder) {
    const EntryList entries{{"./", EntryKind::ThisFolder, ""},
                            {"../", EntryKind::ParentFolder, ""},
                            {"Filme/", EntryKind::Folder, "4"},
                            {"Konzert.ts", EntryKind::File, "1280"}};
    const struct {
        std::string_view name;
        std::optional<std::string_view> refusal;
    } cases[] = {
        {"Neu", std::nullopt},
        {"Filme 2", std::nullopt},
        {"filme", std::nullopt},
        {"Konzert.ts.alt", std::nullopt},
        {"\"Zitat\" $HOME `id`;*?", std::nullopt},
        {"Käse", std::nullopt},
        {".versteckt", std::nullopt},
        {"", "Der Name darf nicht leer sein."},
        {".", "Der Name „.“ ist nicht erlaubt."},
        {"..", "Der Name „..“ ist nicht erlaubt."},
        {"a/b", "Der Name darf kein „/“ enthalten."},
        {"Neu/", "Der Name darf kein „/“ enthalten."},
        {"a\nb", "Der Name darf keine Steuerzeichen wie Zeilenumbrüche enthalten."},
        {"a\tb", "Der Name darf keine Steuerzeichen wie Zeilenumbrüche enthalten."},
        {"Filme", "„Filme“ gibt es in diesem Ordner schon."},
        {"Konzert.ts", "„Konzert.ts“ gibt es in diesem Ordner schon."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameRefusal(c.name, entries), c.refusal) << c.name;
    }
}

// mv replaces without asking: where ls shows "?" for bytes it cannot show, a
// listed entry may already be the new name, and only the renamed one itself
// may look like it.
TEST(BoxPathTest, ARenameNeverTakesTheNameOfAnEntryListedAlike) {
    const EntryList entries{{"./", EntryKind::ThisFolder, ""},
                            {"W??lder.ts", EntryKind::File, "4"},
                            {"Gr??e/", EntryKind::Folder, "4"},
                            {"Alt.ts", EntryKind::File, "4"}};
    EXPECT_EQ(RenameRefusal("W\xc3\xb6lder.ts", "Alt.ts", entries),
              "„W\xc3\xb6lder.ts“ gibt es in diesem Ordner womöglich schon: die Box zeigt "
              "„W??lder.ts“.");
    EXPECT_TRUE(RenameRefusal("Gr\xfc\xdf"
                              "e",
                              "Alt.ts", entries)
                    .has_value());
    EXPECT_EQ(RenameRefusal("W\xc3\xb6lder.ts", "W??lder.ts", entries), std::nullopt);
    EXPECT_EQ(RenameRefusal("Wolder.ts", "Alt.ts", entries), std::nullopt);
}

}  // namespace
}  // namespace olmira
