#pragma once
// An in-memory dataset over one table of the integration kit: its fields are made from the kit's
// description of the table, every navigation step reads one kit record and appends it as a row, a
// head table fills its rows dataset from the head's rows, and posting or deleting a row writes back
// to the kit. Fields are reached by kit field number (FieldByAdkIndex).

#include <array>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "adk/adk_calls.h"
#include "adk/adk_catalogue.h"
#include "adk/adk_database.h"
#include "adk/adk_error_text.h"
#include "platform/data/client_data_set.h"

namespace tv {

TV_DECLARE_EXCEPTION(EAdkVCLTableOpen, Exception);
TV_DECLARE_EXCEPTION(EAdkVCLDatabaseNotAssigned, Exception);

// Whether a kit error arose while reading or writing; reading tolerates some codes.
enum TAdkRWDirection { rwUnknown, rwRead, rwWrite };

// The modes of AdkNavigate.
enum TAdkNavigateMode { anFirst = 0, anPrior = 1, anNext = 2, anLast = 3, anFind = 4, anFind2 = 5 };

inline constexpr std::string_view kModifiedFieldsName = "ModifiedFields";
inline constexpr std::string_view kRowNumberName = "RowNumber";

class TAdkDataSet : public TClientDataSet, public IAdkDataSetLink {
    TV_CLASS(TAdkDataSet, TClientDataSet)
public:
    // The first TAdkDatabase the owner owns becomes the dataset's database.
    explicit TAdkDataSet(TComponent* AOwner = nullptr);
    ~TAdkDataSet() override;

    // ---- Published properties.
    TAdkTable AdkTable() const { return table_; }
    void SetAdkTable(TAdkTable value);
    TAdkSortOrder AdkSortOrder() const { return sortOrder_; }
    void SetAdkSortOrder(TAdkSortOrder value);
    TAdkDataSet* ChildTable() const { return child_; }
    void SetChildTable(TAdkDataSet* value);
    TAdkDataSet* MasterTable() const { return master_; }
    void SetMasterTable(TAdkDataSet* value);
    TAdkDatabase* Database() const { return database_; }
    void SetDatabase(TAdkDatabase* value);
    bool MadeOpen() const { return Active(); }
    void SetMadeOpen(bool value);
    bool FetchAllOnOpen = false;
    bool FetchChildRowsAutomatically = true;
    bool FetchDataForAllFields = true;
    TNotifyEvent AfterFieldsPrepared;
    TErrorEvent OnError;

    // ---- Public state.
    AdkErrorRec AdkErr{};
    // The kit structure of the current record; import code calls kit wrappers on it directly.
    TAdkData AdkStruct;
    // The rows structure built when this rows dataset's rows were last written.
    TAdkData RowsStruct;
    bool FetchingAll() const { return fetching_; }
    // The rows of this head changed since its last post.
    bool RowsModified() const { return rowsModified_; }
    void SetRowsModified(bool value) { rowsModified_ = value; }
    TField* TimeStampField() const { return timeStampField_; }
    int AdkKeyField() const { return GetSortKeyField(table_, sortOrder_); }
    bool HasChild() const { return child_ != nullptr; }
    bool HasMaster() const { return master_ != nullptr; }

    // ---- Opening and structure.
    // Connects the database when needed, prepares the fields and opens the dataset; false when the
    // database stays unconnected and has a connection-error handler.
    bool MakeOpen();
    virtual void PrepareFields();
    virtual void ApplyFieldCaptions();
    // After the form that holds the table was built: the table is applied again.
    void Loaded() override;

    // ---- Reading.
    virtual bool AdkNavigate(int mode, bool fetchRows);
    virtual bool AdkNavFirst(bool fetchRows = true) { return AdkNavigate(anFirst, fetchRows); }
    virtual bool AdkNavLast() { return AdkNavigate(anLast, true); }
    virtual bool AdkNavNext() { return AdkNavigate(anNext, true); }
    virtual bool AdkNavPrior() { return AdkNavigate(anPrior, true); }
    // Finds by the key field of the current sort order; with `exactMatch` the row read must carry
    // the search text (letter case ignored).
    bool AdkNavFind(const std::string& searchTxt, bool exactMatch, bool fetchRows);
    // Finds the current row's record again by all its key fields.
    bool AdkNavFind2(bool fetchRows);
    // Reads the first record whose key field equals the text.
    bool MatchOnKeyField(const std::string& searchTxt);
    virtual void FetchAllNow(bool fetchRows);
    // FetchAllNow without rows, reading only the field of kit field `adkIndex` into each row: a pass
    // that needs only the records' keys. The fields read afterwards are those read before.
    void FetchAllKeys(int adkIndex);
    // While it lives, each record read fills only the fields of the kit field numbers given and the
    // key field of the sort order (which a find compares); the others stay empty. A pass that needs
    // a few fields of each record so does not copy every record whole. Numbers without a field are
    // passed over. Which fields are read is put back as it was when it ends.
    class OnlyFieldsScope {
    public:
        OnlyFieldsScope(TAdkDataSet& data, std::span<const int> adkIndexes);
        OnlyFieldsScope(TAdkDataSet& data, std::initializer_list<int> adkIndexes)
            : OnlyFieldsScope(data, std::span<const int>(adkIndexes.begin(), adkIndexes.size())) {}
        ~OnlyFieldsScope();
        OnlyFieldsScope(const OnlyFieldsScope&) = delete;
        OnlyFieldsScope& operator=(const OnlyFieldsScope&) = delete;

    private:
        TAdkDataSet& data_;
        std::vector<bool> visible_;
        bool allFields_;
    };
    virtual void FetchChildRows();
    virtual void FetchRow(const TAdkData& pData);
    // Reads the current row again from the kit structure without counting as a change.
    void RefreshAdkRow();
    // The field carrying kit field number `adkIndex`; raises when closed or when there is none.
    TField& FieldByAdkIndex(int adkIndex) const;
    bool IsFieldReadOnly(int adkIndex);
    void HideAllFields();
    void HiideField(int adkIndex);
    void ShowField(int adkIndex);
    virtual void DisableChild();
    virtual void EnableChild();
    // The kit's file name of the table, without extension.
    std::string GetAdkTableName();
    bool AdkTableAvailible() const;

    // ---- Writing.
    // Finds the current head row again in the kit (keys written; with `performFind` also found).
    void SyncAdkStruct(bool performFind);
    // Deletes the current row of a rows dataset in the kit and in the dataset.
    void DeleteChildRow();
    // Appends a row read from `pData` without writing anything back.
    void AddAdkDataToDataSet(const TAdkData& pData);

    // ---- Kit structures and errors.
    virtual void CreateAdkStruct();
    virtual void DeleteAdkStruct();
    virtual bool HandleError(TAdkRWDirection direction = rwUnknown);

    // ---- The catalogue, for this dataset's table (atIngen: the dataset's own).
    virtual int GetAdkTableIndex(TAdkTable aTable = atIngen) const;
    virtual int GetMaxAdkFieldIndex(TAdkTable aTable) const { return tv::GetMaxAdkFieldIndex(aTable); }
    virtual int GetAdkSortOrderIndex(TAdkSortOrder aSortOrder) const {
        return tv::GetAdkSortOrderIndex(aSortOrder);
    }
    virtual int GetSortKeyField(TAdkTable aTable, TAdkSortOrder aSortOrder) const {
        return tv::GetSortKeyField(aTable, aSortOrder);
    }
    virtual TAdkSortOrder GetValidSortOrder(TAdkTable aTable, TAdkSortOrder aSortOrder) const {
        return tv::GetValidSortOrder(aTable, aSortOrder);
    }
    bool IsValidSortOrder(TAdkSortOrder aSortOrder) const { return tv::IsValidSortOrder(table_, aSortOrder); }
    // The master's rows field and row-count field; -1 without a master with rows.
    virtual int GetRowsField() const;
    virtual int GetRowCountField() const;
    virtual bool GetAdkFieldOkToUse(TAdkTable aTable, int aAdkIndex) const;
    virtual bool TableDisabledByAdminSettings(TAdminActivatedModules modules, TAdkTable aTable,
                                              std::string& message) const {
        return tv::TableDisabledByAdminSettings(modules, aTable, message);
    }

    // Closes the dataset and lets go of its kit structures while the kit is still loaded: they do
    // not outlive the company.
    void CloseForDisconnect() override;

protected:
    void DoAfterOpen() override;
    void DoAfterClose() override;
    void DoAfterInsert() override;
    void DoOnNewRecord() override;
    void DoBeforePost() override;
    void DoAfterPost() override;
    void DoBeforeDelete() override;
    void DoAfterScroll() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Pairs a head with its rows dataset, undoing the pairs either had.
    static void Pair(TAdkDataSet* head, TAdkDataSet* rows);
    static void Unpair(TAdkDataSet* head, TAdkDataSet* rows);

    // Reading helpers.
    // Fills the row just appended, inserted or put into edit state from the kit and posts it
    // without writing back; a failure part-way cancels the row, so that no later move posts a
    // half-read record (to the kit, once fetching is over).
    void PostFetched(const std::function<void()>& fill);
    // Reads one field of the kit structure into the current row.
    void FetchField(const TAdkData& pData, TField& field);
    void AddAdkFields();
    void AddFieldForKitField(const TAdkData& structure, int index, int timeStamp);
    std::string UniqueFieldName(const std::string& name) const;
    void SetKeyForFind(int keyField, const std::string& searchTxt);
    bool KeyMatches(int keyField, const std::string& searchTxt) const;
    TFieldNamesArray FieldCaptions() const;

    // Writing helpers (adk_dataset_write.cpp).
    TAdkSortOrder WriteBackSortOrder() const;
    bool FieldChanged(int i) const;
    void WriteFieldsToStruct(const TAdkData& pData, bool writeKeys, bool keysOnly);
    void WriteField(const TAdkData& pData, TField& field);
    // After an add: the key fields and field 0 as the kit stored them (a number it gave, a key it
    // cut).
    void ReadBackKeys();
    void MarkModifiedFields();
    bool HasModifiedRows();
    void WriteRowsInto(TAdkDataSet& head);
    void RoundQuantities();
    void FreeRowsStruct();

    TAdkTable table_ = atIngen;
    TAdkSortOrder sortOrder_ = asIngen;
    TAdkDataSet* child_ = nullptr;
    TAdkDataSet* master_ = nullptr;
    TAdkDatabase* database_ = nullptr;
    TField* timeStampField_ = nullptr;
    // Kit field number → field position; -1 where the number has no field.
    std::array<int, 200> fieldIndex_{};
    bool childEnabled_ = false;
    bool creating_ = false;
    bool fetching_ = false;
    bool rowsModified_ = false;
    // A rows dataset's structure is a row of its master's structure: it is never freed here.
    bool structBorrowed_ = false;
};

}  // namespace tv
