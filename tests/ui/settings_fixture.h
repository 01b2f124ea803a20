#pragma once
// The fixture of the settings window tests: a central data module over a settings root of the
// test's own, its settings loaded, and dialogs answered by a script.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "core/event_tree.h"
#include "core/main_dm.h"
#include "core/settings_folders.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/gui/tree_view.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/platform/gui_data/data_form_fixture.h"  // Store, FocusOn
#include "ui/form_settings.h"
#include "ui/settings_page.h"

namespace tv::test {

struct SettingsFixture {
    SettingsFixture() : dialogScope(dialogs) {
        folders.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                          "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n");
        dm = std::make_unique<TMainDM>(events, nullptr, false);
        dm->loadSettings();
    }

    std::string Text(const char* table, const char* field) const {
        return dm->Table(table).FieldByName(field).AsString();
    }
    std::string SettingsFile() const { return folders.dir.Read(GetSettingsFile()); }

    StartupFolders folders;
    TEventTree events{[] {}};
    std::unique_ptr<TMainDM> dm;
    TScriptedDialogService dialogs;
    TDialogServiceScope dialogScope;
};

// The users of the fake time-reporting servers.
inline constexpr const char* kTidUsersSql =
    "create table ProgramUser (Signature text, ProgramUserId integer, Firstname text, Name text);"
    "insert into ProgramUser values ('BE', 7, 'Bo', 'Ek'), ('AK', 42, 'Anna', 'Karlsson');";

// A fake time-reporting server: a SQLite file below the test's folder, made with `sql`, that the
// "Visma Tid" connection opens as its "Data Source". Answers the file.
inline std::string MakeFakeTidServer(SettingsFixture& f, const std::string& name, const std::string& sql) {
    const std::string server = f.folders.dir.Write("tid/" + name, "");
    TADOConnection connection;
    connection.SetConnectionString("Provider=SQLOLEDB.1;Data Source=" + server);
    TADOQuery seed;
    seed.SetConnection(&connection);
    seed.SQL().SetText(sql);
    seed.ExecSQL();
    return server;
}

// The tree's item of the node with that text.
inline QTreeWidgetItem* TreeItem(TFormSettings& window, const char* text) {
    auto* tree = static_cast<QTreeWidget*>(window.TreeView1->Widget());
    const auto found = tree->findItems(QString::fromUtf8(text), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Clicks the node with that text in the tree.
inline void ClickNode(TFormSettings& window, const char* text) {
    auto* tree = static_cast<QTreeWidget*>(window.TreeView1->Widget());
    QTreeWidgetItem* item = TreeItem(window, text);
    ASSERT_NE(item, nullptr) << text;
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// The page of the window with that caption.
inline TSettingsPage* Page(TFormSettings& window, const char* caption) {
    for (TForm* form : window.Forms())
        if (form->Caption() == caption) return dynamic_cast<TSettingsPage*>(form);
    return nullptr;
}

// The settings window shown on one page.
struct PageWindow {
    PageWindow(SettingsFixture& f, const char* caption)
        : window(std::make_unique<TFormSettings>(nullptr, *f.dm)) {
        window->Show();
        ClickNode(*window, caption);
        page = Page(*window, caption);
        EXPECT_NE(page, nullptr) << caption;
        EXPECT_TRUE(page && page->Visible());
    }
    template <class C>
    C* Control(const char* field, size_t index = 0) const {
        const auto controls = page->ControlsFor(field);
        EXPECT_LT(index, controls.size()) << field;
        return index < controls.size() ? dynamic_cast<C*>(controls[index]) : nullptr;
    }
    // The control the page's block names so.
    template <class C>
    C* Named(const char* name) const {
        auto* control = dynamic_cast<C*>(page->FindControl(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    std::unique_ptr<TFormSettings> window;
    TSettingsPage* page = nullptr;
};

// Chooses the item at `index` from the open list of the combo with the mouse.
inline void ClickListItem(TControl* combo, int index) {
    auto* box = static_cast<QComboBox*>(combo->Widget());
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

}  // namespace tv::test
