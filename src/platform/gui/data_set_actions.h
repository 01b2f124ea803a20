#pragma once
// Data-set actions: an action that runs one of the record operations (data_set_operations.h) on
// the dataset behind a data source. Its target is the data source of the control asked to run it:
// a data-aware control answers ExecuteAction and UpdateAction through its data link
// (DataLinkExecuteAction), so one "Next" action serves every grid it is handed to. With DataSource
// set, the action works only on that source.

#include "platform/gui/action.h"
#include "platform/gui/data_set_operations.h"

namespace tv {

class TDataLink;
class TDataSet;
class TDataSource;

class TDataSetAction : public TAction {
    TV_CLASS(TDataSetAction, TAction)
public:
    TDataSetAction(TComponent* AOwner, TNavigateBtn Operation);

    TNavigateBtn Operation() const { return fOperation; }
    // The one source the action works on; none: any data source with a dataset.
    TDataSource* DataSource() const { return fDataSource; }
    void SetDataSource(TDataSource* value);

    // A data source with a dataset, and the action's own source when it has one.
    bool HandlesTarget(TObject* Target) override;
    // Runs the operation on the target's dataset (a Delete deletes without asking).
    void ExecuteTarget(TObject* Target) override;
    // Enabled while the operation makes sense in the target dataset's state.
    void UpdateTarget(TObject* Target) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    static TDataSet* TargetDataSet(TObject* Target);

    TNavigateBtn fOperation;
    TDataSource* fDataSource = nullptr;
};

// A data link's answers to an action: when the action handles the link's data source, it is run
// (or brought up to date) there and the answer is true; otherwise false, and nothing happens.
bool DataLinkExecuteAction(const TDataLink& Link, TBasicAction& Action);
bool DataLinkUpdateAction(const TDataLink& Link, TBasicAction& Action);

}  // namespace tv
