#pragma once
// The vocabulary of controls: shift states, mouse buttons, alignment and anchors, drag modes,
// cursors and modal results, as the class library numbers them.

#include <cstdint>

#include "platform/rtl/alignment.h"
#include "platform/rtl/enum_set.h"

namespace tv {

enum TEShiftState : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
TV_ENUM_INFO(TEShiftState, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble");
using TShiftState = TSet<TEShiftState>;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
TV_ENUM_INFO(TMouseButton, "mbLeft", "mbRight", "mbMiddle");

enum TDragMode : uint8_t { dmManual, dmAutomatic };
TV_ENUM_INFO(TDragMode, "dmManual", "dmAutomatic");
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
TV_ENUM_INFO(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove");
enum TDragKind : uint8_t { dkDrag, dkDock };
TV_ENUM_INFO(TDragKind, "dkDrag", "dkDock");

// Which scroll bars a memo or a grid shows.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
TV_ENUM_INFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth");

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
TV_ENUM_INFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient");

enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
TV_ENUM_INFO(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom");
using TAnchors = TSet<TAnchorKind>;

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

}  // namespace tv
