#include "adk/adk_dataset.h"

#include <algorithm>
#include <cmath>

#include "adk/adk_error_text.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"
#include "platform/rtl/key_fold.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/version_compare.h"

namespace tv {
namespace {

inline constexpr std::string_view kDatabaseNotAssigned = "Egenskapen AdkDatabase för \"%s\" har inget värde.";
inline constexpr std::string_view kTableOpen = "%s: Du kan inte byta tabell när tabellen är öppen.";
inline constexpr std::string_view kMakeOpenNotConnected =
    "Visma Integration felkod %d: Det går inte att ansluta till Visma Integration. \r\nKontrollera så att "
    "företaget är tillgängligt och att det inte görs någon säkerhetskopia eller att det skapas någon "
    "journal.\r\n\r\nFelet inträffade i MakeOpen() för %s.";
inline constexpr std::string_view kNamedError = "%s: %s";
inline constexpr std::string_view kNotOpen = "%s: TAdkDataSet är inte öppet";
inline constexpr std::string_view kUnknownNavigation = "Error 452: Okänd navigationsparameter: %d.";
inline constexpr std::string_view kFetchRowFailed =
    "Fel 122: Ett fel uppstod när fältens värde hämtades:\r\n\r\n%s";
inline constexpr std::string_view kGetTypeFailed = "Ett fel uppstod när AdkGetType() anropades:\r\n\r\n%s";
inline constexpr std::string_view kFloatConversionFailed =
    "Ett fel uppstod när en text skulle konverteras till ett flyttal:\r\n\r\n%s";
inline constexpr std::string_view kSetterFailed = "Ett fel uppstod när %s() anropades:\r\n\r\n%s";
inline constexpr std::string_view kFillForFindFailed =
    "Ett fel uppstod när strukturen skulle fyllas med information inför sökningen:\r\n\r\n%s";
inline constexpr std::string_view kStructIsNull = "AdkStruct är NULL.";
inline constexpr std::string_view kCannotOpenTable =
    "AdkVCL.CreateAdkStruct: Det gick inte att öppna tabellen \"%s\" (%d). Det kan bero på att tabellen inte "
    "finns i denna version av Visma Integration (%s).";
inline constexpr std::string_view kDeleteFromCreateFailed =
    "Ett fel uppstod när DeleteAdkStruct skulle anropas från CreateAdkStruct:\r\n\r\n%s";
inline constexpr std::string_view kDeleteStructFailed =
    "Ett fel uppstod när AdkDeleteStruct() anropades:\r\n\r\n%s";
inline constexpr std::string_view kFieldIsNil = "Fel uppstod i AddAdkFields: aField är nil.";
inline constexpr std::string_view kValuePart = " Värde \"%s\"";
inline constexpr std::string_view kErrorCodes = "%s (lRc: %d, lDbTable: %d, lField: %d, lFunction: %d)";
inline constexpr std::string_view kUnnamedPrefix = "unnamed";

// Words a search text may use for true.
constexpr std::string_view kTrueWords[] = {"ja", "j", "true", "t", "1", "yes", "y"};

bool IsParcelTable(TAdkTable table) {
    return table == atKolli || table == atKollirader || table == atLeveransaviseringskolli ||
           table == atLeveransaviseringskollirader;
}

bool TextIsTrue(std::string_view text) {
    for (auto word : kTrueWords)
        if (SameTextAscii(text, word)) return true;
    return false;
}

// Runs `step`; an exception from it is raised again with the text `format` gives it.
template <typename Step>
void Rewrapped(std::string_view format, std::initializer_list<TVarRec> before, Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        std::vector<TVarRec> args(before);
        const std::string inner = e.what();
        args.emplace_back(inner);
        throw Exception(Format(format, std::span<const TVarRec>(args)));
    }
}

// Keeps a flag set for the length of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag = true; }
    ~FlagScope() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};

// Disables a dataset's controls for the length of a scope.
class ControlsScope {
public:
    explicit ControlsScope(TDataSet& dataSet) : dataSet_(dataSet) { dataSet_.DisableControls(); }
    ~ControlsScope() { dataSet_.EnableControls(); }

private:
    TDataSet& dataSet_;
};

}  // namespace

const TClassInfo& TAdkDataSet::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TAdkDataSet>("TAdkDataSet").Build();
    return info;
}

TAdkDataSet::TAdkDataSet(TComponent* AOwner) : TClientDataSet(AOwner) {
    fieldIndex_.fill(-1);
    if (AOwner)
        for (int i = 0; i < AOwner->ComponentCount(); ++i)
            if (auto* db = dynamic_cast<TAdkDatabase*>(AOwner->Components(i))) {
                SetDatabase(db);
                break;
            }
}

TAdkDataSet::~TAdkDataSet() {
    // A destructor cannot raise: closing errors end with the dataset.
    try {
        if (Active()) Close();
    } catch (const std::exception&) {
    }
    AdkDeleteStructAfterFailure(RowsStruct);
    SetChildTable(nullptr);
    SetMasterTable(nullptr);
    SetDatabase(nullptr);
}

void TAdkDataSet::Notification(TComponent* AComponent, TOperation Operation) {
    TClientDataSet::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == database_) database_ = nullptr;
    if (AComponent == child_) child_ = nullptr;
    if (AComponent == master_) master_ = nullptr;
}

void TAdkDataSet::SetDatabase(TAdkDatabase* value) {
    if (value == database_) return;
    if (database_) {
        database_->UnregisterDataSet(this);
        RemoveFreeNotification(database_);
    }
    database_ = value;
    if (database_) {
        database_->RegisterDataSet(this);
        FreeNotification(database_);
    }
}

void TAdkDataSet::Pair(TAdkDataSet* head, TAdkDataSet* rows) {
    if (head->child_) Unpair(head, head->child_);
    if (rows->master_) Unpair(rows->master_, rows);
    head->child_ = rows;
    rows->master_ = head;
    head->FreeNotification(rows);  // each is told when the other goes
}

void TAdkDataSet::Unpair(TAdkDataSet* head, TAdkDataSet* rows) {
    head->child_ = nullptr;
    rows->master_ = nullptr;
    head->RemoveFreeNotification(rows);
}

void TAdkDataSet::SetChildTable(TAdkDataSet* value) {
    if (value == this || value == child_) return;
    if (child_) Unpair(this, child_);
    if (value) Pair(this, value);
}

void TAdkDataSet::SetMasterTable(TAdkDataSet* value) {
    if (value == this || value == master_) return;
    if (master_) Unpair(master_, this);
    if (value) Pair(value, this);
}

void TAdkDataSet::CloseForDisconnect() {
    if (Active()) Close();
    DeleteAdkStruct();
    FreeRowsStruct();
}

void TAdkDataSet::SetMadeOpen(bool value) {
    if (value)
        MakeOpen();
    else
        Close();
}

int TAdkDataSet::GetAdkTableIndex(TAdkTable aTable) const {
    return tv::GetAdkTableIndex(aTable == atIngen ? table_ : aTable);
}

int TAdkDataSet::GetRowsField() const {
    return master_ ? tv::GetRowsField(master_->table_) : -1;
}

int TAdkDataSet::GetRowCountField() const {
    return master_ ? tv::GetRowCountField(master_->table_) : -1;
}

bool TAdkDataSet::GetAdkFieldOkToUse(TAdkTable aTable, int aAdkIndex) const {
    return tv::GetAdkFieldOkToUse(aTable, aAdkIndex,
                                  database_ ? database_->ProgramSettings : TAdkProgramSettings{});
}

bool TAdkDataSet::AdkTableAvailible() const {
    return database_ && AdkTableAvailableFor(table_, database_->AdkProgram(), database_->AdkProductVersion());
}

void TAdkDataSet::Loaded() {
    inherited::Loaded();
    SetAdkTable(table_);
}

// ---------------------------------------------------------------- opening and structure

void TAdkDataSet::SetAdkTable(TAdkTable value) {
    table_ = value;
    sortOrder_ = GetValidSortOrder(table_, sortOrder_);
    if (ComponentState().Contains(csLoading)) return;
    if (!database_) throw EAdkVCLDatabaseNotAssigned(Format(kDatabaseNotAssigned, {Name()}));
    if (!database_->Connected()) return;
    if (Active()) throw EAdkVCLTableOpen(Format(kTableOpen, {Name()}));
    std::string message;
    if (AdkTableAvailible() && CompareVersions(database_->AdkVersion(), "5.1") >= 0 &&
        TableDisabledByAdminSettings(database_->ActivatedModules(), table_, message))
        throw Exception(message);
    PrepareFields();
    if (child_) child_->SetAdkTable(GetAdkRowTable(table_));
}

bool TAdkDataSet::MakeOpen() {
    if (creating_) return false;
    FlagScope creating(creating_);
    timeStampField_ = nullptr;
    if (database_ && !database_->Connected()) database_->SetConnected(true);
    if (database_ && !database_->Connected()) {
        if (database_->OnConnectError) return false;
        throw Exception(Format(kMakeOpenNotConnected, {database_->AdkErr.lRc, Name()}));
    }
    SetAdkTable(table_);
    if (table_ != atIngen && AdkTableAvailible()) Rewrapped(kNamedError, {Name()}, [&] { CreateDataSet(); });
    return Active();
}

void TAdkDataSet::PrepareFields() {
    if (!database_) throw EAdkVCLDatabaseNotAssigned(Format(kDatabaseNotAssigned, {Name()}));
    if (!database_->Connected()) database_->SetConnected(true);
    CreateAdkStruct();
    ClearFields();
    FieldDefs().Clear();
    AddAdkFields();
    if (master_) {
        AddField(std::string(kModifiedFieldsName), TFieldType::ftString, 200).SetTag(-1);
        AddField(std::string(kRowNumberName), TFieldType::ftInteger).SetTag(-2);
    }
    if (AfterFieldsPrepared) AfterFieldsPrepared(this);
}

void TAdkDataSet::AddAdkFields() {
    fieldIndex_.fill(-1);
    if (table_ == atIngen) return;
    // A head or plain dataset describes its fields from its own structure; a rows dataset from a
    // structure of its own, freed at the end.
    TAdkData structure = master_ ? TAdkData{} : AdkStruct;
    if (!AdkDataAssigned(structure)) structure = AdkCreateData(GetAdkTableIndex());
    if (!master_) AdkStruct = structure;
    const bool temporary = master_ != nullptr;
    try {
        int timeStamp = -1;
        if (AdkGetTimestampField(structure, timeStamp).lRc != 0)
            timeStamp = -1;  // 607: no function, no time stamp
        timeStampField_ = nullptr;
        const int highest = std::min(GetMaxAdkFieldIndex(table_), int(fieldIndex_.size()) - 1);
        for (int i = 0; i <= highest; ++i) {
            AddFieldForKitField(structure, i, timeStamp);
            if (i == timeStamp && fieldIndex_[i] >= 0) timeStampField_ = &Fields(fieldIndex_[i]);
        }
    } catch (...) {
        if (temporary) AdkDeleteStructAfterFailure(structure);
        throw;
    }
    if (temporary) AdkDeleteStruct(structure);
}

void TAdkDataSet::AddFieldForKitField(const TAdkData& structure, int i, int timeStamp) {
    std::string name;
    try {
        AdkErr = AdkGetFieldName(GetAdkTableIndex(), i, name);
    } catch (const Exception&) {
        // The kit cannot name the field: it is one without a name.
        AdkErr = AdkNoError();
        AdkErr.lRc = ADK_ERR_UNNAMED_FIELD;
    }
    bool unnamed = false;
    if (AdkErr.lRc == ADK_ERR_UNNAMED_FIELD) {
        if (table_ == atAvtal && i == 82)
            name = "RADER";
        else if (table_ == atAvtal && i == 83)
            name = "ANTALRADER";
        else {
            name = Format("unnamed%d", {i});
            unnamed = true;
        }
    } else if (AdkErr.lRc != 0) {
        HandleError();
        return;
    }
    int length = 0, type = 0;
    AdkErr = AdkGetLength(structure, i, length);
    HandleError();
    AdkErr = AdkGetType(structure, i, type);
    HandleError();
    if (unnamed) type = ADK_TYPE_UNUSED;
    if (type == ADK_TYPE_DATA) return;

    TField* field = nullptr;
    switch (type) {
        case ADK_TYPE_UNUSED:
            field = &AddField(UniqueFieldName(name), TFieldType::ftFixedChar, 1);
            break;
        case ADK_TYPE_BOOL:
            field = &AddField(UniqueFieldName(name), TFieldType::ftBoolean);
            break;
        case ADK_TYPE_CHAR:
            field = &AddField(UniqueFieldName(name), TFieldType::ftString, std::max(length, 1));
            break;
        case ADK_TYPE_NUMBER:
            field = &AddField(UniqueFieldName(name), TFieldType::ftInteger);
            break;
        case ADK_TYPE_DOUBLE:
            field = &AddField(UniqueFieldName(name), TFieldType::ftFloat);
            break;
        case ADK_TYPE_DATE:
            field = &AddField(UniqueFieldName(name),
                              i == timeStamp ? TFieldType::ftDateTime : TFieldType::ftDate);
            break;
        default:
            throw Exception(std::string(kFieldIsNil));
    }
    field->SetTag(i);
    fieldIndex_[i] = field->Index();
}

std::string TAdkDataSet::UniqueFieldName(const std::string& name) const {
    if (!FindField(name)) return name;
    for (int n = 2;; ++n)
        if (std::string candidate = name + std::to_string(n); !FindField(candidate)) return candidate;
}

void TAdkDataSet::ApplyFieldCaptions() {
    if (!HasFieldCaptions(table_)) return;
    for (int i = 0; i < FieldCount(); ++i) {
        TField& field = Fields(i);
        if (std::string_view caption = GetFieldCaption(table_, field.Tag()); !caption.empty())
            field.SetDisplayLabel(std::string(caption));
    }
}

void TAdkDataSet::DoAfterOpen() {
    ApplyFieldCaptions();
    childEnabled_ = true;
    if (!master_) {
        AdkErr = AdkFirst(AdkStruct);
        if (AdkErr.lRc != 0 && AdkErr.lRc != ADK_ERR_BEGIN_OF_TABLE) HandleError();
        SetAdkSortOrder(sortOrder_);
        if (child_) {
            if (child_->Active()) child_->Close();
            child_->PrepareFields();
            child_->CreateDataSet();
        }
    }
    TClientDataSet::DoAfterOpen();
    if (!master_ && (FetchAllOnOpen || table_ == atInstallningar || table_ == atInstallningar2))
        FetchAllNow(FetchChildRowsAutomatically);
}

void TAdkDataSet::DoAfterClose() {
    DeleteAdkStruct();
    if (child_ && child_->Active()) child_->Close();
    TClientDataSet::DoAfterClose();
}

void TAdkDataSet::SetAdkSortOrder(TAdkSortOrder value) {
    sortOrder_ = GetValidSortOrder(table_, value);
    if (Active() && sortOrder_ != asIngen && !master_) {
        AdkErr = tv::AdkSetSortOrder(AdkStruct, GetAdkSortOrderIndex(sortOrder_));
        HandleError();
    }
}

// ---------------------------------------------------------------- structures and errors

void TAdkDataSet::CreateAdkStruct() {
    if (master_) return;
    if (table_ == atKundinbetalningar && !(database_ && database_->IgnoreNeedsNewStruct)) {
        try {
            DeleteAdkStruct();
        } catch (const std::exception& e) {
            throw EAdkException(Format(kDeleteFromCreateFailed, {std::string(e.what())}));
        }
    }
    if (AdkDataAssigned(AdkStruct)) {
        if (AdkFunctionBound(TAdkExport::AdkResetStruct)) {
            AdkErr = AdkResetStruct(AdkStruct);
            HandleError();
        } else {
            // A kit without AdkResetStruct: a fresh structure in place of the old one.
            DeleteAdkStruct();
            AdkStruct = AdkCreateData(GetAdkTableIndex());
        }
    } else if (table_ != atIngen) {
        AdkStruct = AdkCreateData(GetAdkTableIndex());
    }
    if (!AdkDataAssigned(AdkStruct) && table_ != atIngen)
        throw Exception(Format(kCannotOpenTable, {GetAdkTableCaption(table_), GetAdkTableIndex(),
                                                  database_ ? database_->AdkVersion() : std::string()}));
}

void TAdkDataSet::DeleteAdkStruct() {
    if (!AdkDataAssigned(AdkStruct)) return;
    if (master_ || structBorrowed_) {
        // A row of the master's structure lives and dies with it.
        AdkDataInit(AdkStruct);
        structBorrowed_ = false;
        return;
    }
    Rewrapped(kDeleteStructFailed, {}, [&] { tv::AdkDeleteStruct(AdkStruct); });
    AdkDataInit(AdkStruct);
}

TFieldNamesArray TAdkDataSet::FieldCaptions() const {
    TFieldNamesArray names(std::max(GetMaxAdkFieldIndex(table_) + 1, 0));
    for (int i = 0; i < FieldCount(); ++i) {
        const TField& field = Fields(i);
        if (field.Tag() >= 0 && field.Tag() < int(names.size())) names[field.Tag()] = field.DisplayLabel();
    }
    return names;
}

bool TAdkDataSet::HandleError(TAdkRWDirection direction) {
    const AdkErrorRec err = AdkErr;
    if (err.lRc == 0 || err.lRc == ADK_ERR_NO_VALUE) return false;
    if (direction != rwWrite && database_) {
        const auto ignored = database_->IgnoredErrorsOnRead;
        const auto required = database_->RequiredActiveModules;
        switch (err.lRc) {
            case kCurrencyAndLanguage:
                if (ignored.Contains(bsCurrencyAndLanguage)) return false;
                break;
            case kBarCode:
                if (!required.Contains(amBarcode) || ignored.Contains(bsBarCode)) return false;
                break;
            case kBuildService:
                if (ignored.Contains(bsBuildService)) return false;
                break;
            case kIgnoredAlways1:
            case kIgnoredAlways2:
                return false;
            case kTaxReduction:
                if (!required.Contains(amTaxReduction) || ignored.Contains(bsTaxReduction)) return false;
                break;
            default:
                break;
        }
    }
    const TFieldNamesArray captions = FieldCaptions();
    std::string message = AdkErrorText(err, "", &captions);
    const std::string tableText = AdkErrorTableText(err);
    const std::string fieldText = AdkErrorFieldText(err);
    if (!tableText.empty() && SameTextAscii(tableText, GetAdkTableName()) && !fieldText.empty() &&
        fieldText.find_first_not_of("0123456789") == std::string::npos && fieldText.size() < 4) {
        const int n = std::stoi(fieldText);
        if (Active() && n < int(fieldIndex_.size()) && fieldIndex_[n] >= 0 && !IsEmpty())
            message += Format(kValuePart, {Fields(fieldIndex_[n]).AsString()});
    }
    AdkErr = err;
    message = Format(kErrorCodes, {message, err.lRc, err.lDbTable, err.lField, err.lFunction});
    if (!OnError) {
        if (database_) return database_->ReportDataSetError(this, message);
        throw Exception(message);
    }
    bool doRaise = false;
    OnError(this, message, doRaise);
    if (doRaise) throw Exception(message);
    return false;
}

std::string TAdkDataSet::GetAdkTableName() {
    TAdkData sub;
    AdkErr = AdkGetData(AdkStruct, 0, 0, sub);
    std::string name = AdkErrorTableText(AdkErr);
    AdkErr.lRc = 0;
    return name;
}

// ---------------------------------------------------------------- reading

bool TAdkDataSet::AdkNavigate(int mode, bool fetchRows) {
    const bool withRows = fetchRows && GetAdkHasRows(table_) && child_;
    auto bound = [](TAdkExport e) { return AdkFunctionBound(e); };
    int32_t tolerated = 0;
    switch (mode) {
        case anFirst:
            AdkErr = bound(TAdkExport::AdkFirstEx) ? AdkFirstEx(AdkStruct, withRows) : AdkFirst(AdkStruct);
            tolerated = ADK_ERR_BEGIN_OF_TABLE;
            break;
        case anPrior:
            AdkErr = bound(TAdkExport::AdkPreviousEx) ? AdkPreviousEx(AdkStruct, withRows)
                                                      : AdkPrevious(AdkStruct);
            tolerated = ADK_ERR_BEGIN_OF_TABLE;
            break;
        case anNext:
            AdkErr = bound(TAdkExport::AdkNextEx) ? AdkNextEx(AdkStruct, withRows) : AdkNext(AdkStruct);
            tolerated = ADK_ERR_END_OF_TABLE;
            break;
        case anLast:
            AdkErr = bound(TAdkExport::AdkLastEx) ? AdkLastEx(AdkStruct, withRows) : AdkLast(AdkStruct);
            tolerated = ADK_ERR_END_OF_TABLE;
            break;
        case anFind:
            AdkErr = bound(TAdkExport::AdkFindEx) ? AdkFindEx(AdkStruct, withRows) : AdkFind(AdkStruct);
            tolerated = ADK_ERR_NOT_FOUND;
            break;
        case anFind2:
            AdkErr = AdkFind2(AdkStruct, withRows);
            tolerated = ADK_ERR_NOT_FOUND;
            break;
        default:
            throw Exception(Format(kUnknownNavigation, {mode}));
    }
    if (AdkErr.lRc != 0 && AdkErr.lRc != tolerated) HandleError();
    if (IsParcelTable(table_) && (mode == anFind || mode == anFind2)) {
        // Parcels are read from the first of the range a find leaves.
        AdkErr = AdkFirst(AdkStruct);
        if (AdkErr.lRc != 0 && AdkErr.lRc != ADK_ERR_BEGIN_OF_TABLE) HandleError();
    }
    if (AdkErr.lRc != 0) return false;
    {
        FlagScope fetching(fetching_);
        if (mode == anPrior)
            Insert();
        else
            Append();
        PostFetched([&] { Rewrapped(kFetchRowFailed, {}, [&] { FetchRow(AdkStruct); }); });
    }
    if (child_ && child_->table_ != atIngen && withRows) {
        child_->FetchChildRows();
        child_->First();
    }
    return true;
}

void TAdkDataSet::SetKeyForFind(int keyField, const std::string& searchTxt) {
    const bool timeStampKey = timeStampField_ && timeStampField_->Tag() == keyField;
    int type = -1;
    Rewrapped(kGetTypeFailed, {}, [&] {
        CreateAdkStruct();
        if (!AdkDataAssigned(AdkStruct)) throw Exception(std::string(kStructIsNull));
        SetAdkSortOrder(sortOrder_);
        AdkErr = AdkGetType(AdkStruct, keyField, type);
    });
    HandleError();
    Rewrapped(kFillForFindFailed, {}, [&] {
        switch (type) {
            case ADK_TYPE_BOOL:
                Rewrapped(kSetterFailed, {"AdkSetBool"},
                          [&] { AdkErr = AdkSetBool(AdkStruct, keyField, TextIsTrue(searchTxt)); });
                break;
            case ADK_TYPE_CHAR:
                Rewrapped(kSetterFailed, {"AdkSetStr"},
                          [&] { AdkErr = AdkSetStr(AdkStruct, keyField, searchTxt); });
                break;
            case ADK_TYPE_DOUBLE: {
                double value = 0;
                Rewrapped(kFloatConversionFailed, {},
                          [&] { value = StrToFloat(searchTxt, FormatSettings()); });
                Rewrapped(kSetterFailed, {"AdkSetDouble"},
                          [&] { AdkErr = AdkSetDouble(AdkStruct, keyField, value); });
                break;
            }
            case ADK_TYPE_DATE: {
                TDateTime value = 0;
                if (!TryStrToDateTime(searchTxt, value, FormatSettings())) value = 0;
                Rewrapped(kSetterFailed, {"AdkSetDate"}, [&] {
                    AdkErr = timeStampKey ? AdkSetDateTime(AdkStruct, keyField, value)
                                          : AdkSetDate(AdkStruct, keyField, value);
                });
                break;
            }
            default:
                return;
        }
        HandleError();
    });
}

bool TAdkDataSet::KeyMatches(int keyField, const std::string& searchTxt) const {
    if (keyField < 0 || keyField >= int(fieldIndex_.size()) || fieldIndex_[keyField] < 0) return false;
    const TField& field = Fields(fieldIndex_[keyField]);
    // The kit's own rule: text by the company's key rule, numbers and dates by their value, as
    // SetKeyForFind handed them to the kit.
    switch (field.DataType()) {
        case TFieldType::ftBoolean:
            return field.AsBoolean() == TextIsTrue(searchTxt);
        case TFieldType::ftString:
        case TFieldType::ftFixedChar:
            return SameKeyText(field.AsString(), searchTxt);
        case TFieldType::ftFloat: {
            double value = 0;
            return TryStrToFloat(searchTxt, value, FormatSettings()) && !field.IsNull() &&
                   field.AsFloat() == value;
        }
        case TFieldType::ftDate:
        case TFieldType::ftDateTime: {
            TDateTime value = 0;
            if (!TryStrToDateTime(searchTxt, value, FormatSettings())) value = 0;
            const TDateTime stored = field.IsNull() ? 0 : field.AsDateTime();
            // A date holds the day; a time stamp the second.
            const double unitsPerDay = field.DataType() == TFieldType::ftDate ? 1 : 86400;
            return std::floor(stored * unitsPerDay + 0.5e-6) == std::floor(value * unitsPerDay + 0.5e-6);
        }
        default:
            return field.AsString() == searchTxt;
    }
}

bool TAdkDataSet::AdkNavFind(const std::string& searchTxt, bool exactMatch, bool fetchRows) {
    if (!Active()) return false;
    const int keyField = AdkKeyField();
    std::string keyName;
    AdkErr = AdkGetFieldName(GetAdkTableIndex(), keyField, keyName);
    SetKeyForFind(keyField, searchTxt);
    if (!AdkNavigate(anFind, fetchRows)) return false;
    return !exactMatch || KeyMatches(keyField, searchTxt);
}

bool TAdkDataSet::AdkNavFind2(bool fetchRows) {
    if (!Active()) return false;
    CreateAdkStruct();
    if (!AdkDataAssigned(AdkStruct)) throw Exception(std::string(kStructIsNull));
    WriteFieldsToStruct(AdkStruct, true, true);
    return AdkNavigate(anFind2, fetchRows);
}

bool TAdkDataSet::MatchOnKeyField(const std::string& searchTxt) {
    if (!Active()) return false;
    if (!AdkFunctionBound(TAdkExport::AdkSetFilter)) return AdkNavFind(searchTxt, true, true);
    SetAdkSortOrder(sortOrder_);
    AdkErr = AdkSetFilter(AdkStruct, AdkKeyField(), "=" + searchTxt, 0);
    HandleError();
    return AdkNavigate(anFirst, true);
}

void TAdkDataSet::PostFetched(const std::function<void()>& fill) {
    try {
        fill();
        Post();
    } catch (...) {
        if (IsEditing()) Cancel();
        throw;
    }
}

void TAdkDataSet::FetchRow(const TAdkData& pData) {
    ControlsScope controls(*this);
    for (int i = 0; i < FieldCount(); ++i) {
        TField& field = Fields(i);
        const int tag = field.Tag();
        if (tag < 0 || (!FetchDataForAllFields && !field.Visible())) continue;
        if (!GetAdkFieldOkToUse(table_, tag)) continue;
        FetchField(pData, field);
    }
}

void TAdkDataSet::FetchField(const TAdkData& pData, TField& field) {
    const int tag = field.Tag();
    switch (field.DataType()) {
        case TFieldType::ftString:
        case TFieldType::ftFixedChar: {
            std::string text;
            AdkErr = AdkGetStr(pData, tag, text);
            if (AdkErr.lRc != 0 || field.FieldName().starts_with(kUnnamedPrefix))
                field.Clear();
            else
                field.SetAsString(text);
            break;
        }
        case TFieldType::ftBoolean: {
            bool value = false;
            AdkErr = AdkGetBool(pData, tag, value);
            field.SetAsBoolean(value);
            if (AdkErr.lRc == kTaxReduction) return;
            break;
        }
        case TFieldType::ftFloat: {
            double value = 0;
            AdkErr = AdkGetDouble(pData, tag, value);
            field.SetAsFloat(value);
            break;
        }
        case TFieldType::ftDate:
        case TFieldType::ftDateTime: {
            TDateTime value = 0;
            AdkErr = field.DataType() == TFieldType::ftDate ? AdkGetDate(pData, tag, value)
                                                            : AdkGetDateTime(pData, tag, value);
            if (value > 0)
                field.SetAsDateTime(value);
            else
                field.Clear();
            break;
        }
        default:
            return;  // integer fields are not read
    }
    if (AdkErr.lRc != ADK_ERR_NOT_A_DATE && AdkErr.lRc != kIgnoredAlways1) HandleError();
}

void TAdkDataSet::FetchAllNow(bool fetchRows) {
    ControlsScope controls(*this);
    FlagScope fetching(fetching_);
    const bool withRows = fetchRows && GetAdkHasRows(table_) && child_;
    const bool firstEx = AdkFunctionBound(TAdkExport::AdkFirstEx),
               nextEx = AdkFunctionBound(TAdkExport::AdkNextEx);
    AdkErr = firstEx ? AdkFirstEx(AdkStruct, withRows) : AdkFirst(AdkStruct);
    if (AdkErr.lRc != 0) return;
    const bool singleRecord = table_ == atInstallningar || table_ == atInstallningar2;
    while (true) {
        Append();
        PostFetched([&] { FetchRow(AdkStruct); });
        AdkErr = nextEx ? AdkNextEx(AdkStruct, withRows) : AdkNext(AdkStruct);
        if (AdkErr.lRc == kNoMoreRecords || singleRecord) AdkErr.lRc = ADK_ERR_END_OF_TABLE;
        if (AdkErr.lRc != 0 && AdkErr.lRc != ADK_ERR_END_OF_TABLE) HandleError();
        if (AdkErr.lRc == ADK_ERR_END_OF_TABLE) break;
    }
}

void TAdkDataSet::FetchAllKeys(int adkIndex) {
    FieldByAdkIndex(adkIndex);  // raises when there is no such field
    OnlyFieldsScope only(*this, {adkIndex});
    FetchAllNow(false);
}

TAdkDataSet::OnlyFieldsScope::OnlyFieldsScope(TAdkDataSet& data, std::span<const int> adkIndexes)
    : data_(data), visible_(static_cast<size_t>(data.FieldCount())), allFields_(data.FetchDataForAllFields) {
    for (int i = 0; i < data.FieldCount(); ++i) visible_[static_cast<size_t>(i)] = data.Fields(i).Visible();
    data.HideAllFields();
    auto show = [&](int adkIndex) {
        if (adkIndex >= 0 && adkIndex < int(data.fieldIndex_.size()) && data.fieldIndex_[adkIndex] >= 0)
            data.Fields(data.fieldIndex_[adkIndex]).SetVisible(true);
    };
    show(data.AdkKeyField());
    for (int adkIndex : adkIndexes) show(adkIndex);
}

TAdkDataSet::OnlyFieldsScope::~OnlyFieldsScope() {
    data_.FetchDataForAllFields = allFields_;
    // Fields added meanwhile (a table changed) keep their own state.
    const int count = std::min(data_.FieldCount(), static_cast<int>(visible_.size()));
    for (int i = 0; i < count; ++i) data_.Fields(i).SetVisible(visible_[static_cast<size_t>(i)]);
}

void TAdkDataSet::FetchChildRows() {
    if (!master_ || master_->fetching_ || !master_->childEnabled_ || master_->State() == dsInsert) return;
    if (!Active()) return;
    FlagScope fetching(fetching_);
    ControlsScope controls(*this);
    EmptyDataSet();
    if (master_->IsEmpty()) return;
    master_->SyncAdkStruct(true);
    const int countField = GetRowCountField();
    int count = 0;
    if (countField >= 0 && countField < int(master_->fieldIndex_.size()) &&
        master_->fieldIndex_[countField] >= 0)
        count = std::max(0, master_->Fields(master_->fieldIndex_[countField]).AsInteger());
    for (int i = 0; i < count; ++i) {
        AdkErr = AdkGetData(master_->AdkStruct, GetRowsField(), i, AdkStruct);
        structBorrowed_ = true;
        HandleError();
        Append();
        PostFetched([&] {
            FetchRow(AdkStruct);
            FieldByName(kRowNumberName).SetAsInteger(RecordCount());
        });
    }
    AdkDataInit(AdkStruct);
    structBorrowed_ = false;
    First();
}

void TAdkDataSet::RefreshAdkRow() {
    FlagScope fetching(fetching_);
    Edit();
    PostFetched([&] { FetchRow(AdkStruct); });
}

void TAdkDataSet::AddAdkDataToDataSet(const TAdkData& pData) {
    if (IsEditing()) return;
    FlagScope fetching(fetching_);
    Append();
    PostFetched([&] { FetchRow(pData); });
}

TField& TAdkDataSet::FieldByAdkIndex(int adkIndex) const {
    if (!Active()) throw Exception(Format(kNotOpen, {Name()}));
    if (adkIndex < 0 || adkIndex >= int(fieldIndex_.size()) || fieldIndex_[adkIndex] < 0)
        ListIndexError(adkIndex);
    return Fields(fieldIndex_[adkIndex]);
}

bool TAdkDataSet::IsFieldReadOnly(int adkIndex) {
    if (master_) {
        TAdkData row;
        AdkErr = AdkGetData(master_->AdkStruct, GetRowsField(), 0, row);
        return !tv::AdkIsReadWrite(row, adkIndex);
    }
    return !tv::AdkIsReadWrite(AdkStruct, adkIndex);
}

void TAdkDataSet::HideAllFields() {
    FetchDataForAllFields = false;
    for (int i = 0; i < FieldCount(); ++i) Fields(i).SetVisible(false);
}

void TAdkDataSet::HiideField(int adkIndex) {
    FieldByAdkIndex(adkIndex).SetVisible(false);
}

void TAdkDataSet::ShowField(int adkIndex) {
    FieldByAdkIndex(adkIndex).SetVisible(true);
}

void TAdkDataSet::DisableChild() {
    childEnabled_ = false;
}

void TAdkDataSet::EnableChild() {
    childEnabled_ = true;
    if (child_ && child_->table_ != atIngen) child_->FetchChildRows();
}

void TAdkDataSet::DoAfterScroll() {
    TClientDataSet::DoAfterScroll();
    if (child_ && child_->table_ != atIngen) child_->FetchChildRows();
}

}  // namespace tv
