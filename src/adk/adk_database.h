#pragma once
// One company of the business system, opened through the integration kit: finds the kit (through
// TAdkInfo or AdkPath), loads and frees it, opens and closes the company, reads the company's
// "Ftg.ini", its program variant and activated modules, keeps the datasets that work on it, and
// turns kit errors into raised Swedish messages unless an error event decides otherwise.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "adk/adk_calls.h"
#include "adk/adk_info.h"
#include "adk/adk_types.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

namespace tv {

// A dataset that works on a company; the company closes it before it closes itself.
class IAdkDataSetLink {
public:
    virtual ~IAdkDataSetLink() = default;
    virtual void CloseForDisconnect() = 0;
};

using TErrorEvent = TEvent<void(TObject* Sender, const std::string& Msg, bool& DoRaise)>;
using TAdkDataSetErrorEvent =
    TEvent<void(TObject* Sender, TObject* DataSet, const std::string& Msg, bool& DoRaise)>;

inline constexpr std::string_view kAdkVclVersion = "21.0.21110";
inline constexpr std::string_view kMadeForAdkVer = "21.0";

class TAdkDatabase : public TComponent {
    TV_CLASS(TAdkDatabase, TComponent)
public:
    // Runs the installation discovery now; `info` stands in for it when given (tests).
    explicit TAdkDatabase(TComponent* AOwner = nullptr, std::unique_ptr<TAdkInfo> info = nullptr);
    ~TAdkDatabase() override;

    // Published properties.
    std::string AdkPath;      // folder of the kit; overrides the discovery when not empty
    std::string AdminRoot;    // system folder for kits below 4.3
    bool AdkLogging = false;  // asks the kit to log
    bool AutoLoadAdk = false;
    std::string Username, Password;
    TAdkBehaviourSettings IgnoredErrorsOnRead;
    TAdminActivatedModules RequiredActiveModules;
    TAdkProgramSettings ProgramSettings{piArtikelStreckkod};
    std::string RequiredAdkVersion;
    TNotifyEvent AfterConnect, AfterDisonnect, BeforeConnect, BeforeDisconnect;
    TErrorEvent OnConnectError;
    TAdkDataSetErrorEvent OnDataSetError;
    TErrorEvent OnError;

    TAdkProgram AdkProgram() const { return adkProgram_; }
    const std::string& AdkProgramName() const { return adkProgramName_; }
    // The kit's file version as "%d.%d%d.%d" (20.3.1.5867 reads 20.31.5867).
    std::string AdkVersion() const;
    // The kit's product version: "%d.%d%d" of its file version, or "%d.%d" as the kit reports it
    // when it is newer than 5.09 and the company is open; kept until the next connect or disconnect.
    std::string AdkProductVersion();
    std::string MadeForAdkVer() const { return std::string(kMadeForAdkVer); }
    std::string Version() const { return std::string(kAdkVclVersion); }
    const std::string& CompanyPath() const { return companyPath_; }
    void SetCompanyPath(const std::string& value);
    bool Connected() const;
    void SetConnected(bool value);
    bool UseArtDecimalsCache() const { return useArtDecimalsCache_; }
    void SetUseArtDecimalsCache(bool value);

    // Public state.
    AdkErrorRec AdkErr{};
    TAdkInfo& AdkInfo() const { return *info_; }
    const TAdminActivatedModules& ActivatedModules() const { return activatedModules_; }
    bool BuildServiceActive() const { return buildServiceActive_; }
    bool CompanyExclusive() const { return companyExclusive_; }
    bool CurrencyClientActive() const { return currencyClientActive_; }
    bool CurrencySupplierActive() const { return currencySupplierActive_; }
    bool IsSQLDb() const { return !sqlServerName_.empty(); }
    const std::string& SQLServerName() const { return sqlServerName_; }
    const std::string& SQLDbName() const { return sqlDbName_; }
    const std::string& SQLUserName() const { return sqlUserName_; }
    const std::string& SQLPassword() const { return sqlPassword_; }
    bool SQLWinAuth() const { return sqlUserName_.empty(); }
    const std::string& CompanyDisplayName() const { return companyDisplayName_; }
    const std::string& CompanyDisplayVersion() const { return companyDisplayVersion_; }
    std::string CompanyDisplayVariant;
    bool IgnoreNeedsNewStruct = false;

    // After loading from a form description: loads the kit when AutoLoadAdk is set.
    void Loaded() override;
    // Finds and loads the kit; false when it is not there (after explaining why in a dialog).
    bool LoadAdk();
    // Closes the company when open and frees the kit.
    void UnloadAdk();
    // True when `aPath` holds the kit; otherwise explains in an error dialog and answers false.
    bool CheckIfAdkIsPresent(const std::string& aPath);

    // With `hold`, the company's writes join one transaction the kit keeps open instead of each
    // committing on its own (many writes in a row); without, the held writes are committed. Nothing
    // to do without a company or with a kit that lacks the export; a failure raises the kit's text.
    void HoldWrites(bool hold);
    // Commits the writes the kit holds, so that other connections to the company see them (the SQL
    // side asks before each statement); with `durable` also waits until everything written to the
    // company is on the disk, as the system does before it reports work done. Nothing to do without
    // a company or with a kit that makes each write durable itself. A failure raises the kit's text
    // whatever OnError says: work must never be reported done on it.
    void CommitWrites(bool durable);
    // Raises the Swedish text of AdkErr when its code is not 0, unless OnError decides otherwise.
    virtual bool HandleError();
    // Raises `Msg` for a dataset unless OnDataSetError (or OnError) decides otherwise.
    bool ReportDataSetError(TObject* DataSet, const std::string& Msg);
    int RegisterDataSet(IAdkDataSetLink* DataSet);
    void UnregisterDataSet(IAdkDataSetLink* DataSet);

    virtual bool ReadProgramVariant();
    void ReadCompanySettings();

    // The value with two decimals ("0.00").
    std::string FormatCurrency(double Value) const;
    // The customer's price of an article as the kit computes it; errors go through HandleError.
    double AdkCheckPrice(const std::string& aCustomer, const std::string& aArticle, double aQuantity,
                         TAdkCurrency aCurrency, bool IncludingVAT, bool UseInvoiceDiscount,
                         bool UseRowDiscount);
    // The article's VAT percentage; the kit's error record stays in AdkErr.
    double AdkVATOnArticle(const std::string& aArtno);
    // The number of decimals of the article's unit; false when the article or its unit is not
    // found. Cached by article number while UseArtDecimalsCache is set.
    bool GetArticleDecimals(const std::string& aArtno, int& Decimals);
    void ClearArtDecimalsCache() { artDecimals_.clear(); }

    // The command-line arguments looked at for "adklog" (the process's own unless set).
    void SetArguments(std::vector<std::string> arguments) {
        arguments_ = std::move(arguments);
        argumentsSet_ = true;
    }

protected:
    // The kit folder as loading chooses it.
    std::string KitFolder() const;
    // Raises `message` as a connection error unless OnConnectError decides otherwise.
    void ConnectError(const std::string& message);
    void ReadActivatedModules();

    // Cached article decimals, by article number; looked up for every row of every head posted.
    std::unordered_map<std::string, int> artDecimals_;

private:
    std::unique_ptr<TAdkInfo> info_;
    std::string companyPath_;
    bool opened_ = false;
    std::string loadedKitFolder_, systemFolder_;
    std::string productVersion_;
    std::vector<IAdkDataSetLink*> dataSets_;
    std::vector<std::string> arguments_;
    bool argumentsSet_ = false;
    bool useArtDecimalsCache_ = true;

    TAdkProgram adkProgram_ = apUnknown;
    std::string adkProgramName_;
    TAdminActivatedModules activatedModules_;
    bool buildServiceActive_ = false, companyExclusive_ = false, currencyClientActive_ = false,
         currencySupplierActive_ = false;
    std::string sqlServerName_, sqlDbName_, sqlUserName_, sqlPassword_, companyDisplayName_,
        companyDisplayVersion_;
};

}  // namespace tv
