#include "import/dm_import.h"

#include <algorithm>

#include "import/key_text.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {
inline constexpr std::string_view kUnprocessedFolder = "obehandlade";
// Faults of the host's wiring, not of a file.
inline constexpr std::string_view kNoEventSink = "The import has no event tree to report into";
inline constexpr std::string_view kNoWorkFolders = "The import has no work folders";
}  // namespace

const TClassInfo& TDMImport::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDMImport>("TDMImport").Build();
    return info;
}

TDMImport::TDMImport(TImportContext& context, TKeyHelperDM& keyHelper, TComponent* AOwner)
    : TComponent(AOwner),
      context_(context),
      keyHelper_(keyHelper),
      query_(std::make_unique<TADOQuery>()),
      tidReserveraID_(std::make_unique<TADOQuery>()) {
    XMLDocument1.SetIndent(true);
}

TDMImport::~TDMImport() = default;

IEventSink& TDMImport::Events() const {
    if (!context_.Events) throw EImportError(std::string(kNoEventSink));
    return *context_.Events;
}

TXMLNode* TDMImport::DocumentElement() const {
    return XMLDocument1.Active() ? XMLDocument1.DocumentElement() : nullptr;
}

// ---------------------------------------------------------------- files

void TDMImport::FindFiles(const std::string& mask, TStrings& files, int IMPORT_EXPORT,
                          const std::string& directory) {
    files.Clear();
    std::string folder;
    if (!directory.empty()) {
        folder = IncludeTrailingPathDelimiter(directory);
    } else {
        if (IMPORT_EXPORT == -1) throw EImportError(std::string(kFindFilesNoSide));
        if (!context_.getWorkFolder) throw EImportError(std::string(kNoWorkFolders));
        folder = IncludeTrailingPathDelimiter(context_.getWorkFolder(IMPORT_EXPORT, kUnprocessedFolder));
    }
    Events().reportError(std::string(kUsingPath) + folder, elInfo);
    std::vector<std::string> names = ListFolder(folder, mask, TListKind::Files);
    // Scripts import the files in this order: the same on every machine, whatever the file system.
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int byText = AnsiCompareText(a, b);
        return byText != 0 ? byText < 0 : a < b;
    });
    for (const std::string& name : names) files.Add(folder + name);
}

bool TDMImport::LoadXML(const std::string& filename) {
    ValidCustomerKyes.Clear();
    ValidArticleKeys.Clear();
    ValidInvoiceKeys.Clear();
    ValidSuppliers.Clear();
    keyHelper_.Clear();
    try {
        XMLDocument1.LoadFromFile(filename);
    } catch (const std::exception& e) {
        // A half-read file is never imported: the document is left empty.
        XMLDocument1.SetActive(false);
        Events().reportError(std::string(kLoadXmlFailed) + e.what(), elError);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- imported items

void TDMImport::AddImportedItem(std::string_view str) {
    importedItems_.push_back(CutToCharacters(str, kImportedItemLength));
}

void TDMImport::clearImportedItems(std::string_view) {
    importedItems_.clear();
}

std::unique_ptr<TStringList> TDMImport::getImportedItems() const {
    auto list = std::make_unique<TStringList>();
    for (const std::string& item : importedItems_) list->Add(item);
    return list;
}

// The registries of this module carry no key type; the type text is kept by the typed registry only.
void TDMImport::SetValidKeyVismaValue(std::string_view key, std::string_view number, std::string_view,
                                      TKeyRegistry& registry) {
    TKeyRecord* record = registry.Locate(key);
    if (!record) RaiseKeyNotRegistered(key);
    record->KEY_VALUE_IN_VISMA = std::string(number);
}

}  // namespace tv
