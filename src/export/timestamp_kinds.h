#pragma once
// The kinds of record the change look-ups ask the company database about: the query each runs when
// the script passes none, and how it reads the change times (a date-time, or Unix seconds on the
// document heads behind "oof").

#include <string_view>

namespace tv {

enum class TTimestampKind { Articles, Customers, Orders, Invoices, SupplierInvoices };

struct TTimestampKindDef {
    // The default query: the first piece, "where 1=1", then the last piece. On an SQL Server
    // company the start value is a date-time parameter; elsewhere it is Unix seconds, which the
    // article and customer queries turn into a date-time before comparing their date-time column
    // (their last piece for Unix seconds; empty: the last piece serves both).
    std::string_view FirstPiece;
    std::string_view LastPiece;
    std::string_view LastPieceUnixStart;
    // The change times are whole Unix seconds (else date-times).
    bool UnixSeconds;
    // Logs each newer change time at debug level ("Updated lastdate: ").
    bool LogsLastDate;
};

const TTimestampKindDef& TimestampKindOf(TTimestampKind kind);

}  // namespace tv
