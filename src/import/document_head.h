#pragma once
// Pieces every document import (orders, offers, invoices, agreements, purchase documents) takes for
// the head of a document: its key, its customer, and the guard under which it is written.

#include <functional>
#include <string>
#include <string_view>

namespace tv {

class TAdkDataSet;
class TKeyRegistry;
class TXMLNode;

inline constexpr std::string_view kHeadDocumentNumber = "OOI_HEAD_DOCUMENT_NUMBER";
inline constexpr std::string_view kHeadCustomerNumber = "OOI_HEAD_CUSTOMER_NUMBER";
inline constexpr std::string_view kRowsElement = "rows";
// The attribute of the document element that gets the number of the written document.
inline constexpr std::string_view kWrittenDocumentAttribute = "vismakey";
// Noun, position and head name: a document without its head. It has nothing to write.
inline constexpr std::string_view kHeadMissing = "%s%d saknar huvud (%s)";
// After noun and position: a head without "customerkey".
inline constexpr std::string_view kCustomerKeyMissing = " saknar customerkey attribut";
inline constexpr std::string_view kCustomerKeyNotFound = "Nyckeln fanns ej i systemet";

// The document key of a head: the text of its OOI_HEAD_DOCUMENT_NUMBER when it has that element,
// even an empty one, else its "key", else empty.
std::string GetHeadDocumentKey(const TXMLNode& head);

// The record a head refers to by `attribute`: false when the head has no such attribute. The
// trimmed key must be registered in `registry` (`unknownText` raised otherwise); the head's
// `element` (added when absent) then gets the record's number.
bool ResolveDocumentReference(TXMLNode& head, std::string_view attribute, const TKeyRegistry& registry,
                              std::string_view element, std::string_view unknownText);
// The customer of a head by its "customerkey" (kCustomerKeyNotFound for an unknown key).
bool ResolveDocumentCustomer(TXMLNode& head, const TKeyRegistry& customers, std::string_view element);

// Runs `write` on a document of `head` (a head dataset with its rows dataset). Whatever way it
// ends, no change of the head or its rows is left pending; when it fails, the rows not saved are
// dropped too, so that no later save of the head writes them into another document. What failed
// goes on to the caller.
void GuardDocument(TAdkDataSet& head, const std::function<void()>& write);

}  // namespace tv
