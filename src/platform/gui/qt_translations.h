#pragma once
// The toolkit's own texts (the file dialog's "Leta i:", its buttons, context menus) in Swedish, as
// every text of the program is: the toolkit's Swedish catalogues are installed into the
// application once it exists, and a few texts they lack are filled in from a table of our own. A
// missing catalogue (the translations package not installed) leaves those texts in English and is
// no error.

namespace tv {

// True when at least one Swedish catalogue of the toolkit was found and installed.
bool InstallSwedishToolkitTexts();

}  // namespace tv
