#include "platform/gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tv {
namespace {

// Texts of the standard dialogs that the toolkit's Swedish catalogues lack (their source text
// changed since the catalogue was made): context, source text, Swedish.
struct TToolkitText {
    const char* Context;
    const char* Source;
    const char* Swedish;
};
constexpr TToolkitText kMissingTexts[] = {
    {"QFileDialog", "Look in:", "Leta i:"},
    {"QFileDialog", "Show &hidden files", "Visa &dolda filer"},
    {"QFileDialog", "&Rename", "&Byt namn"},
    {"QFileSystemModel", "Computer", "Dator"},
    {"QAbstractFileIconProvider", "Folder", "Mapp"},
    {"QAbstractFileIconProvider", "Drive", "Enhet"},
    {"QAbstractFileIconProvider", "File", "Fil"},
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Cancel", "Avbryt"},
    {"QPlatformTheme", "Open", "Öppna"},
    {"QPlatformTheme", "Save", "Spara"},
    {"QPlatformTheme", "Close", "Stäng"},
    {"QPlatformTheme", "Apply", "Verkställ"},
    {"QPlatformTheme", "&Yes", "&Ja"},
    {"QPlatformTheme", "&No", "&Nej"},
};

// Answers from kMissingTexts; installed before the catalogues, so that they are asked first.
class TMissingTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char*, int) const override {
        for (const TToolkitText& t : kMissingTexts)
            if (qstrcmp(context, t.Context) == 0 && qstrcmp(source, t.Source) == 0) return QString::fromUtf8(t.Swedish);
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

bool InstallSwedishToolkitTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    // Owned by the application, which keeps them for the rest of the process.
    QCoreApplication::installTranslator(new TMissingTexts(app));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    bool any = false;
    // "qtbase" holds the widgets' texts where the toolkit splits its catalogues; "qt" is the
    // catalogue that names them, or holds them all where no split ones exist.
    for (const char* catalogue : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(app);
        if (translator->load(swedish, catalogue, "_", folder) && QCoreApplication::installTranslator(translator)) {
            any = true;
        } else {
            delete translator;
        }
    }
    return any;
}

}  // namespace tv
