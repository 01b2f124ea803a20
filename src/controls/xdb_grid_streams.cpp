// Column collections as form text: the stream of a collection (a wrapper object holding its columns
// and the grid's order fields), and the grid's own form properties "Columns" and "OrderFields".
//
//     object TXColumnsWrapper
//       Columns = <
//         item
//           FieldName = 'ID'
//           Width = 48
//           Title.Caption = 'Nr'
//         end>
//       OrderFields = 'ID DESC'
//     end
//
// The text is what TParser reads. A column writes the values it was given: a value that follows a
// default (the grid, the field) is written only when it was assigned, every other value when it
// differs from a new column's. Component references (menus, images, the lookup dataset) are not
// written: a column file stands alone.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "controls/xdb_grid.h"
#include "platform/gui/font.h"
#include "platform/rtl/parser.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/ascii_case.h"

namespace tv {
namespace {

constexpr std::string_view kWrapperClass = "TXColumnsWrapper";
constexpr std::string_view kInvalidValue = "Invalid property value";

// ---------------------------------------------------------------- values as form text

template <class V>
struct TSetElement {};
template <class E>
struct TSetElement<TSet<E>> {
    using Type = E;
};
template <class V>
constexpr bool kIsSet = requires { typename TSetElement<V>::Type; };

template <class V>
std::string ValueText(const V& v) {
    if constexpr (std::is_same_v<V, bool>)
        return v ? "True" : "False";
    else if constexpr (std::is_same_v<V, std::string>)
        return QuotedFormString(v);
    else if constexpr (std::is_enum_v<V>)
        return std::string(TEnumInfo<V>::Names[static_cast<int>(v)]);
    else if constexpr (kIsSet<V>) {
        using E = typename TSetElement<V>::Type;
        std::string out = "[";
        for (int i = 0; i < TEnumInfo<E>::Count; ++i)
            if (v.Contains(static_cast<E>(i))) out += (out.size() > 1 ? ", " : "") + std::string(TEnumInfo<E>::Names[i]);
        return out + "]";
    } else
        return std::to_string(v);
}

template <class E>
E ReadEnum(TParser& parser) {
    parser.CheckToken(toSymbol);
    const int value = TypeInfoOf<E>().EnumValue(parser.TokenString());
    if (value < 0) parser.Error(kInvalidValue);
    parser.NextToken();
    return static_cast<E>(value);
}

template <class V>
V ReadValue(TParser& parser) {
    if constexpr (std::is_same_v<V, bool>) {
        parser.CheckToken(toSymbol);
        const bool value = parser.TokenSymbolIs("True");
        if (!value && !parser.TokenSymbolIs("False")) parser.Error(kInvalidValue);
        parser.NextToken();
        return value;
    } else if constexpr (std::is_same_v<V, std::string>) {
        parser.CheckToken(toString);
        std::string value = parser.TokenString();
        parser.NextToken();
        return value;
    } else if constexpr (std::is_enum_v<V>) {
        return ReadEnum<V>(parser);
    } else if constexpr (kIsSet<V>) {
        V value;
        parser.CheckToken('[');
        if (parser.NextToken() != ']')
            for (;;) {
                value = value + V{ReadEnum<typename TSetElement<V>::Type>(parser)};
                if (parser.Token() == ']') break;
                parser.CheckToken(',');
                parser.NextToken();
            }
        parser.NextToken();
        return value;
    } else {
        parser.CheckToken(toInteger);
        const auto value = static_cast<V>(parser.TokenInt());
        parser.NextToken();
        return value;
    }
}

std::string StringsText(const TStrings& list) {
    std::string out = "(";
    for (int i = 0; i < list.Count(); ++i) out += " " + QuotedFormString(list.Strings(i));
    return out + " )";
}

void ReadStrings(TParser& parser, TStrings& list) {
    list.Clear();
    parser.CheckToken('(');
    while (parser.NextToken() != ')') {
        parser.CheckToken(toString);
        list.Add(parser.TokenString());
    }
    parser.NextToken();
}

// ---------------------------------------------------------------- the properties of a column

// One property of T: whether it is written (against a new object), its text, and how it is read.
template <class T>
struct TStreamProp {
    std::string Name;
    std::function<bool(T& object, T& fresh)> Stored;
    std::function<std::string(T& object)> Text;
    std::function<void(T& object, TParser& parser)> Read;
};

// A value property: written when it differs from the new object's, or by `stored` when given.
template <class T, class Get, class Set>
TStreamProp<T> Value(std::string name, Get get, Set set, std::function<bool(T&)> stored = nullptr) {
    using V = std::remove_cvref_t<std::invoke_result_t<Get, T&>>;
    TStreamProp<T> p;
    p.Name = std::move(name);
    if (stored)
        p.Stored = [stored](T& o, T&) { return stored(o); };
    else
        p.Stored = [get](T& o, T& fresh) { return ValueText<V>(get(o)) != ValueText<V>(get(fresh)); };
    p.Text = [get](T& o) { return ValueText<V>(get(o)); };
    p.Read = [set](T& o, TParser& parser) { set(o, ReadValue<V>(parser)); };
    return p;
}

// A list of lines, written when it has any.
template <class T, class Get>
TStreamProp<T> Lines(std::string name, Get get) {
    TStreamProp<T> p;
    p.Name = std::move(name);
    p.Stored = [get](T& o, T&) { return get(o)->Count() > 0; };
    p.Text = [get](T& o) { return StringsText(*get(o)); };
    p.Read = [get](T& o, TParser& parser) { ReadStrings(parser, *get(o)); };
    return p;
}

// The parts of a font, under `prefix`, written when the font was assigned.
template <class T, class GetFont>
void AddFont(std::vector<TStreamProp<T>>& props, const std::string& prefix, GetFont font,
             std::function<bool(T&)> assigned) {
    props.push_back(Value<T>(prefix + "Color", [font](T& o) { return font(o)->Color(); },
                             [font](T& o, TColor v) { font(o)->SetColor(v); }, assigned));
    props.push_back(Value<T>(prefix + "Height", [font](T& o) { return font(o)->Height(); },
                             [font](T& o, int v) { font(o)->SetHeight(v); }, assigned));
    props.push_back(Value<T>(prefix + "Name", [font](T& o) { return font(o)->Name(); },
                             [font](T& o, const std::string& v) { font(o)->SetName(v); }, assigned));
    props.push_back(Value<T>(prefix + "Pitch", [font](T& o) { return font(o)->Pitch(); },
                             [font](T& o, TFontPitch v) { font(o)->SetPitch(v); }, assigned));
    props.push_back(Value<T>(prefix + "Style", [font](T& o) { return font(o)->Style(); },
                             [font](T& o, TFontStyles v) { font(o)->SetStyle(v); }, assigned));
}

#define TV_COLUMN_PROP(Name) \
    Value<TXColumn>(#Name, [](TXColumn& c) { return c.Name(); }, [](TXColumn& c, auto v) { c.Set##Name(v); })
#define TV_TITLE_PROP(Name)                                                    \
    Value<TXColumn>("Title." #Name, [](TXColumn& c) { return c.Title()->Name(); }, \
                    [](TXColumn& c, auto v) { c.Title()->Set##Name(v); })

std::function<bool(TXColumn&)> Assigned(TXColumnValue value) {
    return [value](TXColumn& c) { return c.AssignedValues().Contains(value); };
}

// The properties in the order they are written and expected: those that change how the others
// read (ExpandCols before Expanded, the field before the width) come first.
const std::vector<TStreamProp<TXColumn>>& ColumnProps() {
    static const std::vector<TStreamProp<TXColumn>> props = [] {
        std::vector<TStreamProp<TXColumn>> p = {
            TV_COLUMN_PROP(FieldName),
            TV_COLUMN_PROP(AutoNumber),
            TV_COLUMN_PROP(ExpandCols),
            Value<TXColumn>("Expanded", [](TXColumn& c) { return c.Expanded(); },
                            [](TXColumn& c, bool v) { c.SetExpanded(v); }),
            TV_COLUMN_PROP(ExpandStyle),
            Value<TXColumn>("Visible", [](TXColumn& c) { return c.Visibility(); },
                            [](TXColumn& c, bool v) { c.SetVisible(v); }),
            Value<TXColumn>("Width", [](TXColumn& c) { return c.Width(); }, [](TXColumn& c, int v) { c.SetWidth(v); },
                            [](TXColumn& c) { return c.WidthStored(); }),
            TV_COLUMN_PROP(WidthMax),
            TV_COLUMN_PROP(WidthMin),
            Value<TXColumn>("Alignment", [](TXColumn& c) { return c.Alignment(); },
                            [](TXColumn& c, TAlignment v) { c.SetAlignment(v); }, Assigned(cvAlignment)),
            Value<TXColumn>("Color", [](TXColumn& c) { return c.Color(); }, [](TXColumn& c, TColor v) { c.SetColor(v); },
                            Assigned(cvColor)),
            Value<TXColumn>("ImeMode", [](TXColumn& c) { return c.ImeMode(); },
                            [](TXColumn& c, TImeMode v) { c.SetImeMode(v); }, Assigned(cvImeMode)),
            Value<TXColumn>("ImeName", [](TXColumn& c) { return c.ImeName(); },
                            [](TXColumn& c, const std::string& v) { c.SetImeName(v); }, Assigned(cvImeName)),
            Value<TXColumn>("ReadOnly", [](TXColumn& c) { return c.ReadOnly(); },
                            [](TXColumn& c, bool v) { c.SetReadOnly(v); }, Assigned(cvReadOnly)),
            TV_COLUMN_PROP(ButtonStyle),
            TV_COLUMN_PROP(CharCase),
            TV_COLUMN_PROP(CheckBox),
            TV_COLUMN_PROP(CheckBoxKind),
            TV_COLUMN_PROP(CheckBoxStyle),
            TV_COLUMN_PROP(CheckBoxToggle),
            TV_COLUMN_PROP(CheckBoxValues),
            TV_COLUMN_PROP(DialogOptions),
            TV_COLUMN_PROP(DropDownRows),
            TV_COLUMN_PROP(DropDownWidth),
            TV_COLUMN_PROP(EditMemo),
            TV_COLUMN_PROP(EditorHint),
            TV_COLUMN_PROP(Ellipsis),
            TV_COLUMN_PROP(Hint),
            TV_COLUMN_PROP(ImageDraw),
            TV_COLUMN_PROP(ImageOffsetX),
            TV_COLUMN_PROP(ImageOffsetY),
            TV_COLUMN_PROP(ListOptions),
            TV_COLUMN_PROP(LookupKeyField),
            TV_COLUMN_PROP(LookupListFields),
            TV_COLUMN_PROP(LookupListTitles),
            TV_COLUMN_PROP(LookupListWidths),
            TV_COLUMN_PROP(PickOptions),
            TV_COLUMN_PROP(PickTextFormat),
            Lines<TXColumn>("PickList", [](TXColumn& c) { return c.PickList(); }),
            Lines<TXColumn>("PickText", [](TXColumn& c) { return c.PickText(); }),
            TV_COLUMN_PROP(QuickDraw),
            TV_COLUMN_PROP(ShowBlob),
            TV_COLUMN_PROP(ShowEdit),
            TV_COLUMN_PROP(SuppressRTL),
            TV_COLUMN_PROP(ToolTips),
            TV_COLUMN_PROP(ToolTipsWidth),
            TV_COLUMN_PROP(Transparent),
            TV_COLUMN_PROP(TransparentColor),
            TV_COLUMN_PROP(VAlignment),
            TV_COLUMN_PROP(Wallpaper),
            TV_COLUMN_PROP(WordWrap),
            Value<TXColumn>("Title.Alignment", [](TXColumn& c) { return c.Title()->Alignment(); },
                            [](TXColumn& c, TAlignment v) { c.Title()->SetAlignment(v); }, Assigned(cvTitleAlignment)),
            Value<TXColumn>("Title.Caption", [](TXColumn& c) { return c.Title()->Caption(); },
                            [](TXColumn& c, const std::string& v) { c.Title()->SetCaption(v); },
                            Assigned(cvTitleCaption)),
            Value<TXColumn>("Title.Color", [](TXColumn& c) { return c.Title()->Color(); },
                            [](TXColumn& c, TColor v) { c.Title()->SetColor(v); }, Assigned(cvTitleColor)),
            TV_TITLE_PROP(AutoToggle),
            TV_TITLE_PROP(Button),
            TV_TITLE_PROP(Ellipsis),
            TV_TITLE_PROP(Header),
            TV_TITLE_PROP(HeaderHint),
            TV_TITLE_PROP(Hint),
            TV_TITLE_PROP(ImageIndex),
            TV_TITLE_PROP(Marker),
            TV_TITLE_PROP(MarkerIndex),
            TV_TITLE_PROP(VAlignment),
            TV_TITLE_PROP(WordWrap),
        };
        AddFont<TXColumn>(p, "Font.", [](TXColumn& c) { return c.Font(); }, Assigned(cvFont));
        AddFont<TXColumn>(p, "Title.Font.", [](TXColumn& c) { return c.Title()->Font(); }, Assigned(cvTitleFont));
        return p;
    }();
    return props;
}

#undef TV_COLUMN_PROP
#undef TV_TITLE_PROP

const TStreamProp<TXColumn>* FindColumnProp(std::string_view name) {
    for (const TStreamProp<TXColumn>& p : ColumnProps())
        if (SameTextAscii(p.Name, name)) return &p;
    return nullptr;
}

// ---------------------------------------------------------------- collections

// Sets the grid's column-streaming state for the duration of one stream.
class TColumnsStateScope {
public:
    TColumnsStateScope(TComponentState& state, TComponentStateE kind) : fState(state), fSaved(state) {
        fState = fState + TComponentState{kind};
    }
    ~TColumnsStateScope() { fState = fSaved; }

private:
    TComponentState& fState;
    TComponentState fSaved;
};

std::string CollectionText(TXDBGridColumns& columns, const std::string& indent) {
    // A column of the same class, alone in a collection of no grid, shows the values never set.
    TXDBGridColumns scratch(nullptr, columns.ItemClass());
    auto* fresh = static_cast<TXColumn*>(scratch.Add());
    std::string out = "<";
    for (int i = 0; i < columns.Count(); ++i) {
        TXColumn& column = *columns.Items(i);
        out += "\n" + indent + "  item";
        for (const TStreamProp<TXColumn>& p : ColumnProps())
            if (p.Stored(column, *fresh)) out += "\n" + indent + "    " + p.Name + " = " + p.Text(column);
        out += "\n" + indent + "  end";
    }
    return out + ">";
}

// Reads "<item ... end ...>" into the collection, which is emptied first.
void ReadCollection(TParser& parser, TXDBGridColumns& columns) {
    columns.BeginUpdate();
    try {
        columns.Clear();
        parser.CheckToken('<');
        parser.NextToken();
        while (parser.Token() != '>') {
            parser.CheckTokenSymbol("item");
            parser.NextToken();
            TXColumn& column = *columns.Add();
            while (!parser.TokenSymbolIs("end")) {
                parser.CheckToken(toSymbol);
                const std::string name = parser.TokenComponentIdent();
                const TStreamProp<TXColumn>* prop = FindColumnProp(name);
                if (!prop) parser.Error("Property " + name + " does not exist");
                parser.NextToken();
                parser.CheckToken('=');
                parser.NextToken();
                prop->Read(column, parser);
            }
            parser.NextToken();
        }
        parser.NextToken();
    } catch (...) {
        columns.EndUpdate();
        throw;
    }
    columns.EndUpdate();
}

}  // namespace

// ---------------------------------------------------------------- the collection's streams

void TXDBGridColumns::SaveToStream(TStream& Stream) {
    std::string text = "object " + std::string(kWrapperClass) + "\n  Columns = ";
    {
        std::unique_ptr<TColumnsStateScope> writing;
        if (fGrid) writing = std::make_unique<TColumnsStateScope>(fGrid->fColumnsState, csWriting);
        text += CollectionText(*this, "  ");
    }
    const std::string order = fGrid ? fGrid->OrderFields() : std::string();
    if (!order.empty()) text += "\n  OrderFields = " + QuotedFormString(order);
    text += "\nend\n";
    Stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TXDBGridColumns::LoadFromStream(TStream& Stream) {
    TParser parser(Stream);
    parser.CheckTokenSymbol("object");
    parser.NextToken();
    parser.CheckToken(toSymbol);
    if (!parser.TokenSymbolIs(kWrapperClass)) parser.Error(std::string(kWrapperClass) + " expected");
    parser.NextToken();
    // The columns are read into a collection of the grid's, in its reading state, and copied.
    std::unique_ptr<TXDBGridColumns> read =
        fGrid ? fGrid->CreateColumns() : std::make_unique<TXDBGridColumns>(nullptr, ItemClass());
    std::string order;
    {
        std::unique_ptr<TColumnsStateScope> reading;
        if (fGrid) reading = std::make_unique<TColumnsStateScope>(fGrid->fColumnsState, csReading);
        while (!parser.TokenSymbolIs("end")) {
            parser.CheckToken(toSymbol);
            const bool columns = parser.TokenSymbolIs("Columns");
            if (!columns && !parser.TokenSymbolIs("OrderFields"))
                parser.Error("Property " + parser.TokenString() + " does not exist");
            parser.NextToken();
            parser.CheckToken('=');
            parser.NextToken();
            if (columns)
                ReadCollection(parser, *read);
            else
                order = ReadValue<std::string>(parser);
        }
    }
    if (!fGrid) {
        fOrderList.clear();
        Assign(read.get());
        return;
    }
    // The new columns' markers and the order text reach the grid as one order change.
    fGrid->BeginOrderUpdate();
    try {
        fOrderList.clear();
        Assign(read.get());
        fGrid->SetOrderFields(order);
    } catch (...) {
        fGrid->EndOrderUpdate();
        throw;
    }
    fGrid->EndOrderUpdate();
}

void TXDBGridColumns::SaveToFile(const std::string& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

void TXDBGridColumns::LoadFromFile(const std::string& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

// ---------------------------------------------------------------- the grid's form properties

bool TXCustomDBGrid::ColumnsStored(TXCustomDBGrid* Ancestor) {
    if (!Ancestor) return fColumns->State() == csCustomized;
    if (fColumns->State() != Ancestor->fColumns->State()) return true;
    if (fColumns->State() != csCustomized) return false;
    TColumnsStateScope mine(fColumnsState, csWriting);
    TColumnsStateScope theirs(Ancestor->fColumnsState, csWriting);
    return CollectionText(*fColumns, "") != CollectionText(*Ancestor->fColumns, "");
}

std::string TXCustomDBGrid::DefinedPropertiesText(TXCustomDBGrid* Ancestor, const std::string& Indent) {
    std::string text;
    if (ColumnsStored(Ancestor)) {
        TColumnsStateScope writing(fColumnsState, csWriting);
        text += Indent + "Columns = " + CollectionText(*fColumns, Indent) + "\n";
    }
    if (!OrderFields().empty()) text += Indent + "OrderFields = " + QuotedFormString(OrderFields()) + "\n";
    return text;
}

bool TXCustomDBGrid::ReadDefinedProperty(TParser& Parser) {
    const bool columns = Parser.TokenSymbolIs("Columns");
    if (!columns && !Parser.TokenSymbolIs("OrderFields")) return false;
    Parser.NextToken();
    Parser.CheckToken('=');
    Parser.NextToken();
    if (columns) {
        TColumnsStateScope reading(fColumnsState, csReading);
        ReadCollection(Parser, *fColumns);
    } else {
        // The order goes through its property, as a form's published value does.
        SetOrderFields(ReadValue<std::string>(Parser));
    }
    return true;
}

}  // namespace tv
