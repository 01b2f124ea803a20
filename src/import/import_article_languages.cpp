// The names of an article in other languages: the "languages" element of an article item holds one
// child per language with its code and up to two names, written into the business system's article
// language table (field 0 language code, 1 article number, 2 name, 3 second name).

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/record_write.h"
#include "platform/rtl/format.h"
#include "platform/rtl/key_fold.h"

namespace tv {

namespace {

inline constexpr int kCodeField = 0;
inline constexpr int kArticleField = 1;
inline constexpr int kNameField = 2;
inline constexpr int kSecondNameField = 3;

inline constexpr std::string_view kLanguagesElement = "languages";
inline constexpr std::string_view kCodeElement = "CODE_OF_ARTICLE_NAME_LANGUAGE_CODE";
inline constexpr std::string_view kNameElement = "CODE_OF_ARTICLE_NAME_NAME";
inline constexpr std::string_view kSecondNameElement = "CODE_OF_ARTICLE_NAME_NAME2";

inline constexpr std::string_view kNoLanguageCode = "Ingen språkkod satt";
inline constexpr std::string_view kNoArticleNumber = "Ingen nyckel kunde hittas";
inline constexpr std::string_view kLanguageFailed = "[%s]";

// Puts the dataset on the article's record of that language, found by the company's key rule, or
// on a new record holding the code and article in capitals. The table's records come by article
// and then language.
void OpenLanguageRecord(TAdkDataSet& names, TWrittenTexts& texts, const std::string& article,
                        const std::string& code) {
    names.EmptyDataSet();
    names.SetAdkSortOrder(asArtikelbenamningNr);
    for (bool read = names.AdkNavFind(article, true, true);
         read && SameKeyText(names.FieldByAdkIndex(kArticleField).AsString(), article);
         read = names.AdkNavNext()) {
        if (SameKeyText(names.FieldByAdkIndex(kCodeField).AsString(), code)) {
            names.Edit();
            return;
        }
    }
    names.Append();
    texts.Set(names.FieldByAdkIndex(kCodeField), kCodeElement, UpperKey(code));
    // The number the company gave the article: a text it holds.
    names.FieldByAdkIndex(kArticleField).SetAsString(UpperKey(article));
}

}  // namespace

void TDMImport::ImportArticleLanguages(TXMLNode& item) {
    const TXMLNode* languages = ChildElement(item, kLanguagesElement);
    if (!languages || !languages->HasChildNodes()) return;
    TAdkDataSet& names = KitDataSet(&TImportDataSets::AdkArtikelSprak, "AdkArtikelSprak");
    if (!names.Active()) names.MakeOpen();
    // The number stored with the item's key when the article was found or written.
    const TKeyRecord* record = ValidArticleKeys.Locate(Trim(item.Attribute("key")));
    const std::string article = record ? UpperKey(record->KEY_VALUE_IN_VISMA) : std::string();
    TWrittenTexts texts;
    ForEachItem(*languages, [&](const TXMLNode& language, int) {
        const std::string code = Trim(ChildText(language, kCodeElement));
        const std::string name = Trim(ChildText(language, kNameElement));
        const std::string secondName = Trim(ChildText(language, kSecondNameElement));
        try {
            if (code.empty()) throw EImportError(std::string(kNoLanguageCode));
            // An article that was neither found nor written has no number: names written under an
            // empty number would belong to no article.
            if (article.empty()) throw EImportError(std::string(kNoArticleNumber));
            texts.Clear();
            OpenLanguageRecord(names, texts, article, code);
            if (!name.empty()) texts.Set(names.FieldByAdkIndex(kNameField), kNameElement, name);
            if (!secondName.empty())
                texts.Set(names.FieldByAdkIndex(kSecondNameField), kSecondNameElement, secondName);
            names.Post();
            texts.Report(Events(), article + "/" + code);
        } catch (const std::exception& e) {
            CancelPending(names);
            Events().reportError(Format(kLanguageFailed, {e.what()}), elError);
        }
        return true;
    });
}

}  // namespace tv
