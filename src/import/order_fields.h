#pragma once
// The kit field numbers of an order's or offer's head (the two share one numbering) that the
// order and offer import, the status marks and the reconciliation read or write by number.

namespace tv::order_head {

inline constexpr int kNumber = 0;
inline constexpr int kNotDone = 5;
inline constexpr int kPrinted = 6;
inline constexpr int kCancelled = 7;
inline constexpr int kDate = 8;
inline constexpr int kSecondDate = 9;
inline constexpr int kDelivered = 10;
inline constexpr int kPickList = 11;
inline constexpr int kCustomerOrderNumber = 28;
inline constexpr int kCurrency = 33;
inline constexpr int kRowCount = 104;
inline constexpr int kDeliveryCountryCode = 114;

}  // namespace tv::order_head
