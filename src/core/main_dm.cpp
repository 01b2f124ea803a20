#include "core/main_dm.h"

#include <array>

#include "adk/connection_strings.h"
#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/settings_folders.h"
#include "core/settings_root.h"
#include "core/shell_helper.h"
#include "core/string_utils.h"
#include "core/timestamp_helper.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/main_thread.h"
#include "platform/win/posted_timer.h"

namespace tv {
namespace {

TMainDM* gMainDM = nullptr;

// The kit datasets of the module: name, table, sort order, and for a rows dataset its head.
struct KitDataSetRow {
    const char* name;
    TAdkTable table;
    TAdkSortOrder order;
    const char* rowsOf;
};
constexpr KitDataSetRow kKitDataSets[] = {
    {"AdkKunder", atKunder, asKundnr, nullptr},
    {"AdkKunderTmp", atKunder, asKundnr, nullptr},
    {"ADKLeverantorer", atLeverantorer, asLevNr, nullptr},
    {"ADKArtiklar", atArtiklar, asArtikelnr, nullptr},
    {"AdkArtikelKontering", atArtikelkonto, asArtikelkontoKod, nullptr},
    {"AdkArtikelSprak", atArtikelbenamningar, asArtikelbenamningNr, nullptr},
    {"AdkPaketArtiklar", atPaketartiklar, asPaketArtiklarRadNrPaket, nullptr},
    {"AdkInkPris", atInkopspriser, asInkopspriserLevNrArtNr, nullptr},
    {"AdkPrislistor", atPrislistor, asPrislista, nullptr},
    {"AdkForsaljningspriser", atForsaljningspriser, asForsaljningspriserArtNr, nullptr},
    {"AdkOrder", atOrder, asOrderNr, nullptr},
    {"AdkOrderRader", atOrderrader, asIngen, "AdkOrder"},
    {"AdkOrderUrval", atOrder, asOrderNr, nullptr},
    {"AdkOffert", atOfferter, asOffertNr, nullptr},
    {"AdkOffertRader", atOffertrader, asIngen, "AdkOffert"},
    {"AdkOffertUrval", atOfferter, asOffertNr, nullptr},
    {"ADKFakturor", atFakturor, asFakturaNr, nullptr},
    {"AdkFakturaRader", atFakturarader, asIngen, "ADKFakturor"},
    {"AdkFakturaUrval", atFakturor, asFakturaNr, nullptr},
    {"ADKLevFakturor", atLevFakturor, asLevFakturaNr, nullptr},
    {"ADKLevFakturaRader", atLevFakturarader, asIngen, "ADKLevFakturor"},
    {"ADKLevFakturaUrval", atLevFakturor, asLevFakturaNr, nullptr},
    {"ADKBest", atBestallningar, asBestallningNr, nullptr},
    {"ADKBestRader", atBestallningrader, asIngen, "ADKBest"},
    {"AdkAvtal", atAvtal, asAvtalnr, nullptr},
    {"AdkAvtalRader", atAvtalrader, asIngen, "AdkAvtal"},
    {"ADKKolli", atKolli, asKolliOrderNr, nullptr},
    {"AdkKolliRader", atKollirader, asIngen, "ADKKolli"},
    {"AdkInkFs", atInkommandeFoljesedel, asInkommandefoljesedelNr, nullptr},
    {"ADKInkFsRader", atInkommandeFoljesedelrader, asIngen, "AdkInkFs"},
    {"ADKManuellIn", atManuellinleverans, asManuellInleverans, nullptr},
    {"AdkManuellUt", atManuellutleverans, asManuellUtleverans, nullptr},
    {"AdkInventering", atInventering, asInventeringArtikelnr, nullptr},
    {"ADKKundinbetalningar", atKundinbetalningar, asKundInbetFaktura, nullptr},
    {"ADKKontakter", atKontakter, asKontaktID, nullptr},
    {"ADKProjekt", atProjekt, asProjektkod, nullptr},
    {"ADKAux", atResultatenheter, asResultatenhet, nullptr},
    {"ADKProfitCentres", atResultatenheter, asResultatenhet, nullptr},
    {"ADKKonto", atKonto, asKontonr, nullptr},
    {"ADKBokfAar", atBokforingsar, asBokforingsar, nullptr},
    {"AdkPrm", atInstallningar, asIngen, nullptr},
    {"ADKInstallningar", atInstallningar, asIngen, nullptr},
    {"ADKPrm2", atInstallningar2, asIngen, nullptr},
    {"AdkTmp", atIngen, asIngen, nullptr},
};

// The datasets openADK opens, in order, with the event line and level of a failure; the first
// five raise it again.
struct OpenRow {
    const char* dataSet;
    const char* label;
    int level;
    bool raise;
};
constexpr OpenRow kOpenOrder[] = {
    {"AdkKunder", "Kunder", elError, true},
    {"ADKLeverantorer", "Leverantörer", elError, true},
    {"AdkOrder", kOrderTableLabel.data(), elError, true},
    {"AdkOffert", "Offert", elExcessive, true},
    {"ADKLevFakturor", "Leverantörsfakturor", elExcessive, true},
    {"ADKBest", "Beställningar", elExcessive, false},
    {"ADKFakturor", "Fakturor", elExcessive, false},
    {"AdkPrm", "Inställningar", elExcessive, false},
    {"AdkAvtal", "Avtal", elExcessive, false},
    {"AdkArtikelKontering", "Artikelkontering", elExcessive, false},
    {"ADKKontakter", "ADKKontakter", elExcessive, false},
    {"ADKArtiklar", "Artiklar", elExcessive, false},
    {"AdkInkPris", "Inköpspriser", elExcessive, false},
    {"ADKKundinbetalningar", "Kundinbetalningar", elExcessive, false},
    {"AdkPrislistor", "Prislistor", elExcessive, false},
    {"AdkForsaljningspriser", "Försäljningspriser", elExcessive, false},
    {"AdkPaketArtiklar", "Paketartiklar", elExcessive, false},
    {"ADKKolli", "Kolli", elExcessive, false},
    {"ADKManuellIn", "Manuellinleverans", elExcessive, false},
    {"AdkManuellUt", "Manuellutleverans", elExcessive, false},
    {"AdkInkFs", "Inkommandeföljesedel", elExcessive, false},
    {"ADKProjekt", "Projekt", elExcessive, false},
};

// The datasets closeADK closes.
constexpr const char* kCloseOrder[] = {
    "ADKArtiklar",    "AdkKunder",       "AdkOrder",      "ADKLeverantorer",       "ADKFakturor",
    "ADKLevFakturor", "AdkPrm",          "ADKBest",       "AdkArtikelKontering",   "ADKKundinbetalningar",
    "ADKKontakter",   "ADKProjekt",      "AdkPrislistor", "AdkForsaljningspriser", "AdkPaketArtiklar",
    "AdkAvtal",       "ADKKolli",        "AdkOffert",     "ADKManuellIn",          "AdkManuellUt",
    "AdkInkFs",       "AdkArtikelSprak", "AdkInkPris",
};

// "Visma Tid": its connection string before the settings fill it, and its queries.
constexpr std::string_view kTidConnectionString =
    "Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=;Initial Catalog=;Data Source=";
constexpr std::string_view kTidCustomersSql = "select * from Customer where OrganisationNo = :paramOrgnr";
constexpr std::string_view kTidDatabasesSql = "select * from master..sysdatabases";
constexpr std::string_view kTidUsersSql =
    "select Signature, ProgramUserId, (Firstname +' ' + Name) as Descr from ProgramUser order by Signature;";

template <typename T>
T* Named(T* component, const char* name) {
    component->SetName(name);
    return component;
}

// The folder of a log file named in the settings exists or can be made; a name without a folder
// part has none to make, and the dated log file is used instead.
bool LogFolderUsable(const std::string& folder) {
    if (folder.empty()) return false;
    if (DirectoryExists(folder)) return true;
    try {
        ForceDirectories(folder);
        return true;
    } catch (const Exception& e) {
        AppLogger().LogDebug(folder, e);
        return false;
    }
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

TMainDM::TMainDM(IEventSink& events, TComponent* owner, bool setUpLogging)
    : TComponent(owner),
      events_(events),
      timer1_(std::make_unique<TPostedTimer>(kTimer1IntervalMs, [this] { Timer1Timer(); })) {
    SetName("MainDM");
    if (setUpLogging) {
        UpdateApplicationInstance();
        UpdateLogInstance();
    }
    settings_ = new TSettingsTables(this);
    rules_ = new TRuleTables(this);
    workFolders_ = std::make_unique<TWorkFolders>(settings_->InstallningarCDS());
    store_ = std::make_unique<TSettingsStore>(*settings_, *rules_, *workFolders_);
    archiver_ = std::make_unique<TFileArchiver>(*workFolders_, events_, [this] { MakeWritesDurable(); });
    ruleMoves_ = std::make_unique<TRuleFileMoves>(*workFolders_, events_);
    dsInstallningar_ = Named(new TDataSource(this), "DSInstallningar");
    dsInstallningar_->SetDataSet(&settings_->InstallningarCDS());
    dsTidInstallningar_ = Named(new TDataSource(this), "DSTidInstallningar");
    dsTidInstallningar_->SetDataSet(&settings_->CDSTidPrefs());
    // Another company folder closes the company that is open.
    settings_->InstallningarCDS().FieldByName("SPCSPathSRC").OnChange = [this](TField*) {
        disconnectSPCSSRC();
    };
    CreateKitComponents();
    CreateDatabaseComponents();
    xmlDocument1_ = std::make_unique<TXMLDocument>();

    SetEnvironmentInfo("ApplicationInstance", getApplicationInstance());
    SetEnvironmentInfo("FolderDataPath", getDataFolder());
    SetEnvironmentInfo("FolderPlugin", getPluginFolder());
    SetEnvironmentInfo("FolderRule", getRuleFolder());
    SetEnvironmentInfo("FolderScript", getScriptFolder());
}

TMainDM::~TMainDM() {
    timer1_.reset();
    if (gMainDM == this) gMainDM = nullptr;
    // The datasets go before the company they are registered with.
    DestroyComponents();
}

void TMainDM::CreateKitComponents() {
    adkDBSRC_ = Named(new TAdkDatabase(this), "AdkDBSRC");
    adkDBSRC_->IgnoredErrorsOnRead = {bsBarCode, bsTaxReduction, bsCurrencyAndLanguage, bsBuildService};
    adkDBSRC_->ProgramSettings = {piArtikelStreckkod, piOmvandByggSkatt};
    for (const auto& row : kKitDataSets) {
        auto* dataSet = Named(new TAdkDataSet(this), row.name);
        dataSet->SetAdkTable(row.table);
        dataSet->SetAdkSortOrder(row.order);
    }
    for (const auto& row : kKitDataSets)
        if (row.rowsOf) AdkDataSet(row.rowsOf).SetChildTable(&AdkDataSet(row.name));
}

void TMainDM::CreateDatabaseComponents() {
    adminODBC_ = Named(new TADOConnection(this), "adminODBC");
    adminODBC_->SetLoginPrompt(false);
    // The SQL side sees what the kit wrote, held or not.
    adminODBC_->OnBeforeStatement = [this] { adkDBSRC_->CommitWrites(false); };
    adoArbitrarySQL_ = Named(new TADOQuery(this), "ADOArbitrarySQL");
    adoArbitrarySQL_->SetConnection(adminODBC_);
    qOrderUrval_ = Named(new TADOQuery(this), "qOrderUrval");
    qOrderUrval_->SetConnection(adminODBC_);
    clientDataSet1_ = Named(new TClientDataSet(this), "ClientDataSet1");

    vismaTidConnection_ = Named(new TADOConnection(this), "VismaTidConnection");
    vismaTidConnection_->SetLoginPrompt(false);
    vismaTidConnection_->SetConnectionString(std::string(kTidConnectionString));
    tidKunder_ = Named(new TADOQuery(this), "TidKunder");
    tidKunder_->SetConnection(vismaTidConnection_);
    tidKunder_->SQL().SetText(kTidCustomersSql);
    adoDbs_ = Named(new TADOQuery(this), "ADODbs");
    adoDbs_->SetConnection(vismaTidConnection_);
    adoDbs_->SQL().SetText(kTidDatabasesSql);
    tidUsers_ = Named(new TADOQuery(this), "TIDUsers");
    tidUsers_->SetConnection(vismaTidConnection_);
    tidUsers_->SQL().SetText(kTidUsersSql);
}

TAdkDataSet& TMainDM::AdkDataSet(std::string_view name) const {
    if (auto* dataSet = dynamic_cast<TAdkDataSet*>(FindComponent(name))) return *dataSet;
    throw Exception("The central data module has no kit dataset " + std::string(name));
}

// ---------------------------------------------------------------- folders

std::string TMainDM::getApplicationInstance() const {
    return AppInstanceName();
}
std::string TMainDM::getDataFolder() const {
    return GetDataFolder();
}
std::string TMainDM::getPluginFolder() const {
    return GetPluginFolder();
}
std::string TMainDM::getRuleFolder() const {
    return GetRuleFolder();
}
std::string TMainDM::getScriptFolder() {
    return GetScriptFolder();
}
std::string TMainDM::getLogsFolder() const {
    return GetLogsFolder();
}
std::string TMainDM::getPluginTmpFolder() const {
    return GetPluginTmpFolder();
}
std::string TMainDM::getTimestampFile() const {
    return GetTimestampFile();
}
std::string TMainDM::getSettingsFile() const {
    return GetSettingsFile();
}
std::string TMainDM::getSchemaFile() const {
    return GetSchemaFile();
}
std::string TMainDM::getWorkFolder(int side, std::string_view subfolder) const {
    return workFolders_->getWorkFolder(side, subfolder);
}
std::string TMainDM::getArchiveFolder(int side, std::string_view subfolder) const {
    return workFolders_->getArchiveFolder(side, subfolder);
}

// ---------------------------------------------------------------- connections

void TMainDM::connectSPCS() {
    try {
        const TClientDataSet& general = InstallningarCDS();
        const std::string path = general.FieldByName("SPCSPathSRC").AsString();
        if (path.empty() || !DirectoryExists(path)) throw Exception(std::string(kWrongSpcsPath));
        adkDBSRC_->SetCompanyPath(path);
        adkDBSRC_->Username = general.FieldByName("CompanyUsername").AsString();
        adkDBSRC_->Password = general.FieldByName("CompanyPassword").AsString();
        adkDBSRC_->SetConnected(true);
    } catch (const std::exception& e) {
        throw Exception(std::string(kCannotConnectSpcs) + e.what());
    }
}

void TMainDM::disconnectSPCSSRC() {
    adkDBSRC_->SetConnected(false);
}

void TMainDM::MakeWritesDurable() {
    adkDBSRC_->CommitWrites(true);
}

void TMainDM::openADK() {
    closeADK();
    for (const auto& row : kOpenOrder) {
        TAdkDataSet& dataSet = AdkDataSet(row.dataSet);
        try {
            if (dataSet.AdkTableAvailible()) dataSet.MakeOpen();
        } catch (const std::exception& e) {
            dataSet.Close();  // not left half open for the engines
            events_.reportError(row.label, row.level);
            if (row.raise) throw;
            // The job goes on without this table; its reason stays in the log.
            AppLogger().LogDebug(row.label, e);
        }
    }
}

void TMainDM::closeADK() {
    for (const char* name : kCloseOrder) AdkDataSet(name).Close();
}

void TMainDM::connectODBC() {
    adminODBC_->Close();
    const TClientDataSet& general = InstallningarCDS();
    std::string connectionString;
    if (adkDBSRC_->IsSQLDb()) {
        std::string user = adkDBSRC_->SQLUserName();
        std::string password = adkDBSRC_->SQLPassword();
        const std::string companyUser = general.FieldByName("CompanySQLUsername").AsString();
        const std::string companyPassword = general.FieldByName("CompanySQLPassword").AsString();
        switch (general.FieldByName("CompanySQLAuthMode").AsInteger()) {
            case 0:
                if (!companyUser.empty()) user = companyUser, password = companyPassword;
                break;
            case 1:
                user = companyUser, password = companyPassword;
                break;
            case 2:
                user = adkDBSRC_->SQLDbName() + "_" + companyUser, password = companyPassword;
                break;
            default:
                user.clear(), password.clear();
                break;
        }
        const bool windowsAuthentication = Trimmed(user).empty();
        connectionString = MakeSQLServerConnectionString(
            "", adkDBSRC_->SQLServerName(), adkDBSRC_->SQLDbName(), windowsAuthentication, password, user);
    } else {
        connectionString = MakeCompanyConnectionString("", general.FieldByName("SPCSPathSRC").AsString(), 0);
    }
    AppLogger().LogDebug(MaskConnectionStringPasswords(connectionString));
    adminODBC_->SetConnectionString(connectionString);
    adminODBC_->Open();
}

void TMainDM::disconnectODBC() {
    adminODBC_->Close();
}

void TMainDM::connectVismaTid(bool ignoreDatabase) {
    try {
        if (vismaTidConnection_->Connected()) return;
        vismaTidConnection_->SetConnectionString(
            TransformConnectionString(vismaTidConnection_->ConnectionString(), ignoreDatabase));
        vismaTidConnection_->Open();
    } catch (const std::exception& e) {
        throw Exception(Format(kCannotConnectTid, {e.what()}));
    }
}

void TMainDM::disconnectVismaTid() {
    vismaTidConnection_->Close();
}

std::string TMainDM::TransformConnectionString(std::string_view connectionString, bool ignoreDatabase) const {
    const TClientDataSet& tid = CDSTidPrefs();
    std::string text =
        ReplaceConnectionStringValue(connectionString, "Source", tid.FieldByName("TIDDBServer").AsString());
    text = ReplaceConnectionStringValue(
        text, "Initial Catalog", ignoreDatabase ? std::string() : tid.FieldByName("TIDDBName").AsString());
    text = ReplaceConnectionStringValue(text, "User ID", tid.FieldByName("TIDDBUser").AsString());
    return ReplaceConnectionStringValue(text, "Password", tid.FieldByName("TIDDBPassword").AsString());
}

std::string TMainDM::ReplaceConnectionStringValue(std::string_view text, std::string_view key,
                                                  std::string_view value) {
    return SetConnectionStringValue(text, key, value);
}

// ---------------------------------------------------------------- job operations

void TMainDM::RunProgram(const std::string& pathProgram, const std::string& parameters,
                         const std::string& directory) {
    try {
        int exitCode = 0;
        TShellHelper::CreateAndWaitForProcess(pathProgram, kRunProgramWaitMs, parameters, directory, exitCode,
                                              1);
    } catch (const std::exception& e) {
        throw Exception(std::string(kRunProgramFailed) + e.what());
    }
}

std::unique_ptr<TStringList> TMainDM::GetChunk(const TStrings& source, int chunkno, int size) {
    return tv::GetChunk(source, chunkno, size);
}

std::unique_ptr<TStringList> TMainDM::getCommandLineSelection(int registry) const {
    auto selection = std::make_unique<TStringList>();
    if (lastCommand_ && (registry == -1 || registry == lastCommand_->Register()))
        selection->Add(lastCommand_->UniqueID());
    return selection;
}

TDateTime TMainDM::GetTimestampByName(std::string_view tname, TDateTime defValue) const {
    return TTimestampHelper::GetLastTimeStamp(getTimestampFile(), tname, defValue);
}

void TMainDM::SaveTimestampByName(std::string_view tname, TDateTime value) {
    if (value == 0) return;
    try {
        // A saved time stamp reports the export before it done.
        MakeWritesDurable();
        TTimestampHelper::SaveTimeStamp(getTimestampFile(), tname, value);
    } catch (const std::exception& e) {
        events_.reportError(std::string(kTimestampSaveFailed) + e.what(), elWarning);
    }
}

std::string TMainDM::getLogFile() const {
    try {
        const std::string setting = InstallningarCDS().FieldByName("DEBUG_LOG_TO_FILE").AsString();
        if (!Trimmed(setting).empty() && LogFolderUsable(ExtractFileDir(setting))) return setting;
        const std::string logs = getLogsFolder();
        ForceDirectories(logs);
        return logs + FormatDateTime("yyyymmdd", Now()) + ".txt";
    } catch (const std::exception& e) {
        throw Exception(std::string(kLogFileFailed) + e.what());
    }
}

std::string TMainDM::StripCharsInSet(std::string_view text, const std::array<bool, 256>& set) {
    return tv::StripCharsInSet(text, set);
}

std::string TMainDM::StripCharsInSet2(std::string_view text) {
    return tv::StripCharsInSet2(text);
}

void TMainDM::importOrderUpdate(const std::string& fileName) {
    try {
        xmlDocument1_->LoadFromFile(fileName);
    } catch (const std::exception& e) {
        throw Exception(std::string(kXmlLoadFailed) + e.what());
    }
}

void TMainDM::Timer1Timer() {
    TAdkDataSet& selection = AdkDataSet("AdkOrderUrval");
    if (selection.Active())
        events_.reportError(Format(kFetchedCount, {selection.RecordCount()}), elExcessive);
}

bool TMainDM::TidActivated() {
    return CDSTidPrefs().FieldByName("TIDActivated").AsBoolean();
}

// ---------------------------------------------------------------- provisioning

void TMainDM::EmptyGeneralSettings() {
    InstallningarCDS().Cancel();
    InstallningarCDS().EmptyDataSet();
}

std::string TMainDM::GeneralText(std::string_view field) const {
    return InstallningarCDS().FieldByName(field).AsString();
}

void TMainDM::SetGeneralText(std::string_view field, std::string_view value) {
    InstallningarCDS().Edit();
    InstallningarCDS().FieldByName(field).SetAsString(value);
}

void TMainDM::SetGeneralInteger(std::string_view field, int value) {
    InstallningarCDS().Edit();
    InstallningarCDS().FieldByName(field).SetAsInteger(value);
}

void TMainDM::PostGeneralSettings() {
    if (InstallningarCDS().IsEditing()) InstallningarCDS().Post();
}

// ---------------------------------------------------------------- the instance

TMainDM& MainDM() {
    if (!gMainDM) throw Exception("The central data module has not been created");
    return *gMainDM;
}

void SetMainDM(TMainDM* dm) {
    gMainDM = dm;
}

}  // namespace tv
