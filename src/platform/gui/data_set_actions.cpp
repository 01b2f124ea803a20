#include "platform/gui/data_set_actions.h"

#include "platform/data/data_source.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDataSetAction::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDataSetAction>("TDataSetAction").Build();
    return info;
}

TDataSetAction::TDataSetAction(TComponent* AOwner, TNavigateBtn Operation) : TAction(AOwner), fOperation(Operation) {}

void TDataSetAction::SetDataSource(TDataSource* value) {
    if (value == fDataSource) return;
    if (fDataSource) fDataSource->RemoveFreeNotification(this);
    fDataSource = value;
    if (value) value->FreeNotification(this);
}

void TDataSetAction::Notification(TComponent* AComponent, TOperation Operation) {
    TAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fDataSource) fDataSource = nullptr;
}

TDataSet* TDataSetAction::TargetDataSet(TObject* Target) {
    auto* source = dynamic_cast<TDataSource*>(Target);
    return source ? source->DataSet() : nullptr;
}

bool TDataSetAction::HandlesTarget(TObject* Target) {
    if (fDataSource && Target != fDataSource) return false;
    return TargetDataSet(Target) != nullptr;
}

void TDataSetAction::ExecuteTarget(TObject* Target) {
    if (TDataSet* dataSet = TargetDataSet(Target)) RunDataSetOperation(fOperation, *dataSet);
}

void TDataSetAction::UpdateTarget(TObject* Target) {
    SetEnabled(DataSetOperationEnabled(fOperation, TargetDataSet(Target)));
}

bool DataLinkExecuteAction(const TDataLink& Link, TBasicAction& Action) {
    if (!Action.HandlesTarget(Link.DataSource())) return false;
    Action.ExecuteTarget(Link.DataSource());
    return true;
}

bool DataLinkUpdateAction(const TDataLink& Link, TBasicAction& Action) {
    if (!Action.HandlesTarget(Link.DataSource())) return false;
    Action.UpdateTarget(Link.DataSource());
    return true;
}

}  // namespace tv
