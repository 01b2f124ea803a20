// The unit std: the root classes TObject, TPersistent and TComponent.

#include "platform/rtl/component.h"
#include "script/host/units/import_units.h"

namespace tv::script::units {

namespace {

// The object goes at once, or when the method of it that fired the event running this Free
// returns. The Free call is itself one running call on the object.
void FreeObject(TObject* self) {
    FreeWhenIdle(self, 1);
}
TComponent* FindComponentOf(TComponent* self, const std::string& name) {
    return self->FindComponent(name);
}
// The script sees the low eight flags of the state (csLoading to csFixups).
uint8_t ComponentStateOf(TComponent* self) {
    return static_cast<uint8_t>(self->ComponentState().Bits() & 0xFF);
}

constexpr TImportRow kStd[] = {
    Type("TComponentStateE",
         "(csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups, "
         "csFreeNotification, csInline, csDesignInstance)"),
    Type("TComponentState", "set of TComponentStateE"),
    Type("TRect", "record Left, Top, Right, Bottom: Integer; end;"),

    Class("TObject", "", &TObject::StaticClassInfo),
    Member("TObject", "constructor Create", TBind::Constructor, Constructor<>()),
    Member("TObject", "procedure Free", TBind::Direct, Method<&FreeObject>()),

    Class("TPersistent", "TObject", &TPersistent::StaticClassInfo),
    Member("TPersistent", "procedure Assign(Source: TPersistent)", TBind::Virtual,
           Method<&TPersistent::Assign>()),

    Class("TComponent", "TPersistent", &TComponent::StaticClassInfo),
    Member("TComponent", "function FindComponent(AName: string): TComponent;", TBind::Direct,
           Method<&FindComponentOf>()),
    Member("TComponent", "constructor Create(AOwner: TComponent); virtual;", TBind::VirtualConstructor,
           Constructor<TComponent*>()),
    Property("TComponent", "Owner", "TComponent", iptRW, TBind::Pair, PropGet<&TComponent::Owner>()),
    Member("TComponent", "procedure DestroyComponents", TBind::Direct,
           Method<&TComponent::DestroyComponents>()),
    Member("TComponent", "procedure Destroying", TBind::None),
    Member("TComponent", "procedure FreeNotification(AComponent: TComponent)", TBind::None),
    Member("TComponent", "procedure InsertComponent(AComponent: TComponent)", TBind::None),
    Member("TComponent", "procedure RemoveComponent(AComponent: TComponent)", TBind::None),
    Property("TComponent", "Components", "TComponent Integer", iptR, TBind::Pair,
             PropGet<&TComponent::Components>()),
    Property("TComponent", "ComponentCount", "Integer", iptR, TBind::Pair,
             PropGet<&TComponent::ComponentCount>()),
    Property("TComponent", "ComponentIndex", "Integer", iptRW, TBind::Pair,
             PropGet<&TComponent::ComponentIndex>(), PropSet<&TComponent::SetComponentIndex>()),
    Property("TComponent", "ComponentState", "Byte", iptR, TBind::Pair, PropGet<&ComponentStateOf>()),
    Property("TComponent", "DesignInfo", "LongInt", iptRW, TBind::Pair, PropGet<&TComponent::DesignInfo>(),
             PropSet<&TComponent::SetDesignInfo>()),
    Property("TComponent", "Name", "string", iptRW, TBind::Published),
    Property("TComponent", "Tag", "LongInt", iptRW, TBind::Published),
};

constexpr std::string_view kStdRunOrder[] = {"TObject", "TPersistent", "TComponent"};

}  // namespace

const TImportUnit kStdUnit{"std", kStd, kStdRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportStd(TPSPascalCompiler& c) {
    units::CompileImport(c, units::kStdUnit, true);
}

void ExecImportStd(TPSRuntimeClassImporter& ri) {
    units::ExecImport(ri, units::kStdUnit, true);
}

}  // namespace tv::script
