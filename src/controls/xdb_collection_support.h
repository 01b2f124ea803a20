#pragma once
// What the grid's column and total collections share: a step run inside a collection's update
// bracket, and a font copied without telling its listeners.

#include "platform/rtl/collection.h"

namespace tv {

class TFont;

// Runs `step` between the collection's BeginUpdate and EndUpdate; the bracket closes also when
// the step raises, so one change notice follows.
template <class Step>
void WithinUpdate(TCollection& collection, Step&& step) {
    collection.BeginUpdate();
    try {
        step();
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}

// Every item of `collection` back to its defaults, with one change notice.
template <class Collection>
void RestoreItemDefaults(Collection& collection) {
    WithinUpdate(collection, [&] {
        for (int i = 0; i < collection.Count(); ++i) collection.Items(i)->RestoreDefaults();
    });
}

// Copies `source` into `font` without telling its listeners (a default font followed quietly).
void CopyFontQuietly(TFont& font, const TFont& source);

}  // namespace tv
