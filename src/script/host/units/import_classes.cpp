// The unit classes: string lists, bit sets, streams, the text parser, collections and their
// constants and types.

#include <algorithm>

#include "platform/rtl/bits.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/parser.h"
#include "platform/rtl/resource_stream.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/string_list.h"
#include "script/host/units/import_units.h"

namespace tv::script::units {

namespace {

constexpr std::string_view kParserErrorPrefix = "Parser error ";

// ---- string lists

void AddStringsOf(TStrings* self, TStrings* strings) {
    self->AddStrings(NotNil(strings));
}
bool EqualsOf(TStrings* self, TStrings* strings) {
    return self->Equals(NotNil(strings));
}
void LoadFromFileOf(TStrings* self, const std::string& fileName) {
    self->LoadFromFile(fileName);
}
void SaveToFileOf(TStrings* self, const std::string& fileName) {
    self->SaveToFile(fileName);
}
void LoadFromStreamOf(TStrings* self, TStream* stream) {
    self->LoadFromStream(NotNil(stream));
}
void SaveToStreamOf(TStrings* self, TStream* stream) {
    self->SaveToStream(NotNil(stream));
}
// PChar text is the script's 8-bit text.
void SetTextOf(TStrings* self, const AnsiString& text) {
    self->SetText(Cp1252ToUtf8(text.view()));
}
AnsiString GetTextOf(TStrings* self) {
    return AnsiString(Utf8ToCp1252(self->Text()));
}
// The list's characters are 16-bit; the script's Char sees their low byte and sets the 8-bit code.
char DelimiterOf(TStrings* self) {
    return static_cast<char>(self->Delimiter() & 0xFF);
}
void SetDelimiterOf(TStrings* self, char c) {
    self->SetDelimiter(static_cast<unsigned char>(c));
}
char QuoteCharOf(TStrings* self) {
    return static_cast<char>(self->QuoteChar() & 0xFF);
}
void SetQuoteCharOf(TStrings* self, char c) {
    self->SetQuoteChar(static_cast<unsigned char>(c));
}
char NameValueSeparatorOf(TStrings* self) {
    return static_cast<char>(self->NameValueSeparator() & 0xFF);
}
void SetNameValueSeparatorOf(TStrings* self, char c) {
    self->SetNameValueSeparator(static_cast<unsigned char>(c));
}

// ---- streams

// The bytes of a string's own character storage, two per character: the storage it shares with the
// script's variable, never resized. A count beyond it is cut to it.
char* StorageOf(const UnicodeString& buffer, int32_t count, int64_t& usable) {
    usable = std::clamp<int64_t>(count, 0, int64_t{buffer.size()} * 2);
    return reinterpret_cast<char*>(const_cast<char16_t*>(buffer.data()));
}
int32_t ReadOf(TStream* self, const UnicodeString& buffer, int32_t count) {
    int64_t n = 0;
    char* at = StorageOf(buffer, count, n);
    return static_cast<int32_t>(self->Read(at, n));
}
int32_t WriteOf(TStream* self, const UnicodeString& buffer, int32_t count) {
    int64_t n = 0;
    const char* at = StorageOf(buffer, count, n);
    return static_cast<int32_t>(self->Write(at, n));
}
void ReadBufferOf(TStream* self, const UnicodeString& buffer, int32_t count) {
    int64_t n = 0;
    char* at = StorageOf(buffer, count, n);
    if (n < count) throw EReadError(std::string(kReadError));
    self->ReadBuffer(at, n);
}
void WriteBufferOf(TStream* self, const UnicodeString& buffer, int32_t count) {
    int64_t n = 0;
    const char* at = StorageOf(buffer, count, n);
    if (n < count) throw EWriteError(std::string(kWriteError));
    self->WriteBuffer(at, n);
}
int32_t SeekOf(TStream* self, int32_t offset, uint16_t origin) {
    if (origin > soEnd) throw EStreamError("Invalid stream seek origin");
    return static_cast<int32_t>(self->Seek(offset, static_cast<TSeekOrigin>(origin)));
}
int64_t CopyFromOf(TStream* self, TStream* source, int64_t count) {
    return self->CopyFrom(NotNil(source), count);
}
// Position and Size are 64-bit: the script sees the low 32 bits; what it writes is sign-extended.
int32_t PositionOf(TStream* self) {
    return self->Position32();
}
void SetPositionOf(TStream* self, int32_t v) {
    self->SetPosition32(v);
}
int32_t SizeOf(TStream* self) {
    return self->Size32();
}
void SetSizeOf(TStream* self, int32_t v) {
    self->SetSize32(v);
}
TObject* NewHandleStream(const TClassInfo&, int32_t handle) {
    return new THandleStream(handle);
}
TObject* NewFileStream(const TClassInfo&, const std::string& fileName, uint16_t mode) {
    return new TFileStream(fileName, mode);
}
// The stream holds the text's Windows-1252 bytes, as the class library's ANSI string stream does.
TObject* NewStringStream(const TClassInfo&, const std::string& text) {
    return new TStringStream(text);
}
void CustomSaveToStreamOf(TCustomMemoryStream* self, TStream* stream) {
    self->SaveToStream(NotNil(stream));
}
void CustomSaveToFileOf(TCustomMemoryStream* self, const std::string& fileName) {
    self->SaveToFile(fileName);
}
void MemoryLoadFromStreamOf(TMemoryStream* self, TStream* stream) {
    self->LoadFromStream(NotNil(stream));
}
void MemoryLoadFromFileOf(TMemoryStream* self, const std::string& fileName) {
    self->LoadFromFile(fileName);
}
void MemorySetSizeOf(TMemoryStream* self, int32_t size) {
    self->SetSize(size);
}
// There are no resources to load: both constructors raise "resource not found".
TObject* NewResourceStream(const TClassInfo&, int32_t instance, const std::string& name,
                           const AnsiString& type) {
    return new TResourceStream(instance, name, Cp1252ToUtf8(type.view()));
}
TObject* NewResourceStreamFromID(const TClassInfo&, int32_t instance, int32_t id, const AnsiString& type) {
    return new TResourceStream(instance, id, Cp1252ToUtf8(type.view()));
}

// ---- the parser

TObject* NewParser(const TClassInfo&, TStream* stream) {
    return new TParser(NotNil(stream));
}
void ParserErrorOf(TParser* self, int32_t ident) {
    self->ErrorStr(std::string(kParserErrorPrefix) + std::to_string(ident));
}
void HexToBinaryOf(TParser* self, TStream* stream) {
    self->HexToBinary(NotNil(stream));
}
int32_t SourcePosOf(TParser* self) {
    return static_cast<int32_t>(self->SourcePos());
}
int32_t TokenIntOf(TParser* self) {
    return static_cast<int32_t>(self->TokenInt());
}

constexpr TImportRow kClasses[] = {
    Constant("soFromBeginning", "LongInt", 0),
    Constant("soFromCurrent", "LongInt", 1),
    Constant("soFromEnd", "LongInt", 2),
    Constant("toEOF", "Char", 0),
    Constant("toSymbol", "Char", 1),
    Constant("toString", "Char", 2),
    Constant("ToInteger", "Char", 3),
    Constant("toFloat", "Char", 4),
    Constant("fmCreate", "LongInt", 0xFFFF),
    Constant("fmOpenRead", "LongInt", 0),
    Constant("fmOpenWrite", "LongInt", 1),
    Constant("fmOpenReadWrite", "LongInt", 2),
    Constant("fmShareCompat", "LongInt", 0),
    Constant("fmShareExclusive", "LongInt", 0x10),
    Constant("fmShareDenyWrite", "LongInt", 0x20),
    Constant("fmShareDenyRead", "LongInt", 0x30),
    Constant("fmShareDenyNone", "LongInt", 0x40),
    Constant("SecsPerDay", "LongInt", 86400),
    Constant("MSecPerDay", "LongInt", 86400000),
    Constant("DateDelta", "LongInt", 693594),
    Type("TAlignment", "(taLeftJustify, taRightJustify, taCenter)"),
    Type("THelpEvent", "function (Command: Word; Data: LongInt; var CallHelp: Boolean): Boolean"),
    Type("TGetStrProc", "procedure(const S: string)"),
    Type("TDuplicates", "(dupIgnore, dupAccept, dupError)"),
    Type("TOperation", "(opInsert, opRemove)"),
    Type("THandle", "LongInt"),
    Type("TNotifyEvent", "procedure (Sender: TObject)"),

    Streamed(Class("TStream", "TObject", &TStream::StaticClassInfo)),
    Streamed(Member("TStream", "function Read(Buffer: string; Count: LongInt): LongInt",
                    TBind::VirtualThrough, Method<&ReadOf>(), "TMemoryStream")),
    Streamed(Member("TStream", "function Write(Buffer: string; Count: LongInt): LongInt",
                    TBind::VirtualThrough, Method<&WriteOf>(), "TMemoryStream")),
    Streamed(Member("TStream", "function Seek(Offset: LongInt; Origin: Word): LongInt", TBind::VirtualThrough,
                    Method<&SeekOf>(), "TMemoryStream")),
    Streamed(Member("TStream", "procedure ReadBuffer(Buffer: string; Count: LongInt)", TBind::Direct,
                    Method<&ReadBufferOf>())),
    Streamed(Member("TStream", "procedure WriteBuffer(Buffer: string; Count: LongInt)", TBind::Direct,
                    Method<&WriteBufferOf>())),
    Streamed(Member("TStream", "function CopyFrom(Source: TStream; Count: Int64): Int64", TBind::Direct,
                    Method<&CopyFromOf>())),
    Streamed(Property("TStream", "Position", "LongInt", iptRW, TBind::Pair, PropGet<&PositionOf>(),
                      PropSet<&SetPositionOf>())),
    Streamed(Property("TStream", "Size", "LongInt", iptRW, TBind::Pair, PropGet<&SizeOf>(),
                      PropSet<&SetSizeOf>())),

    Class("TStrings", "TPersistent", &TStrings::StaticClassInfo),
    Member("TStrings", "constructor Create;", TBind::Constructor, Constructor<>()),
    Member("TStrings", "function Add(S: string): Integer;", TBind::Virtual, Method<&TStrings::Add>()),
    Member("TStrings", "procedure Append(S: string);", TBind::Direct, Method<&TStrings::Append>()),
    Member("TStrings", "procedure AddStrings(Strings: TStrings);", TBind::Virtual, Method<&AddStringsOf>()),
    Member("TStrings", "procedure Clear;", TBind::VirtualThrough, Method<&TStrings::Clear>(), "TStringList"),
    Member("TStrings", "procedure Delete(Index: Integer);", TBind::VirtualThrough,
           Method<&TStrings::Delete>(), "TStringList"),
    Member("TStrings", "function IndexOf(const S: string): Integer; ", TBind::Virtual,
           Method<&TStrings::IndexOf>()),
    Member("TStrings", "procedure Insert(Index: Integer; S: string); ", TBind::VirtualThrough,
           Method<&TStrings::Insert>(), "TStringList"),
    Property("TStrings", "Capacity", "Integer", iptRW, TBind::Pair, PropGet<&TStrings::Capacity>(),
             PropSet<&TStrings::SetCapacity>()),
    Property("TStrings", "Delimiter", "Char", iptRW, TBind::Pair, PropGet<&DelimiterOf>(),
             PropSet<&SetDelimiterOf>()),
    Property("TStrings", "StrictDelimiter", "Boolean", iptRW, TBind::Pair,
             PropGet<&TStrings::StrictDelimiter>(), PropSet<&TStrings::SetStrictDelimiter>()),
    Property("TStrings", "DelimitedText", "string", iptRW, TBind::Pair, PropGet<&TStrings::DelimitedText>(),
             PropSet<&TStrings::SetDelimitedText>()),
    Property("TStrings", "NameValueSeparator", "Char", iptRW, TBind::Pair, PropGet<&NameValueSeparatorOf>(),
             PropSet<&SetNameValueSeparatorOf>()),
    Property("TStrings", "QuoteChar", "Char", iptRW, TBind::Pair, PropGet<&QuoteCharOf>(),
             PropSet<&SetQuoteCharOf>()),
    Property("TStrings", "Count", "Integer", iptR, TBind::Pair, PropGet<&TStrings::Count>()),
    Property("TStrings", "Text", "string", iptRW, TBind::Pair, PropGet<&TStrings::Text>(),
             PropSet<&TStrings::SetText>()),
    Property("TStrings", "CommaText", "string", iptRW, TBind::Pair, PropGet<&TStrings::CommaText>(),
             PropSet<&TStrings::SetCommaText>()),
    Streamed(Member("TStrings", "procedure LoadFromFile(FileName: string); ", TBind::Virtual,
                    Method<&LoadFromFileOf>())),
    Streamed(Member("TStrings", "procedure SaveToFile(FileName: string); ", TBind::Virtual,
                    Method<&SaveToFileOf>())),
    Property("TStrings", "Strings", "string Integer", iptRW, TBind::Pair, PropGet<&TStrings::Strings>(),
             PropSet<&TStrings::SetStrings>()),
    Property("TStrings", "Objects", "TObject Integer", iptRW, TBind::Pair, PropGet<&TStrings::Objects>(),
             PropSet<&TStrings::SetObjects>()),
    Member("TStrings", "procedure BeginUpdate;", TBind::Direct, Method<&TStrings::BeginUpdate>()),
    Member("TStrings", "procedure EndUpdate;", TBind::Direct, Method<&TStrings::EndUpdate>()),
    Member("TStrings", "function Equals(Strings: TStrings): Boolean;", TBind::Direct, Method<&EqualsOf>()),
    Member("TStrings", "procedure Exchange(Index1, Index2: Integer);", TBind::Virtual,
           Method<&TStrings::Exchange>()),
    Member("TStrings", "function IndexOfName(Name: string): Integer;", TBind::Direct,
           Method<&TStrings::IndexOfName>()),
    Streamed(Member("TStrings", "procedure LoadFromStream(Stream: TStream); ", TBind::Virtual,
                    Method<&LoadFromStreamOf>())),
    Member("TStrings", "procedure Move(CurIndex, NewIndex: Integer); ", TBind::Virtual,
           Method<&TStrings::Move>()),
    Streamed(Member("TStrings", "procedure SaveToStream(Stream: TStream); ", TBind::Virtual,
                    Method<&SaveToStreamOf>())),
    Member("TStrings", "procedure SetText(Text: PChar); ", TBind::Virtual, Method<&SetTextOf>()),
    Property("TStrings", "Names", "string Integer", iptR, TBind::Pair, PropGet<&TStrings::Names>()),
    Property("TStrings", "Values", "string string", iptRW, TBind::Pair, PropGet<&TStrings::Values>(),
             PropSet<&TStrings::SetValues>()),
    Property("TStrings", "ValueFromIndex", "string Integer", iptRW, TBind::Pair,
             PropGet<&TStrings::ValueFromIndex>(), PropSet<&TStrings::SetValueFromIndex>()),
    Member("TStrings", "function AddObject(S: string; AObject: TObject): Integer", TBind::Virtual,
           Method<&TStrings::AddObject>()),
    Member("TStrings", "function GetText: PChar", TBind::Virtual, Method<&GetTextOf>()),
    Member("TStrings", "function IndexOfObject(AObject: TObject): Integer", TBind::Direct,
           Method<&TStrings::IndexOfObject>()),
    Member("TStrings", "procedure InsertObject(Index: Integer; S: string; AObject: TObject)", TBind::Direct,
           Method<&TStrings::InsertObject>()),
    Default("TStrings", "Strings"),

    Class("TStringList", "TStrings", &TStringList::StaticClassInfo),
    Member("TStringList", "constructor Create;", TBind::Constructor, Constructor<>()),
    Member("TStringList", "function Find(S: string; var Index: Integer): Boolean", TBind::Virtual,
           Method<&TStringList::Find>()),
    Member("TStringList", "procedure Sort", TBind::Virtual, Method<&TStringList::Sort>()),
    Property("TStringList", "CaseSensitive", "Boolean", iptRW, TBind::Pair,
             PropGet<&TStringList::CaseSensitive>(), PropSet<&TStringList::SetCaseSensitive>()),
    Property("TStringList", "Duplicates", "TDuplicates", iptRW, TBind::Pair,
             PropGet<&TStringList::Duplicates>(), PropSet<&TStringList::SetDuplicates>()),
    Property("TStringList", "Sorted", "Boolean", iptRW, TBind::Pair, PropGet<&TStringList::Sorted>(),
             PropSet<&TStringList::SetSorted>()),
    Property("TStringList", "OnChange", "TNotifyEvent", iptRW, TBind::EventPair,
             EventFieldGet<&TStringList::OnChange>(), EventFieldSet<&TStringList::OnChange>()),
    Property("TStringList", "OnChanging", "TNotifyEvent", iptRW, TBind::EventPair,
             EventFieldGet<&TStringList::OnChanging>(), EventFieldSet<&TStringList::OnChanging>()),

    Class("TBits", "TObject", &TBits::StaticClassInfo),
    Member("TBits", "function OpenBit: Integer", TBind::Direct, Method<&TBits::OpenBit>()),
    Property("TBits", "Bits", "Boolean Integer", iptRW, TBind::Pair, PropGet<&TBits::Bits>(),
             PropSet<&TBits::SetBits>()),
    Property("TBits", "Size", "Integer", iptRW, TBind::Pair, PropGet<&TBits::Size>(),
             PropSet<&TBits::SetSize>()),

    Streamed(Class("THandleStream", "TStream", &THandleStream::StaticClassInfo)),
    Streamed(Member("THandleStream", "constructor Create(AHandle: Integer)", TBind::Constructor,
                    ConstructorFn<&NewHandleStream>())),
    Streamed(
        Property("THandleStream", "Handle", "Integer", iptR, TBind::Pair, PropGet<&THandleStream::Handle>())),
    Streamed(Class("TFileStream", "THandleStream", &TFileStream::StaticClassInfo)),
    Streamed(Member("TFileStream", "constructor Create(FileName: string; Mode: Word)", TBind::Constructor,
                    ConstructorFn<&NewFileStream>())),
    Streamed(Class("TStringStream", "TStream", &TStringStream::StaticClassInfo)),
    Streamed(Member("TStringStream", "constructor Create(AString: string)", TBind::Constructor,
                    ConstructorFn<&NewStringStream>())),
    Streamed(Class("TCustomMemoryStream", "TStream", &TCustomMemoryStream::StaticClassInfo)),
    Streamed(Member("TCustomMemoryStream", "procedure SaveToStream(Stream: TStream)", TBind::Direct,
                    Method<&CustomSaveToStreamOf>())),
    Streamed(Member("TCustomMemoryStream", "procedure SaveToFile(FileName: string)", TBind::Direct,
                    Method<&CustomSaveToFileOf>())),
    Streamed(Class("TMemoryStream", "TCustomMemoryStream", &TMemoryStream::StaticClassInfo)),
    Streamed(Member("TMemoryStream", "procedure Clear", TBind::Direct, Method<&TMemoryStream::Clear>())),
    Streamed(Member("TMemoryStream", "procedure LoadFromStream(Stream: TStream)", TBind::Direct,
                    Method<&MemoryLoadFromStreamOf>())),
    Streamed(Member("TMemoryStream", "procedure LoadFromFile(FileName: string)", TBind::Direct,
                    Method<&MemoryLoadFromFileOf>())),
    Streamed(Member("TMemoryStream", "procedure SetSize(NewSize: LongInt)", TBind::Direct,
                    Method<&MemorySetSizeOf>())),
    Streamed(Class("TResourceStream", "TCustomMemoryStream", &TResourceStream::StaticClassInfo)),
    Streamed(Member("TResourceStream",
                    "constructor Create(Instance: THandle; ResName: string; ResType: PChar)",
                    TBind::Constructor, ConstructorFn<&NewResourceStream>())),
    Streamed(Member("TResourceStream",
                    "constructor CreateFromID(Instance: THandle; ResID: Integer; ResType: PChar)",
                    TBind::Constructor, ConstructorFn<&NewResourceStreamFromID>())),

    Class("TParser", "TObject", &TParser::StaticClassInfo),
    Member("TParser", "constructor Create(Stream: TStream)", TBind::Constructor, ConstructorFn<&NewParser>()),
    Member("TParser", "procedure CheckToken(T: Char)", TBind::Direct, Method<&TParser::CheckToken>()),
    Member("TParser", "procedure CheckTokenSymbol(S: string)", TBind::Direct,
           Method<&TParser::CheckTokenSymbol>()),
    Member("TParser", "procedure Error(Ident: Integer)", TBind::Direct, Method<&ParserErrorOf>()),
    Member("TParser", "procedure ErrorStr(Message: string)", TBind::Direct, Method<&TParser::ErrorStr>()),
    Member("TParser", "procedure HexToBinary(Stream: TStream)", TBind::Direct, Method<&HexToBinaryOf>()),
    Member("TParser", "function NextToken: Char", TBind::Direct, Method<&TParser::NextToken>()),
    Member("TParser", "function SourcePos: LongInt", TBind::Direct, Method<&SourcePosOf>()),
    Member("TParser", "function TokenComponentIdent: string", TBind::Direct,
           Method<&TParser::TokenComponentIdent>()),
    Member("TParser", "function TokenFloat: Extended", TBind::Direct, Method<&TParser::TokenFloat>()),
    Member("TParser", "function TokenInt: LongInt", TBind::Direct, Method<&TokenIntOf>()),
    Member("TParser", "function TokenString: string", TBind::Direct, Method<&TParser::TokenString>()),
    Member("TParser", "function TokenSymbolIs(S: string): Boolean", TBind::Direct,
           Method<&TParser::TokenSymbolIs>()),
    Property("TParser", "SourceLine", "Integer", iptR, TBind::Pair, PropGet<&TParser::SourceLine>()),
    Property("TParser", "Token", "Char", iptR, TBind::Pair, PropGet<&TParser::Token>()),

    // TCollectionItem names TCollection, which is declared here when it is still missing.
    Class("TCollection", "TPersistent", &TCollection::StaticClassInfo),
    Class("TCollectionItem", "TPersistent", &TCollectionItem::StaticClassInfo),
    Member("TCollectionItem", "constructor Create(Collection: TCollection)", TBind::VirtualConstructor,
           Constructor<TCollection*>()),
    Property("TCollectionItem", "Collection", "TCollection", iptRW, TBind::Pair,
             PropGet<&TCollectionItem::Collection>(), PropSet<&TCollectionItem::SetCollection>()),
    Property("TCollectionItem", "ID", "Integer", iptR, TBind::Pair, PropGet<&TCollectionItem::ID>()),
    Property("TCollectionItem", "Index", "Integer", iptRW, TBind::Pair, PropGet<&TCollectionItem::Index>(),
             PropSet<&TCollectionItem::SetIndex>()),
    Property("TCollectionItem", "DisplayName", "string", iptRW, TBind::Pair,
             PropGet<&TCollectionItem::DisplayName>(), PropSet<&TCollectionItem::SetDisplayName>()),

    Class("TCollection", "TPersistent", &TCollection::StaticClassInfo),
    Member("TCollection", "function Owner: TPersistent", TBind::Direct, Method<&TCollection::Owner>()),
    Member("TCollection", "function Add: TCollectionItem", TBind::Direct, Method<&TCollection::Add>()),
    Member("TCollection", "procedure BeginUpdate", TBind::Virtual, Method<&TCollection::BeginUpdate>()),
    Member("TCollection", "procedure Clear", TBind::Direct, Method<&TCollection::Clear>()),
    Member("TCollection", "procedure Delete(Index: Integer)", TBind::Direct, Method<&TCollection::Delete>()),
    Member("TCollection", "procedure EndUpdate", TBind::Virtual, Method<&TCollection::EndUpdate>()),
    Member("TCollection", "function FindItemID(ID: Integer): TCollectionItem", TBind::Direct,
           Method<&TCollection::FindItemID>()),
    Member("TCollection", "function Insert(Index: Integer): TCollectionItem", TBind::Direct,
           Method<&TCollection::Insert>()),
    Property("TCollection", "Count", "Integer", iptR, TBind::Pair, PropGet<&TCollection::Count>()),
    Property("TCollection", "Items", "TCollectionItem Integer", iptRW, TBind::Pair,
             PropGet<&TCollection::Items>(), PropSet<&TCollection::SetItems>()),
    // Its type is declared by no unit: the compiler drops it.
    Property("TCollection", "ItemClass", "TCollectionItemClass", iptR, TBind::None),

    Class("TOwnedCollection", "TCollection", &TOwnedCollection::StaticClassInfo),
};

constexpr std::string_view kClassesRunOrder[] = {
    "TStream",     "TStrings",        "TStringList",         "TBits",           "THandleStream",
    "TFileStream", "TStringStream",   "TCustomMemoryStream", "TMemoryStream",   "TResourceStream",
    "TParser",     "TCollectionItem", "TCollection",         "TOwnedCollection"};

}  // namespace

const TImportUnit kClassesUnit{"classes", kClasses, kClassesRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportClasses(TPSPascalCompiler& c, bool streams) {
    units::CompileImport(c, units::kClassesUnit, streams);
}

void ExecImportClasses(TPSRuntimeClassImporter& ri, bool streams) {
    units::ExecImport(ri, units::kClassesUnit, streams);
}

}  // namespace tv::script
