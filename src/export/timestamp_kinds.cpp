#include "export/timestamp_kinds.h"

#include <iterator>

namespace tv {
namespace {

constexpr std::string_view kOrderHead = "select doknr key, timestamp from oof ";

// In TTimestampKind order.
constexpr TTimestampKindDef kKinds[] = {
    {"select artnr as [key], timestamp from art ",
     " and ( art.timestamp > :startvalue ) order by timestamp asc ",
     " and ( art.timestamp > datetime(:startvalue, 'unixepoch') ) order by timestamp asc ", false, false},
    {"select kundnr key, timestamp from kund ",
     " and ( kund.timestamp > :startvalue ) order by timestamp asc ",
     " and ( kund.timestamp > datetime(:startvalue, 'unixepoch') ) order by timestamp asc ", false, false},
    {kOrderHead, " and doktyp='O' and ( oof.timestamp > :startvalue ) order by timestamp asc ", "", true,
     false},
    {kOrderHead, " and doktyp='F' and ( oof.timestamp > :startvalue ) order by timestamp asc ", "", true,
     true},
    {kOrderHead, " and doktyp='LF' and ( oof.timestamp > :startvalue ) order by timestamp asc ", "", true,
     false},
};
static_assert(std::size(kKinds) == static_cast<size_t>(TTimestampKind::SupplierInvoices) + 1);

}  // namespace

const TTimestampKindDef& TimestampKindOf(TTimestampKind kind) {
    return kKinds[static_cast<int>(kind)];
}

}  // namespace tv
