#pragma once
// The change look-ups: which records of a kind changed after a time, as keys with their change
// times in query order, and the newest change time seen (at least the start), which a job script
// stores as the start of its next run. One look-up class per kind, all one class over the table of
// kinds (timestamp_kinds.h).

#include <string>
#include <string_view>
#include <vector>

#include "export/selections.h"
#include "platform/rtl/date_time.h"

namespace tv {

inline constexpr std::string_view kUpdatedLastDate = "Updated lastdate: ";

struct TTimestampItem {
    std::string FKey;  // as the query gave it, untrimmed
    TDateTime FModified = 0;
};

// The items of one look-up, in query order.
class TTimeStampItemCollection {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const TTimestampItem& Get(int idx) const { return items_.at(static_cast<size_t>(idx)); }
    void Add(TTimestampItem item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }

private:
    std::vector<TTimestampItem> items_;
};

class TTimestampLookup {
public:
    TTimestampLookup(TTimestampKind kind, TExportModule& module, TExportSelections& selections)
        : kind_(kind), module_(module), selections_(selections) {}

    // Fills Fitems with the records changed after `startfrom` (by `query`, else the kind's default
    // query) through the timestamp selection table, and sets Flastdate to the newest change time,
    // or to `startfrom` when none is newer. Errors reach the caller (reported at level 2).
    void GetModifiedSince(TDateTime startfrom, const std::string& query);

    TTimeStampItemCollection Fitems;
    TDateTime Flastdate = 0;

private:
    TTimestampKind kind_;
    TExportModule& module_;
    TExportSelections& selections_;
};

// The look-up classes by their kinds.
template <TTimestampKind Kind>
class TTimestampLookupOf : public TTimestampLookup {
public:
    TTimestampLookupOf(TExportModule& module, TExportSelections& selections)
        : TTimestampLookup(Kind, module, selections) {}
};
using TArticleHelper = TTimestampLookupOf<TTimestampKind::Articles>;
using TCustomerHelper = TTimestampLookupOf<TTimestampKind::Customers>;
using TOrderHelper = TTimestampLookupOf<TTimestampKind::Orders>;
using TInvoiceHelper = TTimestampLookupOf<TTimestampKind::Invoices>;
using TSupplierInvoiceHelper = TTimestampLookupOf<TTimestampKind::SupplierInvoices>;

}  // namespace tv
