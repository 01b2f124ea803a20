#pragma once
// The running numbers of export file names: the identities table (CDSLopnr, one record) holds per
// kind the number the next name uses. Each advance is written into the settings INI file's section
// "identities" at once, so a number is never handed out twice, also when other runs of the program
// share the settings file.

#include <functional>
#include <string>
#include <string_view>

#include "platform/data/data_set.h"

namespace tv {

// Where the numbers are kept for every run of the program: the settings file and its section.
struct TSharedIdentities {
    std::function<std::string()> FileName;
    std::string Section;
};

class TRunningNumbers {
public:
    // `saveIdentities` writes the identities table's record into its INI section. With `shared`
    // given, each advance holds the settings file's lock from reading the stored number to saving
    // the next one, and starts from the stored number when another run has gone further.
    TRunningNumbers(TDataSet& identities, std::function<void()> saveIdentities, TSharedIdentities shared = {})
        : identities_(identities), saveIdentities_(std::move(saveIdentities)), shared_(std::move(shared)) {}

    // The number to use now (an empty field reads 0), after storing it plus one and saving the
    // section; -1, and nothing changed, when the table has no field of that name. When the save
    // fails its error is raised, and the table already holds the next number.
    int getLopNr(std::string_view field);

private:
    TDataSet& identities_;
    std::function<void()> saveIdentities_;
    TSharedIdentities shared_;
};

}  // namespace tv
