#pragma once
// The running numbers of export file names: the identities table (CDSLopnr, one record) holds per
// kind the number the next name uses. Each advance is written into the settings INI file's section
// "identities" at once, so a number is never handed out twice.

#include <functional>
#include <string_view>

#include "platform/data/data_set.h"

namespace tv {

class TRunningNumbers {
public:
    // `saveIdentities` writes the identities table's record into its INI section.
    TRunningNumbers(TDataSet& identities, std::function<void()> saveIdentities)
        : identities_(identities), saveIdentities_(std::move(saveIdentities)) {}

    // The number to use now (an empty field reads 0), after storing it plus one and saving the
    // section; -1, and nothing changed, when the table has no field of that name. When the save
    // fails its error is raised, and the table already holds the next number.
    int getLopNr(std::string_view field);

private:
    TDataSet& identities_;
    std::function<void()> saveIdentities_;
};

}  // namespace tv
