#include "automation/client_tables.h"

#include <string>

namespace tv {

TClientDataSet* MakeClientTable(std::string_view name, std::span<const TTableField> fields, TComponent* owner) {
    auto* table = new TClientDataSet(owner);
    table->SetName(std::string(name));
    for (const TTableField& field : fields)
        if (field.Table == name) table->FieldDefs().Add(std::string(field.Name), field.Type, field.Size);
    table->CreateDataSet();
    return table;
}

}  // namespace tv
