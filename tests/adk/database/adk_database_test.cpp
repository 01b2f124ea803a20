#include "adk/adk_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "adk/adk_binding.h"
#include "adk/sv_message_dialog.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/environment_info.h"
#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

// Records the message boxes asked for and answers as a run without an operator does.
class RecordingDialogs : public THeadlessDialogService {
public:
    RecordingDialogs() { previous_ = SetDialogService(this); }
    ~RecordingDialogs() override { SetDialogService(previous_); }
    TMsgAnswer MessageBox(const TMessageBoxRequest& request) override {
        shown.push_back(request);
        return THeadlessDialogService::MessageBox(request);
    }
    std::vector<TMessageBoxRequest> shown;

private:
    IDialogService* previous_ = nullptr;
};

class AdkDatabase : public ::testing::Test {
protected:
    void SetUp() override { FreeAdkLibrary(); }
    void TearDown() override { FreeAdkLibrary(); }

    // A database component that finds the built kit and no installation.
    std::unique_ptr<TAdkDatabase> Database(const std::string& kitFolder = test::FolderOf(TV_KIT)) {
        auto db =
            std::make_unique<TAdkDatabase>(nullptr, std::make_unique<TAdkInfo>(dir_.Root(), dir_.Root()));
        db->SetName("AdkDBSRC");
        db->AdkPath = kitFolder;
        db->SetArguments({});
        return db;
    }
    std::string Company(const std::string& name = "demo") {
        std::string folder = dir_.Path(name);
        test::MakeCompany(dir_, folder);
        return folder;
    }

    test::TempDir dir_;
    RecordingDialogs dialogs_;
};

TEST_F(AdkDatabase, OpensACompanyAndReadsWhatItIs) {
    auto db = Database();
    std::vector<std::string> events;
    db->BeforeConnect = [&](TObject*) { events.push_back("BeforeConnect"); };
    db->AfterConnect = [&](TObject*) { events.push_back("AfterConnect"); };
    db->BeforeDisconnect = [&](TObject*) { events.push_back("BeforeDisconnect"); };
    db->AfterDisonnect = [&](TObject*) { events.push_back("AfterDisonnect"); };
    const std::string company = Company();
    db->SetCompanyPath(company);
    db->SetConnected(true);
    ASSERT_TRUE(db->Connected());
    EXPECT_EQ(db->AdkProgram(), apAdmin2000);
    EXPECT_EQ(db->AdkVersion(), "20.31.100");
    EXPECT_EQ(db->AdkProductVersion(), "20.31");
    EXPECT_EQ(EnvironmentInfoValue("Adk / Company Path"), company);
    EXPECT_EQ(EnvironmentInfoValue("Adk / Logging"), "False");
    EXPECT_EQ(EnvironmentInfoValue("Adk / System Path"), "");  // kits from 4.3 take the common files
    EXPECT_EQ(EnvironmentInfoValue("Admin / Program"), db->AdkProgramName());
    EXPECT_EQ(EnvironmentInfoValue("Admin / SQL"), "False");
    EXPECT_EQ(EnvironmentInfoValue("AdkVCL version"), "21.0.21110");

    db->SetConnected(true);  // a second connect opens nothing (a second open would be refused)
    EXPECT_TRUE(db->Connected());
    db->SetConnected(false);
    EXPECT_FALSE(db->Connected());
    EXPECT_FALSE(AdkLibraryLoaded());
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeConnect", "AfterConnect", "BeforeDisconnect",
                                                "AfterDisonnect"}));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(AdkDatabase, TheAdklogSwitchAsksTheKitToLog) {
    auto db = Database();
    db->SetArguments({"/import", "-ADKLOG"});
    db->SetCompanyPath(Company());
    db->SetConnected(true);
    EXPECT_EQ(EnvironmentInfoValue("Adk / Logging"), "True");
    EXPECT_TRUE(dir_.Exists("demo/adk.log"));
}

TEST_F(AdkDatabase, AMissingKitIsExplainedWithoutWaitingForAnOperator) {
    dir_.MakeFolder("admin");
    dir_.Write("admin/SPCSAdm.exe", "");
    dir_.MakeFolder("elsewhere");
    struct {
        std::string folder, text;
    } cases[] = {
        {"",
         "Programmet kunde inte hitta någon sökväg till Visma Administration. Detta kan bero på att Visma "
         "Administration inte installerats på datorn och att man startar Visma Administration från en annan "
         "dator eller server. Detta åtgärdas genom att göra en klientinstallation eller manuellt uppdatera "
         "registret."},
        {dir_.Path("gone"),
         "Sökvägen till Visma Administrations gemensamma filer \"" + dir_.Path("gone") +
             "\" finns inte. Det kan bero på att datorn inte har kontakt med en server eller "
             "att mappen döpts om.\r\n\r\nKontrollera så du kan komma åt mappen och starta "
             "sedan programmet på nytt."},
        {dir_.Path("admin"),
         "Visma Administration hittades i mappen \"" + dir_.Path("admin") +
             "\" men inte Visma Integration. Detta kan bero på att Visma Integration (Visma "
             "Administration API) inte har installerats eller installerats i en annan mapp, "
             "exempelvis lokalt. \r\n\r\nKontrollera installationen av Visma Integration och "
             "starta programmet igen."},
    };
    const std::string company = Company();
    for (const auto& c : cases) {
        dialogs_.shown.clear();
        auto db = Database(c.folder);
        db->SetCompanyPath(company);
        EXPECT_EQ(
            test::MessageOf([&] { db->SetConnected(true); }),
            "Det går inte att ansluta till Visma Integration. Kontrollera så att Visma Administration med "
            "Visma Integration är installerat på datorn eller att det finns åtkomligt i nätverket.");
        ASSERT_EQ(dialogs_.shown.size(), 1u) << c.folder;
        EXPECT_EQ(dialogs_.shown[0].Text, c.text);
        EXPECT_EQ(dialogs_.shown[0].Caption, "Fel");
        EXPECT_EQ(dialogs_.shown[0].NonInteractiveAnswer, TMsgAnswer::Ok);
        EXPECT_FALSE(db->Connected());
    }
    auto db = Database(dir_.Path("elsewhere"));
    EXPECT_FALSE(db->CheckIfAdkIsPresent(dir_.Path("elsewhere")));
    EXPECT_TRUE(
        dialogs_.shown.back().Text.starts_with("Sökvägen till Visma Administrations gemensamma filer \"" +
                                               dir_.Path("elsewhere") + "\" innehåller varken"));
}

TEST(AdkDatabaseUnattended, AMissingKitFailsWithTheMessageAndNoDialog) {
    FreeAdkLibrary();
    test::TempDir dir;
    std::vector<std::string> reported;
    HeadlessDialogService().SetReport([&](std::string_view caption, std::string_view text) {
        reported.push_back(std::string(caption) + ": " + std::string(text));
    });
    TAdkDatabase db(nullptr, std::make_unique<TAdkInfo>(dir.Root(), dir.Root()));
    db.AdkPath = dir.Path("gone");
    EXPECT_TRUE(test::MessageOf([&] {
                    db.SetConnected(true);
                }).starts_with("Det går inte att ansluta till Visma Integration."));
    HeadlessDialogService().SetReport({});
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(reported[0].starts_with("Fel: Sökvägen till Visma Administrations gemensamma filer"))
        << reported[0];
}

TEST_F(AdkDatabase, ConnectionFailuresGiveTheirTextAndLeaveTheKitUnloaded) {
    dir_.Write("broken/Adk.dll", "not a library");
    auto broken = Database(dir_.Path("broken"));
    EXPECT_TRUE(test::MessageOf([&] {
                    broken->SetConnected(true);
                }).starts_with("Kunde inte ladda Adk.dll.\r\n\r\n"));

    auto db = Database();
    const std::string missing = dir_.Path("no-such-company");
    db->SetCompanyPath(missing);
    std::string message = test::MessageOf([&] { db->SetConnected(true); });
    EXPECT_TRUE(message.starts_with("Visma Integration felkod 116: ")) << message;
    EXPECT_TRUE(message.ends_with("\r\n\r\nNuvarande sökväg till företag: " + missing)) << message;
    EXPECT_FALSE(db->Connected());
    EXPECT_FALSE(AdkLibraryLoaded());

    db->SetCompanyPath("");  // 116 is reported even without a company path
    EXPECT_TRUE(
        test::MessageOf([&] { db->SetConnected(true); }).ends_with("Nuvarande sökväg till företag: "));

    // A company database of another version names the kit's version.
    const std::string old = Company("old");
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open((old + "/company.sqlite").c_str(), &handle), SQLITE_OK);
    sqlite3_exec(handle, "PRAGMA user_version=0", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    db->SetCompanyPath(old);
    message = test::MessageOf([&] { db->SetConnected(true); });
    EXPECT_TRUE(message.starts_with("Visma Integration felkod 77: ")) << message;
    EXPECT_TRUE(message.ends_with("\r\n\r\nVisma Integration version: 20.31.100")) << message;

    // A handler that does not ask for the raise keeps the failure out of the caller's way.
    std::string handled;
    db->OnConnectError = [&](TObject*, const std::string& msg, bool&) { handled = msg; };
    db->SetConnected(true);
    EXPECT_TRUE(handled.starts_with("Visma Integration felkod 77: "));
    EXPECT_FALSE(db->Connected());
}

// Kit structures are freed also when the kit raises while freeing one, or when their reading failed
// first: the failure is raised (the first one when there are two), never the end of the process.
TEST_F(AdkDatabase, AKitRaisingWhileAStructureIsFreedIsRaisedLikeAnyKitFailure) {
    struct FaultCase {
        const char* name;
        const char* rules;  // rows of kit_faults(function, code, message, skip, times)
        const char* message;
    };
    const FaultCase cases[] = {
        {"freeing raises", "('AdkDeleteStruct', 0, 'kaputt', 0, -1)",
         "Error occured in AdkDeleteStruct:\r\n\r\nkaputt"},
        {"reading and then freeing raise",
         "('AdkFirst', 0, 'läsfel', 0, -1), ('AdkDeleteStruct', 0, 'kaputt', 0, -1)",
         "Error occured in AdkFirst:\r\n\r\nläsfel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string company = Company(c.name);
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open((company + "/company.sqlite").c_str(), &handle), SQLITE_OK);
        const std::string sql =
            std::string("INSERT INTO kit_faults(function, code, message, skip, times) VALUES ") + c.rules;
        ASSERT_EQ(sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(handle);
        auto db = Database();
        db->SetCompanyPath(company);
        EXPECT_EQ(test::MessageOf<EAdkException>([&] { db->SetConnected(true); }), c.message);
    }
}

TEST_F(AdkDatabase, AKitOlderThanRequiredIsRefused) {
    auto db = Database();
    db->RequiredAdkVersion = "99.0";
    db->SetCompanyPath(Company());
    EXPECT_EQ(
        test::MessageOf([&] { db->SetConnected(true); }),
        "Det här programmet kräver att Visma Integration version 99.0 eller högre är installerad. Aktuell "
        "version 20.3.1.100");
}

TEST_F(AdkDatabase, MissingRequiredModulesAreListedAndTheCompanyStaysOpen) {
    auto db = Database();
    db->RequiredActiveModules = {amBarcode, amVerificationSeries};
    db->SetCompanyPath(Company());
    EXPECT_EQ(
        test::MessageOf([&] { db->SetConnected(true); }),
        "Följande moduler måste aktiveras i Visma Administration för att det här programmet skall fungera "
        "korrekt:\r\n\r\nVisa streckkod, VerificationSerier");
    EXPECT_TRUE(db->Connected());
    EXPECT_TRUE(db->ActivatedModules().Empty());
}

TEST_F(AdkDatabase, ReadsTheCompanySettingsFileAndClearsTheExclusiveFlag) {
    const std::string company = Company();
    dir_.Write(
        "demo/Ftg.ini",
        "[Company]\r\nExclusive=1\r\nCurrencyClient=1\r\nCurrencySupplier=1\r\n[Byggtjanst]\r\nActive=1\r\n"
        "[DataSource]\r\nDBInstance=:(LOCAL)\\SQL2019\r\nDBName=F0001\r\nDisplayName=Demo AB\r\n");
    auto db = Database();
    db->SetCompanyPath(company);
    EXPECT_TRUE(db->CompanyExclusive());
    EXPECT_NE(dir_.Read("demo/Ftg.ini").find("Exclusive=0"), std::string::npos);
    EXPECT_TRUE(db->CurrencyClientActive() && db->CurrencySupplierActive() && db->BuildServiceActive());
    EXPECT_EQ(db->SQLServerName(), "(LOCAL)\\SQL2019");  // a local company keeps "(local)"
    EXPECT_TRUE(db->IsSQLDb());
    EXPECT_TRUE(db->SQLWinAuth());
    EXPECT_EQ(db->SQLDbName(), "F0001");
    EXPECT_EQ(db->CompanyDisplayName(), "Demo AB");
    EXPECT_EQ(EnvironmentInfoValue("Admin / Exdlusivt"), "True");
    EXPECT_EQ(EnvironmentInfoValue("Admin / SQL Server"), "(LOCAL)\\SQL2019");
    EXPECT_EQ(EnvironmentInfoValue("Admin / Valuta/Språk aktivt"), "True");
    EXPECT_EQ(EnvironmentInfoValue("Admin / Byggtjänst aktivt"), "True");

    // On a network path ("//server/share/..."), "(local)" is the server of the path. Linux reads
    // a leading "//" as "/", so the temporary folder serves as a network path to "server" tmp.
    ASSERT_EQ(dir_.Root().rfind("/tmp/", 0), 0u) << "the case needs the temporary folder under /tmp";
    db->SetCompanyPath("/" + company);
    EXPECT_EQ(db->SQLServerName(), "tmp\\SQL2019");
}

// A dataset stand-in that records its closing and can refuse it.
class FakeDataSet : public IAdkDataSetLink {
public:
    FakeDataSet(std::vector<std::string>& log, std::string name, bool fails)
        : log_(log), name_(std::move(name)), fails_(fails) {}
    void CloseForDisconnect() override {
        log_.push_back(name_);
        if (fails_) throw Exception("stängning misslyckades");
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
    bool fails_;
};

TEST_F(AdkDatabase, DisconnectClosesTheRegisteredDatasetsInOrder) {
    std::vector<std::string> closed;
    FakeDataSet orders(closed, "AdkOrder", false), customers(closed, "AdkKunder", false),
        failing(closed, "ADKArtiklar", true);
    auto db = Database();
    EXPECT_EQ(db->RegisterDataSet(&orders), 0);
    EXPECT_EQ(db->RegisterDataSet(&customers), 1);
    EXPECT_EQ(db->RegisterDataSet(&orders), 0);  // once only
    db->SetCompanyPath(Company());
    db->SetConnected(true);
    db->SetConnected(false);
    EXPECT_EQ(closed, (std::vector<std::string>{"AdkOrder", "AdkKunder"}));

    db->UnregisterDataSet(&orders);
    db->RegisterDataSet(&failing);
    db->SetConnected(true);
    EXPECT_EQ(test::MessageOf([&] { db->SetConnected(false); }),
              "Ett fel uppstod när AdkDatabase \"AdkDBSRC\" skulle stänga ner sina tabeller.\r\n\r\n"
              "stängning misslyckades");
}

TEST_F(AdkDatabase, ErrorsRaiseUnlessAnEventDecidesOtherwise) {
    auto db = Database();
    db->SetCompanyPath(Company());
    db->SetConnected(true);
    db->AdkErr = AdkErrorRec{ADK_ERR_DUPLICATE_KEY, 0, 0, 0, 0};
    std::string message = test::MessageOf([&] { db->HandleError(); });
    EXPECT_TRUE(message.starts_with("Visma Integration felkod 301: ")) << message;
    EXPECT_NE(message.find(" Tabell \"kund\" Fält \"0\" (0)"), std::string::npos) << message;

    EXPECT_EQ(test::MessageOf([&] { db->ReportDataSetError(nullptr, "fel i tabell"); }), "fel i tabell");
    std::vector<std::string> heard;
    db->OnError = [&](TObject*, const std::string& msg, bool& raise) {
        heard.push_back("OnError " + msg);
        raise = msg == "höj";
    };
    EXPECT_FALSE(db->HandleError());  // heard, not raised
    EXPECT_EQ(test::MessageOf([&] { db->ReportDataSetError(nullptr, "höj"); }), "höj");
    db->OnDataSetError = [&](TObject*, TObject*, const std::string& msg, bool& raise) {
        heard.push_back("OnDataSetError " + msg);
        raise = false;
    };
    EXPECT_FALSE(db->ReportDataSetError(nullptr, "tyst"));
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[2], "OnDataSetError tyst");
}

TEST(SvMessageDialog, CaptionsAndButtonsAreSwedishAndYesIsTheDefault) {
    struct {
        TMsgDlgType type;
        TMsgButtons buttons;
        const char* caption;
        TMsgIcon icon;
        TMsgAnswer unattended;
    } cases[] = {
        {mtWarning, TMsgButtons::Ok, "Varning", TMsgIcon::Warning, TMsgAnswer::Ok},
        {mtError, TMsgButtons::OkCancel, "Fel", TMsgIcon::Error, TMsgAnswer::Ok},
        {mtInformation, TMsgButtons::Ok, "Information", TMsgIcon::Information, TMsgAnswer::Ok},
        {mtConfirmation, TMsgButtons::YesNo, "bekräfta", TMsgIcon::Question, TMsgAnswer::Yes},
        {mtCustom, TMsgButtons::YesNoCancel, "", TMsgIcon::None, TMsgAnswer::Yes},
    };
    for (const auto& c : cases) {
        TMessageBoxRequest r = SvCreateMessageDialog("text", c.type, c.buttons);
        EXPECT_EQ(r.Caption, c.caption);
        EXPECT_EQ(r.Icon, c.icon);
        EXPECT_EQ(r.NonInteractiveAnswer, c.unattended);
        EXPECT_EQ(r.ButtonTexts.size(), 7u);  // every button the dialog shows gets its Swedish text
    }
    EXPECT_EQ(SvButtonCaption(TMsgAnswer::Abort), "&Avbryt");
    EXPECT_EQ(SvButtonCaption(TMsgAnswer::Retry), "&Försök igen");
    EXPECT_EQ(SvButtonCaption(TMsgAnswer::No), "&Nej");
}

}  // namespace
}  // namespace tv
