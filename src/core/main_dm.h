#pragma once
// The central data module every job works through: the settings tables and their store, the
// settings and work folders, the company connection with the integration kit's datasets, the
// company and "Visma Tid" database connections, and the operations job scripts call (archiving,
// clean-up, running programs, the command-line selection, named time stamps ...). One instance
// lives for the whole process (MainDM()); it reports into the job's event tree.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "adk/adk_catalogue.h"
#include "adk/adk_database.h"
#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "core/file_archiver.h"
#include "core/job_runner.h"
#include "core/provisioning.h"
#include "core/rule_file_moves.h"
#include "core/rule_tables.h"
#include "core/settings_store.h"
#include "core/settings_tables.h"
#include "core/work_folders.h"
#include "core/xml_command_helper.h"
#include "platform/data/data_source.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/string_list.h"
#include "platform/win/posted_timer.h"
#include "platform/xml/xml_document.h"

namespace tv {

inline constexpr std::string_view kCannotConnectSpcs = "Kunde inte ansluta till SPCS: ";
inline constexpr std::string_view kWrongSpcsPath = "Sökvägen till SPCS är felaktig";
inline constexpr std::string_view kCannotConnectTid = "Kunde inte ansluta till Visma Tid databas: %s";
inline constexpr std::string_view kRunProgramFailed = "Fel när extern applikation skulle köras: ";
inline constexpr std::string_view kLogFileFailed = "Fel när loggfil skulle skapas:";
inline constexpr std::string_view kTimestampSaveFailed = "Misslyckades att spara timestamp:";
inline constexpr std::string_view kXmlLoadFailed = "Misslyckades med att läsa in xmlfil: ";
inline constexpr std::string_view kFetchedCount = "Hämtat: %d";
// The event line when the order dataset fails to open.
inline constexpr std::string_view kOrderTableLabel = "Order";
inline constexpr int kRunProgramWaitMs = 30000;
inline constexpr int kTimer1IntervalMs = 10000;

class TMainDM : public TComponent, public IJobDataModule, public IProvisioningSettings {
public:
    // Creates the module's components and records its folders in the environment information;
    // with `setUpLogging` it also resolves the instance and points logging at the instance's
    // settings root first. The settings are not loaded here.
    explicit TMainDM(IEventSink& events, TComponent* owner = nullptr, bool setUpLogging = true);
    ~TMainDM() override;

    IEventSink& Events() const { return events_; }

    // ---- Settings.
    TSettingsTables& Settings() const { return *settings_; }
    TClientDataSet& Table(std::string_view name) const { return settings_->Table(name); }
    TClientDataSet& InstallningarCDS() const { return settings_->InstallningarCDS(); }
    TClientDataSet& CDSTidPrefs() const { return settings_->CDSTidPrefs(); }
    TClientDataSet& CDSLopnr() const { return settings_->CDSLopnr(); }
    TClientDataSet& CDSExportSQLPrefs() const { return settings_->CDSExportSQLPrefs(); }
    TClientDataSet& CDSExportCustomerPricelistData() const {
        return settings_->CDSExportCustomerPricelistData();
    }
    TClientDataSet& CDSTables() const { return settings_->CDSTables(); }
    TDataSource& DSInstallningar() const { return *dsInstallningar_; }
    TDataSource& DSTidInstallningar() const { return *dsTidInstallningar_; }
    // The rule tables, until the plug-in host takes them over.
    TRuleTables& RuleTables() const { return *rules_; }
    TSettingsStore& Store() const { return *store_; }

    void loadSettings() { store_->loadSettings(); }
    void saveSettings() { store_->saveSettings(); }
    void defaultSettings() { store_->defaultSettings(); }
    void saveCustomerPricelistData() { store_->saveCustomerPricelistData(); }
    void loadFieldDefinitions() { store_->loadFieldDefinitions(); }
    void saveIdentities() { store_->saveIdentities(); }
    // The provisioning run ("setup"); true when the settings were saved.
    bool Setup() { return RunProvisioning(*this); }

    // ---- Folders.
    std::string getApplicationInstance() const;
    std::string getDataFolder() const;
    std::string getPluginFolder() const;
    std::string getRuleFolder() const;
    std::string getScriptFolder() override;
    std::string getLogsFolder() const;
    std::string getPluginTmpFolder() const;
    std::string getTimestampFile() const;
    std::string getSettingsFile() const;
    std::string getSchemaFile() const;
    std::string getWorkFolder(int side, std::string_view subfolder) const;
    std::string getArchiveFolder(int side, std::string_view subfolder) const;
    const TWorkFolders& WorkFolders() const { return *workFolders_; }

    // ---- Components.
    TAdkDatabase& AdkDBSRC() const { return *adkDBSRC_; }
    // The kit dataset of that name ("AdkKunder", "ADKArtiklar" ...); raises for an unknown name.
    TAdkDataSet& AdkDataSet(std::string_view name) const;
    const TADkExt& AdkHelper() const { return adkHelper_; }
    TADOConnection& adminODBC() const { return *adminODBC_; }
    TADOQuery& ADOArbitrarySQL() const { return *adoArbitrarySQL_; }
    TADOQuery& qOrderUrval() const { return *qOrderUrval_; }
    TClientDataSet& ClientDataSet1() const { return *clientDataSet1_; }
    TADOConnection& VismaTidConnection() const { return *vismaTidConnection_; }
    TADOQuery& TidKunder() const { return *tidKunder_; }
    TADOQuery& ADODbs() const { return *adoDbs_; }
    TADOQuery& TIDUsers() const { return *tidUsers_; }
    TXMLDocument& XMLDocument1() const { return *xmlDocument1_; }

    // ---- Connections.
    // Opens the company of SPCSPathSRC with the company user; any failure raises
    // "Kunde inte ansluta till SPCS: " + its message.
    void connectSPCS() override;
    void disconnectSPCSSRC() override;
    void MakeWritesDurable() override;
    // Closes the kit datasets, then opens those the company offers in a fixed order; a failure is
    // reported into the event tree, and raised again for the first five.
    void openADK() override;
    void closeADK() override;
    // Opens the company database: the SQL Server database of an SQL company (the user chosen by
    // CompanySQLAuthMode), else the company folder's tables. Logs the connection string at debug
    // level with its passwords masked; failures are raised as they come.
    void connectODBC() override;
    void disconnectODBC() override;
    // Opens the "Visma Tid" database when it is not open; failures raise kCannotConnectTid.
    void connectVismaTid(bool ignoreDatabase) override;
    void disconnectVismaTid();
    // The connection string with "Data Source", "Initial Catalog" (empty with `ignoreDatabase`),
    // "User ID" and "Password" taken from the "Visma Tid" settings.
    std::string TransformConnectionString(std::string_view connectionString, bool ignoreDatabase) const;
    // The string with the key's value replaced (letter case ignored, also at the end of a longer
    // key); unchanged without the key.
    static std::string ReplaceConnectionStringValue(std::string_view text, std::string_view key,
                                                    std::string_view value);

    // ---- Job operations.
    void ArchiveCompleteFile(const std::string& fileName, const std::string& subfolder, int flag,
                             bool overwriteExisting) {
        archiver_->ArchiveCompleteFile(fileName, subfolder, flag, overwriteExisting);
    }
    void ArchiveFailedFile(const std::string& fileName, const std::string& subfolder, int flag) {
        archiver_->ArchiveFailedFile(fileName, subfolder, flag);
    }
    void CleanUpXFormed(int flag) { archiver_->CleanUpXFormed(flag); }
    // Starts the program with its parameters in `directory` (the current folder when empty) and
    // waits at most 30 s; a failure raises kRunProgramFailed + its message.
    void RunProgram(const std::string& pathProgram, const std::string& parameters,
                    const std::string& directory);
    static std::unique_ptr<TStringList> GetChunk(const TStrings& source, int chunkno, int size);
    // The "/id" of the last command when `registry` is -1 or its "/register" number; else empty.
    std::unique_ptr<TStringList> getCommandLineSelection(int registry) const;
    std::unique_ptr<TStringList> GetExtraParams() const { return std::make_unique<TStringList>(); }
    bool getCancelling() const { return cancelling_; }
    void setCancelling(bool cancel) { cancelling_ = cancel; }
    TDateTime GetTimestampByName(std::string_view tname, TDateTime defValue) const;
    // Stores a value other than 0; a failure is reported at level 3.
    void SaveTimestampByName(std::string_view tname, TDateTime value);
    // DEBUG_LOG_TO_FILE, or the dated log file of the logs folder; raises kLogFileFailed.
    std::string getLogFile() const;
    // The text helpers of these names (core/string_utils.h), under the module's name for scripts.
    static std::string StripCharsInSet(std::string_view text, const std::array<bool, 256>& set);
    static std::string StripCharsInSet2(std::string_view text);
    void importOrderUpdate(const std::string& fileName);
    // The selection progress timer: while enabled, every 10 s reports how many orders were read.
    void SetTimer1Enabled(bool enabled) { timer1_->SetEnabled(enabled); }
    bool Timer1Enabled() const { return timer1_->Enabled(); }
    void Timer1Timer();
    TRuleFileMoves& RuleFileMoves() const { return *ruleMoves_; }

    // ---- The job commands' view of the module.
    void SetLastCommand(std::unique_ptr<TXmlCommandHelper> command) override {
        lastCommand_ = std::move(command);
    }
    const TXmlCommandHelper* LastCommand() const { return lastCommand_.get(); }
    bool TidActivated() override;

    // ---- The provisioning run's view of the general settings.
    void EmptyGeneralSettings() override;
    void LoadSettings() override { loadSettings(); }
    void SaveSettings() override { saveSettings(); }
    std::string GeneralText(std::string_view field) const override;
    void SetGeneralText(std::string_view field, std::string_view value) override;
    void SetGeneralInteger(std::string_view field, int value) override;
    void PostGeneralSettings() override;

private:
    void CreateKitComponents();
    void CreateDatabaseComponents();

    IEventSink& events_;
    TADkExt adkHelper_;
    TSettingsTables* settings_;
    TRuleTables* rules_;
    std::unique_ptr<TWorkFolders> workFolders_;
    std::unique_ptr<TSettingsStore> store_;
    std::unique_ptr<TFileArchiver> archiver_;
    std::unique_ptr<TRuleFileMoves> ruleMoves_;
    TDataSource* dsInstallningar_ = nullptr;
    TDataSource* dsTidInstallningar_ = nullptr;
    TAdkDatabase* adkDBSRC_ = nullptr;
    TADOConnection* adminODBC_ = nullptr;
    TADOQuery* adoArbitrarySQL_ = nullptr;
    TADOQuery* qOrderUrval_ = nullptr;
    TClientDataSet* clientDataSet1_ = nullptr;
    TADOConnection* vismaTidConnection_ = nullptr;
    TADOQuery* tidKunder_ = nullptr;
    TADOQuery* adoDbs_ = nullptr;
    TADOQuery* tidUsers_ = nullptr;
    std::unique_ptr<TXMLDocument> xmlDocument1_;
    std::unique_ptr<TXmlCommandHelper> lastCommand_;
    bool cancelling_ = false;
    std::unique_ptr<TPostedTimer> timer1_;
};

// The process's central data module; raises when none is set.
TMainDM& MainDM();
void SetMainDM(TMainDM* dm);

}  // namespace tv
