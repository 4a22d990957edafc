// List access of the settings pages' list boxes and combo boxes.
#include "settings/ListWrapper.h"

int ListWrapper::Count() const {
  LRESULT count = Send(Pick(LB_GETCOUNT, CB_GETCOUNT));
  return count > 0 ? static_cast<int>(count) : 0;
}

int ListWrapper::Selection() const {
  LRESULT index = Send(Pick(LB_GETCURSEL, CB_GETCURSEL));
  return index >= 0 ? static_cast<int>(index) : -1;
}

void ListWrapper::Select(int index) const { Send(Pick(LB_SETCURSEL, CB_SETCURSEL), index); }

int ListWrapper::Add(const std::wstring& text) const {
  return static_cast<int>(
      Send(Pick(LB_ADDSTRING, CB_ADDSTRING), 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ListWrapper::InsertAt(int index, const std::wstring& text) const {
  Send(Pick(LB_INSERTSTRING, CB_INSERTSTRING), index, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListWrapper::Delete(int index) const { Send(Pick(LB_DELETESTRING, CB_DELETESTRING), index); }

int ListWrapper::FindExact(const std::wstring& text) const {
  LRESULT index = Send(Pick(LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT), static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(text.c_str()));
  return index >= 0 ? static_cast<int>(index) : -1;
}

std::wstring ListWrapper::ItemText(int index) const {
  LRESULT length = Send(Pick(LB_GETTEXTLEN, CB_GETLBTEXTLEN), index);
  if (length < 1) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied =
      Send(Pick(LB_GETTEXT, CB_GETLBTEXT), index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

LPARAM ListWrapper::ItemData(int index) const {
  return Send(Pick(LB_GETITEMDATA, CB_GETITEMDATA), index);
}

void ListWrapper::SetItemData(int index, LPARAM value) const {
  Send(Pick(LB_SETITEMDATA, CB_SETITEMDATA), index, value);
}

void ListWrapper::Reset() const { Send(Pick(LB_RESETCONTENT, CB_RESETCONTENT)); }

int ListWrapper::FindByData(LPARAM value) const {
  for (int i = 0, count = Count(); i < count; ++i)
    if (ItemData(i) == value) return i;
  return -1;
}
