#pragma once
// The two forms in which a dataset reaches disk: the text-table form (every record as one line of
// values joined by a separator, optionally under a header line of field names) and the INI form
// (the current record as one section of an INI file, one key per field).
//
// Text tables are written in Windows-1252 without a byte-order mark (UTF-8 with a mark when a value
// holds a character Windows-1252 lacks), with CR LF, and replaced whole. Memo values are escaped
// (EscapeCString) so that a record stays on one line; the separator inside any value is written
// "\x3B" (for ";") and line breaks inside other text values "\x0D" and "\x0A", so that a value can
// no longer shift the columns after it. Files written before read as they always did.
//
// A value that its field cannot take is reported, not fatal: the loaders set every other value,
// keep the records, and raise EConvertError listing what they could not take at the end.

#include <string>
#include <string_view>

#include "platform/data/data_set.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/string_list.h"

namespace tv {

inline constexpr char kTextTableSeparator = ';';

// The lines of the dataset's records in its current order (moving to the first record first),
// after a header line of field names (or display labels) when asked; only visible fields when
// asked. Clears `lines` first.
bool SaveDataSetToStrings(TDataSet& dataSet, TStrings& lines, char separator, bool header,
                          bool displayLabels = false, bool visibleOnly = false);
// The same lines written to the file, replacing it.
bool SaveDataSetToText(TDataSet& dataSet, std::string_view fileName, char separator, bool header,
                       bool displayLabels = false, bool visibleOnly = false);

// Appends a record per line. With no dataset, or a client dataset that is closed, the structure
// is made from the first line (CreateStringDataSet). With the header flag the first line names
// the columns (field names or display labels, letter case ignored; an unknown title's column is
// skipped; the first empty title ends the list) and is not data; without it the columns are the
// fields in order and the first line is data too. False, with nothing changed, for no lines.
bool LoadDataSetFromStrings(TDataSet* dataSet, const TStrings& lines, char separator, bool header);
// The same for a file's lines; false for a missing or empty file.
bool LoadDataSetFromText(TDataSet* dataSet, std::string_view fileName, char separator, bool header);

// Gives the dataset (or, with none, one spare dataset kept for the whole process) one string
// field of 255 characters per title of `firstLine` (titles trimmed; the first empty one ends the
// list) and opens it empty. An empty line leaves the dataset as it is.
TDataSet* CreateStringDataSet(TDataSet* dataSet, std::string_view firstLine, char separator);

// Writes the current record into the section: every field a key (its name, or display label),
// NULL as an empty value, integers in decimal, booleans "1"/"0", memos escaped, floats and dates
// as their text, other values as their text with line breaks made blanks (an INI value is one
// line). A value with a blank at either end, or enclosed in quotes of its own, is written inside
// double quotes, which the reader takes off, so that it reads back as it was. Values of a record
// being edited are written as they stand, posted or not.
void SaveDataSetToIni(TDataSet& dataSet, TIniFile& ini, std::string_view section, bool displayLabels = false);
// The same into the file, which is then updated.
bool SaveDataSetToIni(TDataSet& dataSet, std::string_view iniFileName, std::string_view section,
                      bool displayLabels = false);

// Reads the section into the current record (appending one when the dataset has none) and posts
// it. A key that is missing or empty leaves its field as it is; a float or date that does not
// convert keeps the field's value; an integer or boolean that does not convert keeps the field's
// value, the other keys are still read, and EConvertError names it after the post.
void LoadDataSetFromIni(TDataSet& dataSet, const TIniFile& ini, std::string_view section,
                        bool displayLabels = false);
bool LoadDataSetFromIni(TDataSet& dataSet, std::string_view iniFileName, std::string_view section,
                        bool displayLabels = false);

}  // namespace tv
