#include "platform/data/client_data_set.h"

#include "platform/data/field_text.h"
#include "platform/data/key_compare.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/little_endian.h"

#include <algorithm>
#include <cstring>

namespace tv {

using namespace data_detail;

namespace {

constexpr std::string_view kStreamMagic = "TVDS";
constexpr std::uint32_t kStreamVersion = 1;

// Reads the stream's parts and refuses anything that runs past its end.
class StreamReader {
public:
    explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)[0]); }
    std::uint32_t U32() { return PeekU32(Take(4), 0); }
    std::uint64_t U64() { return PeekU64(Take(8), 0); }
    std::string_view Text() { return Take(U32()); }
    std::string_view Take(size_t n) {
        if (n > bytes_.size() - pos_) Fail("it ends early");
        const std::string_view part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }
    size_t Remaining() const { return bytes_.size() - pos_; }
    [[noreturn]] static void Fail(std::string_view reason) { DatabaseError(kBadStream, {reason}); }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

}  // namespace

const TClassInfo& TClientDataSet::StaticClassInfo() {
    // No provider and no file stand behind a client dataset here: the command text and the file
    // name that would name them are published empty, for the readers that look (the data grid's
    // ordering then takes the index fields).
    static const TClassInfo info =
        TClassBuilder<TClientDataSet>("TClientDataSet")
            .Published("CommandText", [](const TClientDataSet&) { return std::string(); })
            .Published("FileName", [](const TClientDataSet&) { return std::string(); })
            .Build();
    return info;
}

TClientDataSet::TClientDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

void TClientDataSet::CreateDataSet() {
    CheckInactive();
    FreeRecords();
    PrepareStructure();
    Open();
}

void TClientDataSet::EmptyDataSet() {
    CheckActive();
    CheckBrowseMode();
    FreeRecords();
    FinishBulkLoad();
}

// The fields whose values a stream holds, by full name: the data fields that are no object fields
// (their sub-fields hold the values) and no dataset fields (their nested datasets live in memory
// only). Lookup fields are the dataset's definition, not its data.
std::vector<TField*> TClientDataSet::StoredFields() const {
    std::vector<TField*> stored;
    for (TField* field : FieldList())
        if (field->FieldKind() == fkData && !HoldsNoValue(field->DataType())) stored.push_back(field);
    return stored;
}

std::string TClientDataSet::SaveToBytes() const {
    CheckActive();
    std::string out(kStreamMagic);
    AppendU32(out, kStreamVersion);
    const std::vector<TField*> stored = StoredFields();
    AppendU32(out, static_cast<std::uint32_t>(stored.size()));
    for (const TField* f : stored) {
        const TField& field = *f;
        AppendString32(out, field.FullName());
        out += static_cast<char>(field.DataType());
        AppendU32(out, static_cast<std::uint32_t>(field.Size()));
        out += static_cast<char>(field.Required() ? 1 : 0);
    }
    const auto& records = NaturalOrder();
    AppendU64(out, records.size());
    for (const Record* record : records) {
        for (const TField* field : stored) {
            const auto no = static_cast<size_t>(field->FieldNo() - 1);
            const TValueView v = ReadRecord(Layout(), record, no);
            out += static_cast<char>(v.IsNull() ? 0 : 1);
            if (v.IsNull()) continue;
            switch (Layout().kinds[no]) {
                case TStorageKind::Integer:
                    AppendU64(out, static_cast<std::uint64_t>(v.integer));
                    break;
                case TStorageKind::Float: {
                    std::uint64_t bits;
                    std::memcpy(&bits, &v.number, sizeof bits);
                    AppendU64(out, bits);
                    break;
                }
                case TStorageKind::Text:
                    AppendString32(out, v.text);
                    break;
            }
        }
    }
    return out;
}

void TClientDataSet::LoadFromBytes(std::string_view bytes) {
    StreamReader in(bytes);
    if (in.Take(kStreamMagic.size()) != kStreamMagic) StreamReader::Fail("no dataset header");
    if (in.U32() != kStreamVersion) StreamReader::Fail("unknown version");
    const std::uint32_t fieldCount = in.U32();
    if (fieldCount == 0 || fieldCount > in.Remaining()) StreamReader::Fail("bad field count");
    TFieldDefs defs;
    for (std::uint32_t i = 0; i < fieldCount; ++i) {
        const std::string_view name = in.Text();
        const std::uint8_t type = in.U8();
        const std::uint32_t size = in.U32();
        const bool required = in.U8() != 0;
        if (name.empty() || type == 0 || type > static_cast<std::uint8_t>(TFieldType::ftGraphic) ||
            size > 1u << 30)
            StreamReader::Fail("bad field definition");
        defs.Add(std::string(name), static_cast<TFieldType>(type), static_cast<int>(size), required);
    }
    Close();
    std::vector<TField*> stored = StoredFields();
    if (FieldCount() > 0) {
        // The data fields of the dataset's own must be the stream's.
        bool same = stored.size() == static_cast<size_t>(defs.Count());
        for (int i = 0; same && i < defs.Count(); ++i)
            same = SameFieldText(stored[static_cast<size_t>(i)]->FullName(), defs[i].Name) &&
                   stored[static_cast<size_t>(i)]->DataType() == defs[i].DataType;
        if (!same) DatabaseError(kStreamFieldsDiffer);
    } else {
        FieldDefs() = defs;
    }
    PrepareStructure();
    if (stored.empty())
        for (int i = 0; i < FieldCount(); ++i) stored.push_back(&Fields(i));
    try {
        const std::uint64_t count = in.U64();
        if (count > in.Remaining()) StreamReader::Fail("bad record count");
        for (std::uint64_t r = 0; r < count; ++r) {
            RecordBuffer& buffer = BeginBulkRecord();
            for (const TField* field : stored) {
                const auto no = static_cast<size_t>(field->FieldNo() - 1);
                if (in.U8() == 0) continue;
                switch (Layout().kinds[no]) {
                    case TStorageKind::Integer:
                        buffer.SetInteger(no, static_cast<std::int64_t>(in.U64()));
                        break;
                    case TStorageKind::Float: {
                        const std::uint64_t bits = in.U64();
                        double v;
                        std::memcpy(&v, &bits, sizeof v);
                        buffer.SetFloat(no, v);
                        break;
                    }
                    case TStorageKind::Text:
                        buffer.SetText(no, in.Text());
                        break;
                }
            }
            EndBulkRecord();
        }
        if (in.Remaining() != 0) StreamReader::Fail("bytes after the last record");
    } catch (...) {
        FreeRecords();
        throw;
    }
    Open();
}

void TClientDataSet::SaveToStream(TStream& stream) const {
    const std::string bytes = SaveToBytes();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TClientDataSet::LoadFromStream(TStream& stream) {
    const std::int64_t count = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<std::int64_t>(count, 0)), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    LoadFromBytes(bytes);
}

void TClientDataSet::AppendRows(IRowSource& source) {
    const auto& columns = source.Columns();
    if (!Active()) {
        if (FieldCount() == 0 && FieldDefs().Count() == 0)
            for (const TRowColumn& column : columns)
                FieldDefs().Add(column.Name, column.DataType, column.Size);
        CreateDataSet();
    } else {
        CheckBrowseMode();
    }
    std::vector<TField*> target(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        target[c] = FindField(columns[c].Name);
        if (target[c] && target[c]->FieldKind() != fkData) target[c] = nullptr;
    }
    std::string scratch;
    try {
        while (source.NextRow()) {
            RecordBuffer& buffer = BeginBulkRecord();
            for (size_t c = 0; c < columns.size(); ++c) {
                if (!target[c]) continue;
                const auto no = static_cast<size_t>(target[c]->FieldNo() - 1);
                buffer.Set(no, Layout().kinds[no], ConvertToField(*target[c], source.Value(c), scratch));
            }
            EndBulkRecord();
        }
    } catch (...) {
        FinishBulkLoad();  // the rows appended before the failure stay, in view
        throw;
    }
    FinishBulkLoad();
}

}  // namespace tv
