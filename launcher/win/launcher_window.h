// frmMain, the launcher's one top-level window ("Form1"): the owner window of
// every shell start. It never runs a message loop. Win32 only.
#pragma once

#include <windows.h>

namespace kelmo {

inline constexpr wchar_t kLauncherWindowClass[] = L"KelmoProForm";
inline constexpr wchar_t kLauncherWindowCaption[] = L"Form1";
// Client area in twips.
inline constexpr int kLauncherClientWidthTwips = 3744;
inline constexpr int kLauncherClientHeightTwips = 2532;

// Creates the window, not yet shown, at the system's default position with a
// sizable border and a client area of 3744 x 2532 twips.
HWND CreateLauncherWindow(HINSTANCE instance);

// Moves the window so that its left edge lies at minus its own width.
void MoveWindowLeftOfScreen(HWND window);

// Whether Windows is ending the session: the window has been told so
// (WM_ENDSESSION), or the system is shutting down. The window never holds
// the end up: it answers WM_QUERYENDSESSION with TRUE whenever a wait of the
// run handles the messages sent to it.
bool SessionIsEnding(HWND window);

}  // namespace kelmo
