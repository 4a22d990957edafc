// The handheld shell's functions that the program uses, under their handheld names and
// signatures, for Windows desktops: menu bar, command bars, dialogs, tap-and-hold, activation,
// transparent images and the help viewer. A handheld build takes these from its own SDK.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

// ---- Menu bar ---------------------------------------------------------------------------------
// The menu bar is a toolbar control at the bottom of its parent's client area. Its buttons come
// from a menu bar description (an RCDATA resource: menu id, button count, then per button the
// image, command, state, style, label string, 0 and drop-down menu index) and the menu of the
// same id. Pressing a drop-down button shows its menu above the button, owned by the parent,
// which receives WM_INITMENUPOPUP and the chosen WM_COMMAND; plain buttons send WM_COMMAND with
// their id to the parent. Images, buttons and tooltips are added with the toolbar messages
// (TB_ADDBITMAP, TB_ADDBUTTONS) or the command bar functions below.

struct SHMENUBARINFO {
  DWORD cbSize;         // sizeof(SHMENUBARINFO)
  HWND hwndParent;      // the window that owns the bar and receives its commands
  DWORD dwFlags;        // SHCMBF_*
  UINT nToolBarId;      // the menu bar description, or with SHCMBF_HMENU a menu resource
  HINSTANCE hInstRes;   // module holding the resources
  int nBmpId;           // bitmap of images added at creation, 0 for none
  int cBmpImages;       // number of 16 x 16 images in nBmpId
  HWND hwndMB;          // out: the menu bar
  COLORREF clrBk;       // background with SHCMBF_COLORBK
};
using PSHMENUBARINFO = SHMENUBARINFO*;

inline constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;      // no buttons
inline constexpr DWORD SHCMBF_HIDDEN = 0x0002;        // created hidden
inline constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x0004; // no input panel button (there is none)
inline constexpr DWORD SHCMBF_COLORBK = 0x0008;       // paint the background with clrBk
inline constexpr DWORD SHCMBF_HMENU = 0x0010;         // one drop-down button per menu popup

// Messages of the menu bar (and of command bars that hold a menu).
inline constexpr UINT SHCMBM_SETSUBMENU = WM_USER + 400;  // wParam button id, lParam menu; old one
inline constexpr UINT SHCMBM_GETSUBMENU = WM_USER + 401;  // lParam button id; its drop-down menu
inline constexpr UINT SHCMBM_GETMENU = WM_USER + 402;     // the bar's menu

BOOL SHCreateMenuBar(PSHMENUBARINFO info);
// The menu bar of a window, or null.
HWND SHFindMenuBar(HWND hwnd);
// How many pixels at the bottom of the window's client area its menu bar covers (0 with no
// visible menu bar). The handheld's bar lies outside the window, so there it is always 0.
int MenuBarReservedHeight(HWND hwnd);
// For the desktop's keyboard: shows menu, or the button's own drop-down menu when menu is null,
// beside drop-down button command of a menu bar or command bar, as a tap on the button does,
// and returns when the menu has closed. False when the bar has no such drop-down button.
bool ShowBarDropDown(HWND bar, int command, HMENU menu = nullptr);

// ---- Command bars ----------------------------------------------------------------------------
// A command bar is a toolbar control docked at the top of its parent (CCS_NOPARENTALIGN lets
// the parent place it). Its buttons send WM_COMMAND to the parent; a menu inserted into it shows
// as one drop-down button per pop-up of the menu.

HWND CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar);
// Inserts the pop-ups of menu resource idMenu as buttons before button index iButton.
BOOL CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, int iButton);
// As above; with a null hInst, pszMenu is a menu handle that the bar then owns.
BOOL CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, int iButton);
// Adds the images of a bitmap (HINST_COMMCTRL with IDB_STD_SMALL_COLOR for the standard ones);
// returns the index of the first one, -1 on failure. Every image the bitmap holds is added.
int CommandBar_AddBitmap(HWND hwndCB, HINSTANCE hInst, int idBitmap, int iNumImages,
                         int iImageWidth, int iImageHeight);
// The menu the bar was given (the menu bar's whole menu, or the inserted menu).
HMENU CommandBar_GetMenu(HWND hwndCB, int iButton);
int CommandBar_Height(HWND hwndCB);

inline BOOL CommandBar_AddButtons(HWND hwndCB, UINT count, const TBBUTTON* buttons) {
  return static_cast<BOOL>(SendMessageW(hwndCB, TB_ADDBUTTONSW, count,
                                        reinterpret_cast<LPARAM>(buttons)));
}
inline BOOL CommandBar_InsertButton(HWND hwndCB, int index, const TBBUTTON* button) {
  return static_cast<BOOL>(SendMessageW(hwndCB, TB_INSERTBUTTONW, index,
                                        reinterpret_cast<LPARAM>(button)));
}
// Tooltips of a menu or command bar: one string per button in button order, leaving out
// separators and buttons that show a text label (menu titles); a null or empty string gives
// its button no tooltip. The same as TB_SETTOOLTIPS with wParam the count and lParam the array.
inline BOOL CommandBar_AddToolTips(HWND hwndCB, UINT count, const LPCWSTR* tips) {
  return static_cast<BOOL>(SendMessageW(hwndCB, TB_SETTOOLTIPS, count,
                                        reinterpret_cast<LPARAM>(tips)));
}
inline BOOL CommandBar_Show(HWND hwndCB, BOOL show) {
  ShowWindow(hwndCB, show ? SW_SHOWNORMAL : SW_HIDE);
  return TRUE;
}
inline BOOL CommandBar_IsVisible(HWND hwndCB) { return IsWindowVisible(hwndCB); }
inline void CommandBar_Destroy(HWND hwndCB) { DestroyWindow(hwndCB); }

// ---- Dialogs ---------------------------------------------------------------------------------

struct SHINITDLGINFO {
  DWORD dwMask;   // SHIDIM_FLAGS
  HWND hDlg;
  DWORD dwFlags;  // SHIDIF_*
};
using PSHINITDLGINFO = SHINITDLGINFO*;

inline constexpr DWORD SHIDIM_FLAGS = 0x0001;
inline constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;          // the caption's button means OK
inline constexpr DWORD SHIDIF_SIZEDLG = 0x0002;             // cover the owner
inline constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;   // cover the owner
inline constexpr DWORD SHIDIF_SIPDOWN = 0x0008;             // no input panel here: ignored
inline constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010; // cover the owner

// Shows a dialog as the handheld shows it: over the whole of its owner window (or the work
// area without an owner), and with SHIDIF_DONEBUTTON a caption button that answers IDOK.
BOOL SHInitDialog(PSHINITDLGINFO info);

// ---- Tap-and-hold --------------------------------------------------------------------------

struct SHRGINFO {
  DWORD cbSize;      // sizeof(SHRGINFO)
  HWND hwndClient;   // the window that received the press
  POINT ptDown;      // the press, in hwndClient's client coordinates
  DWORD dwFlags;     // SHRG_*
};
using PSHRGINFO = SHRGINFO*;

struct NMRGINFO {
  NMHDR hdr;         // code GN_CONTEXTMENU
  POINT ptAction;    // the press, in screen coordinates
  DWORD dwItemSpec;
};

inline constexpr DWORD SHRG_RETURNCMD = 0x0001;    // return GN_CONTEXTMENU instead of notifying
inline constexpr DWORD SHRG_NOTIFYPARENT = 0x0002; // notify hwndClient's parent
inline constexpr DWORD SHRG_LONGDELAY = 0x0008;    // wait twice as long
inline constexpr DWORD SHRG_NOANIMATION = 0x0010;  // no animation (there is none)
inline constexpr UINT GN_CONTEXTMENU = 1000;

// Called while handling a left button press: waits while the button stays down without the
// stylus moving. A hold of half a second is the context-menu gesture: with SHRG_RETURNCMD the
// function returns GN_CONTEXTMENU, otherwise it sends WM_NOTIFY (NMRGINFO) to hwndClient or
// its parent and returns the answer. Returns 0 at once when the button is released or the
// stylus moves first; those mouse messages stay queued for the caller.
DWORD SHRecognizeGesture(PSHRGINFO info);

// ---- Activation --------------------------------------------------------------------------

struct SHACTIVATEINFO {
  DWORD cbSize;                // sizeof(SHACTIVATEINFO)
  HWND hwndLastFocus;          // the focus when the window was last deactivated
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;

inline constexpr DWORD SHA_INPUTDIALOG = 0x0001;

// The window's WM_ACTIVATE handler: remembers the focus on deactivation and gives it back
// (or to the window itself) on activation, unless the window is disabled.
BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info,
                        DWORD flags);
// The window's WM_SETTINGCHANGE handler: lays out its menu bar again.
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info);

// ---- Drawing -------------------------------------------------------------------------------

// Copies (and stretches) an image, leaving the destination untouched wherever the source has
// the transparent colour. The source is a bitmap or a device context.
BOOL TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc,
                      LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor);

// ---- Help ------------------------------------------------------------------------------------

// Shows help for a link of the form "file:fum.htm#topic": runs the handheld's viewer
// "peghelp.exe" of the system's Windows folder with it and, where that does not exist, opens the file (beside the program
// unless the link names a full path) at the topic in the system's browser. True when a viewer
// was started.
bool StartHelpViewer(const wchar_t* link);

namespace pocketpc {

// The browser address of a help link: "file:fum.htm#topic" with the program in C:\fum gives
// "file:///C:/fum/fum.htm#topic".
std::wstring HelpLinkToUrl(std::wstring_view link, std::wstring_view programFolder);

}  // namespace pocketpc
