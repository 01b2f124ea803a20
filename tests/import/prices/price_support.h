#pragma once
// What the sales-price and purchase-price import tests share: the demo company's price tables as
// lines, a kit fault rule as seed text, and one run of a fixture through the checks and imports a
// job script calls before the price import, with the price import's event lines and result.

#include <functional>

#include "tests/import/articles/article_support.h"
#include "tests/support/format_settings.h"

namespace tv::test {

inline std::vector<std::string> SalesPriceDump(TImportWorld& world) {
    return Dump(world.AdminODBC(), "prislista || '|' || artnr || '|' || antal || '|' || ifnull(pris,'')",
                "forspris", "prislista, artnr, antal");
}
inline std::vector<std::string> PriceListDump(TImportWorld& world) {
    return Dump(world.AdminODBC(), "kod || '|' || ifnull(benamning,'')", "prislista", "kod");
}

// Makes the kit export `function` answer `code` once, after `skip` good calls.
inline std::string KitFault(const char* function, int code, int skip) {
    return "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('" + std::string(function) +
           "', " + std::to_string(code) + ", NULL, " + std::to_string(skip) + ", 1);\n";
}

// The number formats a case runs under.
enum class TNumbers { Dot, Swedish, ForceDot };

inline void UseNumbers(TImportWorld& world, TNumbers numbers) {
    if (numbers == TNumbers::Swedish) world.Formats() = SwedishSettings();
    if (numbers == TNumbers::ForceDot) world.Formats() = ForceDotSettings();
}

// Loads the fixture (below tests/fixtures/import/prices), registers and resolves its articles and
// suppliers, runs `check` (unless null; its result is written after the events when false) and
// then `import`, answering the import's event lines followed by its name and result.
inline std::vector<std::string> RunPriceImport(TImportWorld& world, const std::string& fixture,
                                               bool (TDMImport::*check)(), const char* operation,
                                               const std::function<bool()>& import) {
    TDMImport& dm = world.Import();
    if (!dm.LoadXML(FixturePath("import/prices/" + fixture))) return {"LoadXML false"};
    dm.CheckArticles();
    dm.ImportArticles();
    dm.CheckSuppliers();
    dm.ImportSuppliers();
    std::vector<std::string> lines;
    if (check && !(dm.*check)()) {
        lines = Visible(world.Events().Take());
        lines.erase(lines.begin(), lines.end() - 1);  // the check's reason
        lines.push_back("check false");
    }
    world.Events().Clear();
    const bool result = import();
    std::vector<std::string> events = Visible(world.Events().Take());
    lines.insert(lines.end(), events.begin(), events.end());
    lines.push_back(std::string(operation) + (result ? " true" : " false"));
    return lines;
}

}  // namespace tv::test
