// The behaviours of the time-reporting page: testing the connection, listing the server's
// databases, and reading the users of the database the settings name into the default-user list.

#include "ui/tid_page.h"

#include "controls/db_lookup_controls_x.h"
#include "core/main_dm.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/db_combo_box.h"
#include "platform/rtl/format.h"
#include "ui/page_behaviours.h"
#include "ui/page_messages.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

// The default-user list: the users of the time-reporting database (read by "Hämta"), chosen by
// signature and name, stored by their id.
void TidUsersBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                       const TPageBehaviourDef& behaviour) {
    auto& lookup = BehaviourTarget<TDBLookupComboX>(target, behaviour);
    auto* users = new TDataSource(&page);
    users->SetName("DSProgramUsers");
    users->SetDataSet(&page.DM().TIDUsers());
    lookup.SetListSource(users);
    lookup.SetKeyField(std::string(kTidUserKeyField));
    lookup.SetListField(std::string(kTidUserListFields));
    page.AtDestroy([&lookup] { lookup.SetListSource(nullptr); });
}

// "Testa": connects to the database the settings name, says how it went, and closes again.
void TestTidBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                      const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TMainDM& dm = page.DM();
    button.OnClick = [&dm](TObject*) {
        try {
            dm.connectVismaTid(false);
            ShowPageInformation(kTidConnectionSucceeded);
        } catch (const std::exception& e) {
            ShowPageInformation(Format(kTidFailed, {e.what()}));
        }
        dm.disconnectVismaTid();
    };
}

// "Hämta databaser": the server's databases, each once, become the list of the combo the argument
// names; the connection is closed in every case, and a failure goes to the application's error box.
void FetchTidDatabasesBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                                const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    auto* combo = dynamic_cast<TDBComboBox*>(page.FindControl(behaviour.Argument));
    if (!combo)
        throw Exception("The page behaviour fetch-tid-databases needs the combo " + behaviour.Argument);
    TMainDM& dm = page.DM();
    button.OnClick = [&dm, &button, combo](TObject*) {
        TADOQuery& databases = dm.ADODbs();
        try {
            dm.connectVismaTid(true);
            databases.Close();
            databases.Open();
            combo->Items()->Clear();
            for (databases.First(); !databases.Eof(); databases.Next())
                combo->Items()->Add(databases.Fields(0).AsString());
            databases.Close();
            dm.disconnectVismaTid();
        } catch (...) {
            databases.Close();
            dm.disconnectVismaTid();
            Application().HandleException(&button);
        }
    };
}

// "Hämta": reads the users of the database the settings name into the default-user list, which
// stays open with its connection until the settings window is closed. A connection left open by
// an earlier "Hämta" is closed first, so that a database named since is the one read.
void FetchTidUsersBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                            const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TMainDM& dm = page.DM();
    button.OnClick = [&dm](TObject*) {
        try {
            dm.TIDUsers().Close();
            dm.disconnectVismaTid();
            dm.connectVismaTid(false);
            dm.TIDUsers().Open();
        } catch (const std::exception& e) {
            dm.TIDUsers().Close();
            dm.disconnectVismaTid();
            ShowPageInformation(std::string(kTidUsersFailed) + e.what());
        }
    };
}

constexpr TPageBehaviour kBehaviours[] = {
    {"tid-users", TidUsersBehaviour},
    {"test-tid", TestTidBehaviour},
    {"fetch-tid-databases", FetchTidDatabasesBehaviour},
    {"fetch-tid-users", FetchTidUsersBehaviour},
};

}  // namespace

std::span<const TPageBehaviour> TidPageBehaviours() {
    return kBehaviours;
}

}  // namespace tv
