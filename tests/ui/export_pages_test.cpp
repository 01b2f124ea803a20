// The export settings pages, the customer price-list page and the SQL query page, built from their
// schema blocks, offscreen with real clicks and keys: the selection panels of the pick lists and
// radio groups, the query tests against a company of the kit stand-in, the placeholder list of the
// offer and order templates, and the rows of the price-list and query tables.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "controls/db_pick_combo.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_navigator.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_radio_group.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/rtl/files.h"
#include "settings_fixture.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

using test::PageWindow;
using test::SettingsFixture;

void StoreText(TMainDM& dm, const char* table, const char* field, const std::string& text) {
    TDataSet& t = dm.Table(table);
    t.Edit();
    t.FieldByName(field).SetAsString(text);
    t.Post();
}

bool Shows(const PageWindow& w, const char* group) {
    TWinControl* area = w.page->FindGroup(group);
    EXPECT_NE(area, nullptr) << group;
    return area && area->Visible();
}

// "Query ok. <records> records, time: <n>sms", the time any number of milliseconds.
bool QueryOk(const std::string& text, int records) {
    const std::string head = "Query ok. " + std::to_string(records) + " records, time: ";
    if (text.rfind(head, 0) != 0 || text.size() < head.size() + 4 || !text.ends_with("sms")) return false;
    const std::string ms = text.substr(head.size(), text.size() - head.size() - 3);
    return !ms.empty() && ms.find_first_not_of("0123456789") == std::string::npos;
}

// "Query failed: <message> ", the message holding `part`.
bool QueryFailed(const std::string& text, const std::string& part) {
    return text.rfind("Query failed: ", 0) == 0 && text.ends_with(" ") && text.find(part) != std::string::npos;
}

void Click(TControl* control) {
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control->Widget(), Qt::LeftButton, {}, control->Widget()->rect().center());
}

// ---- The selection panels.

// The five variants of the pick list: the stored value chooses whether the SQL panel (and on the
// invoice page the start-value group) shows; a value the list lacks leaves the page as made.
TEST(ExportPages, ThePickListShowsTheSqlPanelForItsStoredValue) {
    struct Row {
        const char* page;
        const char* table;
        const char* field;
        const char* stored;
        bool sqlPanel;
        int item;  // the item the list shows
    };
    const Row kRows[] = {
        {"Export - Artiklar", "CDSExportArticlesPrefs", "SELECTION_TYPE", "SQL", true, 1},
        {"Export - Artiklar", "CDSExportArticlesPrefs", "SELECTION_TYPE", "Alla", false, 0},
        {"Export - Offert", "CDSExportOfferPrefs", "SELECTION_TYPE", "SQL", true, 1},
        {"Export - Order", "CDSExportOrderPrefs", "ORDER_SELECTION_TYPE", "sql", true, 1},  // any case
        {"Export - Order", "CDSExportOrderPrefs", "ORDER_SELECTION_TYPE", "Alla", false, 0},
        {"Export - Beställningar", "CDSExportBestPrefs", "BEST_SELECTION_TYPE", "SQL", true, 1},
        {"Export - Kunder", "CDSExportCustomersPrefs", "SELECTION_TYPE", "SQL", true, 1},
        {"Export - Kontakter", "CDSExportContactsPrefs", "SELECTION_TYPE", "SQL", true, 1},
        {"Export - Kontakter", "CDSExportContactsPrefs", "SELECTION_TYPE", "", false, -1},  // the default
        {"Export - Fakturor", "CDSExportInvoicesPrefs", "INVOICE_SELECTION_TYPE", "SQL", true, 1},
        {"Export - Fakturor", "CDSExportInvoicesPrefs", "INVOICE_SELECTION_TYPE", "Alla", false, 0},
        {"Export - Kunder", "CDSExportCustomersPrefs", "SELECTION_TYPE", "Intervall", false, -1},
    };
    for (const Row& row : kRows) {
        SettingsFixture f;
        StoreText(*f.dm, row.table, row.field, row.stored);
        PageWindow w(f, row.page);
        auto* pick = w.Control<TDBPickCombo>(row.field);
        ASSERT_NE(pick, nullptr);
        EXPECT_EQ(pick->ItemIndex(), row.item) << row.page << " " << row.stored;
        EXPECT_EQ(Shows(w, "SqlPanel"), row.sqlPanel) << row.page << " " << row.stored;
        if (w.page->FindGroup("StartValue")) {
            // Shown with the SQL panel, hidden with it, and left as made for any other value.
            const bool startValue = row.item < 0 || row.sqlPanel;
            EXPECT_EQ(Shows(w, "StartValue"), startValue) << row.stored;
        }
        EXPECT_EQ(f.Text(row.table, row.field), row.stored) << "showing writes nothing";
    }
}

TEST(ExportPages, ChoosingFromThePickListShowsOrHidesThePanelAndStoresTheValue) {
    for (const char* page : {"Export - Fakturor", "Export - Offert"}) {
        SettingsFixture f;
        PageWindow w(f, page);
        auto* pick = w.Named<TDBPickCombo>(page == std::string("Export - Offert") ? "DBPickCombo1" : "DBPickCombo2");
        ASSERT_NE(pick, nullptr);
        test::ClickListItem(pick, 1);
        EXPECT_TRUE(Shows(w, "SqlPanel")) << page;
        if (w.page->FindGroup("StartValue")) {
            EXPECT_TRUE(Shows(w, "StartValue"));
        }
        // The panel stands in the page's layout, below the selection group.
        EXPECT_GT(w.page->FindGroup("SqlPanel")->Top(), pick->Parent()->Top());
        test::ClickListItem(pick, 0);
        EXPECT_FALSE(Shows(w, "SqlPanel")) << page;
        if (w.page->FindGroup("StartValue")) {
            EXPECT_FALSE(Shows(w, "StartValue"));
        }
        pick->WriteToField();
        EXPECT_EQ(pick->CurrentValue(), "Alla");
    }
}

QRadioButton* RadioButton(TDBRadioGroup* group, int index) {
    return group->Widget()->findChildren<QRadioButton*>().at(index);
}

// The radio groups: the panel of the stored item, the "all" panel when none or none known is
// stored, and exactly the panel of each item chosen.
TEST(ExportPages, TheRadioGroupShowsThePanelOfItsItem) {
    struct Row {
        const char* page;
        const char* table;
        const char* stored;
        const char* shown;
    };
    const Row kRows[] = {
        {"Export - Leverantörer", "CDSExportSuppliersPrefs", "Alla", "AllPanel"},
        {"Export - Leverantörer", "CDSExportSuppliersPrefs", "Intervall", "IntervalPanel"},
        {"Export - Leverantörer", "CDSExportSuppliersPrefs", "SQL", "SqlPanel"},
        {"Export - Leverantörer", "CDSExportSuppliersPrefs", "", "AllPanel"},
        {"Export - Prislistor", "CDSExportPricelistsPrefs", "SQL", "SqlPanel"},
        {"Export - Prislistor", "CDSExportPricelistsPrefs", "0", "AllPanel"},
        {"Export - Prislistor", "CDSExportPricelistsPrefs", "CustomerPrice", "AllPanel"},
    };
    const char* kPanels[] = {"AllPanel", "IntervalPanel", "SqlPanel"};
    for (const Row& row : kRows) {
        SettingsFixture f;
        StoreText(*f.dm, row.table, "SELECTION_TYPE", row.stored);
        PageWindow w(f, row.page);
        for (const char* panel : kPanels) {
            if (!w.page->FindGroup(panel)) continue;
            EXPECT_EQ(Shows(w, panel), panel == std::string(row.shown)) << row.page << " " << row.stored;
        }
    }
    SettingsFixture f;
    PageWindow w(f, "Export - Lev.fakturor");
    auto* radio = w.Control<TDBRadioGroup>("SUPINV_SELECTION_TYPE");
    EXPECT_EQ(radio->ItemIndex(), -1);
    EXPECT_TRUE(Shows(w, "AllPanel"));
    for (int index : {2, 1, 0, 2}) {
        QTest::mouseClick(RadioButton(radio, index), Qt::LeftButton, {}, QPoint(8, 8));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Shows(w, kPanels[i]), i == index) << index;
    }
    radio->SetValue("");  // no item chosen: no panel
    for (const char* panel : kPanels) EXPECT_FALSE(Shows(w, panel));
}

// ---- The tests of a query, on a company of the kit stand-in.

// The export world (a company seeded from the export fixtures, its settings) with the program's
// data modules over it, the settings window open on one page, and dialogs answered by a script.
struct WorldWindow {
    explicit WorldWindow(const char* caption, const std::string& seed = "")
        : world(seed), scope(dialogs), modules(CreateDataModules(world.MainDM(), [] { return nullptr; })),
          window(std::make_unique<TFormSettings>(nullptr, world.MainDM())) {
        window->Show();
        test::ClickNode(*window, caption);
        page = test::Page(*window, caption);
    }
    ~WorldWindow() {
        window.reset();
        modules.reset();
    }
    template <class C>
    C* Named(const char* name) const {
        return dynamic_cast<C*>(page->FindControl(name));
    }

    test::TExportWorld world;
    TScriptedDialogService dialogs;
    TDialogServiceScope scope;
    std::shared_ptr<void> modules;
    std::unique_ptr<TFormSettings> window;
    TSettingsPage* page = nullptr;
};

void TypeInto(TControl* control, const std::string& text) {
    ASSERT_NE(control, nullptr);
    QWidget* widget = control->Widget();
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(10, 10));
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) memo->selectAll();
    if (auto* line = qobject_cast<QLineEdit*>(widget)) line->selectAll();
    QTest::keyClicks(widget, QString::fromUtf8(text.c_str()));
}

TEST(ExportPages, TestaShowsTheCountOfAGoodQueryAndTheDriversMessageForABadOne) {
    WorldWindow w("Export - Order");
    auto* label = w.Named<TLabel>("QueryResult");
    ASSERT_NE(label, nullptr);
    TControl* memo = w.page->ControlsFor("ORDER_SELECTION_SQL").front();
    struct Row {
        const char* query;
        int records;         // -1: the query fails
        const char* failure;  // a part of the driver's message
    };
    const Row kRows[] = {
        {"select kundnr from kund", 4, ""},
        {"select kundnr from kund where kundnr = 'saknas'", 0, ""},
        {"select x from ingen_tabell", -1, "no such table: ingen_tabell"},
        {"select * fro kund", -1, "syntax error"},
    };
    for (const Row& row : kRows) {
        TypeInto(memo, row.query);
        Click(w.Named<TButton>("Button1"));
        if (row.records >= 0)
            EXPECT_TRUE(QueryOk(label->Caption(), row.records)) << label->Caption();
        else
            EXPECT_TRUE(QueryFailed(label->Caption(), row.failure)) << label->Caption();
        EXPECT_FALSE(w.world.MainDM().adminODBC().Connected()) << row.query;
    }
    EXPECT_TRUE(w.dialogs.Requests().empty()) << "the result stands in the label, never in a box";
}

// ---- The placeholder list of the offer and order templates.

// Selects `length` characters of the edit ending `fromEnd` characters before its end, with keys.
void SelectWithKeys(QWidget* edit, int fromEnd, int length) {
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(edit, Qt::Key_End);
    for (int i = 0; i < fromEnd; ++i) QTest::keyClick(edit, Qt::Key_Left);
    for (int i = 0; i < length; ++i) QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
}

void DoubleClickItem(TListBox* list, int index) {
    auto* view = static_cast<QListWidget*>(list->Widget());
    const QRect item = view->visualItemRect(view->item(index));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

TEST(ExportPages, APlaceholderReplacesTheTemplatesSelectionOrGoesInFrontAndIsPostedAtOnce) {
    struct Row {
        const char* page;
        const char* table;
        const char* field;
        const char* stored;
        int fromEnd, length;  // the selection made with keys; length 0: none
        int item;
        const char* result;
    };
    const Row kRows[] = {
        {"Export - Order", "CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "order_$exportdatum.xml", 4, 12, 0,
         "order_$ordernr.xml"},
        {"Export - Order", "CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "order_$exportdatum.xml", 0, 0, 0,
         "$ordernrorder_$exportdatum.xml"},
        {"Export - Order", "CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "", 0, 0, 1, "$lopnr_order"},
        {"Export - Offert", "CDSExportOfferPrefs", "FILE_MANAGEMENT_TMPL", "offert_ö_x.xml", 4, 1, 2,
         "offert_ö_$offertdatum.xml"},  // positions count characters
        {"Export - Offert", "CDSExportOfferPrefs", "FILE_MANAGEMENT_TMPL", "a.xml", 0, 5, 1, "$lopnr_offert"},
    };
    for (const Row& row : kRows) {
        SettingsFixture f;
        StoreText(*f.dm, row.table, row.field, row.stored);
        PageWindow w(f, row.page);
        auto* edit = w.Named<TDBEdit>("FileTemplate");
        ASSERT_NE(edit, nullptr);
        if (row.length > 0) SelectWithKeys(edit->Widget(), row.fromEnd, row.length);
        DoubleClickItem(w.Named<TListBox>("ListBox1"), row.item);
        EXPECT_EQ(f.Text(row.table, row.field), row.result) << row.page << " " << row.stored;
        EXPECT_EQ(f.dm->Table(row.table).State(), dsBrowse) << "posted at once";
        EXPECT_EQ(edit->Text(), row.result);
    }
}

// The running-number placeholder the order list offers is the one the export's file naming
// replaces: inserted on the page, it becomes the order's next running number.
TEST(ExportPages, ARunningNumberPlaceholderInsertedOnTheOrderPageIsExpandedByTheExport) {
    WorldWindow w("Export - Order", test::FixtureBytes("documents.sql"));
    w.world.Set("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "_order.xml");
    w.world.Set("CDSExportOrderPrefs", "ORDER_FILE_IDENTITY_FORMAT", "0000");
    w.world.Set("CDSLopnr", "LOPNR_EXPORT_ORDER", "7");
    DoubleClickItem(w.Named<TListBox>("ListBox1"), 1);
    EXPECT_EQ(w.world.MainDM().Table("CDSExportOrderPrefs").FieldByName("ORDER_FILE_MANAGEMENT_TMPL").AsString(),
              "$lopnr_order_order.xml");
    w.world.Open();
    ASSERT_TRUE(w.world.MainDM().AdkDataSet("AdkOrder").AdkNavFirst(true));
    EXPECT_EQ(w.world.Export().Generate(TFileNameKind::Order), w.world.Unprocessed() + "0007_order.xml");
}

// ---- The customer price-list page.

TEST(ExportPages, PriceListRowsEnteredWithTheNavigatorReachTheirFileAtTheNextSave) {
    SettingsFixture f;
    PageWindow w(f, "Export kundprislista");
    auto* grid = w.Named<TXDBGrid>("XDBGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GridStyle()->VisualStyle(), vsXPStyle);
    const std::vector<std::pair<std::string, std::string>> titles = {
        {"customernumber", "Kundnr - Ean-lokaliseringsnummer"},
        {"customername", "Kundnamn"},
        {"lopnr", "Löpnr"},
        {"agreementref", "Avtalsreferens"}};
    ASSERT_EQ(grid->Columns()->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grid->Columns()->Items(i)->FieldName(), titles[i].first);
        EXPECT_EQ(grid->Columns()->Items(i)->Title()->Caption(), titles[i].second);
    }
    EXPECT_EQ(grid->Columns()->Items(1)->Width(), 172);

    auto* navigator = w.Named<TXDBNavigator>("XDBNavigator1");
    ASSERT_NE(navigator, nullptr);
    TDataSet& rows = f.dm->Table("CDSExportCustomerPricelistData");
    const std::vector<std::vector<std::string>> entered = {{"1001", "Åsa Öberg AB", "5", "AV-1"},
                                                           {"7300009000002", "Bengt Berg", "12", ""}};
    for (const auto& row : entered) {
        Click(navigator->Button(nbInsert));
        ASSERT_EQ(rows.State(), dsInsert);
        // What the grid's editor writes into the row's cells.
        for (int i = 0; i < 4; ++i) rows.FieldByName(titles[i].first).SetAsString(row[i]);
        Click(navigator->Button(nbPost));
        EXPECT_EQ(rows.State(), dsBrowse);
    }
    EXPECT_EQ(grid->RecCount(), 2);
    f.dm->saveSettings();
    const std::string file = f.folders.dir.Read(IncludeTrailingPathDelimiter(GetDataFolder()) +
                                                "exportcustomerpricelist.txt");
    EXPECT_NE(file.find("1001;"), std::string::npos) << file;
    EXPECT_NE(file.find("7300009000002;"), std::string::npos) << file;
    EXPECT_NE(file.find("AV-1"), std::string::npos) << file;
}

// ---- The SQL query page.

using Queries = std::vector<std::pair<std::string, std::string>>;

struct QueryPage {
    explicit QueryPage(const Queries& stored)
        : w("Export - SQL") {
        TDataSet& queries = Queries();
        for (const auto& [name, sql] : stored) {
            queries.Append();
            queries.FieldByName("SQL_QUERY_NAME").SetAsString(name);
            queries.FieldByName("SQL_QUERY").SetAsString(sql);
            queries.Post();
        }
        queries.First();
    }
    TDataSet& Queries() { return w.world.MainDM().Table("CDSExportSQLPrefs"); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        TDataSet& queries = Queries();
        for (queries.First(); !queries.Eof(); queries.Next())
            names.push_back(queries.FieldByName("SQL_QUERY_NAME").AsString());
        return names;
    }
    std::string Result() { return w.Named<TLabel>("lblQueryResult")->Caption(); }

    WorldWindow w;
};

TEST(ExportPages, TheQueryPageShowsItsGridMemoAndFileSettings) {
    QueryPage q(Queries{{"kunder", "select kundnr from kund"}});
    auto* grid = q.w.Named<TXDBGrid>("XDBGrid1");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Columns()->Count(), 1);
    EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "SQL_QUERY_NAME");
    EXPECT_EQ(grid->GridStyle()->VisualStyle(), vsStandard);
    EXPECT_TRUE(grid->StretchMode());
    EXPECT_EQ(grid->ScrollProp()->AutoHidden(), ssBoth);
    EXPECT_TRUE(grid->Options().Contains(dgEditing));
    // The query names stand alone: no title row, no indicator.
    EXPECT_FALSE(grid->Options().Contains(dgTitles));
    EXPECT_FALSE(grid->Options().Contains(dgIndicator));
    EXPECT_EQ(q.w.Named<TDBMemo>("DBMemo1")->Text(), "select kundnr from kund");
    EXPECT_EQ(q.w.Named<TDBMemo>("DBMemo1")->ScrollBars(), ssBoth);
    EXPECT_NE(q.w.Named<TDBEdit>("DBEdit1"), nullptr);
    auto* info = q.w.Named<TListBox>("ListBox1");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Items()->Strings(1), "$$<fieldname> TODO");
}

TEST(ExportPages, TestaRunsTheCurrentRowsQueryOrNamesTheMissingDefinition) {
    QueryPage q(Queries{{"kunder", "select kundnr from kund"}, {"fel", "select x from ingen_tabell"}});
    ASSERT_TRUE(q.Queries().Locate("SQL_QUERY_NAME", Variant::FromUtf8("kunder")));
    Click(q.w.Named<TButton>("TestQuery"));
    EXPECT_TRUE(QueryOk(q.Result(), 4)) << q.Result();
    ASSERT_TRUE(q.Queries().Locate("SQL_QUERY_NAME", Variant::FromUtf8("fel")));
    Click(q.w.Named<TButton>("TestQuery"));
    EXPECT_TRUE(QueryFailed(q.Result(), "no such table: ingen_tabell")) << q.Result();
    EXPECT_FALSE(q.w.world.MainDM().adminODBC().Connected());
    EXPECT_TRUE(q.w.dialogs.Requests().empty());
}

TEST(ExportPages, AddedQueriesAreTypedInAndRemovedOnesGo) {
    QueryPage q(Queries{{"kunder", "select kundnr from kund"}});
    // "Ta bort" on a row being added drops only that row.
    Click(q.w.Named<TButton>("AddSQL"));
    ASSERT_EQ(q.Queries().State(), dsInsert);
    q.Queries().FieldByName("SQL_QUERY_NAME").SetAsString("ny");
    Click(q.w.Named<TButton>("RemoveSQL"));
    EXPECT_EQ(q.Queries().State(), dsBrowse);
    EXPECT_EQ(q.Names(), (std::vector<std::string>{"kunder"}));

    // A row added, named (as the grid's editor writes) and given its query in the memo, is tested.
    Click(q.w.Named<TButton>("AddSQL"));
    q.Queries().FieldByName("SQL_QUERY_NAME").SetAsString("leverantorer");
    TypeInto(q.w.Named<TDBMemo>("DBMemo1"), "select levnr from lev");
    TypeInto(q.w.Named<TDBEdit>("DBEdit1"), "lev_$exportdatum.xml");
    Click(q.w.Named<TButton>("TestQuery"));
    EXPECT_TRUE(QueryOk(q.Result(), 2)) << q.Result();
    EXPECT_EQ(q.Names(), (std::vector<std::string>{"kunder", "leverantorer"}));

    // A stored row goes; an empty table is left alone, and has no name to test.
    for (int i = 0; i < 3; ++i) Click(q.w.Named<TButton>("RemoveSQL"));
    EXPECT_TRUE(q.Names().empty());
    Click(q.w.Named<TButton>("TestQuery"));
    EXPECT_EQ(q.Result(), "Query failed: Saknar definition för  ");
    EXPECT_TRUE(q.w.dialogs.Requests().empty());
}

}  // namespace
}  // namespace tv
