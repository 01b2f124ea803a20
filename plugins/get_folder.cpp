// plugin_get_folder: fetches the files matching a pattern from a source folder by moving them into
// the work folder the host gave, and returns their paths in name order. Its settings panel edits the
// source folder and the pattern. TestModule says whether the source folder exists. With no matching
// file it gives no list; without a work folder or source folder it raises.

#include <QFormLayout>
#include <QLineEdit>
#include <algorithm>
#include <stdexcept>

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

constexpr std::string_view kSourceFolder = "SourceFolder";
constexpr std::string_view kMask = "Mask";
constexpr std::string_view kDefaultMask = "*";

class TGetFolderPanel : public QWidget {
public:
    TGetFolderPanel(QWidget* parent, const std::string& source, const std::string& mask) : QWidget(parent) {
        auto* layout = new QFormLayout(this);
        Source = new QLineEdit(QString::fromStdString(source), this);
        Source->setObjectName("SourceFolder");
        Mask = new QLineEdit(QString::fromStdString(mask), this);
        Mask->setObjectName("Mask");
        layout->addRow("Källmapp", Source);
        layout->addRow("Filmask", Mask);
        adjustSize();
    }
    QLineEdit* Source;
    QLineEdit* Mask;
};

class TGetFolder : public TSamplePlugin<plugin::Iquorvel_get> {
public:
    TGetFolder() : TSamplePlugin("get", "Hämtar filer från en mapp") {}

    bool getFiles(plugin::aStringArray& files) override {
        Log("getFiles");
        const std::filesystem::path work = Core().InWorkFolder("");
        const std::string source = Core().Setting(kSourceFolder, "");
        if (!SourceExists()) throw std::runtime_error("Källmappen finns inte: " + source);
        const std::string mask = Core().Setting(kMask, kDefaultMask);
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(source))
            if (entry.is_regular_file() && MatchesPattern(entry.path().filename().string(), mask))
                found.push_back(entry.path());
        if (found.empty()) return false;
        std::sort(found.begin(), found.end());
        std::filesystem::create_directories(work);
        for (const std::filesystem::path& file : found) {
            const std::filesystem::path target = work / file.filename();
            MoveFileOver(file, target);
            files.Add(target.string());
        }
        return true;
    }
    bool testInterface() override {
        Log("testInterface");
        return true;
    }

private:
    bool SourceExists() {
        const std::string source = Core().Setting(kSourceFolder, "");
        std::error_code ec;
        return !source.empty() && std::filesystem::is_directory(source, ec);
    }

protected:
    bool Test() override { return SourceExists(); }
    QWidget* MakePanel(QWidget* parent) override {
        return new TGetFolderPanel(parent, Core().Setting(kSourceFolder, ""),
                                   Core().Setting(kMask, kDefaultMask));
    }
    void TakePanelValues() override {
        auto* panel = static_cast<TGetFolderPanel*>(Panel());
        if (!panel) return;
        Core().SetSetting(kSourceFolder, panel->Source->text().toStdString());
        Core().SetSetting(kMask, panel->Mask->text().toStdString());
    }
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TGetFolder>})
