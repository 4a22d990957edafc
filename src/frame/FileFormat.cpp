// The File menu's Encoding choices: which form the active document's file is saved in, their
// check marks, and the form shown in the title when it is not the code page with CR LF.
#include <windows.h>

#include <array>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "text/TextFile.h"
#include "text/TextFormat.h"

namespace {

// The encodings of the menu, in the order of IDM_FORMAT_FIRST and IDS_FORMAT_FIRST.
constexpr std::array<TextFormat, 5> encodings = {{
    {Encoding::codePage, false, false},
    {Encoding::utf8, false, false},
    {Encoding::utf8, true, false},
    {Encoding::utf16le, true, false},
    {Encoding::utf16be, true, false},
}};

// The position of a format's encoding in the list above.
int EncodingIndex(const TextFormat& format) {
  for (int i = 0; i < static_cast<int>(encodings.size()); ++i) {
    const TextFormat& e = encodings[static_cast<std::size_t>(i)];
    if (e.encoding == format.encoding && e.bom == format.bom) return i;
  }
  return 0;
}

}  // namespace

std::wstring MainFrame::FormatSuffix(const TextFormat& format) const {
  const int index = EncodingIndex(format);
  if (index == 0 && !format.lineFeed) return {};
  std::wstring suffix = L" [";
  if (index != 0) suffix += LoadResourceText(instance, IDS_FORMAT_FIRST + index);
  if (index != 0 && format.lineFeed) suffix += L", ";
  if (format.lineFeed) suffix += LoadResourceText(instance, IDS_FORMAT_LF);
  return suffix + L"]";
}

void MainFrame::ChooseFormat(int command) {
  OpenDocument* document = ActiveDocument();
  if (!document || command < IDM_FORMAT_FIRST || command > IDM_FORMAT_LAST) return;
  Document& text = *document->text;
  TextFormat format = text.format;
  if (command == IDM_FORMAT_CRLF || command == IDM_FORMAT_LF) {
    // Every line takes the chosen line end, also in a file whose lines end in both forms.
    const bool lineFeed = command == IDM_FORMAT_LF;
    if (lineFeed == format.lineFeed && LineEndsAlike(text)) return;
    SetLineEnds(text, lineFeed);
    text.modified = true;
    UpdateTitle(*document);
    RefreshCommandStates();
    return;
  } else {
    const TextFormat& chosen = encodings[static_cast<std::size_t>(command - IDM_FORMAT_FIRST)];
    format.encoding = chosen.encoding;
    format.bom = chosen.bom;
  }
  if (format == text.format) return;
  // The file no longer matches the document: Save is offered and writes the new form.
  text.format = format;
  text.modified = true;
  UpdateTitle(*document);
  RefreshCommandStates();
}

void MainFrame::ApplyFormatChecks(HMENU menu) {
  if (!menu) return;
  OpenDocument* document = ActiveDocument();
  const TextFormat format = document ? document->text->format : TextFormat{};
  const int checkedEncoding = IDM_FORMAT_FIRST + EncodingIndex(format);
  const int checkedLineEnd = format.lineFeed ? IDM_FORMAT_LF : IDM_FORMAT_CRLF;
  for (int command = IDM_FORMAT_FIRST; command <= IDM_FORMAT_LAST; ++command) {
    const bool checked = document && (command == checkedEncoding || command == checkedLineEnd);
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, command, MF_BYCOMMAND | (document ? MF_ENABLED : MF_GRAYED));
  }
}
