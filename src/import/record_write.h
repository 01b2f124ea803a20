#pragma once
// Small steps every import writer takes on a kit dataset around its own: setting a text into a
// field with a note of what the company cannot hold, reading the posted record back, and leaving
// no pending edit or insert behind on any way out, so that no later move or post of the shared
// dataset writes a half-made record.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

class IEventSink;
class TAdkDataSet;
class TField;

// The record, the element, and the text as stored.
inline constexpr std::string_view kUnstorableText =
    "%s, %s: tecken som Visma inte kan lagra sparas som \"?\" (\"%s\")";

// The texts written into one record. The company keeps text in Windows-1252: a character it lacks
// is stored as "?", which is reported rather than passed over. Every import kind sets its texts
// through here, so that each reports the same way.
class TWrittenTexts {
public:
    // A text of the record the company cannot hold as written: the element it came from and the
    // text as the company stores it.
    struct TUnstorable {
        std::string Element;
        std::string Stored;
    };

    // Sets the field from `text` by the field's type; a string is checked as the field kept it
    // (cut to its length).
    void Set(TField& field, std::string_view element, std::string_view text);
    // Forgets the notes of the previous record.
    void Clear() { unstorable_.clear(); }
    const std::vector<TUnstorable>& Unstorable() const { return unstorable_; }
    // Reports each note at the warning level (kUnstorableText), naming the record as `record`.
    void Report(IEventSink& events, std::string_view record) const;

private:
    std::vector<TUnstorable> unstorable_;
};

// The number (kit field 0) of the record just posted, as the business system stored it.
std::string ReadBackNumber(TAdkDataSet& dataSet);

// Cancels a pending edit or insert; a dataset in browse state stays as it is.
void CancelPending(TAdkDataSet& dataSet);

}  // namespace tv
