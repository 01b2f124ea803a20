// The chart-of-accounts export of the register exports: the accounts and profit centres of one
// accounting year and every project, with the year's period on the "accounts" container.

#include "core/app_logger.h"
#include "export/export_text.h"
#include "export/kit_reads.h"
#include "export/register_export.h"
#include "platform/data/field.h"
#include "platform/rtl/date_format.h"

namespace tv {
namespace {

// Leaves the year's datasets as a run found them, whatever happened in it: the accounts and the
// profit centres closed without their filter, the projects without theirs, and closed when the run
// opened them.
class TYearDataSets {
public:
    TYearDataSets(TAdkDataSet& accounts, TAdkDataSet& centres, TAdkDataSet& projects)
        : accounts_(accounts), centres_(centres), projects_(projects) {}
    ~TYearDataSets() {
        try {
            for (TAdkDataSet* data : {&centres_, &accounts_}) {
                data->Close();
                data->SetFiltered(false);
                data->SetFilter("");
            }
            projects_.SetFiltered(false);
            projects_.SetFilter("");
            if (projectsOpened_) projects_.Close();
        } catch (const std::exception& e) {
            AppLogger().LogError("ExportAccountPlan", e);
        }
    }
    void OpenProjects() {
        if (projects_.Active()) return;
        projects_.MakeOpen();
        projectsOpened_ = true;
    }

private:
    TAdkDataSet& accounts_;
    TAdkDataSet& centres_;
    TAdkDataSet& projects_;
    bool projectsOpened_ = false;
};

}  // namespace

void TRegisterExport::ExportAccountPlan(const std::string& year) {
    TAdkDataSet& years = module_.KitDataSet(&TExportDataSets::ADKBokfAar);
    TAdkDataSet& accounts = module_.KitDataSet(&TExportDataSets::ADKKonto);
    TAdkDataSet& centres = module_.KitDataSet(&TExportDataSets::ADKProfitCentres);
    TAdkDataSet& projects = module_.KitDataSet(&TExportDataSets::ADKProjekt);
    TExportRun run(module_);
    TYearDataSets cleanup(accounts, centres, projects);
    module_.createDefaultNodes();
    const TDateTime now = module_.CurrentTime();
    TDateTime from = now, to = now;
    FetchAllRecords(years);

    std::string yearId = Trim(year);
    bool found = false;
    for (years.First(); !years.Eof() && !found; years.Next()) {
        const TDateTime start = years.FieldByAdkIndex(1).AsDateTime(),
                        end = years.FieldByAdkIndex(2).AsDateTime();
        found = yearId.empty() ? start < now && end > now : years.FieldByAdkIndex(0).AsString() == year;
        if (found) {
            yearId = years.FieldByAdkIndex(0).AsString();
            from = start;
            to = end;
        }
    }
    if (!found && TrimView(year).empty()) {
        module_.Events().reportError(kNoAccountingYearToday, elError);
        return;
    }

    FetchAllRecords(accounts);
    FetchAllRecords(centres);
    for (TAdkDataSet* data : {&accounts, &centres}) {
        data->SetFilter(EqualsFilter("aar_id", yearId));
        data->SetFiltered(true);
    }
    cleanup.OpenProjects();
    projects.EmptyDataSet();
    projects.FetchAllNow(false);

    TExportDocument& doc = module_.Document();
    doc.NodeAccounting->SetAttribute("DateFrom", DateToStr(from, years.FormatSettings()));
    doc.NodeAccounting->SetAttribute("DateTo", DateToStr(to, years.FormatSettings()));
    struct Kind {
        TAdkDataSet& data;
        TXMLNode& container;
        const char* table;
    };
    for (const Kind& kind :
         {Kind{accounts, *doc.NodeAccounting, "atKonto"}, Kind{centres, *doc.NodeProfitCentres, "atResEnh"},
          Kind{projects, *doc.NodeProjects, "atProjekt"}}) {
        for (kind.data.First(); !kind.data.Eof(); kind.data.Next()) {
            TXMLNode* record = kind.container.AddChild(kind.table);
            record->SetAttribute("key", kind.data.FieldByAdkIndex(1).AsString());
            module_.Nodes().AddMappedFields(*record, kind.table, kind.data, TRefusedValue::StripAndLogReads);
        }
    }
    module_.SaveDocument(module_.generateAccountingYearFile());
}

}  // namespace tv
