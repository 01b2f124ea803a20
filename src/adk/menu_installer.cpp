#include "adk/menu_installer.h"

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/special_folders.h"

namespace tv {
namespace {

constexpr std::string_view kRootName = "DynamicMenuSetup";
constexpr std::string_view kMenuName = "Menu";
// The system writes entries as "MenuItem"; menu files may hold them as "Menuitem" too. Both are
// found, so an update never adds a second entry and a removal removes.
constexpr std::string_view kEntryName = "MenuItem";
constexpr std::string_view kCommonFilesFolder = "SPCS/SPCS Administration/Gemensamma filer/";

bool HoldsText(const TXMLNode& node, std::string_view text) {
    if (!node.HasChildNodes()) return text.empty();
    return node.IsTextElement() && node.Text() == text;
}

}  // namespace

TAdkMenuInstaller::TAdkMenuInstaller(IDialogService& dialogs) : dialogs_(dialogs) {}

TAdkMenuInstaller::~TAdkMenuInstaller() = default;

void TAdkMenuInstaller::SetMenuFileName(std::string fileName) {
    menuFileName_ = std::move(fileName);
    LoadFile(menuFileName_);
}

std::string TAdkMenuInstaller::FindIntegrationFile() const {
    std::string commonAppData = GetCommonAppDataFolder();
    if (commonAppData.empty()) return {};
    std::string folder = commonAppData + std::string(kCommonFilesFolder);
    return DirectoryExists(folder) ? folder + std::string(kMenuFileName) : std::string();
}

std::string TAdkMenuInstaller::AskForFilename() {
    TOpenFileRequest request;
    request.Filter = std::string(kMenuFileFilter);
    request.DefaultExt = "xml";
    return dialogs_.OpenFile(request).value_or(std::string());
}

void TAdkMenuInstaller::LoadFile(const std::string& fileName) {
    if (!document_) document_ = std::make_unique<TXMLDocument>();
    TXMLDocument& doc = *document_;
    doc.SetActive(false);
    if (!FileExists(fileName)) {
        doc.SetFileName({});
        doc.SetActive(true);
        doc.SetEncoding("ISO-8859-1");
        return;
    }
    try {
        doc.SetFileName(fileName);
        doc.SetActive(true);
    } catch (const std::exception& e) {
        doc.SetFileName({});
        throw Exception(Format(kMenuLoadFailed, {e.what()}));
    }
}

TXMLNode& TAdkMenuInstaller::PrepareDocument() {
    if (!document_) document_ = std::make_unique<TXMLDocument>();
    if (!document_->Active()) {
        document_->SetActive(true);
        if (document_->FileName().empty()) document_->SetEncoding("ISO-8859-1");
    }
    if (TXMLNode* root = document_->DocumentElement()) return *root;
    return *document_->AddChild(kRootName);
}

TXMLNode* TAdkMenuInstaller::FindMenu(TXMLNode& root) const {
    for (TXMLNode* child : root.ChildNodes())
        if (child->NodeType() == TNodeType::ntElement && child->NodeName() == kMenuName &&
            child->Attribute("Name") == Category)
            return child;
    return nullptr;
}

TXMLNode* TAdkMenuInstaller::FindEntry(TXMLNode& menu) const {
    for (TXMLNode* child : menu.ChildNodes())
        if (child->NodeType() == TNodeType::ntElement && SameTextAscii(child->NodeName(), kEntryName) &&
            HoldsText(*child, Title))
            return child;
    return nullptr;
}

const std::string& TAdkMenuInstaller::EffectiveApplicationName() const {
    return ApplicationName.empty() ? Title : ApplicationName;
}

void TAdkMenuInstaller::SaveFile(const std::string& fileName) {
    try {
        document_->SaveToFile(fileName);
    } catch (const std::exception& e) {
        throw Exception(Format(kMenuSaveFailed, {e.what()}));
    }
}

bool TAdkMenuInstaller::CheckIfPresent() {
    TXMLNode& root = PrepareDocument();
    TXMLNode* menu = Category.empty() ? &root : FindMenu(root);
    return menu && FindEntry(*menu);
}

void TAdkMenuInstaller::InstallToVismaIntegrationMenu(const std::string& fileName) {
    LoadFile(fileName);
    TXMLNode& root = PrepareDocument();
    TXMLNode* menu = Category.empty() ? &root : FindMenu(root);
    if (!menu) {
        menu = root.AddChild(kMenuName);
        menu->SetAttribute("Name", Category);
        if (!Company.empty()) menu->SetAttribute("meta_company", Company);
    }
    TXMLNode* entry = FindEntry(*menu);
    if (!entry) entry = menu->AddChild(kEntryName);
    entry->SetText(Title);
    entry->SetAttribute("Path", Command);
    entry->SetAttribute("Parameters", Parameters);
    entry->SetAttribute("meta_app", EffectiveApplicationName());
    if (!Company.empty()) entry->SetAttribute("meta_company", Company);
    SaveFile(fileName);
    document_->SetActive(false);
}

void TAdkMenuInstaller::RemoveFromVismaIntegrationMenu(const std::string& fileName, bool aRemoveSubMenu) {
    LoadFile(fileName);
    TXMLNode& root = PrepareDocument();
    bool removed = false;
    if (aRemoveSubMenu) {
        // Only a named menu is removed as a whole, never the root.
        TXMLNode* menu = Category.empty() ? nullptr : FindMenu(root);
        if (menu && menu->Attribute("meta_company") == Company) {
            root.RemoveChild(menu);
            removed = true;
        }
    } else if (TXMLNode* menu = Category.empty() ? &root : FindMenu(root)) {
        TXMLNode* entry = FindEntry(*menu);
        if (entry && entry->Attribute("meta_app") == EffectiveApplicationName() &&
            entry->Attribute("meta_company") == Company) {
            menu->RemoveChild(entry);
            removed = true;
        }
    }
    // A removal that finds nothing leaves the file as it is (and creates no file).
    if (removed) SaveFile(fileName);
    document_->SetActive(false);
}

}  // namespace tv
