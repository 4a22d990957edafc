// The program's object for one child control, shared by the find bar and the settings pages,
// and the superclassed entry field "tizedit": an edit control that reports Tab, Enter, Escape,
// taps and focus loss to its parent and has a tap-and-hold menu with Undo, Cut, Copy, Paste.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A superclassed field sends its parent WM_FIELD_TAB, WM_FIELD_ENTER, WM_FIELD_ESCAPE and
// WM_FIELD_FOCUSLOST with its id as the first parameter, and WM_FIELD_TAP when tapped while
// without the focus: 513 in the low half of the first parameter and the id in its high half,
// the field's wrapper as the second parameter.

// The decimal digits of text taken in order, every other character skipped; 0 without any.
// More digits than an int holds give the largest int.
int DigitsValue(std::wstring_view text);
// The same, negative when a minus sign stands before the first digit.
int SignedDigitsValue(std::wstring_view text);

class ControlWrapper {
 public:
  ControlWrapper() = default;
  virtual ~ControlWrapper() = default;
  ControlWrapper(const ControlWrapper&) = delete;
  ControlWrapper& operator=(const ControlWrapper&) = delete;

  virtual std::wstring GetText() const;
  virtual void SetText(const std::wstring& text);
  virtual int GetTextLength() const;
  // DigitsValue of the text.
  virtual int GetInt() const;
  // Whether the wrapper handled a command its control's menu sent.
  virtual bool OnCommand(int command, int notification);

  // The dialog's item with that id; the dialog receives its notifications.
  void AttachDialogItem(HWND dialog, int itemId);
  void Attach(HWND dialog, int itemId) { AttachDialogItem(dialog, itemId); }
  void Attach(HWND control, HWND parentWindow, int controlId);
  void Show(bool shown) const;
  void Enable(bool enabled) const;
  void Focus() const;
  // Check boxes.
  bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

  HWND Window() const { return window; }
  HWND Parent() const { return parent; }
  int Id() const { return id; }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(window, message, wParam, lParam);
  }

  int id = -1;              // -1 until attached
  HWND window = nullptr;    // the control; null until attached
  HWND parent = nullptr;    // receives the control's notifications
};

// Kinds of superclassed fields, each registered once under its own class name. Only entry
// fields are made; the other two names are registered from the edit control as well.
enum FieldKind : int { fieldEdit = 0, fieldLabel = 1, fieldCombo = 2 };

// The wrapper of a superclassed field; its menu commands act on the field itself.
class EditFieldWrapper : public ControlWrapper {
 public:
  bool OnCommand(int command, int notification) override;

  int kind = fieldEdit;
  bool hasFocus = false;
};

// Registers the kind's class when needed and creates the field as a child of parent with
// style (WS_CHILD added) at rect; the wrapper is attached to it. False, with the wrapper left
// without a window, when the class or the window could not be made.
bool CreateField(EditFieldWrapper& wrapper, HINSTANCE instance, HWND parent, DWORD style,
                 const RECT& rect, int id, int kind);
