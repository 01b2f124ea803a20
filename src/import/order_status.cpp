// The status marks of an order's or offer's head (not done, pick list printed, printed, delivered,
// cancelled), one row per operation driving one routine: the document is found by its number on
// the dataset's current sort order, the marks that hold the change back are tested, and the
// head is edited, marked and saved. A failure leaves no change pending and goes on with the
// row's message.

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/import_policies.h"
#include "import/order_fields.h"
#include "import/record_write.h"
#include "platform/data/data_set.h"

namespace tv {

inline constexpr int kNoMark = -1;

// One status operation: the dataset, the mark and the value it gets, what holds it back and the
// texts of its failures.
struct TStatusOperation {
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    // Followed by the number: the document is not there.
    std::string_view NotFoundText;
    int Mark = kNoMark;
    bool Value = true;
    // Either mark set holds the change back.
    int HeldBackBy[2] = {kNoMark, kNoMark};
    // An order setting that must read 1 before anything is done, the search included.
    std::string_view OnlyWhenSetting;
    // An order setting that, when true, sets the printed mark beside the mark.
    std::string_view AlsoPrintedSetting;
    // The message of a failed change, followed by the number and a blank when `NamesNumber`, then
    // by the failure's own message. Empty: the failure's message goes on as it stands.
    std::string_view FailureText;
    bool NamesNumber = false;
};

namespace {

inline constexpr std::string_view kOrderPrefs = "CDSImportOrderPrefs";
inline constexpr std::string_view kOrderNotFound = "Kunde inte hitta order ";
inline constexpr std::string_view kOfferNotFound = "Kunde inte hitta offert ";
inline constexpr std::string_view kDeliveredFailed = "Misslyckades sätta order levererad";
inline constexpr std::string_view kRemovePrintedFailed = "Misslyckades med att ta bort utskriven ";

#define TV_ORDER_MARK \
    .DataSet = &TImportDataSets::AdkOrder, .DataSetName = "AdkOrder", .NotFoundText = kOrderNotFound
#define TV_OFFER_MARK \
    .DataSet = &TImportDataSets::AdkOffert, .DataSetName = "AdkOffert", .NotFoundText = kOfferNotFound

constexpr TStatusOperation kSetOrderNotDone{TV_ORDER_MARK, .Mark = order_head::kNotDone,
                                            .HeldBackBy = {order_head::kNotDone, order_head::kDelivered}};
constexpr TStatusOperation kSetOrderPickList{TV_ORDER_MARK, .Mark = order_head::kPickList,
                                             .OnlyWhenSetting = "ON_IMPORT_SET_PICKLIST"};
constexpr TStatusOperation kSetOrderPrinted{TV_ORDER_MARK, .Mark = order_head::kPrinted,
                                            .HeldBackBy = {order_head::kPrinted, order_head::kDelivered}};
constexpr TStatusOperation kSetOrderDelivered{TV_ORDER_MARK, .Mark = order_head::kDelivered,
                                              .AlsoPrintedSetting = "ON_IMPORT_SET_PRINTED",
                                              .FailureText = kDeliveredFailed};
constexpr TStatusOperation kSetOrderDeliveredOnly{TV_ORDER_MARK, .Mark = order_head::kDelivered,
                                                  .FailureText = kDeliveredFailed};
constexpr TStatusOperation kSetOrderCancelled{TV_ORDER_MARK, .Mark = order_head::kCancelled,
                                              .FailureText = "Misslyckades sätta order makulerad"};
constexpr TStatusOperation kRemoveOrderPrinted{TV_ORDER_MARK, .Mark = order_head::kPrinted, .Value = false,
                                               .FailureText = kRemovePrintedFailed, .NamesNumber = true};
constexpr TStatusOperation kSetOfferPrinted{TV_OFFER_MARK, .Mark = order_head::kPrinted,
                                            .HeldBackBy = {order_head::kPrinted, order_head::kNotDone}};
constexpr TStatusOperation kRemoveOfferPrinted{TV_OFFER_MARK, .Mark = order_head::kPrinted, .Value = false,
                                               .FailureText = kRemovePrintedFailed, .NamesNumber = true};

#undef TV_ORDER_MARK
#undef TV_OFFER_MARK

bool IsMarked(TAdkDataSet& head, int mark) {
    return mark != kNoMark && head.FieldByAdkIndex(mark).AsBoolean();
}

}  // namespace

void TDMImport::RunStatusOperation(const TStatusOperation& op, const std::string& number) {
    bool alsoPrinted = false;
    if (!op.OnlyWhenSetting.empty() || !op.AlsoPrintedSetting.empty()) {
        const TDataSet& settings = context_.SettingsTable(kOrderPrefs);
        if (!op.OnlyWhenSetting.empty() && ReadIntegerSetting(settings, op.OnlyWhenSetting) != 1) return;
        if (!op.AlsoPrintedSetting.empty())
            alsoPrinted = settings.FieldByName(op.AlsoPrintedSetting).AsBoolean();
    }
    TAdkDataSet& head = KitDataSet(op.DataSet, op.DataSetName);
    if (!head.AdkNavFind(number, true, true)) throw EImportError(std::string(op.NotFoundText) + number);
    try {
        if (IsMarked(head, op.HeldBackBy[0]) || IsMarked(head, op.HeldBackBy[1])) return;
        head.Edit();
        if (alsoPrinted) head.FieldByAdkIndex(order_head::kPrinted).SetAsBoolean(true);
        head.FieldByAdkIndex(op.Mark).SetAsBoolean(op.Value);
        head.Post();
    } catch (const std::exception& e) {
        CancelPending(head);
        if (op.FailureText.empty()) throw;
        std::string message(op.FailureText);
        if (op.NamesNumber) message += number + " ";
        throw EImportError(message + e.what());
    }
}

void TDMImport::SetOrderNotDone(const std::string& number) {
    RunStatusOperation(kSetOrderNotDone, number);
}
void TDMImport::SetOrderPickList(const std::string& number) {
    RunStatusOperation(kSetOrderPickList, number);
}
void TDMImport::SetOrderPrinted(const std::string& number) {
    RunStatusOperation(kSetOrderPrinted, number);
}
void TDMImport::SetOrderDelivered(const std::string& number) {
    RunStatusOperation(kSetOrderDelivered, number);
}
void TDMImport::SetOrderDeliveredOnly(const std::string& number) {
    RunStatusOperation(kSetOrderDeliveredOnly, number);
}
void TDMImport::SetOrderCancelled(const std::string& number) {
    RunStatusOperation(kSetOrderCancelled, number);
}
void TDMImport::RemoveOrderPrinted(const std::string& number) {
    RunStatusOperation(kRemoveOrderPrinted, number);
}
void TDMImport::SetOfferPrinted(const std::string& number) {
    RunStatusOperation(kSetOfferPrinted, number);
}
void TDMImport::RemoveOfferPrinted(const std::string& number) {
    RunStatusOperation(kRemoveOfferPrinted, number);
}

}  // namespace tv
