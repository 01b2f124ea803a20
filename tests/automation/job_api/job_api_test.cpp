// The job API and the engine side of the script host, over recording doubles of the data modules:
// the table as stored, the reference list, what one compile registers and in which order, every
// bound row reaching its operation, the rows that wait for theirs, and errors crossing to scripts.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "automation/job_api_rows.h"
#include "automation/script_handler_engine.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/text_compare.h"
#include "platform/rtl/trim.h"
#include "script/compiler/compiler_messages.h"
#include "tests/automation/job_api/job_api_doubles.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

using script::TPSScript;
using TRows = TJobApiRows<test::TDoubleClasses>;

// The engine over the doubles; its scripts also get Print, which writes "> text" into the trace.
struct THostedJob {
    test::TApiDoubles d;
    TScriptHandlerEngine engine{d.Api()};

    THostedJob() {
        auto inner = engine.PSScript1.OnCompile;
        engine.PSScript1.OnCompile = [this, inner](TPSScript& s) {
            inner(s);
            s.AddCallable("procedure Print(S: string);",
                          [this](const std::string& t) { d.Trace.Add("> " + t); });
        };
    }
    bool Compile(const std::string& text) {
        engine.PSScript1.Script().SetText(text);
        return engine.PSScript1.Compile();
    }
    std::string Messages() const {
        std::string all;
        for (size_t i = 0; i < engine.PSScript1.CompilerMessageCount(); ++i)
            all += engine.PSScript1.CompilerErrorToStr(i) + "\n";
        return all;
    }
    // Compiles and runs; a failure says why.
    ::testing::AssertionResult Run(const std::string& text) {
        if (!Compile(text))
            return ::testing::AssertionFailure() << Messages() << engine.PSScript1.ExecErrorToString();
        if (!engine.PSScript1.Execute())
            return ::testing::AssertionFailure() << engine.PSScript1.ExecErrorToString();
        return ::testing::AssertionSuccess();
    }
};

std::vector<std::string> FixtureDeclarations() {
    std::ifstream in(std::string(TV_FIXTURES_DIR) + "/script/hosts/job_api.decl");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#' && line.rfind("var ", 0) != 0) lines.push_back(line);
    return lines;
}

TEST(JobApiTable, HoldsTheNinetyOneDeclarationsInOrderAsStored) {
    // The hand-written host declarations of the job API, and the blanks each row is stored with
    // (leading/trailing), row by row.
    const std::vector<std::string> trimmed = FixtureDeclarations();
    const char* blanks =
        "1/0 0/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 0/0 1/0 1/0 3/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 "
        "1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/0 1/1 1/1 1/0 1/0 1/0 1/0 1/0 1/0 1/0 0/0 0/0 0/0 0/0 0/0 0/0 "
        "0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 0/0 "
        "0/0 0/0 1/0 1/0 1/0 0/0 1/1 0/0 1/1 1/1 1/1 1/1 1/1 1/1 0/0 0/1";
    std::istringstream expectedBlanks(blanks);
    ASSERT_EQ(trimmed.size(), kJobApiRowCount);
    for (size_t i = 0; i < kJobApiRowCount; ++i) {
        const TJobApiRow& row = TRows::kRows[i];
        EXPECT_EQ(row.N, static_cast<int>(i + 1));
        EXPECT_EQ(Trim(row.Declaration), trimmed[i]) << row.N;
        const std::string_view d = row.Declaration;
        const std::string stored = std::to_string(d.find_first_not_of(' ')) + "/" +
                                   std::to_string(d.size() - 1 - d.find_last_not_of(' '));
        std::string want;
        expectedBlanks >> want;
        EXPECT_EQ(stored, want) << row.N << ": " << d;
    }
}

TEST(JobApiTable, ExportSideConnectsAsTheImportSideDoes) {
    EXPECT_EQ(TRows::kRows[70].Bind, TRows::kRows[0].Bind);  // InitiateExport, InitiateImport
    EXPECT_EQ(TRows::kRows[71].Bind, TRows::kRows[1].Bind);  // FinalizeExport, FinalizeImport
    EXPECT_EQ(TRows::kRows[70].Object, TJobApiObject::MainForm);
}

TEST(ScriptHandlerEngine, LoadingAScriptListsTheDeclarationsSortedAndDeclaresNothing) {
    test::TempDir dir;
    const std::string file = dir.Write("job.pas", "begin\r\nend.\r\n");
    THostedJob job;
    job.engine.LoadScript(file);
    EXPECT_EQ(job.engine.PSScript1.Script().Text(), "begin\r\nend.\r\n");
    const TStringList& list = job.engine.registredMethods;
    ASSERT_EQ(list.Count(), 91);
    EXPECT_EQ(list.Strings(0), "function CheckAgreements(): boolean;");
    EXPECT_EQ(list.Strings(90), "procedure SetCancelling(const cancel :boolean);");
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_LE(AnsiCompareText(list.Strings(i - 1), list.Strings(i)), 0) << list.Strings(i);
    // Outside a compile the engine takes no row.
    for (const TJobApiRow& row : job.engine.Api().Rows())
        EXPECT_FALSE(job.engine.Api().Register(job.engine.PSScript1, row)) << row.N;
}

TEST(ScriptHandlerEngine, ALoadedFileThatIsMissingRaisesTheFileError) {
    THostedJob job;
    EXPECT_THROW(job.engine.LoadScript("/no/such/folder/job.pas"), Exception);
}

TEST(ScriptHandlerEngine, EveryCompileRebuildsTheReferenceListOnce) {
    THostedJob job;
    int rebuilt = 0;
    job.engine.OnMethodsRegistered = [&] { ++rebuilt; };
    ASSERT_TRUE(job.Compile("begin end."));
    ASSERT_TRUE(job.Compile("begin end."));
    EXPECT_EQ(rebuilt, 2);
    EXPECT_EQ(job.engine.registredMethods.Count(), 91);
}

TEST(ScriptHandlerEngine, TheFlagsReadZeroAndTheHostObjectsAreNotScriptVariables) {
    THostedJob job;
    ASSERT_TRUE(
        job.Run("begin Print(IntToStr(FLAG_IMPORT) + ',' + IntToStr(FLAG_EXPORT)); FLAG_IMPORT := 5;"
                " Print(IntToStr(FLAG_IMPORT)); end."));
    EXPECT_EQ(job.d.Trace.Lines, (std::vector<std::string>{"> 0,0", "> 5"}));
    for (const char* name : {"DMImport", "APPLICATION", "MEMO1", "MEMO2"}) {
        EXPECT_FALSE(job.Compile(std::string("begin ") + name + " := nil; end.")) << name;
        EXPECT_NE(job.Messages().find("Unknown identifier"), std::string::npos) << name << job.Messages();
    }
}

// A call of a bound row and what it leaves in the trace: the operation's line, then what the script
// prints of its result.
struct RowCall {
    int n;
    std::string statements;
    std::vector<std::string> trace;
};

// "if F() then Print('T') else Print('F');" for a Boolean function without parameters.
std::string Answer(const std::string& f) {
    return "if " + f + "() then Print('T') else Print('F');";
}

TEST(ScriptHandlerEngine, EveryBoundRowReachesItsOperationWithItsArgumentsAndResult) {
    const std::string checks[] = {"CheckBest",          "CheckArticles",         "CheckCustomers",
                                  "CheckOrders",        "CheckSuppliers",        "CheckSupplierInvoices",
                                  "CheckAgreements",    "CheckInvoices",         "CheckCustomerPayments",
                                  "CheckOffers",        "CheckManualDeliveryIn", "CheckManualDeliveryOut",
                                  "CheckDeliveryNotes", "CheckContacts",         "CheckPurchasePrices",
                                  "CheckSalesPrices",   "CheckProjects",         "ImportCustomers",
                                  "ImportSuppliers",    "ImportContacts",        "ImportProjects",
                                  "TID_CheckCustomers", "TID_ImportCustomers",   "ImportArticles",
                                  "ImportAuxillary",    "ImportOrders",          "ImportOffers",
                                  "ImportInvoices",     "ImportAgreements",      "ImportCustomerPayments",
                                  "ImportSalesPrices",  "ImportPurchasePrices"};
    const int checkRows[] = {5,  7,  9,  11, 14, 16, 17, 19, 23, 25, 27, 29, 31, 33, 35, 38,
                             40, 10, 15, 34, 41, 42, 43, 8,  44, 12, 26, 20, 18, 24, 39, 36};
    // The change look-ups: each appends to the list it is given (not emptied) and gets the start
    // time with its fraction of a day.
    const std::string lookups[] = {"GetArticlesByTimeStamp", "GetCustomersByTimeStamp",
                                   "GetOrdersByTimeStamp", "GetInvoicesByTimeStamp",
                                   "GetSupplierInvoicesByTimeStamp"};
    const int lookupRows[] = {84, 85, 87, 88, 89};
    // The purchase and stock document imports.
    const std::string stockImports[] = {"ImportBest", "ImportSupplierInvoices", "ImportManualDeliveryIn",
                                        "ImportManualDeliveryOut", "ImportDeliveryNotes"};
    const int stockImportRows[] = {6, 21, 28, 30, 32};
    std::vector<RowCall> calls = {
        {1, "InitiateImport();", {"InitiateImport()"}},
        {2, "FinalizeImport();", {"FinalizeImport()"}},
        {3,
         "r := TStringList.Create; FindFiles('*.xml', r, 1, 'in'); Print(r.CommaText); r.Free;",
         {"FindFiles(*.xml,1,in)", "> a.xml,b.xml"}},
        {4,
         "r := getCommandLineSelection(7); Print(r[0]); r.Free;",
         {"getCommandLineSelection(7)", "> getCommandLineSelection 7"}},
        {13, "if LoadXML('a.xml') then Print('T');", {"LoadXML(a.xml)", "> T"}},
        {22, Answer("CustomImportOrderAvstamning"), {"CustomImportOrderAvstamning()", "> T"}},
        {45, "ArchiveCompleteFile('f.xml', 'sub', 1, True);", {"ArchiveCompleteFile(f.xml,sub,1,true)"}},
        {46, "ArchiveFailedFile('f.xml', '', 0);", {"ArchiveFailedFile(f.xml,,0)"}},
        {37,
         "if ImportPurchasePrices2(True) then Print('T'); ImportPurchasePrices2(False);",
         {"ImportPurchasePrices2(1)", "> T", "ImportPurchasePrices2(0)"}},
        {47, "ExportArticles();", {"ExportArticles()"}},
        {48, "ExportArticlesFromList(l);", {"ExportArticlesFromList([k1,k2])"}},
        {49, "ExportArticlesFromList2(l, p, 1, 0);", {"ExportArticlesFromList([k1,k2],[PL1],1,0)"}},
        {50, "ExportArticlesFromList3(l, nil, 0, 1, 1);", {"ExportArticlesFromList([k1,k2],nil,0,1,1)"}},
        {51, "ExportCustomers();", {"ExportCustomers()"}},
        {52, "ExportCustomersFromList(l);", {"ExportCustomersFromList([k1,k2])"}},
        {53, "ExportContacts();", {"ExportContacts()"}},
        {54, "ExportSuppliers();", {"ExportSuppliers()"}},
        {55, "ExportBest();", {"ExportBest()"}},
        {56, "ExportBestFromList(l);", {"ExportBestFromList([k1,k2])"}},
        {57, "ExportOrders();", {"ExportOrders()"}},
        {58, "ExportOrdersFromList(nil);", {"ExportOrdersFromList(nil)"}},
        {59, "ExportOffers();", {"ExportOffers()"}},
        {60, "ExportOffersFromList(l);", {"ExportOffersFromList([k1,k2])"}},
        {61, "ExportInvoices();", {"ExportInvoices()"}},
        {62, "ExportInvoicesFromList(l);", {"ExportInvoicesFromList([k1,k2])"}},
        {63, "ExportSupplierInvoices();", {"ExportSupplierInvoices()"}},
        {64, "ExportSupplierInvoicesFromList(l);", {"ExportSupplierInvoicesFromList([k1,k2])"}},
        {65, "ExportPricelists();", {"ExportPriceLists()"}},
        {66, "ExportSQL('lager', 'lager.xml');", {"ExportSQL(lager,lager.xml)"}},
        {67, "ExportSQLFromList('lager', '', l);", {"ExportSQLFromList(lager,,[k1,k2])"}},
        {68, "RunRule('skicka order');", {"RunRule(skicka order)"}},
        {69, "GFXSetFileName('kunder.xml');", {"GFXSetFileName(kunder.xml)"}},
        {70, "GFXCloseSection();", {"GFXCloseSection()"}},
        {71, "InitiateExport();", {"InitiateImport()"}},
        {72, "FinalizeExport();", {"FinalizeImport()"}},
        {73, "AddImportedItem('1001');", {"AddImportedItem(1001)"}},
        {74, "ClearImportedItems('x');", {"clearImportedItems(x)"}},
        {75, "r := GetImportedItems(); Print(r[0]); r.Free;", {"getImportedItems()", "> getImportedItems"}},
        {76, Answer("GetCancelling"), {"getCancelling()", "> F"}},
        {77, "SetCancelling(True);", {"setCancelling(true)"}},
        {78, "RunProgram('/bin/true', '-x', '/tmp');", {"RunProgram(/bin/true,-x,/tmp)"}},
        {79, "CleanUpXFormed(1);", {"CleanUpXFormed(1)"}},
        {80, "r := GetExtraParams(); Print(r[0]); r.Free;", {"GetExtraParams()", "> GetExtraParams"}},
        {81,
         "if GetTimestampByName('fakturor', EncodeDate(2024, 1, 1)) = EncodeDate(2024, 1, 2) + 0.5 then "
         "Print('T');",
         {"GetTimestampByName(fakturor,45292.000000)", "> T"}},
        {82, "SaveTimestampByName('fakturor', 3.25);", {"SaveTimestampByName(fakturor,3.250000)"}},
        {83,
         "if GetLastTimestamp() = EncodeDate(2024, 1, 1) + 0.75 then Print('T');",
         {"GetLastTimeStamp()", "> T"}},
        {86,
         "r := TStringList.Create; r.Add('q'); GetDocumentsBySQL(r, 'select 1'); Print(r.CommaText); r.Free;",
         {"GetDocumentsBySQL([q],select 1)", "> q,D1"}},
        {90, "ExportAccountPlan('2024');", {"ExportAccountPlan(2024)"}},
        {91,
         "r := GetChunk(l, 1, 50); Print(r[0]); r.Free;",
         {"GetChunk([k1,k2],1,50)", "> GetChunk [k1,k2],1,50"}},
    };
    THostedJob job;
    // Some answer false, so that each result is seen to be its operation's own.
    for (const char* no : {"CheckOrders", "CheckContacts", "ImportSuppliers", "TID_CheckCustomers",
                           "ImportOffers", "ImportManualDeliveryOut", "getCancelling", "ImportAgreements",
                           "ImportPurchasePrices"})
        job.d.Trace.Answers[no] = false;
    for (size_t i = 0; i < std::size(checks); ++i)
        calls.push_back({checkRows[i],
                         Answer(checks[i]),
                         {checks[i] + "()", job.d.Trace.Answers.count(checks[i]) ? "> F" : "> T"}});
    for (size_t i = 0; i < std::size(stockImports); ++i)
        calls.push_back(
            {stockImportRows[i],
             Answer(stockImports[i]),
             {stockImports[i] + "()", job.d.Trace.Answers.count(stockImports[i]) ? "> F" : "> T"}});
    for (size_t i = 0; i < std::size(lookups); ++i)
        calls.push_back(
            {lookupRows[i],
             "r := TStringList.Create; r.Add('q'); " + lookups[i] +
                 "(r, EncodeDate(2024, 1, 1) + 0.5, 'select " + std::to_string(i) +
                 "'); Print(r.CommaText); r.Free;",
             {lookups[i] + "([q],45292.500000,select " + std::to_string(i) + ")", "> q," + lookups[i]}});

    std::string body;
    std::vector<std::string> expected;
    std::set<int> called;
    for (const RowCall& c : calls) {
        body += c.statements + "\n";
        expected.insert(expected.end(), c.trace.begin(), c.trace.end());
        called.insert(c.n);
    }
    for (const TJobApiRow& row : TRows::kRows)
        EXPECT_EQ(called.count(row.N) == 1, row.Bind != nullptr)
            << "row " << row.N << " is bound and not called";

    ASSERT_TRUE(
        job.Run("var l, p, r: TStringList;\nbegin\nl := TStringList.Create; l.Add('k1'); l.Add('k2');\n"
                "p := TStringList.Create; p.Add('PL1');\n" +
                body + "l.Free; p.Free;\nend."));
    EXPECT_EQ(job.d.Trace.Lines, expected);
}

// The call of a waiting row: each parameter gets a value of its type.
std::string CallOf(std::string_view declaration) {
    const std::string d(Trim(declaration));
    const size_t open = d.find('('), close = d.find(')');
    const std::string name = Trim(d.substr(d.find(' ') + 1, open - d.find(' ') - 1));
    std::string args;
    std::istringstream params(d.substr(open + 1, close - open - 1));
    for (std::string param; std::getline(params, param, ';');) {
        const size_t colon = param.find(':');
        std::string type = Trim(param.substr(colon + 1));
        for (char& ch : type) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const std::string value = type == "string"        ? "'x'"
                                  : type == "boolean"     ? "False"
                                  : type == "tstringlist" ? "nil"
                                                          : "0";
        for (size_t n = std::count(param.begin(), param.begin() + colon, ',') + 1; n > 0; --n)
            args += (args.empty() ? "" : ", ") + value;
    }
    return name + "(" + args + ");";
}

TEST(ScriptHandlerEngine, ARowWaitingForItsOperationCompilesButACallOfItDoesNotLoad) {
    THostedJob job;
    int waiting = 0;
    for (const TJobApiRow& row : TRows::kRows) {
        if (row.Bind) continue;
        ++waiting;
        const std::string call = CallOf(row.Declaration);
        std::string name = call.substr(0, call.find('('));
        for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_FALSE(job.Compile("begin " + call + " end.")) << call;
        EXPECT_EQ(job.Messages(), "") << call;
        EXPECT_EQ(job.engine.PSScript1.ExecErrorToString(), "Cannot Import " + name);
    }
    // Every row has its operation now; the loop stays for a row added before its operation.
    EXPECT_EQ(waiting, 0);
    // A script that does not call them runs.
    EXPECT_TRUE(job.Run("begin GFXCloseSection(); end."));
}

TEST(ScriptHandlerEngine, AnOperationsErrorIsACatchableScriptErrorThatKeepsItsText) {
    THostedJob job;
    job.d.Trace.Raising["CheckCustomers"] = "Kunden saknar nyckel åäö";
    ASSERT_TRUE(
        job.Run("begin try CheckCustomers(); except Print(ExceptionParam); end; Print('vidare'); end."));
    EXPECT_EQ(job.d.Trace.Lines,
              (std::vector<std::string>{"CheckCustomers()", "> Kunden saknar nyckel åäö", "> vidare"}));

    // Unhandled, it ends the run with its text.
    EXPECT_TRUE(job.Compile("begin CheckCustomers(); Print('aldrig'); end."));
    EXPECT_FALSE(job.engine.PSScript1.Execute());
    EXPECT_EQ(job.engine.PSScript1.ExecErrorToString(), "Exception: Kunden saknar nyckel åäö");
    EXPECT_EQ(job.d.Trace.Lines.back(), "CheckCustomers()");
}

TEST(ScriptHandlerEngine, ANilListWhereTheOperationNeedsOneIsAScriptError) {
    THostedJob job;
    for (const char* call : {"FindFiles('*.xml', r, 1, '');", "GetDocumentsBySQL(nil, 'select 1');",
                             "r := GetChunk(nil, 0, 5);"}) {
        ASSERT_TRUE(job.Compile(std::string("var r: TStringList; begin r := nil; ") + call + " end."))
            << call;
        EXPECT_FALSE(job.engine.PSScript1.Execute()) << call;
        EXPECT_EQ(job.engine.PSScript1.ExecErrorToString(), "Exception: Null Pointer Exception") << call;
    }
    EXPECT_TRUE(job.d.Trace.Lines.empty());
}

// Records the hooks of one compile in the order they fire; each hook still does its work.
struct TTracedClasses : script::TPSImport_Classes {
    std::vector<std::string>* trace;
    explicit TTracedClasses(std::vector<std::string>* t) : trace(t) {}
    void CompileImport1(TPSScript& s) override {
        trace->push_back("PSImport_Classes1: declare std, classes");
        TPSImport_Classes::CompileImport1(s);
    }
    void ExecImport1(TPSScript& s, script::TPSRuntimeClassImporter& ri) override {
        trace->push_back("PSImport_Classes1: register std, classes");
        TPSImport_Classes::ExecImport1(s, ri);
    }
};
struct TTracedDates : script::TPSImport_DateUtils {
    std::vector<std::string>* trace;
    explicit TTracedDates(std::vector<std::string>* t) : trace(t) {}
    void CompOnUses(TPSScript& s) override {
        trace->push_back("PSImport_DateUtils1: declare dates");
        TPSImport_DateUtils::CompOnUses(s);
    }
    void ExecOnUses(TPSScript& s) override {
        trace->push_back("PSImport_DateUtils1: register dates");
        TPSImport_DateUtils::ExecOnUses(s);
    }
};

TEST(ScriptHandlerEngine, OneCompileFiresTheHooksInTheHostsOrder) {
    THostedJob job;
    std::vector<std::string> trace;
    TScriptHandlerEngine& e = job.engine;
    // The same plug-ins, traced, in the places of the engine's own.
    TTracedClasses classes(&trace);
    TTracedDates dates(&trace);
    e.PSScript1.Plugins().Items(0)->SetPlugin(&classes);
    e.PSScript1.Plugins().Items(1)->SetPlugin(&dates);
    auto execImport = e.PSScript1.OnExecImport;
    e.PSScript1.OnExecImport = [&](TObject* s, script::TPSExec& x, script::TPSRuntimeClassImporter& ri) {
        trace.push_back("PSScript1ExecImport");
        execImport(s, x, ri);
    };
    auto compImport = e.PSScript1.OnCompImport;
    e.PSScript1.OnCompImport = [&](TObject* s, script::TPSPascalCompiler& c) {
        trace.push_back("PSScript1CompImport");
        compImport(s, c);
    };
    auto compile = e.PSScript1.OnCompile;
    e.PSScript1.OnCompile = [&](TPSScript& s) {
        trace.push_back("PSScript1Compile");
        compile(s);
        trace.push_back("registered " + std::to_string(e.registredMethods.Count()));
    };
    ASSERT_TRUE(job.Compile("begin end."));
    EXPECT_EQ(trace, (std::vector<std::string>{
                         "PSImport_Classes1: register std, classes",
                         "PSScript1ExecImport",
                         "PSImport_DateUtils1: register dates",
                         "PSImport_DateUtils1: declare dates",
                         "PSImport_Classes1: declare std, classes",
                         "PSScript1CompImport",
                         "PSScript1Compile",
                         "registered 91",
                     }));
    // The variables come after the rows: a script sees both.
    ASSERT_TRUE(e.PSScript1.Execute());
    EXPECT_NE(e.PSScript1.GetVariable("FLAG_IMPORT"), nullptr);
    EXPECT_NE(e.PSScript1.GetVariable("FLAG_EXPORT"), nullptr);
}

}  // namespace
}  // namespace tv
