#include "adk/adk_database.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "adk/adk_catalogue.h"
#include "adk/adk_error_text.h"
#include "adk/adk_log_switch.h"
#include "adk/sv_message_dialog.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/version_compare.h"
#include "platform/rtl/version_info.h"

namespace tv {
namespace {

// Why the kit was not found.
inline constexpr std::string_view kNoPathToAdmin =
    "Programmet kunde inte hitta någon sökväg till Visma Administration. Detta kan bero på att Visma "
    "Administration inte installerats på datorn och att man startar Visma Administration från en annan dator "
    "eller server. Detta åtgärdas genom att göra en klientinstallation eller manuellt uppdatera registret.";
inline constexpr std::string_view kCommonFilesMissing =
    "Sökvägen till Visma Administrations gemensamma filer \"%s\" finns inte. Det kan bero på att datorn inte "
    "har kontakt med en server eller att mappen döpts om.\r\n\r\nKontrollera så du kan komma åt mappen och "
    "starta sedan programmet på nytt.";
inline constexpr std::string_view kAdminWithoutIntegration =
    "Visma Administration hittades i mappen \"%s\" men inte Visma Integration. Detta kan bero på att Visma "
    "Integration (Visma Administration API) inte har installerats eller installerats i en annan mapp, "
    "exempelvis lokalt. \r\n\r\nKontrollera installationen av Visma Integration och starta programmet igen.";
inline constexpr std::string_view kNeitherIntegrationNorAdmin =
    "Sökvägen till Visma Administrations gemensamma filer \"%s\" innehåller varken Visma Integration eller "
    "Visma Administration. Detta kan bero på att Visma Administration flyttats till en annan dator eller "
    "server "
    "men sökvägen till de gemensamma filerna inte ändrats.\r\nKontakta den som är ansvarig för era Visma "
    "program för mer information.\r\n\r\nObs! Om man ändrar sökvägen till de gemensamma filerna så kommer "
    "andra "
    "rapportmallar och rapporter att användas så kom ihåg att flytta med dessa om det är de rätta filerna "
    "som "
    "nu används. Om du är osäker så kontakta den som är ansvarig för Visma-programmen.";

inline constexpr std::string_view kCannotLoadKit = "Kunde inte ladda Adk.dll.\r\n\r\n";
inline constexpr std::string_view kCannotConnect =
    "Det går inte att ansluta till Visma Integration. Kontrollera så att Visma Administration med Visma "
    "Integration är installerat på datorn eller att det finns åtkomligt i nätverket.";
inline constexpr std::string_view kWithKitVersion = "%s\r\n\r\nVisma Integration version: %s";
inline constexpr std::string_view kWithCompanyPath = "%s\r\n\r\nNuvarande sökväg till företag: %s";
inline constexpr std::string_view kClosingTablesFailed =
    "Ett fel uppstod när AdkDatabase \"%s\" skulle stänga ner sina tabeller.\r\n\r\n%s";
inline constexpr std::string_view kModulesMissing =
    "Följande moduler måste aktiveras i Visma Administration för att det här programmet skall fungera "
    "korrekt:\r\n\r\n%s";

inline constexpr std::string_view kAdminProgramFile = "SPCSAdm.exe";
inline constexpr std::string_view kCompanyIniName = "Ftg.ini";

inline constexpr std::string_view kEnvComponentVersion = "AdkVCL version";
inline constexpr std::string_view kEnvSystemPath = "Adk / System Path";
inline constexpr std::string_view kEnvCompanyPath = "Adk / Company Path";
inline constexpr std::string_view kEnvLogging = "Adk / Logging";
inline constexpr std::string_view kEnvProgram = "Admin / Program";
inline constexpr std::string_view kEnvExclusive = "Admin / Exdlusivt";
inline constexpr std::string_view kEnvSql = "Admin / SQL";
inline constexpr std::string_view kEnvSqlServer = "Admin / SQL Server";
inline constexpr std::string_view kEnvSqlDatabase = "Admin / SQL Database";
inline constexpr std::string_view kEnvCurrencyLanguage = "Admin / Valuta/Språk aktivt";
inline constexpr std::string_view kEnvBuildService = "Admin / Byggtjänst aktivt";

// Codes of a failed open that get a line of their own.
constexpr int32_t kCompanyNewer = ADK_ERR_COMPANY_NEWER, kCompanyOlder = ADK_ERR_COMPANY_OLDER,
                  kNoCompany = ADK_ERR_NO_COMPANY;

// The modules the company's settings record switches on, and their captions, in the order the
// missing ones are listed.
struct ModuleField {
    TAdminActiveModule module;
    int field;
    std::string_view caption;
};
constexpr ModuleField kModuleFields[] = {
    {amBarcode, 74, "Visa streckkod"},
    {amTaxReduction, 42, "Skattereduktion på husarbete"},
    {amQuantityAccounting, 47, "Kvantitetsredovisning"},
    {amTransactionInfo, 48, "Transaktionsinformation"},
    {amSubAccounts, 49, "Subkonton"},
    {amDefaultSupInvAttest, 57, "Standard leverantörsfaktura attest"},
    {amVerificationSeries, 71, "VerificationSerier"},
    {amPriceFourDecimals, 72, "4 decimaler för priser"},
};

std::string FolderFile(std::string_view folder, std::string_view name) {
    return (folder.empty() ? std::string("./") : IncludeTrailingPathDelimiter(folder)) + std::string(name);
}

// The numbers of the kit file's version; zeros when it has none.
TVersionNumbers KitVersionNumbers(std::string_view folder) {
    auto info = ReadFileVersion(FolderFile(folder, kAdkFileName));
    return info ? info->FileVersion : TVersionNumbers{};
}

// The server of a network path ("//server/share/..." or "\\server\share\..."), when it names one.
std::optional<std::string> ServerOfNetworkPath(std::string_view path) {
    auto isDelimiter = [](char c) { return c == '/' || c == '\\'; };
    if (path.size() < 2 || !isDelimiter(path[0]) || !isDelimiter(path[1])) return std::nullopt;
    std::string_view rest = path.substr(2);
    size_t end = rest.find_first_of("/\\");
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(rest.substr(0, end));
}

}  // namespace

const TClassInfo& TAdkDatabase::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TAdkDatabase>("TAdkDatabase").Build();
    return info;
}

TAdkDatabase::TAdkDatabase(TComponent* AOwner, std::unique_ptr<TAdkInfo> info)
    : TComponent(AOwner), info_(info ? std::move(info) : std::make_unique<TAdkInfo>()) {
    SetEnvironmentInfo(kEnvComponentVersion, kAdkVclVersion);
}

TAdkDatabase::~TAdkDatabase() {
    // A destructor cannot raise; closing errors end here with the component.
    try {
        SetConnected(false);
    } catch (const std::exception&) {
    }
    dataSets_.clear();
    artDecimals_.clear();
    UnloadAdk();
}

std::string TAdkDatabase::KitFolder() const {
    if (!AdkPath.empty()) return AdkPath;
    if (!info_->AdkDll().empty()) return info_->AdkDll();
    return info_->AdminPath();
}

std::string TAdkDatabase::AdkVersion() const {
    TVersionNumbers v = KitVersionNumbers(loadedKitFolder_.empty() ? KitFolder() : loadedKitFolder_);
    return Format("%d.%d%d.%d", {v.Major, v.Minor, v.Release, v.Build});
}

std::string TAdkDatabase::AdkProductVersion() {
    if (!productVersion_.empty()) return productVersion_;
    TVersionNumbers v = KitVersionNumbers(AdkPath.empty() ? info_->AdminPath() : AdkPath);
    std::string version = Format("%d.%d%d", {v.Major, v.Minor, v.Release});
    if (v.Major + v.Minor / 10.0 > 5.09 && Connected()) {
        int major = 0, minor = 0;
        // A kit that cannot tell keeps the version its file gives.
        try {
            if (AdkGetVersion(major, minor).lRc == 0) version = Format("%d.%d", {major, minor});
        } catch (const Exception&) {
        }
    }
    productVersion_ = version;
    return productVersion_;
}

void TAdkDatabase::SetCompanyPath(const std::string& value) {
    companyPath_ = value;
    // A company whose settings cannot be read now is reported when it is opened, which reads them
    // again.
    try {
        ReadCompanySettings();
    } catch (const std::exception&) {
    }
}

bool TAdkDatabase::Connected() const {
    return opened_ && AdkLibraryLoaded();
}

void TAdkDatabase::SetUseArtDecimalsCache(bool value) {
    useArtDecimalsCache_ = value;
    if (!value) ClearArtDecimalsCache();
}

void TAdkDatabase::Loaded() {
    inherited::Loaded();
    if (AutoLoadAdk && !ComponentState().Contains(csDesigning)) LoadAdk();
}

bool TAdkDatabase::CheckIfAdkIsPresent(const std::string& aPath) {
    if (!aPath.empty() && FileExists(FolderFile(aPath, kAdkFileName))) return true;
    std::string message;
    if (aPath.empty())
        message = kNoPathToAdmin;
    else if (!DirectoryExists(aPath))
        message = Format(kCommonFilesMissing, {aPath});
    else if (auto admin = FindNameInFolder(aPath, kAdminProgramFile);
             admin && FileExists(FolderFile(aPath, *admin)))
        message = Format(kAdminWithoutIntegration, {aPath});
    else
        message = Format(kNeitherIntegrationNorAdmin, {aPath});
    SvMessageDlg(message, mtError, TMsgButtons::Ok);
    return false;
}

void TAdkDatabase::ConnectError(const std::string& message) {
    bool doRaise = false;
    if (OnConnectError) OnConnectError(this, message, doRaise);
    if (!OnConnectError || doRaise) throw Exception(message);
}

bool TAdkDatabase::LoadAdk() {
    const std::string folder = KitFolder();
    if (!CheckIfAdkIsPresent(folder)) return false;
    const bool loaded = LoadAdkLibrary(folder, RequiredAdkVersion);
    if (!loaded) ConnectError(std::string(kCannotLoadKit) + AdkLastLoadError());

    std::string systemFolder;
    try {
        if (CompareVersions(AdkVersion(), "4.3") < 0)
            systemFolder = !AdminRoot.empty() ? AdminRoot : !AdkPath.empty() ? AdkPath : info_->AdminPath();
        else
            systemFolder = info_->CommonFiles();
    } catch (const Exception&) {
        // The version cannot be read: the folders of an old kit are the safe choice.
        systemFolder = !AdminRoot.empty() ? AdminRoot : info_->AdminPath();
    }
    SetEnvironmentInfo(kEnvSystemPath, systemFolder);
    loadedKitFolder_ = folder;
    systemFolder_ = systemFolder;
    return loaded;
}

void TAdkDatabase::UnloadAdk() {
    if (Connected()) {
        adkProgram_ = apUnknown;
        // Closing is best effort: the company is left either way, and freeing the kit follows.
        try {
            AdkClose();
        } catch (const std::exception& e) {
            bool doRaise = false;
            if (OnError) OnError(this, e.what(), doRaise);
        }
    }
    opened_ = false;
    if (AdkLibraryLoaded()) FreeAdkLibrary();
    loadedKitFolder_.clear();
}

void TAdkDatabase::SetConnected(bool value) {
    if (value == Connected()) return;
    if (!value) {
        if (BeforeDisconnect) BeforeDisconnect(this);
        for (IAdkDataSetLink* dataSet : std::vector<IAdkDataSetLink*>(dataSets_)) {
            try {
                dataSet->CloseForDisconnect();
            } catch (const std::exception& e) {
                throw Exception(Format(kClosingTablesFailed, {Name(), std::string(e.what())}));
            }
        }
        // A job that ends disconnects first: what it wrote is on the disk before it reports its end.
        // The company is closed either way; a failure to sync is raised once it is.
        std::exception_ptr syncFailure;
        try {
            CommitWrites(true);
        } catch (const std::exception&) {
            syncFailure = std::current_exception();
        }
        UnloadAdk();
        productVersion_.clear();
        if (AfterDisonnect) AfterDisonnect(this);
        if (syncFailure) std::rethrow_exception(syncFailure);
        return;
    }

    productVersion_.clear();
    if (!LoadAdk()) {
        if (!OnConnectError) throw Exception(std::string(kCannotConnect));
        return;
    }
    try {
        if (BeforeConnect) BeforeConnect(this);
        SetEnvironmentInfo(kEnvCompanyPath, companyPath_);
        const bool logging = AdkLogging || HasAdkLogSwitch(argumentsSet_ ? arguments_ : ProcessArguments());
        SetEnvironmentBool(kEnvLogging, logging);
        ReadCompanySettings();

        if (AdkFunctionBound(TAdkExport::AdkOpen2) && !Username.empty())
            AdkErr = AdkOpen2(systemFolder_, companyPath_, Username, Password);
        else if (AdkFunctionBound(TAdkExport::AdkOpenEx))
            AdkErr = AdkOpenEx(systemFolder_, companyPath_, logging ? 1 : 0);
        else
            AdkErr = AdkOpen(systemFolder_, companyPath_);
        opened_ = AdkErr.lRc == 0;
        ReadProgramVariant();
    } catch (...) {
        // A failed open never leaves the kit loaded.
        UnloadAdk();
        throw;
    }

    if (AdkErr.lRc != 0) {
        const bool report = !companyPath_.empty() || AdkErr.lRc == kNoCompany;
        std::string message;
        if (report) {
            message = AdkErrorText(AdkErr, "");
            if (AdkErr.lRc == kCompanyNewer || AdkErr.lRc == kCompanyOlder)
                message = Format(kWithKitVersion, {message, AdkVersion()});
            else if (AdkErr.lRc == kNoCompany)
                message = Format(kWithCompanyPath, {message, companyPath_});
        }
        UnloadAdk();
        if (report) ConnectError(message);
        return;
    }
    if (AfterConnect) AfterConnect(this);

    activatedModules_ = {};
    if (CompareVersions(AdkVersion(), "5.1") >= 0) ReadActivatedModules();
    std::string missing;
    for (const auto& m : kModuleFields) {
        if (RequiredActiveModules.Contains(m.module) && !activatedModules_.Contains(m.module)) {
            if (!missing.empty()) missing += ", ";
            missing += m.caption;
        }
    }
    if (!missing.empty()) throw Exception(Format(kModulesMissing, {missing}));
}

void TAdkDatabase::ReadActivatedModules() {
    TAdkData settings = AdkCreateData(GetAdkTableIndex(atInstallningar));
    auto read = [&] {
        AdkErr = AdkFirst(settings);
        if (AdkErr.lRc == ADK_ERR_BEGIN_OF_TABLE) return;  // no settings record: no modules
        if (AdkErr.lRc != 0) {
            HandleError();
            return;
        }
        for (const auto& m : kModuleFields) {
            bool on = false;
            AdkErrorRec err = AdkGetBool(settings, m.field, on);
            if (err.lRc == 0 && on) activatedModules_.Include(m.module);
            if (err.lRc != 0 && err.lRc != ADK_ERR_NO_VALUE) {
                AdkErr = err;
                HandleError();
            }
        }
    };
    try {
        read();
    } catch (...) {
        AdkDeleteStructAfterFailure(settings);
        throw;
    }
    AdkDeleteStruct(settings);
}

void TAdkDatabase::HoldWrites(bool hold) {
    if (!Connected() || !AdkFunctionBound(TAdkExport::AdkHoldWrites)) return;
    const AdkErrorRec e = AdkHoldWrites(hold);
    if (e.lRc != 0) throw Exception(AdkErrorText(e, ""));
}

void TAdkDatabase::CommitWrites(bool durable) {
    const TAdkExport call = durable ? TAdkExport::AdkSync : TAdkExport::AdkCommit;
    if (!Connected() || !AdkFunctionBound(call)) return;
    const AdkErrorRec e = durable ? AdkSync() : AdkCommit();
    if (e.lRc != 0) throw Exception(AdkErrorText(e, ""));
}

bool TAdkDatabase::HandleError() {
    if (AdkErr.lRc == 0) return false;
    const std::string message = AdkErrorText(AdkErr, "");
    bool doRaise = false;
    if (OnError) OnError(this, message, doRaise);
    if (!OnError || doRaise) throw Exception(message);
    return false;
}

bool TAdkDatabase::ReportDataSetError(TObject* DataSet, const std::string& Msg) {
    bool doRaise = true;
    if (OnDataSetError)
        OnDataSetError(this, DataSet, Msg, doRaise);
    else if (OnError)
        OnError(this, Msg, doRaise);
    if (doRaise) throw Exception(Msg);
    return false;
}

int TAdkDatabase::RegisterDataSet(IAdkDataSetLink* DataSet) {
    auto it = std::find(dataSets_.begin(), dataSets_.end(), DataSet);
    if (it != dataSets_.end()) return static_cast<int>(it - dataSets_.begin());
    dataSets_.push_back(DataSet);
    return static_cast<int>(dataSets_.size()) - 1;
}

void TAdkDatabase::UnregisterDataSet(IAdkDataSetLink* DataSet) {
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), DataSet), dataSets_.end());
}

bool TAdkDatabase::ReadProgramVariant() {
    if (!Connected()) return false;
    int variant = 0;
    std::string name;
    if (AdkFunctionBound(TAdkExport::AdkGetVariant)) {
        int flag = 0;
        AdkErr = AdkGetVariant(info_->CommonFiles(), variant, flag, name);
    } else if (AdkFunctionBound(TAdkExport::AdkGetAdmSizeEx)) {
        AdkErr = AdkGetAdmSizeEx(variant, name);
    } else if (AdkFunctionBound(TAdkExport::AdkGetAdmSize)) {
        AdkErr = AdkGetAdmSize(variant, name);
    } else {
        return false;
    }
    adkProgram_ =
        variant >= apUnknown && variant <= apForening ? static_cast<TAdkProgram>(variant) : apUnknown;
    adkProgramName_ = name;
    SetEnvironmentInfo(kEnvProgram, name);
    ReadCompanySettings();
    return true;
}

void TAdkDatabase::ReadCompanySettings() {
    // Without a company folder there is no company file, and every setting is its default.
    std::optional<TIniFile> ini;
    if (!companyPath_.empty()) {
        auto found = FindNameInFolder(companyPath_, kCompanyIniName);
        ini.emplace(FolderFile(companyPath_, found ? *found : std::string(kCompanyIniName)));
    }
    auto readBool = [&](std::string_view section, std::string_view key) {
        return ini && ini->ReadBool(section, key, false);
    };
    auto readString = [&](std::string_view key) { return ini ? ini->ReadString("DataSource", key, "") : ""; };
    companyExclusive_ = readBool("Company", "Exclusive");
    currencyClientActive_ = readBool("Company", "CurrencyClient");
    currencySupplierActive_ = readBool("Company", "CurrencySupplier");
    buildServiceActive_ = readBool("Byggtjanst", "Active");

    std::string server = readString("DBInstance");
    if (!server.empty() && server.front() == ':') server.erase(0, 1);
    constexpr std::string_view kLocal = "(local)";
    if (server.size() >= kLocal.size() &&
        SameTextAscii(std::string_view(server).substr(0, kLocal.size()), kLocal))
        if (auto host = ServerOfNetworkPath(companyPath_)) server = *host + server.substr(kLocal.size());
    sqlServerName_ = server;
    sqlDbName_ = readString("DBName");
    sqlUserName_ = readString("DBUser");
    sqlPassword_ = readString("DBPassword");
    companyDisplayName_ = readString("DisplayName");
    companyDisplayVersion_ = readString("DisplayVersion");
    CompanyDisplayVariant = readString("DisplayVariant");

    if (companyExclusive_) {
        SetEnvironmentBool(kEnvExclusive, true);
        // The business system leaves the flag set after an exclusive session; clear it so that
        // it does not lock the company out.
        ini->WriteString("Company", "Exclusive", "0");
        ini->UpdateFile();
    }
    SetEnvironmentBool(kEnvSql, IsSQLDb());
    if (IsSQLDb()) {
        SetEnvironmentInfo(kEnvSqlServer, sqlServerName_);
        SetEnvironmentInfo(kEnvSqlDatabase, sqlDbName_);
    }
    SetEnvironmentBool(kEnvCurrencyLanguage, currencyClientActive_ && currencySupplierActive_);
    SetEnvironmentBool(kEnvBuildService, buildServiceActive_);
}

std::string TAdkDatabase::FormatCurrency(double Value) const {
    return FormatFloat("0.00", Value);
}

double TAdkDatabase::AdkCheckPrice(const std::string& aCustomer, const std::string& aArticle,
                                   double aQuantity, TAdkCurrency aCurrency, bool IncludingVAT,
                                   bool UseInvoiceDiscount, bool UseRowDiscount) {
    double price = 0;
    AdkErr = AdkGetCustomerPrice(aCustomer, aArticle, aQuantity, UseInvoiceDiscount, UseRowDiscount,
                                 IncludingVAT, aCurrency, price);
    HandleError();
    return price;
}

double TAdkDatabase::AdkVATOnArticle(const std::string& aArtno) {
    double percent = 0;
    AdkErr = AdkGetVatpercentOnArticle(aArtno, percent);
    return percent;
}

}  // namespace tv
