// The category store on real files in the temporary home, with the index in
// a settings hive in memory. Every failure is checked through what the user
// is told and what is left on disk.
#include "categories/auto_categories.h"
#include "categories/category_file.h"
#include "categories/category_names.h"
#include "category_fixture.h"
#include "font_builder.h"
#include "fonts/facts_cache.h"
#include "fonts/font_text.h"
#include "told.h"

#include <sys/stat.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::CategoryFixture;
using Names = std::vector<std::string>;

class CategoryStoreTest : public CategoryFixture {
protected:
    // A store as the program makes it at start.
    TCategoryStore& Started() {
        Store = std::make_unique<TCategoryStore>(Places);
        Store->CategoriesChanged = [this](const std::string& name) { Notices.push_back(name); };
        Store->Start();
        return *Store;
    }
    // A new category, the user typing this name when asked for one.
    void CreateNamed(const std::string& name) {
        test::TestPrompts().TextAnswers.push_back(name);
        Store->CreateCategory();
    }

    std::unique_ptr<TCategoryStore> Store;
    Names Notices;
};

TEST_F(CategoryStoreTest, TheNewEntryComesFirstOnAFirstRunAndBeforeAnIndexKeptInItsOrder) {
    TCategoryStore& store = Started();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Store->Categories(), Names{"<Novi>"});
    EXPECT_EQ(store.Current(), 0);
    EXPECT_EQ(Notices, Names{""}) << "the sheet builds its menu at start";
    EXPECT_TRUE(fs::is_directory(Folder()));
    EXPECT_EQ(store.Folder(), Folder().string() + "/");
    EXPECT_EQ(store.Available(),
              (Names{"Arial", "Bodoni", "Courier", "Serif", "Tahoma", "Verdana"}));
    store.SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 0u);

    // Settings saved before any category was: no index, and nothing wrong.
    Stored().clear();
    Stored()["Font Size"] = TRegValue::FromInteger(24);
    Started();
    EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
    EXPECT_EQ(Store->Categories(), Names{"<Novi>"});

    // With an index the new entry stays first and the index keeps its order.
    StoreIndex({"Zebra", "!Early", "0 Digits", "aardvark", "Zebra"});
    Started();
    EXPECT_EQ(Store->Categories().front(), "<Novi>");
    EXPECT_EQ(Store->Categories().size(), 5u) << "a name twice in the index is one category";
    EXPECT_EQ(Store->Categories().back(), "Zebra");
    Store->SaveCategoryList();
    for (size_t i = 1; i < Store->Categories().size(); ++i) {
        EXPECT_EQ(Stored().at("Category" + std::to_string(i)).Text, Store->Categories()[i]);
    }
    EXPECT_EQ(Stored().count("Category5"), 0u);
    // After a language switch the entry speaks the new language, still first.
    SetLanguage(1);
    Store->UpdatePlaceholder();
    EXPECT_EQ(Store->Categories().front(), "<Nueva>");
    EXPECT_EQ(Store->Current(), 0);
}

TEST_F(CategoryStoreTest, TheFolderIsMadeOnceWhereItCanBeAndTakesInTheLooseCategoryFiles) {
    WriteText(ProgramFolder / "Work.lst", "Arial\r\n");
    WriteText(ProgramFolder / "Old.LST", "Tahoma\r\n");
    WriteText(ProgramFolder / "notes.txt", "kept");
    Started();
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\n");
    EXPECT_EQ(ReadText(Folder() / "Old.lst"), "Tahoma\r\n") << "read as a category's file is";
    EXPECT_FALSE(fs::exists(ProgramFolder / "Work.lst"));
    EXPECT_TRUE(fs::exists(ProgramFolder / "notes.txt"));

    // With the folder there, nothing moves and nothing in it is replaced.
    WriteText(ProgramFolder / "Later.lst", "Verdana\r\n");
    WriteText(ProgramFolder / "Work.lst", "other\r\n");
    Started();
    EXPECT_TRUE(fs::exists(ProgramFolder / "Later.lst"));
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\n");
    EXPECT_TRUE(Messages().empty());

    // A program folder that cannot be written (not even root may make
    // entries here) sends the categories to the data folder.
    Places.ProgramFolder = "/proc/self";
    StoreIndex({"Work", "Serif"});
    WriteText(Root / "data" / "Work.lst", "Arial\r\n");
    TCategoryStore& store = Started();
    EXPECT_EQ(store.Folder(), (Root / "data" / "Categories").string() + "/");
    EXPECT_EQ(ReadText(Root / "data" / "Categories" / "Work.lst"), "Arial\r\n");
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Serif", "Work"}));

    // Where no folder can be made at all the user hears of it, and the index
    // is never replaced by an empty list on that account.
    WriteText(Root / "blocked", "a file where a folder should be");
    Places.DataFolder = (Root / "blocked" / "data").string();
    test::TestPrompts().Reset();
    Started();
    ASSERT_TRUE(test::ToldOnce("I/O Greska.", std::nullopt, TMsgIcon::Error));
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Serif", "Work"}));
    Store->SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 2u);
    EXPECT_EQ(Stored().at("Category2").Text, "Work");

    // Without a data folder at all: told, and nothing is written anywhere
    // else (not in the current folder).
    Places.DataFolder.clear();
    test::TestPrompts().Reset();
    const fs::path before = fs::current_path();
    fs::current_path(Root);
    Started();
    CreateNamed("Stray");
    fs::current_path(before);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].Text, "I/O Greska.");
    EXPECT_EQ(Messages()[1].Text, "Greska kreiranja Stray.lst.");
    EXPECT_FALSE(fs::exists(Root / "Stray.lst"));
    EXPECT_FALSE(fs::exists(Root / "Categories"));
}

TEST_F(CategoryStoreTest, FilesAreWrittenSortedWithCrLfAndReadWhateverTheLineEndsOrCodePage) {
    // Windows-1250 first; Windows-1252 where only it names an installed family.
    for (const char* family : {"Čačak", "Crème", "Šum©"}) {
        Fonts.AddFace(family, test::TrueTypeFace(family, "Regular", NTM_REGULAR));
    }
    FontManager->Refresh();
    const std::string old = "\xC8"
                            "a\xE8"
                            "ak\r\nCr\xE8me\r\nArial\r\n\x8Aum\xA9\r\n";
    MakeCategory("Old", old);
    TCategoryStore& store = Started();
    // Members keep the list's order, whatever the order they came in.
    EXPECT_TRUE(store.SaveCategory("Mixed", SortedUnique({"b", "A", "c"})));
    EXPECT_EQ(ReadText(Folder() / "Mixed.lst"), "A\r\nb\r\nc\r\n");
    store.SelectCategory(0);
    for (const char* family : {"Verdana", "Arial", "Tahoma"}) {
        const auto& available = store.Available();
        store.MoveToCategory({static_cast<int>(
            std::find(available.begin(), available.end(), family) - available.begin())});
    }
    test::TestPrompts().TextAnswers.push_back("Added");
    store.CommitCategory();
    EXPECT_EQ(ReadText(Folder() / "Added.lst"), "Arial\r\nTahoma\r\nVerdana\r\n");
    EXPECT_TRUE(store.SaveCategory("Empty", {}));
    EXPECT_EQ(ReadText(Folder() / "Empty.lst"), "");

    const std::pair<const char*, Names> cases[] = {
        {"Arial\r\narial\r\n", {"Arial"}},
        {"arial\r\nArial\r\n", {"arial"}},
        {"Tahoma\nArial\rVerdana\r\n", {"Arial", "Tahoma", "Verdana"}},
        {"\xEF\xBB\xBFVerdana\nArial\n", {"Arial", "Verdana"}},
        {"Arial\r\n\r\nTahoma", {"", "Arial", "Tahoma"}},
        {" Arial \r\n", {" Arial "}},
        {"", {}},
        // A mark anywhere but at the very start is part of a name.
        {"Arial\r\n\xEF\xBB\xBFTahoma\r\n", {"Arial", "\xEF\xBB\xBFTahoma"}},
    };
    for (const auto& [text, expected] : cases) {
        WriteText(Folder() / "Read.lst", text);
        Names members{"previous"};
        EXPECT_TRUE(store.LoadCategory("Read", members)) << text;
        EXPECT_EQ(members, expected) << text;
    }
    EXPECT_TRUE(Messages().empty());

    // A first name that begins with U+FEFF keeps it through a save and a read.
    const Names marked{"\xEF\xBB\xBFOdd", "Tahoma"};
    ASSERT_TRUE(store.SaveCategory("Marked", marked));
    Names members;
    EXPECT_TRUE(store.LoadCategory("Marked", members));
    EXPECT_EQ(members, marked);

    // The file in an old code page is read line by line and rewritten whole.
    store.SelectCategory(store.PositionOf("Old"));
    EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
    const Names read{"Arial", "Čačak", "Crème", "Šum©"};
    EXPECT_EQ(SortedUnique(store.Members()), SortedUnique(read));
    // A change to it leaves no member behind, and the file is UTF-8 from then on.
    store.AddFontsToCategory("Old", {"Tahoma"});
    EXPECT_TRUE(store.LoadCategory("Old", members));
    Names expected = read;
    expected.push_back("Tahoma");
    EXPECT_EQ(SortedUnique(members), SortedUnique(expected));
    EXPECT_TRUE(IsValidUtf8(ReadText(Folder() / "Old.lst")));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CategoryStoreTest, AFileThatIsNotACategoryIsRefusedWholeAndTheListKept) {
    TCategoryStore& store = Started();
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("A\0r\0\r\0\n\0", 8);
    const char* const refused[] = {"Arial\r\n\0(bad\r\n", "A\0B"};
    for (const std::string& text :
         {utf16, std::string(refused[0], 13), std::string(refused[1], 3)}) {
        test::TestPrompts().Reset();
        WriteText(Folder() / "Odd.lst", text);
        Names members{"Kept"};
        EXPECT_FALSE(store.LoadCategory("Odd", members));
        EXPECT_EQ(members, Names{"Kept"});
        ASSERT_TRUE(test::ToldOnce("Greska otvaranja " + (Folder() / "Odd.lst").string() + ".",
                                   "Greska ", TMsgIcon::Error));
    }
    // Fonts added or removed from the sheet's side never overwrite it; a
    // category whose file is missing is simply made again.
    MakeCategory("Odd", std::string(refused[1], 3));
    MakeCategory("Missing", "");
    fs::remove(Folder() / "Missing.lst");
    Started();
    test::TestPrompts().Reset();
    Store->AddFontsToCategory("Odd", {"Arial"});
    Store->RemoveFromCategory("Odd", {"A"});
    Store->UpdateAllCategories();
    EXPECT_EQ(ReadText(Folder() / "Odd.lst"), std::string(refused[1], 3));
    EXPECT_EQ(Messages().size(), 4u) << "each read told, nothing written";
    // Nor does the organize window's Refresh write what it shows over it.
    test::TestPrompts().Reset();
    Store->SelectCategory(Store->PositionOf("Odd"));
    Store->MoveAllToCategory();
    Store->CommitCategory();
    EXPECT_EQ(ReadText(Folder() / "Odd.lst"), std::string(refused[1], 3));
    ASSERT_EQ(Messages().size(), 2u) << "told when shown and when refreshed";
    EXPECT_EQ(Messages()[1].Text, "Greska otvaranja " + (Folder() / "Odd.lst").string() + ".");
    Store->AddFontsToCategory("Missing", {"Arial"});
    EXPECT_EQ(ReadText(Folder() / "Missing.lst"), "Arial\r\n");
    // A pipe named like a category is refused at once, never waited on.
    ASSERT_EQ(::mkfifo((Folder() / "Pipe.lst").c_str(), 0600), 0);
    Names members;
    EXPECT_FALSE(Store->LoadCategory("Pipe", members));
}

TEST_F(CategoryStoreTest, CreatingAsksANameRefusesBadOnesAndAsksBeforeOverwriting) {
    MakeCategory("Serif", "Bodoni\r\n");
    TCategoryStore& store = Started();
    store.SelectCategory(0);
    store.MoveToCategory({0}); // Arial
    // Cancelled: nothing.
    store.CreateCategory();
    EXPECT_EQ(test::TestPrompts().Asked, Names{"Nova kategorija"});
    EXPECT_EQ(test::TestPrompts().Prompted, Names{"Naziv kategorije:"});
    EXPECT_EQ(test::TestPrompts().Offered, Names{"<Novi>"});
    // Each of the nine characters, and nothing at all.
    for (const std::string bad :
         {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", ""}) {
        test::TestPrompts().Reset();
        CreateNamed(bad);
        ASSERT_TRUE(test::ToldOnce("Neispravan naziv kategorije.\nNaziv ne sme sadrzati znakove:  "
                                   "\\ / : * ? \" < > |",
                                   "Upozorenje", TMsgIcon::Warning))
            << bad;
    }
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Serif"}));
    EXPECT_EQ(fs::directory_iterator(Folder())->path().filename(), "Serif.lst");

    // serif over Serif: asked, and on Yes written under the name as typed.
    test::TestPrompts().Reset();
    test::TestPrompts().Answers.push_back(TMsgResult::No);
    CreateNamed("serif");
    ASSERT_TRUE(test::ToldOnce("serif oduvek postoji.Prepisati?", "Potvrda", std::nullopt,
                               TMsgButtons::YesNo));
    EXPECT_EQ(ReadText(Folder() / "Serif.lst"), "Bodoni\r\n");
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    CreateNamed("serif");
    EXPECT_EQ(ReadText(Folder() / "serif.lst"), "Arial\r\n");
    // One category, spelled as typed: its file is the one read from now on.
    EXPECT_FALSE(fs::exists(Folder() / "Serif.lst"));
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "serif"}));
    EXPECT_EQ(store.Current(), 1);
    EXPECT_EQ(Notices.back(), "serif");

    // A new name: placed in order, current, saved with what the list held.
    CreateNamed("Display. 2");
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Display. 2", "serif"}));
    EXPECT_EQ(store.Current(), 1);
    EXPECT_EQ(ReadText(Folder() / "Display. 2.lst"), "Arial\r\n");
}

TEST_F(CategoryStoreTest, CommitAndUpdateAllDropUninstalledFamiliesAndOthersKeepThem) {
    MakeCategory("Commit", "Arial\r\nGone\r\n");
    MakeCategory("Other", "Gone\r\nTahoma\r\n");
    MakeCategory("Never", "Gone\r\n");
    TCategoryStore& store = Started();
    store.SelectCategory(store.PositionOf("Commit"));
    EXPECT_EQ(store.Members(), (Names{"Arial", "Gone"})) << "listed on the right only";
    EXPECT_EQ(store.Available(), (Names{"Bodoni", "Courier", "Serif", "Tahoma", "Verdana"}));
    store.CommitCategory();
    EXPECT_EQ(ReadText(Folder() / "Commit.lst"), "Arial\r\n");
    EXPECT_EQ(ReadText(Folder() / "Other.lst"), "Gone\r\nTahoma\r\n");
    EXPECT_EQ(Notices.back(), "Commit");

    // A family uninstalled since the start counts as gone now.
    Fonts.FaceFamilies.erase(
        std::find(Fonts.FaceFamilies.begin(), Fonts.FaceFamilies.end(), "Tahoma"));
    test::TestPrompts().Reset();
    store.UpdateAllCategories();
    EXPECT_EQ(ReadText(Folder() / "Other.lst"), "");
    EXPECT_EQ(ReadText(Folder() / "Never.lst"), "");
    EXPECT_EQ(test::TestPrompts().BusyCount, 1);
    EXPECT_EQ(test::TestPrompts().BusyDepth, 0);

    // A listing that fails never empties a category.
    Fonts.FailEnumeration = true;
    store.SelectCategory(store.PositionOf("Commit"));
    store.CommitCategory();
    EXPECT_EQ(ReadText(Folder() / "Commit.lst"), "Arial\r\n");
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back().Text, "Nekakva greska.");
}

TEST_F(CategoryStoreTest, DeletingRemovesTheFileAndTheIndexEntryAtOnce) {
    MakeCategory("Keep", "Arial\r\n");
    MakeCategory("Drop", "Tahoma\r\n");
    TCategoryStore& store = Started();
    store.SelectCategory(store.PositionOf("Drop"));
    test::TestPrompts().Answers.push_back(TMsgResult::No);
    store.DeleteCategory();
    EXPECT_EQ(Messages().back().Text, "Brisnje kategorije Drop?");
    EXPECT_TRUE(fs::exists(Folder() / "Drop.lst"));
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    store.DeleteCategory();
    EXPECT_FALSE(fs::exists(Folder() / "Drop.lst"));
    EXPECT_EQ(Stored().at("Category1").Text, "Keep");
    EXPECT_EQ(Stored().count("Category2"), 0u) << "the index changes with the file";
    EXPECT_EQ(store.Current(), 0);
    EXPECT_EQ(store.Members(), Names{});
    EXPECT_EQ(Notices.back(), "Drop");
    // Nothing to delete on the new-category entry.
    const size_t asked = Messages().size();
    store.DeleteCategory();
    EXPECT_EQ(Messages().size(), asked);

    store.SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 1u);
    EXPECT_EQ(Stored().count("Category2"), 0u);
    EXPECT_TRUE(fs::exists(Folder() / "Keep.lst"));
}

TEST_F(CategoryStoreTest, AnIndexThatCannotBeReadIsToldAndNoNameIsLostAtTheEnd) {
    // The count of another type: told, and the names still read.
    Stored()["Number of categories"] = TRegValue::FromString("two");
    Stored()["Category1"] = TRegValue::FromString("Work");
    Stored()["Category2"] = TRegValue::FromString("Home");
    Started();
    ASSERT_TRUE(test::ToldOnce("Greska pristupa Windows Registry.", "<Greska>"));
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Home", "Work"}));

    // One name of another type: the others stay.
    test::TestPrompts().Reset();
    Stored().clear();
    StoreIndex({"A", "B", "C"});
    Stored()["Category2"] = TRegValue::FromInteger(7);
    Started();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "A", "C"}));

    // A count far beyond the names does not make the start wait.
    test::TestPrompts().Reset();
    Stored().clear();
    StoreIndex({"Only"});
    Stored()["Number of categories"] = TRegValue::FromInteger(0x7fffffff);
    Stored()["Category01"] = TRegValue::FromString("Leading zero");
    Stored()["Category999999999"] = TRegValue::FromString("Far");
    Started();
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Far", "Only"}));
    // ...nor the end: every numbered name goes before the new index is written.
    Store->SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 2u);
    EXPECT_EQ(Stored().at("Category2").Text, "Only");
    EXPECT_EQ(Stored().count("Category999999999"), 0u);
    // A count smaller than the entries loses none.
    Stored().clear();
    StoreIndex({"A", "B", "C"});
    Stored()["Number of categories"] = TRegValue::FromInteger(1);
    Started().SaveCategoryList();
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "A", "B", "C"}));
    EXPECT_EQ(Stored().at("Number of categories").Integer, 3u);
    EXPECT_EQ(Stored().at("Category3").Text, "C");

    // A damaged settings file: told, and not written over with nothing at the
    // end; a category made meanwhile is written (the hive keeps the damaged
    // file aside).
    const int saves = Hive.Saves;
    Hive.Damaged = true;
    test::TestPrompts().Reset();
    Started().SaveCategoryList();
    ASSERT_TRUE(test::ToldOnce("Greska pristupa Windows Registry."));
    EXPECT_EQ(Hive.Saves, saves);
    CreateNamed("Made");
    Store->SaveCategoryList();
    EXPECT_EQ(Hive.Saves, saves + 1);
    EXPECT_EQ(Stored().at("Category1").Text, "Made");
    // A store that cannot be written: told.
    Hive.FailSave = true;
    test::TestPrompts().Reset();
    CreateNamed("Second");
    ASSERT_TRUE(test::ToldOnce("Greska za vreme upisa u Windows Registar.", "<Greska>"));
}

TEST_F(CategoryStoreTest, AMissingOrReadOnlyFileIsToldAndTheListsAndFileStayAsTheyWere) {
    MakeCategory("Fixed", "Arial\r\n");
    IndexNames.push_back("Lost");
    StoreIndex(IndexNames);
    TCategoryStore& store = Started();
    store.SelectCategory(store.PositionOf("Lost"));
    ASSERT_TRUE(test::ToldOnce("Greska otvaranja " + (Folder() / "Lost.lst").string() + "."));
    EXPECT_EQ(store.Members(), Names{});
    EXPECT_EQ(store.Available().size(), 6u);
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Fixed", "Lost"}));
    // A read-only file: told, and left as it is, mode and all.
    fs::permissions(Folder() / "Fixed.lst", fs::perms::owner_read | fs::perms::group_read);
    store.SelectCategory(0);
    test::TestPrompts().Reset();
    store.AddFontsToCategory("Fixed", {"Tahoma"});
    ASSERT_TRUE(test::ToldOnce("Greska kreiranja " + (Folder() / "Fixed.lst").string() + ".",
                               std::nullopt, TMsgIcon::Error));
    EXPECT_EQ(ReadText(Folder() / "Fixed.lst"), "Arial\r\n");
    EXPECT_EQ(fs::status(Folder() / "Fixed.lst").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
    // A file that cannot be written: told with its path; nothing else made.
    fs::create_directories(Folder() / "Blocked.lst");
    test::TestPrompts().Reset();
    EXPECT_FALSE(store.SaveCategory("Blocked", {"Arial"}));
    ASSERT_TRUE(test::ToldOnce("Greska kreiranja " + (Folder() / "Blocked.lst").string() + "."));
    EXPECT_TRUE(fs::is_directory(Folder() / "Blocked.lst"));
}

TEST_F(CategoryStoreTest, ANameNeverLeadsOutOfTheFolder) {
    WriteText(Root / "outside.lst", "Arial\r\n");
    StoreIndex({"../outside", "/etc/passwd"});
    TCategoryStore& store = Started();
    for (int position = 1; position <= 2; ++position) {
        test::TestPrompts().Reset();
        store.SelectCategory(position);
        EXPECT_EQ(store.Members(), Names{}) << position;
        store.MoveAllToCategory();
        store.CommitCategory();
        EXPECT_EQ(Messages().size(), 2u) << "read and write refused";
    }
    EXPECT_EQ(ReadText(Root / "outside.lst"), "Arial\r\n");
    EXPECT_EQ(test::FolderEntries(Folder()), Names{".lock"}) << "only the writers' lock";
    // The names are still the user's: kept in the index.
    store.SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 2u);
}

TEST_F(CategoryStoreTest, CombiningTheUsersAndAutomaticCategoriesFindingAndFontsWithoutOne) {
    MakeCategory("A", "Arial\r\nTahoma\r\n");
    MakeCategory("B", "tahoma\r\nVerdana\r\n");
    TCategoryStore& store = Started();
    const TCategoryOperand a{false, "A"};
    const TCategoryOperand b{false, "B"};
    const TCategoryOperand all{true, {}};
    EXPECT_EQ(store.CombineCategories(a, TCombineOp::Plus, b),
              (Names{"Arial", "Tahoma", "Verdana"}));
    EXPECT_EQ(store.CombineCategories(a, TCombineOp::Minus, b), Names{"Arial"});
    EXPECT_EQ(store.CombineCategories(a, TCombineOp::And, b), Names{"Tahoma"});
    EXPECT_EQ(store.CombineCategories(all, TCombineOp::Minus, a),
              (Names{"Bodoni", "Courier", "Serif", "Verdana"}));
    EXPECT_EQ(store.CombineCategories(b, TCombineOp::And, all), (Names{"tahoma", "Verdana"}))
        << "spelled as in the first operand";
    EXPECT_EQ(test::TestPrompts().BusyDepth, 0);

    EXPECT_EQ(store.FindFontInCategories("TAHOMA"), (Names{"A", "B"}));
    EXPECT_EQ(store.FindFontInCategories("Tah"), Names{}) << "the whole name only";
    EXPECT_EQ(store.FindFontInCategories("Courier"), Names{});
    EXPECT_EQ(store.FontsWithoutCategory(), (Names{"Bodoni", "Courier", "Serif"}));

    // Automatic categories, combined with each other and with the user's own.
    // Fonts the test makes, their facts read as the program reads them.
    const auto font = [&](const std::string& name, test::TFactsFontTraits traits) {
        const fs::path path = Root / (name + ".ttf");
        test::WriteFile(path, test::FactsFont(traits));
        return path.string();
    };
    test::TFactsFontTraits mono;
    mono.Advances = {600, 600};
    test::TFactsFontTraits monoItalic = mono;
    monoItalic.Selection = 0x01;
    test::TFactsFontTraits cyrillicSans;
    cyrillicSans.Codes = {{'A', 'Z', 1}, {'a', 'z', 27}, {0x0410, 0x044F, 53}};
    cyrillicSans.FamilyClass = 0x0800;
    test::TFactsFontTraits cyrillicSerif = cyrillicSans;
    cyrillicSerif.FamilyClass = 0x0100;
    cyrillicSerif.Weight = 700;
    cyrillicSerif.License = "Licensed under the SIL Open Font License, Version 1.1";
    test::TFactsFontTraits italic;
    italic.Selection = 0x200; // oblique counts as italic
    const std::vector<TFaceRef> faces = {
        {"Courier", font("cour", mono), 0, TInstallPlace::System},
        {"Courier", font("couri", monoItalic), 0, TInstallPlace::User},
        {"Tahoma", font("tahoma", cyrillicSans), 0, TInstallPlace::System},
        {"Serif", font("serif", cyrillicSerif), 0, TInstallPlace::System},
        {"Verdana", font("verdanai", italic), 0, TInstallPlace::System},
    };
    TFactsCache cache("");
    auto groups = std::make_shared<TAutoCategories>(BuildAutoCategories(faces, cache));
    MakeCategory("Mine", "Courier\r\nSerif\r\n");
    Started().Automatic = groups;
    const auto automatic = [](const char* id) { return TCategoryOperand{false, id, true}; };
    // A family belongs when any of its styles does.
    EXPECT_EQ(*groups->Members("italic"), (Names{"Courier", "Verdana"}));
    EXPECT_EQ(
        Store->CombineCategories(automatic("monospace"), TCombineOp::And, automatic("italic")),
        Names{"Courier"});
    EXPECT_EQ(
        Store->CombineCategories(automatic("script:Cyrl"), TCombineOp::Minus, automatic("serif")),
        Names{"Tahoma"});
    EXPECT_EQ(Store->CombineCategories(TCategoryOperand{false, "Mine"}, TCombineOp::Minus,
                                       automatic("weight:bold")),
              Names{"Courier"});
    EXPECT_EQ(Store->CombineCategories(automatic("installed:user"), TCombineOp::Plus,
                                       automatic("sans-serif")),
              (Names{"Courier", "Tahoma"}));
    EXPECT_EQ(
        Store->CombineCategories(automatic("vendor:NONE"), TCombineOp::Plus, automatic("symbol")),
        Names{});
    ASSERT_NE(groups->Members("license:ofl"), nullptr);
    EXPECT_EQ(*groups->Members("license:ofl"), Names{"Serif"});
    // Ids in a fixed order, names in the interface's language.
    const Names ids = groups->Ids();
    ASSERT_GE(ids.size(), 4u);
    EXPECT_EQ(Names(ids.begin(), ids.begin() + 4),
              (Names{"monospace", "serif", "sans-serif", "italic"}));
    EXPECT_EQ(groups->IdOf(AutoCategoryName("monospace")), "monospace");
    EXPECT_EQ(groups->IdOf("SCRIPT:cyrl"), "script:Cyrl");
    EXPECT_EQ(groups->IdOf("Mine"), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CategoryStoreTest, AddingAndRemovingFromTheSheetsSide) {
    MakeCategory("Work", "Arial\r\n");
    TCategoryStore& store = Started();
    store.SelectCategory(0);
    store.AddFontsToCategory("work", {"tahoma", "Arial", "Verdana"});
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\ntahoma\r\nVerdana\r\n");
    EXPECT_EQ(store.Current(), 0) << "the position before is restored";
    // Adding "to" the new entry makes a category of exactly those fonts.
    test::TestPrompts().TextAnswers.push_back("Fresh");
    store.AddFontsToCategory("<Novi>", {"Serif", "Bodoni"});
    EXPECT_EQ(ReadText(Folder() / "Fresh.lst"), "Bodoni\r\nSerif\r\n");
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Fresh", "Work"}));

    const Names left = store.RemoveFromCategory("Work", {"TAHOMA"});
    EXPECT_EQ(left, (Names{"Arial", "Verdana"}));
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\nVerdana\r\n");
    EXPECT_EQ(store.ShowCategory(store.PositionOf("Fresh")), (Names{"Bodoni", "Serif"}));
}

TEST_F(CategoryStoreTest, ImportingCopiesTheFileAndAddsTheNameOnce) {
    const fs::path elsewhere = Root / "elsewhere";
    WriteText(elsewhere / "Work.lst", "Arial\r\n");
    TCategoryStore& store = Started();
    store.ImportCategoryFiles({(elsewhere / "Work.lst").string()});
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\n");
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Work"}));
    EXPECT_EQ(Notices.back(), "");
    WriteText(elsewhere / "Work.lst", "Tahoma\r\n");
    store.ImportCategoryFiles({(elsewhere / "Work.lst").string()});
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Tahoma\r\n");
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Work"}));
    // Another spelling and extension: the same category, now read from this file.
    WriteText(elsewhere / "WORK.LST", "Verdana\r\n");
    store.ImportCategoryFiles({(elsewhere / "WORK.LST").string()});
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "WORK"}));
    Names members;
    EXPECT_TRUE(store.LoadCategory("WORK", members));
    EXPECT_EQ(members, Names{"Verdana"});
    EXPECT_FALSE(fs::exists(Folder() / "Work.lst"));
    WriteText(elsewhere / "Work.lst", "Tahoma\r\n");
    store.ImportCategoryFiles({(elsewhere / "Work.lst").string()});
    // The file from the folder itself: still whole.
    store.ImportCategoryFiles({(Folder() / "Work.lst").string()});
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Tahoma\r\n");
    // A file that cannot be copied is told; nothing is added.
    store.ImportCategoryFiles({(elsewhere / "Missing.lst").string()});
    ASSERT_TRUE(test::ToldOnce("Greska kreiranja " + (Folder() / "Missing.lst").string() + "."));
    EXPECT_EQ(Store->Categories(), (Names{"<Novi>", "Work"}));
}

TEST_F(CategoryStoreTest, AKillWhileSavingLeavesTheOldFileOrTheNewOneWhole) {
    TCategoryStore& store = Started();
    Names first;
    Names second;
    for (int i = 0; i < 60000; ++i) {
        first.push_back("Family " + std::to_string(i));
        second.push_back("Other family " + std::to_string(i));
    }
    ASSERT_TRUE(store.SaveCategory("Big", first));
    const std::string firstText = FormatCategoryFile(first);
    const std::string secondText = FormatCategoryFile(second);
    std::mt19937 random(5);
    int sawSecond = 0;
    for (int round = 0; round < 25; ++round) {
        // The child tells each finished save, so the kill falls among saves
        // however slowly a loaded or instrumented build writes.
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(saved[0]);
            for (int i = 0;; ++i) {
                store.SaveCategory("Big", i % 2 == 0 ? second : first);
                const char done = 1;
                (void)!::write(saved[1], &done, 1);
            }
        }
        ::close(saved[1]);
        char done = 0;
        ASSERT_EQ(::read(saved[0], &done, 1), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(saved[0]);
        const std::string text = ReadText(Folder() / "Big.lst");
        EXPECT_TRUE(text == firstText || text == secondText)
            << "round " << round << ", " << text.size() << " bytes";
        sawSecond += text == secondText ? 1 : 0;
    }
    // The next start finds nothing beside the file.
    Started();
    EXPECT_EQ(test::FolderEntries(Folder()), Names{"Big.lst"});
    EXPECT_GT(sawSecond, 0) << "the saves were caught at work";
}

TEST_F(CategoryStoreTest, NamesAFileCannotHoldOrThatBreakALineAreRefusedAndBytesCount) {
    TCategoryStore& store = Started();
    const std::pair<std::string, std::string> refused[] = {
        {std::string(300, 'n'), "Naziv kategorije je predugacak za ime fajla."},
        {std::string(252, 'n'), "Naziv kategorije je predugacak za ime fajla."},
        {"two\nlines", "Naziv kategorije ne sme sadrzati prelom reda."},
        {"car\rriage", "Naziv kategorije ne sme sadrzati prelom reda."},
    };
    for (const auto& [name, told] : refused) {
        test::TestPrompts().Reset();
        CreateNamed(name);
        ASSERT_TRUE(test::ToldOnce(told, std::nullopt, TMsgIcon::Warning)) << name;
    }
    EXPECT_EQ(Store->Categories(), Names{"<Novi>"});
    EXPECT_TRUE(fs::is_empty(Folder()));
    EXPECT_EQ(Stored().count("Category1"), 0u);

    // The longest name that fits, brackets and names that are not UTF-8 and
    // differ only in those bytes: each a category of its own.
    test::TestPrompts().Reset();
    const Names accepted{std::string(251, 'n'), "[a]", "x\xFF", "x\xFE", "X\xFE"};
    for (const std::string& name : accepted) {
        test::TestPrompts().Answers.push_back(TMsgResult::Yes);
        CreateNamed(name);
    }
    ASSERT_EQ(Messages().size(), 1u) << "only X\\xFE over x\\xFE is asked about";
    EXPECT_EQ(Messages()[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Store->Categories().size(), 5u);
    for (const std::string& name :
         {std::string(251, 'n'), std::string("[a]"), std::string("x\xFF"), std::string("X\xFE")}) {
        EXPECT_GT(store.PositionOf(name), 0) << name;
        EXPECT_TRUE(fs::exists(Folder() / (name + ".lst"))) << name;
    }
    EXPECT_NE(store.PositionOf("x\xFF"), store.PositionOf("x\xFE"));
    // An old index may still hold a name no file can have: it can be deleted.
    Stored().clear();
    StoreIndex({std::string(300, 'o')});
    Started().SelectCategory(1);
    test::TestPrompts().Reset();
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Store->DeleteCategory();
    EXPECT_EQ(Messages().size(), 1u) << Messages().back().Text;
    EXPECT_EQ(Store->PositionOf(std::string(300, 'o')), -1);
}

// Two stores over one folder and one index, as the program and the command
// line are: each change applies to what the other left.
TEST_F(CategoryStoreTest, TwoWritersKeepEachOthersChanges) {
    MakeCategory("Work", "Arial\r\n");
    TCategoryStore& window = Started();
    TCategoryStore other(Places);
    other.Start();

    // A category the other made survives this one's end, and a "new" one of
    // that name asks before replacing it.
    test::TestPrompts().TextAnswers.push_back("Theirs");
    other.AddFontsToCategory("<Novi>", {"Bodoni"});
    window.SaveCategoryList();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 2u);
    window.SelectCategory(0);
    window.MoveToCategory({0});
    CreateNamed("theirs");
    ASSERT_TRUE(test::ToldOnce("theirs oduvek postoji.Prepisati?"));
    EXPECT_EQ(ReadText(Folder() / "Theirs.lst"), "Bodoni\r\n");
    EXPECT_GT(window.PositionOf("Theirs"), 0) << "taken in when asked";

    // A file someone put there without the index is not replaced unasked either.
    WriteText(Folder() / "Loose.lst", "Serif\r\n");
    CreateNamed("Loose");
    EXPECT_EQ(ReadText(Folder() / "Loose.lst"), "Serif\r\n");
    // ...and fonts added to it from the sheet join what it holds.
    window.AddFontsToCategory("Loose", {"Tahoma"});
    EXPECT_EQ(ReadText(Folder() / "Loose.lst"), "Serif\r\nTahoma\r\n");
    EXPECT_GT(window.PositionOf("Loose"), 0);

    // Refresh applies the window's moves to the file as it is now.
    window.SelectCategory(window.PositionOf("Work"));
    const auto& available = window.Available();
    window.MoveToCategory({static_cast<int>(
        std::find(available.begin(), available.end(), "Verdana") - available.begin())});
    other.AddFontsToCategory("Work", {"Tahoma"});
    window.CommitCategory();
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\nTahoma\r\nVerdana\r\n");
    // Removing from the sheet goes by name, whatever the other added first.
    other.AddFontsToCategory("Work", {"Bodoni"});
    EXPECT_EQ(window.RemoveFromCategory("Work", {"Tahoma"}), (Names{"Arial", "Bodoni", "Verdana"}));
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\nBodoni\r\nVerdana\r\n");

    // What the other changed shows after a reload, the window's own moves kept.
    window.SelectCategory(window.PositionOf("Work"));
    window.MoveOutOfCategory({0}); // Arial
    other.AddFontsToCategory("Work", {"Serif"});
    test::TestPrompts().TextAnswers.push_back("Later");
    other.AddFontsToCategory("<Novi>", {"Serif"});
    window.Reload();
    EXPECT_EQ(window.Members(), (Names{"Bodoni", "Serif", "Verdana"}));
    EXPECT_GT(window.PositionOf("Later"), 0);
    EXPECT_EQ(Notices.back(), "") << "the sheet rebuilds its menu";
    EXPECT_EQ(Messages().size(), 2u) << Messages().back().Text;
}

} // namespace
} // namespace lw
