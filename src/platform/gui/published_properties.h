#pragma once
// The published properties of the controls, as data (for the library's sources): each class lists
// its property names in the order scripts see them, and the one table below says how a property of
// that name is read and written on whichever class has it.

#include <span>
#include <string_view>

#include "platform/rtl/class_info.h"

namespace tv {

// Adds the published property `name` of class C; false when C has no property of that name.
template <class C>
bool PublishControlProperty(TClassBuilder<C>& b, std::string_view name) {
#define TV_PUBLISH(NAME, GET, SET)               \
    if constexpr (requires {                     \
                      &C::GET;                   \
                      &C::SET;                   \
                  })                             \
        if (name == NAME) {                      \
            b.Published(NAME, &C::GET, &C::SET); \
            return true;                         \
        }
#define TV_PUBLISH_EVENT(NAME)            \
    if constexpr (requires { &C::NAME; }) \
        if (name == #NAME) {              \
            b.Published(#NAME, &C::NAME); \
            return true;                  \
        }
    TV_PUBLISH("ActiveControl", ActiveControl, SetActiveControl)
    TV_PUBLISH("Alignment", Alignment, SetAlignment)
    TV_PUBLISH("AllowGrayed", AllowGrayed, SetAllowGrayed)
    TV_PUBLISH("Anchors", Anchors, SetAnchors)
    TV_PUBLISH("AutoScroll", AutoScroll, SetAutoScroll)
    TV_PUBLISH("AutoSelect", AutoSelect, SetAutoSelect)
    TV_PUBLISH("AutoSize", AutoSize, SetAutoSize)
    TV_PUBLISH("BorderIcons", BorderIcons, SetBorderIcons)
    TV_PUBLISH("BorderStyle", BorderStyle, SetBorderStyle)
    TV_PUBLISH("Cancel", Cancel, SetCancel)
    TV_PUBLISH("Caption", Caption, SetCaption)
    TV_PUBLISH("CharCase", CharCase, SetCharCase)
    TV_PUBLISH("Checked", Checked, SetChecked)
    TV_PUBLISH("Color", Color, SetColor)
    TV_PUBLISH("Columns", Columns, SetColumns)
    TV_PUBLISH("Constraints", Constraints, SetConstraints)
    TV_PUBLISH("CTL3D", Ctl3D, SetCtl3D)
    TV_PUBLISH("Default", Default, SetDefault)
    TV_PUBLISH("DragCursor", DragCursor, SetDragCursor)
    TV_PUBLISH("DragMode", DragMode, SetDragMode)
    TV_PUBLISH("DropDownCount", DropDownCount, SetDropDownCount)
    TV_PUBLISH("ExtendedSelect", ExtendedSelect, SetExtendedSelect)
    TV_PUBLISH("FocusControl", FocusControl, SetFocusControl)
    TV_PUBLISH("Font", Font, SetFont)
    TV_PUBLISH("FormStyle", FormStyle, SetFormStyle)
    TV_PUBLISH("HideSelection", HideSelection, SetHideSelection)
    TV_PUBLISH("IntegralHeight", IntegralHeight, SetIntegralHeight)
    TV_PUBLISH("ItemHeight", ItemHeight, SetItemHeight)
    TV_PUBLISH("KeyPreview", KeyPreview, SetKeyPreview)
    TV_PUBLISH("Layout", Layout, SetLayout)
    TV_PUBLISH("Max", Max, SetMax)
    TV_PUBLISH("MaxLength", MaxLength, SetMaxLength)
    TV_PUBLISH("Min", Min, SetMin)
    TV_PUBLISH("ModalResult", ModalResult, SetModalResult)
    TV_PUBLISH("MultiSelect", MultiSelect, SetMultiSelect)
    TV_PUBLISH("OEMConvert", OEMConvert, SetOEMConvert)
    TV_PUBLISH("ParentColor", ParentColor, SetParentColor)
    TV_PUBLISH("ParentCtl3D", ParentCtl3D, SetParentCtl3D)
    TV_PUBLISH("ParentFont", ParentFont, SetParentFont)
    TV_PUBLISH("ParentShowHint", ParentShowHint, SetParentShowHint)
    TV_PUBLISH("PasswordChar", PasswordChar, SetPasswordChar)
    TV_PUBLISH("PixelsPerInch", PixelsPerInch, SetPixelsPerInch)
    TV_PUBLISH("Position", Position, SetPosition)
    TV_PUBLISH("PrintScale", PrintScale, SetPrintScale)
    TV_PUBLISH("ReadOnly", ReadOnly, SetReadOnly)
    TV_PUBLISH("Scaled", Scaled, SetScaled)
    TV_PUBLISH("ScrollBars", ScrollBars, SetScrollBars)
    TV_PUBLISH("ShowAccelChar", ShowAccelChar, SetShowAccelChar)
    TV_PUBLISH("Sorted", Sorted, SetSorted)
    TV_PUBLISH("State", State, SetState)
    TV_PUBLISH("Style", Style, SetStyle)
    TV_PUBLISH("TabWidth", TabWidth, SetTabWidth)
    TV_PUBLISH("Text", Text, SetText)
    TV_PUBLISH("Transparent", Transparent, SetTransparent)
    TV_PUBLISH("WantReturns", WantReturns, SetWantReturns)
    TV_PUBLISH("WantTabs", WantTabs, SetWantTabs)
    TV_PUBLISH("WindowState", WindowState, SetWindowState)
    TV_PUBLISH("WordWrap", WordWrap, SetWordWrap)
    TV_PUBLISH_EVENT(OnActivate)
    TV_PUBLISH_EVENT(OnChange)
    TV_PUBLISH_EVENT(OnClick)
    TV_PUBLISH_EVENT(OnClose)
    TV_PUBLISH_EVENT(OnCloseQuery)
    TV_PUBLISH_EVENT(OnCreate)
    TV_PUBLISH_EVENT(OnDblClick)
    TV_PUBLISH_EVENT(OnDeactivate)
    TV_PUBLISH_EVENT(OnDestroy)
    TV_PUBLISH_EVENT(OnDragDrop)
    TV_PUBLISH_EVENT(OnDragOver)
    TV_PUBLISH_EVENT(OnDrawItem)
    TV_PUBLISH_EVENT(OnDropDown)
    TV_PUBLISH_EVENT(OnEndDrag)
    TV_PUBLISH_EVENT(OnEnter)
    TV_PUBLISH_EVENT(OnExit)
    TV_PUBLISH_EVENT(OnHide)
    TV_PUBLISH_EVENT(OnKeyDown)
    TV_PUBLISH_EVENT(OnKeyPress)
    TV_PUBLISH_EVENT(OnKeyUp)
    TV_PUBLISH_EVENT(OnMeasureItem)
    TV_PUBLISH_EVENT(OnMouseDown)
    TV_PUBLISH_EVENT(OnMouseMove)
    TV_PUBLISH_EVENT(OnMouseUp)
    TV_PUBLISH_EVENT(OnPaint)
    TV_PUBLISH_EVENT(OnResize)
    TV_PUBLISH_EVENT(OnScroll)
    TV_PUBLISH_EVENT(OnShow)
    TV_PUBLISH_EVENT(OnStartDrag)
#undef TV_PUBLISH
#undef TV_PUBLISH_EVENT
    return false;
}

// Adds the published properties `names` of C, in their order. A name C does not have is left out
// (the tests of the published lists catch it).
template <class C>
TClassBuilder<C>& PublishNames(TClassBuilder<C>& b, std::span<const std::string_view> names) {
    for (std::string_view n : names) PublishControlProperty(b, n);
    return b;
}

template <class C>
TClassInfo PublishedClass(std::string name, std::span<const std::string_view> names) {
    TClassBuilder<C> b(std::move(name));
    return PublishNames(b, names).Build();
}

}  // namespace tv
