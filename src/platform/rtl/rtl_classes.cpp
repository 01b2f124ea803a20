#include "platform/rtl/rtl_classes.h"

#include "platform/rtl/bits.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/interface.h"
#include "platform/rtl/parser.h"
#include "platform/rtl/resource_stream.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/string_list.h"

namespace tv {

std::vector<const TClassInfo*> RtlClasses() {
    return {&TObject::StaticClassInfo(), &TPersistent::StaticClassInfo(), &TComponent::StaticClassInfo(),
            &TBits::StaticClassInfo(), &TParser::StaticClassInfo(), &TCollectionItem::StaticClassInfo(),
            &TCollection::StaticClassInfo(), &TOwnedCollection::StaticClassInfo(),
            // string lists and streams
            &TStrings::StaticClassInfo(), &TStringList::StaticClassInfo(), &TStream::StaticClassInfo(),
            &THandleStream::StaticClassInfo(), &TFileStream::StaticClassInfo(),
            &TCustomMemoryStream::StaticClassInfo(), &TMemoryStream::StaticClassInfo(),
            &TStringStream::StaticClassInfo()};
}

}  // namespace tv
