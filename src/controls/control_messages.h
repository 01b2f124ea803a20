#pragma once
// The errors of this library that have no text of their own elsewhere, in one table. Each is
// raised as an EDatabaseError without the control's name.

#include <string_view>

namespace tv {

// KeyField or ListSource set on a lookup control bound to a lookup field, which defines both.
inline constexpr std::string_view kPropDefByLookup = "This property is already defined by the lookup field";
// A data source set on a control whose data source a control grid fixes. No control grid exists
// on this system, so nothing raises it yet.
inline constexpr std::string_view kDataSourceFixed = "The data source of this control is fixed by its control grid";
// The csSimple style asked of a pick-list combo inside a control grid (see above).
inline constexpr std::string_view kNotReplicatable = "This control cannot be used in a control grid";

}  // namespace tv
