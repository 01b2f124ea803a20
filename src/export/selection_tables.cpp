#include "export/selection_tables.h"

#include "platform/data/field.h"

namespace tv {
namespace {

// A unique key is refused at post, but the rows keep the order they were added in.
TClientDataSet* NewSelection(TComponent* owner, std::string_view name, std::string_view column,
                             TFieldType type, int size, bool unique) {
    auto* table = new TClientDataSet(owner);
    table->SetName(std::string(name));
    table->FieldDefs().Add(std::string(column), type, size);
    if (unique) table->AddIndex(std::string(column), std::string(column), ixUnique);
    table->CreateDataSet();
    return table;
}

TClientDataSet* NewTimestampSelection(TComponent* owner) {
    auto* table = new TClientDataSet(owner);
    table->SetName("CDSTimeStampUrval");
    table->FieldDefs().Add("key", TFieldType::ftString, 60);
    table->FieldDefs().Add("timestamp", TFieldType::ftFloat, 0);
    table->CreateDataSet();
    return table;
}

constexpr TFieldType kText = TFieldType::ftString;
constexpr TFieldType kNumber = TFieldType::ftFloat;

}  // namespace

TSelectionTables::TSelectionTables(TComponent* owner)
    : TComponent(owner),
      articles_(NewSelection(this, "CDSArtikelUrval", "artnr", kText, 60, false)),
      best_(NewSelection(this, "CDSBestUrval", "doknr", kNumber, 0, false)),
      contacts_(NewSelection(this, "CDSKontaktUrval", "key", kText, 60, true)),
      customers_(NewSelection(this, "CDSKundUrval", "kundnr", kText, 30, true)),
      invoices_(NewSelection(this, "CDSFakturaUrval", "doknr", kNumber, 0, false)),
      offers_(NewSelection(this, "CDSOffertUrval", "doknr", kNumber, 0, false)),
      orders_(NewSelection(this, "CDSOrderUrval", "doknr", kNumber, 0, false)),
      priceLists_(NewSelection(this, "CDSPrislistUrval", "prisl", kText, 30, false)),
      supplierInvoices_(NewSelection(this, "CDSLevFakturaUrval", "doknr", kNumber, 0, false)),
      suppliers_(NewSelection(this, "CDSLeverantorUrval", "levnr", kText, 30, false)),
      timestamps_(NewTimestampSelection(this)) {}

void AppendSelectionKey(TDataSet& selection, std::string_view key) {
    selection.Append();
    try {
        selection.Fields(0).SetAsString(key);
        selection.Post();
    } catch (...) {
        selection.Cancel();
        throw;
    }
}

}  // namespace tv
