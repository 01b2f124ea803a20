#pragma once
// Steps the engine tests take on a central data module of their own: connecting as a job's start
// does (the company, its kit datasets, its database), with every kit dataset on the test's format
// settings, and setting one value of a settings table.

#include <string>

#include "adk/adk_dataset.h"
#include "core/main_dm.h"
#include "platform/rtl/format_settings.h"

namespace tv::test {

inline void ConnectLikeAJob(TMainDM& dm, const TFormatSettings& formats) {
    dm.connectSPCS();
    dm.openADK();
    dm.connectODBC();
    for (int i = 0; i < dm.ComponentCount(); ++i)
        if (auto* dataSet = dynamic_cast<TAdkDataSet*>(dm.Components(i)))
            dataSet->SetFormatSettings(&formats);
}

// An empty value clears the field.
inline void SetSetting(TMainDM& dm, const std::string& table, const char* field, const std::string& value) {
    TClientDataSet& settings = dm.Table(table);
    settings.Edit();
    if (value.empty())
        settings.FieldByName(field).Clear();
    else
        settings.FieldByName(field).SetAsString(value);
    settings.Post();
}

}  // namespace tv::test
