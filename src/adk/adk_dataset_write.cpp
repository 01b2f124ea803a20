// The writing half of TAdkDataSet: a posted or deleted row becomes a kit call that adds, changes or
// deletes a record, and the rows of a head travel with their head. Only changed fields and the key
// fields are written; a row of a rows dataset carries a change mark per field in "ModifiedFields".

#include <algorithm>

#include "adk/adk_dataset.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

// The rows tables whose quantities are rounded to the article's unit.
bool RoundsQuantities(TAdkTable table) {
    return table == atOffertrader || table == atOrderrader || table == atFakturarader ||
           table == atLevFakturarader;
}

// The quantity fields of a row.
constexpr int kQuantityFields[] = {2, 3, 4};

bool Unset(const Variant& value) {
    return value.IsEmpty() || value.IsNull();
}

// Whether a value changed: a comparison that fails counts as a change.
bool Differs(const Variant& a, const Variant& b) {
    try {
        return Variant::Compare(a, b) != TVarCompare::Equal;
    } catch (const std::exception&) {
        return true;
    }
}

}  // namespace

TAdkSortOrder TAdkDataSet::WriteBackSortOrder() const {
    const bool keepsItsOrder = sortOrder_ == asRabattavtalsraderArtGrp ||
                               sortOrder_ == asRabattavtalsraderArtNr ||
                               (sortOrder_ >= asArtikelbenamningNr && sortOrder_ <= asInkopspriserLevNrArtNr);
    return keepsItsOrder ? sortOrder_ : asIngen;
}

bool TAdkDataSet::FieldChanged(int i) const {
    if (IsEmpty()) return false;
    const TField& field = Fields(i);
    if (master_) {
        const std::string marks = FieldByName(kModifiedFieldsName).AsString();
        return i < int(marks.size()) && marks[i] == '1';
    }
    const bool articleNameLanguage = table_ == atArtikelbenamningar && field.Tag() == 0;
    if (table_ == atInventering && field.Tag() == 5) return true;
    switch (State()) {
        case dsInsert:
            return !field.AsString().empty();
        case dsEdit: {
            const Variant oldValue = field.OldValue(), newValue = field.NewValue();
            if (Unset(oldValue) && Unset(newValue)) return false;
            if (Unset(oldValue) && IsStringType(field.DataType()) && newValue.IsString() &&
                field.AsString().empty())
                return false;
            const bool changed = Differs(newValue, oldValue);
            return articleNameLanguage || changed;
        }
        default:
            return articleNameLanguage;
    }
}

void TAdkDataSet::WriteField(const TAdkData& pData, TField& field) {
    const int tag = field.Tag();
    const bool lastRefused = AdkErr.lRc == ADK_ERR_NOT_A_DATE || AdkErr.lRc == kIgnoredAlways1;
    switch (field.DataType()) {
        case TFieldType::ftString:
        case TFieldType::ftFixedChar:
            AdkErr = AdkSetStr(pData, tag, field.AsString());
            break;
        case TFieldType::ftBoolean:
            AdkErr = AdkSetBool(pData, tag, field.AsBoolean());
            break;
        case TFieldType::ftFloat:
            AdkErr = AdkSetDouble(pData, tag, field.AsFloat());
            break;
        case TFieldType::ftDate:
            if (lastRefused) return;
            AdkErr = AdkSetDate(pData, tag, field.AsDateTime());
            break;
        case TFieldType::ftDateTime:
            if (lastRefused) return;
            AdkErr = AdkSetDateTime(pData, tag, field.AsDateTime());
            break;
        default:
            return;  // integer fields are not written
    }
    if (AdkErr.lRc != ADK_ERR_NOT_A_DATE && AdkErr.lRc != kIgnoredAlways1) HandleError(rwWrite);
}

void TAdkDataSet::WriteFieldsToStruct(const TAdkData& pData, bool writeKeys, bool keysOnly) {
    const std::vector<int> keys = tv::GetSortKeyFields(table_, WriteBackSortOrder());
    for (int i = 0; i < FieldCount(); ++i) {
        TField& field = Fields(i);
        const int tag = field.Tag();
        if (!GetAdkFieldOkToUse(table_, tag)) continue;
        // Key fields are recognised by their kit field number.
        const bool isKey = std::find(keys.begin(), keys.end(), tag) != keys.end();
        if (!(isKey && writeKeys) && !FieldChanged(i) && !(table_ == atKolli && tag == 0)) continue;
        if (keysOnly && !isKey) continue;
        if ((master_ || State() == dsInsert) && (Unset(field.NewValue()) || field.AsString().empty()))
            continue;
        if (!tv::AdkIsReadWrite(pData, tag)) continue;
        WriteField(pData, field);
    }
}

void TAdkDataSet::SyncAdkStruct(bool performFind) {
    if (master_) {
        // A row is found in its head's structure; the kit counts rows from 0.
        AdkErr = AdkGetData(master_->AdkStruct, GetRowsField(), RecNo() - 1, AdkStruct);
        structBorrowed_ = true;
        HandleError();
        return;
    }
    CreateAdkStruct();
    if (IsEmpty()) return;
    const TAdkSortOrder previous = sortOrder_;
    const TAdkSortOrder writeBack = GetValidSortOrder(table_, WriteBackSortOrder());
    const bool switched = writeBack != previous;
    if (switched) SetAdkSortOrder(writeBack);
    WriteFieldsToStruct(AdkStruct, true, false);
    if (performFind) {
        AdkErr = AdkFunctionBound(TAdkExport::AdkFind2) ? AdkFind2(AdkStruct, child_ != nullptr)
                                                        : AdkFind(AdkStruct);
        if (AdkErr.lRc != ADK_ERR_NOT_FOUND) HandleError();
    }
    if (switched) SetAdkSortOrder(previous);
}

void TAdkDataSet::DoAfterInsert() {
    if (!master_) {
        if (!fetching_) CreateAdkStruct();
        if (child_ && child_->Active()) child_->EmptyDataSet();
    }
    TClientDataSet::DoAfterInsert();
}

void TAdkDataSet::DoOnNewRecord() {
    if (master_) FieldByName(kModifiedFieldsName).SetAsString(std::string(FieldCount(), '0'));
    TClientDataSet::DoOnNewRecord();
}

void TAdkDataSet::MarkModifiedFields() {
    TField& marksField = FieldByName(kModifiedFieldsName);
    std::string marks = marksField.AsString();
    if (int(marks.size()) < FieldCount()) marks.resize(FieldCount(), '0');
    for (int i = 0; i + 1 < FieldCount(); ++i) {
        const TField& field = Fields(i);
        if (&field == &marksField) continue;
        const Variant newValue = field.NewValue();
        bool changed;
        if (State() == dsInsert)
            changed = !Unset(newValue);
        else
            changed = !(newValue.IsEmpty() && Unset(field.OldValue())) && Differs(newValue, field.OldValue());
        if (changed) {
            marks[i] = '1';
            if (master_) master_->rowsModified_ = true;
        }
    }
    marksField.SetAsString(marks);
}

void TAdkDataSet::DoBeforePost() {
    TClientDataSet::DoBeforePost();
    if (fetching_) return;
    if (master_) {
        MarkModifiedFields();
        return;
    }
    const bool inserting = State() == dsInsert;
    if (inserting)
        CreateAdkStruct();
    else
        SyncAdkStruct(true);
    if (child_ && child_->table_ != atIngen && child_->Active()) child_->WriteRowsInto(*this);
    WriteFieldsToStruct(AdkStruct, true, false);
    AdkErr = inserting ? AdkAdd(AdkStruct) : AdkUpdate(AdkStruct);
    // The kit copied the rows into the head; the block built for it is not needed any more.
    if (child_) child_->FreeRowsStruct();
    HandleError(rwUnknown);
    if (inserting) ReadBackKeys();
}

void TAdkDataSet::ReadBackKeys() {
    // The structure holds the record the kit stored; of it only the keys can differ from what was
    // set, and the key is what the caller reads next (the new record's number). Field 0 is read
    // too where the table's key lies elsewhere (accounts, result units ...): callers take it as the
    // record's number.
    std::vector<int> tags = tv::GetSortKeyFields(table_, WriteBackSortOrder());
    if (std::find(tags.begin(), tags.end(), 0) == tags.end()) tags.push_back(0);
    for (int tag : tags)
        if (tag >= 0 && tag < int(fieldIndex_.size()) && fieldIndex_[tag] >= 0)
            FetchField(AdkStruct, Fields(fieldIndex_[tag]));
}

void TAdkDataSet::DoAfterPost() {
    if (!master_ && child_ && !fetching_) rowsModified_ = false;
    TClientDataSet::DoAfterPost();
}

bool TAdkDataSet::HasModifiedRows() {
    TField& marks = FieldByName(kModifiedFieldsName);
    for (First(); !Eof(); Next())
        if (marks.AsString().find('1') != std::string::npos) return true;
    return false;
}

void TAdkDataSet::FreeRowsStruct() {
    if (AdkDataAssigned(RowsStruct)) tv::AdkDeleteStruct(RowsStruct);
    AdkDataInit(RowsStruct);
}

void TAdkDataSet::WriteRowsInto(TAdkDataSet& head) {
    // Controls stay still while the rows are walked, and the current row is current again after.
    struct Restore {
        TAdkDataSet& dataSet;
        TBookmark position;
        ~Restore() {
            if (dataSet.BookmarkValid(position)) dataSet.GotoBookmark(position);
            dataSet.EnableControls();
        }
    } restore{*this, GetBookmark()};
    DisableControls();
    if (!HasModifiedRows()) return;
    FreeRowsStruct();
    RowsStruct = AdkCreateDataRow(GetAdkTableIndex(), RecordCount());
    for (First(); !Eof(); Next()) {
        if (RoundsQuantities(table_)) RoundQuantities();
        const TAdkData row = AdkGetDataRow(RowsStruct, RecNo() - 1);
        if (FieldByName(kModifiedFieldsName).AsString().find('1') != std::string::npos)
            WriteFieldsToStruct(row, false, false);
    }
    AdkErr = AdkSetData(head.AdkStruct, GetRowsField(), RowsStruct);
    HandleError();
    AdkErr = AdkSetDouble(head.AdkStruct, GetRowCountField(), RecordCount());
    HandleError();
}

void TAdkDataSet::RoundQuantities() {
    if (!database_) return;
    const std::string article = FieldByAdkIndex(0).AsString();
    int decimals = 0;
    // Without a unit's decimals (no such article or unit) the quantities stay as they are.
    if (article.empty() || !database_->GetArticleDecimals(article, decimals)) return;
    const std::string format = decimals > 0 ? "0." + std::string(decimals, '0') : "0";
    Edit();
    for (int adkIndex : kQuantityFields) {
        TField& field = FieldByAdkIndex(adkIndex);
        if (field.DataType() == TFieldType::ftFloat && !field.IsNull())
            field.SetAsString(FormatFloat(format, field.AsFloat(), FormatSettings()));
    }
    Post();
}

void TAdkDataSet::DoBeforeDelete() {
    TClientDataSet::DoBeforeDelete();
    if (master_) {
        master_->rowsModified_ = true;
        return;
    }
    SyncAdkStruct(false);
    AdkErr = AdkDelete(AdkStruct);
    HandleError();
    CreateAdkStruct();
}

void TAdkDataSet::DeleteChildRow() {
    if (!master_) return;
    // The kit counts rows from 0; the row handle dies with the row it deletes.
    const int row = RecNo() - 1;
    AdkErr = AdkGetData(master_->AdkStruct, GetRowsField(), row, AdkStruct);
    structBorrowed_ = true;
    HandleError();
    AdkErr = AdkDeleteRow(master_->AdkStruct, row);
    AdkDataInit(AdkStruct);
    structBorrowed_ = false;
    HandleError();
    Delete();
    if (!master_->IsEditing()) master_->Edit();
    master_->FieldByAdkIndex(GetRowCountField()).SetAsFloat(RecordCount());
}

}  // namespace tv
