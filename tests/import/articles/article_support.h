#pragma once
// What the article, auxiliary-register and stock-taking import tests share: the dumps of the tables
// they touch, and the check that they leave no kit dataset with a pending edit or insert.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"

namespace tv::test {

inline std::vector<std::string> ArticleDump(TImportWorld& world) {
    return Dump(world.AdminODBC(),
                "artnr || '|' || ifnull(benamning,'') || '|' || ifnull(enhet,'') || '|' || "
                "ifnull(huvudleverantor,'') || '|' || ifnull(webshop,'') || '|' || ifnull(inaktiv,'')",
                "art", "artnr");
}
inline std::vector<std::string> PurchasePriceDump(TImportWorld& world) {
    return Dump(
        world.AdminODBC(),
        "artnr || '|' || levnr || '|' || antal || '|' || ifnull(pris,'') || '|' || ifnull(levartnr,'')",
        "inkpris", "artnr, levnr, antal");
}
inline std::vector<std::string> LanguageDump(TImportWorld& world) {
    return Dump(world.AdminODBC(),
                "sprakkod || '|' || artnr || '|' || ifnull(benamning,'') || '|' || ifnull(benamning2,'')",
                "artspr", "artnr, sprakkod");
}

// No dataset these imports write is left in edit or insert state.
inline void ExpectNothingPending(TImportWorld& world, const std::string& name) {
    for (const char* dataSet : {"ADKArtiklar", "AdkInkPris", "AdkArtikelSprak", "ADKAux", "AdkInventering"})
        EXPECT_FALSE(world.DataSet(dataSet).IsEditing()) << name << ": " << dataSet;
}

// Runs an import operation and writes its result after its event lines, as the expectations do.
inline std::vector<std::string> Imported(TImportWorld& world, const char* operation,
                                         bool (TDMImport::*import)()) {
    world.Events().Clear();
    const bool result = (world.Import().*import)();
    world.Events().Lines.push_back(std::string(operation) + (result ? " true" : " false"));
    return Visible(world.Events().Take());
}

}  // namespace tv::test
