// The time-reporting page ("Visma Tid inställningar"), offscreen with real clicks, against a fake
// time-reporting server: a SQLite file that the connection opens as its "Data Source", holding the
// users and, as a table of its own, the server's list of databases.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/db_lookup_controls_x.h"
#include "platform/db/ado_query.h"
#include "platform/gui/button.h"
#include "platform/gui/db_combo_box.h"
#include "platform/gui/db_edit.h"
#include "settings_fixture.h"

namespace tv {
namespace {

using test::PageWindow;
using test::SettingsFixture;

constexpr const char* kPage = "Visma Tid inställningar";

struct TidFixture : SettingsFixture {
    TidFixture() {
        server = test::MakeFakeTidServer(
            *this, "server.sqlite",
            std::string(test::kTidUsersSql) +
                "create table sysdatabases (name text, dbid integer);"
                "insert into sysdatabases values ('master', 1), ('TID', 5), ('TIDTEST', 6);");
        // The server's catalogue "master..sysdatabases" is the fake's own table.
        dm->ADODbs().SQL().SetText("select name, dbid from sysdatabases order by dbid");
        SetTid({{"TIDDBServer", server},
                {"TIDDBName", "TID"},
                {"TIDDBUser", "tid"},
                {"TIDDBPassword", "hemligt"}});
    }
    void SetTid(std::initializer_list<std::pair<const char*, std::string>> values) {
        TDataSet& tid = dm->CDSTidPrefs();
        tid.Edit();
        for (const auto& [field, value] : values) tid.FieldByName(field).SetAsString(value);
        tid.Post();
    }
    std::string LastMessage() const {
        return dialogs.Requests().empty() ? "" : dialogs.Requests().back().Text;
    }

    std::string server;
};

void Press(PageWindow& w, const char* button) {
    QTest::mouseClick(w.Named<TButton>(button)->Widget(), Qt::LeftButton);
}

TEST(TidPage, TestingSaysHowTheConnectionWentAndClosesIt) {
    TidFixture f;
    PageWindow w(f, kPage);
    EXPECT_EQ(w.Control<TDBEdit>("TIDDBPassword")->PasswordChar(), '*');
    EXPECT_EQ(w.Control<TDBEdit>("TIDDBServer")->PasswordChar(), '\0');

    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    Press(w, "TestTidConnection");
    EXPECT_EQ(f.LastMessage(), "Anslutningen lyckades");
    EXPECT_FALSE(f.dm->VismaTidConnection().Connected());

    // A server the driver cannot reach: the data module's error, wrapped, with the driver's cause.
    f.SetTid({{"TIDDBServer", "tidserver"}});
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    Press(w, "TestTidConnection");
    EXPECT_EQ(f.LastMessage().rfind("Ett fel uppstod: Kunde inte ansluta till Visma Tid databas: ", 0), 0u)
        << f.LastMessage();
    EXPECT_GT(f.LastMessage().size(),
              std::string("Ett fel uppstod: Kunde inte ansluta till Visma Tid databas: ").size());
    EXPECT_EQ(f.LastMessage().find("hemligt"), std::string::npos);
    EXPECT_FALSE(f.dm->VismaTidConnection().Connected());
}

TEST(TidPage, FetchingTheDatabasesListsEachNameOnceAndClosesTheConnection) {
    TidFixture f;
    PageWindow w(f, kPage);
    auto* combo = w.Named<TDBComboBox>("DBComboBox1");
    for (int press = 0; press < 2; ++press) {
        Press(w, "FetchDBList");
        ASSERT_EQ(combo->Items()->Count(), 3) << "press " << press;
        EXPECT_EQ(combo->Items()->Strings(0), "master");
        EXPECT_EQ(combo->Items()->Strings(1), "TID");
        EXPECT_EQ(combo->Items()->Strings(2), "TIDTEST");
        EXPECT_FALSE(f.dm->VismaTidConnection().Connected());
        EXPECT_NE(f.dm->VismaTidConnection().ConnectionString().find("Initial Catalog=;"), std::string::npos)
            << "the server alone: " << f.dm->VismaTidConnection().ConnectionString();
    }
    EXPECT_TRUE(f.dialogs.Requests().empty());
    EXPECT_EQ(f.Text("CDSTidPrefs", "TIDDBName"), "TID") << "the list does not change the choice";

    // A failure goes to the application's error box; the list stays as it was.
    f.SetTid({{"TIDDBServer", "tidserver"}});
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    Press(w, "FetchDBList");
    ASSERT_EQ(f.dialogs.Requests().size(), 1u);
    EXPECT_EQ(f.dialogs.Requests()[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(f.LastMessage().rfind("Kunde inte ansluta till Visma Tid databas: ", 0), 0u) << f.LastMessage();
    EXPECT_EQ(combo->Items()->Count(), 3);
    EXPECT_FALSE(f.dm->VismaTidConnection().Connected());
}

TEST(TidPage, FetchingTheUsersReadsTheNamedDatabaseAndKeepsTheListOpen) {
    TidFixture f;
    f.SetTid({{"TIDDefaultUserId", "42"}});
    PageWindow w(f, kPage);
    auto* users = w.Named<TDBLookupComboX>("DBLookupComboX1");
    EXPECT_EQ(users->Text(), "") << "no list before Hämta";

    Press(w, "FetchAlternatives");
    EXPECT_TRUE(f.dialogs.Requests().empty());
    EXPECT_TRUE(f.dm->VismaTidConnection().Connected()) << "open until the window's caller closes it";
    EXPECT_NE(f.dm->VismaTidConnection().ConnectionString().find("Initial Catalog=TID;"), std::string::npos)
        << "the database the settings name: " << f.dm->VismaTidConnection().ConnectionString();
    EXPECT_EQ(f.dm->TIDUsers().RecordCount(), 2);
    EXPECT_EQ(users->Text(), "AK") << "the stored user shows by its signature";
    users->LookupList().ChooseKeyValue(Variant(int32_t{7}));
    EXPECT_EQ(f.Text("CDSTidPrefs", "TIDDefaultUserId"), "7");
    EXPECT_EQ(users->Text(), "BE");

    // A database without the users: the connection is closed and the cause shown.
    const std::string empty = f.folders.dir.Write("tid/tom.sqlite", "");
    f.SetTid({{"TIDDBServer", empty}});
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    Press(w, "FetchAlternatives");
    EXPECT_EQ(f.LastMessage().rfind("Ett fel uppstod: ", 0), 0u);
    EXPECT_NE(f.LastMessage().find("ProgramUser"), std::string::npos) << f.LastMessage();
    EXPECT_FALSE(f.dm->VismaTidConnection().Connected());
}

}  // namespace
}  // namespace tv
